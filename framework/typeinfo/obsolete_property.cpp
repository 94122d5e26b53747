#include "framework/typeinfo/obsolete_property.h"

#include <utility>

void DeclareObsoleteProperty(TFiler& filer, const std::string& name) {
  filer.DeclareValueProperty(name, [](TReader& reader) { reader.SkipValue(); }, nullptr, false);
}

void DeclareObsoleteProperty(TFiler& filer, const std::string& name, TReaderProc map) {
  filer.DeclareValueProperty(name, std::move(map), nullptr, false);
}
