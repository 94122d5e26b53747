#pragma once
// The window system: the process's message loop over a platform backend. It keeps the
// top-level windows, the posted messages, the running timers, the mouse capture and the
// control under the pointer. The application installs one at start-up; while it lives,
// TWindowSystem::Current() answers it.
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "framework/controls/messages.h"
#include "framework/port/backend_port.h"
#include "framework/typeinfo/ident_maps.h"

class TControl;
class TWinControl;
class TTimer;

// The pointer shape a Cursor value shows; crDefault is the arrow.
TCursorShape CursorShapeOf(TCursor cursor);

class TWindowSystem {
 public:
  explicit TWindowSystem(TPlatformBackend& backend);
  ~TWindowSystem();
  TWindowSystem(const TWindowSystem&) = delete;
  TWindowSystem& operator=(const TWindowSystem&) = delete;

  static TWindowSystem* Current();
  TPlatformBackend& Backend() const { return FBackend; }
  uint64_t TickCount() const { return FBackend.TickCount(); }
  TLocalTime LocalTime() const { return FBackend.LocalTime(); }

  // Top-level windows, bottom first.
  void AddTopLevel(TWinControl* window);
  void RemoveTopLevel(TWinControl* window);
  const std::vector<TWinControl*>& TopLevels() const { return FTopLevels; }

  // Queues `msg` for `target`; delivered at the start of the next pass of the loop.
  void PostMessage(TControl* target, uint32_t msg, intptr_t wParam = 0, intptr_t lParam = 0);
  // Delivers the messages queued so far, ahead of the loop's next pass.
  void DeliverPostedMessages() { DeliverPosted(); }

  // Timers call these as they start and stop; a running timer is due at `due` ticks.
  void StartTimer(TTimer* timer);
  void StopTimer(TTimer* timer);
  // The tick at which the next running timer that may wake the loop is due, or none.
  bool NextTimerDue(uint64_t& due) const;

  // One pass of the loop without waiting: posted messages, input, mouse enter/leave, due
  // timers, paint. Paint and timers never run inside a timer handler or a paint.
  void ProcessMessages();
  // Waits for input or the next due timer (at most `maxWaitMs`; negative: no limit), then
  // runs one pass. This is what keeps an idle program from doing any work.
  void HandleMessage(int64_t maxWaitMs = -1);
  // Whether a shown top-level window has anything invalid.
  bool PaintPending() const;
  // Runs the loop until the clock reaches now + ms.
  void RunFor(uint64_t ms);
  // Runs the loop until Terminate is called.
  void Run();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }

  // Counts the changes of bounds, visibility, enabled state, z-order and parents, so that a
  // canvas set up for a control outside its paint knows when its clip is out of date.
  uint64_t LayoutGeneration() const { return FLayoutGeneration; }
  void LayoutChanged() { ++FLayoutGeneration; }
  // Counts the regions made invalid: with the layout generation it tells an idle pass that
  // nothing can have become due for paint since the windows were last found clean.
  void Invalidated() { ++FInvalidations; }

  TControl* CaptureControl() const { return FCapture; }
  // Gives the mouse to `control` (none releases); a control losing it to another gets msgCancelMode.
  void SetCaptureControl(TControl* control);
  // Takes the mouse from whoever holds it, telling them with msgCancelMode: a modal loop
  // starts, the window is deactivated, the holder is hidden or disabled, a failure is shown.
  void CancelCapture();
  // Where the pointer is, in screen coordinates.
  TPoint CursorPos() const { return FBackend.CursorPos(); }
  // Shows the pointer shape of the control under the pointer (or holding the mouse): its
  // Cursor, else the nearest parent's that is not crDefault, else the arrow; the screen's
  // Cursor, when set, wins. The loop calls it when the control under the pointer may have
  // changed; call it after changing a Cursor.
  void CursorChanged();
  TControl* MouseControl() const { return FMouseControl; }
  // Keys go to this window; the forms' focus handling sets it.
  TWinControl* KeyTarget() const { return FKeyTarget; }
  void SetKeyTarget(TWinControl* window) { FKeyTarget = window; }
  // Where an exception escaping the handling of one message goes; the loop then goes on
  // with the next message. Without a handler the exception leaves the loop.
  using TExceptionHandler = std::function<void(std::exception_ptr)>;
  void SetExceptionHandler(TExceptionHandler handler) { FOnException = std::move(handler); }
  // Forgets everything that refers to a control being destroyed.
  void ControlDestroyed(TControl* control);

  // The deepest visible, enabled window at a screen point inside `topLevel`.
  static TWinControl* WindowAt(TWinControl* topLevel, TPoint screenPos);

 private:
  struct TPosted {
    TControl* Target;
    TMessage Message;
  };
  struct TScheduled {
    TTimer* Timer;
    uint64_t Due;
    uint64_t Sequence;  // breaks ties between timers due at the same tick
  };
  void DeliverPosted();
  void DeliverInput();
  void DeliverMouse(const TInputEvent& e);
  void DeliverKey(const TInputEvent& e);
  void DeliverWindowEvent(const TInputEvent& e);
  void FireDueTimers();
  void PaintInvalidWindows();
  void TrackMouse();
  TWinControl* TopLevelOf(TPlatformWindow* window) const;
  // The first timer to serve at `now`: due, or (with `earliestInterval`, the interval of
  // the timer this wake-up is for) due within the slack that lets it share the wake-up.
  TScheduled* FirstDueTimer(uint64_t now, uint64_t earliestInterval = 0);
  // Runs the handling of one message, passing an escaping exception to the handler.
  template <class F>
  void Guarded(F&& handling);

  TPlatformBackend& FBackend;
  std::vector<TWinControl*> FTopLevels;
  std::deque<TPosted> FPosted;
  std::vector<TScheduled> FTimers;
  std::vector<TTimer*> FFiredThisPass;
  uint64_t FNextSequence = 0;
  TControl* FCapture = nullptr;
  TControl* FMouseControl = nullptr;
  TWinControl* FKeyTarget = nullptr;
  int FBusyDepth = 0;  // > 0 inside a timer handler or a paint
  bool FTerminated = false;
  bool FCursorApplied = false;
  TCursorShape FCursorShape = TCursorShape::Arrow;
  uint64_t FLayoutGeneration = 0;
  uint64_t FInvalidations = 0;
  struct TPaintMark {
    uint64_t Invalidations, Layout;
    friend bool operator==(const TPaintMark&, const TPaintMark&) = default;
  };
  mutable std::optional<TPaintMark> FFoundClean;  // when the windows were last found with nothing to paint
  // What the control under the pointer was last looked up with. While none of it changed,
  // neither can the answer: an idle pass skips the walk through the windows.
  struct TPointerMark {
    TPoint Pos;
    uint64_t Invalidations, Layout, Inputs;
    const TControl* Capture;
    friend bool operator==(const TPointerMark&, const TPointerMark&) = default;
  };
  std::optional<TPointerMark> FPointerLookedUp;
  uint64_t FInputs = 0;  // input events delivered
  TExceptionHandler FOnException;
};

template <class F>
void TWindowSystem::Guarded(F&& handling) {
  if (!FOnException) {
    handling();
    return;
  }
  // Caught here, outside the handling's own scopes, so that a message box shown by the
  // handler runs its loop with timers and paint allowed again.
  std::exception_ptr failure;
  try {
    handling();
  } catch (...) {
    failure = std::current_exception();
  }
  if (failure) FOnException(failure);
}
