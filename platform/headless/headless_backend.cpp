#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <chrono>

#include "framework/core/color.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/png_export.h"

namespace {
void PrepareSurface(TBitmap& surface, int bitsPerPixel, int width, int height) {
  surface.SetPixelFormat(bitsPerPixel == 8 ? pf8bit : pf32bit);
  surface.SetSize(std::max(0, width), std::max(0, height));
}

// Rounds toward minus infinity, so that a position left of or above a window stays outside it.
int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

TRect Scaled(const TRect& r, int scale) { return {r.Left * scale, r.Top * scale, r.Right * scale, r.Bottom * scale}; }
}  // namespace

// ---- windows ----

THeadlessWindow::THeadlessWindow(THeadlessBackend& backend, const TRect& bounds)
    : FBackend(backend), FFine(std::max(1, backend.FScreen.Scale)) {
  SetScreenBounds(bounds);
  FBackend.FWindows.push_back(this);
}

THeadlessWindow::~THeadlessWindow() {
  std::erase(FBackend.FWindows, this);
  if (FBackend.FCapture == this) FBackend.FCapture = nullptr;
  if (FBackend.FGrab == this) FBackend.FGrab = nullptr;
}

void THeadlessWindow::SetScreenBounds(const TRect& bounds) {
  const bool resized = bounds.Width() != FBounds.Width() || bounds.Height() != FBounds.Height();
  FBounds = bounds;
  if (!resized && !FSurface.Empty()) return;
  PrepareSurface(FSurface, FBackend.BitsPerPixel(), bounds.Width(), bounds.Height());
  PrepareSurface(FPresented, FBackend.BitsPerPixel(), bounds.Width() * Scale(), bounds.Height() * Scale());
  FFine.Drop();
}

TBitmapImage* THeadlessWindow::FineLayer() { return Scale() > 1 ? &FFine.Image(FSurface.Image()) : nullptr; }

void THeadlessWindow::BringToFront() {
  std::erase(FBackend.FWindows, this);
  FBackend.FWindows.push_back(this);
}

void THeadlessWindow::Present(const TRect& rect) {
  const TRect r = IntersectRect(rect, {0, 0, FSurface.Width(), FSurface.Height()});
  ++FPresentCount;
  FLastPresent = r;
  if (r.IsEmpty()) return;
  TDrawContext context(&FPresented);
  if (Scale() == 1) {
    context.BitBlt(r.Left, r.Top, r.Width(), r.Height(), FSurface, r.Left, r.Top, cmSrcCopy);
    return;
  }
  // Enlarging by a whole factor, the stretching rule repeats each pixel into a block.
  const TRect screen = Scaled(r, Scale());
  context.StretchBlt(screen, FSurface, r, cmSrcCopy);
  const TBitmapImage* fine = FFine.Made();
  if (fine == nullptr) return;
  const TRegion shown = FFine.Shown().Combine(TRegion(screen), roAnd);
  if (shown.IsEmpty()) return;
  context.SetClipRegion(&shown);
  context.StretchBlt(screen, *fine, screen, cmSrcCopy);
}

// ---- backend ----

THeadlessBackend::THeadlessBackend(const THeadlessScreen& screen) : FScreen(screen) {
  FScreen.Scale = std::max(1, FScreen.Scale);
}

std::unique_ptr<THeadlessBackend> CreateHeadlessBackend(const THeadlessScreen& screen) {
  return std::make_unique<THeadlessBackend>(screen);
}

uint32_t THeadlessBackend::SystemColor(int index) const { return SystemColorRGB(index); }

std::unique_ptr<TPlatformWindow> THeadlessBackend::CreateWindow(const TRect& screenBounds) {
  return std::make_unique<THeadlessWindow>(*this, screenBounds);
}

TPlatformWindow* THeadlessBackend::WindowAt(TPoint screenPos) const {
  for (auto it = FWindows.rbegin(); it != FWindows.rend(); ++it)
    if ((*it)->Visible() && (*it)->ScreenBounds().Contains(screenPos)) return *it;
  return nullptr;
}

bool THeadlessBackend::PollEvent(TInputEvent& event) {
  if (FEvents.empty()) return false;
  event = FEvents.front();
  FEvents.pop_front();
  return true;
}

// Waiting is where virtual time passes: with nothing pending, the clock moves on by the
// whole timeout. A wait without a limit would never end here, so it returns at once.
void THeadlessBackend::WaitForEvents(int64_t timeoutMs) {
  ++FWakeUps;
  if (!FEvents.empty() || FWoken) {
    FWoken = false;
    return;
  }
  if (timeoutMs > 0) FNow += uint64_t(timeoutMs);
}

TLocalTime THeadlessBackend::LocalTime() const {
  using namespace std::chrono;
  const TLocalTime& s = FScreen.StartTime;
  const sys_days day = year_month_day{year{s.Year}, month{unsigned(s.Month)}, std::chrono::day{unsigned(s.Day)}};
  const auto start = day + hours{s.Hour} + minutes{s.Minute} + seconds{s.Second} + milliseconds{s.Millisecond};
  const auto now = start + milliseconds{FNow};
  const sys_days nowDay = floor<days>(now);
  const year_month_day ymd{nowDay};
  const hh_mm_ss<milliseconds> tod{floor<milliseconds>(now - nowDay)};
  return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), int(tod.hours().count()),
          int(tod.minutes().count()), int(tod.seconds().count()), int(tod.subseconds().count()),
          int(weekday{nowDay}.c_encoding())};
}

