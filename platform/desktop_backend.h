#pragma once
// The backend a program runs on: the desktop's, when a display can be opened. The one
// place that knows which backends exist.
#include <memory>

#include "framework/port/backend_port.h"

class TSdlBackend;

// The desktop backend made before its display opens, so that the program's windows can be
// read on another thread meanwhile: windows made before Open has answered wait for it
// before they reach the desktop. The scale is read from the environment when it is made,
// and what the display libraries read there is set: it is made before any other thread.
class TOpeningDesktop {
 public:
  TOpeningDesktop();
  ~TOpeningDesktop();
  TOpeningDesktop(const TOpeningDesktop&) = delete;
  TOpeningDesktop& operator=(const TOpeningDesktop&) = delete;
  TPlatformBackend& Backend();
  // Opens the display, on the thread that runs the loop; false when none can be opened.
  bool Open();

 private:
  friend std::unique_ptr<TPlatformBackend> OpenDesktopBackend();
  std::unique_ptr<TSdlBackend> FBackend;
};

// Opens the display; none without one.
std::unique_ptr<TPlatformBackend> OpenDesktopBackend();
// Says on the error output that a graphical display is needed; answers the exit status, 2.
int ReportNoDisplay();
// Opens the display; without one, reports it and ends the program with status 2.
std::unique_ptr<TPlatformBackend> CreateDesktopBackend();
