#pragma once
// Byte streams: the form loader reads embedded descriptions through these.
#include <cstddef>
#include <cstdint>
#include <vector>

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to `count` bytes; answers how many were read.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes up to `count` bytes; answers how many were written.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  void SetPosition(int64_t pos) { Seek(pos, TSeekOrigin::Beginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  // Exactly `count` bytes or EReadError "Stream read error".
  void ReadBuffer(void* buffer, int64_t count);
  // Exactly `count` bytes or EWriteError "Stream write error".
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies `count` bytes from `source` (all of it from its start when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over memory it does not own, for reading only (embedded resources).
class TReadOnlyMemoryStream : public TStream {
 public:
  TReadOnlyMemoryStream(const void* data, size_t size);
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  const uint8_t* Memory() const { return FData; }

 private:
  const uint8_t* FData;
  int64_t FSize;
  int64_t FPosition = 0;
};

// A growable stream in memory.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  void Clear();

  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }
  const std::vector<uint8_t>& Bytes() const { return FData; }

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};
