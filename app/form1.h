#pragma once
// The main window: the banner, the side-tab catalogue of test points, the picture area
// and the bottom row. Its content comes from its form description; its only code is the
// handlers the description binds.
#include <array>
#include <memory>

#include "framework/controls/custom_form.h"

class TImage;
class TLoupe;
class TWkBitBtn;
class TWkClockStatus;
class TWkLEDDisplay;
class TWkPageControl;
class TWkRadioButton;
class TWkTabSheet;

inline constexpr int kTestPointCount = 16;

class TForm1 : public TForm {
 public:
  VM_CLASS()
  explicit TForm1(TComponent* owner);
  ~TForm1() override;

  // Published fields, in the order the description declares them.
  TWkLEDDisplay* WkLEDDisplay1 = nullptr;
  TWkBitBtn* WkBitBtn1 = nullptr;
  TWkBitBtn* WkBitBtn2 = nullptr;
  TImage *Image1 = nullptr, *Image2 = nullptr, *Image3 = nullptr, *Image4 = nullptr, *Image5 = nullptr,
         *Image6 = nullptr, *Image7 = nullptr, *Image8 = nullptr, *Image9 = nullptr, *Image10 = nullptr,
         *Image11 = nullptr, *Image12 = nullptr, *Image13 = nullptr;
  TWkPageControl* WkPageControl1 = nullptr;
  TWkTabSheet* WkTabSheet1 = nullptr;
  TWkRadioButton *WkRadioButton1 = nullptr, *WkRadioButton2 = nullptr;
  TWkTabSheet* WkTabSheet2 = nullptr;
  TWkRadioButton *WkRadioButton3 = nullptr, *WkRadioButton4 = nullptr;
  TWkTabSheet* TabSheet1 = nullptr;
  TWkRadioButton *WkRadioButton5 = nullptr, *WkRadioButton6 = nullptr;
  TWkTabSheet* TabSheet2 = nullptr;
  TWkRadioButton *WkRadioButton7 = nullptr, *WkRadioButton8 = nullptr;
  TWkTabSheet* TabSheet3 = nullptr;
  TWkRadioButton *WkRadioButton9 = nullptr, *WkRadioButton10 = nullptr, *WkRadioButton11 = nullptr;
  TWkTabSheet* TabSheet4 = nullptr;
  TWkRadioButton *WkRadioButton12 = nullptr, *WkRadioButton13 = nullptr;
  TWkTabSheet* TabSheet5 = nullptr;
  TWkTabSheet* TabSheet6 = nullptr;
  TWkRadioButton *WkRadioButton14 = nullptr, *WkRadioButton15 = nullptr;
  TImage *Image14 = nullptr, *Image15 = nullptr;
  TWkRadioButton* WkRadioButton16 = nullptr;
  TImage* Image16 = nullptr;
  TWkClockStatus* WkClockStatus1 = nullptr;

  // Published methods.
  void WkBitBtn1Click(TObject* sender);
  void WkBitBtn2Click(TObject* sender);
#define VM_TEST_POINT_HANDLER(n) \
  void WkRadioButton##n##Click(TObject*) { SelectTestPoint(n); }
  VM_TEST_POINT_HANDLER(1) VM_TEST_POINT_HANDLER(2) VM_TEST_POINT_HANDLER(3) VM_TEST_POINT_HANDLER(4)
  VM_TEST_POINT_HANDLER(5) VM_TEST_POINT_HANDLER(6) VM_TEST_POINT_HANDLER(7) VM_TEST_POINT_HANDLER(8)
  VM_TEST_POINT_HANDLER(9) VM_TEST_POINT_HANDLER(10) VM_TEST_POINT_HANDLER(11) VM_TEST_POINT_HANDLER(12)
  VM_TEST_POINT_HANDLER(13) VM_TEST_POINT_HANDLER(14) VM_TEST_POINT_HANDLER(15) VM_TEST_POINT_HANDLER(16)
#undef VM_TEST_POINT_HANDLER

  // Test point n (1 to 16): its radio button and the image view showing its photograph.
  TWkRadioButton* TestPointButton(int n) const { return TestPointButtons()[size_t(n - 1)]; }
  TImage* TestPointImage(int n) const { return TestPointImages()[size_t(n - 1)]; }
  // The lens over the photographs (the right button or Z shows it).
  TLoupe* Loupe() const { return FLoupe.get(); }

 protected:
  // The form sees keys first (KeyPreview): Z and Escape belong to the loupe.
  void KeyDown(int& key, TShiftState shift) override;
  void KeyUp(int& key, TShiftState shift) override;
  // A window losing the keyboard may never see Z released: the loupe goes with it.
  void Dispatch(TMessage& m) override;

 private:
  // When button n is checked, its photograph becomes the only one visible.
  void SelectTestPoint(int n);
  std::array<TWkRadioButton*, kTestPointCount> TestPointButtons() const;
  std::array<TImage*, kTestPointCount> TestPointImages() const;

  std::unique_ptr<TLoupe> FLoupe;
};

// The main window for the program's whole run (empty until it is created).
extern TForm1* Form1;
