#include "tests/framework/forms/forms_helpers.h"

#include <cctype>

#include "formstream/loader.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TFormsTestButton::ClassInfo() {
  static const TClassInfo info = DefineClass<TFormsTestButton, TCustomControl>("TFormsTestButton");
  return info;
}

TFormsTestButton::TFormsTestButton(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }

void TFormsTestButton::Click() {
  ++Clicks;
  Record("click");
}

void TFormsTestButton::DialogKey(TMessage& m) {
  const bool plain = (m.LParam & (imShift | imCtrl | imAlt)) == 0;
  const int key = int(m.WParam);
  if (plain && CanFocus() && ((key == vkReturn && (Default || Focused())) || (key == vkEscape && Cancel))) {
    Click();
    m.Result = 1;
  }
}

void TFormsTestButton::DialogChar(TMessage& m) {
  const size_t amp = Caption().find('&');
  if (amp == std::string::npos || amp + 1 >= Caption().size() || !CanFocus()) return;
  if (std::tolower(uint8_t(Caption()[amp + 1])) != std::tolower(int(m.WParam))) return;
  SetFocus();
  m.Result = 1;
}

const TClassInfo& TFormsTestGraphic::ClassInfo() {
  static const TClassInfo info = DefineClass<TFormsTestGraphic, TGraphicControl>("TFormsTestGraphic");
  return info;
}

const TClassInfo& TScaledForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TScaledForm, TForm>("TScaledForm")
                                     .Field("Banner", &TScaledForm::Banner)
                                     .Field("Panel", &TScaledForm::Panel)
                                     .Field("Inner", &TScaledForm::Inner)
                                     .Field("Dot", &TScaledForm::Dot);
  return info;
}

TScaledForm::TScaledForm(TComponent* owner) : TForm(owner) { LoadComponentResource(*this, TForm::ClassInfo()); }

const TClassInfo& TMissingForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TMissingForm, TForm>("TMissingForm");
  return info;
}

TMissingForm::TMissingForm(TComponent* owner) : TForm(owner) { LoadComponentResource(*this, TForm::ClassInfo()); }
