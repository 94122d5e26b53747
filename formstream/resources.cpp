#include "formstream/resources.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "framework/core/text.h"

namespace {
struct TResourceEntry {
  std::string Name;  // upper-case, as the resources are stored
  std::span<const uint8_t> Data;
  TResourceMemory Memory = TResourceMemory::Caller;
};

struct TResourceTable {
  std::mutex Lock;
  std::vector<TResourceEntry> Entries;
};

TResourceTable& Table() {
  static TResourceTable table;
  return table;
}
}  // namespace

void RegisterResource(std::string_view name, const uint8_t* data, size_t size, TResourceMemory memory) {
  TResourceTable& t = Table();
  std::lock_guard guard(t.Lock);
  std::string key = UpperCase(name);
  std::erase_if(t.Entries, [&key](const TResourceEntry& e) { return e.Name == key; });
  t.Entries.push_back({std::move(key), std::span<const uint8_t>(data, size), memory});
}

void UnregisterResource(std::string_view name) {
  TResourceTable& t = Table();
  std::lock_guard guard(t.Lock);
  std::erase_if(t.Entries, [name](const TResourceEntry& e) { return SameText(e.Name, name); });
}

std::optional<std::span<const uint8_t>> FindResource(std::string_view name) {
  TResourceTable& t = Table();
  std::lock_guard guard(t.Lock);
  for (const TResourceEntry& e : t.Entries)
    if (SameText(e.Name, name)) return e.Data;
  return std::nullopt;
}

// Unchanged pages of a read-only file mapping are dropped, not lost: the next read maps
// them from the file again. Memory of the caller's would read back as zeros, so it is left.
void ReleaseResourcePages(std::string_view name) {
  std::span<const uint8_t> data;
  {
    TResourceTable& t = Table();
    std::lock_guard guard(t.Lock);
    for (const TResourceEntry& e : t.Entries)
      if (SameText(e.Name, name) && e.Memory == TResourceMemory::ProgramImage) data = e.Data;
  }
  const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
  const auto begin = (uintptr_t(data.data()) + page - 1) / page * page;
  const auto end = (uintptr_t(data.data()) + data.size()) / page * page;
  if (data.empty() || end <= begin) return;
  // Advice only: a system that refuses it keeps the pages, which costs memory, nothing else.
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
}
