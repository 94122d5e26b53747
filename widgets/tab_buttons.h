#pragma once
// The tab strip's two small buttons: the two-arrow scroller shown when the tabs do not fit,
// and the optional button that closes the active tab. The tab control creates, places and
// owns them.
#include "framework/controls/custom_control.h"

// The buttons share their mouse handling: a press on a part captures the mouse, the part
// shows pressed while the pointer stays inside it, and a release inside clicks it.
class TWkTabButtonBase : public TCustomControl {
 public:
  explicit TWkTabButtonBase(TComponent* owner);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor value);
  int PressedPart() const { return FPressedPart; }
  bool PressedInside() const { return FPressedInside; }
  // Parts are numbered from 1; a press lands on the first enabled part under the pointer.
  virtual int PartCount() const = 0;
  virtual TRect PartRect(int part) const = 0;
  virtual bool PartEnabled(int) const { return true; }
  int PartAt(TPoint p) const;

 protected:
  virtual void PartClicked(int part) = 0;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void EraseBackground(TMessage& m) override { m.Result = 1; }
  void Dispatch(TMessage& m) override;

 private:
  void SetPressed(int part, bool inside);
  TColor FFrameColor = clBtnShadow;
  int FPressedPart = 0;
  bool FPressedInside = false;
};

// The two-arrow button that scrolls the strip.
class TWkTabScroller : public TWkTabButtonBase {
 public:
  VM_CLASS()
  static constexpr int partUpRight = 1;
  static constexpr int partDownLeft = 2;
  explicit TWkTabScroller(TComponent* owner);
  // Vertical: upper and lower halves with up and down arrows; else right and left.
  bool Vertical() const { return FVertical; }
  void SetVertical(bool value);
  bool UpRightEnabled() const { return FUpRightEnabled; }
  bool DownLeftEnabled() const { return FDownLeftEnabled; }
  void SetEnabledHalves(bool upRight, bool downLeft);
  int PartCount() const override { return 2; }
  // A half of the client area plus the middle line the two halves share.
  TRect PartRect(int part) const override;
  bool PartEnabled(int part) const override;

  TNotifyEvent FOnUpRightClick;
  TNotifyEvent FOnDownLeftClick;

 protected:
  void PartClicked(int part) override;
  void Paint() override;

 private:
  bool FVertical = true;
  bool FUpRightEnabled = true;
  bool FDownLeftEnabled = true;
};

// The button that closes the active tab; its click is FOnClick.
class TWkTabCloseButton : public TWkTabButtonBase {
 public:
  VM_CLASS()
  explicit TWkTabCloseButton(TComponent* owner);
  // Drawn inactive when no tab is selected.
  bool Active() const { return FActive; }
  void SetActive(bool value);
  int PartCount() const override { return 1; }
  TRect PartRect(int part) const override;

 protected:
  void PartClicked(int part) override;
  void Paint() override;

 private:
  bool FActive = true;
};
