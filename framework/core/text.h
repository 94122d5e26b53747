#pragma once
// 8-bit text helpers: names in streams and class tables compare by ASCII case only.
#include <string>
#include <string_view>

bool SameText(std::string_view a, std::string_view b);
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// A component name: a letter or underscore, then letters, digits or underscores.
bool IsValidIdent(std::string_view s);
