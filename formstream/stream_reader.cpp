// TStreamReader: the buffer, tagged values, skipping and declared stored values.
#include "formstream/stream_reader.h"

#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/stream.h"
#include "framework/core/text.h"
#include "formstream/value_codec.h"

namespace {
constexpr uint8_t kLastTag = uint8_t(TValueType::vaUTF8String);

bool IsIntegerTag(TValueType t) {
  return t == TValueType::vaInt8 || t == TValueType::vaInt16 || t == TValueType::vaInt32;
}
}  // namespace

TStreamReader::TStreamReader(TStream& stream, int bufferSize)
    : FStream(stream), FBuffer(size_t(std::max(bufferSize, 16))), FBufStart(stream.Position()) {}

TStreamReader::~TStreamReader() {
  try {
    FStream.SetPosition(Position());
  } catch (...) {  // a destructor must not throw; the stream keeps its position
  }
}

void TStreamReader::Refill() {
  FBufStart += FBufEnd;
  FBufPos = FBufEnd = 0;
  int64_t n = FStream.Read(FBuffer.data(), int64_t(FBuffer.size()));
  if (n <= 0) throw EReadError(rs::SReadError);
  FBufEnd = int(n);
}

void TStreamReader::Read(void* buffer, int64_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    if (FBufPos == FBufEnd) {
      if (count >= int64_t(FBuffer.size())) {
        // A large block goes straight from the stream: one copy, not two.
        FBufStart += FBufEnd;
        FBufPos = FBufEnd = 0;
        int64_t n = FStream.Read(out, count);
        if (n <= 0) throw EReadError(rs::SReadError);
        FBufStart += n;
        out += n;
        count -= n;
        continue;
      }
      Refill();
    }
    int n = int(std::min<int64_t>(count, FBufEnd - FBufPos));
    std::memcpy(out, FBuffer.data() + FBufPos, size_t(n));
    FBufPos += n;
    out += n;
    count -= n;
  }
}

uint8_t TStreamReader::ReadByte() {
  if (FBufPos == FBufEnd) Refill();
  return FBuffer[size_t(FBufPos++)];
}

void TStreamReader::SetPosition(int64_t position) {
  if (position >= FBufStart && position <= FBufStart + FBufEnd) {
    FBufPos = int(position - FBufStart);
    return;
  }
  FStream.SetPosition(position);
  FBufStart = position;
  FBufPos = FBufEnd = 0;
}

int64_t TStreamReader::BytesLeft() const { return std::max<int64_t>(0, FStream.Size() - Position()); }

void TStreamReader::SkipBytes(int64_t count) {
  if (count <= FBufEnd - FBufPos) {
    FBufPos += int(count);
    return;
  }
  if (count > BytesLeft()) throw EReadError(rs::SReadError);
  SetPosition(Position() + count);
}

std::string TStreamReader::ReadStr() {
  std::string s(ReadByte(), '\0');
  Read(s.data(), int64_t(s.size()));
  return s;
}

void TStreamReader::ReadSignature() {
  char signature[4];
  Read(signature, 4);
  if (std::memcmp(signature, "TPF0", 4) != 0) throw EReadError(rs::SInvalidStreamFormat);
}

void TStreamReader::ReadPrefix(int& flags, int& childPos) {
  flags = 0;
  if (FBufPos == FBufEnd) Refill();
  if ((FBuffer[size_t(FBufPos)] & 0xF0) != 0xF0) return;
  flags = ReadByte() & 0x0F;
  if (flags & ffChildPos) {
    TValueType tag = ReadValue();
    if (!IsIntegerTag(tag)) InvalidValue();
    childPos = int(ReadIntegerPayload(tag));
  }
}

void TStreamReader::InvalidValue() const { throw EReadError(rs::SInvalidPropertyValue); }

TValueType TStreamReader::NextValue() {
  if (FBufPos == FBufEnd) Refill();
  uint8_t tag = FBuffer[size_t(FBufPos)];
  if (tag > kLastTag) InvalidValue();
  return TValueType(tag);
}

TValueType TStreamReader::ReadValue() {
  TValueType tag = NextValue();
  ++FBufPos;
  return tag;
}

