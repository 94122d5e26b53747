#pragma once
// What persistent objects see of the form-description reader and writer: declaring
// stored values that are not published, reading and writing plain values, and the
// loading context. The stream format itself lives in formstream/.
#include <cstdint>
#include <functional>
#include <string>

class TComponent;
class TPersistent;
class TStream;
class TReader;
class TWriter;

// The value tags of the stream format.
enum class TValueType : uint8_t {
  vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue,
  vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString,
  vaInt64, vaUTF8String,
};

using TReaderProc = std::function<void(TReader&)>;
using TWriterProc = std::function<void(TWriter&)>;
using TStreamProc = std::function<void(TStream&)>;

class TFiler {
 public:
  virtual ~TFiler() = default;
  // A stored value read and written with the filer's own value routines.
  virtual void DeclareValueProperty(const std::string& name, TReaderProc readData, TWriterProc writeData,
                                    bool hasData) = 0;
  // A stored block of bytes, handed over as a stream positioned at its start.
  virtual void DeclareByteBlockProperty(const std::string& name, TStreamProc readData, TStreamProc writeData,
                                        bool hasData) = 0;
  virtual TComponent* Root() const = 0;
};

class TReader : public TFiler {
 public:
  virtual TValueType NextValue() = 0;  // the next tag, not consumed
  virtual TValueType ReadValue() = 0;  // the next tag, consumed
  virtual int32_t ReadInteger() = 0;
  virtual int64_t ReadInt64() = 0;
  virtual double ReadFloat() = 0;
  virtual std::string ReadString() = 0;
  virtual std::u16string ReadWideString() = 0;
  virtual std::string ReadIdent() = 0;
  virtual bool ReadBoolean() = 0;
  virtual char ReadChar() = 0;
  virtual void ReadListBegin() = 0;
  virtual void ReadListEnd() = 0;
  virtual bool EndOfList() = 0;
  virtual void SkipValue() = 0;

  // The component that children being read are given as parent.
  virtual TComponent* Parent() const = 0;
  virtual TComponent* Owner() const = 0;
  // Reads a component's property list and child list: the base of ReadOwnState.
  virtual void ReadComponentData(TComponent& component) = 0;
};

class TWriter : public TFiler {
 public:
  virtual void WriteInteger(int64_t value) = 0;  // the smallest tag that holds it
  virtual void WriteFloat(double value) = 0;
  virtual void WriteString(const std::string& value) = 0;
  virtual void WriteWideString(const std::u16string& value) = 0;
  virtual void WriteIdent(const std::string& value) = 0;
  virtual void WriteBoolean(bool value) = 0;
  virtual void WriteChar(char value) = 0;
  virtual void WriteListBegin() = 0;
  virtual void WriteListEnd() = 0;

  // The object this one is compared with to decide what to store (none: store all).
  virtual const TPersistent* Ancestor() const = 0;
  // Writes a component's property list and child list: the base of WriteOwnState.
  virtual void WriteComponentData(TComponent& component) = 0;
};
