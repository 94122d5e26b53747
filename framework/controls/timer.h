#pragma once
// TTimer: calls OnTimer every Interval milliseconds while Enabled, through the message
// loop, so a tick never runs inside a paint or another handler. Interval 0 never fires.
#include "framework/core/component.h"
#include "framework/typeinfo/event.h"

class TTimer : public TComponent {
 public:
  VM_CLASS()
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  int Interval() const { return FInterval; }
  // Restarts the count from now.
  void SetInterval(int value);
  // Runs one tick; the window system calls it when the timer is due.
  void Fire() { Timer(); }
  // A deferrable timer never wakes a desktop's loop by itself: it is served, on its own
  // schedule, when the loop wakes for anything else (a tick that is late by more than its
  // interval is served once, as any late tick). For a control nobody can see.
  bool Deferrable() const { return FDeferrable; }
  void SetDeferrable(bool value) { FDeferrable = value; }

  TNotifyEvent FOnTimer;

 protected:
  virtual void Timer() { FOnTimer(this); }

 private:
  void UpdateTimer();
  bool FEnabled = true;
  bool FDeferrable = false;
  int FInterval = 1000;
};
