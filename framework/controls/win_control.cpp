#include "framework/controls/win_control.h"

#include <algorithm>

#include "framework/controls/custom_form.h"
#include "framework/controls/keys.h"
#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/graphics/font.h"
#include "framework/port/backend_port.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TWinControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TWinControl, TControl>("TWinControl")
                                     .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, Default(0))
                                     .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder,
                                               Default(-1))
                                     .Event("OnKeyDown", &TWinControl::FOnKeyDown)
                                     .Event("OnKeyUp", &TWinControl::FOnKeyUp)
                                     .Event("OnKeyPress", &TWinControl::FOnKeyPress)
                                     .Event("OnEnter", &TWinControl::FOnEnter)
                                     .Event("OnExit", &TWinControl::FOnExit);
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  Destroying();
  // The form must let go of the focus while this window's children still hang below it.
  if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) form->DefocusControl(this, true);
  // Children outlive this part of the object when another component owns them: they
  // must not reach back into a parent that is going away.
  for (TControl* c : FControls) c->FParent = nullptr;
  for (TWinControl* c : FWinControls) c->FParent = nullptr;
  FControls.clear();
  FWinControls.clear();
  FTabList.clear();
  DestroyPlatformWindow();
}

// ---- children ----

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) throw EListError(rs::SListIndexError, index);
  if (size_t(index) < FControls.size()) return FControls[size_t(index)];
  return FWinControls[size_t(index) - FControls.size()];
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c != nullptr; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::InsertControl(TControl* control) {
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (w->ContainsControl(this)) throw EInvalidOperation(rs::SControlParentSelf);
    FWinControls.push_back(w);
    FTabList.push_back(w);
  } else {
    FControls.push_back(control);
  }
  control->FParent = this;
  NoteLayoutChange();
  if (control->Visible()) {
    if (auto* w = dynamic_cast<TWinControl*>(control)) w->InvalidateWithChildren(w->ClientRect(), true);
    else control->Invalidate();
  }
  AlignControl(control);
}

void TWinControl::RemoveControl(TControl* control) {
  // Out of the lists first: a window being destroyed must not be invalidated any more.
  std::erase(FControls, control);
  std::erase_if(FWinControls, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
  std::erase_if(FTabList, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
  control->FParent = nullptr;
  NoteLayoutChange();
  if (control->Visible() && IsShowing()) InvalidateWithChildren(control->BoundsRect(), true);
  Realign();
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWindows) const {
  auto hit = [&](TControl* c) {
    return c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(p);
  };
  if (allowWindows)
    for (auto it = FWinControls.rbegin(); it != FWinControls.rend(); ++it)
      if (hit(*it)) return *it;
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
    if (hit(*it)) return *it;
  return nullptr;
}

void TWinControl::SetChildZOrder(TControl* control, bool toFront) {
  auto move = [&](auto& list, auto* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return;
    list.erase(it);
    if (toFront) list.push_back(item);
    else list.insert(list.begin(), item);
  };
  NoteLayoutChange();
  // A window sent back uncovers its siblings: the whole area repaints, not just the window.
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    move(FWinControls, w);
    if (w->Visible()) InvalidateWithChildren(w->BoundsRect(), true);
  } else {
    move(FControls, control);
    control->Invalidate();
  }
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto* control = dynamic_cast<TControl*>(child);
  if (control == nullptr || control->Parent() != this) return;
  auto place = [order](auto& list, auto* item) {
    std::erase(list, item);
    list.insert(list.begin() + std::clamp<ptrdiff_t>(order, 0, ptrdiff_t(list.size())), item);
  };
  if (auto* w = dynamic_cast<TWinControl*>(control)) place(FWinControls, w);
  else place(FControls, control);
  NoteLayoutChange();
  if (control->Visible()) InvalidateWithChildren(control->BoundsRect(), true);
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Owner() == root) proc(Controls(i));
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  const auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (Parent() == nullptr) return;
  auto& list = Parent()->FTabList;
  std::erase(list, this);
  list.insert(list.begin() + std::clamp<ptrdiff_t>(value, 0, ptrdiff_t(list.size())), this);
}

void TWinControl::NotifyChildren(uint32_t msg) {
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(msg);
}

void TWinControl::ColorChanged(TMessage& m) {
  TControl::ColorChanged(m);
  NotifyChildren(ntParentColorChanged);
}

