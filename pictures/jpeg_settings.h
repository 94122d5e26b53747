#pragma once
// The eight per-image JPEG settings, the process-wide defaults new images take, and the
// screen depth the output depth default is chosen from.
#include <cstdint>
#include <functional>

enum TJPEGDecodeSpeed : uint8_t { dsBestQuality, dsBestSpeed };
enum TJPEGOutputDepth : uint8_t { od24Bit, od8Bit };

struct TJPEGSettings {
  uint8_t EncodeQuality = 90;  // 1..100
  bool GrayscaleOutput = false;
  TJPEGDecodeSpeed DecodeSpeed = dsBestQuality;
  TJPEGOutputDepth OutputDepth = od24Bit;
  bool ShowEachScan = false;
  bool MultiScanEncoding = false;
  uint8_t ScaleShift = 0;  // decode at 1 / 2^ScaleShift, 0..3
  bool BlockSmoothing = true;
  friend bool operator==(const TJPEGSettings&, const TJPEGSettings&) = default;
};

// The settings every new TJPEGImage starts from.
TJPEGSettings& DefaultJpegSettings();

// Bits per pixel times colour planes of the screen. The window system installs the backend's
// query at start-up; until then (and in tests that install none) the screen is true colour.
using TScreenDepthQuery = std::function<int()>;
void SetScreenDepthQuery(TScreenDepthQuery query);
int ScreenDepth();

// The picture support's one-time start-up: 8-bit output when the screen shows at most 8 bits.
void InitializeJpegDefaults();
