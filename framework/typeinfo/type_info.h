#pragma once
// Run-time type descriptions of published property types: ordinals with their storage
// width and range, enumerations with their value names, sets, classes and events.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class TClassInfo;

enum class TTypeKind { Integer, Char, Enumeration, Float, String, Set, Class, Method, WString, Variant, Interface, Int64 };

// Storage of an ordinal: signed or unsigned byte, word or long.
enum class TOrdType { SByte, UByte, SWord, UWord, SLong, ULong };

class TTypeInfo {
 public:
  TTypeKind Kind = TTypeKind::Integer;
  std::string Name;
  TOrdType OrdType = TOrdType::SLong;
  int64_t MinValue = 0;
  int64_t MaxValue = 0;
  std::vector<std::string> EnumNames;    // enumerations: value names, ordinal order
  const TTypeInfo* ElementType = nullptr;  // sets
  // Classes: resolved on use, since a class's own table may name its own class.
  const TClassInfo& (*ClassTypeOf)() = nullptr;
  const TClassInfo* ClassType() const { return ClassTypeOf ? &ClassTypeOf() : nullptr; }

  bool IsOrdinal() const;
  int OrdSize() const;  // 1, 2 or 4 bytes
  // The ordinal of an enumeration value by name (ASCII case-insensitive), or -1.
  int EnumValue(std::string_view name) const;
  // The name of an enumeration value; empty when out of range.
  std::string EnumName(int64_t value) const;
};

const TTypeInfo& BooleanTypeInfo();

// An enumeration type info with the given names; width 1 byte up to 256 values.
TTypeInfo MakeEnumTypeInfo(std::string name, std::initializer_list<const char*> names);

// Declares the type info of an enumeration next to the enum; define it with VM_ENUM_INFO.
#define VM_DECLARE_ENUM(E) const TTypeInfo& TypeInfoOf(E*)
#define VM_ENUM_INFO(E, ...)                                          \
  const TTypeInfo& TypeInfoOf(E*) {                                   \
    static const TTypeInfo info = MakeEnumTypeInfo(#E, {__VA_ARGS__}); \
    return info;                                                      \
  }

// A set of up to 32 values of enumeration E; element ordinal n is bit n.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= Bit(e);
  }
  static constexpr TSet FromBits(uint32_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint32_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
  constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  friend constexpr bool operator==(TSet, TSet) = default;

 private:
  static constexpr uint32_t Bit(E e) { return uint32_t(1) << unsigned(e); }
  uint32_t FBits = 0;
};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
  using Element = E;
};

template <class T>
const TTypeInfo& TypeInfoFor();

const TTypeInfo& StringTypeInfo();
const TTypeInfo& WideStringTypeInfo();
const TTypeInfo& FloatTypeInfo();
const TTypeInfo& CharTypeInfo();
const TTypeInfo& Int64TypeInfo();
const TTypeInfo& IntegerTypeInfo(TOrdType ordType);

namespace detail {
template <class T>
constexpr TOrdType OrdTypeOf() {
  if constexpr (std::is_signed_v<T>) return sizeof(T) == 1 ? TOrdType::SByte : sizeof(T) == 2 ? TOrdType::SWord : TOrdType::SLong;
  else return sizeof(T) == 1 ? TOrdType::UByte : sizeof(T) == 2 ? TOrdType::UWord : TOrdType::ULong;
}
TTypeInfo MakeSetTypeInfo(const TTypeInfo& element);
TTypeInfo MakeClassTypeInfo(const TClassInfo& (*classOf)());
}  // namespace detail

// Type info of a C++ member type, deduced at compile time.
template <class T>
const TTypeInfo& TypeInfoFor() {
  if constexpr (std::is_same_v<T, bool>) {
    return BooleanTypeInfo();
  } else if constexpr (std::is_same_v<T, char>) {
    return CharTypeInfo();
  } else if constexpr (std::is_same_v<T, int64_t>) {
    return Int64TypeInfo();
  } else if constexpr (std::is_integral_v<T>) {
    static_assert(sizeof(T) <= 4, "ordinal properties are at most 32 bits");
    return IntegerTypeInfo(detail::OrdTypeOf<T>());
  } else if constexpr (std::is_floating_point_v<T>) {
    return FloatTypeInfo();
  } else if constexpr (std::is_same_v<T, std::string>) {
    return StringTypeInfo();
  } else if constexpr (std::is_same_v<T, std::u16string>) {
    return WideStringTypeInfo();
  } else if constexpr (std::is_enum_v<T>) {
    return TypeInfoOf(static_cast<T*>(nullptr));  // found by argument-dependent lookup
  } else if constexpr (IsSet<T>::value) {
    static const TTypeInfo info = detail::MakeSetTypeInfo(TypeInfoFor<typename IsSet<T>::Element>());
    return info;
  } else if constexpr (std::is_pointer_v<T>) {
    static const TTypeInfo info = detail::MakeClassTypeInfo(&std::remove_pointer_t<T>::ClassInfo);
    return info;
  } else {
    return T::TypeInfo();  // events and other described types
  }
}
