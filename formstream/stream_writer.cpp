#include "formstream/stream_writer.h"

#include <cstring>

#include "framework/core/component.h"
#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/ident_maps.h"
#include "formstream/collection.h"
#include "formstream/stream_reader.h"
#include "formstream/value_codec.h"

namespace {
void PutLE(uint8_t* out, uint64_t bits, int size) {
  for (int i = 0; i < size; ++i) out[i] = uint8_t(bits >> (8 * i));
}

bool IsDefaultOrdinal(const TPropInfo& prop, int64_t value) { return prop.Default && *prop.Default == value; }

class TWriteDepth {
 public:
  explicit TWriteDepth(int& depth) : FDepth(depth) {
    if (++FDepth > TStreamReader::kMaxDepth) {
      --FDepth;
      throw EWriteError(rs::SWriteError);  // a cycle of sub-objects
    }
  }
  ~TWriteDepth() { --FDepth; }

 private:
  int& FDepth;
};
}  // namespace

TStreamWriter::TStreamWriter(TStream& stream, int bufferSize)
    : FStream(stream), FBuffer(size_t(bufferSize > 16 ? bufferSize : 16)) {}

TStreamWriter::~TStreamWriter() {
  try {
    FlushBuffer();
  } catch (...) {  // reported by an explicit FlushBuffer; a destructor must not throw
  }
}

void TStreamWriter::FlushBuffer() {
  size_t n = FBufPos;
  FBufPos = 0;
  FStream.WriteBuffer(FBuffer.data(), int64_t(n));
}

void TStreamWriter::Write(const void* data, int64_t count) {
  if (count <= 0) return;
  if (FBufPos + size_t(count) > FBuffer.size()) FlushBuffer();
  if (size_t(count) >= FBuffer.size()) {
    FStream.WriteBuffer(data, count);
    return;
  }
  std::memcpy(FBuffer.data() + FBufPos, data, size_t(count));
  FBufPos += size_t(count);
}

void TStreamWriter::WriteStr(std::string_view text) {
  if (text.size() > 255) throw EWriteError(rs::SWriteError);
  WriteByte(uint8_t(text.size()));
  Write(text.data(), int64_t(text.size()));
}

void TStreamWriter::WritePrefix(int flags, int childPos) {
  if (flags == 0) return;
  WriteByte(uint8_t(0xF0 | (flags & 0x0F)));
  if (flags & ffChildPos) WriteInteger(childPos);
}

void TStreamWriter::WritePropName(std::string_view name) { WriteStr(FPropPath + std::string(name)); }

void TStreamWriter::WriteInteger(int64_t value) {
  uint8_t out[9];
  int size = value >= INT8_MIN && value <= INT8_MAX ? 1 : value >= INT16_MIN && value <= INT16_MAX ? 2
             : value >= INT32_MIN && value <= INT32_MAX                                            ? 4 : 8;
  out[0] = uint8_t(size == 1 ? TValueType::vaInt8 : size == 2 ? TValueType::vaInt16
                   : size == 4 ? TValueType::vaInt32 : TValueType::vaInt64);
  PutLE(out + 1, uint64_t(value), size);
  Write(out, size + 1);
}

void TStreamWriter::WriteFloat(double value) {
  WriteValue(TValueType::vaExtended);
  TExtended80 bytes = DoubleToExtended(value);
  Write(bytes.data(), 10);
}

void TStreamWriter::WriteSingle(float value) {
  WriteValue(TValueType::vaSingle);
  Write(&value, 4);
}

void TStreamWriter::WriteCurrency(int64_t units) {
  uint8_t out[8];
  PutLE(out, uint64_t(units), 8);
  WriteValue(TValueType::vaCurrency);
  Write(out, 8);
}

void TStreamWriter::WriteDate(double value) {
  WriteValue(TValueType::vaDate);
  Write(&value, 8);
}

void TStreamWriter::WriteString(const std::string& value) {
  if (value.size() <= 255) {
    WriteValue(TValueType::vaString);
    WriteStr(value);
    return;
  }
  uint8_t count[4];
  PutLE(count, value.size(), 4);
  WriteValue(TValueType::vaLString);
  Write(count, 4);
  Write(value.data(), int64_t(value.size()));
}

void TStreamWriter::WriteWideString(const std::u16string& value) {
  std::vector<uint8_t> out(4 + value.size() * 2);
  PutLE(out.data(), value.size(), 4);
  for (size_t i = 0; i < value.size(); ++i) PutLE(out.data() + 4 + 2 * i, value[i], 2);
  WriteValue(TValueType::vaWString);
  Write(out.data(), int64_t(out.size()));
}

void TStreamWriter::WriteIdent(const std::string& value) {
  if (value == "False") WriteValue(TValueType::vaFalse);
  else if (value == "True") WriteValue(TValueType::vaTrue);
  else if (value == "nil") WriteValue(TValueType::vaNil);
  else if (value == "Null") WriteValue(TValueType::vaNull);
  else {
    WriteValue(TValueType::vaIdent);
    WriteStr(value);
  }
}