void TWinControl::FontChanged(TMessage& m) {
  TControl::FontChanged(m);
  NotifyChildren(ntParentFontChanged);
}

void TWinControl::ParentColorChanged(TMessage& m) { TControl::ParentColorChanged(m); }
void TWinControl::ParentFontChanged(TMessage& m) { TControl::ParentFontChanged(m); }

void TWinControl::ShowHintChanged(TMessage& m) {
  TControl::ShowHintChanged(m);
  NotifyChildren(ntParentShowHintChanged);
}

// ---- alignment ----

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0) --FAlignLevel;
  if (FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::AlignControl(TControl* control) {
  if (AlignDisabled() || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) {
    FAlignPending = true;
    return;
  }
  AlignNow(control);
}

void TWinControl::AlignNow(TControl* control) {
  FAlignPending = false;
  DisableAlign();
  struct Done {
    TWinControl* w;
    ~Done() { --w->FAlignLevel; }
  } done{this};
  TRect rect = ClientRect();
  AlignControls(control, rect);
}

// Everything is read by the time the first loaded notification arrives, so the windows
// still marked as loading can be placed too: parents first, since aligning a parent
// resizes its children.
void TWinControl::AlignAfterLoading() {
  if (FAlignPending && !AlignDisabled() && !ComponentState().Contains(csDestroying)) AlignNow(nullptr);
  for (TWinControl* child : std::vector<TWinControl*>(FWinControls)) child->AlignAfterLoading();
}

void TWinControl::AfterLoad() {
  TControl::AfterLoad();
  AlignAfterLoading();
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c->Align() == align && c->Visible()) list.push_back(c);
    }
    // The control that asked goes first among equals, so a moved control keeps its place.
    auto key = [align](TControl* c) {
      switch (align) {
        case alTop: return c->Top();
        case alBottom: return -(c->Top() + c->Height());
        case alLeft: return c->Left();
        case alRight: return -(c->Left() + c->Width());
        default: return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
      if (key(a) != key(b)) return key(a) < key(b);
      return a == control && b != control;
    });
    for (TControl* c : list) {
      const int w = std::max(0, rect.Width()), h = std::max(0, rect.Height());
      switch (align) {
        case alTop:
          c->SetBounds(rect.Left, rect.Top, w, c->Height());
          rect.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.Left, rect.Bottom - c->Height(), w, c->Height());
          rect.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.Left, rect.Top, c->Width(), h);
          rect.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), h);
          rect.Right -= c->Width();
          break;
        default: c->SetBounds(rect.Left, rect.Top, w, h);
      }
    }
  }
}

// Unaligned children keep their distance to the anchored edges; a child anchored to
// neither edge of an axis keeps its centre.
void TWinControl::ApplyAnchors() {
  const TRect client = ClientRect();
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (c->Align() != alNone) continue;
    const TAnchors a = c->Anchors();
    const TRect o = c->FAnchorOrigin;
    const int dw = client.Width() - c->FAnchorParentSize.cx, dh = client.Height() - c->FAnchorParentSize.cy;
    int l = o.Left, t = o.Top, w = o.Width(), h = o.Height();
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft)) w += dw;
      else l += dw;
    } else if (!a.Contains(akLeft)) {
      l += dw / 2;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop)) h += dh;
      else t += dh;
    } else if (!a.Contains(akTop)) {
      t += dh / 2;
    }
    c->FAnchoring = true;
    c->SetBounds(l, t, std::max(0, w), std::max(0, h));
    c->FAnchoring = false;
  }
  --FAlignLevel;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  TControl::SetBounds(left, top, width, height);
  if (FPlatformWindow != nullptr) FPlatformWindow->SetScreenBounds(Bounds(left, top, width, height));
}

void TWinControl::BoundsChanged() {
  const TRect client = ClientRect();
  const TSize size{client.Width(), client.Height()};
  // A child window's old and new places were invalidated with its parent; a top-level
  // window gets a new surface only when its size changes.
  if (Parent() == nullptr && !(size == FLastClientSize)) InvalidateWithChildren(client, true);
  if (!(size == FLastClientSize)) {
    FLastClientSize = size;
    if (!FScaling) ApplyAnchors();
    Perform(msgSize);
    Realign();
  }
}

