#pragma once
// Loading windows from their embedded form descriptions, and the loading scope that
// defers every component's AfterLoad until all levels of a window are read.
#include <vector>

class TClassInfo;
class TComponent;

// One window creation. Scopes nest per thread; the innermost collects the components read.
class TLoadingScope {
 public:
  TLoadingScope();
  ~TLoadingScope();
  TLoadingScope(const TLoadingScope&) = delete;
  TLoadingScope& operator=(const TLoadingScope&) = delete;

  // Tells every collected component, in list order, that loading is done.
  void NotifyLoaded();
  // The innermost open scope's list on this thread, or null.
  static std::vector<TComponent*>* Current();

 private:
  std::vector<TComponent*> FLoaded;
  std::vector<TComponent*>* FOuter;
};

// Reads the resources named by `instance`'s class and each ancestor below `stopClass`
// (and below TComponent), ancestors first, into `instance`; answers whether any was read.
bool InitInheritedComponent(TComponent& instance, const TClassInfo& stopClass);
// As InitInheritedComponent, raising EResNotFound when no resource was found.
void LoadComponentResource(TComponent& instance, const TClassInfo& stopClass);
