#include "formstream/resources.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "framework/core/text.h"

namespace {
struct TResourceEntry {
  std::string Name;  // upper-case, as the resources are stored
  std::span<const uint8_t> Data;
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

void RegisterResource(std::string_view name, const uint8_t* data, size_t size) {
  TResourceTable& t = Table();
  std::lock_guard guard(t.Lock);
  std::string key = UpperCase(name);
  std::erase_if(t.Entries, [&key](const TResourceEntry& e) { return e.Name == key; });
  t.Entries.push_back({std::move(key), std::span<const uint8_t>(data, size)});
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