void TWinControl::ChangeScale(int m, int d) {
  DisableAlign();
  FScaling = true;
  ScaleOwnBounds(m, d);
  FScaling = false;
  FDesignSize = {MulDiv(FDesignSize.cx, m, d), MulDiv(FDesignSize.cy, m, d)};
  // Scaled children start anchoring afresh from their scaled places.
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(m, d);
  EnableAlign();
}

void TWinControl::ReadOwnState(TReader& reader) {
  DisableAlign();
  struct Done {
    TWinControl* w;
    ~Done() { w->EnableAlign(); }
  } done{this};
  TControl::ReadOwnState(reader);
}

// ---- design size ----

void TWinControl::ReadDesignSize(TReader& reader) {
  reader.ReadListBegin();
  FDesignSize.cx = reader.ReadInteger();
  FDesignSize.cy = reader.ReadInteger();
  reader.ReadListEnd();
}

// Anchoring to the right or bottom edge needs the design size to be reproduced.
bool TWinControl::DesignSizeStored() const {
  auto farAnchored = [](const TControl* c) { return c->Anchors().Contains(akRight) || c->Anchors().Contains(akBottom); };
  if (farAnchored(this)) return true;
  for (int i = 0; i < ControlCount(); ++i)
    if (farAnchored(Controls(i))) return true;
  return false;
}

void TWinControl::DeclareStoredData(TFiler& filer) {
  TControl::DeclareStoredData(filer);
  filer.DeclareValueProperty(
      "DesignSize", [this](TReader& r) { ReadDesignSize(r); },
      [this](TWriter& w) {
        const TRect client = ClientRect();
        w.WriteListBegin();
        w.WriteInteger(client.Width());
        w.WriteInteger(client.Height());
        w.WriteListEnd();
      },
      DesignSizeStored());
}

void TWinControl::SetVisible(bool value) {
  if (value == Visible()) return;
  if (!value) {
    if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) form->DefocusControl(this, false);
  }
  TControl::SetVisible(value);
  if (FPlatformWindow != nullptr) FPlatformWindow->SetVisible(value);
  // Whatever was drawn over this window's children while it was hidden is stale.
  if (value) InvalidateWithChildren(ClientRect(), true);
}

void TWinControl::SetEnabled(bool value) {
  if (!value) {
    if (TCustomForm* form = GetParentForm(this); form != nullptr && form != this) form->DefocusControl(this, false);
  }
  TControl::SetEnabled(value);
}

// ---- keyboard focus ----

