#include "platform/sdl/sdl_backend.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <utility>

#include "framework/core/color.h"
#include "framework/core/exceptions.h"
#include "platform/sdl/sdl_frame_hints.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_scale.h"
#include "platform/sdl/sdl_text.h"
#include "platform/sdl/wayland_probe.h"

namespace {
// The desktop video drivers the environment names a display for: native Wayland first
// where a compositor can take it, X11 after it (a Wayland desktop's X11 server) or alone.
// Others would open no window (or a whole console screen), and trying one without its
// display only prints the failure.
std::string DesktopDrivers() {
  std::string drivers;
  if (std::getenv("WAYLAND_DISPLAY") != nullptr && WaylandCompositorHasSeat()) drivers = "wayland";
  if (std::getenv("DISPLAY") != nullptr) drivers += drivers.empty() ? "x11" : ",x11";
  return drivers;
}
}  // namespace

namespace {
// What SDL and the display libraries read from the environment and SDL's hints. Set while
// the program has one thread: the C library's environment must not change while another
// thread reads it (the fonts' and the windows' threads do).
void PrepareDesktopEnvironment() {
  // The window class (X11) and application id (Wayland) name the desktop entry, so that
  // docks and taskbars group the windows under its name and icon. SDL reads them from here.
  setenv("SDL_VIDEO_X11_WMCLASS", kDesktopAppId, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kDesktopAppId, 0);
  // The windows take keys, never composed text, so the X input method opens without the
  // locale's compose table: reading its thousands of sequences was most of the time spent
  // opening the display. A compose file the user names is read as before.
  setenv("XCOMPOSEFILE", "/dev/null", 0);
  // Interrupts end the program as usual instead of becoming a quit event nobody reads.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The click that activates a window is also a click on what lies under the pointer.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  // A viewer left open must not keep the screen saver away.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
}
}  // namespace

std::unique_ptr<TSdlBackend> NewSdlBackend(int scale) {
  PrepareDesktopEnvironment();
  return std::unique_ptr<TSdlBackend>(new TSdlBackend(std::clamp(scale, 1, kMaxScale)));
}

std::unique_ptr<TSdlBackend> CreateSdlBackend(int scale) {
  std::unique_ptr<TSdlBackend> backend = NewSdlBackend(scale);
  if (!backend->Open()) return nullptr;
  return backend;
}

bool TSdlBackend::Open() {
  bool opened = false;
  try {
    opened = OpenDisplay();
  } catch (...) {
    FOpenPromise.set_value(false);
    throw;
  }
  if (opened) FWakeEvent = SDL_RegisterEvents(1);
  FOpen = opened;
  FOpenPromise.set_value(opened);
  return opened;
}

void TSdlBackend::WaitForOpen() const {
  if (!FOpened.get()) throw EOutOfResources(rs::SWindowCreateError, std::string("no display"));
}

bool TSdlBackend::OpenDisplay() {
  // A driver the user chose in SDL's own variable is taken as it is.
  if (std::getenv("SDL_VIDEODRIVER") == nullptr) {
    const std::string drivers = DesktopDrivers();
    if (drivers.empty()) return false;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
  // X11 surfaces in shared memory: the accelerated path costs a GL context per window for
  // nothing. SDL's Wayland driver has no surfaces of its own; it needs that path.
  if (std::string_view(SDL_GetCurrentVideoDriver()) == "x11") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_GetNumVideoDisplays() < 1) {
    SDL_Quit();
    return false;
  }
  return true;
}

TSdlBackend::TSdlBackend(int scale)
    : FScale(scale), FReportFirstFrame(std::getenv("VELMORATH_REPORT_FIRST_FRAME") != nullptr) {}

// SDL stays initialised until the process ends. SDL ends a wait by sending an event to
// a window over a second connection to the display, also for an event that arrives
// during the wait, such as the close request that destroys that very window. The
// display answers that send with an error, harmless until the connection is closed:
// closing it reads the error, and the display library's default answer ends the process.
TSdlBackend::~TSdlBackend() {
  for (SDL_Cursor* cursor : FCursors)
    if (cursor != nullptr) SDL_FreeCursor(cursor);
}

TSize TSdlBackend::ScreenSize() const {
  AwaitDisplay();
  SDL_Rect r{0, 0, 0, 0};
  SDL_GetDisplayBounds(0, &r);
  return {r.w / FScale, r.h / FScale};
}

namespace {
// Rounds toward minus infinity, so that a position left of or above a window stays outside it.
int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }
}  // namespace

TPoint TSdlBackend::Unscaled(int x, int y) const { return {FloorDiv(x, FScale), FloorDiv(y, FScale)}; }

