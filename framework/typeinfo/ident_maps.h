#pragma once
// Identifier-to-integer maps per property type (colour names, character sets, cursors).
// The last map registered for a type is the one used.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TTypeInfo;

using TIdentToInt = std::function<std::optional<int32_t>(std::string_view)>;
using TIntToIdent = std::function<std::optional<std::string>(int32_t)>;

void RegisterIntegerConsts(const TTypeInfo& type, TIdentToInt identToInt, TIntToIdent intToIdent);
// The conversions of the last map registered for `type`, or empty functions.
TIdentToInt FindIdentToInt(const TTypeInfo& type);
TIntToIdent FindIntToIdent(const TTypeInfo& type);

// Integer property types with identifier maps of the framework's own (colours are in color.h).
enum TFontCharset : uint8_t { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, OEM_CHARSET = 255 };
const TTypeInfo& TypeInfoOf(TFontCharset*);
enum TCursor : int16_t {
  crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crUpArrow = -5, crSizeNESW = -6,
  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14,
  crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21,
  crSize = -22, crSizeAll = -23,
};
const TTypeInfo& TypeInfoOf(TCursor*);
