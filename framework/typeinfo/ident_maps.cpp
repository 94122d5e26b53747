#include "framework/typeinfo/ident_maps.h"

#include <mutex>
#include <vector>

#include "framework/core/color.h"
#include "framework/core/text.h"
#include "framework/typeinfo/type_info.h"

namespace {
struct TMapEntry {
  const TTypeInfo* Type;
  TIdentToInt IdentToInt;
  TIntToIdent IntToIdent;
};

struct TMaps {
  TMaps();
  std::mutex Lock;
  std::vector<TMapEntry> Entries;
};

TMaps& Maps() {
  static TMaps maps;
  return maps;
}

const TMapEntry* FindLast(const std::vector<TMapEntry>& entries, const TTypeInfo& type) {
  for (auto it = entries.rbegin(); it != entries.rend(); ++it)
    if (it->Type == &type) return &*it;
  return nullptr;
}

struct TNamedValue {
  int32_t Value;
  const char* Name;
};

TIdentToInt TableIdentToInt(const std::vector<TNamedValue>& table) {
  return [&table](std::string_view ident) -> std::optional<int32_t> {
    for (const auto& e : table)
      if (SameText(e.Name, ident)) return e.Value;
    return std::nullopt;
  };
}

TIntToIdent TableIntToIdent(const std::vector<TNamedValue>& table) {
  return [&table](int32_t v) -> std::optional<std::string> {
    for (const auto& e : table)
      if (e.Value == v) return std::string(e.Name);
    return std::nullopt;
  };
}

const std::vector<TNamedValue>& Charsets() {
  static const std::vector<TNamedValue> t = {
      {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"},
      {134, "GB2312_CHARSET"}, {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},
      {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"}, {177, "HEBREW_CHARSET"},
      {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"},
      {222, "THAI_CHARSET"}, {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
  };
  return t;
}

const std::vector<TNamedValue>& Cursors() {
  static const std::vector<TNamedValue> t = {
      {0, "crDefault"}, {-1, "crNone"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"},
      {-22, "crSize"}, {-6, "crSizeNESW"}, {-7, "crSizeNS"}, {-8, "crSizeNWSE"}, {-9, "crSizeWE"},
      {-5, "crUpArrow"}, {-11, "crHourGlass"}, {-12, "crDrag"}, {-13, "crNoDrop"}, {-14, "crHSplit"},
      {-15, "crVSplit"}, {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"}, {-19, "crAppStart"},
      {-20, "crHelp"}, {-21, "crHandPoint"}, {-23, "crSizeAll"},
  };
  return t;
}
}  // namespace

void RegisterIntegerConsts(const TTypeInfo& type, TIdentToInt identToInt, TIntToIdent intToIdent) {
  TMaps& m = Maps();
  std::lock_guard guard(m.Lock);
  m.Entries.push_back({&type, std::move(identToInt), std::move(intToIdent)});
}

TIdentToInt FindIdentToInt(const TTypeInfo& type) {
  TMaps& m = Maps();
  std::lock_guard guard(m.Lock);
  const TMapEntry* e = FindLast(m.Entries, type);
  return e ? e->IdentToInt : TIdentToInt();
}

TIntToIdent FindIntToIdent(const TTypeInfo& type) {
  TMaps& m = Maps();
  std::lock_guard guard(m.Lock);
  const TMapEntry* e = FindLast(m.Entries, type);
  return e ? e->IntToIdent : TIntToIdent();
}

const TTypeInfo& TypeInfoOf(TFontCharset*) {
  static const TTypeInfo info = [] {
    TTypeInfo t = IntegerTypeInfo(TOrdType::UByte);
    t.Name = "TFontCharset";
    return t;
  }();
  return info;
}

const TTypeInfo& TypeInfoOf(TCursor*) {
  static const TTypeInfo info = [] {
    TTypeInfo t = IntegerTypeInfo(TOrdType::SWord);
    t.Name = "TCursor";
    return t;
  }();
  return info;
}

// The framework's own maps come first, so any later registration for a type wins.
TMaps::TMaps() {
  Entries.push_back({&TypeInfoFor<TColor>(),
                     [](std::string_view s) -> std::optional<int32_t> {
                       auto c = IdentToColor(s);
                       return c ? std::optional<int32_t>(int32_t(*c)) : std::nullopt;
                     },
                     [](int32_t v) { return ColorToIdent(TColor(v)); }});
  Entries.push_back({&TypeInfoFor<TFontCharset>(), TableIdentToInt(Charsets()), TableIntToIdent(Charsets())});
  Entries.push_back({&TypeInfoFor<TCursor>(), TableIdentToInt(Cursors()), TableIntToIdent(Cursors())});
}
