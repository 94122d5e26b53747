// The display on a headless window: scrolling by the virtual clock, painting straight from
// the tick, cycles and their event, the setters that start and stop it, hidden windows,
// hover events, and loading from a text form with obsolete properties.
#include <gtest/gtest.h>

#include <set>

#include "formstream/stream_reader.h"
#include "formstream/stream_writer.h"
#include "formstream/text_form.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/custom_form.h"
#include "framework/controls/timer.h"
#include "framework/controls/window_system.h"
#include "framework/core/stream.h"
#include "platform/headless/headless_backend.h"
#include "tests/widgets/led_helpers.h"
#include "widgets/widget_classes.h"

namespace {
const std::string kBannerText = "Velmorath v1.4 by Dunvel";  // 24 characters
constexpr int kTick = 100;
constexpr uint32_t kWindowColour = 0xF0CAA6;  // clSkyBlue

class TFilledWindow : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    Canvas().Brush().SetColor(TColor(kWindowColour));
    Canvas().FillRect(ClientRect());
  }
};

class TFilledGraphic : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;

 protected:
  void Paint() override {
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect(ClientRect());
  }
};

// The main window's banner at (8, 8) of a 961 x 65 window.
struct LedOnWindow : ::testing::Test {
  std::unique_ptr<THeadlessBackend> Backend = CreateHeadlessBackend();
  TWindowSystem System{*Backend};
  std::unique_ptr<TFilledWindow> Top = std::make_unique<TFilledWindow>(nullptr);
  TWkLEDDisplay* Banner = new TWkLEDDisplay(Top.get());
  int Completions = 0;
  std::vector<int> PositionsAtCompletion;

  void SetUp() override {
    Top->SetBounds(100, 50, 961, 65);
    Top->CreatePlatformWindow(*Backend);
    Banner->SetName("WkLEDDisplay1");
    Banner->SetBounds(8, 8, 945, 49);
    Banner->SetCaption(kBannerText);
    Banner->SetParent(Top.get());
    Banner->FOnScrollComplete = [this](TObject* sender) {
      ASSERT_EQ(sender, Banner);
      ++Completions;
      PositionsAtCompletion.push_back(Banner->ScrollPosition());
    };
    System.ProcessMessages();
  }
  THeadlessWindow& Platform() { return static_cast<THeadlessWindow&>(*Top->PlatformWindow()); }
  // The dots of the banner's cell at client x `cellLeft`, as the screen shows them.
  std::vector<std::string> ShownCell(int cellLeft) {
    return ReadCell(Platform().Presented(), {9, 9}, Banner->Layout(943, 47), cellLeft);
  }
  // The first dot column of the cell at client x `cellLeft`, top row first.
  std::string ShownColumn(int cellLeft) {
    std::string column;
    for (const std::string& row : ShownCell(cellLeft)) column += row[0];
    return column;
  }
  const std::vector<std::string> V = {"X...X.", "X...X.", "X...X.", ".X.X..", ".X.X..", "..X...", "..X..."};
  const std::vector<std::string> Dark = std::vector<std::string>(7, "......");
};
}  // namespace

TEST_F(LedOnWindow, StaticTextStandsAtTheLeftEdge) {
  EXPECT_EQ(ShownCell(0), V);
  EXPECT_EQ(Platform().Presented().PixelRGB(8, 8), kShadow);
  EXPECT_EQ(Platform().Presented().PixelRGB(952, 56), kHighlight);
  EXPECT_EQ(Platform().Presented().PixelRGB(7, 8), kWindowColour);
  System.RunFor(10 * kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 0) << "not scrolling: no timer";
}

// Colours show at once; the scroll switches only mark the display for the next paint.
TEST_F(LedOnWindow, ColourWritersRepaintAtOnceAndScrollWritersPaintLater) {
  Banner->SetSegOnColor(clRed);
  EXPECT_EQ(Platform().Presented().PixelRGB(10, 12), 0x0000FFu) << "lit dots are red before the loop runs";
  Banner->SetSegOnColor(TColor(kLit));
  System.RunFor(157 * kTick);
  Banner->SetScrolling(true);
  Banner->SetScrollType(stLeftToRight);
  Banner->SetScrollType(stRightToLeft);
  EXPECT_EQ(ShownCell(0), V) << "still the static picture";
  Banner->SetCaption("Hi");
  EXPECT_EQ(ShownCell(0), Dark) << "a new caption repaints at once, entering at the right";
}

