#include "formstream/loader.h"

#include <algorithm>

#include "framework/core/component.h"
#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/typeinfo/class_info.h"
#include "formstream/resources.h"
#include "formstream/stream_reader.h"

namespace {
std::vector<TComponent*>*& CurrentScopeList() {
  thread_local std::vector<TComponent*>* current = nullptr;
  return current;
}

bool ReadResourceLevels(TComponent& instance, const TClassInfo& stopClass) {
  std::vector<const TClassInfo*> levels;
  for (const TClassInfo* c = &instance.GetClassInfo();
       c != nullptr && c != &stopClass && c != &TComponent::ClassInfo(); c = c->Parent)
    levels.push_back(c);
  std::reverse(levels.begin(), levels.end());
  bool found = false;
  for (const TClassInfo* level : levels) {
    auto resource = FindResource(level->Name);
    if (!resource) continue;
    TReadOnlyMemoryStream stream(resource->data(), resource->size());
    TStreamReader reader(stream);
    reader.ReadRootComponent(instance);
    // A resource holds one form: bytes after it are damage, not something to ignore.
    if (reader.BytesLeft() != 0) throw EReadError(rs::SInvalidStreamFormat);
    ReleaseResourcePages(level->Name);
    found = true;
  }
  return found;
}
}  // namespace

TLoadingScope::TLoadingScope() : FOuter(CurrentScopeList()) { CurrentScopeList() = &FLoaded; }

TLoadingScope::~TLoadingScope() { CurrentScopeList() = FOuter; }

void TLoadingScope::NotifyLoaded() {
  // AfterLoad may create components that load (and scope) themselves; walk by index.
  for (size_t i = 0; i < FLoaded.size(); ++i) FLoaded[i]->AfterLoad();
  FLoaded.clear();
}

std::vector<TComponent*>* TLoadingScope::Current() { return CurrentScopeList(); }

bool InitInheritedComponent(TComponent& instance, const TClassInfo& stopClass) {
  TComponentState state = instance.ComponentState();
  if (state.Contains(csLoading) || state.Contains(csInline)) return ReadResourceLevels(instance, stopClass);
  TLoadingScope scope;
  bool found = ReadResourceLevels(instance, stopClass);
  scope.NotifyLoaded();
  return found;
}

void LoadComponentResource(TComponent& instance, const TClassInfo& stopClass) {
  if (!InitInheritedComponent(instance, stopClass)) throw EResNotFound(rs::SResNotFound, instance.ClassName());
}
