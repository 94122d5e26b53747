// Once a window is read, the pages of its embedded description go back to the system; the
// bytes must still read the same afterwards, and memory of the caller's must be left alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formstream/resources.h"

namespace {
uint64_t Fingerprint(std::span<const uint8_t> bytes) {
  uint64_t h = 14695981039346656037ull;
  for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

// Resident KiB of the mapping that holds `address`, from the system's account of it.
long ResidentKiBOfMappingAt(const void* address) {
  std::ifstream smaps("/proc/self/smaps");
  std::string line;
  bool inside = false;
  while (std::getline(smaps, line)) {
    uintptr_t from = 0, to = 0;
    char dash = 0;
    std::istringstream head(line);
    if (head >> std::hex >> from >> dash >> to && dash == '-') {
      inside = uintptr_t(address) >= from && uintptr_t(address) < to;
      continue;
    }
    if (inside && line.rfind("Rss:", 0) == 0) return std::stol(line.substr(4));
  }
  return -1;
}

TEST(ResourcePages, ReleasedPagesLeaveMemoryAndReadBackTheSame) {
  const auto form = FindResource("TFORM1");
  ASSERT_TRUE(form);
  const uint64_t before = Fingerprint(*form);  // every page read, so resident
  const long residentBefore = ResidentKiBOfMappingAt(form->data());
  ReleaseResourcePages("TFORM1");
  const long residentAfter = ResidentKiBOfMappingAt(form->data());
  const long pageKiB = sysconf(_SC_PAGESIZE) / 1024;
  const long interiorKiB = long(form->size()) / 1024 - 2 * pageKiB;
  EXPECT_GE(residentBefore - residentAfter, interiorKiB) << residentBefore << " KiB before, " << residentAfter << " after";
  EXPECT_EQ(Fingerprint(*form), before);
  EXPECT_GE(ResidentKiBOfMappingAt(form->data()) - residentAfter, interiorKiB);
}

TEST(ResourcePages, MemoryOfTheCallersIsKept) {
  std::vector<uint8_t> bytes(64 * 4096);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7 + 1);
  const uint64_t before = Fingerprint(bytes);
  RegisterResource("CALLERBYTES", bytes.data(), bytes.size());
  ReleaseResourcePages("CALLERBYTES");
  ReleaseResourcePages("NOSUCHRESOURCE");
  EXPECT_EQ(Fingerprint(bytes), before);
  UnregisterResource("CALLERBYTES");
}
}  // namespace