uint32_t TSdlBackend::SystemColor(int index) const { return SystemColorRGB(index); }

// ---- windows ----

std::unique_ptr<TPlatformWindow> TSdlBackend::CreateWindow(const TRect& screenBounds) {
  return std::make_unique<TSdlWindow>(*this, screenBounds);
}

void TSdlBackend::WindowDestroyed(TSdlWindow* window) {
  std::erase(FWindows, window);
  if (FCapture == window) SetCapture(nullptr);
  if (FFocus == window) FFocus = nullptr;
  if (FGrab == window) FGrab = nullptr;
  std::erase_if(FPending, [window](const TInputEvent& e) { return e.Window == window; });
}

void TSdlBackend::WindowRaised(TSdlWindow* window) {
  std::erase(FWindows, window);
  FWindows.push_back(window);
}

TSdlWindow* TSdlBackend::WindowOfId(Uint32 id) const {
  for (TSdlWindow* w : FWindows)
    if (w->Handle() != nullptr && SDL_GetWindowID(w->Handle()) == id) return w;
  return nullptr;
}

TPlatformWindow* TSdlBackend::WindowAt(TPoint screenPos) const {
  for (auto it = FWindows.rbegin(); it != FWindows.rend(); ++it)
    if ((*it)->Visible() && (*it)->ScreenBounds().Contains(screenPos)) return *it;
  return nullptr;
}

// While a button is held the desktop keeps sending the pointer to the captured window,
// even outside it.
void TSdlBackend::SetCapture(TPlatformWindow* window) {
  AwaitDisplay();
  FCapture = static_cast<TSdlWindow*>(window);
  SDL_CaptureMouse(FCapture != nullptr ? SDL_TRUE : SDL_FALSE);
}

TPoint TSdlBackend::CursorPos() const { return FPointer; }

void TSdlBackend::SetCursorShape(TCursorShape shape) {
  AwaitDisplay();
  if (shape == TCursorShape::Hidden) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_Cursor*& cursor = FCursors[size_t(shape)];
  if (cursor == nullptr) cursor = SDL_CreateSystemCursor(SystemCursorOf(shape));
  // A desktop without the shape keeps the one it shows.
  if (cursor != nullptr) SDL_SetCursor(cursor);
  SDL_ShowCursor(SDL_ENABLE);
}

void TSdlBackend::SetIcon(const TBitmapImage* icon) {
  FIcon.reset();
  if (icon == nullptr || icon->Width == 0 || icon->Height == 0) return;
  FIcon.reset(SDL_CreateRGBSurfaceWithFormat(0, icon->Width, icon->Height, 32, SDL_PIXELFORMAT_ARGB8888));
  if (FIcon == nullptr) return;
  // An image without any alpha is opaque, not invisible.
  bool anyAlpha = false;
  if (icon->Format == pf32bit)
    for (int y = 0; y < icon->Height && !anyAlpha; ++y)
      for (int x = 0; x < icon->Width && !anyAlpha; ++x) anyAlpha = icon->Row(y)[x * 4 + 3] != 0;
  for (int y = 0; y < icon->Height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(FIcon->pixels) + y * FIcon->pitch);
    for (int x = 0; x < icon->Width; ++x) {
      const uint32_t rgb = icon->PixelRGB(x, y);  // 0x00BBGGRR
      const uint32_t alpha = anyAlpha ? icon->Row(y)[x * 4 + 3] : 0xFF;
      row[x] = (alpha << 24) | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    }
  }
  for (TSdlWindow* w : FWindows) w->ApplyIcon(FIcon.get());
}

// Every pass's end sends what was held, a nested one's too: a modal loop inside a handler
// shows its presents while the outer pass waits.
void TSdlBackend::EndPass() {
  if (FPassDepth > 0) --FPassDepth;
  SendHeldPresents();
}

void TSdlBackend::SendHeldPresents() {
  for (TSdlWindow* w : FWindows) w->SendHeldPresents();
}

// The steady clock is the system's monotonic clock, the one bench/ starts the program by.
void TSdlBackend::Presented() {
  if (FReportFirstFrame) FLastPresent = std::chrono::steady_clock::now();
}

// ---- the clock ----

uint64_t TSdlBackend::TickCount() const {
  using namespace std::chrono;
  return uint64_t(duration_cast<milliseconds>(steady_clock::now() - FStart).count());
}

TLocalTime TSdlBackend::LocalTime() const {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const int ms = int(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
          local.tm_sec,         ms,                local.tm_wday};
}

// ---- waiting ----

