#include "formstream/fixups.h"

#include <algorithm>
#include <mutex>

#include "framework/core/component.h"
#include "framework/core/exceptions.h"
#include "framework/core/text.h"
#include "framework/typeinfo/class_info.h"

namespace {
// Hears of freed roots and reference holders, so that nothing here dangles.
class TLoadRegistry : public TComponent {
 public:
  TLoadRegistry() : TComponent(nullptr) {}
  ~TLoadRegistry() override { Destroying(); }

  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove) {
      std::lock_guard guard(Lock);
      std::erase(Roots, component);
      std::erase_if(Fixups, [component](const TPropFixup& f) {
        return f.Root == component || f.Holder == component || f.Instance == component;
      });
    }
    TComponent::Notification(component, operation);
  }

  std::mutex Lock;
  std::vector<TComponent*> Roots;
  std::vector<TPropFixup> Fixups;
};

TLoadRegistry& Registry() {
  static TLoadRegistry registry;
  return registry;
}

std::vector<std::string_view> SplitReference(std::string_view name) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    bool arrow = name[i] == '-' && i + 1 < name.size() && name[i + 1] == '>';
    if (name[i] != '.' && name[i] != '-') continue;
    parts.push_back(name.substr(start, i - start));
    if (arrow) ++i;
    start = i + 1;
  }
  parts.push_back(name.substr(start));
  return parts;
}
}  // namespace

TComponent* FindNestedComponent(TComponent* root, std::string_view name) {
  TComponent* current = root;
  for (std::string_view part : SplitReference(name)) {
    if (current == nullptr) return nullptr;
    if (!SameText(part, "Owner")) current = current->FindComponent(part);
  }
  return current;
}

void ApplyFixup(const TPropFixup& fixup, TComponent* target) {
  try {
    fixup.Prop->Set(*fixup.Instance, TValue(static_cast<TObject*>(target)));
  } catch (const EPropertyError&) {
    if (!fixup.Interface) throw;
    fixup.Prop->Set(*fixup.Instance, TValue(static_cast<TObject*>(nullptr)));
  }
}

void AddLoadedRoot(TComponent* root) {
  TLoadRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  if (std::find(r.Roots.begin(), r.Roots.end(), root) != r.Roots.end()) return;
  r.Roots.push_back(root);
  r.FreeNotification(root);
}

TComponent* FindLoadedRoot(std::string_view name, const TComponent* except) {
  TLoadRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  for (TComponent* c : r.Roots)
    if (c != except && SameText(c->Name(), name)) return c;
  return nullptr;
}

std::string UniqueRootName(const std::string& name, const TComponent* root) {
  if (name.empty()) return name;
  std::string candidate = name;
  for (int i = 1; FindLoadedRoot(candidate, root) != nullptr; ++i) candidate = name + "_" + std::to_string(i);
  return candidate;
}

void AddGlobalFixup(const TPropFixup& fixup) {
  TLoadRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  r.Fixups.push_back(fixup);
  r.FreeNotification(fixup.Root);
  // A sub-object holding the reference (a font, a collection item) goes with its component;
  // a collection item freed on its own drops its fixups itself.
  if (fixup.Holder != nullptr) r.FreeNotification(fixup.Holder);
  if (auto* holder = dynamic_cast<TComponent*>(fixup.Instance)) r.FreeNotification(holder);
}

void ResolveGlobalFixups(const std::function<bool(const std::string&)>& continueAfterError) {
  TLoadRegistry& r = Registry();
  std::vector<std::pair<TPropFixup, TComponent*>> ready;
  {
    std::lock_guard guard(r.Lock);
    auto isReady = [&r](const TPropFixup& f) {
      return std::any_of(r.Roots.begin(), r.Roots.end(), [&f](TComponent* c) { return SameText(c->Name(), f.RootName); });
    };
    for (const TPropFixup& f : r.Fixups)
      if (isReady(f)) ready.emplace_back(f, nullptr);
    std::erase_if(r.Fixups, isReady);
  }
  // Setters run without the lock: they may load further windows.
  for (auto& [fixup, target] : ready) {
    target = FindNestedComponent(FindLoadedRoot(fixup.RootName), fixup.Name);
    try {
      ApplyFixup(fixup, target);
    } catch (const Exception& e) {
      if (!continueAfterError || !continueAfterError(e.Message())) throw;
    }
  }
}

void RemoveGlobalFixups(const TComponent* root) {
  TLoadRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  std::erase_if(r.Fixups, [root](const TPropFixup& f) { return f.Root == root; });
}

void RemoveGlobalFixupsOf(const TPersistent* instance) {
  TLoadRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  std::erase_if(r.Fixups, [instance](const TPropFixup& f) { return f.Instance == instance; });
}

size_t GlobalFixupCount() {
  TLoadRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  return r.Fixups.size();
}
