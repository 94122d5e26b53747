#pragma once
// The headless backend: a virtual screen in memory for tests. Its clock moves only when
// a test advances it (waiting for events advances it by the wait), input is injected at
// screen coordinates, and what windows present can be captured as images. With a scale
// above 1 the screen's pixels are that many times finer than the windows' surfaces: screen
// coordinates (injected input, screenshots, the screen's size in pixels) are the screen's
// own, and the windows show their surfaces in blocks and their fine layers over them.
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/bitmap.h"
#include "framework/port/backend_port.h"
#include "framework/port/fine_layer.h"

struct THeadlessScreen {
  int Width = 1280;
  int Height = 1024;
  int BitsPerPixel = 32;  // 32, or 8 for a palette screen with the halftone palette
  int PixelsPerInch = 96;
  TLocalTime StartTime{2024, 1, 1, 12, 0, 0, 0, 1};
  TShowCommand ShowCommand = scShowNormal;
  int Scale = 1;  // screen pixels per surface pixel along each axis
};

class THeadlessBackend;

class THeadlessWindow : public TPlatformWindow {
 public:
  THeadlessWindow(THeadlessBackend& backend, const TRect& bounds);
  ~THeadlessWindow() override;

  TRect ScreenBounds() const override { return FBounds; }
  void SetScreenBounds(const TRect& bounds) override;
  bool Visible() const override { return FVisible; }
  void SetVisible(bool visible) override { FVisible = visible; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) override { FCaption = caption; }
  TWindowFrame Frame() const { return FFrame; }
  void SetFrame(TWindowFrame frame) override { FFrame = frame; }
  TWindowShowState ShowState() const { return FShowState; }
  void SetShowState(TWindowShowState state) override { FShowState = state; }
  void BringToFront() override;
  TBitmapImage& Surface() override { return FSurface.Image(); }
  void Present(const TRect& rect) override;
  int Scale() const override { return FFine.Scale(); }
  TBitmapImage* FineLayer() override;
  void ShowFine(const TRegion& region) override { FFine.Show(region); }
  void HideFine(const TRegion& region) override { FFine.Hide(region); }
  const TFineLayer& Fine() const { return FFine; }

  // What the screen shows of this window (in screen pixels): the surface as of the last
  // presents.
  const TBitmap& Presented() const { return FPresented; }
  int PresentCount() const { return FPresentCount; }
  const TRect& LastPresentRect() const { return FLastPresent; }

 private:
  THeadlessBackend& FBackend;
  TRect FBounds;
  bool FVisible = false;
  std::string FCaption;
  TWindowFrame FFrame = TWindowFrame::Sizeable;
  TWindowShowState FShowState = TWindowShowState::Normal;
  TBitmap FSurface;
  TFineLayer FFine;
  TBitmap FPresented;
  int FPresentCount = 0;
  TRect FLastPresent;
};

class THeadlessBackend : public TPlatformBackend {
 public:
  explicit THeadlessBackend(const THeadlessScreen& screen = {});

  // In surface pixels, as everything the framework sees.
  TSize ScreenSize() const override { return {FScreen.Width / FScreen.Scale, FScreen.Height / FScreen.Scale}; }
  int BitsPerPixel() const override { return FScreen.BitsPerPixel; }
  int PixelsPerInch() const override { return FScreen.PixelsPerInch; }
  uint32_t SystemColor(int index) const override;
  TShowCommand StartupShowCommand() const override { return FScreen.ShowCommand; }

  std::unique_ptr<TPlatformWindow> CreateWindow(const TRect& screenBounds) override;
  void SetCapture(TPlatformWindow* window) override { FCapture = window; }
  TPoint CursorPos() const override { return FCursor; }
  // Nothing to show here: tests read the shape last set.
  void SetCursorShape(TCursorShape shape) override { FCursorShape = shape; }
  TCursorShape CursorShape() const { return FCursorShape; }
  TPlatformWindow* WindowAt(TPoint screenPos) const override;

  bool PollEvent(TInputEvent& event) override;
  void WaitForEvents(int64_t timeoutMs) override;
  void Wake() override { FWoken = true; }
  bool CoalescesTimers() const override { return FCoalescesTimers; }
  // Serves timers the way a desktop does, sharing wake-ups (off: every due time exact).
  void SetCoalescesTimers(bool on) { FCoalescesTimers = on; }
  uint64_t TickCount() const override { return FNow; }
  TLocalTime LocalTime() const override;
  void SetIcon(const TBitmapImage* icon) override;
  const TBitmap& Icon() const { return FIcon; }

  // The virtual clock.
  void AdvanceClock(uint64_t ms) { FNow += ms; }
  // How often a wait returned: an idle loop wakes once per due timer, no more.
  int WakeUps() const { return FWakeUps; }

  // Injected input, at screen coordinates. Modifiers are the held keys (imShift, imCtrl, imAlt).
  void MoveMouse(TPoint screenPos);
  void PressMouse(TInputButton button, TPoint screenPos);
  void ReleaseMouse(TInputButton button, TPoint screenPos);
  void DoubleClickMouse(TInputButton button, TPoint screenPos);
  void Click(TPoint screenPos);
  // Turns the wheel by `notches` (positive away from the user) with the pointer at `screenPos`.
  void TurnWheel(int notches, TPoint screenPos);
  void PressKey(int key);
  void ReleaseKey(int key);
  void TypeChar(char c);
  void SetModifiers(uint32_t modifiers) { FKeyModifiers = modifiers; }
  // What the desktop does to a window: close requests, activation, exposure, moves.
  void InjectWindowEvent(TPlatformWindow* window, TInputKind kind, TPoint screenPos = {});

  // The whole screen as it is shown: the desktop colour, then every visible window's
  // presented pixels, bottom first.
  std::unique_ptr<TBitmap> ScreenImage() const;
  std::unique_ptr<TBitmap> WindowImage(const THeadlessWindow& window) const;
  // Screenshots as PNG files.
  void SaveScreenImage(const std::string& path) const;
  void SaveWindowImage(const THeadlessWindow& window, const std::string& path) const;
  const std::vector<THeadlessWindow*>& Windows() const { return FWindows; }

 private:
  friend class THeadlessWindow;
  void Enqueue(TInputKind kind, TInputButton button, TPoint pos);
  // A screen position in surface pixels: the block it lies in.
  TPoint Unscaled(TPoint screenPos) const;
  TPlatformWindow* MouseTarget(TPoint pos) const;

  THeadlessScreen FScreen;
  bool FCoalescesTimers = false;
  std::vector<THeadlessWindow*> FWindows;  // bottom first
  std::deque<TInputEvent> FEvents;
  TPlatformWindow* FCapture = nullptr;
  TPlatformWindow* FGrab = nullptr;  // the window a held button was pressed in
  TPoint FCursor{-1, -1};  // in surface pixels
  uint32_t FButtons = 0;
  uint32_t FKeyModifiers = 0;
  uint64_t FNow = 0;
  int FWakeUps = 0;
  bool FWoken = false;
  TBitmap FIcon;
  TCursorShape FCursorShape = TCursorShape::Arrow;
};

// The factory of this backend.
std::unique_ptr<THeadlessBackend> CreateHeadlessBackend(const THeadlessScreen& screen = {});
