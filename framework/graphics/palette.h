#pragma once
// Logical palettes and bitmap colour tables. A colour table entry is stored blue, green,
// red, 0 (the bitmap file order); a logical palette entry is red, green, blue, flags.
#include <cstddef>
#include <cstdint>
#include <vector>

struct TRGBQuad {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
  uint8_t Reserved = 0;
  friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

struct TPaletteEntry {
  uint8_t Red = 0;
  uint8_t Green = 0;
  uint8_t Blue = 0;
  uint8_t Flags = 0;
  friend bool operator==(const TPaletteEntry&, const TPaletteEntry&) = default;
};

// The index of the entry nearest to `rgb` (0x00BBGGRR) by squared RGB distance; the lowest
// index wins a tie. An empty table answers 0.
int NearestColorIndex(const std::vector<TRGBQuad>& table, uint32_t rgb);

// A logical palette: what a picture asks the target device to show.
class TPalette {
 public:
  TPalette() = default;
  explicit TPalette(std::vector<TPaletteEntry> entries) : FEntries(std::move(entries)) {}
  static TPalette FromColorTable(const std::vector<TRGBQuad>& table);

  int Count() const { return int(FEntries.size()); }
  const std::vector<TPaletteEntry>& Entries() const { return FEntries; }
  TPaletteEntry Entry(int index) const { return FEntries.at(size_t(index)); }
  std::vector<TRGBQuad> ToColorTable() const;
  int NearestIndex(uint32_t rgb) const;
  friend bool operator==(const TPalette&, const TPalette&) = default;

 private:
  std::vector<TPaletteEntry> FEntries;
};

// The screen's 256-entry halftone palette: ten fixed low colours, the 6x6x6 colour cube,
// a ramp of twenty greys between the cube's levels and ten fixed high colours.
const TPalette& HalftonePalette();
// The two-entry table of monochrome bitmaps: black (0) then white (1).
const std::vector<TRGBQuad>& MonochromeColorTable();
