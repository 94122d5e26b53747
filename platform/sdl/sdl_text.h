#pragma once
// Text crosses into and out of the desktop as UTF-8, while the framework's text is 8-bit
// cp1252: captions go out converted, typed characters come in converted.
#include <string>
#include <string_view>

std::string Cp1252ToUtf8(std::string_view text);
// Characters the code page cannot hold are dropped; so are malformed and overlong
// sequences.
std::string Utf8ToCp1252(std::string_view text);
