#include "platform/sdl/sdl_frame_hints.h"

namespace {
// The Motif window-manager hints, five longs: flags, functions, decorations, input mode,
// status.
constexpr unsigned long kHintFunctions = 1, kHintDecorations = 2;
constexpr unsigned long kFuncResize = 2, kFuncMove = 4, kFuncMinimize = 8, kFuncMaximize = 16, kFuncClose = 32;
constexpr unsigned long kDecorBorder = 2, kDecorResizeH = 4, kDecorTitle = 8, kDecorMenu = 16, kDecorMinimize = 32,
                        kDecorMaximize = 64;

struct TMotifHints {
  unsigned long Values[5];
};

TMotifHints MotifHintsOf(TWindowFrame frame) {
  unsigned long functions = kFuncMove | kFuncClose;
  unsigned long decorations = kDecorBorder | kDecorTitle | kDecorMenu;
  switch (frame) {
    case TWindowFrame::None: functions = kFuncMove; decorations = 0; break;
    case TWindowFrame::Sizeable:
      functions |= kFuncResize | kFuncMinimize | kFuncMaximize;
      decorations |= kDecorResizeH | kDecorMinimize | kDecorMaximize;
      break;
    case TWindowFrame::SizeableToolWindow:
      functions |= kFuncResize;
      decorations |= kDecorResizeH;
      break;
    case TWindowFrame::Single:
      functions |= kFuncMinimize;
      decorations |= kDecorMinimize;
      break;
    default: break;  // dialog and tool frames: move and close only
  }
  return {{kHintFunctions | kHintDecorations, functions, decorations, 0, 0}};
}
}  // namespace

// These bring the X11 headers, whose macros (None, Status, ...) would take our names above.
#include <SDL2/SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && defined(VELMORATH_HAVE_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>

void ApplyFrameHints(SDL_Window* window, TWindowFrame frame) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  ::Display* display = info.info.x11.display;
  const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  const TMotifHints hints = MotifHintsOf(frame);
  XChangeProperty(display, info.info.x11.window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints.Values), 5);
  // A dialog frame is a dialog to the window manager too: no minimise or maximise there
  // (SDL marks tool frames as utility windows itself). Normal follows for managers that
  // do not know dialogs. Set before the window is first shown, when managers read it.
  if (frame == TWindowFrame::Dialog) {
    const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom types[2] = {XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False),
                           XInternAtom(display, "_NET_WM_WINDOW_TYPE_NORMAL", False)};
    XChangeProperty(display, info.info.x11.window, type, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(types), 2);
  }
  XFlush(display);
}
#else
void ApplyFrameHints(SDL_Window*, TWindowFrame frame) { (void)MotifHintsOf(frame); }
#endif
