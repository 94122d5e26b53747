// The reader's values: widths, conversions, the buffer, skipping and damaged input.
#include <gtest/gtest.h>

#include <cmath>

#include "formstream/value_codec.h"
#include "tests/formstream/form_helpers.h"
#include "tests/formstream/test_components.h"

namespace {
template <class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "(no exception)";
}
}  // namespace

TEST(ReaderValues, IntegersAreSignedInTheirStoredWidth) {
  TMemoryStream s = (TBytes() << 2 << 0xF5 << 3 << 0x1F << 0x02 << 3 << 0x00 << 0x80 << 4 << 0xFE << 0xFF << 0xFF
                              << 0xFF << 19 << 0 << 0 << 0 << 0 << 1 << 0 << 0 << 0)
                        .Stream();
  TStreamReader r(s);
  EXPECT_EQ(r.ReadInteger(), -11);
  EXPECT_EQ(r.ReadInteger(), 543);
  EXPECT_EQ(r.ReadInteger(), -32768);
  EXPECT_EQ(r.ReadInteger(), -2);
  EXPECT_EQ(r.ReadInt64(), int64_t(1) << 32);
}

TEST(ReaderValues, WrongTagsAreInvalidPropertyValues) {
  TMemoryStream s = (TBytes() << 19 << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 6 << 2 << "ab" << 21).Stream();
  TStreamReader r(s);
  EXPECT_EQ(MessageOf([&] { r.ReadInteger(); }), "Invalid property value");  // 64-bit tag for a 32-bit reader
  r.SetPosition(9);
  EXPECT_EQ(MessageOf([&] { r.ReadChar(); }), "Invalid property value");  // two characters
  EXPECT_EQ(MessageOf([&] { r.ReadValue(); }), "Invalid property value");  // tag 21 does not exist
}

