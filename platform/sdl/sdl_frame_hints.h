#pragma once
// What a window manager is told about a top-level window beyond what SDL says itself:
// which of its frame's functions and decorations the frame style offers.
#include <SDL2/SDL_video.h>

#include "framework/port/backend_port.h"

// The program's id on the desktop: the desktop entry's name, the X11 window class and the
// Wayland application id.
inline constexpr const char* kDesktopAppId = "org.velmorath.Velmorath";

// Tells an X11 window manager (through the Motif hints every common one reads) that a
// fixed frame offers no resize, minimise or maximise; a sizeable frame offers them all.
// Nothing to do on other drivers: there the frame is the compositor's or SDL's business.
void ApplyFrameHints(SDL_Window* window, TWindowFrame frame);
