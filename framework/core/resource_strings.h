#pragma once
// The program's string table: every message an exception or a dialog shows.
#include <cstdio>
#include <string>
#include <type_traits>
#include <utility>

namespace rs {
// Streaming and loading
inline constexpr const char* SInvalidStreamFormat = "Invalid stream format";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SWriteError = "Stream write error";
inline constexpr const char* SUnknownProperty = "Property %s does not exist";
inline constexpr const char* SInvalidPropertyPath = "Invalid property path";
inline constexpr const char* SInvalidPropertyValue = "Invalid property value";
inline constexpr const char* SReadOnlyProperty = "Property is read-only";
inline constexpr const char* SPropertyException = "Error reading %s%s%s: %s";
inline constexpr const char* SAncestorNotFound = "Ancestor for '%s' not found";
inline constexpr const char* SClassNotFound = "Class %s not found";
inline constexpr const char* SResNotFound = "Resource %s not found";
inline constexpr const char* SInvalidName = "''%s'' is not a valid component name";
inline constexpr const char* SDuplicateName = "A component named %s already exists";
inline constexpr const char* SDuplicateClass = "A class named %s already exists";
inline constexpr const char* SFieldClassMismatch = "Component %s is a %s, not the %s its field is";
inline constexpr const char* SAssignError = "Cannot assign a %s to a %s";
// Text form sources (the form compiler)
inline constexpr const char* SParseError = "%s on line %d";
inline constexpr const char* SParseErrorAt = "%s on line %d, column %d";
inline constexpr const char* SInvalidUtf8 = "Invalid UTF-8 text";
inline constexpr const char* SUnmappableChar = "Character not in the 8-bit code page";
inline constexpr const char* SIdentifierExpected = "Identifier expected";
inline constexpr const char* SStringExpected = "String expected";
inline constexpr const char* SNumberExpected = "Number expected";
inline constexpr const char* SCharExpected = "''%s'' expected";
inline constexpr const char* SInvalidBinary = "Invalid binary value";
inline constexpr const char* SInvalidNumber = "Invalid numeric value";
inline constexpr const char* SValueExpected = "Property value expected";
inline constexpr const char* SFOpenError = "Cannot open file \"%s\"";
// Dates and times
inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SInvalidDateTimeValue = "Invalid date-time value";
// Graphics
inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* SScanLine = "Scan line index out of range";
inline constexpr const char* SDCSaveError = "Error saving device context";
inline constexpr const char* SDCRestoreError = "Error restoring device context";
inline constexpr const char* SRegionError = "Error creating region";
inline constexpr const char* SNoCanvasHandle = "Canvas does not allow drawing";
inline constexpr const char* SOutOfResources = "Out of system resources";
inline constexpr const char* SFCreateError = "Cannot create file %s";
inline constexpr const char* SRegionCacheCapacity = "Capacity must be -1 (to cache all regions) or > 0";
inline constexpr const char* SChangeJPGSize = "Cannot change the size of a JPEG image";
inline constexpr const char* SJPEGError = "JPEG error #%d";
// Windows and controls
inline constexpr const char* SControlParentSelf = "A control cannot have itself as its parent";
inline constexpr const char* SParentedTopLevel = "Control '%s' has a parent window";
inline constexpr const char* SWindowSystemInstalled = "A window system is already running";
inline constexpr const char* SWindowCreateError = "Error creating window: %s";
inline constexpr const char* SNoDisplay = "This program needs a graphical display, and none could be opened.";
inline constexpr const char* SBadScale = "VELMORATH_SCALE must be 1, 2 or 3, not \"%s\"; the windows are shown at scale 1.";
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";
inline constexpr const char* SCannotShowModal = "Cannot make a visible window modal";
inline constexpr const char* SApplicationInstalled = "An application is already running";
inline constexpr const char* SWindowSystemMissing = "The application has not been initialised";
inline constexpr const char* SOKButton = "OK";
inline constexpr const char* SJPEGImageFile = "JPEG Image File";
// Widget kit
inline constexpr const char* SInvalidPageIndex = "%d is an invalid PageIndex value. PageIndex must be between 0 and %d";
inline constexpr const char* SPageVisible = "You cannot change the Visible property of a page";
inline constexpr const char* STabShapePoints = "Incorrect number of points in tab shape";
}  // namespace rs

namespace detail {
template <class T>
auto FormatArg(const T& v) {
  if constexpr (std::is_same_v<T, std::string>) return v.c_str();
  else return v;
}
}  // namespace detail

// printf-style formatting of a string-table entry; std::string arguments are accepted for %s.
template <class... Args>
std::string Format(const char* fmt, const Args&... args) {
  if constexpr (sizeof...(Args) == 0) {
    return fmt;
  } else {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::snprintf(nullptr, 0, fmt, detail::FormatArg(args)...);
    if (n <= 0) return {};
    std::string out(size_t(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), fmt, detail::FormatArg(args)...);
#pragma GCC diagnostic pop
    out.resize(size_t(n));
    return out;
  }
}