// A wait that just ended empty-handed has read the display: asking it again at once only
// costs a round of system calls. What arrives meanwhile ends the next wait at once.
bool TSdlBackend::PollEvent(TInputEvent& event) {
  AwaitDisplay();
  SDL_Event e;
  if (std::exchange(FDisplayJustRead, false) && FPending.empty()) return false;
  while (FPending.empty() && SDL_PollEvent(&e)) Translate(e);
  if (FPending.empty()) return false;
  event = FPending.front();
  FPending.pop_front();
  return true;
}

// The timeout is already in whole milliseconds of the tick count, so a timer is due
// when the wait ends, never a fraction of a millisecond before.
void TSdlBackend::WaitForEvents(int64_t timeoutMs) {
  AwaitDisplay();
  SendHeldPresents();  // never wait with pixels held back
  if (!FPending.empty() || FWakeRequested.exchange(false)) return;
  // The loop waits only once nothing is left to paint: the last present finished a frame.
  if (FReportFirstFrame && FLastPresent.time_since_epoch().count() != 0) {
    FReportFirstFrame = false;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(FLastPresent.time_since_epoch()).count();
    std::fprintf(stderr, "first frame %lld\n", static_cast<long long>(ns));
  }
  FWaiting = true;
  SDL_Event e;
  if (!FWakeRequested) {
    if (SDL_WaitEventTimeout(&e, timeoutMs < 0 ? -1 : int(std::min<int64_t>(timeoutMs, INT_MAX)))) Translate(e);
    else FDisplayJustRead = true;
  }
  FWaiting = false;
  FWakeRequested = false;
}

// Only a wait in progress needs an event to end it. SDL wakes a wait by sending to one of
// the windows, and outside a wait that window may already be gone, which the display
// answers with a fatal error.
void TSdlBackend::Wake() {
  FWakeRequested = true;
  if (!FWaiting) return;
  SDL_Event e{};
  e.type = FWakeEvent;
  SDL_PushEvent(&e);
}

// ---- input ----

void TSdlBackend::Queue(TInputKind kind, TPlatformWindow* window) {
  TInputEvent e;
  e.Kind = kind;
  e.Window = window;
  FPending.push_back(e);
}

void TSdlBackend::Translate(const SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: TranslateMouse(e); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: TranslateKey(e); break;
    case SDL_TEXTINPUT: TranslateText(e.text); break;
    case SDL_WINDOWEVENT: TranslateWindowEvent(e.window); break;
    case SDL_MOUSEWHEEL: TranslateWheel(e.wheel); break;
    default: break;  // wake-ups, the last window closing: nothing for the framework
  }
}

namespace {
TInputButton ButtonOf(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return ibLeft;
    case SDL_BUTTON_RIGHT: return ibRight;
    case SDL_BUTTON_MIDDLE: return ibMiddle;
    default: return ibNone;
  }
}

uint32_t ButtonBit(TInputButton button) {
  switch (button) {
    case ibLeft: return imLeft;
    case ibRight: return imRight;
    case ibMiddle: return imMiddle;
    default: return 0;
  }
}
}  // namespace

// Once the pointer has left every window SDL may name no window for an event, though a
// held button keeps the events coming: they belong to the window the button went down
// in, at the pointer's screen position.
void TSdlBackend::TranslateMouse(const SDL_Event& e) {
  const bool motion = e.type == SDL_MOUSEMOTION;
  TSdlWindow* window = WindowOfId(motion ? e.motion.windowID : e.button.windowID);
  TInputEvent out;
  if (window != nullptr) {
    out.ScreenPos = window->ScreenBounds().TopLeft() +
                    Unscaled(motion ? e.motion.x : e.button.x, motion ? e.motion.y : e.button.y);
  } else {
    window = FCapture != nullptr ? FCapture : FGrab;
    if (window == nullptr) return;
    out.ScreenPos = FPointer;
  }
  FPointer = out.ScreenPos;
  out.Window = FCapture != nullptr ? FCapture : FGrab != nullptr ? FGrab : window;
  if (motion) {
    FButtons = ButtonModifiersOf(e.motion.state);
    out.Kind = TInputKind::MouseMove;
  } else {
    out.Button = ButtonOf(e.button.button);
    if (out.Button == ibNone) return;
    if (e.type == SDL_MOUSEBUTTONDOWN) {
      if (FButtons == 0) FGrab = window;
      FButtons |= ButtonBit(out.Button);
      // Every second click in a row is a double click; the third starts over.
      out.Kind = e.button.clicks % 2 == 0 ? TInputKind::MouseDoubleClick : TInputKind::MouseDown;
    } else {
      FButtons &= ~ButtonBit(out.Button);
      out.Kind = TInputKind::MouseUp;
    }
  }
  if (FButtons == 0) FGrab = nullptr;
  out.Modifiers = KeyModifiersOf(SDL_GetModState()) | FButtons;
  FPending.push_back(out);
}

