#pragma once
// The form-description writer, mirror of TStreamReader: stores a component tree with
// the values that differ from their defaults (or from an ancestor object).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/filer.h"

class TCollection;
struct TPropInfo;

class TStreamWriter : public TWriter {
 public:
  static constexpr int kBufferSize = 4096;

  explicit TStreamWriter(TStream& stream, int bufferSize = kBufferSize);
  // Flushes what is buffered; call FlushBuffer first to see a failure.
  ~TStreamWriter() override;
  TStreamWriter(const TStreamWriter&) = delete;
  TStreamWriter& operator=(const TStreamWriter&) = delete;
  void FlushBuffer();

  // TFiler
  void DeclareValueProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                            bool hasData) override;
  void DeclareByteBlockProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                                bool hasData) override;
  TComponent* Root() const override { return FRoot; }

  // Values (TWriter)
  void WriteInteger(int64_t value) override;
  void WriteFloat(double value) override;
  void WriteString(const std::string& value) override;
  void WriteWideString(const std::u16string& value) override;
  void WriteIdent(const std::string& value) override;
  void WriteBoolean(bool value) override;
  void WriteChar(char value) override;
  void WriteListBegin() override;
  void WriteListEnd() override;
  void WriteSingle(float value);
  void WriteCurrency(int64_t units);  // 1/10000 units
  void WriteDate(double value);
  void WriteBinary(const uint8_t* data, size_t size);
  void WriteSet(const std::vector<std::string>& names);

  // Raw structure
  void Write(const void* data, int64_t count);
  void WriteByte(uint8_t value) { Write(&value, 1); }
  void WriteValue(TValueType tag) { WriteByte(uint8_t(tag)); }
  void WriteStr(std::string_view text);  // one length byte, then at most 255 characters
  void WriteSignature() { Write("TPF0", 4); }
  void WritePrefix(int flags, int childPos);
  // The name of a property about to be written, after the path of the objects it is in.
  void WritePropName(std::string_view name);

  // Components
  const TPersistent* Ancestor() const override { return FAncestor; }
  void SetAncestor(const TPersistent* ancestor) { FAncestor = ancestor; }
  void WriteRootComponent(TComponent& root);
  void WriteComponent(TComponent& component);
  void WriteComponentData(TComponent& component) override;
  void WriteProperties(const TPersistent& instance);
  void WriteCollection(const TCollection& collection);

 private:
  void WriteProperty(const TPersistent& instance, const TPropInfo& prop);
  void WriteOrdinalProp(const TPropInfo& prop, int64_t value);
  void WriteObjectProp(const TPersistent& instance, const TPropInfo& prop);
  void WriteNestedObject(const TPropInfo& prop, const TPersistent& object, const TPersistent* ancestorObject);
  bool SameAsAncestor(const TPersistent& instance, const TPropInfo& prop) const;
  std::string ReferenceName(const TComponent* component) const;

  TStream& FStream;
  std::vector<uint8_t> FBuffer;
  size_t FBufPos = 0;
  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
  const TPersistent* FAncestor = nullptr;
  std::string FPropPath;
  int FDepth = 0;
};