// ---- injected input ----

TPoint THeadlessBackend::Unscaled(TPoint screenPos) const {
  return {FloorDiv(screenPos.X, FScreen.Scale), FloorDiv(screenPos.Y, FScreen.Scale)};
}

// Like a desktop, a window keeps the mouse while a button pressed in it is held.
TPlatformWindow* THeadlessBackend::MouseTarget(TPoint pos) const {
  if (FCapture != nullptr) return FCapture;
  if (FGrab != nullptr) return FGrab;
  return WindowAt(pos);
}

void THeadlessBackend::Enqueue(TInputKind kind, TInputButton button, TPoint pos) {
  TInputEvent e;
  e.Kind = kind;
  e.Button = button;
  e.ScreenPos = pos;
  e.Window = MouseTarget(pos);
  e.Modifiers = FKeyModifiers | FButtons;
  FEvents.push_back(e);
}

namespace {
uint32_t ButtonBit(TInputButton b) {
  switch (b) {
    case ibLeft: return imLeft;
    case ibRight: return imRight;
    case ibMiddle: return imMiddle;
    default: return 0;
  }
}
}  // namespace

void THeadlessBackend::MoveMouse(TPoint screenPos) {
  screenPos = Unscaled(screenPos);
  FCursor = screenPos;
  Enqueue(TInputKind::MouseMove, ibNone, screenPos);
}

void THeadlessBackend::PressMouse(TInputButton button, TPoint screenPos) {
  screenPos = Unscaled(screenPos);
  FCursor = screenPos;
  if (FButtons == 0) FGrab = WindowAt(screenPos);
  FButtons |= ButtonBit(button);
  Enqueue(TInputKind::MouseDown, button, screenPos);
}

void THeadlessBackend::DoubleClickMouse(TInputButton button, TPoint screenPos) {
  screenPos = Unscaled(screenPos);
  FCursor = screenPos;
  if (FButtons == 0) FGrab = WindowAt(screenPos);
  FButtons |= ButtonBit(button);
  Enqueue(TInputKind::MouseDoubleClick, button, screenPos);
}

void THeadlessBackend::ReleaseMouse(TInputButton button, TPoint screenPos) {
  screenPos = Unscaled(screenPos);
  FCursor = screenPos;
  FButtons &= ~ButtonBit(button);
  Enqueue(TInputKind::MouseUp, button, screenPos);
  if (FButtons == 0) FGrab = nullptr;
}

void THeadlessBackend::Click(TPoint screenPos) {
  PressMouse(ibLeft, screenPos);
  ReleaseMouse(ibLeft, screenPos);
}

void THeadlessBackend::TurnWheel(int notches, TPoint screenPos) {
  screenPos = Unscaled(screenPos);
  FCursor = screenPos;
  Enqueue(TInputKind::MouseWheel, ibNone, screenPos);
  FEvents.back().WheelDelta = notches;
}

void THeadlessBackend::PressKey(int key) {
  TInputEvent e;
  e.Kind = TInputKind::KeyDown;
  e.Key = key;
  e.Window = WindowAt(FCursor);
  e.Modifiers = FKeyModifiers | FButtons;
  FEvents.push_back(e);
}

void THeadlessBackend::ReleaseKey(int key) {
  PressKey(key);
  FEvents.back().Kind = TInputKind::KeyUp;
}

void THeadlessBackend::TypeChar(char c) {
  PressKey(0);
  FEvents.back().Kind = TInputKind::Char;
  FEvents.back().Char = c;
}

void THeadlessBackend::InjectWindowEvent(TPlatformWindow* window, TInputKind kind, TPoint screenPos) {
  TInputEvent e;
  e.Kind = kind;
  e.Window = window;
  e.ScreenPos = screenPos;
  FEvents.push_back(e);
}

void THeadlessBackend::SetIcon(const TBitmapImage* icon) {
  if (icon != nullptr) FIcon.SetImage(*icon);
  else FIcon.SetSize(0, 0);
}

// ---- screenshots ----

std::unique_ptr<TBitmap> THeadlessBackend::WindowImage(const THeadlessWindow& window) const {
  auto image = std::make_unique<TBitmap>();
  image->CopyFrom(&window.Presented());
  return image;
}

std::unique_ptr<TBitmap> THeadlessBackend::ScreenImage() const {
  auto image = std::make_unique<TBitmap>();
  PrepareSurface(*image, FScreen.BitsPerPixel, FScreen.Width, FScreen.Height);
  TDrawContext context(image.get());
  context.FillRect({0, 0, FScreen.Width, FScreen.Height}, TBrushData{clBackground, bsSolid, nullptr});
  for (const THeadlessWindow* w : FWindows) {
    if (!w->Visible()) continue;
    const TRect b = Scaled(w->ScreenBounds(), FScreen.Scale);
    context.BitBlt(b.Left, b.Top, b.Width(), b.Height(), w->Presented(), 0, 0, cmSrcCopy);
  }
  return image;
}

void THeadlessBackend::SaveScreenImage(const std::string& path) const { SaveBitmapToPng(*ScreenImage(), path); }

void THeadlessBackend::SaveWindowImage(const THeadlessWindow& window, const std::string& path) const {
  SaveBitmapToPng(window.Presented(), path);
}
