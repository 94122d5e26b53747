// Draws the push buttons' ten stock glyphs and writes them as a C++ source of bitmap-file
// byte arrays (widgets/stock_glyphs.cpp), so that the program carries them without reading
// any file. Each glyph is 32 x 16 pixels at 8 bits per pixel: the enabled picture in the
// left 16 x 16 cell, its embossed grey disabled form in the right one. The output depends
// on nothing but this file.
//   stock_glyphs_gen OUTPUT.cpp
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/graphics/bitmap_file.h"

namespace {
struct TArt {
  const char* Name;
  const char* Rows[16];
};

// '.' lets the face through (the bottom-left pixel is always '.'); letters are colours.
const TArt kArts[] = {
    {"WKCOMMON_OK",
     {"................", "................", "..............g.", ".............gG.", "............gG..",
      "...........gG...", "..g.......gG....", "..Gg.....gG.....", "...Gg...gG......", "....Gg.gG.......",
      ".....GgG........", "......G.........", "................", "................", "................",
      "................"}},
    {"WKCOMMON_CANCEL",
     {"................", "................", "...r.......r....", "..rRr.....rRr...", "...rRr...rRr....",
      "....rRr.rRr.....", ".....rRrRr......", "......rRr.......", ".....rRrRr......", "....rRr.rRr.....",
      "...rRr...rRr....", "..rRr.....rRr...", "...r.......r....", "................", "................",
      "................"}},
    {"WKCOMMON_HELP",
     {"................", ".....bbbbb......", "....bB...Bb.....", "...bB.....Bb....", "...bB.....Bb....",
      ".........Bb.....", "........Bb......", ".......Bb.......", "......Bb........", "......Bb........",
      "................", "......Bb........", "......Bb........", "................", "................",
      "................"}},
    {"WKCOMMON_YES",
     {"................", "................", "................", "............gg..", "...........gGg..",
      "..........gGg...", ".gg......gGg....", ".gGg....gGg.....", "..gGg..gGg......", "...gGggGg.......",
      "....gGGg........", ".....gg.........", "................", "................", "................",
      "................"}},
    {"WKCOMMON_NO",
     {"................", ".....rrrrr......", "...rrRRRRRrr....", "..rRr.....rRr...", "..rR......rRr...",
      ".rR......rRrRr..", ".rR.....rRr.Rr..", ".rR....rRr..Rr..", ".rR...rRr...Rr..", ".rR..rRr....Rr..",
      ".rRrRr......Rr..", "..rRr......rR...", "..rRr.....rRr...", "...rrRRRRRrr....", ".....rrrrr......",
      "................"}},
    {"WKCOMMON_CLOSE",
     {"................", "..kkkkkkkkk.....", "..kYYYYYYYk.....", "..kYYYYYYYk.....", "..kYYYYYYYk..b..",
      "..kYYYYYYYk..bb.", "..kYYYkYYYkbbbbb", "..kYYYYYYYkbbbbb", "..kYYYYYYYk..bb.", "..kYYYYYYYk..b..",
      "..kYYYYYYYk.....", "..kYYYYYYYk.....", "..kkkkkkkkk.....", "................", "................",
      "................"}},
    {"WKCOMMON_ABORT",
     {"................", ".....rrrrrr.....", "....rRRRRRRr....", "...rRRRRRRRRr...", "..rRRRRRRRRRRr..",
      "..rRRWWWWWWRRr..", "..rRRWWWWWWRRr..", "..rRRRRRRRRRRr..", "..rRRRRRRRRRRr..", "..rRRWWWWWWRRr..",
      "..rRRWWWWWWRRr..", "...rRRRRRRRRr...", "....rRRRRRRr....", ".....rrrrrr.....", "................",
      "................"}},
    {"WKCOMMON_RETRY",
     {"................", "......gggg......", "....gGGGGGGg.g..", "...gG......gGg..", "..gG.......GGg..",
      "..gG.....gGGGg..", ".gG.............", ".gG.............", ".............Gg.", ".............Gg.",
      "..gGGGg.....Gg..", "..gGG.......Gg..", "..gGg......Gg...", "..g.gGGGGGGg....", "......gggg......",
      "................"}},
    {"WKCOMMON_IGNORE",
     {"................", "................", "................", "................", "....bb....bb....",
      "....bBb...bBb...", "....b.Bb..b.Bb..", "bbbbb..Bbbb..Bb.", "bBBBB...BBB...Bb", "bbbbb..Bbbb..Bb.",
      "....b.Bb..b.Bb..", "....bBb...bBb...", "....bb....bb....", "................", "................",
      "................"}},
    {"WKCOMMON_ALL",
     {"................", "................", "..........g.....", ".........gG.....", "........gG...g..",
      ".......gG...gG..", "..g...gG...gG...", "..Gg.gG...gG....", "...GgG..gGg.....", "....G..gGGg.....",
      ".....gGg.Gg.....", "......G..G......", "................", "................", "................",
      "................"}},
};

// Colour table: index 0 is the see-through colour (dark yellow), then the pictures' colours.
const std::map<char, TRGBQuad> kColors = {
    {'.', {0, 128, 128, 0}},   {'g', {0, 128, 0, 0}},     {'G', {0, 192, 0, 0}},   {'r', {0, 0, 128, 0}},
    {'R', {0, 0, 255, 0}},     {'b', {128, 0, 0, 0}},     {'B', {255, 0, 0, 0}},   {'k', {0, 0, 0, 0}},
    {'Y', {128, 255, 255, 0}}, {'W', {255, 255, 255, 0}},
};
constexpr uint8_t kDisabledDark = 10;   // grey (128, 128, 128)
constexpr uint8_t kDisabledLight = 11;  // white

std::vector<TRGBQuad> ColorTable(std::map<char, uint8_t>& index) {
  std::vector<TRGBQuad> table;
  for (char c : std::string(".gGrRbBkYW")) {
    index[c] = uint8_t(table.size());
    table.push_back(kColors.at(c));
  }
  table.push_back({128, 128, 128, 0});
  table.push_back({255, 255, 255, 0});
  return table;
}

// Enabled cell as drawn; disabled cell a grey silhouette with a white copy one pixel right
// and down, the classic engraved look.
TBitmapImage Render(const TArt& art) {
  for (const char* row : art.Rows)
    if (std::string(row).size() != 16 || art.Rows[15][0] != '.') throw std::runtime_error(art.Name);
  std::map<char, uint8_t> index;
  TBitmapImage image;
  image.Width = 32;
  image.Height = 16;
  image.Format = pf8bit;
  image.ColorTable = ColorTable(index);
  image.Bits.assign(size_t(image.Stride()) * 16, 0);
  auto drawn = [&](int x, int y) { return x >= 0 && y >= 0 && x < 16 && y < 16 && art.Rows[y][x] != '.'; };
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      image.SetPixelValue(x, y, index.at(art.Rows[y][x]));
      const uint8_t disabled = drawn(x, y) ? kDisabledDark : drawn(x - 1, y - 1) ? kDisabledLight : 0;
      image.SetPixelValue(16 + x, y, disabled);
    }
  return image;
}

