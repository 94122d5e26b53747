#pragma once
// A suite of desktop tests on one shared virtual display: the display is made once for the
// suite, and each test is skipped with the reason when the display or the desktop tools
// (xdotool, ImageMagick's import) are missing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "desktop_session.h"

class TDesktopSuite : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Display = new TVirtualDisplay; }
  static void TearDownTestSuite() {
    delete Display;
    Display = nullptr;
  }

  // Derived set-ups call this first and return when the test was skipped.
  void SetUp() override {
    if (!Display->Failure().empty()) GTEST_SKIP() << "no virtual display: " << Display->Failure();
    if (!ProgramAvailable("xdotool") || !ProgramAvailable("import"))
      GTEST_SKIP() << "xdotool and ImageMagick's import are needed to drive the desktop";
    ShotPath = WorkPath(TestName() + ".png");
  }

  // Starts `program` on the display, its output in the work folder under the test's name.
  std::unique_ptr<TChildProcess> StartOnDisplay(const std::string& program, const std::string& outPath) {
    return std::make_unique<TChildProcess>(std::vector<std::string>{program},
                                           std::vector<std::string>{"DISPLAY=" + Display->Name(), kNoSessionBus},
                                           outPath, WorkPath(TestName() + ".err"));
  }

  inline static TVirtualDisplay* Display = nullptr;
  std::string ShotPath;
};
