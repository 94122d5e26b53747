#pragma once
// The backend a program runs on: the desktop's, when a display can be opened. The one
// place that knows which backends exist.
#include <memory>

#include "framework/port/backend_port.h"

// Opens the display; without one, says on the error output that a graphical display is
// needed and ends the program with status 2.
std::unique_ptr<TPlatformBackend> CreateDesktopBackend();