TEST_F(LedOnWindow, EachTickMovesTheTextOnePitchAndPaintsStraightAway) {
  Banner->SetScrolling(true);
  System.ProcessMessages();
  EXPECT_EQ(Banner->Layout(943, 47).TextLeft, 942) << "the text enters at the last whole pitch";
  EXPECT_EQ(ShownColumn(936), ".......");
  const int windowPaints = Top->Paints;
  const int presents = Platform().PresentCount();
  System.RunFor(kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 6);
  EXPECT_EQ(ShownColumn(936), "XXX....") << "V's first column has come in";
  EXPECT_EQ(Platform().PresentCount(), presents + 1);
  EXPECT_EQ(Platform().LastPresentRect(), (TRect{8, 8, 953, 57}));
  System.RunFor(kTick - 1);
  EXPECT_EQ(Banner->ScrollPosition(), 6) << "one step per 100 ms, not sooner";
  System.RunFor(1 + 155 * kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 6 * 157);
  EXPECT_EQ(ShownCell(0), V) << "after 157 steps V stands at x = 0";
  EXPECT_EQ(Top->Paints, windowPaints) << "the ticks never invalidate the window";
}

// A scroll step draws only the dots that changed; every frame must still be the one a
// fresh paint gives: dots too small for a gap (the banner), with gaps, both directions,
// through the end of a cycle, and cells an override draws its own way.
namespace {
class TBarredLED : public TWkLEDDisplay {
 public:
  using TWkLEDDisplay::TWkLEDDisplay;

 protected:
  void DrawCharCell(TCanvas& canvas, const TRect& cell, uint8_t code) override {
    TWkLEDDisplay::DrawCharCell(canvas, cell, code);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({cell.Left, cell.Top + 3, cell.Left + 2 + code % 7, cell.Top + 5});
  }
};

// The client area as the screen shows it against the display's own paint into a bitmap.
testing::AssertionResult ShowsAFreshPaint(THeadlessWindow& window, TWkLEDDisplay& display, int tick) {
  const auto fresh = PaintDisplay(display);
  const TRect client = display.ClientRect();
  for (int y = client.Top; y < client.Bottom; ++y)
    for (int x = client.Left; x < client.Right; ++x)
      if (window.Presented().PixelRGB(display.Left() + x, display.Top() + y) != fresh->PixelRGB(x, y))
        return testing::AssertionFailure() << "tick " << tick << ": pixel (" << x << ", " << y << ") is " << std::hex
                                           << window.Presented().PixelRGB(display.Left() + x, display.Top() + y)
                                           << ", not " << fresh->PixelRGB(x, y);
  return testing::AssertionSuccess();
}
}  // namespace

TEST_F(LedOnWindow, EveryScrollStepShowsWhatAFreshPaintShows) {
  TWkLEDDisplay* barred = new TBarredLED(Top.get());
  barred->SetBounds(8, 60, 400, 90);  // dots of 11 pixels with a gap of 1
  barred->SetCaption("Ab~\x7F");
  barred->SetParent(Top.get());
  Top->SetBounds(100, 50, 961, 160);
  TWkLEDDisplay* gapped = new TWkLEDDisplay(Top.get());
  gapped->SetBounds(420, 60, 500, 90);
  gapped->SetCaption("Gap 1");
  gapped->SetScrollType(stLeftToRight);
  gapped->SetParent(Top.get());
  ASSERT_EQ(gapped->DotSpacing(), 1);
  ASSERT_EQ(Banner->DotSpacing(), 0);
  // The step that ends a cycle shows the last position and starts the next one unseen.
  std::set<TObject*> ended;
  for (TWkLEDDisplay* display : {barred, gapped}) display->FOnScrollComplete = [&](TObject* s) { ended.insert(s); };
  for (TWkLEDDisplay* display : {Banner, barred, gapped}) display->SetScrolling(true);
  System.ProcessMessages();
  int checked = 0;
  for (int tick = 1; tick <= 330; ++tick) {
    ended.clear();
    const int bannerCycles = Completions;
    System.RunFor(kTick);
    if (Completions != bannerCycles) ended.insert(Banner);
    for (TWkLEDDisplay* display : {Banner, barred, gapped}) {
      if (ended.contains(display)) continue;
      ASSERT_TRUE(ShowsAFreshPaint(Platform(), *display, tick)) << display->Caption();
      ++checked;
    }
  }
  EXPECT_EQ(Completions, 1) << "the banner's cycle ended on the way";
  EXPECT_GE(checked, 3 * 330 - 12);
}

