#include "formstream/collection.h"

#include "framework/core/exceptions.h"
#include "framework/typeinfo/class_info.h"
#include "formstream/fixups.h"

const TClassInfo& TCollectionItem::ClassInfo() {
  static const TClassInfo info = DefineClass<TCollectionItem, TPersistent>("TCollectionItem");
  return info;
}

// A reference into another window may still be waiting to be written into this item.
TCollectionItem::~TCollectionItem() { RemoveGlobalFixupsOf(this); }

int TCollectionItem::Index() const {
  if (FCollection == nullptr) return -1;
  for (int i = 0; i < FCollection->Count(); ++i)
    if (FCollection->Items(i) == this) return i;
  return -1;
}

const TClassInfo& TCollection::ClassInfo() {
  static const TClassInfo info = DefineClass<TCollection, TPersistent>("TCollection");
  return info;
}

TCollection::TCollection(const TClassInfo& itemClass) : FItemClass(&itemClass) {}

TCollectionItem* TCollection::Add() {
  TObject* made = FItemClass->Create ? FItemClass->Create(nullptr) : nullptr;
  auto* item = dynamic_cast<TCollectionItem*>(made);
  if (item == nullptr) {
    delete made;
    throw EClassNotFound(rs::SClassNotFound, FItemClass->Name);
  }
  item->FCollection = this;
  FItems.emplace_back(item);
  NotifyChanged();
  return item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  NotifyChanged();
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::NotifyChanged() {
  if (FUpdateCount == 0) Changed();
}
