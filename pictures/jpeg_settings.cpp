#include "pictures/jpeg_settings.h"

#include <utility>

#include "framework/controls/window_system.h"

namespace {
TScreenDepthQuery& ScreenDepthQuery() {
  static TScreenDepthQuery query;
  return query;
}
}  // namespace

TJPEGSettings& DefaultJpegSettings() {
  static TJPEGSettings settings;
  return settings;
}

void SetScreenDepthQuery(TScreenDepthQuery query) { ScreenDepthQuery() = std::move(query); }

int ScreenDepth() {
  const TScreenDepthQuery& query = ScreenDepthQuery();
  if (query) return query();
  // Without a query of its own, the screen of the running window system decides.
  const TWindowSystem* system = TWindowSystem::Current();
  return system != nullptr ? system->Backend().BitsPerPixel() : 32;
}

void InitializeJpegDefaults() { DefaultJpegSettings().OutputDepth = ScreenDepth() <= 8 ? od8Bit : od24Bit; }
