#include "framework/controls/timer.h"

#include "framework/controls/window_system.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TTimer::ClassInfo() {
  static const TClassInfo info = DefineClass<TTimer, TComponent>("TTimer")
                                     .Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, Default(1))
                                     .Property("Interval", &TTimer::Interval, &TTimer::SetInterval, Default(1000))
                                     .Event("OnTimer", &TTimer::FOnTimer);
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer() {
  if (TWindowSystem* ws = TWindowSystem::Current()) ws->StopTimer(this);
}

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  UpdateTimer();
}

void TTimer::SetInterval(int value) {
  if (value == FInterval) return;
  FInterval = value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  TWindowSystem* ws = TWindowSystem::Current();
  if (ws == nullptr) return;
  if (FEnabled && FInterval > 0) ws->StartTimer(this);
  else ws->StopTimer(this);
}
