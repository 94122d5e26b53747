#include "framework/graphics/palette.h"

#include <climits>

namespace {
// Both entry layouts name their channels Red, Green and Blue.
template <class Entry>
int NearestIn(const std::vector<Entry>& entries, uint32_t rgb) {
  const int r = int(rgb & 0xFF), g = int((rgb >> 8) & 0xFF), b = int((rgb >> 16) & 0xFF);
  int best = 0;
  int bestDistance = INT_MAX;
  for (size_t i = 0; i < entries.size() && bestDistance > 0; ++i) {
    const int dr = entries[i].Red - r, dg = entries[i].Green - g, db = entries[i].Blue - b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = int(i);
    }
  }
  return best;
}
}  // namespace

int NearestColorIndex(const std::vector<TRGBQuad>& table, uint32_t rgb) { return NearestIn(table, rgb); }

TPalette TPalette::FromColorTable(const std::vector<TRGBQuad>& table) {
  std::vector<TPaletteEntry> entries;
  entries.reserve(table.size());
  for (const TRGBQuad& q : table) entries.push_back({q.Red, q.Green, q.Blue, 0});
  return TPalette(std::move(entries));
}

std::vector<TRGBQuad> TPalette::ToColorTable() const {
  std::vector<TRGBQuad> table;
  table.reserve(FEntries.size());
  for (const TPaletteEntry& e : FEntries) table.push_back({e.Blue, e.Green, e.Red, 0});
  return table;
}

int TPalette::NearestIndex(uint32_t rgb) const { return NearestIn(FEntries, rgb); }

namespace {
TPalette MakeHalftonePalette() {
  std::vector<TPaletteEntry> e;
  e.reserve(256);
  const TPaletteEntry low[10] = {{0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
                                 {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
                                 {192, 220, 192, 0}, {166, 202, 240, 0}};
  const TPaletteEntry high[10] = {{255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},
                                  {0, 255, 0, 0},     {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},
                                  {0, 255, 255, 0},   {255, 255, 255, 0}};
  e.insert(e.end(), std::begin(low), std::end(low));
  for (int b = 0; b < 6; ++b)
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r) e.push_back({uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51), 0});
  // Four greys inside each of the five gaps between the cube's grey levels.
  for (int gap = 0; gap < 5; ++gap)
    for (int k = 1; k <= 4; ++k) {
      const auto v = uint8_t(gap * 51 + (k * 51 + 2) / 5);
      e.push_back({v, v, v, 0});
    }
  e.insert(e.end(), std::begin(high), std::end(high));
  return TPalette(std::move(e));
}
}  // namespace

const TPalette& HalftonePalette() {
  static const TPalette palette = MakeHalftonePalette();
  return palette;
}

const std::vector<TRGBQuad>& MonochromeColorTable() {
  static const std::vector<TRGBQuad> table = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  return table;
}
