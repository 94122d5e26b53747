#include "framework/graphics/text_layout.h"

#include <algorithm>
#include <cctype>

#include "framework/graphics/glyph_cache.h"

namespace {
constexpr int kTabStopChars = 8;

std::vector<std::string_view> SplitParagraphs(std::string_view text, bool singleLine) {
  std::vector<std::string_view> paragraphs;
  if (singleLine) return {text};
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    paragraphs.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size() || paragraphs.empty()) paragraphs.push_back(text.substr(start));
  return paragraphs;
}

// The characters shown, with accelerator underlines; positions are filled in later.
std::vector<TRunChar> ApplyPrefixes(std::string_view text, bool noPrefix) {
  std::vector<TRunChar> chars;
  chars.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto ch = uint8_t(text[i]);
    if (ch != '&' || noPrefix) {
      chars.push_back({ch, 0, false});
    } else if (i + 1 < text.size()) {
      ++i;
      chars.push_back({uint8_t(text[i]), 0, text[i] != '&'});
    }
  }
  return chars;
}

class TLineBuilder {
 public:
  TLineBuilder(TFontFace& face, int width, unsigned format)
      : FFace(face), FWidth(width), FFormat(format),
        FTabStop(std::max(1, kTabStopChars * face.Metric().AveCharWidth)) {}

  // Pen position after `ch` placed at x, tabs reaching the next stop from the line start.
  int Advance(uint8_t ch, int x) {
    if (ch == '\t' && (FFormat & tfExpandTabs) != 0) return (x / FTabStop + 1) * FTabStop;
    return x + FFace.Advance(ch);
  }

  TTextRun Place(std::vector<TRunChar> chars) {
    TTextRun run{std::move(chars), 0};
    for (TRunChar& c : run.Chars) {
      c.X = run.Width;
      run.Width = Advance(c.Ch, run.Width);
    }
    return run;
  }

  void Wrap(const std::vector<TRunChar>& chars, std::vector<TTextRun>& lines) {
    const bool wordBreak = (FFormat & (tfWordBreak | tfSingleLine)) == tfWordBreak;
    size_t start = 0;
    do {
      size_t end = chars.size(), next = chars.size();
      int x = 0;
      std::ptrdiff_t blank = -1;  // where the last blank run after a word starts
      for (size_t i = start; i < chars.size(); ++i) {
        const uint8_t ch = chars[i].Ch;
        if (ch == ' ' && i > start && chars[i - 1].Ch != ' ') blank = std::ptrdiff_t(i);
        const int after = Advance(ch, x);
        if (wordBreak && ch != ' ' && after > FWidth && blank >= 0) {
          end = size_t(blank);
          next = end;
          while (next < chars.size() && chars[next].Ch == ' ') ++next;
          break;
        }
        x = after;
      }
      lines.push_back(Place({chars.begin() + std::ptrdiff_t(start), chars.begin() + std::ptrdiff_t(end)}));
      start = next;
    } while (start < chars.size());
  }

 private:
  TFontFace& FFace;
  int FWidth;
  unsigned FFormat;
  int FTabStop;
};

bool IsStrong(uint8_t ch) { return std::isalnum(ch) != 0 || ch >= 0xC0 || ch == 0x8A || ch == 0x8C || ch == 0x9A || ch == 0x9C; }

// Neutral characters at the ends of a line take the paragraph's right-to-left direction: the
// leading ones show at the right end, the trailing ones at the left, each group reversed.
std::vector<TRunChar> ReorderRightToLeft(const std::vector<TRunChar>& chars) {
  size_t first = 0, last = chars.size();
  while (first < last && !IsStrong(chars[first].Ch)) ++first;
  while (last > first && !IsStrong(chars[last - 1].Ch)) --last;
  std::vector<TRunChar> visual(chars.rbegin(), chars.rbegin() + std::ptrdiff_t(chars.size() - last));
  visual.insert(visual.end(), chars.begin() + std::ptrdiff_t(first), chars.begin() + std::ptrdiff_t(last));
  visual.insert(visual.end(), chars.rend() - std::ptrdiff_t(first), chars.rend());
  return visual;
}
}  // namespace

TTextLayout LayoutText(TFontFace& face, std::string_view text, int width, unsigned format) {
  TTextLayout layout;
  layout.LineHeight = face.Metric().Height;
  TLineBuilder builder(face, width, format);
  for (std::string_view paragraph : SplitParagraphs(text, (format & tfSingleLine) != 0))
    builder.Wrap(ApplyPrefixes(paragraph, (format & tfNoPrefix) != 0), layout.Lines);
  for (TTextRun& line : layout.Lines) {
    if ((format & tfRtlReading) != 0) line = builder.Place(ReorderRightToLeft(line.Chars));
    layout.Width = std::max(layout.Width, line.Width);
  }
  return layout;
}

namespace {
int LineLeft(const TRect& rect, int width, unsigned format) {
  if ((format & tfRight) != 0) return rect.Right - width;
  if ((format & tfCenter) != 0) return (rect.Left + rect.Right - width) / 2;
  return rect.Left;
}

int BlockTop(const TRect& rect, int height, unsigned format) {
  if ((format & tfSingleLine) == 0) return rect.Top;
  if ((format & tfVCenter) != 0) return (rect.Top + rect.Bottom - height) / 2;
  if ((format & tfBottom) != 0) return rect.Bottom - height;
  return rect.Top;
}
}  // namespace

int DrawTextBlock(TDrawContext& dc, std::string_view text, TRect& rect, unsigned format) {
  const TFontData& font = dc.State().Font;
  TFontFace& face = GlyphCache().Face(font);
  const TTextLayout layout = LayoutText(face, text, rect.Width(), format);
  if ((format & tfCalcRect) != 0) {
    rect.Right = rect.Left + layout.Width;
    rect.Bottom = rect.Top + layout.Height();
    return layout.Height();
  }
  const bool clip = (format & tfNoClip) == 0;
  const TClipScope clipScope(dc, clip ? &rect : nullptr);
  const int top = BlockTop(rect, layout.Height(), format);
  for (size_t i = 0; i < layout.Lines.size(); ++i) {
    const int y = top + int(i) * layout.LineHeight;
    if (clip && y >= rect.Bottom) break;
    const TTextRun& line = layout.Lines[i];
    TRunPlacement placement{{LineLeft(rect, line.Width, format), y}, 0, 0, 0, dc.State().BkMode == bmOpaque};
    PaintTextRun(dc, face, font, line, placement);
  }
  return layout.Height();
}
