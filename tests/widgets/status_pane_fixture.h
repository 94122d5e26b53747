#pragma once
// Status panes on a headless window shaped like the main window, with the user's time
// formats pinned to a named locale for the length of a test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "framework/controls/win_control.h"
#include "framework/controls/window_system.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "platform/headless/headless_backend.h"
#include "widgets/status_panes.h"

// Sets an environment variable for one scope and puts the old value back.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    if (value != nullptr) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~TScopedEnv() {
    if (FOld) setenv(FName, FOld->c_str(), 1);
    else unsetenv(FName);
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

// The user's time locale for one scope: LC_TIME set, LC_ALL out of the way.
class TScopedTimeLocale {
 public:
  explicit TScopedTimeLocale(const char* locale)
      : FAll(std::make_unique<TScopedEnv>("LC_ALL", nullptr)),
        FTime(std::make_unique<TScopedEnv>("LC_TIME", locale)) {
    ReloadUserFormatSettings();
  }
  ~TScopedTimeLocale() {
    FTime.reset();
    FAll.reset();
    ReloadUserFormatSettings();
  }
  TScopedTimeLocale(const TScopedTimeLocale&) = delete;
  TScopedTimeLocale& operator=(const TScopedTimeLocale&) = delete;

 private:
  std::unique_ptr<TScopedEnv> FAll;
  std::unique_ptr<TScopedEnv> FTime;
};

// Counts the frame and text drawings of a clock.
class TCountingClock : public TWkClockStatus {
 public:
  using TWkClockStatus::TWkClockStatus;
  int Frames = 0;
  int Texts = 0;
  using TWkClockStatus::DrawPaneText;

 protected:
  void DrawPaneFrame() override {
    ++Frames;
    TWkClockStatus::DrawPaneFrame();
  }
  void DrawPaneText(const std::string& text) override {
    ++Texts;
    TWkClockStatus::DrawPaneText(text);
  }
};

class StatusPaneTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kSkyBlue = 0xF0CAA6;
  static constexpr uint32_t kGradientActiveCaption = 0xFF953D;  // system colour 27, as 0xBBGGRR

  explicit StatusPaneTest(const THeadlessScreen& screen = {}) : Backend(CreateHeadlessBackend(screen)) {}

  void SetUp() override {
    Form->SetBounds(140, 96, 959, 614);
    Form->SetColor(clSkyBlue);
    Form->CreatePlatformWindow(*Backend);
  }

  // The clock pane of the main window, at its place with its settings.
  template <class T = TCountingClock>
  T* AddMainWindowClock() {
    auto* clock = new T(Form.get());
    clock->SetBounds(808, 584, 145, 25);
    clock->SetFillColor(clGradientActiveCaption);
    TFont font;
    font.SetName("MS Sans Serif");
    font.SetHeight(-13);
    font.SetStyle(TFontStyles{fsBold});
    clock->SetFont(&font);
    clock->SetParent(Form.get());
    return clock;
  }
  // Paints and presents everything, leaving nothing invalid.
  void Settle() {
    Form->SetVisible(true);
    System.ProcessMessages();
  }
  THeadlessWindow& Window() { return static_cast<THeadlessWindow&>(*Form->PlatformWindow()); }
  // What the screen shows at pane point (x, y).
  uint32_t Shown(const TControl& pane, int x, int y) {
    return Window().Presented().PixelRGB(pane.Left() + x, pane.Top() + y);
  }
  // The pixels of `rect` (pane coordinates) as the screen shows them.
  std::unique_ptr<TBitmap> ShownPart(const TControl& pane, const TRect& rect);
  // `text` drawn alone in the way a pane's text area should look: `rect` filled with
  // `fill`, the text at the reference point (x, y) with the alignment.
  static std::unique_ptr<TBitmap> ExpectedText(const TWkCustomStatusPane& pane, const std::string& text,
                                               TColor textColor, int x, int y);
  // The y of a pane's text for its font: centred on the height of "Pp".
  static int TextTop(const TWkCustomStatusPane& pane);

  TScopedTimeLocale Locale{"C"};
  std::unique_ptr<THeadlessBackend> Backend;
  TWindowSystem System{*Backend};
  std::unique_ptr<TWinControl> Form = std::make_unique<TWinControl>(nullptr);
};

// Pixels that differ between two images of the same size.
int DifferingPixels(const TBitmap& a, const TBitmap& b);
