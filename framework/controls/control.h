#pragma once
// TControl: the base of everything visible. Bounds relative to the parent's client
// area, visibility and enabling, alignment and anchors, caption, colour, hint, cursor,
// mouse events, and the message entry points WndProc / Dispatch.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/color.h"
#include "framework/core/component.h"
#include "framework/core/geometry.h"
#include "framework/graphics/region.h"
#include "framework/controls/messages.h"
#include "framework/typeinfo/event.h"
#include "framework/typeinfo/ident_maps.h"

class TWinControl;
class TFont;
class TReader;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
VM_DECLARE_ENUM(TAlign);

enum TAnchorKind { akLeft, akTop, akRight, akBottom };
VM_DECLARE_ENUM(TAnchorKind);
using TAnchors = TSet<TAnchorKind>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
VM_DECLARE_ENUM(TMouseButton);

enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
VM_DECLARE_ENUM(TShiftStateFlag);
using TShiftState = TSet<TShiftStateFlag>;

// How a control behaves towards the framework.
enum TControlStyleFlag {
  csAcceptsControls,  // may be the parent of others at design time
  csCaptureMouse,     // takes the mouse while a button is held on it
  csClickEvents,      // a press and release inside it is a click
  csFramed,
  csSetCaption,       // the name is copied into an empty caption
  csOpaque,           // covers its whole client area: the parent paints nothing under it
  csDoubleClicks,     // receives double clicks as such (else as a second press)
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,     // may be drawn as an image of itself
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
};
VM_DECLARE_ENUM(TControlStyleFlag);
using TControlStyle = TSet<TControlStyleFlag>;

// Transient state the framework keeps for a control.
enum TControlStateFlag {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing,
  csCreating, csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking,
};
VM_DECLARE_ENUM(TControlStateFlag);
using TControlState = TSet<TControlStateFlag>;

// Keys carried in a mouse message's WParam (the platform's modifier bits).
TShiftState KeysToShiftState(intptr_t keys);
// Rounds value * m / d to the nearest integer, halves away from zero (-1 when d is 0).
int MulDiv(int value, int m, int d);

using TMouseEvent = TEvent<void(TObject*, TMouseButton, TShiftState, int, int)>;
using TMouseMoveEvent = TEvent<void(TObject*, TShiftState, int, int)>;
// The wheel turned by `notches` (positive away from the user) with the pointer at (x, y).
using TMouseWheelEvent = TEvent<void(TObject*, TShiftState, int notches, int x, int y)>;
using TKeyEvent = TEvent<void(TObject*, int&, TShiftState)>;
using TKeyPressEvent = TEvent<void(TObject*, char&)>;

