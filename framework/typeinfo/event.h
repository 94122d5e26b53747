#pragma once
// Events: closures with the sender first. An event bound by name from a form
// description remembers the method it was bound to, so a writer can store it again.
#include <any>
#include <functional>
#include <string>

#include "framework/typeinfo/type_info.h"

class TObject;
struct TMethodInfo;

// A published method of an object: the object and the method's table entry.
struct TMethod {
  TObject* Data = nullptr;
  const TMethodInfo* Code = nullptr;
  explicit operator bool() const { return Code != nullptr; }
  friend bool operator==(const TMethod&, const TMethod&) = default;
};

template <class Sig>
class TEvent;

template <class... Args>
class TEvent<void(Args...)> {
 public:
  using Handler = std::function<void(Args...)>;

  TEvent() = default;
  TEvent(Handler h) : FHandler(std::move(h)) {}  // NOLINT: assigning a closure is the common case
  TEvent& operator=(Handler h) {
    FHandler = std::move(h);
    FMethod = {};
    return *this;
  }

  explicit operator bool() const { return bool(FHandler); }
  void operator()(Args... args) const {
    if (FHandler) FHandler(args...);
  }

  const TMethod& Method() const { return FMethod; }
  // Binds a published method; false when its signature does not fit this event.
  bool Bind(const TMethod& m, const std::any& closure) {
    if (!m) {
      Clear();
      return true;
    }
    const Handler* h = std::any_cast<Handler>(&closure);
    if (h == nullptr) return false;
    FHandler = *h;
    FMethod = m;
    return true;
  }
  void Clear() {
    FHandler = nullptr;
    FMethod = {};
  }

  static const TTypeInfo& TypeInfo() {
    static const TTypeInfo info = [] {
      TTypeInfo t;
      t.Kind = TTypeKind::Method;
      t.Name = "event";
      return t;
    }();
    return info;
  }

 private:
  Handler FHandler;
  TMethod FMethod;
};

using TNotifyEvent = TEvent<void(TObject*)>;
