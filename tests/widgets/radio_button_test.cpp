// The test-point radio buttons: geometry, the colour-mapped glyph in every state, group
// rules, focus and keys, and what the screen shows after a page switch.
#include <gtest/gtest.h>

#include <algorithm>

#include "formstream/stream_reader.h"
#include "formstream/text_form.h"
#include "framework/controls/application.h"
#include "framework/controls/keys.h"
#include "framework/controls/window_system.h"
#include "framework/core/stream.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/font.h"
#include "framework/typeinfo/class_info.h"
#include "platform/headless/headless_backend.h"
#include "widgets/frame_drawing.h"
#include "widgets/radio_buttons.h"
#include "widgets/widget_classes.h"

namespace {
constexpr TColor kFrame = TColor(0x80511C);
constexpr TColor kDot = TColor(0x21A121);
constexpr TColor kHot = TColor(0x3CC7FF);
constexpr TPoint kFormAt{100, 100};

uint32_t Rgb(TColor c) { return uint32_t(ColorToRGB(c)); }

// A page: a custom-drawn container erased in its colour.
class TPage : public TCustomControl {
 public:
  explicit TPage(TComponent* owner) : TCustomControl(owner) { SetColor(clGradientInactiveCaption); }
};

// A radio button of a class of its own, still one of the group.
class TSpecialRadio : public TWkRadioButton {
 public:
  using TWkRadioButton::TWkRadioButton;
};

class RadioTest : public ::testing::Test {
 protected:
  RadioTest() { App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin"); }

  void SetUp() override {
    App->CreateForm(Form);
    Form->SetBounds(kFormAt.X, kFormAt.Y, 400, 300);
    PageA = AddPage(10);
    PageB = AddPage(200);
    A1 = AddRadio(PageA, "WkRadioButton1", "Test point 1", 32);
    A2 = AddRadio(PageA, "WkRadioButton2", "Test point 2", 80);
    B1 = AddRadio(PageB, "WkRadioButton3", "Test point 1", 32);
    B2 = AddRadio(PageB, "WkRadioButton4", "Test point 2", 80);
  }

  TPage* AddPage(int left) {
    auto* page = new TPage(Form);
    page->SetBounds(left, 10, 180, 200);
    page->Font()->SetName("Verdana");
    page->Font()->SetHeight(-13);
    page->Font()->SetStyle(TFontStyles{fsBold});
    page->SetParent(Form);
    return page;
  }

  template <class T = TWkRadioButton>
  T* AddRadio(TWinControl* page, const char* name, const char* caption, int top) {
    auto* r = new T(Form);
    r->SetName(name);
    r->SetCaption(caption);
    r->SetBounds(16, top, 115, 17);
    r->SetFrameColor(kFrame);
    r->SetHighlightColor(kDot);
    r->SetHotTrack(true);
    r->SetHotTrackColor(kHot);
    r->SetHotTrackColorType(htctActual);
    r->SetParent(page);
    r->FOnClick = [this, r](TObject*) { Clicks.push_back(r->Name()); };
    return r;
  }

  void Show() {
    Form->Show();
    Settle();
  }
  void Settle() { App->ProcessMessages(); }
  TPoint ScreenOf(const TControl& c, int x, int y) const { return c.ClientToScreen({x, y}); }
  uint32_t PixelOf(const TControl& c, int x, int y) const {
    const TPoint p = ScreenOf(c, x, y) - kFormAt;
    return Form->PlatformWindow()->Surface().PixelRGB(p.X, p.Y);
  }
  // A pixel of the glyph cell, which stands at (0, 2).
  uint32_t GlyphPixel(const TControl& c, int x, int y) const { return PixelOf(c, x, 2 + y); }
  void Press(const TControl& c, int x, int y) {
    Backend->PressMouse(ibLeft, ScreenOf(c, x, y));
    Settle();
  }
  void Release(const TControl& c, int x, int y) {
    Backend->ReleaseMouse(ibLeft, ScreenOf(c, x, y));
    Settle();
  }
  void Key(int key, uint32_t modifiers = 0) {
    Backend->SetModifiers(modifiers);
    Backend->PressKey(key);
    Backend->ReleaseKey(key);
    Backend->SetModifiers(0);
    Settle();
  }

  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
  TForm* Form = nullptr;
  TPage *PageA = nullptr, *PageB = nullptr;
  TWkRadioButton *A1 = nullptr, *A2 = nullptr, *B1 = nullptr, *B2 = nullptr;
  std::vector<std::string> Clicks;
};

using Names = std::vector<std::string>;
}  // namespace

TEST_F(RadioTest, MainWindowGeometry) {
  EXPECT_EQ(A1->GlyphRect(), (TRect{0, 2, 13, 15}));
  EXPECT_EQ(A1->CaptionRect(), (TRect{18, 1, 114, 16}));
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.Canvas().Font().CopyFrom(A1->Font());
  const TRect focus = A1->FocusFrameRect();
  EXPECT_EQ(focus.Left, 17);
  EXPECT_EQ(focus.Top, 0);
  EXPECT_EQ(focus.Bottom, 17);
  EXPECT_EQ(focus.Width(), std::min(98, scratch.Canvas().TextWidth("Test point 1") + 3));
  A1->SetAlignment(taLeftJustify);
  EXPECT_EQ(A1->GlyphRect(), (TRect{102, 2, 115, 15}));
  EXPECT_EQ(A1->CaptionRect(), (TRect{1, 1, 97, 16}));
  A1->SetAlignmentVertical(avCenter);
  EXPECT_EQ(A1->GlyphRect().Top, 2);
  A1->SetAlignmentVertical(avBottom);
  EXPECT_EQ(A1->GlyphRect().Top, 2);
  A1->SetBounds(16, 32, 115, 30);
  EXPECT_EQ(A1->GlyphRect().Top, 15);
  A1->SetAlignmentVertical(avCenter);
  EXPECT_EQ(A1->GlyphRect().Top, 8);
}

TEST_F(RadioTest, DefaultsOfANewButton) {
  TWkRadioButton r(nullptr);
  EXPECT_EQ(r.Width(), 115);
  EXPECT_EQ(r.Height(), 17);
  EXPECT_FALSE(r.TabStop());
  EXPECT_EQ(r.AlignmentVertical(), avTop);
  EXPECT_EQ(r.Alignment(), taRightJustify);
  EXPECT_EQ(r.StateCount(), 6);
  EXPECT_EQ(r.TransparentColor(), TColor(0x008080));
  EXPECT_EQ(r.WinMaskColor(), TColor(0x00FF00));
  EXPECT_TRUE(r.BackgroundStale());
}

// Expected colours written out from the role table, one state at a time.
TEST_F(RadioTest, EveryTemplateRoleInEveryState) {
  const TColor w = clWindow, dn = DarkenColor(clWindow, 20), dis = clBtnFace;
  const TColor hl = LightenColor(kHot, 30), hd = DarkenColor(kHot, 30);
  struct TState {
    const char* Name;
    TColor Inside, Light, Dark, Nine, A, B;
  };
  const TState states[] = {
      {"normal", w, w, w, w, kDot, MixColors(kDot, w, 153)},
      {"pressed", dn, dn, dn, dn, kDot, MixColors(kDot, dn, 153)},
      {"hover", w, hl, hd, MixColors(hl, w, 128), kDot, MixColors(kDot, w, 153)},
      {"disabled", dis, dis, dis, dis, clBtnShadow, MixColors(kDot, dis, 128)},
  };
  Show();
  for (const TState& s : states) {
    SCOPED_TRACE(s.Name);
    if (std::string(s.Name) == "pressed") Press(*A1, 50, 8);
    if (std::string(s.Name) == "hover") {
      Release(*A1, 50, 8);
      A1->SetChecked(false);
      Backend->MoveMouse(ScreenOf(*A1, 5, 8));
      Settle();
      ASSERT_TRUE(A1->PointerInside());
    }
    if (std::string(s.Name) == "disabled") {
      Backend->MoveMouse({0, 0});
      Settle();
      A1->SetEnabled(false);
    }
    const TColor expected[13] = {s.Inside,
                                 kFrame,
                                 LightenColor(kFrame, 10),
                                 MixColors(kFrame, s.Dark, 128),
                                 MixColors(kFrame, s.Light, 128),
                                 MixColors(kFrame, s.Dark, 80),
                                 MixColors(kFrame, s.Light, 80),
                                 s.Dark,
                                 s.Light,
                                 s.Nine,
                                 s.A,
                                 s.B,
                                 TColor(0x008000)};
    for (int role = 0; role < 13; ++role) EXPECT_EQ(Rgb(A1->RoleColor(role)), Rgb(expected[role])) << role;
    // The same colours on screen, unchecked then checked.
    A1->SetChecked(false);
    Settle();
    EXPECT_EQ(GlyphPixel(*A1, 6, 6), Rgb(expected[0]));
    EXPECT_EQ(GlyphPixel(*A1, 6, 0), Rgb(expected[1]));
    EXPECT_EQ(GlyphPixel(*A1, 5, 0), Rgb(expected[2]));
    EXPECT_EQ(GlyphPixel(*A1, 4, 1), Rgb(expected[3]));
    EXPECT_EQ(GlyphPixel(*A1, 11, 4), Rgb(expected[4]));
    EXPECT_EQ(GlyphPixel(*A1, 10, 3), Rgb(expected[5]));
    EXPECT_EQ(GlyphPixel(*A1, 5, 1), Rgb(expected[6]));
    EXPECT_EQ(GlyphPixel(*A1, 9, 4), Rgb(expected[7]));
    EXPECT_EQ(GlyphPixel(*A1, 6, 1), Rgb(expected[8]));
    EXPECT_EQ(GlyphPixel(*A1, 5, 3), Rgb(expected[9]));
    if (A1->Enabled() && !A1->PressedLook()) A1->SetChecked(true);
    if (!A1->Enabled()) {
      A1->SetEnabled(true);
      A1->SetChecked(true);
      A1->SetEnabled(false);
    }
    if (A1->PressedLook()) {
      // Checking from code while the press is held.
      A1->SetChecked(true);
    }
    Settle();
    EXPECT_EQ(GlyphPixel(*A1, 6, 6), Rgb(expected[10]));
    EXPECT_EQ(GlyphPixel(*A1, 5, 4), Rgb(expected[11]));
    EXPECT_EQ(GlyphPixel(*A1, 3, 6), Rgb(expected[0]));
  }
}

TEST_F(RadioTest, OuterRingPixelsBlendWithTheBackgroundAndCornersShowIt) {
  Show();
  const uint32_t page = Rgb(clGradientInactiveCaption);
  EXPECT_EQ(GlyphPixel(*A1, 4, 0), Rgb(MixColors(kFrame, clGradientInactiveCaption, 128)));
  EXPECT_EQ(GlyphPixel(*A1, 0, 4), Rgb(MixColors(kFrame, clGradientInactiveCaption, 128)));
  EXPECT_EQ(GlyphPixel(*A1, 0, 0), page);
  EXPECT_EQ(GlyphPixel(*A1, 12, 12), page);
  EXPECT_EQ(PixelOf(*A1, 5, 0), page) << "above the glyph";
}

TEST_F(RadioTest, FrameOnAMaskColourIsMovedOffIt) {
  A1->SetFrameColor(TColor(0x808080));
  EXPECT_EQ(Rgb(A1->AvoidMaskColor(TColor(0x808080))), 0x808081u);
  EXPECT_EQ(Rgb(A1->AvoidMaskColor(TColor(0x008080))), 0x008081u);
  EXPECT_EQ(Rgb(A1->AvoidMaskColor(TColor(0x00FF00))), 0x00FF01u);
  EXPECT_EQ(Rgb(A1->AvoidMaskColor(kFrame)), Rgb(kFrame));
  EXPECT_EQ(Rgb(A1->RoleColor(1)), 0x808081u);
}

TEST(RadioPalette, OnAPaletteScreenTheRolesTakeFlatColours) {
  THeadlessScreen screen;
  screen.BitsPerPixel = 8;
  auto backend = CreateHeadlessBackend(screen);
  TApplication app;
  app.Initialize(*backend, "/usr/lib/velmorath/Velmorath.bin");
  ASSERT_FALSE(HasTrueColorDisplay());
  TWkRadioButton r(nullptr);
  r.SetFrameColor(kFrame);
  r.SetHighlightColor(kDot);
  for (int role : {0, 3, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(r.RoleColor(role), clWindow) << role;
  for (int role : {1, 2, 12}) EXPECT_EQ(r.RoleColor(role), kFrame) << role;
  for (int role : {10, 11}) EXPECT_EQ(r.RoleColor(role), kDot) << role;
  r.SetEnabled(false);
  EXPECT_EQ(r.RoleColor(0), clBtnFace);
  EXPECT_EQ(r.RoleColor(10), clBtnShadow);
  EXPECT_EQ(r.RoleColor(12), kFrame) << "kept";
}

// ---- group rules ----

TEST_F(RadioTest, CheckingUnchecksTheParentsRadioButtonsOfAnyClassButNoOthers) {
  auto* special = AddRadio<TSpecialRadio>(PageA, "Special", "Special", 128);
  Show();
  B1->SetChecked(true);
  A1->SetChecked(true);
  special->SetChecked(true);
  EXPECT_FALSE(A1->Checked());
  EXPECT_TRUE(special->Checked());
  A2->SetChecked(true);
  EXPECT_FALSE(special->Checked()) << "a descendant class is one of the group";
  EXPECT_TRUE(B1->Checked()) << "another parent's buttons are left alone";
  EXPECT_EQ(Clicks, (Names{"WkRadioButton3", "WkRadioButton1", "Special", "WkRadioButton2"}))
      << "setting Checked from code clicks; unchecking never does";
  A2->SetChecked(true);
  EXPECT_EQ(Clicks.size(), 4u) << "already checked: nothing";
  TWkRadioButton orphan(nullptr);
  orphan.SetChecked(true);
  EXPECT_TRUE(orphan.Checked());
}

TEST_F(RadioTest, TabStopFollowsChecked) {
  Show();
  EXPECT_FALSE(A1->TabStop());
  A1->SetChecked(true);
  EXPECT_TRUE(A1->TabStop());
  A2->SetChecked(true);
  EXPECT_FALSE(A1->TabStop());
  EXPECT_TRUE(A2->TabStop());
}

// ---- mouse ----

TEST_F(RadioTest, PressFocusesWithoutCheckingAndReleaseInsideChecks) {
  Show();
  Press(*A2, 40, 8);
  EXPECT_TRUE(A2->Focused());
  EXPECT_TRUE(A2->MouseSelecting());
  EXPECT_FALSE(A2->Checked()) << "a mouse press does not check";
  EXPECT_TRUE(Clicks.empty());
  Release(*A2, 40, 8);
  EXPECT_TRUE(A2->Checked());
  EXPECT_FALSE(A2->MouseSelecting());
  EXPECT_EQ(Clicks, (Names{"WkRadioButton2"}));
  Press(*A2, 40, 8);
  Release(*A2, 40, 8);
  EXPECT_EQ(Clicks.size(), 1u) << "clicking the checked button fires nothing";
}

TEST_F(RadioTest, PressInsideReleaseOutsideChangesNothing) {
  Show();
  Press(*A1, 40, 8);
  Backend->MoveMouse(ScreenOf(*A1, 40, 40));
  Settle();
  EXPECT_FALSE(A1->PressedLook());
  Release(*A1, 40, 40);
  EXPECT_FALSE(A1->Checked());
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(RadioTest, DoubleClickChecksOnceAndFiresOnDblClick) {
  int doubles = 0;
  A1->FOnDblClick = [&](TObject*) { ++doubles; };
  Show();
  const TPoint p = ScreenOf(*A1, 40, 8);
  Backend->PressMouse(ibLeft, p);
  Backend->ReleaseMouse(ibLeft, p);
  Backend->DoubleClickMouse(ibLeft, p);
  Backend->ReleaseMouse(ibLeft, p);
  Settle();
  EXPECT_EQ(Clicks, (Names{"WkRadioButton1"}));
  EXPECT_EQ(doubles, 1);
}

TEST_F(RadioTest, HoverRepaintsOnlyTheGlyphOverTheCachedBackground) {
  Show();
  ASSERT_FALSE(A1->BackgroundStale());
  Backend->MoveMouse(ScreenOf(*A1, 60, 8));
  Settle();
  EXPECT_EQ(GlyphPixel(*A1, 6, 1), Rgb(LightenColor(kHot, 30)));
  EXPECT_FALSE(A1->BackgroundStale()) << "no erase: the cache is used again";
  EXPECT_EQ(A1->GetHotTrackRect(), A1->GlyphRect());
  Backend->MoveMouse({0, 0});
  Settle();
  EXPECT_EQ(GlyphPixel(*A1, 6, 1), Rgb(clWindow));
}

// ---- keyboard and focus ----

TEST_F(RadioTest, TabbingLandsOnlyOnTheCheckedButton) {
  auto* before = new TWkButton(Form);
  before->SetBounds(10, 250, 75, 25);
  before->SetParent(Form);
  before->SetTabOrder(0);
  Show();
  ASSERT_TRUE(before->Focused());
  Key(vkTab);
  EXPECT_TRUE(before->Focused()) << "no radio button is checked, so none is a tab stop";
  A2->SetChecked(true);
  B1->SetChecked(true);
  Clicks.clear();
  Key(vkTab);
  EXPECT_TRUE(A2->Focused());
  Key(vkTab);
  EXPECT_TRUE(B1->Focused());
  EXPECT_TRUE(Clicks.empty()) << "already checked: focusing fires nothing";
}

TEST_F(RadioTest, FocusByKeyboardChecksAndFires) {
  Show();
  A1->SetChecked(true);
  A1->SetFocus();
  Clicks.clear();
  Key(vkRight);
  EXPECT_TRUE(A2->Focused());
  EXPECT_TRUE(A2->Checked());
  EXPECT_FALSE(A1->Checked());
  EXPECT_EQ(Clicks, (Names{"WkRadioButton2"}));
}

TEST_F(RadioTest, AcceleratorFocusesAndSoChecks) {
  B2->SetCaption("Test point &2");
  Show();
  Backend->SetModifiers(imAlt);
  Backend->TypeChar('2');
  Backend->SetModifiers(0);
  Settle();
  EXPECT_TRUE(B2->Focused());
  EXPECT_TRUE(B2->Checked());
  EXPECT_EQ(Clicks, (Names{"WkRadioButton4"}));
}

TEST_F(RadioTest, DownArrowFiresTheClickWithoutChecking) {
  Show();
  Press(*A1, 40, 8);
  Release(*A1, 40, 40);
  ASSERT_TRUE(A1->Focused());
  ASSERT_FALSE(A1->Checked());
  Key(vkDown);
  EXPECT_EQ(Clicks, (Names{"WkRadioButton1"}));
  EXPECT_FALSE(A1->Checked());
  EXPECT_TRUE(A1->Focused()) << "the key was handled, not navigated with";
  Key(vkDown, imShift);
  EXPECT_EQ(std::count(Clicks.begin(), Clicks.end(), "WkRadioButton1"), 1) << "Shift+Down only navigates";
}

TEST_F(RadioTest, SpaceDoesNotToggle) {
  Show();
  A1->SetChecked(true);
  A1->SetFocus();
  Clicks.clear();
  Key(vkSpace);
  EXPECT_TRUE(A1->Checked());
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(RadioTest, TabOnEnterMovesOnAsTabDoes) {
  A1->SetTabOnEnter(true);
  B1->SetChecked(true);
  Show();
  A1->SetChecked(true);
  A1->SetFocus();
  Backend->TypeChar('\r');
  Settle();
  Settle();
  EXPECT_TRUE(B1->Focused());
}

TEST_F(RadioTest, FocusedButtonShowsTheDottedFrameFromX17) {
  Show();
  A1->SetChecked(true);
  A1->SetFocus();
  Settle();
  EXPECT_EQ(PixelOf(*A1, 18, 0), 0x000000u);
  EXPECT_EQ(PixelOf(*A1, 17, 1), 0x000000u);
  EXPECT_EQ(PixelOf(*A1, 17, 2), Rgb(clGradientInactiveCaption));
  EXPECT_EQ(PixelOf(*A1, 18, 16), 0x000000u);
  A1->SetCaption("");
  Settle();
  EXPECT_EQ(PixelOf(*A1, 17, 1), Rgb(clGradientInactiveCaption)) << "no caption, no frame";
}

// The page control's switch: the old page hides, the new one shows, its first button
// takes the focus and so becomes checked. The screen must show it checked.
class RadioPageSwitch : public RadioTest, public ::testing::WithParamInterface<bool> {};

TEST_P(RadioPageSwitch, ButtonCheckedByTheFocusOfAPageSwitchIsDrawnChecked) {
  PageA->SetClipChildren(GetParam());
  PageB->SetClipChildren(GetParam());
  PageB->SetBounds(10, 10, 180, 200);
  PageB->SetVisible(false);
  Show();
  Press(*A1, 40, 8);
  Release(*A1, 40, 8);
  ASSERT_TRUE(A1->Checked());
  PageA->SetVisible(false);
  PageB->SetVisible(true);
  B1->SetFocus();
  Settle();
  EXPECT_TRUE(B1->Checked());
  EXPECT_EQ(GlyphPixel(*B1, 6, 6), Rgb(kDot)) << "the dot is on screen";
  EXPECT_EQ(GlyphPixel(*B2, 6, 6), Rgb(clWindow));
  EXPECT_EQ(Clicks, (Names{"WkRadioButton1", "WkRadioButton3"}));
}
INSTANTIATE_TEST_SUITE_P(ClippingAndNot, RadioPageSwitch, ::testing::Bool());

// ---- looks of other settings ----

TEST_F(RadioTest, DisabledButtonShowsDisabledColourAndAShadowDot) {
  A1->SetChecked(true);
  A1->SetEnabled(false);
  A1->SetDisabledColor(clYellow);
  Show();
  EXPECT_EQ(GlyphPixel(*A1, 3, 6), 0x00FFFFu);
  EXPECT_EQ(GlyphPixel(*A1, 6, 6), Rgb(clBtnShadow));
  int shadowInk = 0;
  for (int x = 18; x < 114; ++x)
    for (int y = 1; y < 16; ++y) shadowInk += PixelOf(*A1, x, y) == Rgb(clBtnShadow);
  EXPECT_GT(shadowInk, 20) << "the embossed caption";
}

TEST_F(RadioTest, OpaqueButtonFillsWithItsColourAndTransparentOneShowsTheParent) {
  A1->SetColor(clRed);
  A2->SetColor(clRed);
  A2->SetTransparent(true);
  Show();
  EXPECT_EQ(GlyphPixel(*A1, 0, 0), 0x0000FFu) << "see-through pixels take Color";
  EXPECT_EQ(PixelOf(*A1, 60, 0), 0x0000FFu);
  EXPECT_EQ(GlyphPixel(*A2, 0, 0), Rgb(clGradientInactiveCaption));
  EXPECT_EQ(PixelOf(*A2, 60, 0), Rgb(clGradientInactiveCaption));
}

TEST_F(RadioTest, CustomGlyphStripCellsFollowTheState) {
  // Six 4 x 5 cells, each filled with its own grey level.
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(24, 5);
  for (int cell = 0; cell < 6; ++cell) {
    strip.Canvas().Brush().SetColor(RGB(cell * 40, cell * 40, cell * 40));
    strip.Canvas().FillRect({cell * 4, 0, cell * 4 + 4, 5});
  }
  A1->SetCustomGlyphs(&strip);
  EXPECT_TRUE(A1->UseCustomGlyphs());
  EXPECT_EQ(A1->GlyphCellWidth(), 4);
  EXPECT_EQ(A1->GlyphCellHeight(), 5);
  Show();
  auto cellShown = [&] { return int((GlyphPixel(*A1, 1, 1) & 0xFF) / 40); };
  EXPECT_EQ(cellShown(), 0);
  Press(*A1, 40, 8);
  EXPECT_EQ(cellShown(), 2);
  Release(*A1, 40, 8);
  EXPECT_EQ(cellShown(), 1);
  Press(*A1, 40, 8);
  EXPECT_EQ(cellShown(), 3);
  Release(*A1, 40, 8);
  A1->SetEnabled(false);
  Settle();
  EXPECT_EQ(cellShown(), 5);
  A1->SetEnabled(true);
  A1->SetChecked(false);
  A1->SetEnabled(false);
  Settle();
  EXPECT_EQ(cellShown(), 4);

  // Switching the strip off and on sizes the cell from the glyphs in use.
  A1->SetUseCustomGlyphs(false);
  EXPECT_EQ(A1->GlyphCellWidth(), 13);
  EXPECT_EQ(A1->GlyphCellHeight(), 13);
  A1->SetUseCustomGlyphs(true);
  EXPECT_EQ(A1->GlyphCellWidth(), 4);
  EXPECT_EQ(A1->GlyphCellHeight(), 5);

  TBitmap narrow;
  narrow.SetSize(5, 5);
  A1->SetCustomGlyphs(&narrow);
  EXPECT_EQ(A1->GlyphCellWidth(), 0) << "narrower than six cells: nothing of the glyph";
  TBitmap none;
  A1->SetCustomGlyphs(&none);
  EXPECT_FALSE(A1->UseCustomGlyphs());
  EXPECT_EQ(A1->GlyphCellWidth(), 13);
}

// ---- streaming ----

namespace {
class TRadioForm : public TForm {
 public:
  VM_CLASS()
  using TForm::TForm;
};
}  // namespace

const TClassInfo& TRadioForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TRadioForm, TForm>("TRadioForm");
  return info;
}

TEST(RadioStreaming, ReadsAMainWindowButtonAndTheOldFlat) {
  auto backend = CreateHeadlessBackend();
  TApplication app;
  app.Initialize(*backend, "/usr/lib/velmorath/Velmorath.bin");
  RegisterWidgetClasses();
  const std::string text =
      "object Radios: TRadioForm\n"
      "  object WkRadioButton7: TWkRadioButton\n"
      "    Left = 16\n    Top = 32\n    Width = 115\n    Height = 17\n    Caption = 'Test point 1'\n"
      "    FrameColor = 8409372\n    HighlightColor = 2203937\n    HotTrack = True\n"
      "    HotTrackColor = 3983359\n    HotTrackColorType = htctActual\n    TabOrder = 0\n  end\n"
      "  object WkRadioButton8: TWkRadioButton\n    Flat = True\n  end\n"
      "end\n";
  TMemoryStream stream;
  TextToBinary(text, stream, "");
  stream.SetPosition(0);
  TRadioForm* form = nullptr;
  app.CreateForm(form);
  TStreamReader reader(stream);
  reader.ReadRootComponent(*form);
  auto* r7 = dynamic_cast<TWkRadioButton*>(form->FindComponent("WkRadioButton7"));
  auto* r8 = dynamic_cast<TWkRadioButton*>(form->FindComponent("WkRadioButton8"));
  ASSERT_NE(r7, nullptr);
  ASSERT_NE(r8, nullptr);
  EXPECT_EQ(r7->FrameColor(), kFrame);
  EXPECT_EQ(r7->HotTrackColorType(), htctActual);
  EXPECT_FALSE(r7->Checked());
  EXPECT_FALSE(r7->TabStop());
  EXPECT_TRUE(r8->HotTrack()) << "Flat turns HotTrack on";
}

// ---- actions ----

TEST_F(RadioTest, ALinkedActionsCheckedStateChecksTheButtonWhileTheyAreInStep) {
  Show();
  TAction action(nullptr);
  A1->SetAction(&action);
  EXPECT_FALSE(A1->CheckedStored()) << "the action supplies it";
  action.SetChecked(true);
  EXPECT_TRUE(A1->Checked());
  EXPECT_EQ(Clicks, (Names{"WkRadioButton1"}));
  A2->SetChecked(true);
  EXPECT_FALSE(A1->Checked());
  EXPECT_TRUE(A1->CheckedStored()) << "out of step with the action";
  action.SetChecked(false);
  EXPECT_FALSE(A1->Checked());
  action.SetChecked(true);
  EXPECT_TRUE(A1->Checked()) << "in step again, so linked";
  EXPECT_FALSE(A2->Checked());
}

TEST_F(RadioTest, AssigningAnActionTakesItsStateUnlessOnlyDefaultsApply) {
  TAction checkedAction(nullptr);
  checkedAction.SetChecked(true);
  checkedAction.SetCaption("From the action");
  B1->SetAction(&checkedAction);
  EXPECT_TRUE(B1->Checked());
  EXPECT_EQ(B1->Caption(), "From the action");

  TAction loading(nullptr);
  loading.SetComponentState(csLoading, true);
  A1->SetChecked(true);
  A1->SetAction(&loading);
  EXPECT_TRUE(A1->Checked()) << "a checked button keeps its state during a defaults-only update";
  EXPECT_EQ(A1->Caption(), "Test point 1") << "and its caption";
}

TEST_F(RadioTest, WithoutAnOnClickTheClickExecutesTheAction) {
  int executed = 0;
  TAction action(nullptr);
  action.FOnExecute = [&](TObject*) { ++executed; };
  A1->FOnClick.Clear();
  A1->SetAction(&action);
  A1->SetChecked(true);
  EXPECT_EQ(executed, 1);
  {
    TAction gone(nullptr);
    A2->SetAction(&gone);
  }
  EXPECT_EQ(A2->Action(), nullptr) << "a freed action is forgotten";
}

TEST(ButtonAction, GlyphButtonTakesTheActionsImageUnlessOnlyDefaultsApplyOverAnImage) {
  TWkBitBtn b(nullptr);
  TAction action(nullptr);
  action.SetImageIndex(3);
  b.SetAction(&action);
  EXPECT_EQ(b.ImageIndex(), 3);
  action.SetImageIndex(5);
  EXPECT_EQ(b.ImageIndex(), 5) << "follows the action's changes";
  TWkBitBtn own(nullptr);
  own.SetImageIndex(1);
  TAction loading(nullptr);
  loading.SetImageIndex(4);
  loading.SetComponentState(csLoading, true);
  own.SetAction(&loading);
  EXPECT_EQ(own.ImageIndex(), 1);
}
