#pragma once
// A form description read as plain structure (classes, names, tagged values, children),
// without creating a component: what the compiled sources hold, byte block by byte block.
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/filer.h"

struct TStoredValue {
  TValueType Tag = TValueType::vaNull;
  int64_t Integer = 0;
  std::string Text;  // strings and identifiers ("True" and "False" for the Boolean tags)
  std::vector<std::string> Set;
  std::vector<TStoredValue> List;
  std::vector<uint8_t> Bytes;
};

struct TStoredComponent {
  std::string ClassName, Name;
  std::vector<std::pair<std::string, TStoredValue>> Properties;
  std::vector<TStoredComponent> Children;

  // Null when the property is not stored.
  const TStoredValue* Find(const std::string& property) const;
  // The component of that name anywhere below this one; null when there is none.
  const TStoredComponent* Descendant(const std::string& name) const;
  std::vector<std::string> ChildNames() const;
};

TStoredComponent ReadStoredForm(std::span<const uint8_t> stream);
// Every tag that occurs in the stream's values, list ends not counted.
std::vector<TValueType> TagsUsed(const TStoredComponent& root);