void WriteArray(std::ostream& out, const std::string& name, const std::vector<uint8_t>& bytes) {
  out << "const uint8_t k" << name << "[" << bytes.size() << "] = {";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 20 == 0) out << "\n   ";
    char hex[8];
    std::snprintf(hex, sizeof hex, " 0x%02X,", bytes[i]);
    out << hex;
  }
  out << "\n};\n\n";
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: stock_glyphs_gen OUTPUT.cpp\n";
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << "// Generated by tools/stock_glyphs_gen.cpp; regenerate rather than edit.\n"
         "#include \"widgets/stock_glyphs.h\"\n\n#include <cstdint>\n\nnamespace {\n";
  for (const TArt& art : kArts) WriteArray(out, art.Name, WriteBitmapFile(Render(art)));
  out << "struct TEntry {\n  const char* Name;\n  std::span<const uint8_t> Bytes;\n};\n\nconst TEntry kEntries[] = {\n";
  for (const TArt& art : kArts) out << "    {\"" << art.Name << "\", k" << art.Name << "},\n";
  out << "};\n}  // namespace\n\n"
         "std::span<const uint8_t> StockGlyphResource(std::string_view name) {\n"
         "  for (const TEntry& e : kEntries)\n"
         "    if (name == e.Name) return e.Bytes;\n"
         "  return {};\n}\n";
  return out ? 0 : 1;
}
