#pragma once
// The main window's page control on a headless screen, loaded from a form description,
// with radio-like test controls on its pages, and the numbers the strip must come to.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/custom_form.h"
#include "framework/controls/keys.h"
#include "framework/controls/window_system.h"
#include "platform/headless/headless_backend.h"
#include "widgets/page_control.h"

// Focus rules of the kit's radio buttons: a control that receives the focus other than by a
// mouse press becomes checked (unchecking its checked siblings); a release inside checks it
// too; it is a tab stop only while checked. Painted lime when checked, red when not, with a
// black frame while focused.
class TFocusRadio : public TCustomControl {
 public:
  VM_CLASS()
  static constexpr TColor kCheckedColor = clLime;
  static constexpr TColor kUncheckedColor = clRed;
  explicit TFocusRadio(TComponent* owner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  int Clicks = 0;

 protected:
  void FocusGained(TMessage&) override;
  void FocusLost(TMessage&) override { Invalidate(); }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;
  void Paint() override;
  void EraseBackground(TMessage& m) override { m.Result = 1; }

 private:
  bool FChecked = false;
  bool FPressing = false;
};

// A plain tab stop standing for the window's Close button, first in tab order.
class TStopButton : public TCustomControl {
 public:
  VM_CLASS()
  explicit TStopButton(TComponent* owner);
};

// The caption lengths of the strip, measured as the layout measures them.
struct TStripNumbers {
  int L = 0;   // line height of the tab font
  int F = 0;   // tab thickness
  int S = 0;   // slant, F div 2
  int A = 0;   // scroller button size
  std::vector<int> Start, End;  // strip x range of each tab
  int FirstVisible = 0;
};

class PageControlTest : public ::testing::Test {
 public:
  static const std::vector<std::string>& Captions();

 protected:

  PageControlTest();
  ~PageControlTest() override;
  // Loads the main window's page control (or the description given) into a shown form.
  // `form`, when given, is the form to load into (the fixture owns it).
  void Load(const std::string& pageControlOverrides = "", TForm* form = nullptr);
  // The numbers the main window's strip must show for the text engine's font metrics.
  TStripNumbers Expected() const;

  TWkTabSheet* Page(int index) const { return Control->Pages(index); }
  TFocusRadio* Radio(const std::string& name) const;
  TPoint ScreenOf(TPoint controlPoint) const { return Control->ClientToScreen(controlPoint); }
  // A point well inside tab `index`: in the middle of its straight part.
  TPoint InsideTab(int index) const;
  void Click(TPoint controlPoint);
  void Key(int key, uint32_t modifiers = 0);
  void Settle() { App->ProcessMessages(); }
  void Tick(uint64_t ms);
  uint32_t ShownAt(TPoint formPoint) const;
  std::string FocusName() const;

  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
  TForm* Form = nullptr;
  TWkPageControl* Control = nullptr;
};
