#include "platform/sdl/sdl_keys.h"

#include <SDL2/SDL_mouse.h>

#include "framework/port/backend_port.h"

namespace {
struct TKeyPair {
  SDL_Keycode Symbol;
  int Key;
};

// Keys outside the letter and digit ranges.
constexpr TKeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, 8},  {SDLK_TAB, 9},       {SDLK_RETURN, 13},    {SDLK_KP_ENTER, 13},   {SDLK_LSHIFT, 16},
    {SDLK_RSHIFT, 16},    {SDLK_LCTRL, 17},    {SDLK_RCTRL, 17},     {SDLK_LALT, 18},       {SDLK_RALT, 18},
    {SDLK_PAUSE, 19},     {SDLK_CAPSLOCK, 20}, {SDLK_ESCAPE, 27},    {SDLK_SPACE, 32},      {SDLK_PAGEUP, 33},
    {SDLK_PAGEDOWN, 34},  {SDLK_END, 35},      {SDLK_HOME, 36},      {SDLK_LEFT, 37},       {SDLK_UP, 38},
    {SDLK_RIGHT, 39},     {SDLK_DOWN, 40},     {SDLK_INSERT, 45},    {SDLK_DELETE, 46},     {SDLK_KP_MULTIPLY, 106},
    {SDLK_KP_PLUS, 107},  {SDLK_KP_MINUS, 109}, {SDLK_KP_PERIOD, 110}, {SDLK_KP_DIVIDE, 111},
};
}  // namespace

int VirtualKeyOf(SDL_Keycode symbol) {
  if (symbol >= SDLK_a && symbol <= SDLK_z) return 'A' + (symbol - SDLK_a);
  if (symbol >= SDLK_0 && symbol <= SDLK_9) return '0' + (symbol - SDLK_0);
  if (symbol >= SDLK_KP_1 && symbol <= SDLK_KP_9) return 97 + (symbol - SDLK_KP_1);
  if (symbol == SDLK_KP_0) return 96;
  if (symbol >= SDLK_F1 && symbol <= SDLK_F12) return 112 + (symbol - SDLK_F1);
  for (const TKeyPair& pair : kNamedKeys)
    if (pair.Symbol == symbol) return pair.Key;
  return 0;
}

uint32_t KeyModifiersOf(uint16_t modifierState) {
  uint32_t modifiers = 0;
  if (modifierState & KMOD_SHIFT) modifiers |= imShift;
  if (modifierState & KMOD_CTRL) modifiers |= imCtrl;
  if (modifierState & KMOD_ALT) modifiers |= imAlt;
  return modifiers;
}

uint32_t ButtonModifiersOf(uint32_t buttonMask) {
  uint32_t modifiers = 0;
  if (buttonMask & SDL_BUTTON_LMASK) modifiers |= imLeft;
  if (buttonMask & SDL_BUTTON_RMASK) modifiers |= imRight;
  if (buttonMask & SDL_BUTTON_MMASK) modifiers |= imMiddle;
  return modifiers;
}

char ControlCharacterOfKey(int virtualKey, uint32_t modifiers) {
  constexpr int kReturn = 13;
  if (virtualKey == kReturn && (modifiers & (imCtrl | imAlt)) == 0) return '\r';
  return 0;
}

SDL_SystemCursor SystemCursorOf(TCursorShape shape) {
  switch (shape) {
    case TCursorShape::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
    case TCursorShape::Cross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case TCursorShape::Wait: return SDL_SYSTEM_CURSOR_WAIT;
    case TCursorShape::ArrowWait: return SDL_SYSTEM_CURSOR_WAITARROW;
    case TCursorShape::HandPoint: return SDL_SYSTEM_CURSOR_HAND;
    case TCursorShape::SizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
    case TCursorShape::SizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case TCursorShape::SizeNWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case TCursorShape::SizeNESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case TCursorShape::SizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
    case TCursorShape::No: return SDL_SYSTEM_CURSOR_NO;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}
