#include "framework/controls/window_system.h"

#include <algorithm>

#include "framework/controls/screen.h"
#include "framework/controls/timer.h"
#include "framework/controls/win_control.h"
#include "framework/core/exceptions.h"

namespace {
TWindowSystem*& CurrentSlot() {
  static TWindowSystem* current = nullptr;
  return current;
}

// Keeps paints and timer ticks from running inside each other.
struct TBusy {
  explicit TBusy(int& depth) : Depth(depth) { ++Depth; }
  ~TBusy() { --Depth; }
  int& Depth;
};

uint32_t MouseMessage(TInputKind kind, TInputButton button) {
  const uint32_t base = button == ibRight ? msgRButtonDown : button == ibMiddle ? msgMButtonDown : msgLButtonDown;
  switch (kind) {
    case TInputKind::MouseDown: return base;
    case TInputKind::MouseUp: return base + 1;
    case TInputKind::MouseDoubleClick: return base + 2;
    case TInputKind::MouseWheel: return msgMouseWheel;
    default: return msgMouseMove;
  }
}
}  // namespace

TCursorShape CursorShapeOf(TCursor cursor) {
  switch (cursor) {
    case crNone: return TCursorShape::Hidden;
    case crCross: return TCursorShape::Cross;
    case crIBeam: return TCursorShape::IBeam;
    case crUpArrow: return TCursorShape::UpArrow;
    case crSizeNESW: return TCursorShape::SizeNESW;
    case crSizeNS:
    case crVSplit: return TCursorShape::SizeNS;
    case crSizeNWSE: return TCursorShape::SizeNWSE;
    case crSizeWE:
    case crHSplit: return TCursorShape::SizeWE;
    case crSize:
    case crSizeAll: return TCursorShape::SizeAll;
    case crHourGlass:
    case crSQLWait: return TCursorShape::Wait;
    case crAppStart: return TCursorShape::ArrowWait;
    case crNo:
    case crNoDrop: return TCursorShape::No;
    case crHandPoint: return TCursorShape::HandPoint;
    default: return TCursorShape::Arrow;
  }
}

TWindowSystem::TWindowSystem(TPlatformBackend& backend) : FBackend(backend) {
  if (CurrentSlot() != nullptr) throw EInvalidOperation(rs::SWindowSystemInstalled);
  CurrentSlot() = this;
}

TWindowSystem::~TWindowSystem() { CurrentSlot() = nullptr; }

TWindowSystem* TWindowSystem::Current() { return CurrentSlot(); }

void TWindowSystem::AddTopLevel(TWinControl* window) {
  if (std::find(FTopLevels.begin(), FTopLevels.end(), window) == FTopLevels.end()) FTopLevels.push_back(window);
}

void TWindowSystem::RemoveTopLevel(TWinControl* window) { std::erase(FTopLevels, window); }

void TWindowSystem::PostMessage(TControl* target, uint32_t msg, intptr_t wParam, intptr_t lParam) {
  FPosted.push_back({target, TMessage{msg, wParam, lParam, 0}});
  FBackend.Wake();
}

// ---- timers ----

void TWindowSystem::StartTimer(TTimer* timer) {
  StopTimer(timer);
  FTimers.push_back({timer, TickCount() + timer->Interval(), FNextSequence++});
}

void TWindowSystem::StopTimer(TTimer* timer) {
  std::erase_if(FTimers, [timer](const TScheduled& s) { return s.Timer == timer; });
}

bool TWindowSystem::NextTimerDue(uint64_t& due) const {
  // Only a desktop defers: the virtual clock serves every timer at its exact time.
  const bool defers = FBackend.CoalescesTimers();
  bool any = false;
  for (const TScheduled& s : FTimers)
    if (!(defers && s.Timer->Deferrable()) && (!any || s.Due < due)) {
      due = s.Due;
      any = true;
    }
  return any;
}

