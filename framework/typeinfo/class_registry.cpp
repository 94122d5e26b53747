#include "framework/typeinfo/class_registry.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/text.h"
#include "framework/typeinfo/class_info.h"

namespace {
struct TRegistry {
  std::mutex Lock;
  std::vector<const TClassInfo*> Classes;

  const TClassInfo* Find(std::string_view name) const {
    for (const TClassInfo* c : Classes)
      if (SameText(c->Name, name)) return c;
    return nullptr;
  }
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}
}  // namespace

void RegisterStreamClass(const TClassInfo& cls) {
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  for (const TClassInfo* c = &cls; c != nullptr; c = c->Parent) {
    const TClassInfo* existing = r.Find(c->Name);
    if (existing == c) break;
    if (existing != nullptr) throw EFilerError(rs::SDuplicateClass, c->Name);
    r.Classes.push_back(c);
    if (c == &TPersistent::ClassInfo()) break;
  }
}

void UnregisterStreamClass(const TClassInfo& cls) {
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  std::erase(r.Classes, &cls);
}

const TClassInfo* LookupStreamClass(std::string_view name) {
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  return r.Find(name);
}

const TClassInfo& RequireStreamClass(std::string_view name) {
  const TClassInfo* c = LookupStreamClass(name);
  if (c == nullptr) throw EClassNotFound(rs::SClassNotFound, std::string(name));
  return *c;
}
