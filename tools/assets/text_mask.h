#pragma once
// Lettering for the pictures, drawn by the framework's own text engine and turned into a
// coverage mask that can be laid over a photograph in any colour.
#include <string>
#include <vector>

struct TTextMask {
  int Width = 0, Height = 0;
  std::vector<float> Coverage;  // 0..1, row by row from the top
  float At(int x, int y) const { return Coverage[size_t(y) * size_t(Width) + size_t(x)]; }
};

// `pixelHeight` is the em height in pixels.
TTextMask RenderTextMask(const std::string& text, const std::string& fontName, int pixelHeight, bool bold);