// The wheel turns over the window under the pointer, or the one holding the mouse; a
// sideways wheel is not ours to use.
void TSdlBackend::TranslateWheel(const SDL_MouseWheelEvent& e) {
  const int notches = e.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.y : e.y;
  if (notches == 0) return;
  TSdlWindow* window = FCapture != nullptr ? FCapture : FGrab != nullptr ? FGrab : WindowOfId(e.windowID);
  if (window == nullptr) return;
  TInputEvent out;
  out.Kind = TInputKind::MouseWheel;
  out.Window = window;
  out.ScreenPos = FPointer;
  out.WheelDelta = notches;
  out.Modifiers = KeyModifiersOf(SDL_GetModState()) | FButtons;
  FPending.push_back(out);
}

// Keys belong to the window with the keyboard; a desktop without a window manager may
// not have told anyone, and then the window raised last has it.
TSdlWindow* TSdlBackend::KeyboardWindow(Uint32 id) const {
  if (TSdlWindow* w = WindowOfId(id)) return w;
  if (FFocus != nullptr) return FFocus;
  for (auto it = FWindows.rbegin(); it != FWindows.rend(); ++it)
    if ((*it)->Visible()) return *it;
  return nullptr;
}

void TSdlBackend::TranslateKey(const SDL_Event& e) {
  const int key = VirtualKeyOf(e.key.keysym.sym);
  if (key == 0) return;
  TInputEvent out;
  out.Kind = e.type == SDL_KEYDOWN ? TInputKind::KeyDown : TInputKind::KeyUp;
  out.Window = KeyboardWindow(e.key.windowID);
  out.Key = key;
  out.Modifiers = KeyModifiersOf(e.key.keysym.mod) | FButtons;
  FPending.push_back(out);
  // The desktop's text events leave out the keys that type a control character.
  if (const char typed = e.type == SDL_KEYDOWN ? ControlCharacterOfKey(key, out.Modifiers) : 0) {
    out.Kind = TInputKind::Char;
    out.Key = 0;
    out.Char = typed;
    FPending.push_back(out);
    return;
  }
  // Alt with a character key also brings the character, with Alt held: the form's
  // dialog-character path (accelerators) reads it there. Typing sends no text for it.
  const SDL_Keycode symbol = e.key.keysym.sym;
  if (e.type == SDL_KEYDOWN && (out.Modifiers & imAlt) && !(out.Modifiers & imCtrl) && symbol > 32 && symbol < 127) {
    out.Kind = TInputKind::Char;
    out.Key = 0;
    out.Char = char(symbol);
    FPending.push_back(out);
  }
}

// Ctrl and Alt combinations are keys (accelerators, dialog characters), not typing.
void TSdlBackend::TranslateText(const SDL_TextInputEvent& e) {
  if (SDL_GetModState() & (KMOD_CTRL | KMOD_ALT)) return;
  TSdlWindow* window = KeyboardWindow(e.windowID);
  const uint32_t modifiers = KeyModifiersOf(SDL_GetModState()) | FButtons;
  for (char c : Utf8ToCp1252(e.text)) {
    TInputEvent out;
    out.Kind = TInputKind::Char;
    out.Window = window;
    out.Char = c;
    out.Modifiers = modifiers;
    FPending.push_back(out);
  }
}

void TSdlBackend::TranslateWindowEvent(const SDL_WindowEvent& e) {
  TSdlWindow* window = WindowOfId(e.windowID);
  if (window == nullptr) return;
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: Queue(TInputKind::WindowClose, window); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      FFocus = window;
      Queue(TInputKind::WindowActivate, window);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (FFocus == window) FFocus = nullptr;
      Queue(TInputKind::WindowDeactivate, window);
      break;
    case SDL_WINDOWEVENT_EXPOSED: window->PresentAll(); break;
    // A held button keeps the pointer's events coming from outside: they say where it is.
    case SDL_WINDOWEVENT_LEAVE:
      if (FButtons == 0) FPointer = kPointerOutside;
      break;
    case SDL_WINDOWEVENT_MOVED:
      if (TPoint to = Unscaled(e.data1, e.data2); to != window->ScreenBounds().TopLeft()) {
        window->MovedTo(to);
        Queue(TInputKind::WindowMoved, window);
        FPending.back().ScreenPos = to;
      }
      break;
    default: break;
  }
}