class TControl : public TComponent {
 public:
  VM_CLASS()
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // Tree and geometry.
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  // The screen position of the client area's top-left corner.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const { return p + ClientOrigin(); }
  TPoint ScreenToClient(TPoint p) const { return p - ClientOrigin(); }
  // Multiplies position and size by m / d, rounding as the platform's MulDiv does.
  void ScaleBy(int m, int d);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors value);

  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value);
  // Visible itself and through every parent up to a top-level window.
  bool IsShowing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool value);

  // Text and looks.
  const std::string& Caption() const { return FText; }
  void SetCaption(const std::string& value) { SetText(value); }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);
  TFont* Font() const { return FFont.get(); }
  // Copies the description; the control keeps its own font object.
  void SetFont(const TFont* value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& value) { FHint = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool value);
  TCursor Cursor() const { return FCursor; }
  // The pointer takes the shape over this control (and its children left at crDefault).
  void SetCursor(TCursor value);

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle value) { FControlStyle = value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState value) { FControlState = value; }

  // ---- Asking for paint ----
  // A control asks for paint in one of three ways; the rest is the framework's business
  // (what lies above, child windows, clipping, presenting).
  //  1. Invalidate: Invalidate(), or InvalidateRect(rect, true) for a part (client
  //     coordinates). The next paint step of the loop paints it; what lies behind is
  //     erased first (the window's background, or the parent's paint under a window-less
  //     control), unless the control is csOpaque.
  //  2. Invalidate without erase: InvalidateRect(rect, false). Painted by the next paint
  //     step over the old pixels: the control's paint must cover the whole rectangle.
  //  3. Repaint now: Repaint() or Repaint(erase). Invalidates the whole control and paints
  //     before returning; the screen shows it at once. A csOpaque window-less control paints
  //     itself directly, clipped to what shows of it (ExposedRegion).
  // Update() paints at once whatever is invalid in the control's top-level window.
  // Overriding these is not needed; a class that overrides one should bring the others
  // into scope (using TControl::Repaint) so the overloads stay visible.
  virtual void Invalidate();
  virtual void InvalidateRect(const TRect& rect, bool erase);
  virtual void Update();
  virtual void Repaint();
  void Repaint(bool erase);
  void Refresh() { Repaint(); }
  // The part of the control that shows on its window's surface now (client coordinates):
  // inside every parent, not under a window above it, and never under a child window.
  TRegion ExposedRegion() const;
  void BringToFront();
  void SendToBack();

  // Messages.
  intptr_t Perform(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
  // Queues `msg` for this control, delivered at the start of the loop's next pass (before its
  // paint); answers false when no loop runs. A freed control's queued messages are dropped.
  bool PostMessage(uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
  virtual void WndProc(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage&) {}

  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  // Joins the reader's parent before reading its properties.
  void ReadOwnState(TReader& reader) override;
  void AfterLoad() override;
  // The parent, as the form reader asks for it (an inherited record is read inside it).
  TComponent* GetParentComponent() const override;
  bool ColorStored() const;
  bool FontStored() const;
  bool ShowHintStored() const;

  TNotifyEvent FOnClick;
  TNotifyEvent FOnDblClick;
  TMouseEvent FOnMouseDown;
  TMouseEvent FOnMouseUp;
  TMouseMoveEvent FOnMouseMove;
  // Not published: code binds them (the wheel, and the pointer leaving the control).
  TMouseWheelEvent FOnMouseWheel;
  TNotifyEvent FOnMouseLeave;

 protected:
  // Typed hooks the dispatcher calls; overrides call the base first for the framework's part.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseWheel(TShiftState shift, int notches, int x, int y);
  virtual void MouseEnter(TMessage&) {}
  virtual void MouseLeave(TMessage&) {}
  virtual void TextChanged(TMessage&) {}
  virtual void ColorChanged(TMessage&);
  virtual void FontChanged(TMessage&);
  virtual void ParentColorChanged(TMessage&);
  virtual void ParentFontChanged(TMessage&);
  virtual void EnabledChanged(TMessage&) { Invalidate(); }
  virtual void VisibleChanged(TMessage&) {}
  virtual void ShowHintChanged(TMessage&) {}
  virtual void ParentShowHintChanged(TMessage&);
  virtual void PaintMessage(TMessage&) {}
  // The mouse was taken from this control (msgCancelMode): a press it was tracking is
  // over without a release. Overrides call the base first.
  virtual void CancelMode(TMessage&);
  // The form offers a dialog key (WParam the key, LParam the modifier bits) or an Alt
  // character (WParam the character); a control that acts on it sets Result to 1.
  virtual void DialogKey(TMessage&) {}
  virtual void DialogChar(TMessage&) {}
  // The form's focus moved; LParam is the control now focused, or none.
  virtual void FocusChanged(TMessage&) {}

  // Called after the bounds changed; TWinControl re-aligns its children here.
  virtual void BoundsChanged() {}
  virtual void ChangeScale(int m, int d);
  // Asks the parent to re-align its children after this control's alignment changed.
  void RequestAlign();
  // The area of the parent this control covers, for invalidation.
  void InvalidateControl(bool isVisible, bool isOpaque);
  // Tells the window system that what shows of the controls may have changed.
  static void NoteLayoutChange();
  // A control hidden or disabled cannot keep the mouse, nor can one inside it.
  void CancelCaptureInside();

  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;

 private:
  friend class TWinControl;
  void MouseButtonMessage(TMessage& m, TMouseButton button, bool down, bool doubleClick);
  void FontObjectChanged();
  void TakeParentColor();
  void TakeParentFont();
  // Remembers the bounds and the parent's client size that anchoring works from.
  void RememberAnchorBase();

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TRect FAnchorOrigin;
  TSize FAnchorParentSize;
  bool FAnchoring = false;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FText;
  TColor FColor = clWindow;
  bool FParentColor = true;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FAdoptingParentFont = false;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
};