// The gaps between dots are the background: a step must give them its colour, whatever the
// colour's channels are.
TEST_F(LedOnWindow, ScrollStepsKeepAColouredBackgroundBetweenTheDots) {
  Top->SetBounds(100, 50, 961, 250);
  Banner->SetBounds(8, 60, 700, 170);
  Banner->SetBackColor(TColor(0x123456));
  Banner->SetSegOffColor(TColor(0x0A2A4A));
  ASSERT_GE(Banner->DotSpacing(), 2) << "a gap wider than the pen's ring";
  Banner->SetScrolling(true);
  System.ProcessMessages();
  for (int tick = 1; tick <= 40; ++tick) {
    System.RunFor(kTick);
    ASSERT_TRUE(ShowsAFreshPaint(Platform(), *Banner, tick));
  }
}

TEST_F(LedOnWindow, BannerCycleIsThirtySixPerCharacterPlusTheWidth) {
  Banner->SetScrolling(true);
  ASSERT_EQ(Banner->ScrollSpan(), 36 * 24 + 945);
  System.RunFor(301 * kTick);  // 1806 < 1809
  EXPECT_EQ(Completions, 0);
  EXPECT_EQ(Banner->ScrollPosition(), 1806);
  System.RunFor(kTick);
  EXPECT_EQ(Completions, 1);
  EXPECT_EQ(PositionsAtCompletion, std::vector<int>{0});
  EXPECT_EQ(ShownCell(0), Dark) << "the last frame of the cycle shows no text";
  System.RunFor(kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 6) << "the next cycle starts one pitch in";
  System.RunFor(301 * kTick);
  EXPECT_EQ(Completions, 2);
}

TEST_F(LedOnWindow, EmptyCaptionStillCompletesACycleEveryWidthOverPitchTicks) {
  Banner->SetCaption("");
  Banner->SetScrolling(true);
  System.RunFor(157 * kTick);
  EXPECT_EQ(Completions, 0);
  System.RunFor(kTick);
  EXPECT_EQ(Completions, 1) << "945 / 6 rounded up is 158";
}

TEST_F(LedOnWindow, ScrollingOffPutsTheTextBackAndOnStartsANewCycle) {
  Banner->SetScrolling(true);
  System.RunFor(150 * kTick);
  ASSERT_EQ(ShownCell(42), V);
  ASSERT_EQ(ShownCell(0), Dark);
  Banner->SetScrolling(false);
  EXPECT_FALSE(Banner->ScrollTimer().Enabled());
  EXPECT_EQ(Banner->ScrollPosition(), 0);
  System.ProcessMessages();
  EXPECT_EQ(ShownCell(0), V);
  System.RunFor(10 * kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 0);
  Banner->SetScrolling(true);
  System.RunFor(kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 6);
}

TEST_F(LedOnWindow, ScrollTypeNoneStopsTheTimerAndOthersStartItEvenWhenNotScrolling) {
  Banner->SetScrolling(true);
  System.RunFor(5 * kTick);
  Banner->SetScrollType(stNone);
  EXPECT_FALSE(Banner->ScrollTimer().Enabled());
  System.RunFor(5 * kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 30) << "stopped where it was";
  EXPECT_EQ(ShownCell(0), V) << "the text stands at x = 0";

  Banner->SetScrolling(false);
  Banner->SetScrollType(stLeftToRight);
  EXPECT_TRUE(Banner->ScrollTimer().Enabled());
  System.RunFor(302 * kTick);
  EXPECT_EQ(Completions, 1) << "the position runs and the cycle completes";
  System.RunFor(40 * kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 240);
  EXPECT_EQ(ShownCell(0), V) << "while the text stays at x = 0";
}

TEST_F(LedOnWindow, ScrollDelayIsTheTickPeriod) {
  Banner->SetScrolling(true);
  Banner->SetScrollDelay(3 * kTick);
  EXPECT_EQ(Banner->ScrollTimer().Interval(), 3 * kTick);
  System.RunFor(9 * kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 18) << "three ticks of one pitch";
}

