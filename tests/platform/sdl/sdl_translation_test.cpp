// What the desktop backend translates without a display: key symbols and modifier state
// into the framework's numbers, and text between UTF-8 and the 8-bit code page.
#include <gtest/gtest.h>

#include <SDL2/SDL_mouse.h>

#include "framework/port/backend_port.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_text.h"

TEST(SdlKeys, ClassicVirtualKeyNumbers) {
  EXPECT_EQ(VirtualKeyOf(SDLK_TAB), 9);
  EXPECT_EQ(VirtualKeyOf(SDLK_RETURN), 13);
  EXPECT_EQ(VirtualKeyOf(SDLK_KP_ENTER), 13);
  EXPECT_EQ(VirtualKeyOf(SDLK_ESCAPE), 27);
  EXPECT_EQ(VirtualKeyOf(SDLK_SPACE), 32);
  EXPECT_EQ(VirtualKeyOf(SDLK_LEFT), 37);
  EXPECT_EQ(VirtualKeyOf(SDLK_UP), 38);
  EXPECT_EQ(VirtualKeyOf(SDLK_RIGHT), 39);
  EXPECT_EQ(VirtualKeyOf(SDLK_DOWN), 40);
  EXPECT_EQ(VirtualKeyOf(SDLK_LALT), 18);
  EXPECT_EQ(VirtualKeyOf(SDLK_RSHIFT), 16);
  EXPECT_EQ(VirtualKeyOf(SDLK_F1), 112);
  EXPECT_EQ(VirtualKeyOf(SDLK_F12), 123);
  EXPECT_EQ(VirtualKeyOf(SDLK_KP_0), 96);
  EXPECT_EQ(VirtualKeyOf(SDLK_KP_9), 105);
}

TEST(SdlKeys, LettersAndDigitsAreTheirUpperCaseCharacters) {
  EXPECT_EQ(VirtualKeyOf(SDLK_a), 'A');
  EXPECT_EQ(VirtualKeyOf(SDLK_z), 'Z');
  EXPECT_EQ(VirtualKeyOf(SDLK_0), '0');
  EXPECT_EQ(VirtualKeyOf(SDLK_9), '9');
  EXPECT_EQ(VirtualKeyOf(SDLK_VOLUMEUP), 0) << "keys without a number are dropped";
}

TEST(SdlKeys, ModifiersEitherSide) {
  EXPECT_EQ(KeyModifiersOf(KMOD_NONE), 0u);
  EXPECT_EQ(KeyModifiersOf(KMOD_LSHIFT), uint32_t(imShift));
  EXPECT_EQ(KeyModifiersOf(KMOD_RCTRL | KMOD_LALT), uint32_t(imCtrl | imAlt));
  EXPECT_EQ(KeyModifiersOf(KMOD_NUM | KMOD_CAPS), 0u) << "lock states are no modifiers";
  EXPECT_EQ(ButtonModifiersOf(SDL_BUTTON_LMASK | SDL_BUTTON_MMASK), uint32_t(imLeft | imMiddle));
  EXPECT_EQ(ButtonModifiersOf(SDL_BUTTON_RMASK | SDL_BUTTON_X1MASK), uint32_t(imRight));
}

TEST(SdlKeys, EnterAlsoTypesCharacter13) {
  EXPECT_EQ(ControlCharacterOfKey(13, 0), '\r');
  EXPECT_EQ(ControlCharacterOfKey(13, imShift), '\r');
  EXPECT_EQ(ControlCharacterOfKey(13, imAlt), 0) << "Alt+Enter is a key only";
  EXPECT_EQ(ControlCharacterOfKey(13, imCtrl), 0);
  EXPECT_EQ(ControlCharacterOfKey('A', 0), 0) << "printable text comes from the text events";
}

TEST(SdlCursors, EveryShapeHasADesktopPointer) {
  EXPECT_EQ(SystemCursorOf(TCursorShape::Arrow), SDL_SYSTEM_CURSOR_ARROW);
  EXPECT_EQ(SystemCursorOf(TCursorShape::HandPoint), SDL_SYSTEM_CURSOR_HAND);
  EXPECT_EQ(SystemCursorOf(TCursorShape::IBeam), SDL_SYSTEM_CURSOR_IBEAM);
  EXPECT_EQ(SystemCursorOf(TCursorShape::SizeWE), SDL_SYSTEM_CURSOR_SIZEWE);
  EXPECT_EQ(SystemCursorOf(TCursorShape::SizeNS), SDL_SYSTEM_CURSOR_SIZENS);
  EXPECT_EQ(SystemCursorOf(TCursorShape::Wait), SDL_SYSTEM_CURSOR_WAIT);
  EXPECT_EQ(SystemCursorOf(TCursorShape::UpArrow), SDL_SYSTEM_CURSOR_ARROW) << "none of its own";
}

TEST(SdlText, CaptionsGoOutAsUtf8) {
  EXPECT_EQ(Cp1252ToUtf8("About"), "About");
  EXPECT_EQ(Cp1252ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");  // été
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");              // the euro sign
  EXPECT_EQ(Cp1252ToUtf8(""), "");
}

TEST(SdlText, TypedTextComesInAsCodePageBytes) {
  EXPECT_EQ(Utf8ToCp1252("a"), "a");
  EXPECT_EQ(Utf8ToCp1252("\xC3\xA9"), "\xE9");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC"), "\x80");
  EXPECT_EQ(Utf8ToCp1252("\xC5\x93"), "\x9C");  // oe ligature
  EXPECT_EQ(Utf8ToCp1252("x\xE4\xB8\xAD" "y"), "xy") << "a character the code page lacks is dropped";
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), "") << "four-byte sequences too";
}

TEST(SdlText, MalformedInputIsDroppedWithoutReadingPastTheEnd) {
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a");            // truncated at the end
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82"), "");          // truncated three-byte sequence
  EXPECT_EQ(Utf8ToCp1252("\xC3" "b"), "b");         // continuation missing
  EXPECT_EQ(Utf8ToCp1252("\x80\xBF" "c"), "c");     // stray continuation bytes
  EXPECT_EQ(Utf8ToCp1252("\xC1\x81"), "");          // overlong 'A'
  EXPECT_EQ(Utf8ToCp1252("\xE0\x81\x81"), "");      // overlong three-byte 'A'
  EXPECT_EQ(Utf8ToCp1252("\xFF" "d"), "d");
}

TEST(SdlText, EveryDefinedCodePageByteSurvivesTheRoundTrip) {
  for (int b = 0x20; b <= 0xFF; ++b) {
    const std::string one(1, char(b));
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << "byte " << b;
  }
}
