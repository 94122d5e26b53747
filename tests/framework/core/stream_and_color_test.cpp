#include <gtest/gtest.h>

#include <cstring>

#include "framework/core/color.h"
#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/core/text.h"

TEST(MemoryStream, WritesGrowReadsStopAtTheEnd) {
  TMemoryStream s;
  s.WriteBuffer("hello", 5);
  s.Seek(-2, TSeekOrigin::End);
  s.WriteBuffer("LOWORLD", 7);  // overwrites the tail and grows
  EXPECT_EQ(s.Size(), 10);
  s.SetPosition(0);
  char buf[16] = {};
  EXPECT_EQ(s.Read(buf, 16), 10);
  EXPECT_EQ(std::string(buf), "helLOWORLD");
  EXPECT_EQ(s.Read(buf, 4), 0);

  s.SetPosition(8);
  try {
    s.ReadBuffer(buf, 3);
    FAIL() << "a short read passed";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Stream read error");
  }
}

TEST(ReadOnlyMemoryStream, ReadsEmbeddedBytesAndRefusesWrites) {
  static const unsigned char bytes[] = {'T', 'P', 'F', '0', 7};
  TReadOnlyMemoryStream s(bytes, sizeof bytes);
  char sig[4];
  s.ReadBuffer(sig, 4);
  EXPECT_EQ(std::memcmp(sig, "TPF0", 4), 0);
  EXPECT_EQ(s.Position(), 4);
  EXPECT_THROW(s.WriteBuffer("x", 1), EWriteError);
  TMemoryStream copy;
  copy.CopyFrom(s, 0);  // 0 copies the whole source from its start
  EXPECT_EQ(copy.Bytes(), std::vector<uint8_t>(bytes, bytes + sizeof bytes));
}

TEST(Color, SystemColoursResolveThroughThePlatformTable) {
  EXPECT_EQ(ColorToRGB(clBtnFace), TColor(0xD8E9EC));   // 236,233,216
  EXPECT_EQ(ColorToRGB(clHighlight), TColor(0xC56A31));  // 49,106,197
  EXPECT_EQ(ColorToRGB(cl3DDkShadow), TColor(0x646F71));
  EXPECT_EQ(ColorToRGB(TColor(clSystemColor | 25)), TColor(0xB5B5B5));  // the unnamed entry
  EXPECT_EQ(ColorToRGB(clMenuBar), TColor(0xD8E9EC));
  EXPECT_EQ(ColorToRGB(clSkyBlue), clSkyBlue);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(GetRValue(RGB(1, 2, 3)), 1);
  EXPECT_EQ(GetBValue(RGB(1, 2, 3)), 3);
}

TEST(Color, IdentifierTableRoundTrips) {
  const auto& table = ColorIdentTable();
  EXPECT_EQ(table.size(), 52u);  // 16 standard, 4 extra, clNone, clDefault, 30 named system colours
  for (const auto& e : table) {
    auto value = IdentToColor(e.Name);
    ASSERT_TRUE(value) << e.Name;
    EXPECT_EQ(int32_t(*value), e.Value) << e.Name;
    EXPECT_EQ(ColorToIdent(*value), std::string(e.Name));
  }
  EXPECT_EQ(IdentToColor("CLSKYBLUE"), clSkyBlue);
  EXPECT_EQ(IdentToColor("clBtnFace"), clBtnFace);
  EXPECT_FALSE(IdentToColor("clPink"));
  EXPECT_FALSE(ColorToIdent(TColor(clSystemColor | 25)));
}

TEST(Text, CaseRulesAndIdentifiers) {
  EXPECT_TRUE(SameText("Font.Name", "FONT.name"));
  EXPECT_FALSE(SameText("Name", "Names"));
  EXPECT_FALSE(SameText("\xE9", "\xC9"));  // only ASCII letters fold
  EXPECT_TRUE(IsValidIdent("_a1"));
  EXPECT_FALSE(IsValidIdent("1a"));
  EXPECT_FALSE(IsValidIdent("a-b"));
  EXPECT_FALSE(IsValidIdent(""));
  EXPECT_EQ(Format("Error reading %s%s%s: %s", std::string("Image1"), ".", "Picture.Data", "x"),
            "Error reading Image1.Picture.Data: x");
  EXPECT_EQ(Format("%d is an invalid PageIndex value. PageIndex must be between 0 and %d", 9, 6),
            "9 is an invalid PageIndex value. PageIndex must be between 0 and 6");
}