void TStreamWriter::WriteBoolean(bool value) { WriteValue(value ? TValueType::vaTrue : TValueType::vaFalse); }

void TStreamWriter::WriteChar(char value) { WriteString(std::string(1, value)); }

void TStreamWriter::WriteListBegin() { WriteValue(TValueType::vaList); }

void TStreamWriter::WriteListEnd() { WriteValue(TValueType::vaNull); }

void TStreamWriter::WriteBinary(const uint8_t* data, size_t size) {
  if (size > size_t(INT32_MAX)) throw EWriteError(rs::SWriteError);
  uint8_t count[4];
  PutLE(count, size, 4);
  WriteValue(TValueType::vaBinary);
  Write(count, 4);
  Write(data, int64_t(size));
}

void TStreamWriter::WriteSet(const std::vector<std::string>& names) {
  WriteValue(TValueType::vaSet);
  for (const std::string& n : names) WriteStr(n);
  WriteStr("");
}

void TStreamWriter::DeclareValueProperty(const std::string& name, TReaderProc, TWriterProc writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WritePropName(name);
  writeData(*this);
}

void TStreamWriter::DeclareByteBlockProperty(const std::string& name, TStreamProc, TStreamProc writeData,
                                             bool hasData) {
  if (!hasData || !writeData) return;
  TMemoryStream block;
  writeData(block);
  WritePropName(name);
  WriteBinary(block.Memory(), block.Bytes().size());
}

void TStreamWriter::WriteRootComponent(TComponent& root) {
  FRoot = FLookupRoot = &root;
  WriteSignature();
  WriteComponent(root);
  FlushBuffer();
}

void TStreamWriter::WriteComponent(TComponent& component) {
  TWriteDepth depth(FDepth);
  component.SetComponentState(csWriting, true);
  try {
    WriteStr(component.ClassName());
    WriteStr(component.Name());
    component.WriteOwnState(*this);
  } catch (...) {
    component.SetComponentState(csWriting, false);
    throw;
  }
  component.SetComponentState(csWriting, false);
}

void TStreamWriter::WriteComponentData(TComponent& component) {
  WriteProperties(component);
  WriteListEnd();
  const TPersistent* ancestor = FAncestor;
  FAncestor = nullptr;  // children are stored whole
  component.GetChildren([this](TComponent* child) { WriteComponent(*child); }, FRoot);
  FAncestor = ancestor;
  WriteListEnd();
}

void TStreamWriter::WriteProperties(const TPersistent& instance) {
  for (const TPropInfo* prop : instance.GetClassInfo().AllProperties())
    if (prop->IsStored(instance)) WriteProperty(instance, *prop);
  const_cast<TPersistent&>(instance).DeclareStoredData(*this);
}

bool TStreamWriter::SameAsAncestor(const TPersistent& instance, const TPropInfo& prop) const {
  if (FAncestor == nullptr || &FAncestor->GetClassInfo() != &instance.GetClassInfo()) return false;
  return prop.Get(*FAncestor) == prop.Get(instance);
}

void TStreamWriter::WriteProperty(const TPersistent& instance, const TPropInfo& prop) {
  const TTypeKind kind = prop.PropType->Kind;
  if (kind == TTypeKind::Class || kind == TTypeKind::Interface) {
    WriteObjectProp(instance, prop);
    return;
  }
  if (prop.IsReadOnly() || SameAsAncestor(instance, prop)) return;
  TValue value = prop.Get(instance);
  const bool compareWithDefault = FAncestor == nullptr;
  switch (kind) {
    case TTypeKind::Integer:
    case TTypeKind::Char:
    case TTypeKind::Enumeration:
    case TTypeKind::Set:
      if (compareWithDefault && IsDefaultOrdinal(prop, std::get<int64_t>(value))) return;
      WritePropName(prop.Name);
      WriteOrdinalProp(prop, std::get<int64_t>(value));
      return;
    case TTypeKind::Int64:
      if (compareWithDefault && std::get<int64_t>(value) == prop.Default.value_or(0)) return;
      WritePropName(prop.Name);
      WriteInteger(std::get<int64_t>(value));
      return;
    case TTypeKind::Float:
      if (compareWithDefault && std::get<double>(value) == 0) return;
      WritePropName(prop.Name);
      WriteFloat(std::get<double>(value));
      return;
    case TTypeKind::String:
      if (compareWithDefault && std::get<std::string>(value).empty()) return;
      WritePropName(prop.Name);
      WriteString(std::get<std::string>(value));
      return;
    case TTypeKind::WString:
      if (compareWithDefault && std::get<std::u16string>(value).empty()) return;
      WritePropName(prop.Name);
      WriteWideString(std::get<std::u16string>(value));
      return;
    case TTypeKind::Method: {
      const TMethod& m = std::get<TMethod>(value);
      if (!m && compareWithDefault) return;
      WritePropName(prop.Name);
      WriteIdent(m ? m.Code->Name : std::string("nil"));
      return;
    }
    default:  // variant
      if (std::holds_alternative<std::monostate>(value)) return;
      WritePropName(prop.Name);
      if (auto* i = std::get_if<int64_t>(&value)) WriteInteger(*i);
      else if (auto* d = std::get_if<double>(&value)) WriteFloat(*d);
      else if (auto* s = std::get_if<std::string>(&value)) WriteString(*s);
      else if (auto* w = std::get_if<std::u16string>(&value)) WriteWideString(*w);
      else WriteValue(TValueType::vaNull);
      return;
  }
}

