// How the push buttons act: press tracking, keys, dialog keys, modal results, groups,
// glyph cells, stock kinds and reading from a form description.
#include <stdexcept>

#include "formstream/stream_reader.h"
#include "formstream/text_form.h"
#include "framework/typeinfo/class_info.h"
#include "framework/core/exceptions.h"
#include "tests/widgets/button_fixture.h"
#include "widgets/widget_classes.h"

namespace {
class ButtonInput : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    Show();
  }
};

// A windowed control of another kind that takes the focus.
class TOtherControl : public TCustomControl {
 public:
  explicit TOtherControl(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};
}  // namespace

TEST_F(ButtonInput, PressLeaveReturnAndReleaseOutsideGivesNoClick) {
  Press(*About, 50, 12);
  EXPECT_TRUE(About->Focused()) << "a press takes the focus";
  EXPECT_TRUE(About->PressedLook());
  EXPECT_TRUE(About->Tracking());
  MoveTo(*About, 200, 12);
  EXPECT_FALSE(About->PressedLook()) << "unpressed while outside";
  EXPECT_EQ(PixelOf(*About, 50, 2), Rgb(HslToRgb(HueOfColor(kButtonHighlight), 220, 220))) << "the focused face";
  MoveTo(*About, 50, 12);
  EXPECT_TRUE(About->PressedLook()) << "pressed again inside";
  EXPECT_EQ(PixelOf(*About, 50, 2), Rgb(DarkenColor(kButtonFace, 10)));
  MoveTo(*About, 50, -3);
  Release(*About, 50, -3);
  EXPECT_FALSE(About->Tracking());
  EXPECT_FALSE(About->PressedLook());
  EXPECT_TRUE(Clicks.empty());

  Press(*About, 50, 12);
  Release(*About, 50, 12);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn2"}));
}

