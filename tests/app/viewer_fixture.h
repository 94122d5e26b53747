#pragma once
// The program started as main() starts it, on a headless screen, and driven as a user
// would: clicks at the controls' places, keys, the windows' close boxes. Time is the
// backend's virtual clock.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "framework/controls/application.h"
#include "framework/controls/control.h"
#include "framework/core/color.h"
#include "platform/headless/headless_backend.h"
#include "widgets/push_buttons.h"
#include "widgets/radio_buttons.h"

inline constexpr uint32_t kSkyBlueRGB = 0xF0CAA6;  // the main window's colour, 0x00BBGGRR
inline constexpr const char* kProgramPath = "/usr/bin/velmorath";

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Shows the main window as the message loop does before its first message.
  void ShowMainWindow();
  void Settle() { App->ProcessMessages(); }
  // Runs the real message loop; false when it had not ended after `virtualMs` of the clock.
  bool RunUntilTheLoopEnds(int virtualMs = 10000);

  // Input.
  void ClickAt(const TControl& control, TPoint client);
  void ClickControl(const TControl& control);
  void Key(int key, uint32_t modifiers = 0);
  // Clicks a tab of the page control (visible-tab index), scrolling the strip to it first.
  void ClickTab(int tabIndex);
  void ClickTestPoint(int n) { ClickControl(*Form1->TestPointButton(n)); }
  void CloseBox(TCustomForm& form);

  // What shows.
  bool Checked(int n) const;
  std::string VisibleImages() const;  // "Image3 Image7", or "" when none
  uint32_t MainPixel(int x, int y) const;  // 0x00BBGGRR of the main window's client pixel
  THeadlessWindow& WindowOf(const TCustomForm& form) const;
  void SaveMainWindow(const std::string& name) const;

  THeadlessScreen StartScreen;  // the screen SetUp starts the program on
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App;
};
