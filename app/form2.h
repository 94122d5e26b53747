#pragma once
// The About window: the program's banner and its author's contact line on two LED
// displays. It has no code; the main window's About button shows it, its close box
// hides it.
#include "framework/controls/custom_form.h"

class TWkLEDDisplay;

class TForm2 : public TForm {
 public:
  VM_CLASS()
  explicit TForm2(TComponent* owner);
  ~TForm2() override;

  TWkLEDDisplay* WkLEDDisplay1 = nullptr;
  TWkLEDDisplay* WkLEDDisplay2 = nullptr;
};

// The About window for the program's whole run (empty until it is created).
extern TForm2* Form2;
