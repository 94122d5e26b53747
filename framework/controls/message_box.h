#pragma once
// The framework's own message box: a dialog-framed form with an icon, the message text
// and an OK button, centred on the screen. Enter, Escape, Space on the button, a click
// on it and the close box all end it.
#include <string>

#include "framework/controls/application.h"
#include "framework/controls/custom_control.h"
#include "framework/controls/graphic_control.h"
#include "framework/graphics/text_layout.h"

// The 32 x 32 symbol beside the text: for errors a red disc with a white cross.
class TMessageIcon : public TGraphicControl {
 public:
  VM_CLASS()
  TMessageIcon(TComponent* owner, TMessageBoxIcon kind);
  TMessageBoxIcon Kind() const { return FKind; }

 protected:
  void Paint() override;

 private:
  TMessageBoxIcon FKind;
};

// The message, word-wrapped in the form's font; "&" is shown as it is.
class TMessageText : public TGraphicControl {
 public:
  VM_CLASS()
  using TGraphicControl::TGraphicControl;
  static constexpr unsigned kFormat = tfWordBreak | tfNoPrefix;

 protected:
  void Paint() override;
};

// A push button that ends its form with a modal result.
class TMessageButton : public TCustomControl {
 public:
  VM_CLASS()
  TMessageButton(TComponent* owner, TModalResult result);
  TModalResult Result() const { return FResult; }
  bool Pressed() const { return FPressed; }

 protected:
  void Paint() override;
  void Click() override;
  void KeyDown(int& key, TShiftState shift) override;
  void KeyUp(int& key, TShiftState shift) override;
  void DialogKey(TMessage& m) override;
  void FocusGained(TMessage& m) override;
  void FocusLost(TMessage& m) override;

 private:
  TModalResult FResult;
  bool FPressed = false;
};

class TMessageBoxForm : public TCustomForm {
 public:
  VM_CLASS()
  TMessageBoxForm(TComponent* owner, const std::string& text, const std::string& caption, TMessageBoxIcon icon);
  const std::string& Text() const { return FText; }
  TMessageIcon* Icon() const { return FIcon; }
  TMessageText* TextControl() const { return FTextControl; }
  TMessageButton* Button() const { return FButton; }

 private:
  std::string FText;
  TMessageIcon* FIcon = nullptr;
  TMessageText* FTextControl = nullptr;
  TMessageButton* FButton = nullptr;
};
