#pragma once
// The seam between libjpeg's C frames and our C++: error manager, stream source and
// destination managers, the progress record, and the per-call contexts that own the
// library objects.
//
// The library reports a failure by calling its error exit, which must not return. Throwing
// a C++ exception through the library's frames is not allowed, so the error exit long-jumps
// back to RunGuarded and the exception is raised there, in C++ frames only. A callback of
// ours that fails (a stream read, a progress handler raising EAbort) parks its exception in
// the error manager and takes the same way out.
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <exception>

#include <jpeglib.h>

static_assert(JPEG_LIB_VERSION == 62, "the glue is written against the version 62 interface");

class TJPEGImage;
class TMemoryStream;
class TStream;

struct TJpegErrorManager {
  jpeg_error_mgr Library;  // first member: the library's err pointer is also ours
  std::jmp_buf Jump;
  std::exception_ptr Pending;
};

struct TJpegProgress {
  jpeg_progress_mgr Library;  // first member, as above
  TJPEGImage* Owner = nullptr;
  int LastPercent = 0;
  uint64_t LastTicks = 0;
  JDIMENSION LastRow = 0;
};

inline constexpr int kJpegChunkSize = 4096;
// Real files have a dozen scans; each scan costs a pass over the whole image, so a file of
// thousands of (empty) scans would hold the first paint for minutes.
inline constexpr int kMaxJpegScans = 500;

// Reads the encoded bytes in chunks from a position of its own: pictures sharing one file
// may decode while another is decoding (from a progress handler).
struct TJpegStreamSource {
  jpeg_source_mgr Library;
  const TMemoryStream* Bytes = nullptr;  // none: an empty file
  int64_t Offset = 0;
  bool StartOfFile = true;
  JOCTET Buffer[kJpegChunkSize];
};

struct TJpegStreamDestination {
  jpeg_destination_mgr Library;
  TStream* Stream = nullptr;
  JOCTET Buffer[kJpegChunkSize];
};

// Raises, from inside a library frame, a decode past kMaxJpegScans.
void CheckJpegScanCount(j_decompress_ptr info);

// The library's progress monitor at time `now` (milliseconds): at most one report every
// 500 ms, none at the first call, none when the percentage has not moved. The rectangle
// covers the rows decoded since the last report.
void ReportJpegProgress(j_common_ptr info, uint64_t now);

// Runs `step(arg)` and answers false when the library's error exit or a failing callback
// jumped out of it. The step may hold no object with a destructor: its frame is skipped.
bool RunGuarded(TJpegErrorManager& errors, void (*step)(void*), void* arg);
// Raises what made a guarded step fail: the parked exception, else EJPEG with the library's
// message code.
[[noreturn]] void RaiseJpegFailure(TJpegErrorManager& errors);

// Runs `step()` (a lambda making library calls only) guarded, raising its failure.
template <class Step>
void JpegCall(TJpegErrorManager& errors, Step&& step) {
  auto trampoline = [](void* p) { (*static_cast<Step*>(p))(); };
  if (!RunGuarded(errors, trampoline, &step)) RaiseJpegFailure(errors);
}

// One decompression: the library object with everything it points at, destroyed with the
// context whatever happened to the call.
struct TDecodeContext {
  TDecodeContext();
  ~TDecodeContext();
  TDecodeContext(const TDecodeContext&) = delete;
  TDecodeContext& operator=(const TDecodeContext&) = delete;

  // Creates the decompressor (raising on failure) and, with an owner, hooks the progress record.
  void Create(TJPEGImage* progressOwner);
  // Reads the header of `bytes` from their start; none reads as an empty file. The library's
  // memory is limited to what a bitmap may take, so a hostile header fails fast.
  void ReadHeader(const TMemoryStream* bytes);

  TJpegErrorManager Errors;
  TJpegProgress Progress;
  TJpegStreamSource Source;
  // The decoder's choices before scan-by-scan display overrode them.
  J_DCT_METHOD SavedDctMethod = JDCT_ISLOW;
  bool SavedTwoPass = false;
  J_DITHER_MODE SavedDitherMode = JDITHER_FS;
  jpeg_decompress_struct Info;
};

// One compression, as above.
struct TEncodeContext {
  TEncodeContext();
  ~TEncodeContext();
  TEncodeContext(const TEncodeContext&) = delete;
  TEncodeContext& operator=(const TEncodeContext&) = delete;

  void Create(TJPEGImage* progressOwner);
  // Sends the compressed bytes to `stream` from its current position.
  void AttachDestination(TStream& stream);

  TJpegErrorManager Errors;
  TJpegProgress Progress;
  TJpegStreamDestination Destination;
  jpeg_compress_struct Info;
};
