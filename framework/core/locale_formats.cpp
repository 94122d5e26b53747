// The user's date and time formats from the C library's LC_TIME data, rewritten from the
// library's conversion language (%d.%m.%Y) into that of FormatDateTime (dd/mm/yyyy with
// '.' as the date separator).
#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <optional>
#include <string_view>

#include "framework/core/date_time.h"

namespace {

// Names in a UTF-8 locale are decoded; the system's text is 8-bit, so characters beyond
// Latin-1 become '?'. Bytes that are not valid UTF-8 are taken as Latin-1 already.
std::optional<std::string> Utf8ToLatin1(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t length = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : (b & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > s.size()) return std::nullopt;
    char32_t code = length == 1 ? b : b & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(s[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      code = (code << 6) | (next & 0x3F);
    }
    out += code < 0x80 || (code >= 0xA0 && code <= 0xFF) ? char(code) : '?';
    i += length;
  }
  return out;
}

std::string SystemText(const char* s) {
  const std::string_view text = s == nullptr ? "" : s;
  return Utf8ToLatin1(text).value_or(std::string(text));
}

class TLocaleReader {
 public:
  explicit TLocaleReader(locale_t locale) : FLocale(locale) {}

  std::string Info(nl_item item) const { return SystemText(nl_langinfo_l(item, FLocale)); }

  // Rewrites a conversion string; `separator` is the character the result's separator
  // token ('/' or ':') stands for, taken from the first punctuation between conversions.
  std::string Rewrite(nl_item item, char token, char& separator) const {
    separator = 0;
    std::string out;
    Rewrite(Info(item), token, separator, out, 0);
    return out;
  }

 private:
  // Locales define %r, %x and %X through other entries; the depth stops one that names
  // itself.
  static constexpr int kMaxNesting = 3;

  void Rewrite(std::string_view f, char token, char& separator, std::string& out, int depth) const {
    for (size_t i = 0; i < f.size(); ++i) {
      if (f[i] != '%') {
        Literal(f[i], token, separator, out);
        continue;
      }
      bool unpadded = false;
      while (i + 1 < f.size() && std::string_view("-_0^#EO").find(f[i + 1]) != std::string_view::npos) {
        unpadded = unpadded || f[i + 1] == '-';
        ++i;
      }
      while (i + 1 < f.size() && std::isdigit(static_cast<unsigned char>(f[i + 1]))) ++i;
      if (i + 1 >= f.size()) break;
      Conversion(f[++i], unpadded, token, separator, out, depth);
    }
  }

  void Conversion(char c, bool unpadded, char token, char& separator, std::string& out, int depth) const {
    const auto pick = [unpadded](const char* padded, const char* bare) { return unpadded ? bare : padded; };
    switch (c) {
      case 'd': out += pick("dd", "d"); break;
      case 'e': out += "d"; break;
      case 'm': out += pick("mm", "m"); break;
      case 'y': out += "yy"; break;
      case 'Y': out += "yyyy"; break;
      case 'b': case 'h': out += "mmm"; break;
      case 'B': out += "mmmm"; break;
      case 'a': out += "ddd"; break;
      case 'A': out += "dddd"; break;
      case 'H': case 'I': out += pick("hh", "h"); break;
      case 'k': case 'l': out += "h"; break;
      case 'M': out += pick("nn", "n"); break;
      case 'S': out += pick("ss", "s"); break;
      case 'p': case 'P': out += "ampm"; break;
      case 'D': Nested("%m/%d/%y", token, separator, out, depth); break;
      case 'F': Nested("%Y-%m-%d", token, separator, out, depth); break;
      case 'T': Nested("%H:%M:%S", token, separator, out, depth); break;
      case 'R': Nested("%H:%M", token, separator, out, depth); break;
      case 'r': Nested(Info(T_FMT_AMPM), token, separator, out, depth); break;
      case 'x': Nested(Info(D_FMT), token, separator, out, depth); break;
      case 'X': Nested(Info(T_FMT), token, separator, out, depth); break;
      case 'n': case 't': out += ' '; break;
      case '%': Literal('%', token, separator, out); break;
      default: break;  // time zones, week numbers and the like have no place here
    }
  }

  void Nested(std::string_view f, char token, char& separator, std::string& out, int depth) const {
    if (depth < kMaxNesting) Rewrite(f, token, separator, out, depth + 1);
  }

  // The first punctuation becomes the separator; letters and the format language's own
  // special characters are quoted so that they are copied as they are.
  static void Literal(char c, char token, char& separator, std::string& out) {
    const auto u = static_cast<unsigned char>(c);
    if (separator == 0 && std::ispunct(u) && c != '"' && c != '\'') separator = c;
    if (c == separator) out += token;
    else if (c == '"') out += "'\"'";
    else if (std::isalpha(u) || u >= 0x80 || c == '\'' || c == '/' || c == ':') out += std::string("\"") + c + '"';
    else out += c;
  }

  locale_t FLocale;
};

void ReadNames(const TLocaleReader& reader, TFormatSettings& s) {
  const auto keep = [](std::string& field, std::string value) {
    if (!value.empty()) field = std::move(value);
  };
  for (int i = 0; i < 12; ++i) {
    keep(s.ShortMonthNames[size_t(i)], reader.Info(nl_item(ABMON_1 + i)));
    keep(s.LongMonthNames[size_t(i)], reader.Info(nl_item(MON_1 + i)));
  }
  for (int i = 0; i < 7; ++i) {
    keep(s.ShortDayNames[size_t(i)], reader.Info(nl_item(ABDAY_1 + i)));
    keep(s.LongDayNames[size_t(i)], reader.Info(nl_item(DAY_1 + i)));
  }
}

void ReadFormats(const TLocaleReader& reader, TFormatSettings& s) {
  char separator = 0;
  if (std::string date = reader.Rewrite(D_FMT, '/', separator); !date.empty()) {
    s.ShortDateFormat = std::move(date);
    s.DateSeparator = separator != 0 ? separator : '/';
  }
  if (std::string time = reader.Rewrite(T_FMT, ':', separator); !time.empty()) {
    s.LongTimeFormat = std::move(time);
    s.TimeSeparator = separator != 0 ? separator : ':';
  }
  // A 24-hour locale has no AM and PM strings; they stay empty, as it says.
  s.TimeAMString = reader.Info(AM_STR);
  s.TimePMString = reader.Info(PM_STR);
}

TFormatSettings& UserSettingsSlot() {
  static TFormatSettings settings = [] {
    TFormatSettings s;
    LocaleFormatSettings("", s);
    return s;
  }();
  return settings;
}

}  // namespace

bool LocaleFormatSettings(const std::string& localeName, TFormatSettings& settings) {
  settings = TFormatSettings{};
  locale_t locale = newlocale(LC_TIME_MASK, localeName.c_str(), locale_t(nullptr));
  if (locale == locale_t(nullptr)) return false;
  const TLocaleReader reader(locale);
  ReadNames(reader, settings);
  ReadFormats(reader, settings);
  freelocale(locale);
  return true;
}

const TFormatSettings& UserFormatSettings() { return UserSettingsSlot(); }

void ReloadUserFormatSettings() { LocaleFormatSettings("", UserSettingsSlot()); }