TEST_F(ButtonInput, ReleaseOnTheRightOrBottomEdgeCountsAsOutside) {
  Press(*About, 50, 12);
  Release(*About, About->Width(), 12);
  Press(*About, 50, 12);
  Release(*About, 50, About->Height());
  EXPECT_TRUE(Clicks.empty());
  Press(*About, 50, 12);
  Release(*About, About->Width() - 1, About->Height() - 1);
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(ButtonInput, RightButtonNeitherPressesNorClicks) {
  Backend->PressMouse(ibRight, ScreenOf(*About, 50, 12));
  Settle();
  EXPECT_FALSE(About->PressedLook());
  Backend->ReleaseMouse(ibRight, ScreenOf(*About, 50, 12));
  Settle();
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(ButtonInput, DoubleClickGivesTwoClicks) {
  const TPoint p = ScreenOf(*About, 50, 12);
  Backend->PressMouse(ibLeft, p);
  Backend->ReleaseMouse(ibLeft, p);
  Backend->DoubleClickMouse(ibLeft, p);
  Backend->ReleaseMouse(ibLeft, p);
  Settle();
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn2", "WkBitBtn2"}));
}

TEST_F(ButtonInput, SpacePressesOnKeyDownAndClicksOnKeyUp) {
  Backend->PressKey(vkSpace);
  Settle();
  EXPECT_TRUE(Close->PressedLook());
  EXPECT_EQ(PixelOf(*Close, 50, 2), Rgb(DarkenColor(kButtonFace, 10)));
  EXPECT_TRUE(Clicks.empty());
  Backend->ReleaseKey(vkSpace);
  Settle();
  EXPECT_FALSE(Close->PressedLook());
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn1"}));

  Clicks.clear();
  Backend->SetModifiers(imAlt);
  Backend->PressKey(vkSpace);
  Settle();
  Backend->SetModifiers(0);
  EXPECT_FALSE(Close->PressedLook()) << "Alt+Space does not press";
  Backend->ReleaseKey(vkSpace);
  Settle();
  EXPECT_EQ(Clicks.size(), 1u) << "a Space seen once before still clicks on release";
}

TEST_F(ButtonInput, EnterClicksTheFocusedButtonEvenWhenNotDefault) {
  ASSERT_FALSE(Close->Default());
  Key(vkReturn);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn1"}));
  Key(vkTab);
  Key(vkReturn);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn1", "WkBitBtn2"}));
  EXPECT_FALSE(Close->ActiveDefault());
  EXPECT_TRUE(About->ActiveDefault());
}

TEST_F(ButtonInput, WithAnotherKindFocusedEnterClicksTheDefaultButton) {
  auto* other = new TOtherControl(Form);
  other->SetBounds(10, 50, 30, 20);
  other->SetParent(Form);
  About->SetDefault(true);
  EXPECT_FALSE(About->ActiveDefault()) << "the focused Close answers Enter";
  other->SetFocus();
  Settle();
  EXPECT_TRUE(About->ActiveDefault());
  EXPECT_FALSE(Close->ActiveDefault());
  EXPECT_EQ(PixelOf(*About, 50, 2), Rgb(HslToRgb(HueOfColor(kButtonHighlight), 220, 220)))
      << "the default button shows the focus rings";
  Key(vkReturn);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn2"}));
  for (uint32_t modifier : {imShift, imCtrl, imAlt}) Key(vkReturn, modifier);
  EXPECT_EQ(Clicks.size(), 1u) << "not with Shift, Ctrl or Alt";
}

TEST_F(ButtonInput, EscapeClicksOnlyACancelButton) {
  Key(vkEscape);
  EXPECT_TRUE(Clicks.empty());
  About->SetCancel(true);
  Key(vkEscape);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn2"}));
  EXPECT_FALSE(About->PressedLook()) << "a click without the press";
  for (uint32_t modifier : {imShift, imCtrl, imAlt}) Key(vkEscape, modifier);
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(ButtonInput, AcceleratorClicksWithoutRegardToCase) {
  About->SetCaption("&About");
  Backend->SetModifiers(imAlt);
  Backend->TypeChar('a');
  Backend->SetModifiers(0);
  Settle();
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn2"}));
  Close->SetCaption("Save && &Quit");
  Backend->SetModifiers(imAlt);
  Backend->TypeChar('S');
  Backend->TypeChar('Q');
  Backend->SetModifiers(0);
  Settle();
  EXPECT_EQ(Clicks, (std::vector<std::string>{"WkBitBtn2", "WkBitBtn1"})) << "\"&&\" is no accelerator";
}

TEST_F(ButtonInput, EveryClickSetsTheFormsModalResultZeroIncluded) {
  Form->SetModalResult(mrRetry);
  Key(vkReturn);
  EXPECT_EQ(Form->ModalResult(), mrNone);
  Close->SetModalResult(mrYes);
  Key(vkReturn);
  EXPECT_EQ(Form->ModalResult(), mrYes);
}

TEST_F(ButtonInput, ClickingIsClearedWhenTheHandlerFails) {
  About->FOnClick = [this](TObject*) {
    EXPECT_TRUE(About->Clicking());
    throw EInvalidOperation("handler failed");
  };
  Press(*About, 50, 12);
  Backend->ReleaseMouse(ibLeft, ScreenOf(*About, 50, 12));
  App->WindowSystem().SetExceptionHandler([](std::exception_ptr) {});
  Settle();
  EXPECT_FALSE(About->Clicking());
}

TEST_F(ButtonInput, AButtonThatCannotTakeTheFocusShowsNoPressAndGivesNoClick) {
  // A top-level window that is no form: nothing in it can take the keyboard focus.
  TWinControl top(nullptr);
  top.SetBounds(400, 400, 200, 60);
  top.CreatePlatformWindow(*Backend);
  top.SetVisible(true);
  TWkButton lone(nullptr);
  lone.SetBounds(10, 10, 100, 25);
  lone.SetParent(&top);
  int clicks = 0;
  lone.FOnClick = [&](TObject*) { ++clicks; };
  Settle();
  ASSERT_FALSE(lone.CanFocus());
  Backend->PressMouse(ibLeft, {420, 420});
  Settle();
  EXPECT_FALSE(lone.PressedLook());
  EXPECT_FALSE(lone.Tracking());
  Backend->ReleaseMouse(ibLeft, {420, 420});
  Settle();
  EXPECT_EQ(clicks, 0);
  lone.SetParent(nullptr);
}

TEST_F(ButtonInput, MouseEnterAndLeaveEventsFollowThePointer) {
  std::vector<std::string> log;
  About->FOnMouseEnter = [&](TObject*) { log.push_back("enter"); };
  About->FOnMouseLeave = [&](TObject*) { log.push_back("leave"); };
  MoveTo(*About, 10, 10);
  MoveTo(*About, 20, 10);
  MoveTo(*About, 200, 10);
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
}

// ---- groups ----

TEST_F(ButtonInput, GroupedButtonsLatchExclusively) {
  Close->SetGroupIndex(3);
  About->SetGroupIndex(3);
  Press(*Close, 50, 12);
  Release(*Close, 50, 12);
  EXPECT_TRUE(Close->Down());
  Press(*About, 50, 12);
  Release(*About, 50, 12);
  EXPECT_TRUE(About->Down());
  EXPECT_FALSE(Close->Down()) << "the group's other button comes up";
  Press(*About, 50, 12);
  Release(*About, 50, 12);
  EXPECT_TRUE(About->Down()) << "a latched button stays down unless all up is allowed";
  EXPECT_EQ(Clicks.size(), 3u) << "every press still clicks";

  Close->SetAllowAllUp(true);
  EXPECT_TRUE(About->AllowAllUp()) << "the group takes over the sender's setting";
  Press(*About, 50, 12);
  Release(*About, 50, 12);
  EXPECT_FALSE(About->Down());
}

TEST_F(ButtonInput, DownIsForcedUpOutsideAGroup) {
  About->SetDown(true);
  EXPECT_FALSE(About->Down());
  About->SetGroupIndex(1);
  About->SetDown(true);
  EXPECT_TRUE(About->Down());
  EXPECT_EQ(About->FocusRect(), (TRect{4, 4, 103, 23}));
}

// ---- glyph cells and stock kinds ----

TEST(ButtonGlyph, CellCountFollowsTheLoadedGlyphShape) {
  TWkBitBtn button(nullptr);
  button.SetNumGlyphs(3);
  LoadGlyph(button, GlyphFile(32, 16));
  EXPECT_EQ(button.NumGlyphs(), 2);
  LoadGlyph(button, GlyphFile(16, 16));
  EXPECT_EQ(button.NumGlyphs(), 1);
  button.SetNumGlyphs(3);
  LoadGlyph(button, GlyphFile(80, 16));
  EXPECT_EQ(button.NumGlyphs(), 1) << "five cells are too many: one";
  button.SetNumGlyphs(3);
  LoadGlyph(button, GlyphFile(30, 16));
  EXPECT_EQ(button.NumGlyphs(), 3) << "not a multiple: unchanged";
  EXPECT_FALSE(button.GlyphUserSet()) << "stored data does not go through the writer";
}

TEST(ButtonGlyph, CellCountsOutsideOneToFourAndMarginsBelowMinusOneAreRefused) {
  TWkBitBtn button(nullptr);
  button.SetNumGlyphs(0);
  EXPECT_EQ(button.NumGlyphs(), 1);
  button.SetNumGlyphs(5);
  EXPECT_EQ(button.NumGlyphs(), 1);
  button.SetMargin(-2);
  EXPECT_EQ(button.Margin(), 2);
  button.SetMargin(-1);
  EXPECT_EQ(button.Margin(), -1);
}

TEST(ButtonGlyph, AnInvalidGlyphFileFailsAndAnEmptyOneShowsTheCaptionAlone) {
  TWkBitBtn button(nullptr);
  std::vector<uint8_t> notABitmap = GlyphFile();
  notABitmap[0] = 'X';
  try {
    LoadGlyph(button, notABitmap);
    FAIL() << "no failure";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Bitmap image is not valid");
  }
  button.SetBounds(0, 0, 105, 25);
  LoadGlyph(button, {});
  EXPECT_TRUE(button.Glyph()->Empty());
  EXPECT_EQ(button.GetCaptionRect(), (TRect{5, 5, 100, 20}));
}

TEST(ButtonGlyph, LayoutsPlaceGlyphAndCaption) {
  TWkBitBtn b(nullptr);
  b.SetBounds(0, 0, 105, 60);
  LoadGlyph(b, GlyphFile());
  b.SetLayout(blGlyphRight);
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5, 5, 78, 55}));
  EXPECT_EQ(b.GetGlyphRect(), (TRect{82, 22, 98, 38}));
  b.SetLayout(blGlyphTop);
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5, 27, 100, 55}));
  EXPECT_EQ(b.GetGlyphRect(), (TRect{45, 7, 61, 23}));
  b.SetLayout(blGlyphBottom);
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5, 5, 100, 33}));
  EXPECT_EQ(b.GetGlyphRect(), (TRect{45, 37, 61, 53}));

  // No fixed margin: glyph and caption are centred together on the control's height.
  b.SetMargin(-1);
  const int t = b.CaptionHeight({5, 5, 100, 55});
  const int centred = (60 - (16 + t + 4)) / 2;
  b.SetLayout(blGlyphTop);
  EXPECT_EQ(b.GetGlyphRect().Top, centred);
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5, 5 + 16 + centred, 100, 5 + 16 + centred + t}));
  b.SetLayout(blGlyphBottom);
  EXPECT_EQ(b.GetGlyphRect().Top, 5 + t + centred);
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5, 5 + centred, 100, 5 + centred + t}));
  b.SetLayout(blGlyphLeft);
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5 - 1 + 16 + 4, 5, 100, 55}));
  EXPECT_EQ(b.GetGlyphRect(), (TRect{5, 22, 21, 38}));
  b.SetLayout(blGlyphRight);
  EXPECT_EQ(b.GetGlyphRect(), (TRect{84, 22, 100, 38}));
}

