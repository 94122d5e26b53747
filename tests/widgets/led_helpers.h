#pragma once
// LED displays painted into bitmaps, read back dot by dot, and painted the plain way (every
// dot one rectangle) to hold the display's own painting to.
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/timer.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "tests/widgets/pixel_pattern.h"
#include "widgets/frame_drawing.h"
#include "widgets/led_display.h"

inline constexpr uint32_t kLit = 0x00FF00;      // default SegOnColor
inline constexpr uint32_t kUnlit = 0x003300;    // default SegOffColor
inline constexpr uint32_t kPen = 0x000000;      // the pen ring around every dot
inline constexpr uint32_t kShadow = 0x99A8AC;   // clBtnShadow, RGB 172, 168, 153
inline constexpr uint32_t kHighlight = 0xFFFFFF;  // clBtnHighlight

// A display of the given size, not on any window.
inline std::unique_ptr<TWkLEDDisplay> MakeDisplay(int width, int height, const std::string& caption = "") {
  auto display = std::make_unique<TWkLEDDisplay>(nullptr);
  display->SetBounds(0, 0, width, height);
  display->SetCaption(caption);
  return display;
}

// The display's paint message onto a bitmap of its size, first filled with kBackground.
inline std::unique_ptr<TBitmap> PaintDisplay(TWkLEDDisplay& display) {
  auto bitmap = MakeCanvasBitmap(display.Width(), display.Height());
  display.Perform(msgPaint, reinterpret_cast<intptr_t>(&bitmap->Canvas()));
  return bitmap;
}

// Reads a cell as seven rows of six letters: 'X' lit, '.' unlit, '?' anything else, each
// sampled inside its dot (one pixel in from the pen ring). `origin` is the client area's
// top-left corner in `image`; `cellLeft` the cell's x in the client area.
inline std::vector<std::string> ReadCell(const TBitmap& image, TPoint origin, const TLedLayout& layout,
                                         int cellLeft, uint32_t lit = kLit, uint32_t unlit = kUnlit) {
  std::vector<std::string> rows;
  for (int r = 0; r < 7; ++r) {
    std::string row;
    for (int k = 0; k < 6; ++k) {
      const uint32_t rgb =
          image.PixelRGB(origin.X + cellLeft + k * layout.Pitch + 1, origin.Y + layout.Top + r * layout.Pitch + 1);
      row += rgb == lit ? 'X' : rgb == unlit ? '.' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// The client area as the plain painting gives it: a bitmap filled with BackColor, the unlit
// grid from x = 0, then every character as one rectangle per dot with the default pen.
inline std::unique_ptr<TBitmap> PlainClientPaint(const TWkLEDDisplay& display) {
  const TRect client = display.ClientRect();
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(client.Width(), client.Height());
  TCanvas& canvas = bitmap->Canvas();
  canvas.Brush().SetColor(display.BackColor());
  canvas.FillRect({0, 0, client.Width(), client.Height()});
  const TLedLayout layout = display.Layout(client.Width(), client.Height());
  const int dot = display.DotPixels(), p = layout.Pitch;
  auto cell = [&](int x, int y, uint8_t code) {
    const TLedGlyph& glyph = LedFont[size_t((code >= 32 && code <= 126 ? code : 127) - 32)];
    for (int r = 0; r < 7; ++r)
      for (int k = 0; k < 6; ++k) {
        const bool lit = k < 5 && (glyph[size_t(k)] & (0x80 >> r)) != 0;
        canvas.Brush().SetColor(lit ? display.SegOnColor() : display.SegOffColor());
        canvas.Rectangle(x + k * p, y + r * p, x + k * p + dot + 1, y + r * p + dot + 1);
      }
  };
  for (int x = 0; x < client.Width(); x += layout.CellWidth) cell(x, layout.Top, ' ');
  const std::string& text = display.Caption();
  for (size_t i = 0; i < text.size(); ++i)
    cell(layout.TextLeft + int(i) * layout.CellWidth, layout.Top, uint8_t(text[i]));
  return bitmap;
}

// Counts the pixels of the client area at `origin` in `painted` that differ from `plain`.
inline int DifferingPixels(const TBitmap& painted, TPoint origin, const TBitmap& plain) {
  int differing = 0;
  for (int y = 0; y < plain.Height(); ++y)
    for (int x = 0; x < plain.Width(); ++x)
      differing += painted.PixelRGB(origin.X + x, origin.Y + y) != plain.PixelRGB(x, y);
  return differing;
}
