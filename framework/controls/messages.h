#pragma once
// Messages: every control receives them through one WndProc/Dispatch. Window messages
// come from the message loop; notifications (from ntBase on) are sent between controls.
#include <cstdint>

#include "framework/core/geometry.h"

struct TMessage {
  uint32_t Msg = 0;
  intptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Window messages.
inline constexpr uint32_t msgNull = 0x0000;
inline constexpr uint32_t msgSize = 0x0001;
inline constexpr uint32_t msgSetFocus = 0x0002;
inline constexpr uint32_t msgKillFocus = 0x0003;
inline constexpr uint32_t msgPaint = 0x0004;
inline constexpr uint32_t msgEraseBackground = 0x0005;
inline constexpr uint32_t msgCancelMode = 0x0006;
// A top-level window is activated (WParam 1) or deactivated (WParam 0).
inline constexpr uint32_t msgActivate = 0x0007;
// A mouse button went down in a top-level window or one of its children.
inline constexpr uint32_t msgMouseActivate = 0x0008;
// The user asked to close a top-level window (its caption's close box).
inline constexpr uint32_t msgClose = 0x0009;
// Posted by a form closing with caFree: the form destroys itself when it arrives.
inline constexpr uint32_t msgRelease = 0x000A;
inline constexpr uint32_t msgKeyDown = 0x0010;
inline constexpr uint32_t msgKeyUp = 0x0011;
inline constexpr uint32_t msgChar = 0x0012;
inline constexpr uint32_t msgMouseMove = 0x0020;
inline constexpr uint32_t msgLButtonDown = 0x0021;
inline constexpr uint32_t msgLButtonUp = 0x0022;
inline constexpr uint32_t msgLButtonDblClk = 0x0023;
inline constexpr uint32_t msgRButtonDown = 0x0024;
inline constexpr uint32_t msgRButtonUp = 0x0025;
inline constexpr uint32_t msgRButtonDblClk = 0x0026;
inline constexpr uint32_t msgMButtonDown = 0x0027;
inline constexpr uint32_t msgMButtonUp = 0x0028;
inline constexpr uint32_t msgMButtonDblClk = 0x0029;
// The wheel turned: WParam carries the keys (low 16 bits) and the signed notches (high 16
// bits, positive away from the user), LParam the point like the other mouse messages.
inline constexpr uint32_t msgMouseWheel = 0x002A;
// The first number free for a program's own messages.
inline constexpr uint32_t msgUser = 0x1000;

// Control notifications.
inline constexpr uint32_t ntBase = 0x8000;
inline constexpr uint32_t ntEnabledChanged = ntBase + 0;
inline constexpr uint32_t ntColorChanged = ntBase + 1;
inline constexpr uint32_t ntFontChanged = ntBase + 2;
inline constexpr uint32_t ntParentColorChanged = ntBase + 3;
inline constexpr uint32_t ntParentFontChanged = ntBase + 4;
inline constexpr uint32_t ntTextChanged = ntBase + 5;
inline constexpr uint32_t ntVisibleChanged = ntBase + 6;
inline constexpr uint32_t ntMouseEnter = ntBase + 7;
inline constexpr uint32_t ntMouseLeave = ntBase + 8;
inline constexpr uint32_t ntEnter = ntBase + 9;
inline constexpr uint32_t ntExit = ntBase + 10;
inline constexpr uint32_t ntDialogKey = ntBase + 11;
inline constexpr uint32_t ntDialogChar = ntBase + 12;
inline constexpr uint32_t ntShowHintChanged = ntBase + 13;
inline constexpr uint32_t ntParentShowHintChanged = ntBase + 14;
// Sent by a form to every control in it after its focus moved; LParam is the control
// now focused (or none).
inline constexpr uint32_t ntFocusChanged = ntBase + 15;

// Mouse messages carry the point as two signed 16-bit halves of LParam.
inline intptr_t PointToLParam(TPoint p) {
  return intptr_t((uint32_t(uint16_t(int16_t(p.Y))) << 16) | uint16_t(int16_t(p.X)));
}
inline TPoint LParamToPoint(intptr_t lParam) {
  return {int16_t(uint16_t(lParam & 0xFFFF)), int16_t(uint16_t((lParam >> 16) & 0xFFFF))};
}
inline bool IsMouseMessage(uint32_t msg) { return msg >= msgMouseMove && msg <= msgMouseWheel; }
inline intptr_t WheelToWParam(int notches, uint32_t keys) {
  return intptr_t((uint32_t(uint16_t(int16_t(notches))) << 16) | uint16_t(keys));
}
inline int WParamToWheelNotches(intptr_t wParam) { return int16_t(uint16_t((wParam >> 16) & 0xFFFF)); }
