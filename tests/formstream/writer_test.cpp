// The writer: smallest tags, defaults left out, and streams that read back to the same tree.
#include <gtest/gtest.h>

#include "formstream/stream_writer.h"
#include "tests/formstream/form_helpers.h"
#include "tests/formstream/test_components.h"

namespace {
std::vector<uint8_t> Written(const std::function<void(TStreamWriter&)>& write) {
  TMemoryStream s;
  {
    TStreamWriter w(s);
    write(w);
    w.FlushBuffer();
  }
  return s.Bytes();
}

std::vector<uint8_t> WriteForm(TTestForm& form) {
  return Written([&form](TStreamWriter& w) { w.WriteRootComponent(form); });
}

std::string Text(const std::vector<uint8_t>& bytes) {
  TReadOnlyMemoryStream s(bytes.data(), bytes.size());
  return BinaryToText(s);
}
}  // namespace

TEST(Writer, IntegersTakeTheSmallestTag) {
  EXPECT_EQ(Written([](TStreamWriter& w) { w.WriteInteger(-11); }), (std::vector<uint8_t>{2, 0xF5}));
  EXPECT_EQ(Written([](TStreamWriter& w) { w.WriteInteger(543); }), (std::vector<uint8_t>{3, 0x1F, 0x02}));
  EXPECT_EQ(Written([](TStreamWriter& w) { w.WriteInteger(-129); }), (std::vector<uint8_t>{3, 0x7F, 0xFF}));
  EXPECT_EQ(Written([](TStreamWriter& w) { w.WriteInteger(32768); }), (std::vector<uint8_t>{4, 0, 0x80, 0, 0}));
  EXPECT_EQ(Written([](TStreamWriter& w) { w.WriteInteger(int64_t(1) << 31); }),
            (std::vector<uint8_t>{19, 0, 0, 0, 0x80, 0, 0, 0, 0}));
  EXPECT_EQ(Written([](TStreamWriter& w) { w.WriteString(std::string(256, 'x')); })[0], 12);  // long string
}

TEST(Writer, StoresOnlyWhatDiffersFromDefaults) {
  TTestForm form;
  form.SetName("Plain");
  auto* w = new TTestWidget(&form);
  w->SetName("Widget1");
  w->SetParentComponent(&form);
  w->FLeft = 12;
  EXPECT_EQ(Text(WriteForm(form)), "object Plain: TTestForm\n  object Widget1: TTestWidget\n    Left = 12\n  end\nend\n");
}

TEST(Writer, RoundTripKeepsTheTree) {
  TTestForm source;
  source.SetName("Trip");
  source.FCaption = "Round";
  auto* panel = new TTestPanel(&source);
  panel->SetName("Panel1");
  panel->SetParentComponent(&source);
  auto* w = new TTestWidget(&source);
  w->SetName("Widget1");
  w->SetParentComponent(panel);
  w->FLeft = -70000;
  w->FShape = shSquare;
  w->FSides = TSides{sdTop, sdRight};
  w->FColor = clWindowText;
  w->FVisible = false;
  w->FCaption = std::string(300, 'c');
  w->FWide = u"\u4E2D\u6587";
  w->FAccel = '&';
  w->FRatio = -0.375;
  w->FBig = -5000000000;
  w->SetBuddy(panel);
  w->Font()->FStyle = TSides{sdLeft};
  w->Picture()->GraphicClass = "TTestGraphic";
  w->Picture()->Bytes = {1, 2, 3};
  w->DesignSize = {10, 20};
  static_cast<TTestItem*>(w->Items()->Add())->FValue = 4;
  const TMethodInfo* other = TTestForm::ClassInfo().FindMethod("OtherClick");
  ASSERT_TRUE(w->FOnClick.Bind(TMethod{&source, other}, other->MakeClosure(&source)));
  std::vector<uint8_t> bytes = WriteForm(source);

  TTestForm copy;
  TReadOnlyMemoryStream s(bytes.data(), bytes.size());
  TStreamReader(s).ReadRootComponent(copy);
  ASSERT_NE(copy.Widget1, nullptr);
  TTestWidget& c = *copy.Widget1;
  EXPECT_EQ(c.GetParentComponent(), copy.Panel1);
  EXPECT_EQ(c.FLeft, -70000);
  EXPECT_EQ(c.FShape, shSquare);
  EXPECT_EQ(c.FSides, (TSides{sdTop, sdRight}));
  EXPECT_EQ(c.FColor, clWindowText);
  EXPECT_FALSE(c.FVisible);
  EXPECT_EQ(c.FCaption, w->FCaption);
  EXPECT_EQ(c.FWide, w->FWide);
  EXPECT_EQ(c.FAccel, '&');
  EXPECT_EQ(c.FRatio, -0.375);
  EXPECT_EQ(c.FBig, -5000000000);
  EXPECT_EQ(c.FBuddy, copy.Panel1);
  EXPECT_EQ(c.Font()->FStyle, TSides{sdLeft});
  EXPECT_EQ(c.Picture()->Bytes, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(c.DesignSize, (std::vector<int>{10, 20}));
  ASSERT_EQ(c.Items()->Count(), 1);
  EXPECT_EQ(static_cast<TTestItem*>(c.Items()->Items(0))->FValue, 4);
  c.FOnClick(&c);
  EXPECT_EQ(copy.FClicks, 10);
  EXPECT_EQ(WriteForm(copy), bytes);  // and writing the copy gives the same stream
}

TEST(Writer, AnAncestorLeavesOutWhatItAlreadyHas) {
  TTestForm ancestor, form;
  ancestor.FCaption = "Same";
  form.FCaption = "Same";
  TMemoryStream s;
  TStreamWriter w(s);
  w.SetAncestor(&ancestor);
  w.WriteProperties(form);
  form.FCaption = "Other";
  w.WriteProperties(form);
  w.FlushBuffer();
  EXPECT_EQ(s.Bytes(), (TBytes().Str("Caption") << 6).Str("Other").Stream().Bytes());
}

TEST(Writer, ASetWithBitsBeyondItsElementsIsRefusedNotWrittenShort) {
  TTestForm form;
  auto* widget = new TTestWidget(&form);
  widget->SetName("Widget1");
  widget->SetParentComponent(&form);
  widget->FSides = TSides::FromBits(0x401);
  TMemoryStream out;
  TStreamWriter writer(out);
  EXPECT_THROW(writer.WriteRootComponent(form), EWriteError);
}
