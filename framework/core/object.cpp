#include "framework/core/object.h"

#include "framework/core/exceptions.h"
#include "framework/typeinfo/class_info.h"

const TClassInfo& TObject::ClassInfo() {
  static const TClassInfo info = DefineClass<TObject, void>("TObject");
  return info;
}

const std::string& TObject::ClassName() const { return GetClassInfo().Name; }

bool TObject::InheritsFrom(const TClassInfo& cls) const { return GetClassInfo().InheritsFrom(cls); }

const TClassInfo& TPersistent::ClassInfo() {
  static const TClassInfo info = DefineClass<TPersistent, TObject>("TPersistent");
  return info;
}

void TPersistent::CopyFrom(const TPersistent* source) {
  if (source == nullptr) CopyError(nullptr);
  source->CopyTo(this);
}

void TPersistent::DeclareStoredData(TFiler&) {}

void TPersistent::CopyTo(TPersistent* dest) const {
  if (dest == nullptr) throw EConvertError(rs::SAssignError, ClassName(), std::string("nil"));
  dest->CopyError(this);
}

void TPersistent::CopyError(const TPersistent* source) const {
  std::string sourceName = source ? source->ClassName() : std::string("nil");
  throw EConvertError(rs::SAssignError, sourceName, ClassName());
}

const TClassInfo& TInterfacedPersistent::ClassInfo() {
  static const TClassInfo info = DefineClass<TInterfacedPersistent, TPersistent>("TInterfacedPersistent");
  return info;
}