void TStreamWriter::WriteOrdinalProp(const TPropInfo& prop, int64_t value) {
  const TTypeInfo& type = *prop.PropType;
  switch (type.Kind) {
    case TTypeKind::Integer: {
      TIntToIdent toIdent = FindIntToIdent(type);
      auto ident = toIdent ? toIdent(int32_t(value)) : std::nullopt;
      if (ident) WriteIdent(*ident);
      else WriteInteger(value);
      return;
    }
    case TTypeKind::Char: WriteChar(char(value)); return;
    case TTypeKind::Enumeration: {
      std::string name = type.EnumName(value);
      if (name.empty()) throw EWriteError(rs::SInvalidPropertyValue);
      if (&type == &BooleanTypeInfo()) WriteBoolean(value != 0);
      else WriteIdent(name);
      return;
    }
    default: {
      std::vector<std::string> names;
      for (int bit = 0; bit < 32; ++bit) {
        if (!(value & (int64_t(1) << bit))) continue;
        // A bit with no element name would be written as the empty name that ends the set.
        std::string name = type.ElementType->EnumName(bit);
        if (name.empty()) throw EWriteError(rs::SInvalidPropertyValue);
        names.push_back(std::move(name));
      }
      WriteSet(names);
      return;
    }
  }
}

std::string TStreamWriter::ReferenceName(const TComponent* component) const {
  if (component->Owner() == FLookupRoot) return component->Name();
  if (component == FLookupRoot) return "Owner";
  const TComponent* owner = component->Owner();
  if (owner != nullptr && !owner->Name().empty() && !component->Name().empty())
    return owner->Name() + "." + component->Name();
  return {};
}

void TStreamWriter::WriteObjectProp(const TPersistent& instance, const TPropInfo& prop) {
  TValue value = prop.Get(instance);
  TObject* object = std::get<TObject*>(value);
  auto* component = dynamic_cast<const TComponent*>(object);
  const TPersistent* ancestorObject = nullptr;
  if (FAncestor != nullptr && &FAncestor->GetClassInfo() == &instance.GetClassInfo())
    ancestorObject = dynamic_cast<const TPersistent*>(std::get<TObject*>(prop.Get(*FAncestor)));

  if (component != nullptr && !component->ComponentStyle().Contains(csSubComponent)) {
    if (prop.IsReadOnly() || SameAsAncestor(instance, prop)) return;
    std::string name = ReferenceName(component);
    if (name.empty()) return;
    WritePropName(prop.Name);
    WriteIdent(name);
  } else if (object == nullptr) {
    if (prop.IsReadOnly() || FAncestor == nullptr || SameAsAncestor(instance, prop)) return;
    WritePropName(prop.Name);
    WriteValue(TValueType::vaNil);
  } else if (auto* collection = dynamic_cast<const TCollection*>(object)) {
    if (collection->Count() == 0) return;
    WritePropName(prop.Name);
    WriteCollection(*collection);
  } else if (auto* persistent = dynamic_cast<const TPersistent*>(object)) {
    WriteNestedObject(prop, *persistent, ancestorObject);
  }
}

void TStreamWriter::WriteNestedObject(const TPropInfo& prop, const TPersistent& object,
                                      const TPersistent* ancestorObject) {
  TWriteDepth depth(FDepth);
  std::string path = FPropPath;
  const TPersistent* ancestor = FAncestor;
  FPropPath += prop.Name + ".";
  FAncestor = ancestorObject;
  try {
    WriteProperties(object);
  } catch (...) {
    FPropPath = path;
    FAncestor = ancestor;
    throw;
  }
  FPropPath = path;
  FAncestor = ancestor;
}

void TStreamWriter::WriteCollection(const TCollection& collection) {
  TWriteDepth depth(FDepth);
  std::string path = std::move(FPropPath);
  const TPersistent* ancestor = FAncestor;
  FPropPath.clear();  // item properties are named from the item
  FAncestor = nullptr;
  WriteValue(TValueType::vaCollection);
  for (int i = 0; i < collection.Count(); ++i) {
    WriteListBegin();
    WriteProperties(*collection.Items(i));
    WriteListEnd();
  }
  WriteListEnd();
  FPropPath = std::move(path);
  FAncestor = ancestor;
}
