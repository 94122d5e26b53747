// The form's keyboard side: activation, the focused control with its enter/exit and
// focus-changed notifications, and the routing of dialog keys and accelerators.
#include <algorithm>
#include <vector>

#include "framework/controls/custom_form.h"
#include "framework/controls/keys.h"
#include "framework/controls/screen.h"
#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"

namespace {
intptr_t ShiftToKeys(TShiftState shift) {
  intptr_t keys = 0;
  if (shift.Contains(ssShift)) keys |= imShift;
  if (shift.Contains(ssCtrl)) keys |= imCtrl;
  if (shift.Contains(ssAlt)) keys |= imAlt;
  return keys;
}

void SetKeyTarget(TWinControl* target) {
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->SetKeyTarget(target);
}
}  // namespace

// ---- activation ----

void TCustomForm::Activate() {
  if (FActive) return;
  if (TScreen* screen = Screen()) {
    if (TCustomForm* old = screen->ActiveForm(); old != nullptr && old != this) old->Deactivate();
    screen->SetActiveForm(this);
  }
  FActive = true;
  if (PlatformWindow() != nullptr) PlatformWindow()->BringToFront();
  SetKeyTarget(this);
  FOnActivate(this);
  if (!FActive) return;
  if (FActiveControl != nullptr && FActiveControl->CanFocus()) SetFocusedControl(FActiveControl);
  else SelectFirst();
}

void TCustomForm::Deactivate() {
  if (!FActive) return;
  TWinControl* old = FFocusedControl;
  FFocusedControl = nullptr;
  FActive = false;
  if (TScreen* screen = Screen(); screen != nullptr && screen->ActiveForm() == this) screen->SetActiveForm(nullptr);
  if (TWindowSystem* ws = TWindowSystem::Current();
      ws != nullptr && ws->KeyTarget() != nullptr && GetParentForm(ws->KeyTarget()) == this)
    ws->SetKeyTarget(nullptr);
  if (old != nullptr) old->Perform(msgKillFocus);
  FOnDeactivate(this);
}

// The first control in tab order that can take the focus, preferring tab stops.
void TCustomForm::SelectFirst() {
  TWinControl* first = FindNextControl(nullptr, true, true, false);
  if (first == nullptr) first = FindNextControl(nullptr, true, false, false);
  if (first != nullptr) SetFocusedControl(first);
}

void TCustomForm::SetFocus() {
  if (!Visible() || !Enabled()) throw EInvalidOperation(rs::SCannotFocus);
  Activate();
}

// ---- the focused control ----

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == this) control = nullptr;
  const bool loading = ComponentState().Contains(csLoading);
  if (control != nullptr && (GetParentForm(control) != this || (!loading && !control->CanFocus())))
    throw EInvalidOperation(rs::SCannotFocus);
  FActiveControl = control;
  if (FActive && !loading) SetFocusedControl(control);
}

void TCustomForm::FocusControl(TWinControl* control) {
  const bool wasActive = FActive;
  SetActiveControl(control);
  if (!wasActive) SetFocus();
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  auto inside = [control](const TWinControl* c) { return c != nullptr && control->ContainsControl(c); };
  TWinControl* parent = control->Parent() != this ? control->Parent() : nullptr;
  // A control going away leaves the enter chain without being told.
  if (removing && inside(FEnteredControl)) FEnteredControl = parent;
  if (!inside(FActiveControl) && !inside(FFocusedControl)) return;
  // A control that stays keeps the focus in its family: its parent takes it over.
  if (!removing && FActive && parent != nullptr && parent->CanFocus()) {
    SetFocusedControl(parent);
    return;
  }
  FActiveControl = nullptr;
  if (!inside(FFocusedControl)) return;
  TWinControl* old = FFocusedControl;
  FFocusedControl = nullptr;
  SetKeyTarget(FActive ? this : nullptr);
  if (removing) return;
  old->Perform(msgKillFocus);
  SendEnterExit(FEnteredControl, nullptr);
}

