#include "app/form2.h"

#include "formstream/loader.h"
#include "framework/typeinfo/class_info.h"
#include "widgets/led_display.h"

TForm2* Form2 = nullptr;

const TClassInfo& TForm2::ClassInfo() {
  static const TClassInfo info = DefineClass<TForm2, TForm>("TForm2")
                                     .Field("WkLEDDisplay1", &TForm2::WkLEDDisplay1)
                                     .Field("WkLEDDisplay2", &TForm2::WkLEDDisplay2);
  return info;
}

TForm2::TForm2(TComponent* owner) : TForm(owner) { LoadComponentResource(*this, TForm::ClassInfo()); }

TForm2::~TForm2() {
  if (Form2 == this) Form2 = nullptr;
}
