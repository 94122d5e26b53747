#include "framework/controls/control.h"

#include <algorithm>

#include "framework/controls/win_control.h"
#include "framework/controls/window_system.h"
#include "framework/core/filer.h"
#include "framework/graphics/font.h"
#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")
VM_ENUM_INFO(TAnchorKind, "akLeft", "akTop", "akRight", "akBottom")
VM_ENUM_INFO(TMouseButton, "mbLeft", "mbRight", "mbMiddle")
VM_ENUM_INFO(TShiftStateFlag, "ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble")
VM_ENUM_INFO(TControlStyleFlag, "csAcceptsControls", "csCaptureMouse", "csClickEvents", "csFramed", "csSetCaption",
             "csOpaque", "csDoubleClicks", "csFixedWidth", "csFixedHeight", "csNoDesignVisible", "csReplicatable",
             "csNoStdEvents", "csDisplayDragImage", "csReflector", "csActionClient", "csMenuEvents")
VM_ENUM_INFO(TControlStateFlag, "csLButtonDown", "csClicked", "csPalette", "csReadingState", "csAlignmentNeeded",
             "csFocusing", "csCreating", "csPaintCopy", "csCustomPaint", "csDestroyingHandle", "csDocking")

int MulDiv(int v, int m, int d) {
  if (d == 0) return -1;
  int64_t p = int64_t(v) * m;
  int64_t q = (std::abs(p) * 2 + std::abs(int64_t(d))) / (2 * std::abs(int64_t(d)));
  // Saturated: a crafted scale must not wrap a size round to the other sign.
  return int(std::clamp<int64_t>(((p < 0) != (d < 0)) ? -q : q, INT32_MIN, INT32_MAX));
}

const TClassInfo& TControl::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TControl, TComponent>("TControl")
          .Property("Left", &TControl::Left, &TControl::SetLeft, Default(0))
          .Property("Top", &TControl::Top, &TControl::SetTop, Default(0))
          .Property("Width", &TControl::Width, &TControl::SetWidth, NoDefault())
          .Property("Height", &TControl::Height, &TControl::SetHeight, NoDefault())
          .Property("Align", &TControl::Align, &TControl::SetAlign, Default(alNone))
          .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors,
                    Default(TAnchors{akLeft, akTop}.Bits()))
          .Property("Caption", &TControl::Caption, &TControl::SetCaption)
          .Property("Color", &TControl::Color, &TControl::SetColor, &TControl::ColorStored)
          .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, Default(1))
          .Property("Font", &TControl::Font, &TControl::SetFont, &TControl::FontStored)
          .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, Default(1))
          .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled, Default(1))
          .Property("Visible", &TControl::Visible, &TControl::SetVisible, Default(1))
          .Property("Hint", &TControl::Hint, &TControl::SetHint)
          .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, &TControl::ShowHintStored)
          .Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, Default(1))
          .Property("Cursor", &TControl::Cursor, &TControl::SetCursor, Default(crDefault))
          .Event("OnClick", &TControl::FOnClick)
          .Event("OnDblClick", &TControl::FOnDblClick)
          .Event("OnMouseDown", &TControl::FOnMouseDown)
          .Event("OnMouseMove", &TControl::FOnMouseMove)
          .Event("OnMouseUp", &TControl::FOnMouseUp);
  return info;
}

TShiftState KeysToShiftState(intptr_t keys) {
  TShiftState s;
  if (keys & imShift) s.Include(ssShift);
  if (keys & imCtrl) s.Include(ssCtrl);
  if (keys & imAlt) s.Include(ssAlt);
  if (keys & imLeft) s.Include(ssLeft);
  if (keys & imRight) s.Include(ssRight);
  if (keys & imMiddle) s.Include(ssMiddle);
  return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
  FFont->OnChange = [this](TObject*) { FontObjectChanged(); };
}

TControl::~TControl() {
  Destroying();
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->ControlDestroyed(this);
  SetParent(nullptr);
}

bool TControl::ColorStored() const { return !FParentColor; }
bool TControl::FontStored() const { return !FParentFont; }
bool TControl::ShowHintStored() const { return !FParentShowHint; }

