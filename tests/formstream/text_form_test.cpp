// Text forms: compiling, printing, file values and parser errors.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/formstream/form_helpers.h"

namespace {
std::string RoundTrip(std::string_view text, const std::string& baseDir = "") {
  TMemoryStream s = Compile(text, baseDir);
  return BinaryToText(s);
}

std::string ParseError(std::string_view text) {
  try {
    Compile(text);
  } catch (const EParserError& e) {
    return e.Message();
  }
  return "(no error)";
}
}  // namespace

TEST(TextForm, CanonicalTextIsStable) {
  const char* text =
      "object A: TX\n  I = -2147483648\n  F = 0.30000000000000004\n  S = 0.5s\n  C = 0.0001c\n  D = -1.0d\n"
      "  T = 'x'#0'y'\n  L = ()\n  B = {}\n  E = []\nend\n";
  EXPECT_EQ(RoundTrip(text), text);
}

TEST(TextForm, AlternativeSpellingsGiveTheCanonicalText) {
  EXPECT_EQ(RoundTrip("object TX\n I = $1F  J = -$10\n K = 100.0\n S = 'ab' +\n  'cd'#65\n C = 12c\nend"),
            "object TX\n  I = 31\n  J = -16\n  K = 100.0\n  S = 'abcdA'\n  C = 12.0c\nend\n");
}

TEST(TextForm, FileValuesCarryCountAndClass) {
  std::string dir = ::testing::TempDir();
  std::ofstream(dir + "/glyph.bin", std::ios::binary) << "BM\x01";
  EXPECT_EQ(RoundTrip("object A: TX\n G = file \"glyph.bin\"\n P = file 'glyph.bin' class TJ\nend\n", dir),
            "object A: TX\n  G = {\n    03000000424D01}\n  P = {\n    02544A03000000424D01}\nend\n");
  EXPECT_EQ(ParseError("object A: TX\n G = file \"nothere.bin\"\nend\n"),
            "Cannot open file \"nothere.bin\" on line 2");
}

TEST(TextForm, ErrorsNameTheLine) {
  EXPECT_EQ(ParseError("object A: TX\n  X = \n  ]\nend"), "Property value expected on line 3");
  EXPECT_EQ(ParseError("object A: TX\n  X = 'open\nend"), "String expected on line 2");
  EXPECT_EQ(ParseError("object A: TX\n  X = {ABC}\nend"), "Invalid binary value on line 2");
  EXPECT_EQ(ParseError("object A: TX\n  X = 99999999999999999999\nend"), "Invalid numeric value on line 2");
  EXPECT_EQ(ParseError("object A: TX\n  X = 1.23456c\nend"), "Invalid numeric value on line 2");
  EXPECT_EQ(ParseError("object A: TX\n  X = 1\n"), "''end'' expected on line 3");  // at the end of the text
  EXPECT_EQ(ParseError("thing A: TX\nend"), "''object'' expected on line 1");
}

TEST(TextForm, PrintingADamagedStreamRaisesTheReadersError) {
  TMemoryStream truncated = (TBytes() << "TPF0" << 2 << "TX" << 1 << "A" << 4 << "Left" << 3 << 1).Stream();
  EXPECT_THROW(BinaryToText(truncated), EReadError);
  TMemoryStream badTag = (TBytes() << "TPF0" << 2 << "TX" << 0 << 1 << "L" << 40 << 0 << 0).Stream();
  try {
    BinaryToText(badTag);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Invalid property value");
  }
}