// Each step may move the focus again from a handler; the later move then wins and the
// rest of this one is dropped.
void TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control == FFocusedControl) return;
  TWinControl* old = FFocusedControl;
  FFocusedControl = control;
  if (control != nullptr) FActiveControl = control;
  SetKeyTarget(control != nullptr ? control : this);
  if (old != nullptr) {
    old->Perform(msgKillFocus, reinterpret_cast<intptr_t>(control));
    if (FFocusedControl != control) return;
  }
  SendEnterExit(FEnteredControl, control);
  if (FFocusedControl != control) return;
  BroadcastFocusChanged();
  if (FFocusedControl != control || control == nullptr) return;
  control->Perform(msgSetFocus, reinterpret_cast<intptr_t>(old));
}

// Exit goes up from the old control to the first window that also holds the new one;
// enter comes down from there to the new control.
void TCustomForm::SendEnterExit(TWinControl* oldControl, TWinControl* newControl) {
  FEnteredControl = newControl;
  for (TWinControl* c = oldControl; c != nullptr && c != this; c = c->Parent()) {
    if (newControl != nullptr && c->ContainsControl(newControl)) break;
    c->Perform(ntExit);
  }
  std::vector<TWinControl*> entering;
  for (TWinControl* c = newControl; c != nullptr && c != this; c = c->Parent()) {
    if (oldControl != nullptr && c->ContainsControl(oldControl)) break;
    entering.push_back(c);
  }
  for (auto it = entering.rbegin(); it != entering.rend(); ++it) (*it)->Perform(ntEnter);
}

void TCustomForm::BroadcastFocusChanged() {
  TMessage m{ntFocusChanged, 0, reinterpret_cast<intptr_t>(FocusedControl()), 0};
  Broadcast(m, nullptr);
}

// Depth first through every control of the form, each before its children, until one
// sets a result; controls of the focus chain (already asked) are passed over.
void TCustomForm::Broadcast(TMessage& m, TControl* skipChainOf) {
  auto inChain = [skipChainOf](const TControl* c) {
    for (const TControl* p = skipChainOf; p != nullptr; p = p->Parent())
      if (p == c) return true;
    return false;
  };
  std::vector<TWinControl*> pending{this};
  while (!pending.empty() && m.Result == 0) {
    TWinControl* parent = pending.back();
    pending.pop_back();
    std::vector<TWinControl*> children;
    for (int i = 0; i < parent->ControlCount() && m.Result == 0; ++i) {
      TControl* c = parent->Controls(i);
      if (!inChain(c)) c->WndProc(m);
      if (auto* w = dynamic_cast<TWinControl*>(c)) children.push_back(w);
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
}

// ---- dialog keys and characters ----

bool TCustomForm::OfferDialogKey(int key, TShiftState shift) {
  TMessage m{ntDialogKey, key, ShiftToKeys(shift), 0};
  TWinControl* focused = FocusedControl();
  for (TWinControl* c = focused; c != nullptr && c != this; c = c->Parent()) {
    static_cast<TControl*>(c)->WndProc(m);
    if (m.Result != 0) return true;
  }
  const bool alt = shift.Contains(ssAlt), ctrl = shift.Contains(ssCtrl);
  const bool arrow = key >= vkLeft && key <= vkDown;
  const bool navigation = arrow || (key == vkTab && !ctrl);
  // Enter, Escape and Ctrl+Tab may be meant for any control (a default or cancel button).
  if (!navigation) {
    Broadcast(m, focused);
    return m.Result != 0;
  }
  if (alt) return false;
  if (key == vkTab) {
    SelectNext(FActiveControl, !shift.Contains(ssShift), true);
    return true;
  }
  if (FActiveControl == nullptr) return false;
  FActiveControl->Parent()->SelectNext(FActiveControl, key == vkRight || key == vkDown, false);
  return true;
}

bool TCustomForm::OfferDialogChar(char c, TShiftState shift) {
  TMessage m{ntDialogChar, uint8_t(c), ShiftToKeys(shift), 0};
  TWinControl* focused = FocusedControl();
  for (TWinControl* w = focused; w != nullptr && w != this; w = w->Parent()) {
    static_cast<TControl*>(w)->WndProc(m);
    if (m.Result != 0) return true;
  }
  Broadcast(m, focused);
  return m.Result != 0;
}
