#pragma once
// What the desktop backend asks a Wayland compositor before it lets SDL's Wayland driver
// start on it.

// True when the compositor WAYLAND_DISPLAY names answers and offers a seat (an input
// device group). SDL 2.26's Wayland driver crashes inside its start-up on a compositor
// without one (a headless compositor), and a crash leaves no fallback; a viewer there
// would have no pointer or keyboard anyway. False as well when the client library is not
// built in, or nothing answers.
bool WaylandCompositorHasSeat();
