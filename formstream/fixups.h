#pragma once
// References between components, resolved by name once the components exist, and the
// process-wide list of loaded roots (windows) that names are made unique against.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TComponent;
class TPersistent;
struct TPropInfo;

// A component reference read before its target may exist.
struct TPropFixup {
  TPersistent* Instance = nullptr;
  const TPropInfo* Prop = nullptr;
  TComponent* Root = nullptr;
  // The component whose record held the reference; the instance is it or lives inside it.
  TComponent* Holder = nullptr;
  std::string Name;      // as stored, or the part after the root name for a global fixup
  std::string RootName;  // empty unless the reference leads into another window
  bool Interface = false;  // an interface-typed property: a mismatch stores nothing
};

// Follows a name such as "Panel1.Button1" or "Owner->Timer1" from `root`: each segment is
// a component owned by the current one; "Owner" names the current one itself.
TComponent* FindNestedComponent(TComponent* root, std::string_view name);

// Sets the fixup's property to `target` (or nothing).
void ApplyFixup(const TPropFixup& fixup, TComponent* target);

// Loaded roots are forgotten, with their pending global fixups, when they are freed.
void AddLoadedRoot(TComponent* root);
TComponent* FindLoadedRoot(std::string_view name, const TComponent* except = nullptr);
// `name`, or name + "_1", "_2"... the first no other loaded root has.
std::string UniqueRootName(const std::string& name, const TComponent* root);

void AddGlobalFixup(const TPropFixup& fixup);
// Resolves the global fixups whose windows now exist; a failure goes to `continueAfterError`,
// and is raised when it answers false.
void ResolveGlobalFixups(const std::function<bool(const std::string&)>& continueAfterError);
// Drops the pending global fixups read into `root`.
void RemoveGlobalFixups(const TComponent* root);
// Drops the pending global fixups that would write into `instance`: it is being freed.
void RemoveGlobalFixupsOf(const TPersistent* instance);
size_t GlobalFixupCount();
