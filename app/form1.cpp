#include "app/form1.h"

#include "app/form2.h"
#include "formstream/loader.h"
#include "framework/typeinfo/class_info.h"
#include "pictures/image.h"
#include "pictures/loupe.h"
#include "widgets/led_display.h"
#include "widgets/page_control.h"
#include "widgets/push_buttons.h"
#include "widgets/radio_buttons.h"
#include "widgets/status_panes.h"

TForm1* Form1 = nullptr;

// Published fields in declaration order, then the published methods.
#define VM_FORM1_FIELDS(X)                                                                                         \
  X(WkLEDDisplay1) X(WkBitBtn1) X(WkBitBtn2) X(Image1) X(Image2) X(Image3) X(Image4) X(Image5) X(Image6) X(Image7) \
  X(Image8) X(Image9) X(Image10) X(Image11) X(Image12) X(Image13) X(WkPageControl1) X(WkTabSheet1)                \
  X(WkRadioButton1) X(WkRadioButton2) X(WkTabSheet2) X(WkRadioButton3) X(WkRadioButton4) X(TabSheet1)            \
  X(WkRadioButton5) X(WkRadioButton6) X(TabSheet2) X(WkRadioButton7) X(WkRadioButton8) X(TabSheet3)              \
  X(WkRadioButton9) X(WkRadioButton10) X(WkRadioButton11) X(TabSheet4) X(WkRadioButton12) X(WkRadioButton13)    \
  X(TabSheet5) X(TabSheet6) X(WkRadioButton14) X(WkRadioButton15) X(Image14) X(Image15) X(WkRadioButton16)       \
  X(Image16) X(WkClockStatus1)
#define VM_FORM1_METHODS(X)                                                                                   \
  X(WkBitBtn1Click) X(WkBitBtn2Click) X(WkRadioButton1Click) X(WkRadioButton2Click) X(WkRadioButton3Click)     \
  X(WkRadioButton4Click) X(WkRadioButton5Click) X(WkRadioButton6Click) X(WkRadioButton7Click)                  \
  X(WkRadioButton8Click) X(WkRadioButton9Click) X(WkRadioButton10Click) X(WkRadioButton11Click)                \
  X(WkRadioButton12Click) X(WkRadioButton13Click) X(WkRadioButton14Click) X(WkRadioButton15Click)              \
  X(WkRadioButton16Click)

const TClassInfo& TForm1::ClassInfo() {
  static const TClassInfo info = [] {
    auto builder = DefineClass<TForm1, TForm>("TForm1");
#define VM_PUBLISH_FIELD(name) builder.Field(#name, &TForm1::name);
    VM_FORM1_FIELDS(VM_PUBLISH_FIELD)
#undef VM_PUBLISH_FIELD
#define VM_PUBLISH_METHOD(name) builder.Method(#name, &TForm1::name);
    VM_FORM1_METHODS(VM_PUBLISH_METHOD)
#undef VM_PUBLISH_METHOD
    return TClassInfo(builder);
  }();
  return info;
}

// The loupe is the program's own addition, not part of the description: it takes the
// photographs' mouse events and sees the keys before the controls, and the banner stays
// clear of it.
TForm1::TForm1(TComponent* owner) : TForm(owner) {
  LoadComponentResource(*this, TForm::ClassInfo());
  FLoupe = std::make_unique<TLoupe>(*this);
  FLoupe->KeepClearOf(WkLEDDisplay1);
  for (TImage* image : TestPointImages()) FLoupe->Inspect(*image);
  SetKeyPreview(true);
}

// The global reference never outlives its window; the loupe goes before the photographs.
TForm1::~TForm1() {
  FLoupe.reset();
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::KeyDown(int& key, TShiftState shift) {
  if (FLoupe != nullptr && FLoupe->KeyDown(key, shift)) key = 0;
  else TForm::KeyDown(key, shift);
}

void TForm1::KeyUp(int& key, TShiftState shift) {
  if (FLoupe != nullptr) FLoupe->KeyUp(key);
  TForm::KeyUp(key, shift);
}

void TForm1::Dispatch(TMessage& m) {
  if (m.Msg == msgActivate && m.WParam == 0 && FLoupe != nullptr) FLoupe->Dismiss();
  TForm::Dispatch(m);
}

// The global reference, not the sender's window: the two are the same.
void TForm1::WkBitBtn1Click(TObject*) { Form1->Close(); }

// Showing an already visible window changes nothing: it is not brought to the front.
void TForm1::WkBitBtn2Click(TObject*) { Form2->SetVisible(true); }

void TForm1::SelectTestPoint(int n) {
  // The button's state is read again before each step, as the handlers always have.
  if (TestPointButton(n)->Checked()) TestPointImage(n)->SetVisible(true);
  for (int other = 1; other <= kTestPointCount; ++other)
    if (other != n && TestPointButton(n)->Checked()) TestPointImage(other)->SetVisible(false);
  if (FLoupe != nullptr) FLoupe->ImagesChanged();
}

std::array<TWkRadioButton*, kTestPointCount> TForm1::TestPointButtons() const {
  return {WkRadioButton1,  WkRadioButton2,  WkRadioButton3,  WkRadioButton4, WkRadioButton5,  WkRadioButton6,
          WkRadioButton7,  WkRadioButton8,  WkRadioButton9,  WkRadioButton10, WkRadioButton11, WkRadioButton12,
          WkRadioButton13, WkRadioButton14, WkRadioButton15, WkRadioButton16};
}

std::array<TImage*, kTestPointCount> TForm1::TestPointImages() const {
  return {Image1, Image2, Image3, Image4, Image5, Image6, Image7, Image8,
          Image9, Image10, Image11, Image12, Image13, Image14, Image15, Image16};
}