TEST_F(LedOnWindow, ShorterCaptionWhileScrollingKeepsThePositionAndCanEndTheCycle) {
  Banner->SetScrolling(true);
  System.RunFor(200 * kTick);
  Banner->SetCaption("Hi");
  EXPECT_EQ(Banner->ScrollPosition(), 1200);
  EXPECT_EQ(Banner->ScrollSpan(), 72 + 945);
  EXPECT_EQ(Completions, 0);
  System.RunFor(kTick);
  EXPECT_EQ(Completions, 1);
  EXPECT_EQ(Banner->ScrollPosition(), 0);
}

TEST_F(LedOnWindow, LeftToRightStartsWithTheTextWhollyBeyondTheLeftEdge) {
  Banner->SetScrollType(stLeftToRight);
  Banner->SetScrolling(true);
  System.ProcessMessages();
  EXPECT_EQ(Banner->Layout(943, 47).TextLeft, -36 * 24);
  for (int cell = 0; cell + 36 <= 943; cell += 36) ASSERT_EQ(ShownCell(cell), Dark) << cell;
  System.RunFor(6 * kTick);
  EXPECT_EQ(ShownCell(0), (std::vector<std::string>{".XX...", "..X...", "..X...", "..X...", "..X...", "..X...",
                                                     ".XXX.."}))
      << "the l of Dunvel comes in first";
  System.RunFor(138 * kTick);
  EXPECT_EQ(ShownCell(0), V) << "after 144 steps the text starts at x = 0";
}

TEST_F(LedOnWindow, HiddenWindowKeepsScrollingButPaintsNothing) {
  Banner->SetScrolling(true);
  Top->SetVisible(false);
  System.ProcessMessages();
  const int presents = Platform().PresentCount();
  System.RunFor(157 * kTick);
  EXPECT_EQ(Banner->ScrollPosition(), 6 * 157);
  EXPECT_EQ(Platform().PresentCount(), presents);
  Top->SetVisible(true);
  System.ProcessMessages();
  EXPECT_EQ(ShownCell(0), V) << "shown again at the position it reached";
}

TEST_F(LedOnWindow, TickLeavesAWindowlessControlAboveItAlone) {
  auto* above = new TFilledGraphic(Top.get());
  above->SetBounds(100, 20, 40, 20);
  above->SetParent(Top.get());
  Banner->SetScrolling(true);
  System.ProcessMessages();
  System.RunFor(160 * kTick);
  EXPECT_EQ(Platform().Presented().PixelRGB(110, 30), 0x0000FFu);
  EXPECT_EQ(Platform().Presented().PixelRGB(139, 39), 0x0000FFu);
}

TEST_F(LedOnWindow, TickLeavesAChildWindowOverItAlone) {
  auto* child = new TFilledWindow(Top.get());
  child->SetBounds(300, 20, 40, 20);
  child->SetParent(Top.get());
  Banner->SetScrolling(true);
  System.ProcessMessages();
  ASSERT_EQ(Platform().Presented().PixelRGB(310, 30), kWindowColour);
  System.RunFor(160 * kTick);
  EXPECT_EQ(Platform().Presented().PixelRGB(310, 30), kWindowColour);
  EXPECT_EQ(Platform().Presented().PixelRGB(339, 39), kWindowColour);
}

TEST_F(LedOnWindow, BorderWritersRepaintTheFrameAtOnce) {
  auto* border = new TWkBorder(Top.get());
  border->SetBounds(953, 0, 8, 8);  // beside the banner
  border->SetParent(Top.get());
  System.ProcessMessages();
  ASSERT_EQ(Platform().Presented().PixelRGB(953, 0), kShadow) << "groove: shadow outside at the top-left";
  border->SetBorderOuter(fsPopup);
  EXPECT_EQ(Platform().Presented().PixelRGB(953, 0), kHighlight) << "before the loop runs";
  EXPECT_EQ(Platform().Presented().PixelRGB(954, 1), kWindowColour) << "the groove's inner line is gone";
  border->SetFlatColorAdjustment(10);
  border->SetBorderOuter(fsFlat);
  border->SetFlatColorAdjustment(0);
  EXPECT_EQ(Platform().Presented().PixelRGB(953, 0), uint32_t(ShiftLightness(clBtnShadow, 10)) & 0xFFFFFFu)
      << "the adjustment only invalidates: the screen shows the frame painted with 10";
  System.ProcessMessages();
  EXPECT_EQ(Platform().Presented().PixelRGB(953, 0), kShadow);
}

