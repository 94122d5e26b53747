#include "tools/assets/small_pictures.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <png.h>

#include "framework/graphics/bitmap_file.h"
#include "tools/assets/raster.h"

namespace {
constexpr int kCell = 16;
const TRgb kBackground = Rgb255(kGlyphBackground[0], kGlyphBackground[1], kGlyphBackground[2]);

// --- glyphs ---
void DrawCloseCell(TRaster& r) {
  const TVec c{8, 8};
  r.Paint(c, 8, [=](TVec p) { return SdCircle(p, c, 6.6f); },
          [=](TVec p, float) { return Mix(Rgb255(236, 70, 60), Rgb255(168, 24, 20), std::clamp((p.Y - 2) / 12, 0.0f, 1.0f)); });
  r.Fill(c, 8, [=](TVec p) { return std::fabs(SdCircle(p, c, 6.6f)) - 0.5f; }, Rgb255(120, 16, 14));
  const TRgb white = Rgb255(255, 255, 255);
  r.Fill(c, 6, [](TVec p) { return SdSegment(p, {5.2f, 5.2f}, {10.8f, 10.8f}, 2.0f); }, white);
  r.Fill(c, 6, [](TVec p) { return SdSegment(p, {10.8f, 5.2f}, {5.2f, 10.8f}, 2.0f); }, white);
}

void DrawAboutCell(TRaster& r) {
  const TVec c{8, 8};
  r.Paint(c, 8, [=](TVec p) { return SdCircle(p, c, 6.6f); },
          [=](TVec p, float) { return Mix(Rgb255(92, 150, 232), Rgb255(24, 70, 170), std::clamp((p.Y - 2) / 12, 0.0f, 1.0f)); });
  r.Fill(c, 8, [=](TVec p) { return std::fabs(SdCircle(p, c, 6.6f)) - 0.5f; }, Rgb255(16, 46, 120));
  const TRgb white = Rgb255(255, 255, 255);
  r.Fill({8, 5}, 3, [](TVec p) { return SdCircle(p, {8, 4.9f}, 1.25f); }, white);
  r.Fill({8, 9}, 5, [](TVec p) { return SdBox(p, {8, 9.6f}, 1.1f, 2.9f, 0, 0.3f); }, white);
}

// The disabled look: the shape in grey, embossed with a white copy one pixel down-right.
void MakeDisabledCell(TRaster& r) {
  for (int y = kCell - 1; y >= 0; --y)
    for (int x = kCell - 1; x >= 0; --x) {
      const TRgb p = r.At(x, y);
      const float dr = p.R - kBackground.R, dg = p.G - kBackground.G, db = p.B - kBackground.B;
      const float strength = std::clamp(std::sqrt(dr * dr + dg * dg + db * db) * 2.5f, 0.0f, 1.0f);
      const float luma = 0.3f * p.R + 0.59f * p.G + 0.11f * p.B;
      TRgb grey = luma > 0.8f ? kBackground : Rgb255(128, 128, 128);
      r.At(kCell + x, y) = Mix(kBackground, grey, strength);
      if (x + 1 < kCell && y + 1 < kCell && luma <= 0.8f && strength > 0.5f) {
        TRgb& light = r.At(kCell + x + 1, y + 1);
        if (light.R == kBackground.R && light.G == kBackground.G) light = Rgb255(255, 255, 255);
      }
    }
}

// The colour table: the background first, a 6 x 6 x 6 cube, then a grey ramp.
std::vector<TRGBQuad> GlyphColourTable() {
  std::vector<TRGBQuad> table;
  table.push_back({kGlyphBackground[2], kGlyphBackground[1], kGlyphBackground[0], 0});
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) table.push_back({uint8_t(b * 51), uint8_t(g * 51), uint8_t(r * 51), 0});
  while (table.size() < 256) {
    const auto v = uint8_t((table.size() - 217) * 255 / 38);
    table.push_back({v, v, v, 0});
  }
  return table;
}