TEST(ButtonGlyph, StockKindSetsEverythingAndReadsBackCustomOnceChanged) {
  TWkBitBtn b(nullptr);
  b.SetKind(bkOK);
  EXPECT_EQ(b.Kind(), bkOK);
  EXPECT_TRUE(b.Default());
  EXPECT_FALSE(b.Cancel());
  EXPECT_EQ(b.ModalResult(), mrOk);
  EXPECT_EQ(b.Caption(), "OK");
  EXPECT_EQ(b.NumGlyphs(), 2);
  EXPECT_EQ(b.Glyph()->Width(), 32);
  EXPECT_EQ(b.Glyph()->Height(), 16);
  EXPECT_EQ(b.Glyph()->PixelFormat(), pf8bit);
  EXPECT_TRUE(KindGlyphCache().Loaded(bkOK));
  EXPECT_FALSE(b.CaptionStored());
  EXPECT_FALSE(b.StoredWhenCustom());
  b.SetModalResult(mrNone);
  EXPECT_EQ(b.Kind(), bkCustom);
  EXPECT_TRUE(b.StoredWhenCustom());

  b.SetKind(bkNo);
  EXPECT_EQ(b.Kind(), bkNo);
  EXPECT_FALSE(b.Default());
  EXPECT_TRUE(b.Cancel());
  EXPECT_EQ(b.Caption(), "&No");
  TBitmap own;
  own.SetSize(16, 16);
  b.SetGlyph(&own);
  EXPECT_TRUE(b.GlyphUserSet());
  EXPECT_EQ(b.Kind(), bkCustom) << "a glyph of the user's own";
  EXPECT_EQ(b.NumGlyphs(), 1);
}

