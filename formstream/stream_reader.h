#pragma once
// The form-description reader: reads the binary stream (signature, component records,
// tagged values) through one buffer, creates components by class name, sets published
// properties, binds events by method name and resolves references by name.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/filer.h"
#include "formstream/fixups.h"

class TClassInfo;
class TCollection;
struct TMethodInfo;

// Flags of a component record's prefix byte.
enum TFilerFlag { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

class TStreamReader : public TReader {
 public:
  static constexpr int kBufferSize = 4096;
  // Deeper nesting (components, lists) than any real form means a damaged stream.
  static constexpr int kMaxDepth = 64;

  explicit TStreamReader(TStream& stream, int bufferSize = kBufferSize);
  // Leaves the stream at the first byte not consumed.
  ~TStreamReader() override;
  TStreamReader(const TStreamReader&) = delete;
  TStreamReader& operator=(const TStreamReader&) = delete;

  // Hooks; none is needed to load a window.
  std::function<bool(const std::string& message)> OnError;
  std::function<const TClassInfo*(const std::string& className)> OnFindComponentClass;
  std::function<TComponent*(const TClassInfo& cls)> OnCreateComponent;
  std::function<void(TComponent& component, std::string& name)> OnSetName;
  std::function<void(std::string& name)> OnReferenceName;
  std::function<const TMethodInfo*(TComponent& root, const std::string& name)> OnFindMethod;
  std::function<TComponent*(const std::string& name, const std::string& className)> OnAncestorNotFound;

  // TFiler
  void DeclareValueProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                            bool hasData) override;
  void DeclareByteBlockProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                                bool hasData) override;
  TComponent* Root() const override { return FRoot; }

  // Values (TReader)
  TValueType NextValue() override;
  TValueType ReadValue() override;
  int32_t ReadInteger() override;
  int64_t ReadInt64() override;
  double ReadFloat() override;
  std::string ReadString() override;
  std::u16string ReadWideString() override;
  std::string ReadIdent() override;
  bool ReadBoolean() override;
  char ReadChar() override;
  void ReadListBegin() override;
  void ReadListEnd() override;
  bool EndOfList() override;
  void SkipValue() override;

  // Payloads, after their tag has been read.
  float ReadSinglePayload();
  int64_t ReadCurrencyPayload();  // 1/10000 units
  double ReadDatePayload();
  double ReadExtendedPayload();
  std::string ReadLongStringPayload();
  std::u16string ReadWideStringPayload();
  std::string ReadUtf8Payload();
  std::vector<uint8_t> ReadBinaryPayload();
  // Element names of a set up to the empty one.
  std::vector<std::string> ReadSetPayload();

  // Raw structure
  void Read(void* buffer, int64_t count);
  uint8_t ReadByte();
  std::string ReadStr();  // one length byte, then the characters
  void ReadSignature();
  // The optional prefix of a component record; childPos is set with ffChildPos.
  void ReadPrefix(int& flags, int& childPos);
  int64_t Position() const { return FBufStart + FBufPos; }
  void SetPosition(int64_t position);
  // Bytes between the current position and the end of the stream.
  int64_t BytesLeft() const;

  // Components
  // Reads a whole stream (signature and root record) into `root`.
  void ReadRootComponent(TComponent& root);
  // Reads one component record inside the current parent; null when it was skipped.
  TComponent* ReadComponent();
  void ReadProperty(TPersistent& instance);
  void ReadCollection(TCollection& collection);
  void SkipComponent(bool skipHeader);
  // Asked whether to go on after a failure; the default asks OnError, or answers no.
  virtual bool ContinueAfterError(const std::string& message);

  TComponent* Parent() const override { return FParent; }
  TComponent* Owner() const override { return FOwner; }
  void SetParent(TComponent* parent) { FParent = parent; }
  void SetOwner(TComponent* owner) { FOwner = owner; }
  void ReadComponentData(TComponent& component) override;
  const std::vector<TComponent*>& LoadedList() const { return *FLoaded; }
  const std::string& PropName() const { return FPropName; }

 private:
  void Refill();
  void SkipBytes(int64_t count);
  void SkipValueAt(int depth);
  void SkipSetNames();
  void SkipCollection(int depth);
  void SkipPropertyList();
  [[noreturn]] void InvalidValue() const;
  int32_t ReadCount(int elementSize);
  int64_t ReadIntegerPayload(TValueType tag);

  void ReadPropertyPath(TPersistent& instance);
  void ReadPropValue(TPersistent& instance, const TPropInfo& prop);
  void ReadOrdinalProp(TPersistent& instance, const TPropInfo& prop);
  void ReadObjectProp(TPersistent& instance, const TPropInfo& prop);
  void ReadMethodProp(TPersistent& instance, const TPropInfo& prop);
  void ReadVariantProp(TPersistent& instance, const TPropInfo& prop);
  void ReadReferenceProp(TPersistent& instance, const TPropInfo& prop, bool isInterface);
  int64_t ReadSetValue(const TPropInfo& prop);
  const TClassInfo& FindComponentClass(const std::string& className);
  TComponent* CreateComponent(const std::string& className, int flags);
  TComponent* FindAncestorComponent(const std::string& name, const std::string& className);
  void SetComponentName(TComponent& component, std::string name);
  void ReadComponentBody(TComponent& component, int flags, int childPos);
  void ResolveFixups();
  void AddLoaded(TComponent* component, bool once);
  void ForgetLoaded(TComponent& root);

  TStream& FStream;
  std::vector<uint8_t> FBuffer;
  int FBufPos = 0;
  int FBufEnd = 0;
  int64_t FBufStart = 0;  // stream position of FBuffer[0]

  TComponent* FRoot = nullptr;
  TComponent* FLookupRoot = nullptr;
  TComponent* FParent = nullptr;
  TComponent* FOwner = nullptr;
  TComponent* FHolder = nullptr;  // the component whose properties are being read
  std::string FPropName;
  bool FCanHandleExcepts = false;
  bool FReadingFixupScope = false;
  int FDepth = 0;
  int FItemDepth = 0;  // inside a collection item's properties
  std::vector<TPropFixup> FFixups;
  std::vector<TComponent*> FOwnLoaded;
  std::vector<TComponent*>* FLoaded = &FOwnLoaded;
};