namespace {
// How early a timer may be served to share the wake-up of one with `earliestInterval`:
// a tenth of the shorter interval, at most 15 ms, so that no tick shows out of step.
constexpr uint64_t kMaxTimerSlackMs = 15;
uint64_t TimerSlack(uint64_t interval, uint64_t earliestInterval) {
  if (earliestInterval == 0) return 0;
  return std::min(kMaxTimerSlackMs, std::min(interval, earliestInterval) / 10);
}
}  // namespace

TWindowSystem::TScheduled* TWindowSystem::FirstDueTimer(uint64_t now, uint64_t earliestInterval) {
  TScheduled* first = nullptr;
  for (TScheduled& s : FTimers)
    if (s.Due <= now + TimerSlack(s.Timer->Interval(), earliestInterval) &&
        (first == nullptr || s.Due < first->Due || (s.Due == first->Due && s.Sequence < first->Sequence)))
      first = &s;
  return first;
}

// A timer served early keeps its own schedule (its next due time follows from its last),
// so sharing wake-ups never makes it drift.
void TWindowSystem::FireDueTimers() {
  const uint64_t now = TickCount();
  uint64_t earliestInterval = 0;
  if (FBackend.CoalescesTimers())
    if (TScheduled* earliest = FirstDueTimer(now)) earliestInterval = earliest->Timer->Interval();
  // Each timer fires at most once per pass: a late timer catches up with one tick, not a burst.
  // Handlers run busy, so no pass inside one fires timers and the list can be kept.
  std::vector<TTimer*>& fired = FFiredThisPass;
  fired.clear();
  while (TScheduled* s = FirstDueTimer(now, earliestInterval)) {
    TTimer* timer = s->Timer;
    if (std::find(fired.begin(), fired.end(), timer) != fired.end()) break;
    fired.push_back(timer);
    s->Due = std::max(s->Due + timer->Interval(), now + 1);
    s->Sequence = FNextSequence++;
    Guarded([&] {
      TBusy busy(FBusyDepth);
      timer->Fire();
    });
  }
}

// ---- the loop ----

// Enter and leave are tracked before the paint step, so that a control lighting up under
// the pointer shows in the same pass.
void TWindowSystem::ProcessMessages() {
  struct TPass {
    TPlatformBackend& Backend;
    explicit TPass(TPlatformBackend& backend) : Backend(backend) { Backend.BeginPass(); }
    ~TPass() { Backend.EndPass(); }
  } pass(FBackend);
  DeliverPosted();
  DeliverInput();
  TrackMouse();
  if (FBusyDepth == 0) {
    FireDueTimers();
    PaintInvalidWindows();
  }
}

// Walking every window of every tree is what an idle pass would cost most; it is skipped
// while nothing was made invalid, shown, hidden, moved or given a platform window since
// the last walk found nothing.
bool TWindowSystem::PaintPending() const {
  const TPaintMark now{FInvalidations, FLayoutGeneration};
  if (FFoundClean == now) return false;
  const bool pending = std::any_of(FTopLevels.begin(), FTopLevels.end(), [](const TWinControl* top) {
    return top->PlatformWindow() != nullptr && top->PaintPending();
  });
  if (pending) FFoundClean.reset();
  else FFoundClean = now;
  return pending;
}

// Nothing made invalid is left waiting: what changed since the last paint step (a
// handler run between passes, a paint asking for more) is painted before the next wait.
void TWindowSystem::HandleMessage(int64_t maxWaitMs) {
  int64_t timeout = maxWaitMs;
  uint64_t due = 0;
  if (PaintPending() && FBusyDepth == 0) {
    timeout = 0;
  } else if (FPosted.empty() && NextTimerDue(due)) {
    const uint64_t now = TickCount();
    const int64_t untilDue = due > now ? int64_t(due - now) : 0;
    timeout = timeout < 0 ? untilDue : std::min(timeout, untilDue);
  } else if (!FPosted.empty()) {
    timeout = 0;
  }
  if (timeout != 0) FBackend.WaitForEvents(timeout);
  ProcessMessages();
}

