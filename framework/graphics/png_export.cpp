#include "framework/graphics/png_export.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/graphics/bitmap.h"

void SaveBitmapToPng(const TBitmap& bitmap, const std::string& path) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(bitmap.Width());
  image.height = png_uint_32(bitmap.Height());
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(size_t(bitmap.Width()) * size_t(bitmap.Height()) * 3);
  uint8_t* p = rgb.data();
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
      const uint32_t c = bitmap.PixelRGB(x, y);
      p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
    }
  const bool ok = !bitmap.Empty() && png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  if (!ok) throw EStreamError(rs::SFCreateError, path);
}