// ---- tree and geometry ----

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation(rs::SControlParentSelf);
  if (FParent != nullptr) FParent->RemoveControl(this);
  if (parent != nullptr) {
    parent->InsertControl(this);
    RememberAnchorBase();
    if (FParentColor) TakeParentColor();
    if (FParentFont) TakeParentFont();
    if (FParentShowHint) FShowHint = parent->ShowHint();
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  // Far beyond any screen, yet small enough that sums of nested positions and sizes cannot
  // overflow: a form description may carry any 32-bit value.
  constexpr int kMaxCoordinate = 1 << 24;
  left = std::clamp(left, -kMaxCoordinate, kMaxCoordinate);
  top = std::clamp(top, -kMaxCoordinate, kMaxCoordinate);
  width = std::clamp(width, -kMaxCoordinate, kMaxCoordinate);
  height = std::clamp(height, -kMaxCoordinate, kMaxCoordinate);
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  const bool showing = IsShowing();
  if (showing) InvalidateControl(true, false);
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (showing) InvalidateControl(true, false);
  NoteLayoutChange();
  if (!FAnchoring) RememberAnchorBase();
  BoundsChanged();
  RequestAlign();
}

void TControl::RememberAnchorBase() {
  FAnchorOrigin = BoundsRect();
  if (FParent != nullptr) FAnchorParentSize = {FParent->ClientWidth(), FParent->ClientHeight()};
}

TPoint TControl::ClientOrigin() const {
  if (FParent == nullptr) return {FLeft, FTop};
  return FParent->ClientOrigin() + TPoint{FLeft, FTop};
}

void TControl::ScaleBy(int m, int d) { ChangeScale(m, d); }

void TControl::ChangeScale(int m, int d) {
  if (m == d || d == 0) return;
  int x = MulDiv(FLeft, m, d), y = MulDiv(FTop, m, d);
  int w = MulDiv(FLeft + FWidth, m, d) - x, h = MulDiv(FTop + FHeight, m, d) - y;
  SetBounds(x, y, w, h);
  if (!FParentFont) FFont->SetHeight(MulDiv(FFont->Height(), m, d));
}

void TControl::SetAlign(TAlign value) {
  if (value == FAlign) return;
  FAlign = value;
  RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
  FAnchors = value;
  RememberAnchorBase();
}

void TControl::RequestAlign() {
  if (FParent != nullptr) FParent->AlignControl(this);
}

void TControl::NoteLayoutChange() {
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->LayoutChanged();
}

bool TControl::IsShowing() const {
  for (const TControl* c = this; c != nullptr; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  if (!value) CancelCaptureInside();
  if (FVisible) InvalidateControl(true, false);
  FVisible = value;
  NoteLayoutChange();
  Perform(ntVisibleChanged, value ? 1 : 0);
  if (FVisible) InvalidateControl(true, (FControlStyle.Contains(csOpaque)));
  RequestAlign();
}

void TControl::SetCursor(TCursor value) {
  if (value == FCursor) return;
  FCursor = value;
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->CursorChanged();
}

void TControl::CancelCaptureInside() {
  TWindowSystem* ws = TWindowSystem::Current();
  if (ws == nullptr || ws->CaptureControl() == nullptr) return;
  for (const TControl* c = ws->CaptureControl(); c != nullptr; c = c->FParent)
    if (c == this) {
      ws->CancelCapture();
      return;
    }
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  if (!value) CancelCaptureInside();
  FEnabled = value;
  NoteLayoutChange();  // what the pointer can reach changed
  Perform(ntEnabledChanged);
}

// ---- text and looks ----

void TControl::SetText(const std::string& value) {
  if (value == FText) return;
  FText = value;
  Perform(ntTextChanged);
}

void TControl::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  FParentColor = false;
  Perform(ntColorChanged);
}

void TControl::SetParentColor(bool value) {
  if (value == FParentColor) return;
  FParentColor = value;
  if (value) TakeParentColor();
}

void TControl::TakeParentColor() {
  if (FParent == nullptr) return;
  if (FColor != FParent->Color()) {
    FColor = FParent->Color();
    Perform(ntColorChanged);
  }
  FParentColor = true;
}

void TControl::SetFont(const TFont* value) { FFont->CopyFrom(value); }

void TControl::FontObjectChanged() {
  if (FAdoptingParentFont) return;
  FParentFont = false;
  Perform(ntFontChanged);
}

