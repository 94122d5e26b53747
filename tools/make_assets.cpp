// make_assets [FOLDER]
// Writes the pictures the windows carry into FOLDER (app/forms when run from the source
// tree): the sixteen test-point photographs, the two button glyphs and the application icon.
// The output depends on nothing but this program, so running it again rewrites the same files.
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tools/assets/board_photo.h"
#include "tools/assets/exact_jpeg.h"
#include "tools/assets/small_pictures.h"

namespace {
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
}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "app/forms";
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
    SaveIconPng(64, folder + "/velmorath.png");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_assets: %s\n", e.what());
    return 1;
  }
  return 0;
}
