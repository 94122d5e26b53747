#include "platform/sdl/sdl_scale.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "framework/core/resource_strings.h"

namespace {
// The whole text is a decimal integer, nothing before or after it.
bool WholeInteger(const char* text, int& value) {
  const char* end = text + std::strlen(text);
  const auto [last, error] = std::from_chars(text, end, value);
  return error == std::errc() && last == end && last != text;
}
}  // namespace

int ScaleFromEnvironment(const char* velmorathScale, const char* gdkScale, std::string& refusal) {
  refusal.clear();
  int value = 0;
  if (velmorathScale != nullptr) {
    if (WholeInteger(velmorathScale, value) && value >= 1 && value <= kMaxScale) return value;
    refusal = Format(rs::SBadScale, velmorathScale);
    return 1;
  }
  if (gdkScale != nullptr && WholeInteger(gdkScale, value) && value >= 1) return std::min(value, kMaxScale);
  return 1;
}