void TControl::SetParentFont(bool value) {
  if (value == FParentFont) return;
  FParentFont = value;
  if (value) TakeParentFont();
}

void TControl::TakeParentFont() {
  if (FParent == nullptr) return;
  FAdoptingParentFont = true;
  try {
    FFont->CopyFrom(FParent->Font());
  } catch (...) {
    FAdoptingParentFont = false;
    throw;
  }
  FAdoptingParentFont = false;
  FParentFont = true;
  Perform(ntFontChanged);
}

void TControl::SetShowHint(bool value) {
  if (value == FShowHint && !FParentShowHint) return;
  FShowHint = value;
  FParentShowHint = false;
  Perform(ntShowHintChanged);
}

void TControl::SetParentShowHint(bool value) {
  if (value == FParentShowHint) return;
  FParentShowHint = value;
  if (value && FParent != nullptr) Perform(ntParentShowHintChanged);
}

void TControl::ColorChanged(TMessage&) { Invalidate(); }
void TControl::FontChanged(TMessage&) { Invalidate(); }
void TControl::ParentColorChanged(TMessage&) {
  if (FParentColor) TakeParentColor();
}
void TControl::ParentFontChanged(TMessage&) {
  if (FParentFont) TakeParentFont();
}
void TControl::ParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent != nullptr && FShowHint != FParent->ShowHint()) {
    FShowHint = FParent->ShowHint();
    Perform(ntShowHintChanged);
  }
}

// ---- painting ----

// A window's move, resize, appearance or disappearance changes what shows of its
// siblings and of every window inside it, so those repaint with the parent.
void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
  if (FParent == nullptr || !isVisible || !FParent->IsShowing()) return;
  if (dynamic_cast<TWinControl*>(this) != nullptr) FParent->InvalidateWithChildren(BoundsRect(), !isOpaque);
  else FParent->InvalidateRect(BoundsRect(), !isOpaque);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::InvalidateRect(const TRect& rect, bool erase) {
  if (FParent == nullptr || !FVisible || !FParent->IsShowing()) return;
  // The whole extent, not ClientRect(): a control may keep its frame outside its client area.
  const TRect part = IntersectRect(rect, TRect{0, 0, FWidth, FHeight});
  if (part.IsEmpty()) return;
  FParent->InvalidateRect(part.Offset(FLeft, FTop), erase && !FControlStyle.Contains(csOpaque));
}

void TControl::Update() {
  if (FParent != nullptr) FParent->Update();
}

void TControl::Repaint() { Repaint(true); }

void TControl::Repaint(bool erase) {
  if (FControlStyle.Contains(csOpaque) && FParent != nullptr && dynamic_cast<TWinControl*>(this) == nullptr) {
    FParent->PaintControlNow(this);
    return;
  }
  InvalidateRect(TRect{0, 0, FWidth, FHeight}, erase);
  Update();
}

void TControl::BringToFront() {
  if (FParent != nullptr) FParent->SetChildZOrder(this, true);
}

void TControl::SendToBack() {
  if (FParent != nullptr) FParent->SetChildZOrder(this, false);
}

// ---- messages ----

