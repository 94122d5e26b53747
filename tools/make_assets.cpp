// make_assets [FOLDER [ICONS]]
// Writes the pictures the windows carry into FOLDER (app/forms when run from the source
// tree): the sixteen test-point photographs, the two button glyphs and the application icon;
// and the desktop's icon theme files into ICONS (by default app/desktop/icons beside FOLDER):
// hicolor/NxN/apps/<id>.png for each fixed size and hicolor/scalable/apps/<id>.svg.
// The output depends on nothing but this program, so running it again rewrites the same files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tools/assets/board_photo.h"
#include "tools/assets/exact_jpeg.h"
#include "tools/assets/small_pictures.h"

namespace {
// The name the desktop entry gives its icon.
constexpr const char* kIconName = "org.velmorath.Velmorath";

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}
// Quality moves the size in coarse steps; a little more or less sensor grain moves it
// smoothly, so the grain that leaves the least to fill with the comment is chosen.
TJpegFit FitPhoto(const TPhotoPlan& photo) {
  const std::string comment = "Velmorath test point photograph: " + photo.Group + ", " + photo.Point + ".";
  TJpegFit best;
  for (int step = 0; step <= 16; ++step) {
    const float grain = 0.8f + 0.05f * float(step);
    const TRaster picture = RenderBoardPhoto(photo, grain);
    TJpegFit fit = EncodeExactJpeg(picture.ToRgb8(), photo.Width, photo.Height, photo.Bytes, comment);
    if (best.File.empty() || fit.NaturalSize > best.NaturalSize) best = std::move(fit);
  }
  return best;
}

void WriteThemeIcons(const std::filesystem::path& icons) {
  const std::filesystem::path theme = icons / "hicolor";
  for (int size : kThemeIconSizes) {
    const std::filesystem::path folder = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::filesystem::create_directories(folder);
    SaveIconPng(size, (folder / (std::string(kIconName) + ".png")).string());
  }
  const std::filesystem::path scalable = theme / "scalable" / "apps";
  std::filesystem::create_directories(scalable);
  const std::string svg = MakeIconSvg();
  WriteFile((scalable / (std::string(kIconName) + ".svg")).string(), std::vector<uint8_t>(svg.begin(), svg.end()));
}
}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "app/forms";
  const std::filesystem::path icons =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::path(folder).parent_path() / "desktop" / "icons";
  try {
    for (const TPhotoPlan& photo : CataloguePhotos()) {
      const TJpegFit fit = FitPhoto(photo);
      WriteFile(folder + "/" + photo.File, fit.File);
      std::printf("%s %dx%d quality %d, %zu bytes of picture, %zu of comment\n", photo.File.c_str(), photo.Width,
                  photo.Height, fit.Quality, fit.NaturalSize, fit.File.size() - fit.NaturalSize);
    }
    WriteFile(folder + "/glyph_close.bmp", MakeGlyphFile(gkClose));
    WriteFile(folder + "/glyph_about.bmp", MakeGlyphFile(gkAbout));
    WriteFile(folder + "/velmorath.ico", MakeIconFile());
    WriteThemeIcons(icons);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
