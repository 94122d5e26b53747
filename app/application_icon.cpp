#include "app/application_icon.h"

#include <cstring>

#include "formstream/resources.h"

namespace {
constexpr size_t kDirectoryHeader = 6, kDirectoryEntry = 16, kInfoHeader = 40;

uint32_t ReadLE(std::span<const uint8_t> bytes, size_t at, int count) {
  uint32_t v = 0;
  for (int i = count - 1; i >= 0; --i) v = (v << 8) | bytes[at + size_t(i)];
  return v;
}

// The entry's bitmap bytes, or an empty span when the entry is not a `size` x `size`,
// 32-bit, uncompressed bitmap lying wholly inside the file.
std::span<const uint8_t> EntryBitmap(std::span<const uint8_t> file, size_t entry, int size) {
  const size_t at = kDirectoryHeader + entry * kDirectoryEntry;
  const int width = file[at] == 0 ? 256 : file[at];
  const size_t bytes = ReadLE(file, at + 8, 4), offset = ReadLE(file, at + 12, 4);
  if (width != size || offset > file.size() || bytes > file.size() - offset || bytes < kInfoHeader) return {};
  const std::span<const uint8_t> dib = file.subspan(offset, bytes);
  const bool expected = ReadLE(dib, 0, 4) == kInfoHeader && int32_t(ReadLE(dib, 4, 4)) == size &&
                        int32_t(ReadLE(dib, 8, 4)) == 2 * size && ReadLE(dib, 14, 2) == 32 && ReadLE(dib, 16, 4) == 0;
  const size_t pixels = size_t(size) * size_t(size) * 4;
  if (!expected || dib.size() - kInfoHeader < pixels) return {};
  return dib.subspan(kInfoHeader, pixels);
}
}  // namespace

std::unique_ptr<TBitmap> ReadIconImage(std::span<const uint8_t> file, int size) {
  if (file.size() < kDirectoryHeader || ReadLE(file, 2, 2) != 1) return nullptr;
  const size_t count = ReadLE(file, 4, 2);
  if (file.size() < kDirectoryHeader + count * kDirectoryEntry) return nullptr;
  for (size_t entry = 0; entry < count; ++entry) {
    const std::span<const uint8_t> pixels = EntryBitmap(file, entry, size);
    if (pixels.empty()) continue;
    auto image = std::make_unique<TBitmap>();
    image->SetPixelFormat(pf32bit);
    image->SetSize(size, size);
    // The file's rows run bottom-up, as the bitmap stores them; ScanLine counts from the top.
    const size_t rowBytes = size_t(size) * 4;
    for (int row = 0; row < size; ++row)
      std::memcpy(image->ScanLine(size - 1 - row), pixels.data() + size_t(row) * rowBytes, rowBytes);
    return image;
  }
  return nullptr;
}

std::unique_ptr<TBitmap> ApplicationIconImage() {
  const auto file = FindResource("MAINICON");
  return file ? ReadIconImage(*file, kApplicationIconSize) : nullptr;
}
