#pragma once
// Class infos: name, parent, virtual constructor, and the tables of published
// properties, methods and fields that the form loader works from.
#include <any>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/object.h"
#include "framework/typeinfo/event.h"
#include "framework/typeinfo/type_info.h"

class TComponent;

// A property value in transit between the loader and an object.
// Ordinals (integers, characters, enumerations, sets) travel as int64_t.
using TValue = std::variant<std::monostate, int64_t, double, std::string, std::u16string, TObject*, TMethod>;

struct TPropInfo {
  std::string Name;
  const TTypeInfo* PropType = nullptr;
  std::optional<int> Index;
  std::optional<int64_t> Default;  // ordinals only
  std::function<TValue(const TObject&)> Get;
  std::function<void(TObject&, const TValue&)> Set;  // empty: read-only
  std::function<bool(const TObject&)> Stored;        // empty: always stored

  bool IsReadOnly() const { return !Set; }
  bool IsStored(const TObject& obj) const { return !Stored || Stored(obj); }
};

struct TMethodInfo {
  std::string Name;
  // Makes the closure calling this method on the given object, wrapped for TEvent::Bind.
  std::function<std::any(TObject*)> MakeClosure;
};

struct TFieldInfo {
  std::string Name;
  const TClassInfo& (*FieldClassOf)() = nullptr;  // resolved on use, like class property types
  const TClassInfo& FieldClass() const { return FieldClassOf(); }
  std::function<TObject*(const TObject&)> Get;
  // Stores `value` when it is of the field's class, else clears the field.
  std::function<void(TObject&, TObject*)> Set;
};

class TClassInfo {
 public:
  using TFactory = TObject* (*)(TComponent* owner);

  std::string Name;
  const TClassInfo* Parent = nullptr;
  TFactory Create = nullptr;  // null for abstract classes
  std::vector<TPropInfo> Properties;
  std::vector<TMethodInfo> Methods;
  std::vector<TFieldInfo> Fields;

  bool InheritsFrom(const TClassInfo& other) const;
  // Lookups walk from this class up through its ancestors, names compared case-insensitively.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  // Every published property, ancestors' first.
  std::vector<const TPropInfo*> AllProperties() const;
};

// Options of a property declaration.
struct Default {
  explicit Default(int64_t v) : Value(v) {}
  int64_t Value;
};
struct NoDefault {};
struct Index {
  explicit Index(int v) : Value(v) {}
  int Value;
};
struct StoredAlways {};
struct StoredNever {};

namespace detail {

template <class T>
TValue ToValue(const T& v) {
  if constexpr (std::is_same_v<T, bool>) return int64_t(v ? 1 : 0);
  else if constexpr (std::is_enum_v<T>) return int64_t(std::underlying_type_t<T>(v));
  else if constexpr (std::is_integral_v<T>) return int64_t(v);
  else if constexpr (std::is_floating_point_v<T>) return double(v);
  else if constexpr (IsSet<T>::value) return int64_t(v.Bits());
  else if constexpr (std::is_pointer_v<T>) return static_cast<TObject*>(v);
  else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::u16string>) return v;
  else return v.Method();  // events
}

[[noreturn]] void InvalidPropertyValue();

template <class T>
T FromValue(const TValue& v) {
  if constexpr (std::is_same_v<T, bool>) {
    return std::get<int64_t>(v) != 0;
  } else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>) {
    return T(std::get<int64_t>(v));
  } else if constexpr (std::is_floating_point_v<T>) {
    if (auto* i = std::get_if<int64_t>(&v)) return T(*i);
    return T(std::get<double>(v));
  } else if constexpr (IsSet<T>::value) {
    return T::FromBits(uint32_t(std::get<int64_t>(v)));
  } else if constexpr (std::is_pointer_v<T>) {
    TObject* o = std::get<TObject*>(v);
    if (o == nullptr) return nullptr;
    auto* typed = dynamic_cast<T>(o);
    if (typed == nullptr) InvalidPropertyValue();
    return typed;
  } else {
    return std::get<T>(v);
  }
}

template <class C>
TObject* Construct(TComponent* owner) {
  if constexpr (std::is_abstract_v<C>) return nullptr;
  else if constexpr (std::is_constructible_v<C, TComponent*>) return new C(owner);
  else if constexpr (std::is_default_constructible_v<C>) return new C();
  else return nullptr;
}

template <class C>
constexpr bool CanConstruct() {
  return !std::is_abstract_v<C> && (std::is_constructible_v<C, TComponent*> || std::is_default_constructible_v<C>);
}

}  // namespace detail

// Builds a class info declaratively; see ClassInfo() in each class's source.
template <class C>
class TClassBuilder {
 public:
  TClassBuilder(std::string name, const TClassInfo* parent) {
    FInfo.Name = std::move(name);
    FInfo.Parent = parent;
    if constexpr (detail::CanConstruct<C>()) FInfo.Create = &detail::Construct<C>;
  }

  // Read through a getter, written through a setter.
  template <class R, class C2, class A, class C3, class... Opts>
  TClassBuilder& Property(std::string name, R (C2::*getter)() const, void (C3::*setter)(A), Opts... opts) {
    using T = std::remove_cvref_t<R>;
    TPropInfo p = Begin<T>(std::move(name));
    p.Get = [getter](const TObject& o) { return detail::ToValue<T>((static_cast<const C&>(o).*getter)()); };
    p.Set = [setter](TObject& o, const TValue& v) { (static_cast<C&>(o).*setter)(detail::FromValue<T>(v)); };
    return Finish(std::move(p), opts...);
  }

