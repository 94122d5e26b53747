#pragma once
// TWinControl: a control with a native window of its own. It holds its children (the
// window-less ones painted by it, the windowed ones painting themselves), aligns them,
// keeps the window's invalid region and paints it: erase background, own paint, then
// the window-less children in z-order, each clipped to itself.
#include <memory>
#include <vector>

#include "framework/controls/control.h"
#include "framework/graphics/region.h"

class TCanvas;
class TOverlay;
class TPlatformBackend;
class TPlatformWindow;

class TWinControl : public TControl {
 public:
  VM_CLASS()
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // Children: the window-less ones first, then the windowed ones, each in z-order (bottom first).
  int ControlCount() const { return int(FControls.size() + FWinControls.size()); }
  TControl* Controls(int index) const;
  bool ContainsControl(const TControl* control) const;
  // The topmost visible child at `p` (client coordinates); disabled ones only when asked.
  TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWindows) const;

  // Alignment of the children; disabling nests, and the last EnableAlign aligns once.
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  void Realign() { AlignControl(nullptr); }

  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value) { FTabStop = value; }
  int TabOrder() const;
  void SetTabOrder(int value);

  // Keyboard focus. A control can take it when it lies in a form and it and every parent
  // up to that form are visible and enabled.
  bool CanFocus() const;
  bool Focused() const;
  // Raises EInvalidOperation when the control cannot take the focus.
  virtual void SetFocus();
  // The windowed descendants in tab order, depth first: each one before its own children.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The descendant after (or before) `current` in tab order, wrapping round, that can take
  // the focus; with `checkTabStop` only tab stops, with `checkParent` only direct children.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
  // Focuses what FindNextControl finds; arrows (no tab-stop check) stay among siblings.
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  // True when the control takes `key` (Tab, an arrow, Enter or Escape) as an ordinary key,
  // so that the form does not navigate with it.
  virtual bool WantSpecialKey(int key, TShiftState shift) const;

  // The native window: invalid area in client coordinates, and whether painting leaves
  // the child windows' areas alone. Without ClipChildren the window paints over its child
  // windows, which then repaint on top in the same pass.
  bool ClipChildren() const { return FClipChildren; }
  void SetClipChildren(bool value);
  // This window's own area only (see TControl for the three ways of asking for paint).
  void InvalidateRect(const TRect& rect, bool erase) override;
  void InvalidateRegion(const TRegion& region, bool erase);
  // The area as it shows on screen: this window and every child window over it, down the
  // whole tree. For changes that uncover or move windows (z-order, bounds, visibility).
  void InvalidateWithChildren(const TRect& rect, bool erase);
  void InvalidateWithChildren(const TRegion& region, bool erase);
  const TRegion& InvalidRegion() const { return FInvalid; }
  // Whether this window or any window inside it waits for paint.
  bool PaintPending() const;
  void Invalidate() override;
  // Paints every invalid part of the top-level window this one lies in, now.
  void Update() override;
  // The part of the client area not hidden by ancestors, siblings above, or (with
  // ClipChildren) child windows.
  TRegion VisibleRegion() const;
  // `region` (client coordinates) less what the top-level window's overlay covers.
  TRegion WithoutOverlay(TRegion region) const;
  // Paints the invalid parts of this window and of its child windows; answers the
  // bounding box of what was painted, in top-level surface coordinates.
  TRect PaintInvalidWindows();

  // The overlay above a top-level window's content, or none. Its holder calls OverlayChanged
  // with the area it covered before, whenever its area or its look changed.
  void SetOverlay(TOverlay* overlay);
  TOverlay* Overlay() const { return FOverlay; }
  void OverlayChanged(const TRegion& oldArea);

  // Top-level windows own a platform window whose surface they paint into.
  TPlatformWindow* PlatformWindow() const { return FPlatformWindow.get(); }
  void CreatePlatformWindow(TPlatformBackend& backend);
  void DestroyPlatformWindow();
  TWinControl* TopLevel();
  // The offset of this window's client area inside its top-level window's surface.
  TPoint SurfaceOffset() const;

  TPoint ClientOrigin() const override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool value) override;
  void SetChildOrder(TComponent* child, int order) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  // Reads with alignment suspended, so children are placed once at the end.
  void ReadOwnState(TReader& reader) override;
  // Carries out the alignment asked for while loading, in this window and those inside it.
  void AfterLoad() override;
  // "DesignSize": the client size at design time, kept for anchoring.
  void DeclareStoredData(TFiler& filer) override;
  TSize DesignSize() const { return FDesignSize; }
  void SetDesignSize(TSize size) { FDesignSize = size; }

  void SetEnabled(bool value) override;

  TKeyEvent FOnKeyDown;
  TKeyEvent FOnKeyUp;
  TKeyPressEvent FOnKeyPress;
  TNotifyEvent FOnEnter;
  TNotifyEvent FOnExit;

 protected:
  // Places the children with an alignment inside `rect`, in the order top, bottom, left,
  // right, client; `control` is the one whose change caused the call (or none).
  virtual void AlignControls(TControl* control, TRect& rect);
  // Fills the background with Color; answers 1 so the window counts as erased.
  virtual void EraseBackground(TMessage& m);
  virtual void KeyDown(int& key, TShiftState shift);
  virtual void KeyUp(int& key, TShiftState shift);
  virtual void KeyPress(char& key);
  // The focus enters or leaves this control or one of its descendants.
  virtual void DoEnter() { FOnEnter(this); }
  virtual void DoExit() { FOnExit(this); }
  // This control itself gains or loses the keyboard focus (WParam: the other control).
  virtual void FocusGained(TMessage&) {}
  virtual void FocusLost(TMessage&) {}
  void WndProc(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void ParentColorChanged(TMessage& m) override;
  void ParentFontChanged(TMessage& m) override;
  void ColorChanged(TMessage& m) override;
  void FontChanged(TMessage& m) override;
  void ShowHintChanged(TMessage& m) override;
  void ChangeScale(int m, int d) override;
  // The part of ChangeScale that scales this control's own bounds and font.
  virtual void ScaleOwnBounds(int m, int d) { TControl::ChangeScale(m, d); }
  void BoundsChanged() override;
  // Paints `clip` (client coordinates) of this window only, its window-less children included.
  void PaintWindow(TCanvas& canvas, const TRegion& clip, bool erase);

 private:
  friend class TControl;
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  void AlignControl(TControl* control);
  void AlignNow(TControl* control);
  void AlignAfterLoading();
  void SetChildZOrder(TControl* control, bool toFront);
  void ApplyAnchors();
  void NotifyChildren(uint32_t msg);
  void PaintTree(TCanvas& canvas, TRect& painted);
  TRegion VisibleRegionBeneathOverlay() const;
  // The child windows under `region` (client coordinates) were painted over.
  void InvalidateCoveredChildren(const TRegion& region);
  // Paints a window-less child at once on the surface, clipped to what shows of it.
  void PaintControlNow(TControl* control);
  bool ForwardMouseToChild(TMessage& m);
  TWinControl* KeyPreviewForm();
  void KeyDownMessage(TMessage& m);
  void CharMessage(TMessage& m);
  void ReadDesignSize(TReader& reader);
  bool DesignSizeStored() const;

  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FWinControls;
  std::vector<TWinControl*> FTabList;
  int FAlignLevel = 0;
  bool FAlignPending = false;
  TSize FLastClientSize;
  bool FScaling = false;
  bool FTabStop = false;
  TSize FDesignSize;
  bool FClipChildren = false;
  TRegion FInvalid;
  bool FEraseNeeded = false;
  bool FPainting = false;  // a top-level window inside a paint pass
  TOverlay* FOverlay = nullptr;
  bool FOverlayDirty = false;  // the overlay waits to be drawn by the next paint pass
  std::unique_ptr<TPlatformWindow> FPlatformWindow;
};