TEST_F(LedOnWindow, PointerEnteringAndLeavingFiresTheHoverEvents) {
  std::vector<std::string> log;
  Banner->FOnMouseEnter = [&](TObject* sender) { log.push_back(sender == Banner ? "enter" : "?"); };
  Banner->FOnMouseLeave = [&](TObject* sender) { log.push_back(sender == Banner ? "leave" : "?"); };
  Backend->MoveMouse(Top->ClientToScreen({100, 30}));
  System.ProcessMessages();
  Backend->MoveMouse(Top->ClientToScreen({200, 31}));
  System.ProcessMessages();
  Backend->MoveMouse(Top->ClientToScreen({200, 61}));
  System.ProcessMessages();
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(LedOnWindow, DestroyingAScrollingDisplayStopsItsTimer) {
  Banner->SetScrolling(true);
  System.RunFor(3 * kTick);
  delete Banner;
  uint64_t due = 0;
  EXPECT_FALSE(System.NextTimerDue(due));
  System.RunFor(10 * kTick);
}

namespace {
// A form with one display whose stored frame comes after its height, between two obsolete
// properties from an older version of the display.
constexpr const char* kStoredForm = R"(object Form: TForm
  Left = 0
  Top = 0
  Width = 961
  Height = 65
  object WkLEDDisplay1: TWkLEDDisplay
    Left = 8
    Top = 8
    Width = 945
    Height = 38
    SegSpacing = 2
    BorderOuter = fsNone
    Caption = 'Velmorath'
    DisplayCells = 24
    SegOnColor = clRed
    Scrolling = True
  end
end
)";

TWkLEDDisplay* LoadDisplay(TForm& form, std::string_view text) {
  RegisterWidgetClasses();
  TMemoryStream stream;
  TextToBinary(text, stream, "");
  stream.SetPosition(0);
  TStreamReader reader(stream);
  reader.ReadRootComponent(form);
  return dynamic_cast<TWkLEDDisplay*>(form.FindComponent("WkLEDDisplay1"));
}

std::string WriteText(TForm& form) {
  TMemoryStream stream;
  {
    TStreamWriter writer(stream);
    writer.WriteRootComponent(form);
  }
  stream.SetPosition(0);
  return BinaryToText(stream);
}
}  // namespace

TEST_F(LedOnWindow, LoadedWithObsoletePropertiesTheDisplayReadsOnAndRederivesItsDots) {
  TForm form(nullptr);
  TWkLEDDisplay* display = LoadDisplay(form, kStoredForm);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->Caption(), "Velmorath");
  EXPECT_EQ(display->SegOnColor(), clRed) << "properties after the obsolete ones are read";
  EXPECT_TRUE(display->Scrolling());
  EXPECT_TRUE(display->ScrollTimer().Enabled());
  EXPECT_EQ(display->BorderOuter(), fsNone);
  EXPECT_EQ(display->DotPixels(), 5) << "38 / 7.6 for the final frame, not 36 / 7.6 for the one read first";
  EXPECT_EQ(display->ScrollSpan(), 30 * 9 + 945);

  const std::string written = WriteText(form);
  EXPECT_EQ(written.find("SegSpacing"), std::string::npos) << written;
  EXPECT_EQ(written.find("DisplayCells"), std::string::npos) << written;
  EXPECT_NE(written.find("BorderOuter = fsNone"), std::string::npos) << written;
  EXPECT_EQ(written.find("BevelWidth"), std::string::npos) << "base defaults are not written";

  TForm again(nullptr);
  TWkLEDDisplay* reread = LoadDisplay(again, written);
  ASSERT_NE(reread, nullptr);
  EXPECT_EQ(reread->DotPixels(), 5);
  EXPECT_EQ(reread->SegOnColor(), clRed);
}

TEST_F(LedOnWindow, DefaultFrameOfTheDisplayIsNotWritten) {
  TForm form(nullptr);
  auto* display = new TWkLEDDisplay(&form);
  display->SetName("WkLEDDisplay1");
  display->SetParent(&form);
  EXPECT_EQ(WriteText(form).find("BorderOuter"), std::string::npos);
  display->SetBorderOuter(fsGroove);
  EXPECT_NE(WriteText(form).find("BorderOuter = fsGroove"), std::string::npos);
}
