// Asks a top-level window to close, as a window manager's close box does: the
// delete-window protocol message. A bare virtual display has no window manager, and
// destroying the window from outside (what xdotool offers) is no close request.
//   velmorath_close_request <window id>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <window id>\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = Window(std::strtoul(argv[1], nullptr, 0));
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent != 0 ? 0 : 1;
}
