#include "pictures/jpeg_settings.h"

#include <utility>

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
  return query ? query() : 32;
}

void InitializeJpegDefaults() { DefaultJpegSettings().OutputDepth = ScreenDepth() <= 8 ? od8Bit : od24Bit; }
