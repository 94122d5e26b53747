#include "tests/app/stored_form.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "formstream/stream_reader.h"
#include "framework/core/stream.h"

namespace {
TStoredValue ReadValueTree(TStreamReader& reader) {
  TStoredValue v;
  v.Tag = reader.NextValue();
  switch (v.Tag) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32: v.Integer = reader.ReadInteger(); break;
    case TValueType::vaString:
    case TValueType::vaLString: v.Text = reader.ReadString(); break;
    case TValueType::vaIdent:
    case TValueType::vaFalse:
    case TValueType::vaTrue: v.Text = reader.ReadIdent(); break;
    case TValueType::vaBinary:
      reader.ReadValue();
      v.Bytes = reader.ReadBinaryPayload();
      break;
    case TValueType::vaSet:
      reader.ReadValue();
      v.Set = reader.ReadSetPayload();
      break;
    case TValueType::vaList:
      reader.ReadListBegin();
      while (!reader.EndOfList()) v.List.push_back(ReadValueTree(reader));
      reader.ReadListEnd();
      break;
    default: reader.SkipValue(); break;
  }
  return v;
}

TStoredComponent ReadRecord(TStreamReader& reader) {
  TStoredComponent c;
  int flags = 0, position = 0;
  reader.ReadPrefix(flags, position);
  c.ClassName = reader.ReadStr();
  c.Name = reader.ReadStr();
  while (!reader.EndOfList()) {
    std::string name = reader.ReadStr();
    c.Properties.emplace_back(std::move(name), ReadValueTree(reader));
  }
  reader.ReadListEnd();
  while (!reader.EndOfList()) c.Children.push_back(ReadRecord(reader));
  reader.ReadListEnd();
  return c;
}

void CollectTags(const TStoredValue& v, std::vector<TValueType>& tags) {
  if (std::find(tags.begin(), tags.end(), v.Tag) == tags.end()) tags.push_back(v.Tag);
  for (const TStoredValue& item : v.List) CollectTags(item, tags);
}
}  // namespace

const TStoredValue* TStoredComponent::Find(const std::string& property) const {
  for (const auto& [name, value] : Properties)
    if (name == property) return &value;
  return nullptr;
}

const TStoredComponent* TStoredComponent::Descendant(const std::string& name) const {
  for (const TStoredComponent& child : Children) {
    if (child.Name == name) return &child;
    if (const TStoredComponent* found = child.Descendant(name)) return found;
  }
  return nullptr;
}

std::vector<std::string> TStoredComponent::ChildNames() const {
  std::vector<std::string> names;
  for (const TStoredComponent& child : Children) names.push_back(child.Name);
  return names;
}

TStoredComponent ReadStoredForm(std::span<const uint8_t> bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  stream.SetPosition(0);
  TStreamReader reader(stream);
  reader.ReadSignature();
  TStoredComponent root = ReadRecord(reader);
  if (reader.BytesLeft() != 0) throw std::runtime_error("bytes after the root record");
  return root;
}

std::vector<TValueType> TagsUsed(const TStoredComponent& root) {
  std::vector<TValueType> tags;
  std::function<void(const TStoredComponent&)> visit = [&](const TStoredComponent& c) {
    for (const auto& [name, value] : c.Properties) CollectTags(value, tags);
    for (const TStoredComponent& child : c.Children) visit(child);
  };
  visit(root);
  std::sort(tags.begin(), tags.end());
  return tags;
}