bool TStreamReader::EndOfList() {
  // Raw look: in a property list the byte is a name's length, not a tag.
  if (FBufPos == FBufEnd) Refill();
  return FBuffer[size_t(FBufPos)] == 0;
}

void TStreamReader::ReadListBegin() {
  if (ReadValue() != TValueType::vaList) InvalidValue();
}

void TStreamReader::ReadListEnd() {
  if (ReadByte() != 0) InvalidValue();
}

int32_t TStreamReader::ReadCount(int elementSize) {
  int32_t count;
  uint8_t b[4];
  Read(b, 4);
  count = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
  // Checked before anything is allocated: a damaged count must not cost memory.
  if (count < 0 || int64_t(count) * elementSize > BytesLeft()) throw EReadError(rs::SReadError);
  return count;
}

int64_t TStreamReader::ReadIntegerPayload(TValueType tag) {
  int size = tag == TValueType::vaInt8 ? 1 : tag == TValueType::vaInt16 ? 2 : tag == TValueType::vaInt32 ? 4 : 8;
  uint8_t b[8];
  Read(b, size);
  uint64_t bits = 0;
  for (int i = size - 1; i >= 0; --i) bits = bits << 8 | b[i];
  int shift = 64 - 8 * size;  // sign-extend from the stored width
  return int64_t(bits << shift) >> shift;
}

int32_t TStreamReader::ReadInteger() {
  TValueType tag = ReadValue();
  if (!IsIntegerTag(tag)) InvalidValue();
  return int32_t(ReadIntegerPayload(tag));
}

int64_t TStreamReader::ReadInt64() {
  TValueType tag = ReadValue();
  if (!IsIntegerTag(tag) && tag != TValueType::vaInt64) InvalidValue();
  return ReadIntegerPayload(tag);
}

double TStreamReader::ReadExtendedPayload() {
  TExtended80 bytes;
  Read(bytes.data(), 10);
  return ExtendedToDouble(bytes);
}

float TStreamReader::ReadSinglePayload() {
  float f;
  Read(&f, 4);
  return f;
}

int64_t TStreamReader::ReadCurrencyPayload() { return ReadIntegerPayload(TValueType::vaInt64); }

double TStreamReader::ReadDatePayload() {
  double d;
  Read(&d, 8);
  return d;
}

double TStreamReader::ReadFloat() {
  TValueType tag = ReadValue();
  switch (tag) {
    case TValueType::vaExtended: return ReadExtendedPayload();
    case TValueType::vaSingle: return ReadSinglePayload();
    case TValueType::vaCurrency: return double(ReadCurrencyPayload()) / 10000.0;
    case TValueType::vaDate: return ReadDatePayload();
    default:
      if (!IsIntegerTag(tag)) InvalidValue();
      return double(ReadIntegerPayload(tag));
  }
}

std::string TStreamReader::ReadLongStringPayload() {
  std::string s(size_t(ReadCount(1)), '\0');
  Read(s.data(), int64_t(s.size()));
  return s;
}

std::u16string TStreamReader::ReadWideStringPayload() {
  size_t count = size_t(ReadCount(2));
  std::vector<uint8_t> bytes(count * 2);
  Read(bytes.data(), int64_t(bytes.size()));
  std::u16string s(count, u'\0');
  for (size_t i = 0; i < count; ++i) s[i] = char16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return s;
}

std::string TStreamReader::ReadUtf8Payload() { return ReadLongStringPayload(); }

std::vector<uint8_t> TStreamReader::ReadBinaryPayload() {
  std::vector<uint8_t> bytes(size_t(ReadCount(1)));
  Read(bytes.data(), int64_t(bytes.size()));
  return bytes;
}

std::vector<std::string> TStreamReader::ReadSetPayload() {
  std::vector<std::string> names;
  for (std::string name = ReadStr(); !name.empty(); name = ReadStr()) names.push_back(std::move(name));
  return names;
}

std::string TStreamReader::ReadString() {
  switch (ReadValue()) {
    case TValueType::vaString: return ReadStr();
    case TValueType::vaLString: return ReadLongStringPayload();
    case TValueType::vaWString: return WideToAnsi(ReadWideStringPayload());
    case TValueType::vaUTF8String: return WideToAnsi(Utf8ToWide(ReadUtf8Payload()));
    default: InvalidValue();
  }
}

