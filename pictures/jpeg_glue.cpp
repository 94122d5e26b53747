#include "pictures/jpeg_glue.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

#include <jerror.h>

#include "framework/core/exceptions.h"
#include "framework/controls/window_system.h"
#include "framework/core/stream.h"
#include "framework/graphics/bitmap_image.h"
#include "pictures/jpeg_image.h"

namespace {
TJpegErrorManager& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<TJpegErrorManager*>(info->err); }

// Runs a C++ callback body inside a library frame; a failure is parked for the boundary.
template <class Body>
bool CallParked(j_common_ptr info, Body&& body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    ErrorsOf(info).Pending = std::current_exception();
    return false;
  }
}

[[noreturn]] void ErrorExit(j_common_ptr info) { std::longjmp(ErrorsOf(info).Jump, 1); }
// Warnings and trace output are dropped: a damaged file decodes as far as the library gets.
void EmitMessage(j_common_ptr, int) {}
void OutputMessage(j_common_ptr) {}
void FormatMessage(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void ResetErrorManager(j_common_ptr info) {
  info->err->num_warnings = 0;
  info->err->msg_code = 0;
}

void InitErrorManager(TJpegErrorManager& errors) {
  std::memset(&errors.Library, 0, sizeof errors.Library);
  errors.Library.error_exit = ErrorExit;
  errors.Library.emit_message = EmitMessage;
  errors.Library.output_message = OutputMessage;
  errors.Library.format_message = FormatMessage;
  errors.Library.reset_error_mgr = ResetErrorManager;
}

// The window system's clock (the virtual one in tests); a steady clock when none is running.
uint64_t TickCount() {
  if (const TWindowSystem* system = TWindowSystem::Current()) return system->TickCount();
  using namespace std::chrono;
  return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// The rows decoded since the last report; a new pass starting over reports to the bottom.
TRect ProgressRect(j_common_ptr info, const TJpegProgress& progress) {
  if (!info->is_decompressor) return {};
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  TRect r{0, int(progress.LastRow), int(d->output_width), int(d->output_scanline)};
  if (d->output_scanline < progress.LastRow) r.Bottom = int(d->output_height);
  return r;
}

void ProgressMonitor(j_common_ptr info) {
  if (info->is_decompressor) CheckJpegScanCount(reinterpret_cast<j_decompress_ptr>(info));
  ReportJpegProgress(info, TickCount());
}

void HookProgress(j_common_ptr info, TJpegProgress& progress, TJPEGImage* owner) {
  progress.Library.progress_monitor = ProgressMonitor;
  progress.Owner = owner;
  info->progress = &progress.Library;
}

// Stream source: the bytes come through the stream's read in chunks.
void InitSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr info) {
  auto* src = reinterpret_cast<TJpegStreamSource*>(info->src);
  int64_t got = 0;
  if (src->Bytes != nullptr) {
    const std::vector<uint8_t>& bytes = src->Bytes->Bytes();
    got = std::clamp<int64_t>(int64_t(bytes.size()) - src->Offset, 0, kJpegChunkSize);
    if (got > 0) std::memcpy(src->Buffer, bytes.data() + src->Offset, size_t(got));
    src->Offset += got;
  }
  if (got <= 0) {
    if (src->StartOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    // A fake end-of-image marker lets the library finish what it has.
    src->Buffer[0] = JOCTET(0xFF);
    src->Buffer[1] = JOCTET(JPEG_EOI);
    got = 2;
  }
  src->Library.next_input_byte = src->Buffer;
  src->Library.bytes_in_buffer = size_t(got);
  src->StartOfFile = false;
  return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
  auto* src = info->src;
  if (count <= 0) return;
  while (count > long(src->bytes_in_buffer)) {
    count -= long(src->bytes_in_buffer);
    src->fill_input_buffer(info);
  }
  src->next_input_byte += count;
  src->bytes_in_buffer -= size_t(count);
}

void TermSource(j_decompress_ptr) {}

// Stream destination: full chunks are written as they fill, the rest at the end.
void InitDestination(j_compress_ptr info) {
  auto* dest = reinterpret_cast<TJpegStreamDestination*>(info->dest);
  dest->Library.next_output_byte = dest->Buffer;
  dest->Library.free_in_buffer = kJpegChunkSize;
}

void WriteOut(j_compress_ptr info, size_t count) {
  auto* dest = reinterpret_cast<TJpegStreamDestination*>(info->dest);
  if (!CallParked(reinterpret_cast<j_common_ptr>(info), [&] { dest->Stream->WriteBuffer(dest->Buffer, int64_t(count)); }))
    std::longjmp(ErrorsOf(reinterpret_cast<j_common_ptr>(info)).Jump, 1);
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
  WriteOut(info, kJpegChunkSize);
  InitDestination(info);
  return TRUE;
}

void TermDestination(j_compress_ptr info) {
  const size_t count = kJpegChunkSize - info->dest->free_in_buffer;
  if (count > 0) WriteOut(info, count);
}
}  // namespace

void CheckJpegScanCount(j_decompress_ptr info) {
  if (info->input_scan_number <= kMaxJpegScans) return;
  ErrorsOf(reinterpret_cast<j_common_ptr>(info)).Pending = std::make_exception_ptr(EOutOfResources(rs::SOutOfResources));
  std::longjmp(ErrorsOf(reinterpret_cast<j_common_ptr>(info)).Jump, 1);
}

void ReportJpegProgress(j_common_ptr info, uint64_t now) {
  auto* progress = reinterpret_cast<TJpegProgress*>(info->progress);
  if (progress == nullptr || progress->Owner == nullptr) return;
  if (now - progress->LastTicks < 500) return;
  const uint64_t previous = std::exchange(progress->LastTicks, now);
  if (previous == 0) return;
  const jpeg_progress_mgr& p = progress->Library;
  if (p.pass_limit <= 0 || p.total_passes <= 0) return;
  const int percent =
      int((double(p.pass_counter) / double(p.pass_limit) + p.completed_passes) * 100.0 / p.total_passes);
  if (percent == progress->LastPercent) return;
  const TRect rect = ProgressRect(info, *progress);
  progress->LastPercent = percent;
  if (info->is_decompressor) progress->LastRow = reinterpret_cast<j_decompress_ptr>(info)->output_scanline;
  const bool reported = CallParked(info, [&] {
    progress->Owner->NotifyProgress(progress->Owner, psRunning, uint8_t(percent), rect.Height() >= 4, rect, {});
  });
  if (!reported) std::longjmp(ErrorsOf(info).Jump, 1);
}

bool RunGuarded(TJpegErrorManager& errors, void (*step)(void*), void* arg) {
  if (setjmp(errors.Jump) != 0) return false;
  step(arg);
  return true;
}

void RaiseJpegFailure(TJpegErrorManager& errors) {
  if (errors.Pending) std::rethrow_exception(std::exchange(errors.Pending, nullptr));
  throw EJPEG(errors.Library.msg_code);
}

TDecodeContext::TDecodeContext() {
  InitErrorManager(Errors);
  std::memset(&Progress.Library, 0, sizeof Progress.Library);
  std::memset(&Source.Library, 0, sizeof Source.Library);
  std::memset(&Info, 0, sizeof Info);
  Info.err = &Errors.Library;
}

// Safe on a zero-filled or half-created object: the library frees only what it allocated.
TDecodeContext::~TDecodeContext() { jpeg_destroy_decompress(&Info); }

void TDecodeContext::Create(TJPEGImage* progressOwner) {
  JpegCall(Errors, [this] { jpeg_create_decompress(&Info); });
  if (progressOwner != nullptr) HookProgress(reinterpret_cast<j_common_ptr>(&Info), Progress, progressOwner);
}

void TDecodeContext::ReadHeader(const TMemoryStream* bytes) {
  Info.mem->max_memory_to_use = long(kMaxBitmapBytes);
  Source.Bytes = bytes;
  Source.Offset = 0;
  Source.StartOfFile = true;
  Source.Library.init_source = InitSource;
  Source.Library.fill_input_buffer = FillInputBuffer;
  Source.Library.skip_input_data = SkipInputData;
  Source.Library.resync_to_restart = jpeg_resync_to_restart;
  Source.Library.term_source = TermSource;
  Info.src = &Source.Library;
  JpegCall(Errors, [this] { jpeg_read_header(&Info, TRUE); });
}

TEncodeContext::TEncodeContext() {
  InitErrorManager(Errors);
  std::memset(&Progress.Library, 0, sizeof Progress.Library);
  std::memset(&Destination.Library, 0, sizeof Destination.Library);
  std::memset(&Info, 0, sizeof Info);
  Info.err = &Errors.Library;
}

TEncodeContext::~TEncodeContext() { jpeg_destroy_compress(&Info); }

void TEncodeContext::Create(TJPEGImage* progressOwner) {
  JpegCall(Errors, [this] { jpeg_create_compress(&Info); });
  if (progressOwner != nullptr) HookProgress(reinterpret_cast<j_common_ptr>(&Info), Progress, progressOwner);
}

void TEncodeContext::AttachDestination(TStream& stream) {
  Destination.Stream = &stream;
  Destination.Library.init_destination = InitDestination;
  Destination.Library.empty_output_buffer = EmptyOutputBuffer;
  Destination.Library.term_destination = TermDestination;
  Info.dest = &Destination.Library;
}