TEST(ReaderValues, ExtendedFloatsConvertBothWays) {
  TExtended80 one = DoubleToExtended(1.0);
  EXPECT_EQ(one, (TExtended80{0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  for (double v : {1.5, -0.1, 1e300, -3.25e-310, 0.0, 123456789.125})
    EXPECT_EQ(ExtendedToDouble(DoubleToExtended(v)), v) << v;
  EXPECT_TRUE(std::isinf(ExtendedToDouble(DoubleToExtended(-INFINITY))));
  // An integer where a float is expected is converted.
  TMemoryStream s = (TBytes() << 2 << 7).Stream();
  TStreamReader r(s);
  EXPECT_EQ(r.ReadFloat(), 7.0);
}

TEST(ReaderValues, TextConvertsBetweenWidths) {
  // Wide "€a" read as 8-bit text gives cp1252 0x80; 8-bit 0x80 read as wide gives U+20AC.
  TMemoryStream s = (TBytes() << 18 << 2 << 0 << 0 << 0 << 0xAC << 0x20 << 'a' << 0 << 6 << 1 << 0x80 << 20 << 3 << 0
                              << 0 << 0 << 0xE2 << 0x82 << 0xAC << 12 << 3 << 0 << 0 << 0 << "xyz")
                        .Stream();
  TStreamReader r(s);
  EXPECT_EQ(r.ReadString(), "\x80" "a");
  EXPECT_EQ(r.ReadWideString(), u"\u20AC");
  EXPECT_EQ(r.ReadWideString(), u"\u20AC");
  EXPECT_EQ(r.ReadString(), "xyz");
}

TEST(ReaderValues, IdentifiersIncludeTheConstantTags) {
  TMemoryStream s = (TBytes() << 7 << 3 << "abc" << 8 << 9 << 13 << 0 << 2 << 1).Stream();
  TStreamReader r(s);
  EXPECT_EQ(r.ReadIdent(), "abc");
  EXPECT_EQ(r.ReadIdent(), "False");
  EXPECT_EQ(r.ReadIdent(), "True");
  EXPECT_EQ(r.ReadIdent(), "nil");
  EXPECT_EQ(r.ReadIdent(), "Null");
  EXPECT_EQ(MessageOf([&] { r.ReadIdent(); }), "Invalid property value");
}

TEST(ReaderValues, SkippingEveryTagLandsOnTheNextValue) {
  TBytes b;
  b << 1;  // a list holding one value of every other tag
  b << 2 << 1 << 3 << 1 << 2 << 4 << 1 << 2 << 3 << 4 << 5 << "0123456789" << 6 << 2 << "ab" << 7 << 1 << "x"
    << 8 << 9 << 10 << 3 << 0 << 0 << 0 << "abc" << 11 << 1 << "a" << 2 << "bc" << 0 << 12 << 1 << 0 << 0 << 0
    << "z" << 13 << 14 << 2 << 5 << 1 << 4 << "Name" << 6 << 1 << "q" << 0 << 0 << 15 << "abcd" << 16
    << "12345678" << 17 << "12345678" << 18 << 1 << 0 << 0 << 0 << "ab" << 19 << "12345678" << 20 << 2 << 0 << 0
    << 0 << "ab";
  b << 0;      // end of the list
  b << 2 << 42;  // the value after it
  TMemoryStream s = b.Stream();
  TStreamReader r(s);
  r.SkipValue();
  EXPECT_EQ(r.ReadInteger(), 42);
}

TEST(ReaderValues, DestructionLeavesTheStreamAtTheFirstUnconsumedByte) {
  TMemoryStream s = (TBytes() << 2 << 1 << 2 << 2 << 2 << 3).Stream();
  {
    TStreamReader r(s);
    r.ReadInteger();
    r.ReadInteger();
  }
  EXPECT_EQ(s.Position(), 4);
}

TEST(ReaderValues, LargeReadsCrossTheBufferIntact) {
  std::vector<uint8_t> payload(10000);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = uint8_t(i * 7);
  TMemoryStream s;
  uint8_t head[] = {1, 10, 0x10, 0x27, 0, 0};  // an odd start, then tag 10 with count 10000
  s.WriteBuffer(head, 6);
  s.WriteBuffer(payload.data(), int64_t(payload.size()));
  s.SetPosition(0);
  TStreamReader r(s, 16);
  r.ReadByte();
  ASSERT_EQ(r.ReadValue(), TValueType::vaBinary);
  EXPECT_EQ(r.ReadBinaryPayload(), payload);
  EXPECT_EQ(MessageOf([&] { r.ReadByte(); }), "Stream read error");
}

TEST(ReaderValues, DamagedInputEndsInAnExceptionNotACrash) {
  struct TCase {
    TBytes Bytes;
    const char* Message;
  };
  TBytes deep;
  for (int i = 0; i < 100; ++i) deep << 1;
  std::vector<TCase> cases = {
      {TBytes() << 10 << 0xFF << 0xFF << 0xFF << 0xFF, "Stream read error"},           // negative count
      {TBytes() << 10 << 0xFF << 0xFF << 0xFF << 0x7F << "abc", "Stream read error"},  // count beyond the stream
      {TBytes() << 18 << 0x00 << 0x00 << 0x00 << 0x40, "Stream read error"},           // wide count beyond
      {TBytes() << 12 << 5 << 0 << 0 << 0 << "ab", "Stream read error"},               // truncated long string
      {TBytes() << 1 << 2 << 1 << 2 << 2, "Stream read error"},                        // list without end
      {TBytes() << 14 << 1 << 4 << "Name", "Stream read error"},                       // collection without end
      {TBytes() << 11 << 1 << "a" << 5, "Stream read error"},                          // set without end
      {TBytes() << 1 << 30 << 0, "Invalid property value"},                            // tag above 20
      {deep, "Invalid stream format"},                                                 // nesting without bound
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    TMemoryStream s = cases[i].Bytes.Stream();
    TStreamReader r(s);
    EXPECT_EQ(MessageOf([&] { r.SkipValue(); }), cases[i].Message) << "case " << i;
  }
}

// A path whose last segment is empty names nothing: its value must not be left in the
// stream to be read as the next property's name.
TEST(ReaderValues, EmptyPathSegmentsAreInvalidPaths) {
  for (const char* property : {"Font. = 'x'", "Font..Name = 'x'"}) {
    TTestForm form;
    std::string text = std::string("object Form1: TTestForm\n object Widget1: TTestWidget\n  ") + property +
                       "\n end\nend\n";
    EXPECT_EQ(LoadInto(form, text), std::string("Error reading Widget1.") + std::string(property).substr(0, std::string(property).find(' ')) +
                                        ": Invalid property path")
        << property;
  }
}

// The tag byte of a 32-bit value after "Font." is 4, and its four payload bytes spell
// "Left": a reader that skipped the empty segment without reading its value set Left = 42.
TEST(ReaderValues, AnEmptyLastSegmentCannotSmuggleInAProperty) {
  TBytes b;
  b << "TPF0";
  b.Str("TTestForm").Str("Form1") << 0;
  b.Str("TTestWidget").Str("Widget1");
  b.Str("Font.") << 4 << "Left" << 2 << 42;
  b << 0 << 0 << 0;
  TTestForm form;
  TMemoryStream s = b.Stream();
  EXPECT_EQ(MessageOf([&] {
              TStreamReader reader(s);
              reader.ReadRootComponent(form);
            }),
            "Error reading Widget1.Font.: Invalid property path");
  EXPECT_EQ(form.ComponentCount(), 0);
}
