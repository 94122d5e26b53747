#pragma once
// The desktop backend: real windows, input and the system clock through SDL. One
// desktop window per shown top-level window, at its screen position with its client
// size; the loop sleeps in SDL until input arrives or the next timer is due. At a scale S
// above 1 the desktop's pixels are S times finer than ours: windows are placed and sized
// at S times their bounds, and the pointer's positions are divided back.
#include <SDL2/SDL_events.h>
#include <SDL2/SDL_mouse.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <future>
#include <memory>
#include <vector>

#include "framework/port/backend_port.h"
#include "platform/sdl/sdl_window.h"

class TSdlBackend : public TPlatformBackend {
 public:
  ~TSdlBackend() override;
  // Opens the display, on the thread that then runs the loop; false when none can be
  // opened. Windows may be made before it answers, on another thread: they wait for it
  // before they reach the desktop.
  bool Open();
  // Waits until Open has answered; raises EOutOfResources when there is no display.
  void AwaitDisplay() const {
    if (!FOpen) WaitForOpen();
  }
  TSdlBackend(const TSdlBackend&) = delete;
  TSdlBackend& operator=(const TSdlBackend&) = delete;

  // In surface pixels, as everything the framework sees.
  TSize ScreenSize() const override;
  int Scale() const { return FScale; }
  int BitsPerPixel() const override { return 32; }
  int PixelsPerInch() const override { return 96; }
  uint32_t SystemColor(int index) const override;
  TShowCommand StartupShowCommand() const override { return scShowNormal; }

  std::unique_ptr<TPlatformWindow> CreateWindow(const TRect& screenBounds) override;
  void SetCapture(TPlatformWindow* window) override;
  TPoint CursorPos() const override;
  void SetCursorShape(TCursorShape shape) override;
  TPlatformWindow* WindowAt(TPoint screenPos) const override;

  bool PollEvent(TInputEvent& event) override;
  void WaitForEvents(int64_t timeoutMs) override;
  void Wake() override;
  bool CoalescesTimers() const override { return true; }
  void BeginPass() override { ++FPassDepth; }
  void EndPass() override;
  uint64_t TickCount() const override;
  TLocalTime LocalTime() const override;
  void SetIcon(const TBitmapImage* icon) override;

  // Windows tell their backend what happens to them.
  void WindowCreated(TSdlWindow* window) { FWindows.push_back(window); }
  void WindowDestroyed(TSdlWindow* window);
  void HandleCreated(TSdlWindow* window) { window->ApplyIcon(FIcon.get()); }
  void WindowRaised(TSdlWindow* window);
  // A window's pixels reached the desktop.
  void Presented();
  // Whether a window keeps what it presents until the pass ends.
  bool HoldsPresents() const { return FPassDepth > 0; }

 private:
  friend std::unique_ptr<TSdlBackend> NewSdlBackend(int scale);
  explicit TSdlBackend(int scale);
  bool OpenDisplay();
  void WaitForOpen() const;
  // A position in the desktop's pixels, from the origin of `window`'s client area, in ours.
  TPoint Unscaled(int x, int y) const;
  struct TSurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
  };
  void Translate(const SDL_Event& e);
  void TranslateMouse(const SDL_Event& e);
  void TranslateWheel(const SDL_MouseWheelEvent& e);
  void TranslateKey(const SDL_Event& e);
  void TranslateText(const SDL_TextInputEvent& e);
  void TranslateWindowEvent(const SDL_WindowEvent& e);
  void Queue(TInputKind kind, TPlatformWindow* window);
  TSdlWindow* WindowOfId(Uint32 id) const;
  TSdlWindow* KeyboardWindow(Uint32 id) const;

  void SendHeldPresents();

  std::vector<TSdlWindow*> FWindows;  // bottom first
  int FPassDepth = 0;
  std::deque<TInputEvent> FPending;
  TSdlWindow* FCapture = nullptr;
  TSdlWindow* FFocus = nullptr;
  TSdlWindow* FGrab = nullptr;  // the window a held button went down in
  uint32_t FButtons = 0;  // imLeft, imRight, imMiddle held
  // Where the pointer events of our windows last put the pointer, in screen coordinates;
  // far outside every window once it has left them. Remote and synthetic input move the
  // pointer only through those events, not through the display's global pointer state.
  static constexpr TPoint kPointerOutside{-1000000, -1000000};
  TPoint FPointer = kPointerOutside;
  int FScale = 1;
  Uint32 FWakeEvent = 0;
  std::promise<bool> FOpenPromise;
  std::shared_future<bool> FOpened = FOpenPromise.get_future().share();
  std::atomic<bool> FOpen = false;  // Open answered true
  std::atomic<bool> FWaiting = false;
  std::atomic<bool> FWakeRequested = false;
  bool FDisplayJustRead = false;  // the last wait timed out with nothing queued
  std::unique_ptr<SDL_Surface, TSurfaceFree> FIcon;
  // The desktop's pointer shapes, made when first used.
  SDL_Cursor* FCursors[size_t(TCursorShape::Hidden)] = {};
  std::chrono::steady_clock::time_point FStart = std::chrono::steady_clock::now();
  // With VELMORATH_REPORT_FIRST_FRAME set, the first time the loop goes idle the moment of
  // the last present before it (the first complete frame) is written to the error output
  // as "first frame <ns>", in nanoseconds of the monotonic clock; bench/ times start-up so.
  bool FReportFirstFrame = false;
  std::chrono::steady_clock::time_point FLastPresent;
};

// The factory of this backend: none when no display can be opened. `scale`: screen pixels
// per surface pixel along each axis (1 to kMaxScale).
std::unique_ptr<TSdlBackend> CreateSdlBackend(int scale = 1);
// The backend before its display is opened (see Open). It sets what SDL reads from the
// environment, so it is made before the program starts other threads.
std::unique_ptr<TSdlBackend> NewSdlBackend(int scale = 1);
