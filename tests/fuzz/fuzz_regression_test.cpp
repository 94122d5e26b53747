// Every input that ever made a fuzz target fail, and the seed corpora, through the same
// functions the targets call. A fault shows as a sanitiser report or a trap.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/core/stream.h"
#include "formstream/text_form.h"
#include "fuzz/fuzz_inputs.h"

namespace {
namespace fs = std::filesystem;

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `reader` on every file of fuzz/regressions/<target> and fuzz/corpus/<target>.
int RunInputs(const std::string& target, void (*reader)(const uint8_t*, size_t)) {
  int count = 0;
  for (const char* folder : {"regressions", "corpus"}) {
    const fs::path dir = fs::path(VELMORATH_FUZZ_DIR) / folder / target;
    if (!fs::is_directory(dir)) continue;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      SCOPED_TRACE(entry.path().string());
      const std::vector<uint8_t> bytes = ReadFile(entry.path());
      reader(bytes.data(), bytes.size());
      ++count;
    }
  }
  return count;
}
}  // namespace

TEST(FuzzRegression, FormReader) { EXPECT_GT(RunInputs("form_reader", FuzzFormReader), 0); }
TEST(FuzzRegression, BitmapFile) { EXPECT_GT(RunInputs("bitmap_file", FuzzBitmapFile), 0); }
TEST(FuzzRegression, GlyphBitmap) { EXPECT_GT(RunInputs("glyph_bitmap", FuzzGlyphBitmap), 0); }
TEST(FuzzRegression, Jpeg) { EXPECT_GT(RunInputs("jpeg", FuzzJpeg), 0); }

// The form seeds that print as text compile back to exactly their bytes.
TEST(FuzzRegression, FormSeedsRoundTripThroughText) {
  int printed = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(VELMORATH_FUZZ_DIR) / "corpus/form_reader")) {
    SCOPED_TRACE(entry.path().string());
    const std::vector<uint8_t> bytes = ReadFile(entry.path());
    TReadOnlyMemoryStream input(bytes.data(), bytes.size());
    std::string text;
    try {
      text = BinaryToText(input);
    } catch (const EReadError&) {
      continue;
    }
    TMemoryStream again;
    TextToBinary(text, again, "");
    EXPECT_EQ(again.Bytes(), bytes);
    ++printed;
  }
  EXPECT_GE(printed, 4);
}