TEST(ButtonGlyph, EveryStockKindHasItsTwoCellGlyphAndCaption) {
  const std::vector<std::pair<TBitBtnKind, std::string>> kinds = {
      {bkOK, "OK"},     {bkCancel, "Cancel"}, {bkHelp, "&Help"},   {bkYes, "&Yes"},     {bkNo, "&No"},
      {bkClose, "&Close"}, {bkAbort, "Abort"}, {bkRetry, "&Retry"}, {bkIgnore, "&Ignore"}, {bkAll, "&All"}};
  const std::vector<int> results = {1, 2, 0, 6, 7, 0, 3, 4, 5, 8};
  for (size_t i = 0; i < kinds.size(); ++i) {
    TWkBitBtn b(nullptr);
    b.SetKind(kinds[i].first);
    EXPECT_EQ(b.Caption(), kinds[i].second);
    EXPECT_EQ(b.ModalResult(), results[i]) << kinds[i].second;
    EXPECT_EQ(b.Kind(), kinds[i].first) << kinds[i].second;
    ASSERT_EQ(b.Glyph()->Width(), 32) << kinds[i].second;
    // The see-through colour is the bottom-left pixel, and both cells have a picture.
    const uint32_t seeThrough = b.Glyph()->PixelRGB(0, 15);
    int enabled = 0, disabled = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        enabled += b.Glyph()->PixelRGB(x, y) != seeThrough;
        disabled += b.Glyph()->PixelRGB(16 + x, y) != seeThrough;
      }
    EXPECT_GT(enabled, 10) << kinds[i].second;
    EXPECT_GT(disabled, enabled) << kinds[i].second << ": silhouette and its light copy";
  }
}

