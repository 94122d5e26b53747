#pragma once
// Forms on a headless screen: a focusable button that logs what happens to it, a
// window-less control that logs the focus-changed broadcast, and an application fixture.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/graphic_control.h"
#include "framework/controls/keys.h"
#include "framework/controls/screen.h"
#include "framework/controls/window_system.h"
#include "platform/headless/headless_backend.h"

using Strings = std::vector<std::string>;

// A windowed tab stop. Its accelerator is the character after "&" in its caption; Enter
// clicks it when focused or Default, Escape when Cancel.
class TFormsTestButton : public TCustomControl {
 public:
  VM_CLASS()
  explicit TFormsTestButton(TComponent* owner);
  Strings* Log = nullptr;
  bool Default = false;
  bool Cancel = false;
  bool WantsArrows = false;
  int Clicks = 0;
  TWinControl* LastFocusChange = nullptr;

  bool WantSpecialKey(int key, TShiftState) const override {
    return WantsArrows && key >= vkLeft && key <= vkDown;
  }

 protected:
  void Click() override;
  void DoEnter() override { Record("enter"); }
  void DoExit() override { Record("exit"); }
  void FocusGained(TMessage&) override { Record("setfocus"); }
  void FocusLost(TMessage&) override { Record("killfocus"); }
  void KeyDown(int& key, TShiftState shift) override {
    TCustomControl::KeyDown(key, shift);
    Record("key " + std::to_string(key));
  }
  void KeyPress(char& c) override {
    TCustomControl::KeyPress(c);
    Record(std::string("char ") + c);
  }
  void DialogKey(TMessage& m) override;
  void DialogChar(TMessage& m) override;
  void FocusChanged(TMessage& m) override { LastFocusChange = reinterpret_cast<TWinControl*>(m.LParam); }

 private:
  void Record(const std::string& what) {
    if (Log != nullptr) Log->push_back(Name() + " " + what);
  }
};

// A window-less control; it notes every focus change the form broadcasts.
class TFormsTestGraphic : public TGraphicControl {
 public:
  VM_CLASS()
  using TGraphicControl::TGraphicControl;
  int FocusChanges = 0;

 protected:
  void FocusChanged(TMessage&) override { ++FocusChanges; }
};

// The form whose description is embedded as TSCALEDFORM.
class TScaledForm : public TForm {
 public:
  VM_CLASS()
  explicit TScaledForm(TComponent* owner);
  TFormsTestGraphic* Banner = nullptr;
  TFormsTestButton* Panel = nullptr;
  TFormsTestButton* Inner = nullptr;
  TFormsTestGraphic* Dot = nullptr;
};

// A form class with no description of its own.
class TMissingForm : public TForm {
 public:
  VM_CLASS()
  explicit TMissingForm(TComponent* owner);
};

class FormsTest : public ::testing::Test {
 protected:
  explicit FormsTest(THeadlessScreen screen = {}) : Backend(CreateHeadlessBackend(screen)) {
    App->Initialize(*Backend, "/usr/lib/velmorath/Velmorath.bin");
  }
  std::unique_ptr<THeadlessBackend> Backend;
  std::unique_ptr<TApplication> App = std::make_unique<TApplication>();
  Strings Log;

  TFormsTestButton* AddButton(TWinControl* parent, const char* name, const char* caption, TRect bounds) {
    auto* b = new TFormsTestButton(GetParentForm(parent));
    b->SetName(name);
    b->SetCaption(caption);
    b->SetBoundsRect(bounds);
    b->Log = &Log;
    b->SetParent(parent);
    return b;
  }
  void Key(int key, uint32_t modifiers = 0) {
    Backend->SetModifiers(modifiers);
    Backend->PressKey(key);
    Backend->ReleaseKey(key);
    Backend->SetModifiers(0);
    App->ProcessMessages();
  }
  void Char(char c, uint32_t modifiers = 0) {
    Backend->SetModifiers(modifiers);
    Backend->TypeChar(c);
    Backend->SetModifiers(0);
    App->ProcessMessages();
  }
  static std::string NameOf(const TComponent* c) { return c != nullptr ? c->Name() : "(none)"; }
};
