#include "framework/typeinfo/type_info.h"

#include "framework/core/color.h"
#include "framework/core/text.h"

bool TTypeInfo::IsOrdinal() const {
  return Kind == TTypeKind::Integer || Kind == TTypeKind::Char || Kind == TTypeKind::Enumeration ||
         Kind == TTypeKind::Set;
}

int TTypeInfo::OrdSize() const {
  switch (OrdType) {
    case TOrdType::SByte:
    case TOrdType::UByte: return 1;
    case TOrdType::SWord:
    case TOrdType::UWord: return 2;
    default: return 4;
  }
}

int TTypeInfo::EnumValue(std::string_view name) const {
  for (size_t i = 0; i < EnumNames.size(); ++i)
    if (SameText(EnumNames[i], name)) return int(i);
  return -1;
}

std::string TTypeInfo::EnumName(int64_t value) const {
  if (value < 0 || value >= int64_t(EnumNames.size())) return {};
  return EnumNames[size_t(value)];
}

TTypeInfo MakeEnumTypeInfo(std::string name, std::initializer_list<const char*> names) {
  TTypeInfo t;
  t.Kind = TTypeKind::Enumeration;
  t.Name = std::move(name);
  for (const char* n : names) t.EnumNames.emplace_back(n);
  t.OrdType = t.EnumNames.size() <= 256 ? TOrdType::UByte : TOrdType::UWord;
  t.MinValue = 0;
  t.MaxValue = int64_t(t.EnumNames.size()) - 1;
  return t;
}

const TTypeInfo& BooleanTypeInfo() {
  static const TTypeInfo info = MakeEnumTypeInfo("Boolean", {"False", "True"});
  return info;
}

namespace {
TTypeInfo Simple(TTypeKind kind, const char* name) {
  TTypeInfo t;
  t.Kind = kind;
  t.Name = name;
  return t;
}
}  // namespace

const TTypeInfo& StringTypeInfo() {
  static const TTypeInfo info = Simple(TTypeKind::String, "string");
  return info;
}
const TTypeInfo& WideStringTypeInfo() {
  static const TTypeInfo info = Simple(TTypeKind::WString, "WideString");
  return info;
}
const TTypeInfo& FloatTypeInfo() {
  static const TTypeInfo info = Simple(TTypeKind::Float, "Double");
  return info;
}
const TTypeInfo& Int64TypeInfo() {
  static const TTypeInfo info = [] {
    TTypeInfo t = Simple(TTypeKind::Int64, "Int64");
    t.MinValue = INT64_MIN;
    t.MaxValue = INT64_MAX;
    return t;
  }();
  return info;
}
const TTypeInfo& CharTypeInfo() {
  static const TTypeInfo info = [] {
    TTypeInfo t = Simple(TTypeKind::Char, "Char");
    t.OrdType = TOrdType::UByte;
    t.MaxValue = 255;
    return t;
  }();
  return info;
}

const TTypeInfo& IntegerTypeInfo(TOrdType ordType) {
  static const TTypeInfo infos[] = {
      [] { TTypeInfo t = Simple(TTypeKind::Integer, "ShortInt"); t.OrdType = TOrdType::SByte; t.MinValue = -128; t.MaxValue = 127; return t; }(),
      [] { TTypeInfo t = Simple(TTypeKind::Integer, "Byte"); t.OrdType = TOrdType::UByte; t.MaxValue = 255; return t; }(),
      [] { TTypeInfo t = Simple(TTypeKind::Integer, "SmallInt"); t.OrdType = TOrdType::SWord; t.MinValue = -32768; t.MaxValue = 32767; return t; }(),
      [] { TTypeInfo t = Simple(TTypeKind::Integer, "Word"); t.OrdType = TOrdType::UWord; t.MaxValue = 65535; return t; }(),
      [] { TTypeInfo t = Simple(TTypeKind::Integer, "Integer"); t.OrdType = TOrdType::SLong; t.MinValue = INT32_MIN; t.MaxValue = INT32_MAX; return t; }(),
      [] { TTypeInfo t = Simple(TTypeKind::Integer, "Cardinal"); t.OrdType = TOrdType::ULong; t.MaxValue = UINT32_MAX; return t; }(),
  };
  return infos[int(ordType)];
}

const TTypeInfo& TypeInfoOf(TColor*) {
  static const TTypeInfo info = [] {
    TTypeInfo t = IntegerTypeInfo(TOrdType::SLong);
    t.Name = "TColor";
    return t;
  }();
  return info;
}

namespace detail {
TTypeInfo MakeSetTypeInfo(const TTypeInfo& element) {
  TTypeInfo t;
  t.Kind = TTypeKind::Set;
  t.Name = "set of " + element.Name;
  t.ElementType = &element;
  size_t n = element.EnumNames.size();
  t.OrdType = n <= 8 ? TOrdType::UByte : n <= 16 ? TOrdType::UWord : TOrdType::ULong;
  return t;
}

TTypeInfo MakeClassTypeInfo(const TClassInfo& (*classOf)()) {
  TTypeInfo t;
  t.Kind = TTypeKind::Class;
  t.Name = "class";
  t.ClassTypeOf = classOf;
  return t;
}
}  // namespace detail
