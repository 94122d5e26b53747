#include "framework/graphics/graphic.h"

#include "framework/core/filer.h"
#include "framework/core/stream.h"
#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TProgressStage, "psStarting", "psRunning", "psEnding")

const TClassInfo& TGraphic::ClassInfo() {
  static const TClassInfo info = DefineClass<TGraphic, TInterfacedPersistent>("TGraphic");
  return info;
}

void TGraphic::DeclareStoredData(TFiler& filer) {
  bool hasData = !Empty();
  if (auto* writer = dynamic_cast<TWriter*>(&filer); writer != nullptr && writer->Ancestor() != nullptr) {
    const auto* ancestor = dynamic_cast<const TGraphic*>(writer->Ancestor());
    hasData = ancestor == nullptr || !SameAs(*ancestor);
  }
  filer.DeclareByteBlockProperty(
      "Data", [this](TStream& s) { ReadStoredData(s); }, [this](TStream& s) { WriteStoredData(s); }, hasData);
}

void TGraphic::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  NotifyChanged(this);
}

bool TGraphic::SameAs(const TGraphic& other) const {
  if (this == &other) return true;
  const bool empty = Empty(), otherEmpty = other.Empty();
  if (empty || otherEmpty) return empty && otherEmpty;
  if (&GetClassInfo() != &other.GetClassInfo()) return false;
  TMemoryStream mine, theirs;
  WriteStoredData(mine);
  other.WriteStoredData(theirs);
  return mine.Bytes() == theirs.Bytes();
}

void TGraphic::NotifyChanged(TObject*) {
  FModified = true;
  OnChange(this);
}

void TGraphic::NotifyProgress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                              const TRect& rect, const std::string& message) {
  OnProgress(sender, stage, percentDone, redrawNow, rect, message);
}

void TGraphic::SetModified(bool value) {
  if (value) NotifyChanged(this);
  else FModified = false;
}
