#pragma once
// The desktop's key symbols and modifier state in the framework's terms: classic
// virtual-key numbers (letters and digits are their upper-case characters) and
// TInputModifier bits.
#include <SDL2/SDL_keyboard.h>

#include <cstdint>

// The virtual key of a key symbol; 0 for keys the framework has no number for.
int VirtualKeyOf(SDL_Keycode symbol);
// imShift, imCtrl and imAlt of a keyboard modifier state.
uint32_t KeyModifiersOf(uint16_t modifierState);
// imLeft, imRight and imMiddle of a mouse button mask.
uint32_t ButtonModifiersOf(uint32_t buttonMask);
