// The icon theme files committed under app/desktop/icons are what the generator draws now:
// a change to the drawing that is not followed by `make_assets` fails here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <png.h>

#include "tools/assets/small_pictures.h"

namespace {
const std::string kTheme = std::string(VELMORATH_ICON_DIR) + "/hicolor";

struct TPng {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Rgba;
  std::string Error;
};

TPng ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  TPng out;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    out.Error = image.message;
    return out;
  }
  image.format = PNG_FORMAT_RGBA;
  out.Width = int(image.width);
  out.Height = int(image.height);
  out.Rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.Rgba.data(), 0, nullptr)) out.Error = image.message;
  return out;
}

TEST(ThemeIcons, EachFixedSizeHoldsTheGeneratedPictureAtThatSize) {
  for (int size : kThemeIconSizes) {
    SCOPED_TRACE(size);
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    const TPng png = ReadPng(kTheme + "/" + name + "/apps/org.velmorath.Velmorath.png");
    ASSERT_EQ(png.Error, "");
    ASSERT_EQ(png.Width, size);
    ASSERT_EQ(png.Height, size);
    const std::vector<uint8_t> expected = IconPixels(size);
    ASSERT_EQ(png.Rgba.size(), expected.size());
    // One step of rounding is allowed: another optimisation level may round a blend the other way.
    int worst = 0;
    for (size_t i = 0; i < expected.size(); ++i) worst = std::max(worst, std::abs(int(png.Rgba[i]) - int(expected[i])));
    EXPECT_LE(worst, 1);
  }
}

TEST(ThemeIcons, CornersAreTransparentAndTheBoardOpaque) {
  const std::vector<uint8_t> icon = IconPixels(48);
  auto alpha = [&](int x, int y) { return icon[(size_t(y) * 48 + size_t(x)) * 4 + 3]; };
  EXPECT_EQ(alpha(0, 0), 0);
  EXPECT_EQ(alpha(47, 47), 0);
  EXPECT_EQ(alpha(24, 24), 255);
  EXPECT_EQ(alpha(24, 2), 255) << "the board reaches near the top edge";
}

TEST(ThemeIcons, ScalableIconIsTheGeneratedDrawing) {
  std::ifstream in(kTheme + "/scalable/apps/org.velmorath.Velmorath.svg", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string svg = MakeIconSvg();
  EXPECT_EQ(committed, svg);
  EXPECT_NE(svg.find("viewBox=\"0 0 64 64\""), std::string::npos);
  EXPECT_NE(svg.find("fill=\"url(#board)\""), std::string::npos) << "the board takes its gradient";
  EXPECT_EQ(svg.find("nan"), std::string::npos);
}
}  // namespace
