#pragma once
// Collections: owned lists of persistent items of one class, stored in a form
// description as one collection value.
#include <memory>
#include <vector>

#include "framework/core/object.h"

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  VM_CLASS()
  ~TCollectionItem() override;
  TCollection* Collection() const { return FCollection; }
  int Index() const;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
};

class TCollection : public TPersistent {
 public:
  VM_CLASS()
  // `itemClass` must derive from TCollectionItem and have a factory.
  explicit TCollection(const TClassInfo& itemClass);
  const TClassInfo& ItemClass() const { return *FItemClass; }

  TCollectionItem* Add();
  void Clear();
  int Count() const { return int(FItems.size()); }
  TCollectionItem* Items(int index) const { return FItems.at(size_t(index)).get(); }

  // Changes between these calls are announced once, by the outermost EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

 protected:
  // The items changed; descendants react (the owner repaints, rebuilds...).
  virtual void Changed() {}

 private:
  void NotifyChanged();

  const TClassInfo* FItemClass;
  std::vector<std::unique_ptr<TCollectionItem>> FItems;
  int FUpdateCount = 0;
};