intptr_t TControl::Perform(uint32_t msg, intptr_t wParam, intptr_t lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

bool TControl::PostMessage(uint32_t msg, intptr_t wParam, intptr_t lParam) {
  TWindowSystem* ws = TWindowSystem::Current();
  if (ws == nullptr) return false;
  ws->PostMessage(this, msg, wParam, lParam);
  return true;
}

void TControl::WndProc(TMessage& m) {
  // The mouse is held while a button stays down on a capturing control.
  if (m.Msg == msgLButtonDown || m.Msg == msgRButtonDown || m.Msg == msgMButtonDown ||
      m.Msg == msgLButtonDblClk || m.Msg == msgRButtonDblClk || m.Msg == msgMButtonDblClk) {
    if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  } else if (m.Msg == msgLButtonUp || m.Msg == msgRButtonUp || m.Msg == msgMButtonUp) {
    if ((m.WParam & (imLeft | imRight | imMiddle)) == 0 && MouseCapture()) SetMouseCapture(false);
  }
  Dispatch(m);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case msgMouseMove: {
      TPoint p = LParamToPoint(m.LParam);
      MouseMove(KeysToShiftState(m.WParam), p.X, p.Y);
      return;
    }
    case msgMouseWheel: {
      const TPoint p = LParamToPoint(m.LParam);
      MouseWheel(KeysToShiftState(m.WParam & 0xFFFF), WParamToWheelNotches(m.WParam), p.X, p.Y);
      return;
    }
    case msgLButtonDown: MouseButtonMessage(m, mbLeft, true, false); return;
    case msgRButtonDown: MouseButtonMessage(m, mbRight, true, false); return;
    case msgMButtonDown: MouseButtonMessage(m, mbMiddle, true, false); return;
    case msgLButtonDblClk: MouseButtonMessage(m, mbLeft, true, true); return;
    case msgRButtonDblClk: MouseButtonMessage(m, mbRight, true, true); return;
    case msgMButtonDblClk: MouseButtonMessage(m, mbMiddle, true, true); return;
    case msgLButtonUp: MouseButtonMessage(m, mbLeft, false, false); return;
    case msgRButtonUp: MouseButtonMessage(m, mbRight, false, false); return;
    case msgMButtonUp: MouseButtonMessage(m, mbMiddle, false, false); return;
    case msgPaint: PaintMessage(m); return;
    case msgCancelMode: CancelMode(m); return;
    case ntMouseEnter: MouseEnter(m); return;
    case ntMouseLeave:
      MouseLeave(m);
      FOnMouseLeave(this);
      return;
    case ntTextChanged: TextChanged(m); return;
    case ntColorChanged: ColorChanged(m); return;
    case ntFontChanged: FontChanged(m); return;
    case ntParentColorChanged: ParentColorChanged(m); return;
    case ntParentFontChanged: ParentFontChanged(m); return;
    case ntEnabledChanged: EnabledChanged(m); return;
    case ntVisibleChanged: VisibleChanged(m); return;
    case ntShowHintChanged: ShowHintChanged(m); return;
    case ntParentShowHintChanged: ParentShowHintChanged(m); return;
    case ntDialogKey: DialogKey(m); return;
    case ntDialogChar: DialogChar(m); return;
    case ntFocusChanged: FocusChanged(m); return;
    default: DefaultHandler(m);
  }
}

void TControl::MouseButtonMessage(TMessage& m, TMouseButton button, bool down, bool doubleClick) {
  TPoint p = LParamToPoint(m.LParam);
  TShiftState shift = KeysToShiftState(m.WParam);
  if (doubleClick) {
    if (!FControlStyle.Contains(csDoubleClicks)) doubleClick = false;
    else shift.Include(ssDouble);
  }
  if (down) {
    if (button == mbLeft && FControlStyle.Contains(csClickEvents)) {
      if (doubleClick) DblClick();
      else FControlState.Include(csClicked);
    }
    MouseDown(button, shift, p.X, p.Y);
    return;
  }
  if (button == mbLeft && FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains(p)) Click();
  }
  MouseUp(button, shift, p.X, p.Y);
}

void TControl::CancelMode(TMessage&) { FControlState.Exclude(csClicked); }

void TControl::Click() { FOnClick(this); }
void TControl::DblClick() { FOnDblClick(this); }
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { FOnMouseDown(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { FOnMouseMove(this, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { FOnMouseUp(this, button, shift, x, y); }
void TControl::MouseWheel(TShiftState shift, int notches, int x, int y) { FOnMouseWheel(this, shift, notches, x, y); }

bool TControl::MouseCapture() const {
  TWindowSystem* ws = TWindowSystem::Current();
  return ws != nullptr && ws->CaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
  TWindowSystem* ws = TWindowSystem::Current();
  if (ws == nullptr || value == MouseCapture()) return;
  ws->SetCaptureControl(value ? this : nullptr);
}

// ---- streaming ----

void TControl::ReadOwnState(TReader& reader) {
  if (auto* parent = dynamic_cast<TWinControl*>(reader.Parent())) SetParent(parent);
  FControlState.Include(csReadingState);
  struct Done {
    TControl* c;
    ~Done() { c->FControlState.Exclude(csReadingState); }
  } done{this};
  TComponent::ReadOwnState(reader);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::AfterLoad() {
  TComponent::AfterLoad();
  if (FParent != nullptr) {
    if (FParentColor) TakeParentColor();
    if (FParentFont) TakeParentFont();
  }
}