uint8_t NearestEntry(const std::vector<TRGBQuad>& table, TRgb c) {
  auto channel = [](float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  const int r = channel(c.R), g = channel(c.G), b = channel(c.B);
  int best = 0, bestDistance = 1 << 30;
  for (size_t i = 0; i < table.size(); ++i) {
    const int d = (table[i].Red - r) * (table[i].Red - r) + (table[i].Green - g) * (table[i].Green - g) +
                  (table[i].Blue - b) * (table[i].Blue - b);
    if (d < bestDistance) {
      bestDistance = d;
      best = int(i);
    }
  }
  return uint8_t(best);
}

// --- icon ---
// The icon's shapes as fractions of its size, shared by the pixel images and the scalable one:
// a rounded green board, a chip with three pads under it, and a test point ringed in red.
constexpr float kBoardHalf = 0.46f, kBoardCorner = 0.14f;
constexpr TVec kChip{0.36f, 0.36f};
constexpr float kChipHalf = 0.15f, kChipCorner = 0.02f;
constexpr float kPadXs[] = {0.27f, 0.36f, 0.45f};
constexpr float kPadY = 0.58f, kPadHalfW = 0.025f, kPadHalfH = 0.04f;
constexpr TVec kPoint{0.67f, 0.66f};
constexpr float kPointRadius = 0.075f, kRingRadius = 0.18f, kRingStroke = 0.06f;
// Below this size the pads would blur into the board.
constexpr int kSmallestWithPads = 32;
const TRgb kBoardLight = Rgb255(52, 150, 86), kBoardDark = Rgb255(20, 84, 46), kChipColour = Rgb255(28, 28, 32),
           kPadColour = Rgb255(200, 200, 196), kPointColour = Rgb255(236, 190, 84), kRingColour = Rgb255(232, 22, 26);

float IconOutline(TVec p, float s) { return SdBox(p, {s / 2, s / 2}, s * kBoardHalf, s * kBoardHalf, 0, s * kBoardCorner); }

struct TRgba {
  std::vector<uint8_t> Pixels;  // red, green, blue, alpha; top row first
};

TRgba DrawIcon(int size) {
  const float s = float(size);
  TRaster r(size, size, Rgb255(30, 112, 62));
  r.Paint({s / 2, s / 2}, s, [s](TVec p) { return IconOutline(p, s); },
          [s](TVec p, float) { return Mix(kBoardLight, kBoardDark, (p.X + p.Y) / (2 * s)); });
  const TVec chip = kChip * s;
  r.Fill(chip, s * 0.2f, [=](TVec p) { return SdBox(p, chip, s * kChipHalf, s * kChipHalf, 0, s * kChipCorner); },
         kChipColour);
  if (size >= kSmallestWithPads)
    for (float t : kPadXs) {
      const TVec pad{t * s, s * kPadY};
      r.Fill(pad, s * 0.05f, [=](TVec p) { return SdBox(p, pad, s * kPadHalfW, s * kPadHalfH, 0); }, kPadColour);
    }
  const TVec point = kPoint * s;
  r.Fill(point, s * 0.1f, [=](TVec p) { return SdCircle(p, point, s * kPointRadius); }, kPointColour);
  const float stroke = std::max(1.4f, s * kRingStroke);
  r.Fill(point, s * 0.25f, [=](TVec p) { return std::fabs(SdCircle(p, point, s * kRingRadius)) - stroke / 2; },
         kRingColour);
  TRgba out;
  const std::vector<uint8_t> rgb = r.ToRgb8();
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const size_t i = (size_t(y) * size_t(size) + size_t(x)) * 3;
      const float alpha = std::clamp(0.5f - IconOutline({x + 0.5f, y + 0.5f}, s), 0.0f, 1.0f);
      out.Pixels.insert(out.Pixels.end(), {rgb[i], rgb[i + 1], rgb[i + 2], uint8_t(std::lround(alpha * 255))});
    }
  return out;
}

