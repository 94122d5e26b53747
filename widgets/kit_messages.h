#pragma once
// The kit's own message numbers, sent between its controls through Perform. They are
// plain numbers the framework does not know: its controls pass them to DefaultHandler.
#include <cstdint>

#include "framework/controls/messages.h"

// Sent by a group button that went down to every control beside it: WParam is the group
// index, LParam the button. The others of its group come up.
inline constexpr uint32_t GroupButtonPressed = 9249;
// Asked of a status pane by the blinking list: Result 1 while the pane blinks.
inline constexpr uint32_t BlinkQuery = 46056;
// Sent by the blinking list to each blinking pane: WParam 1 shows the blink colour, 0 the
// normal one.
inline constexpr uint32_t BlinkPhaseChanged = 46057;
// Posted by a tab control to itself: lay the strip out before the next paint.
inline constexpr uint32_t TabLayoutRequest = msgUser + 0x7A0;
