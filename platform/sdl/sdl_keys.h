#pragma once
// The desktop's key symbols, modifier state and pointer shapes in the framework's terms:
// classic virtual-key numbers (letters and digits are their upper-case characters),
// TInputModifier bits and TCursorShape.
#include <SDL2/SDL_keyboard.h>
#include <SDL2/SDL_mouse.h>

#include <cstdint>

// The virtual key of a key symbol; 0 for keys the framework has no number for.
int VirtualKeyOf(SDL_Keycode symbol);
// imShift, imCtrl and imAlt of a keyboard modifier state.
uint32_t KeyModifiersOf(uint16_t modifierState);
// imLeft, imRight and imMiddle of a mouse button mask.
uint32_t ButtonModifiersOf(uint32_t buttonMask);
// The character a key types besides its key event: 13 for Enter without Ctrl or Alt,
// else 0. The desktop's text events carry only printable text.
char ControlCharacterOfKey(int virtualKey, uint32_t modifiers);
enum class TCursorShape : uint8_t;
// The desktop's pointer for a shape; the arrow where it has none of its own.
SDL_SystemCursor SystemCursorOf(TCursorShape shape);
