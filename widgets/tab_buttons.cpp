#include "widgets/tab_buttons.h"

#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"
#include "widgets/frame_drawing.h"
#include "widgets/property_write.h"

namespace {
constexpr int kCloseGlyphInset = 4;  // the cross keeps this far from the button's edges
constexpr int kPressedShift = 1;     // a pressed glyph moves right and down by this
}  // namespace

// ---- class infos ----

const TClassInfo& TWkTabScroller::ClassInfo() {
  static const TClassInfo info = DefineClass<TWkTabScroller, TCustomControl>("TWkTabScroller");
  return info;
}

const TClassInfo& TWkTabCloseButton::ClassInfo() {
  static const TClassInfo info = DefineClass<TWkTabCloseButton, TCustomControl>("TWkTabCloseButton");
  return info;
}

// ---- construction ----

TWkTabButtonBase::TWkTabButtonBase(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = TControlStyle{csCaptureMouse, csOpaque};
}

TWkTabScroller::TWkTabScroller(TComponent* owner) : TWkTabButtonBase(owner) {}

TWkTabCloseButton::TWkTabCloseButton(TComponent* owner) : TWkTabButtonBase(owner) {}

// ---- writers ----

void TWkTabButtonBase::SetFrameColor(TColor value) { WriteProperty(*this, FFrameColor, value, weInvalidate); }

void TWkTabScroller::SetVertical(bool value) { WriteProperty(*this, FVertical, value, weInvalidate); }

void TWkTabScroller::SetEnabledHalves(bool upRight, bool downLeft) {
  WriteProperty(*this, FUpRightEnabled, upRight, weInvalidate);
  WriteProperty(*this, FDownLeftEnabled, downLeft, weInvalidate);
}

void TWkTabCloseButton::SetActive(bool value) { WriteProperty(*this, FActive, value, weInvalidate); }

// ---- parts ----

int TWkTabButtonBase::PartAt(TPoint p) const {
  for (int part = 1; part <= PartCount(); ++part)
    if (PartEnabled(part) && PartRect(part).Contains(p)) return part;
  return 0;
}

// The halves share their middle line.
TRect TWkTabScroller::PartRect(int part) const {
  const int w = Width(), h = Height();
  if (FVertical) return part == partUpRight ? TRect{0, 0, w, h / 2 + 1} : TRect{0, h / 2, w, h};
  return part == partDownLeft ? TRect{0, 0, w / 2 + 1, h} : TRect{w / 2, 0, w, h};
}

bool TWkTabScroller::PartEnabled(int part) const { return part == partUpRight ? FUpRightEnabled : FDownLeftEnabled; }

TRect TWkTabCloseButton::PartRect(int) const { return ClientRect(); }

// ---- paint ----

// Without visual themes: each half filled, its arrow shifted when pressed and greyed when
// disabled, inside a one-pixel frame.
void TWkTabScroller::Paint() {
  TCanvas& canvas = Canvas();
  for (int part : {partUpRight, partDownLeft}) {
    const TRect r = PartRect(part);
    const bool pressed = PressedPart() == part && PressedInside();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(r);
    const int direction = FVertical ? (part == partUpRight ? adUp : adDown) : (part == partUpRight ? adRight : adLeft);
    DrawArrowGlyph(canvas, pressed ? r.Offset(kPressedShift, kPressedShift) : r, alClassic, direction, pressed,
                   PartEnabled(part));
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(FrameColor());
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(r);
  }
}

// Without visual themes: a cross, shifted when pressed and greyed while no tab is selected,
// inside a one-pixel frame.
void TWkTabCloseButton::Paint() {
  TCanvas& canvas = Canvas();
  const TRect r = ClientRect();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(r);
  const int shift = PressedPart() != 0 && PressedInside() ? kPressedShift : 0;
  const TRect g = r.Inflate(-kCloseGlyphInset, -kCloseGlyphInset).Offset(shift, shift);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetColor(FActive ? clBtnText : clGrayText);
  for (int d = 0; d < 2; ++d) {  // two pixels wide
    canvas.MoveTo(g.Left + d, g.Top);
    canvas.LineTo(g.Right + d, g.Bottom);
    canvas.MoveTo(g.Right - 1 + d, g.Top);
    canvas.LineTo(g.Left - 1 + d, g.Bottom);
  }
  canvas.Brush().SetStyle(bsClear);
  canvas.Pen().SetColor(FrameColor());
  canvas.Rectangle(r);
}

// ---- input ----

void TWkTabButtonBase::SetPressed(int part, bool inside) {
  FPressedPart = part;
  FPressedInside = inside;
  Invalidate();
}

void TWkTabButtonBase::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  const int part = PartAt({x, y});
  if (part != 0) SetPressed(part, true);
}

void TWkTabButtonBase::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FPressedPart == 0) return;
  const bool inside = PartRect(FPressedPart).Contains({x, y});
  if (inside != FPressedInside) SetPressed(FPressedPart, inside);
}

void TWkTabButtonBase::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || FPressedPart == 0) return;
  const int part = FPressedPart;
  const bool inside = PartRect(part).Contains({x, y});
  SetPressed(0, false);
  if (inside) PartClicked(part);
}

void TWkTabButtonBase::Dispatch(TMessage& m) {
  if (m.Msg == msgCancelMode && FPressedPart != 0) SetPressed(0, false);
  TCustomControl::Dispatch(m);
}

void TWkTabScroller::PartClicked(int part) {
  if (part == partUpRight) FOnUpRightClick(this);
  else FOnDownLeftClick(this);
}

void TWkTabCloseButton::PartClicked(int) { FOnClick(this); }
