// Times a program as a user sees it start: from just before it is started until its
// window, found on the X display by its title, shows every given pixel in its colour.
// Polls the window's pixels about every half millisecond. Prints the time in
// milliseconds and ends the program.
//   screen_frame_timer <title> <x,y,RRGGBB>... -- <program> [arguments...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
struct TCheck {
  int X = 0, Y = 0;
  unsigned long Rgb = 0;
};

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// A window that went away between finding and reading it is not an error here.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

// The viewable top-level window with this title, or none.
Window FindWindow(Display* display, const std::string& title) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name != nullptr) {
      XWindowAttributes attributes{};
      if (title == name && XGetWindowAttributes(display, children[i], &attributes) &&
          attributes.map_state == IsViewable)
        found = children[i];
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

bool Shows(Display* display, Window window, const TCheck& check) {
  XImage* image = XGetImage(display, window, check.X, check.Y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return (pixel & 0xFFFFFF) == check.Rgb;
}
}  // namespace

int main(int argc, char** argv) {
  int separator = 2;
  while (separator < argc && std::strcmp(argv[separator], "--") != 0) ++separator;
  if (argc < 4 || separator >= argc - 1) {
    std::fprintf(stderr, "usage: screen_frame_timer <title> <x,y,RRGGBB>... -- <program> [arguments...]\n");
    return 2;
  }
  std::vector<TCheck> checks;
  for (int i = 2; i < separator; ++i) {
    TCheck c;
    if (std::sscanf(argv[i], "%d,%d,%lx", &c.X, &c.Y, &c.Rgb) != 3) {
      std::fprintf(stderr, "screen_frame_timer: not x,y,RRGGBB: %s\n", argv[i]);
      return 2;
    }
    checks.push_back(c);
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "screen_frame_timer: no X display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  const long long started = MonotonicNs();
  const pid_t child = fork();
  if (child < 0) return 2;
  if (child == 0) {
    execv(argv[separator + 1], argv + separator + 1);
    _exit(127);
  }
  const long long limit = started + 30'000'000'000LL;
  long long shown = -1;
  Window window = 0;
  while (shown < 0 && MonotonicNs() < limit) {
    if (window == 0) window = FindWindow(display, argv[1]);
    bool all = window != 0;
    for (size_t i = 0; all && i < checks.size(); ++i) all = Shows(display, window, checks[i]);
    if (all) shown = MonotonicNs();
    else usleep(500);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  if (shown < 0) {
    std::fprintf(stderr, "screen_frame_timer: %s never showed its whole frame\n", argv[separator + 1]);
    return 1;
  }
  std::printf("%.2f\n", double(shown - started) / 1e6);
  return 0;
}
