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

// The form seeds and regressions that print as text compile back to exactly their bytes
// (among the regressions: campaign inputs whose names the text could not spell, once
// printed as text the compiler rejected).
TEST(FuzzRegression, FormInputsThatPrintRoundTripThroughText) {
  int printed = 0;
  for (const char* folder : {"corpus/form_reader", "regressions/form_reader"})
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(VELMORATH_FUZZ_DIR) / folder)) {
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
      try {
        TextToBinary(text, again, "");
      } catch (const EParserError& e) {
        ADD_FAILURE() << "printed text does not compile: " << e.Message() << "\n" << text;
        continue;
      }
      EXPECT_EQ(again.Bytes(), bytes);
      ++printed;
    }
  EXPECT_GE(printed, 4);
}