TEST(ButtonGlyph, KindSetWhileLoadingKeepsALoadedCaption) {
  TWkBitBtn b(nullptr);
  b.SetComponentState(csLoading, true);
  b.SetCaption("Fine");
  b.SetKind(bkOK);
  EXPECT_EQ(b.Caption(), "Fine");
  TWkBitBtn empty(nullptr);
  empty.SetComponentState(csLoading, true);
  empty.SetKind(bkCancel);
  EXPECT_EQ(empty.Caption(), "Cancel");
}

TEST(ButtonGlyph, ImageListGlyphsReplaceTheBitmapAndLeaveWithTheirList) {
  TWkBitBtn b(nullptr);
  b.SetBounds(0, 0, 105, 25);
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetWidth(20);
  images->SetHeight(10);
  b.SetImages(images.get());
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5, 5, 100, 20})) << "no image chosen";
  b.SetImageIndex(0);
  EXPECT_EQ(b.GetGlyphSize(), (TSize{20, 10}));
  EXPECT_EQ(b.GetCaptionRect(), (TRect{5 + 2 + 20 + 4, 5, 100, 20}));
  images.reset();
  EXPECT_EQ(b.Images(), nullptr) << "a freed list is forgotten";
}

// ---- scaling and streaming ----

TEST(ButtonGlyph, ScalingRescalesMarginAndSpacingButNotTheNoMarginSetting) {
  TWkBitBtn b(nullptr);
  b.SetBounds(0, 0, 105, 25);
  b.SetSpacing(5);
  b.ScaleBy(3, 2);
  EXPECT_EQ(b.Margin(), 3);
  EXPECT_EQ(b.Spacing(), 8) << "7.5 rounds up";
  b.SetMargin(-1);
  b.ScaleBy(2, 1);
  EXPECT_EQ(b.Margin(), -1);
}

namespace {
class TButtonForm : public TForm {
 public:
  VM_CLASS()
  using TForm::TForm;
};

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string s;
  for (uint8_t b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}
}  // namespace

const TClassInfo& TButtonForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TButtonForm, TForm>("TButtonForm");
  return info;
}

TEST(ButtonStreaming, ReadsTheMainWindowButtonWithItsGlyphAndTheOldFrameFlat) {
  auto backend = CreateHeadlessBackend();
  TApplication app;
  app.Initialize(*backend, "/usr/lib/velmorath/Velmorath.bin");
  RegisterWidgetClasses();
  const std::string text = "object Buttons: TButtonForm\n"
                           "  object WkBitBtn1: TWkBitBtn\n"
                           "    Left = 8\n    Top = 584\n    Width = 105\n"
                           "    Caption = 'Close'\n    Color = 15791348\n"
                           "    HighlightColor = 16026986\n    HotTrack = True\n    HotTrackColor = 3983359\n"
                           "    Glyph.Data = {" + Hex(StoredGlyph(GlyphFile())) + "}\n"
                           "    NumGlyphs = 2\n  end\n"
                           "  object WkBitBtn2: TWkBitBtn\n    FrameFlat = True\n    Kind = bkOK\n  end\n"
                           "end\n";
  TMemoryStream stream;
  TextToBinary(text, stream, "");
  stream.SetPosition(0);
  TButtonForm* form = nullptr;
  app.CreateForm(form);
  TStreamReader reader(stream);
  reader.ReadRootComponent(*form);
  auto* close = dynamic_cast<TWkBitBtn*>(form->FindComponent("WkBitBtn1"));
  auto* ok = dynamic_cast<TWkBitBtn*>(form->FindComponent("WkBitBtn2"));
  ASSERT_NE(close, nullptr);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(close->Height(), 25);
  EXPECT_EQ(close->Glyph()->Width(), 32);
  EXPECT_EQ(close->NumGlyphs(), 2);
  EXPECT_FALSE(close->GlyphUserSet());
  EXPECT_TRUE(close->HotTrack());
  EXPECT_EQ(close->HotTrackColor(), kOrange);
  EXPECT_EQ(close->GetGlyphRect(), (TRect{7, 5, 23, 21}));
  EXPECT_TRUE(ok->HotTrack()) << "FrameFlat turns HotTrack on";
  EXPECT_EQ(ok->Kind(), bkOK);
  EXPECT_EQ(ok->Caption(), "OK");
}
