#include "framework/typeinfo/class_info.h"

#include "framework/core/text.h"

namespace detail {
void InvalidPropertyValue() { throw EPropertyError(rs::SInvalidPropertyValue); }
}  // namespace detail

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
    if (c == &other) return true;
  return false;
}

namespace {
template <class Entry>
const Entry* FindIn(const TClassInfo* cls, std::vector<Entry> TClassInfo::*table, std::string_view name) {
  for (const TClassInfo* c = cls; c != nullptr; c = c->Parent)
    for (const Entry& e : c->*table)
      if (SameText(e.Name, name)) return &e;
  return nullptr;
}
}  // namespace

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  return FindIn(this, &TClassInfo::Properties, name);
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  return FindIn(this, &TClassInfo::Methods, name);
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  return FindIn(this, &TClassInfo::Fields, name);
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
  std::vector<const TPropInfo*> result;
  if (Parent != nullptr) result = Parent->AllProperties();
  for (const TPropInfo& p : Properties) {
    bool overridden = false;
    for (auto& existing : result)
      if (SameText(existing->Name, p.Name)) {
        existing = &p;  // a redeclaration in a descendant replaces its ancestor's entry
        overridden = true;
      }
    if (!overridden) result.push_back(&p);
  }
  return result;
}
