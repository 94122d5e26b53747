#pragma once
// The bytes of a bitmap's pixels. Like a byte vector (new bytes are zero), except that a
// buffer can also be made without clearing it, for a writer that fills every byte itself
// (a decoder writing every row): clearing megabytes only to overwrite them costs as much as
// a good part of the writing. A buffer can also stand for memory someone else owns (a
// desktop window's own surface), so that the pixels are not kept twice; a copy of such a
// buffer owns its bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

class TPixelBuffer {
 public:
  using value_type = uint8_t;
  using iterator = uint8_t*;
  using const_iterator = const uint8_t*;

  TPixelBuffer() = default;
  TPixelBuffer(const TPixelBuffer& other) { CopyIn(other.data(), other.size()); }
  TPixelBuffer(TPixelBuffer&& other) noexcept
      : FBytes(std::move(other.FBytes)),
        FData(std::exchange(other.FData, nullptr)),
        FSize(std::exchange(other.FSize, 0)) {}
  TPixelBuffer& operator=(const TPixelBuffer& other) {
    if (this != &other) CopyIn(other.data(), other.size());
    return *this;
  }
  TPixelBuffer& operator=(TPixelBuffer&& other) noexcept {
    FBytes = std::move(other.FBytes);
    FData = std::exchange(other.FData, nullptr);
    FSize = std::exchange(other.FSize, 0);
    return *this;
  }

  // `count` bytes, each `value`.
  void assign(size_t count, uint8_t value) {
    Allocate(count);
    if (count > 0) std::memset(FData, value, count);
  }
  // Keeps the bytes both sizes share; new bytes are zero.
  void resize(size_t count) {
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[count]());
    if (std::min(count, FSize) > 0) std::memcpy(bytes.get(), FData, std::min(count, FSize));
    FBytes = std::move(bytes);
    FData = FBytes.get();
    FSize = count;
  }
  // `count` bytes whose values are left to the caller to write, every one of them.
  void AllocateUninitialised(size_t count) { Allocate(count); }
  // From now on the buffer is the `count` bytes at `bytes`, left as they are; their owner
  // keeps them alive until the buffer is given other bytes or destroyed.
  void Borrow(uint8_t* bytes, size_t count) {
    FBytes.reset();
    FData = bytes;
    FSize = count;
  }
  bool Borrowed() const { return FData != nullptr && FBytes == nullptr; }

  uint8_t* data() { return FData; }
  const uint8_t* data() const { return FData; }
  size_t size() const { return FSize; }
  bool empty() const { return FSize == 0; }
  uint8_t& operator[](size_t i) { return FData[i]; }
  uint8_t operator[](size_t i) const { return FData[i]; }
  iterator begin() { return data(); }
  iterator end() { return data() + FSize; }
  const_iterator begin() const { return data(); }
  const_iterator end() const { return data() + FSize; }

  operator std::vector<uint8_t>() const { return {begin(), end()}; }  // NOLINT: reads like the vector it stands for
  friend bool operator==(const TPixelBuffer& a, const TPixelBuffer& b) { return Same(a, b.data(), b.size()); }
  friend bool operator==(const TPixelBuffer& a, const std::vector<uint8_t>& b) { return Same(a, b.data(), b.size()); }

 private:
  void Allocate(size_t count) {
    FBytes.reset(count > 0 ? new uint8_t[count] : nullptr);
    FData = FBytes.get();
    FSize = count;
  }
  void CopyIn(const uint8_t* bytes, size_t count) {
    // Copied before the old bytes go: the source may lie in them.
    std::unique_ptr<uint8_t[]> copy(count > 0 ? new uint8_t[count] : nullptr);
    if (count > 0) std::memcpy(copy.get(), bytes, count);
    FBytes = std::move(copy);
    FData = FBytes.get();
    FSize = count;
  }
  static bool Same(const TPixelBuffer& a, const uint8_t* bytes, size_t count) {
    return a.FSize == count && (count == 0 || std::memcmp(a.data(), bytes, count) == 0);
  }

  std::unique_ptr<uint8_t[]> FBytes;  // none while borrowed
  uint8_t* FData = nullptr;
  size_t FSize = 0;
};
