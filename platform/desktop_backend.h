#pragma once
// The backend a program runs on: the desktop's, when a display can be opened. The one
// place that knows which backends exist.
#include <memory>

#include "framework/port/backend_port.h"

// Opens the display; none without one.
std::unique_ptr<TPlatformBackend> OpenDesktopBackend();
// Says on the error output that a graphical display is needed; answers the exit status, 2.
int ReportNoDisplay();
// Opens the display; without one, reports it and ends the program with status 2.
std::unique_ptr<TPlatformBackend> CreateDesktopBackend();