void TWindowSystem::RunFor(uint64_t ms) {
  const uint64_t end = TickCount() + ms;
  ProcessMessages();
  while (!FTerminated && TickCount() < end) HandleMessage(int64_t(end - TickCount()));
}

void TWindowSystem::Run() {
  while (!FTerminated) HandleMessage();
}

void TWindowSystem::DeliverPosted() {
  // Messages posted while delivering wait for the next pass.
  for (size_t n = FPosted.size(); n > 0 && !FPosted.empty(); --n) {
    TPosted p = FPosted.front();
    FPosted.pop_front();
    Guarded([&] { p.Target->WndProc(p.Message); });
  }
}

void TWindowSystem::DeliverInput() {
  TInputEvent e;
  while (FBackend.PollEvent(e)) {
    ++FInputs;
    switch (e.Kind) {
      case TInputKind::KeyDown:
      case TInputKind::KeyUp:
      case TInputKind::Char: Guarded([&] { DeliverKey(e); }); break;
      case TInputKind::WindowClose:
      case TInputKind::WindowActivate:
      case TInputKind::WindowDeactivate:
      case TInputKind::WindowMoved: Guarded([&] { DeliverWindowEvent(e); }); break;
      default: Guarded([&] { DeliverMouse(e); });
    }
  }
}

TWinControl* TWindowSystem::TopLevelOf(TPlatformWindow* window) const {
  if (window == nullptr) return nullptr;
  for (TWinControl* w : FTopLevels)
    if (w->PlatformWindow() == window) return w;
  return nullptr;
}

TWinControl* TWindowSystem::WindowAt(TWinControl* topLevel, TPoint screenPos) {
  if (topLevel == nullptr || !topLevel->Visible() || !topLevel->Enabled()) return nullptr;
  TWinControl* window = topLevel;
  for (;;) {
    TControl* child = window->ControlAtPos(window->ScreenToClient(screenPos), false, true);
    auto* childWindow = dynamic_cast<TWinControl*>(child);
    if (childWindow == nullptr) return window;
    window = childWindow;
  }
}

void TWindowSystem::DeliverMouse(const TInputEvent& e) {
  TWinControl* window = nullptr;
  if (FCapture != nullptr) {
    window = dynamic_cast<TWinControl*>(FCapture);
    if (window == nullptr) window = FCapture->Parent();
  } else {
    window = WindowAt(TopLevelOf(e.Window), e.ScreenPos);
  }
  if (window == nullptr) return;
  // A press activates the form it lands in before the control under it sees it.
  if (e.Kind == TInputKind::MouseDown || e.Kind == TInputKind::MouseDoubleClick) {
    window->TopLevel()->Perform(msgMouseActivate);
  }
  const intptr_t wParam =
      e.Kind == TInputKind::MouseWheel ? WheelToWParam(e.WheelDelta, e.Modifiers) : intptr_t(e.Modifiers);
  window->Perform(MouseMessage(e.Kind, e.Button), wParam, PointToLParam(window->ScreenToClient(e.ScreenPos)));
}

void TWindowSystem::DeliverKey(const TInputEvent& e) {
  TWinControl* target = FKeyTarget != nullptr ? FKeyTarget : TopLevelOf(e.Window);
  if (target == nullptr) return;
  if (e.Kind == TInputKind::Char) target->Perform(msgChar, intptr_t(uint8_t(e.Char)), intptr_t(e.Modifiers));
  else target->Perform(e.Kind == TInputKind::KeyDown ? msgKeyDown : msgKeyUp, e.Key, intptr_t(e.Modifiers));
}

// What the desktop did to a top-level window, told to the control behind it.
void TWindowSystem::DeliverWindowEvent(const TInputEvent& e) {
  TWinControl* top = TopLevelOf(e.Window);
  if (top == nullptr) return;
  switch (e.Kind) {
    case TInputKind::WindowClose: top->Perform(msgClose); break;
    case TInputKind::WindowActivate: top->Perform(msgActivate, 1); break;
    case TInputKind::WindowDeactivate:
      CancelCapture();
      top->Perform(msgActivate, 0);
      break;
    default: top->SetBounds(e.ScreenPos.X, e.ScreenPos.Y, top->Width(), top->Height());
  }
}

