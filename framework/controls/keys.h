#pragma once
// Virtual key codes carried by key messages (WParam) and input events. Letters and
// digits are their upper-case character codes.
inline constexpr int vkBack = 8;
inline constexpr int vkTab = 9;
inline constexpr int vkReturn = 13;
inline constexpr int vkShift = 16;
inline constexpr int vkControl = 17;
inline constexpr int vkMenu = 18;  // Alt
inline constexpr int vkEscape = 27;
inline constexpr int vkSpace = 32;
inline constexpr int vkPrior = 33;
inline constexpr int vkNext = 34;
inline constexpr int vkEnd = 35;
inline constexpr int vkHome = 36;
inline constexpr int vkLeft = 37;
inline constexpr int vkUp = 38;
inline constexpr int vkRight = 39;
inline constexpr int vkDown = 40;