  // Read-only through a getter (an object property holding a sub-object, usually).
  template <class R, class C2, class... Opts>
  TClassBuilder& Property(std::string name, R (C2::*getter)() const, Opts... opts) {
    using T = std::remove_cvref_t<R>;
    TPropInfo p = Begin<T>(std::move(name));
    p.Get = [getter](const TObject& o) { return detail::ToValue<T>((static_cast<const C&>(o).*getter)()); };
    return Finish(std::move(p), opts...);
  }

  // Read from a field, written through a setter.
  template <class T, class C2, class A, class C3, class... Opts>
  TClassBuilder& Property(std::string name, T C2::*field, void (C3::*setter)(A), Opts... opts) {
    TPropInfo p = Begin<T>(std::move(name));
    p.Get = [field](const TObject& o) { return detail::ToValue<T>(static_cast<const C&>(o).*field); };
    p.Set = [setter](TObject& o, const TValue& v) { (static_cast<C&>(o).*setter)(detail::FromValue<T>(v)); };
    return Finish(std::move(p), opts...);
  }

  // Read from and written to a field directly.
  template <class T, class C2, class... Opts>
  TClassBuilder& Property(std::string name, T C2::*field, Opts... opts) {
    TPropInfo p = Begin<T>(std::move(name));
    p.Get = [field](const TObject& o) { return detail::ToValue<T>(static_cast<const C&>(o).*field); };
    p.Set = [field](TObject& o, const TValue& v) { static_cast<C&>(o).*field = detail::FromValue<T>(v); };
    return Finish(std::move(p), opts...);
  }

  // An indexed property: getter (index) and setter (index, value).
  template <class R, class C2, class A, class C3, class... Opts>
  TClassBuilder& Property(std::string name, R (C2::*getter)(int) const, void (C3::*setter)(int, A), Index index,
                          Opts... opts) {
    using T = std::remove_cvref_t<R>;
    TPropInfo p = Begin<T>(std::move(name));
    int i = index.Value;
    p.Index = i;
    p.Get = [getter, i](const TObject& o) { return detail::ToValue<T>((static_cast<const C&>(o).*getter)(i)); };
    p.Set = [setter, i](TObject& o, const TValue& v) { (static_cast<C&>(o).*setter)(i, detail::FromValue<T>(v)); };
    return Finish(std::move(p), opts...);
  }

  // An event stored in a TEvent field.
  template <class Sig, class C2>
  TClassBuilder& Event(std::string name, TEvent<Sig> C2::*field) {
    TPropInfo p = Begin<TEvent<Sig>>(std::move(name));
    p.Get = [field](const TObject& o) { return TValue((static_cast<const C&>(o).*field).Method()); };
    p.Set = [field](TObject& o, const TValue& v) {
      const TMethod& m = std::get<TMethod>(v);
      std::any closure = m ? m.Code->MakeClosure(m.Data) : std::any();
      if (!(static_cast<C&>(o).*field).Bind(m, closure)) detail::InvalidPropertyValue();
    };
    p.Stored = [field](const TObject& o) { return bool((static_cast<const C&>(o).*field).Method()); };
    FInfo.Properties.push_back(std::move(p));
    return *this;
  }

  // A published method (an event handler of a form).
  template <class C2, class... Args>
  TClassBuilder& Method(std::string name, void (C2::*method)(Args...)) {
    TMethodInfo m;
    m.Name = std::move(name);
    m.MakeClosure = [method](TObject* self) -> std::any {
      C* target = static_cast<C*>(self);
      return std::function<void(Args...)>([target, method](Args... args) { (target->*method)(args...); });
    };
    FInfo.Methods.push_back(std::move(m));
    return *this;
  }

  // A published field: a pointer to a component the class owns, bound by name.
  template <class T, class C2>
  TClassBuilder& Field(std::string name, T* C2::*field) {
    TFieldInfo f;
    f.Name = std::move(name);
    f.FieldClassOf = &T::ClassInfo;
    f.Get = [field](const TObject& o) -> TObject* { return static_cast<const C&>(o).*field; };
    f.Set = [field](TObject& o, TObject* value) { static_cast<C&>(o).*field = dynamic_cast<T*>(value); };
    FInfo.Fields.push_back(std::move(f));
    return *this;
  }

  operator TClassInfo() const { return FInfo; }  // NOLINT: ends the declarative chain

 private:
  template <class T>
  TPropInfo Begin(std::string name) {
    TPropInfo p;
    p.Name = std::move(name);
    p.PropType = &TypeInfoFor<T>();
    return p;
  }

  template <class... Opts>
  TClassBuilder& Finish(TPropInfo p, Opts... opts) {
    (Apply(p, opts), ...);
    FInfo.Properties.push_back(std::move(p));
    return *this;
  }
  void Apply(TPropInfo& p, Default d) { p.Default = d.Value; }
  void Apply(TPropInfo& p, NoDefault) { p.Default.reset(); }
  void Apply(TPropInfo& p, StoredAlways) { p.Stored = nullptr; }
  void Apply(TPropInfo& p, StoredNever) { p.Stored = [](const TObject&) { return false; }; }
  void Apply(TPropInfo& p, bool (C::*test)() const) {
    p.Stored = [test](const TObject& o) { return (static_cast<const C&>(o).*test)(); };
  }

  TClassInfo FInfo;
};

template <class C, class Parent>
TClassBuilder<C> DefineClass(std::string name) {
  if constexpr (std::is_void_v<Parent>) return TClassBuilder<C>(std::move(name), nullptr);
  else return TClassBuilder<C>(std::move(name), &Parent::ClassInfo());
}
