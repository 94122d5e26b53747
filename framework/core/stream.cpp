#include "framework/core/stream.h"

#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"

int64_t TStream::Size() {
  int64_t pos = Seek(0, TSeekOrigin::Current);
  int64_t size = Seek(0, TSeekOrigin::End);
  Seek(pos, TSeekOrigin::Beginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError(rs::SWriteError); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(rs::SReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(rs::SWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  uint8_t chunk[16384];
  int64_t done = 0;
  while (done < count) {
    int64_t n = std::min<int64_t>(count - done, sizeof chunk);
    source.ReadBuffer(chunk, n);
    WriteBuffer(chunk, n);
    done += n;
  }
  return done;
}

namespace {
int64_t Resolve(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size) {
  switch (origin) {
    case TSeekOrigin::Beginning: return offset;
    case TSeekOrigin::Current: return position + offset;
    case TSeekOrigin::End: return size + offset;
  }
  return position;
}
}  // namespace

TReadOnlyMemoryStream::TReadOnlyMemoryStream(const void* data, size_t size)
    : FData(static_cast<const uint8_t*>(data)), FSize(int64_t(size)) {}

int64_t TReadOnlyMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || FPosition >= FSize) return 0;
  int64_t n = std::min(count, FSize - FPosition);
  std::memcpy(buffer, FData + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TReadOnlyMemoryStream::Write(const void*, int64_t) { return 0; }

int64_t TReadOnlyMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  FPosition = std::max<int64_t>(0, Resolve(offset, origin, FPosition, FSize));
  return FPosition;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t size = int64_t(FData.size());
  if (count <= 0 || FPosition >= size) return 0;
  int64_t n = std::min(count, size - FPosition);
  std::memcpy(buffer, FData.data() + FPosition, size_t(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = FPosition + count;
  if (end > int64_t(FData.size())) FData.resize(size_t(end));
  std::memcpy(FData.data() + FPosition, buffer, size_t(count));
  FPosition = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  FPosition = std::max<int64_t>(0, Resolve(offset, origin, FPosition, int64_t(FData.size())));
  return FPosition;
}

void TMemoryStream::SetSize(int64_t size) {
  FData.resize(size_t(std::max<int64_t>(0, size)));
  FPosition = std::min(FPosition, int64_t(FData.size()));
}

void TMemoryStream::Clear() {
  FData.clear();
  FPosition = 0;
}
