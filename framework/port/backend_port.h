#pragma once
// The backend port: what the framework needs from a desktop, defined here and implemented
// by each backend under platform/. The screen, top-level windows backed by surfaces,
// input, a millisecond clock and the local time. Surfaces and the icon are pixel images,
// not bitmap graphics: a backend deals in pixels only. Each backend has one factory, and
// the program picks the backend at start-up.
#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/geometry.h"
#include "framework/graphics/bitmap_image.h"
#include "framework/graphics/region.h"

class TPlatformWindow;

enum class TInputKind : uint8_t {
  MouseMove, MouseDown, MouseUp, MouseDoubleClick, KeyDown, KeyUp, Char,
  // What the desktop does to a top-level window: the user asked to close it (its close
  // box), it gained or lost the keyboard focus, or it was moved (ScreenPos is the new
  // screen position of its client area). Lost pixels are the backend's own business:
  // it shows the surface again.
  WindowClose, WindowActivate, WindowDeactivate, WindowMoved,
  // The mouse wheel turned by WheelDelta notches over the window (ScreenPos: the pointer).
  MouseWheel,
};

// Mouse buttons and modifier keys held while an input event happened.
enum TInputButton : uint8_t { ibNone, ibLeft, ibRight, ibMiddle };
enum TInputModifier : uint32_t {
  imShift = 1, imCtrl = 2, imAlt = 4, imLeft = 8, imRight = 16, imMiddle = 32,
};

struct TInputEvent {
  TInputKind Kind = TInputKind::MouseMove;
  // The top-level window the event belongs to; none for a pointer outside every window.
  TPlatformWindow* Window = nullptr;
  TPoint ScreenPos;            // mouse events: the pointer, in screen coordinates
  TInputButton Button = ibNone;  // the button pressed or released
  uint32_t Modifiers = 0;      // TInputModifier bits, as they are after the event
  int Key = 0;                 // key events: virtual key code
  char Char = 0;               // character events: the 8-bit character
  int WheelDelta = 0;          // wheel events: notches, positive away from the user
};

// The local date and time as the desktop reports it.
struct TLocalTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
  int DayOfWeek = 0;  // 0 = Sunday
  friend bool operator==(const TLocalTime&, const TLocalTime&) = default;
};

// The shapes the mouse pointer takes over the windows.
enum class TCursorShape : uint8_t {
  Arrow, IBeam, Cross, UpArrow, Wait, ArrowWait, HandPoint, SizeNS, SizeWE, SizeNWSE, SizeNESW, SizeAll, No, Hidden,
};

// The frame a top-level window is drawn with: what its caption bar offers and whether
// the user can resize it. The surface is the client area in every style.
enum class TWindowFrame : uint8_t { None, Single, Sizeable, Dialog, ToolWindow, SizeableToolWindow };
// How a top-level window is shown.
enum class TWindowShowState : uint8_t { Normal, Minimized, Maximized };
// The show command a program is started with (how its main window should first appear).
enum TShowCommand : int { scShowNormal = 1, scShowMinimized = 2, scShowMaximized = 3, scShowMinNoActive = 7 };

// A top-level window: a screen rectangle and a surface of the same size, a pixel image the
// framework paints into (32 bits, or 8 with the halftone palette on a palette screen);
// nothing reaches the screen until it is presented.
class TPlatformWindow {
 public:
  virtual ~TPlatformWindow() = default;
  virtual TRect ScreenBounds() const = 0;
  // Moves and resizes; a new size gives the surface new pixels (undefined until painted).
  virtual void SetScreenBounds(const TRect& bounds) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetFrame(TWindowFrame frame) = 0;
  virtual void SetShowState(TWindowShowState state) = 0;
  // Puts the window above every other top-level window.
  virtual void BringToFront() = 0;
  // The same image for the window's life; its pixels may move (a new size, or the backend
  // lending them to the desktop), so a row address is never kept across calls.
  virtual TBitmapImage& Surface() = 0;
  // Shows the surface's pixels inside `rect` (surface coordinates) on the screen.
  virtual void Present(const TRect& rect) = 0;

  // Scaled windows. Everything above stays in surface pixels; the screen shows each of them
  // as a Scale() x Scale() block, and positions on the screen are divided back.
  virtual int Scale() const { return 1; }
  // At a scale above 1, the window's screen pixels for what has more detail than the
  // surface (a photograph at its own resolution): an image Scale() times the surface's
  // size, made on first use. Presenting shows it instead of the blocks where it was marked
  // shown. None at scale 1.
  virtual TBitmapImage* FineLayer() { return nullptr; }
  // Marks `region` (fine-layer pixels) as shown.
  virtual void ShowFine(const TRegion& /*region*/) {}
  // The surface is drawn anew inside `region` (surface pixels): the blocks show there
  // again until the fine layer is marked shown there once more.
  virtual void HideFine(const TRegion& /*region*/) {}
};

class TPlatformBackend {
 public:
  virtual ~TPlatformBackend() = default;

  virtual TSize ScreenSize() const = 0;
  virtual int BitsPerPixel() const = 0;
  virtual int PixelsPerInch() const = 0;
  // RGB (0x00BBGGRR) of system colour `index`; black outside the table.
  virtual uint32_t SystemColor(int index) const = 0;

  // How the desktop asked the program's first window to appear.
  virtual TShowCommand StartupShowCommand() const = 0;

  virtual std::unique_ptr<TPlatformWindow> CreateWindow(const TRect& screenBounds) = 0;
  // Sends every mouse event to `window` until released (none releases).
  virtual void SetCapture(TPlatformWindow* window) = 0;
  virtual TPoint CursorPos() const = 0;
  // The pointer's shape from now on, over every window of the program.
  virtual void SetCursorShape(TCursorShape shape) = 0;
  // The topmost visible top-level window at a screen point, or none.
  virtual TPlatformWindow* WindowAt(TPoint screenPos) const = 0;

  // Takes the oldest pending input event; false when there is none.
  virtual bool PollEvent(TInputEvent& event) = 0;
  // Blocks until input is pending or `timeoutMs` has passed (negative: no limit).
  virtual void WaitForEvents(int64_t timeoutMs) = 0;
  // Makes a WaitForEvents in progress return at once (from any thread).
  virtual void Wake() = 0;
  // Whether a timer falling due a little after another may be served in that one's
  // wake-up (each wake-up costs a desktop its event pumping). A virtual clock keeps every
  // due time exact.
  virtual bool CoalescesTimers() const { return false; }
  // A pass of the loop begins and ends (passes may nest in a modal loop). A desktop may
  // hold back the presents made during a pass and send them together at its end: one
  // round trip to the display instead of one per control.
  virtual void BeginPass() {}
  virtual void EndPass() {}

  // Milliseconds since an arbitrary start, never going back.
  virtual uint64_t TickCount() const = 0;
  virtual TLocalTime LocalTime() const = 0;

  // The application icon, shown by every window (none: the desktop's default).
  virtual void SetIcon(const TBitmapImage* icon) = 0;
};