// SVG numbers on a 64-unit grid, written with up to four decimals and no trailing zeros,
// so the file does not depend on the C library's float printing beyond that.
std::string Units(float fraction) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", double(fraction) * 64.0);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string Hex(TRgb c) {
  auto channel = [](float v) { return int(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", channel(c.R), channel(c.G), channel(c.B));
  return text;
}

std::string SvgRect(float cx, float cy, float hx, float hy, float corner, TRgb fill) {
  std::string rect = "  <rect x=\"" + Units(cx - hx) + "\" y=\"" + Units(cy - hy) + "\" width=\"" + Units(2 * hx) +
                     "\" height=\"" + Units(2 * hy) + "\"";
  if (corner > 0) rect += " rx=\"" + Units(corner) + "\"";
  return rect + " fill=\"" + Hex(fill) + "\"/>\n";
}
void Put16(std::vector<uint8_t>& out, uint32_t v) { out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8)}); }
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One icon image: an information header of twice the height (colour rows, then the mask),
// the rows bottom-up in blue, green, red, alpha, then the 1-bit mask rows.
std::vector<uint8_t> IconImage(int size) {
  const TRgba icon = DrawIcon(size);
  const int maskStride = ((size + 31) / 32) * 4;
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, uint32_t(size));
  Put32(out, uint32_t(size * 2));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, uint32_t(size * size * 4 + maskStride * size));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) {
      const uint8_t* p = &icon.Pixels[(size_t(y) * size_t(size) + size_t(x)) * 4];
      out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(size_t(maskStride), 0);
    for (int x = 0; x < size; ++x)
      if (icon.Pixels[(size_t(y) * size_t(size) + size_t(x)) * 4 + 3] == 0) row[size_t(x / 8)] |= uint8_t(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}
}  // namespace

std::vector<uint8_t> MakeGlyphFile(TGlyphKind kind) {
  TRaster cells(2 * kCell, kCell, kBackground);
  if (kind == gkClose) DrawCloseCell(cells);
  else DrawAboutCell(cells);
  MakeDisabledCell(cells);
  TBitmapImage image;
  image.Width = 2 * kCell;
  image.Height = kCell;
  image.Format = pf8bit;
  image.ColorTable = GlyphColourTable();
  image.Bits.resize(size_t(image.Stride()) * size_t(image.Height));
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < 2 * kCell; ++x) image.Row(y)[x] = NearestEntry(image.ColorTable, cells.At(x, y));
  return WriteBitmapFile(image);
}

std::vector<uint8_t> MakeIconFile() {
  const int sizes[] = {32, 16};
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) images.push_back(IconImage(s));
  std::vector<uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, uint32_t(images.size()));
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.insert(out.end(), {uint8_t(sizes[i]), uint8_t(sizes[i]), 0, 0});
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, uint32_t(images[i].size()));
    Put32(out, offset);
    offset += uint32_t(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

std::string MakeIconSvg() {
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
      "  <defs>\n"
      "    <linearGradient id=\"board\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"0\" x2=\"64\" y2=\"64\">\n"
      "      <stop offset=\"0\" stop-color=\"" + Hex(kBoardLight) + "\"/>\n"
      "      <stop offset=\"1\" stop-color=\"" + Hex(kBoardDark) + "\"/>\n"
      "    </linearGradient>\n"
      "  </defs>\n";
  std::string board = SvgRect(0.5f, 0.5f, kBoardHalf, kBoardHalf, kBoardCorner, kBoardDark);
  board.replace(board.find("fill=\"") + 6, 7, "url(#board)");
  svg += board;
  svg += SvgRect(kChip.X, kChip.Y, kChipHalf, kChipHalf, kChipCorner, kChipColour);
  for (float t : kPadXs) svg += SvgRect(t, kPadY, kPadHalfW, kPadHalfH, 0, kPadColour);
  svg += "  <circle cx=\"" + Units(kPoint.X) + "\" cy=\"" + Units(kPoint.Y) + "\" r=\"" + Units(kPointRadius) +
         "\" fill=\"" + Hex(kPointColour) + "\"/>\n";
  svg += "  <circle cx=\"" + Units(kPoint.X) + "\" cy=\"" + Units(kPoint.Y) + "\" r=\"" + Units(kRingRadius) +
         "\" fill=\"none\" stroke=\"" + Hex(kRingColour) + "\" stroke-width=\"" + Units(kRingStroke) + "\"/>\n";
  return svg + "</svg>\n";
}

std::vector<uint8_t> IconPixels(int size) { return DrawIcon(size).Pixels; }

void SaveIconPng(int size, const std::string& path) {
  const TRgba icon = DrawIcon(size);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(size);
  image.height = png_uint_32(size);
  image.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, path.c_str(), 0, icon.Pixels.data(), size * 4, nullptr))
    throw std::runtime_error("cannot write " + path + ": " + image.message);
}