bool TWinControl::CanFocus() const {
  const TCustomForm* form = GetParentForm(this);
  if (form == nullptr) return false;
  for (const TControl* c = this; c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  const TCustomForm* form = GetParentForm(this);
  return form != nullptr && form->Active() && form->FocusedControl() == this;
}

void TWinControl::SetFocus() {
  TCustomForm* form = GetParentForm(this);
  if (form == nullptr || !CanFocus()) throw EInvalidOperation(rs::SCannotFocus);
  form->FocusControl(this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* w : FTabList) {
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const auto found = std::find(list.begin(), list.end(), current);
  const size_t n = list.size();
  // Without a current control the search starts just outside the list's ends.
  const size_t start = found != list.end() ? size_t(found - list.begin()) : goForward ? n - 1 : 0;
  size_t i = start;
  do {
    i = goForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[i];
    if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

bool TWinControl::WantSpecialKey(int, TShiftState) const { return false; }

// ---- platform window ----

void TWinControl::CreatePlatformWindow(TPlatformBackend& backend) {
  if (FPlatformWindow != nullptr) return;
  if (Parent() != nullptr) throw EInvalidOperation(rs::SParentedTopLevel, Name());
  FPlatformWindow = backend.CreateWindow(BoundsRect());
  FPlatformWindow->SetCaption(Caption());
  FPlatformWindow->SetVisible(Visible());
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->AddTopLevel(this);
  NoteLayoutChange();
  InvalidateWithChildren(ClientRect(), true);
}

void TWinControl::DestroyPlatformWindow() {
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->RemoveTopLevel(this);
  if (FPlatformWindow != nullptr) NoteLayoutChange();
  FPlatformWindow.reset();
}

TWinControl* TWinControl::TopLevel() {
  TWinControl* w = this;
  while (w->Parent() != nullptr) w = w->Parent();
  return w;
}

TPoint TWinControl::SurfaceOffset() const {
  TPoint p;
  for (const TWinControl* w = this; w->Parent() != nullptr; w = w->Parent()) p = p + TPoint{w->Left(), w->Top()};
  return p;
}

TPoint TWinControl::ClientOrigin() const {
  if (FPlatformWindow != nullptr) return FPlatformWindow->ScreenBounds().TopLeft();
  return TControl::ClientOrigin();
}

// ---- messages ----

void TWinControl::WndProc(TMessage& m) {
  if (IsMouseMessage(m.Msg) && ForwardMouseToChild(m)) return;
  TControl::WndProc(m);
}

// A window-less child under the pointer (or holding the mouse) gets its parent's mouse messages.
bool TWinControl::ForwardMouseToChild(TMessage& m) {
  TWindowSystem* ws = TWindowSystem::Current();
  TControl* capture = ws != nullptr ? ws->CaptureControl() : nullptr;
  TControl* target = nullptr;
  if (capture != nullptr) {
    if (capture->Parent() == this && dynamic_cast<TWinControl*>(capture) == nullptr) target = capture;
  } else {
    target = ControlAtPos(LParamToPoint(m.LParam), false, false);
  }
  if (target == nullptr) return false;
  const TPoint p = LParamToPoint(m.LParam) - TPoint{target->Left(), target->Top()};
  m.Result = target->Perform(m.Msg, m.WParam, PointToLParam(p));
  return true;
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case msgEraseBackground: EraseBackground(m); return;
    case msgKeyDown: KeyDownMessage(m); return;
    case msgKeyUp: {
      int key = int(m.WParam);
      const TShiftState shift = KeysToShiftState(m.LParam);
      TWinControl* form = KeyPreviewForm();
      if (form != nullptr) form->KeyUp(key, shift);
      if (form == nullptr || key != 0) KeyUp(key, shift);
      m.WParam = key;
      return;
    }
    case msgChar: CharMessage(m); return;
    case msgSetFocus: FocusGained(m); return;
    case msgKillFocus: FocusLost(m); return;
    case ntEnter: DoEnter(); return;
    case ntExit: DoExit(); return;
    default: TControl::Dispatch(m);
  }
}

namespace {
bool IsDialogKey(int key) {
  return key == vkTab || key == vkReturn || key == vkEscape || (key >= vkLeft && key <= vkDown);
}
}  // namespace

// A form with KeyPreview sees its controls' keys before they do; a key it zeroes ends there.
TWinControl* TWinControl::KeyPreviewForm() {
  TCustomForm* form = GetParentForm(this);
  return form != nullptr && form != this && form->KeyPreview() ? form : nullptr;
}

// The control sees the key first; a navigation key it leaves alone and does not want
// as an ordinary key goes to its form as a dialog key.
void TWinControl::KeyDownMessage(TMessage& m) {
  int key = int(m.WParam);
  const TShiftState shift = KeysToShiftState(m.LParam);
  TWinControl* preview = KeyPreviewForm();
  if (preview != nullptr) preview->KeyDown(key, shift);
  if (preview == nullptr || key != 0) KeyDown(key, shift);
  m.WParam = key;
  if (key == 0 || !IsDialogKey(key) || WantSpecialKey(key, shift)) return;
  if (TCustomForm* form = GetParentForm(this)) m.Result = form->OfferDialogKey(key, shift) ? 1 : 0;
}

// A character typed with Alt held is an accelerator: the form offers it to its controls.
void TWinControl::CharMessage(TMessage& m) {
  const TShiftState shift = KeysToShiftState(m.LParam);
  if (shift.Contains(ssAlt)) {
    if (TCustomForm* form = GetParentForm(this)) m.Result = form->OfferDialogChar(char(m.WParam), shift) ? 1 : 0;
    return;
  }
  char c = char(m.WParam);
  TWinControl* preview = KeyPreviewForm();
  if (preview != nullptr) preview->KeyPress(c);
  if (preview == nullptr || c != 0) KeyPress(c);
  m.WParam = uint8_t(c);
}

void TWinControl::KeyDown(int& key, TShiftState shift) { FOnKeyDown(this, key, shift); }
void TWinControl::KeyUp(int& key, TShiftState shift) { FOnKeyUp(this, key, shift); }
void TWinControl::KeyPress(char& key) { FOnKeyPress(this, key); }
