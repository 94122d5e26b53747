// Text forms: compiling, printing, file values and parser errors.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

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

TEST(TextForm, TheSourceIsUtf8AndStoredInTheCodePage) {
  TMemoryStream s = Compile("object A: TX\n  C = 'Caf\xC3\xA9 \xE2\x82\xAC'\nend\n");
  TBytes expected;
  expected << "TPF0" << 2 << "TX" << 1 << "A" << 1 << "C" << 6 << 6 << "Caf\xE9 \x80" << 0 << 0;
  TMemoryStream e = expected.Stream();
  EXPECT_EQ(s.Bytes(), e.Bytes());
  EXPECT_EQ(RoundTrip("object A: TX\n  C = 'Caf\xC3\xA9'\nend\n"), "object A: TX\n  C = 'Caf'#233\nend\n");
  // With a character beyond the code page given as #n, the string is wide and keeps the text.
  EXPECT_EQ(RoundTrip("object A: TX\n  C = '\xC3\xA9'#8364\nend\n"), "object A: TX\n  C = #233#8364\nend\n");
  EXPECT_EQ(ParseError("object A: TX\n  C = 'ab\xE2\x84\xA2x \xE2\x86\x92'\nend\n"),
            "Character not in the 8-bit code page on line 2, column 13");
  EXPECT_EQ(ParseError("object A: TX\n  C = '\xFF'\nend\n"), "Invalid UTF-8 text on line 2, column 8");
}

TEST(TextForm, EveryPrintedValueCompilesBackToTheSameBytes) {
  TBytes b;
  b << "TPF0" << 2 << "TX" << 1 << "A";
  b << 3 << "Inf" << 5 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0x80 << 0xFF << 0xFF;  // -infinity
  b << 3 << "NaN" << 15 << 0x01 << 0x00 << 0xC0 << 0x7F;                             // a single NaN
  b << 3 << "Unn" << 5 << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0xFF << 0x3F;      // no integer bit
  b << 3 << "Day" << 17 << 0 << 0 << 0 << 0 << 0 << 0 << 0xF0 << 0x7F;               // +infinity
  b << 3 << "Max" << 16 << 0xFF << 0xFF << 0xFF << 0xFF << 0xFF << 0xFF << 0xFF << 0x7F;  // currency
  b << 3 << "Min" << 16 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0x80;
  b << 5 << "Timer" << 7 << 13 << "Owner->Timer1";
  b << 3 << "End" << 9 << 6 << "Object" << 8 << 4 << "item" << 2 << 1;
  b << 5 << "Items" << 14 << 1 << 3 << "end" << 2 << 7 << 0 << 0;
  b << 0 << 0;
  TMemoryStream original = b.Stream();
  const std::string text = BinaryToText(original);
  TMemoryStream again = Compile(text);
  EXPECT_EQ(again.Bytes(), original.Bytes()) << text;
}

TEST(TextForm, WhatThePrinterRefusesTheCompilerWouldHave) {
  // Lists nested one deeper than the compiler takes are refused by the printer too.
  for (int depth : {TStreamReader::kMaxDepth, TStreamReader::kMaxDepth + 1}) {
    TBytes b;
    b << "TPF0" << 2 << "TX" << 0 << 1 << "L";
    for (int i = 0; i < depth; ++i) b << 1;
    b << 2 << 5;
    for (int i = 0; i < depth; ++i) b << 0;
    b << 0 << 0;
    TMemoryStream s = b.Stream();
    std::string text;
    bool printed = true;
    try {
      text = BinaryToText(s);
    } catch (const EReadError&) {
      printed = false;
    }
    bool compiled = printed;
    if (printed) {
      try {
        Compile(text);
      } catch (const EParserError&) {
        compiled = false;
      }
    }
    EXPECT_EQ(printed, compiled) << "depth " << depth;
    EXPECT_EQ(printed, depth <= TStreamReader::kMaxDepth) << "depth " << depth;
  }
  TMemoryStream trailing = (TBytes() << "TPF0" << 2 << "TX" << 0 << 0 << 0 << 0).Stream();
  EXPECT_THROW(BinaryToText(trailing), EReadError) << "bytes after the form would be lost";
}

// A name the text cannot spell as one identifier would print as text the compiler rejects,
// or reads back as something else: the printer refuses the stream instead.
TEST(TextForm, NamesTheTextCannotSpellAreRefused) {
  const auto form = [](std::string_view className, std::string_view name, std::string_view property,
                       std::function<void(TBytes&)> value) {
    TBytes b;
    b << "TPF0";
    b.Str(className).Str(name).Str(property);
    value(b);
    return b << 0 << 0;
  };
  const auto int5 = [](TBytes& b) { b << 2 << 5; };
  const auto ident = [](std::string_view text) { return [text](TBytes& b) { b << 7; b.Str(text); }; };
  const auto set = [](std::string_view element) { return [element](TBytes& b) { b << 11; b.Str(element) << 0; }; };
  const TBytes refused[] = {
      form("", "", "Left", int5),            form("T X", "", "Left", int5),
      form("TX", "A\x01", "Left", int5),    form("TX", "", "", int5),
      form("TX", "", "Fo nt", int5),         form("TX", "", "Left=", int5),
      form("TX", "", "Tag", ident("")),      form("TX", "", "Tag", ident("a b")),
      form("TX", "", "Tag", ident("True")),  form("TX", "", "Tag", ident("Null")),
      form("TX", "", "Tag", ident("FILE")),  form("TX", "", "Tag", set("a b")),
      form("TX", "", "Tag", set("x-y")),     form("TX", "", "Tag", ident("Owner->")),
  };
  for (const TBytes& bytes : refused) {
    TMemoryStream s = bytes.Stream();
    try {
      const std::string text = BinaryToText(s);
      ADD_FAILURE() << "printed:\n" << text;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Invalid stream format");
    }
  }
  // What is spellable prints and compiles back to the same bytes.
  const TBytes printed[] = {
      form("TX", "", "Font.Name", int5),     form("T_1", "A.b", "Left", int5),
      form("TX", "", "Tag", ident("Owner->Timer1")), form("TX", "", "Tag", ident("true")),
      form("TX", "", "Tag", ident("files")), form("TX", "", "End", set("akLeft")),
  };
  for (const TBytes& bytes : printed) {
    TMemoryStream s = bytes.Stream();
    const std::string text = BinaryToText(s);
    EXPECT_EQ(Compile(text).Bytes(), s.Bytes()) << text;
  }
}

// Every stream of the test data prints and compiles back byte for byte.
TEST(TextForm, TheTestDataRoundTripsByteForByte) {
  for (const char* name : {"every_value.txt", "embedded_form.txt"}) {
    std::ifstream in(std::string(VELMORATH_FORM_DATA) + "/" + name, std::ios::binary);
    ASSERT_TRUE(in) << name;
    const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TMemoryStream binary = Compile(source, VELMORATH_FORM_DATA);
    const std::string text = BinaryToText(binary);
    EXPECT_EQ(Compile(text).Bytes(), binary.Bytes()) << name;
  }
}