std::u16string TStreamReader::ReadWideString() {
  switch (ReadValue()) {
    case TValueType::vaString: return AnsiToWide(ReadStr());
    case TValueType::vaLString: return AnsiToWide(ReadLongStringPayload());
    case TValueType::vaWString: return ReadWideStringPayload();
    case TValueType::vaUTF8String: return Utf8ToWide(ReadUtf8Payload());
    default: InvalidValue();
  }
}

std::string TStreamReader::ReadIdent() {
  switch (ReadValue()) {
    case TValueType::vaIdent: return ReadStr();
    case TValueType::vaFalse: return "False";
    case TValueType::vaTrue: return "True";
    case TValueType::vaNil: return "nil";
    case TValueType::vaNull: return "Null";
    default: InvalidValue();
  }
}

bool TStreamReader::ReadBoolean() {
  TValueType tag = ReadValue();
  if (tag != TValueType::vaFalse && tag != TValueType::vaTrue) InvalidValue();
  return tag == TValueType::vaTrue;
}

char TStreamReader::ReadChar() {
  std::string s = ReadString();
  if (s.size() != 1) InvalidValue();
  return s[0];
}

void TStreamReader::SkipValue() { SkipValueAt(0); }

void TStreamReader::SkipValueAt(int depth) {
  if (depth > kMaxDepth) throw EReadError(rs::SInvalidStreamFormat);
  switch (ReadValue()) {
    case TValueType::vaList:
      while (!EndOfList()) SkipValueAt(depth + 1);
      ReadByte();
      break;
    case TValueType::vaInt8: SkipBytes(1); break;
    case TValueType::vaInt16: SkipBytes(2); break;
    case TValueType::vaInt32:
    case TValueType::vaSingle: SkipBytes(4); break;
    case TValueType::vaExtended: SkipBytes(10); break;
    case TValueType::vaString:
    case TValueType::vaIdent: SkipBytes(ReadByte()); break;
    case TValueType::vaBinary:
    case TValueType::vaLString:
    case TValueType::vaUTF8String: SkipBytes(ReadCount(1)); break;
    case TValueType::vaWString: SkipBytes(int64_t(ReadCount(2)) * 2); break;
    case TValueType::vaSet: SkipSetNames(); break;
    case TValueType::vaCollection: SkipCollection(depth + 1); break;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
    case TValueType::vaInt64: SkipBytes(8); break;
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil: break;
  }
}

void TStreamReader::SkipSetNames() {
  for (uint8_t length = ReadByte(); length != 0; length = ReadByte()) SkipBytes(length);
}

void TStreamReader::SkipCollection(int depth) {
  if (depth > kMaxDepth) throw EReadError(rs::SInvalidStreamFormat);
  while (!EndOfList()) {
    if (IsIntegerTag(NextValue())) SkipValueAt(depth);
    ReadListBegin();
    while (!EndOfList()) {
      SkipBytes(ReadByte());
      SkipValueAt(depth + 1);
    }
    ReadByte();
  }
  ReadByte();
}

void TStreamReader::SkipPropertyList() {
  while (!EndOfList()) {
    SkipBytes(ReadByte());
    SkipValue();
  }
  ReadByte();
}

void TStreamReader::DeclareValueProperty(const std::string& name, TReaderProc readData, TWriterProc,
                                         bool) {
  if (!readData || FPropName.empty() || !SameText(name, FPropName)) return;
  FCanHandleExcepts = true;
  const int64_t start = Position();
  readData(*this);
  // A routine that read no value, or went on into the next property's name, would leave
  // the stream out of step: the bytes it left or took would be read as properties.
  const int64_t end = Position();
  SetPosition(start);
  SkipValue();
  if (Position() != end) InvalidValue();
  FPropName.clear();
}

void TStreamReader::DeclareByteBlockProperty(const std::string& name, TStreamProc readData, TStreamProc,
                                             bool) {
  if (!readData || FPropName.empty() || !SameText(name, FPropName)) return;
  FCanHandleExcepts = true;
  if (ReadValue() != TValueType::vaBinary) InvalidValue();
  TMemoryStream block;
  block.SetSize(ReadCount(1));
  Read(block.Memory(), block.Size());
  block.SetPosition(0);
  readData(block);
  FPropName.clear();
}
