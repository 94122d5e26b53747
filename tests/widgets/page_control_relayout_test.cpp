// The strip is laid out by the loop before it paints, never by paint: a paint that comes
// first shows the strip as it was, and what the layout sets off (the selection moved, the
// buttons made, the control's colour) happens outside paint and settles in one pass.
#include <memory>

#include "tests/widgets/page_control_fixture.h"

namespace {
class RelayoutTest : public PageControlTest {
 protected:
  void SetUp() override {
    Load();
    Control->FOnChange = [this](TObject*) { ++Changes; };
  }
  std::unique_ptr<TBitmap> Snapshot() const {
    auto copy = std::make_unique<TBitmap>();
    copy->CopyFrom(&Control->OffscreenBitmap());
    return copy;
  }
  static bool Same(const TBitmap& a, const TBitmap& b) {
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.PixelRGB(x, y) != b.PixelRGB(x, y)) return false;
    return true;
  }
  // Whether what the screen shows of the form is what a full repaint of it shows.
  bool ScreenIsAFullRepaint() {
    std::vector<uint32_t> shown;
    for (int y = 0; y < Form->ClientHeight(); ++y)
      for (int x = 0; x < Form->ClientWidth(); ++x) shown.push_back(ShownAt({x, y}));
    Form->InvalidateWithChildren(Form->ClientRect(), true);
    Settle();
    size_t i = 0;
    for (int y = 0; y < Form->ClientHeight(); ++y)
      for (int x = 0; x < Form->ClientWidth(); ++x)
        if (shown[i++] != ShownAt({x, y})) return false;
    return true;
  }
  int Changes = 0;
};
}  // namespace

TEST_F(RelayoutTest, APaintBeforeTheLayoutMovesNoSelectionAndDrawsTheStripAsItWas) {
  const std::unique_ptr<TBitmap> before = Snapshot();
  Page(6)->SetTabEnabled(false);
  ASSERT_TRUE(Control->LayoutDirty());
  Control->Repaint();  // paints at once, before the loop's next pass
  EXPECT_EQ(Control->TabIndex(), 6) << "paint does not lay out";
  EXPECT_EQ(Changes, 0);
  EXPECT_TRUE(Control->LayoutDirty());
  EXPECT_TRUE(Same(*before, Control->OffscreenBitmap()));
  Settle();
  EXPECT_FALSE(Control->LayoutDirty());
  EXPECT_EQ(Control->TabIndex(), 5) << "the layout moved the selection off the disabled tab";
  EXPECT_EQ(Changes, 1);
  EXPECT_FALSE(Same(*before, Control->OffscreenBitmap())) << "and the loop painted the new strip";
}

TEST_F(RelayoutTest, TheStripsButtonsAreMadeByTheLayout) {
  Control->SetShowCloseButton(true);
  Control->Repaint();
  EXPECT_EQ(Control->CloseButton(), nullptr);
  Control->UpdateLayout();
  ASSERT_NE(Control->CloseButton(), nullptr);
  EXPECT_TRUE(Control->CloseButton()->Visible());
  EXPECT_FALSE(Control->LayoutDirty());
}

TEST_F(RelayoutTest, OnSeveralRowsColouredTabsGiveTheControlTheSelectedTabsColourAsTheSelectionMoves) {
  Control->SetTabOrientation(toTop);
  Control->SetTextOrientation(orHorizontal);
  Control->SetMultiLine(true);
  Page(0)->SetColor(clYellow);
  ASSERT_TRUE(Control->UseColoredTabs());
  Settle();
  ASSERT_GT(Control->RowCount(), 1);
  EXPECT_NE(Control->Color(), clYellow);
  Control->SetActivePage(Page(0));
  EXPECT_EQ(Control->Color(), clYellow) << "before any paint: the farther rows' cards are the control's";
  Settle();
  EXPECT_TRUE(ScreenIsAFullRepaint());
}

TEST_F(RelayoutTest, WithOneRowTheActivePageFillsTheCardAndTheControlKeepsItsColour) {
  const TColor own = Control->Color();
  Page(0)->SetColor(clYellow);
  Control->SetActivePage(Page(0));
  Settle();
  EXPECT_EQ(Control->Color(), own);
  EXPECT_EQ(Control->OffscreenBitmap().PixelRGB(120, 200), 0x00FFFFu) << "the card in the page's yellow";
}

// Only the layout finds the farther rows whose cards take the control's colour; pages that
// follow that colour change their tabs' records, which marks the layout dirty again.
TEST_F(RelayoutTest, ALayoutThatStartsAnotherSettlesInOnePassOfTheLoop) {
  for (int i = 0; i < 7; ++i) Page(i)->SetParentColor(true);
  Control->SetTabOrientation(toTop);
  Control->SetTextOrientation(orHorizontal);
  Settle();
  Control->SetMultiLine(true);
  Page(3)->SetColor(clYellow);
  Control->SetActivePage(Page(3));
  EXPECT_NE(Control->Color(), clYellow) << "one row yet: the page fills the only card";
  Settle();
  EXPECT_FALSE(Control->LayoutDirty());
  EXPECT_EQ(Page(1)->Color(), clYellow) << "a page following the control";
  EXPECT_EQ(Control->Tabs().Items(1).Color, clYellow);
  EXPECT_TRUE(ScreenIsAFullRepaint());
}