void TWindowSystem::PaintInvalidWindows() {
  if (!PaintPending()) return;
  for (TWinControl* top : std::vector<TWinControl*>(FTopLevels)) {
    // A window closed by an earlier paint's failure report is gone from the list.
    if (std::find(FTopLevels.begin(), FTopLevels.end(), top) == FTopLevels.end()) continue;
    if (top->PlatformWindow() == nullptr || !top->Visible()) continue;
    Guarded([&] {
      TBusy busy(FBusyDepth);
      TRect painted = top->PaintInvalidWindows();
      if (!painted.IsEmpty()) top->PlatformWindow()->Present(painted);
    });
  }
}

// Enter and leave come in pairs: the control under the pointer is told when the pointer
// arrives, and the one it leaves is told first. While the mouse is captured only the
// capturing control counts.
void TWindowSystem::TrackMouse() {
  const TPoint pos = FBackend.CursorPos();
  const TPointerMark mark{pos, FInvalidations, FLayoutGeneration, FInputs, FCapture};
  if (FPointerLookedUp == mark) return;
  // Taken before the enter and leave handlers run: whatever they change is looked at again.
  FPointerLookedUp = mark;
  TControl* under = nullptr;
  if (TWinControl* window = WindowAt(TopLevelOf(FBackend.WindowAt(pos)), pos)) {
    under = window->ControlAtPos(window->ScreenToClient(pos), false, false);
    if (under == nullptr) under = window;
  }
  if (FCapture != nullptr && under != FCapture) under = nullptr;
  if (under != FMouseControl) {
    TControl* old = FMouseControl;
    FMouseControl = under;
    if (old != nullptr) old->Perform(ntMouseLeave);
    if (under != nullptr && FMouseControl == under) under->Perform(ntMouseEnter);
  }
  CursorChanged();
}

void TWindowSystem::CursorChanged() {
  TCursor cursor = crDefault;
  if (const TScreen* screen = Screen()) cursor = screen->Cursor();
  for (const TControl* c = FCapture != nullptr ? FCapture : FMouseControl; c != nullptr && cursor == crDefault;
       c = c->Parent())
    cursor = c->Cursor();
  const TCursorShape shape = CursorShapeOf(cursor);
  if (FCursorApplied && shape == FCursorShape) return;
  FCursorApplied = true;
  FCursorShape = shape;
  FBackend.SetCursorShape(shape);
}

void TWindowSystem::CancelCapture() {
  TControl* old = FCapture;
  if (old == nullptr) return;
  SetCaptureControl(nullptr);
  old->Perform(msgCancelMode);
}

void TWindowSystem::SetCaptureControl(TControl* control) {
  if (control == FCapture) return;
  TControl* old = FCapture;
  FCapture = control;
  TWinControl* window = nullptr;
  if (control != nullptr) {
    window = dynamic_cast<TWinControl*>(control);
    if (window == nullptr) window = control->Parent();
  }
  TWinControl* top = window != nullptr ? window->TopLevel() : nullptr;
  FBackend.SetCapture(top != nullptr ? top->PlatformWindow() : nullptr);
  // A release is the normal end; only a control losing the mouse to another is cancelled.
  if (old != nullptr && control != nullptr) old->Perform(msgCancelMode);
}

void TWindowSystem::ControlDestroyed(TControl* control) {
  std::erase_if(FPosted, [control](const TPosted& p) { return p.Target == control; });
  if (FCapture == control) {
    FCapture = nullptr;
    FBackend.SetCapture(nullptr);
  }
  if (FMouseControl == control) FMouseControl = nullptr;
  FPointerLookedUp.reset();
  if (FKeyTarget == control) FKeyTarget = nullptr;
  std::erase_if(FTopLevels, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
}
