#include "widgets/led_display.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>

#include "framework/controls/timer.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/draw_context.h"
#include "framework/graphics/region.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "framework/typeinfo/obsolete_property.h"
#include "widgets/frame_drawing.h"
#include "widgets/property_write.h"

VM_ENUM_INFO(TWkScrollType, "stNone", "stRightToLeft", "stLeftToRight")

// ---- TWkBorder ----

const TClassInfo& TWkBorder::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TWkBorder, TGraphicControl>("TWkBorder")
          .Property("BorderOuter", &TWkBorder::BorderOuter, &TWkBorder::SetBorderOuter, Default(fsGroove))
          .Property("BorderInner", &TWkBorder::BorderInner, &TWkBorder::SetBorderInner, Default(fsNone))
          .Property("BorderWidth", &TWkBorder::BorderWidth, &TWkBorder::SetBorderWidth, Default(0))
          .Property("BorderColor", &TWkBorder::BorderColor, &TWkBorder::SetBorderColor, Default(clBtnFace))
          .Property("BevelWidth", &TWkBorder::BevelWidth, &TWkBorder::SetBevelWidth, Default(1))
          .Property("BorderHighlight", &TWkBorder::BorderHighlight, &TWkBorder::SetBorderHighlight,
                    Default(clBtnHighlight))
          .Property("BorderShadow", &TWkBorder::BorderShadow, &TWkBorder::SetBorderShadow, Default(clBtnShadow))
          .Property("BorderSides", &TWkBorder::BorderSides, &TWkBorder::SetBorderSides, Default(AllSides.Bits()))
          .Property("FlatColor", &TWkBorder::FlatColor, &TWkBorder::SetFlatColor, Default(clBtnShadow))
          .Property("FlatColorAdjustment", &TWkBorder::FlatColorAdjustment, &TWkBorder::SetFlatColorAdjustment,
                    Default(30))
          .Event("OnMouseEnter", &TWkBorder::FOnMouseEnter)
          .Event("OnMouseLeave", &TWkBorder::FOnMouseLeave);
  return info;
}

namespace {
constexpr int kNewBorderSize = 50;
}  // namespace

TWkBorder::TWkBorder(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(Left(), Top(), kNewBorderSize, kNewBorderSize);
}

// ---- properties ----

// The widths are counts of pixel rings: a negative one would grow the client area past
// the bounds, so it is taken as none.
void TWkBorder::SetBevelWidth(int value) { WriteProperty(*this, FBevelWidth, std::max(value, 0), weRepaint); }
void TWkBorder::SetBorderColor(TColor value) { WriteProperty(*this, FBorderColor, value, weRepaint); }
void TWkBorder::SetBorderHighlight(TColor value) { WriteProperty(*this, FBorderHighlight, value, weRepaint); }
void TWkBorder::SetBorderInner(TFrameStyle value) { WriteProperty(*this, FBorderInner, value, weRepaint); }
void TWkBorder::SetBorderOuter(TFrameStyle value) { WriteProperty(*this, FBorderOuter, value, weRepaint); }
void TWkBorder::SetBorderShadow(TColor value) { WriteProperty(*this, FBorderShadow, value, weRepaint); }
void TWkBorder::SetBorderSides(TSides value) { WriteProperty(*this, FBorderSides, value, weRepaint); }
void TWkBorder::SetBorderWidth(int value) { WriteProperty(*this, FBorderWidth, std::max(value, 0), weRepaint); }
void TWkBorder::SetFlatColor(TColor value) { WriteProperty(*this, FFlatColor, value, weInvalidate); }
void TWkBorder::SetFlatColorAdjustment(int value) { WriteProperty(*this, FFlatColorAdjustment, value, weInvalidate); }

// ---- geometry ----

// Pixels a frame style takes from each of its sides. The bold flat frame draws two rings,
// so it keeps the client area off both.
int TWkBorder::FrameThickness(TFrameStyle style) const {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return FBevelWidth;
    default: return 2;
  }
}

TRect TWkBorder::ShrinkByBorders(TRect rect) const {
  rect = {rect.Left + FBorderWidth, rect.Top + FBorderWidth, rect.Right - FBorderWidth, rect.Bottom - FBorderWidth};
  for (TFrameStyle style : {FBorderOuter, FBorderInner}) {
    const int n = FrameThickness(style);
    if (FBorderSides.Contains(sdLeft)) rect.Left += n;
    if (FBorderSides.Contains(sdTop)) rect.Top += n;
    if (FBorderSides.Contains(sdRight)) rect.Right -= n;
    if (FBorderSides.Contains(sdBottom)) rect.Bottom -= n;
  }
  return rect;
}

TRect TWkBorder::ClientRect() const { return ShrinkByBorders({0, 0, Width(), Height()}); }

// ---- paint ----

TRect TWkBorder::PaintFrame(TCanvas& canvas, const TRect& rect, TFrameStyle style) const {
  switch (style) {
    case fsFlat: {
      const TColor flat = ShiftLightness(FFlatColor, FFlatColorAdjustment);
      return DrawBevelBand(canvas, rect, flat, flat, 1, FBorderSides);
    }
    case fsPopup: return DrawBevelBand(canvas, rect, FBorderHighlight, FBorderShadow, FBevelWidth, FBorderSides);
    case fsStatus: return DrawBevelBand(canvas, rect, FBorderShadow, FBorderHighlight, FBevelWidth, FBorderSides);
    default: return DrawFrameSides(canvas, rect, style, FBorderSides);
  }
}

TRect TWkBorder::PaintBorders(TCanvas& canvas) const {
  TRect rect = PaintFrame(canvas, {0, 0, Width(), Height()}, FBorderOuter);
  if (FBorderWidth > 0) rect = DrawBevelBand(canvas, rect, FBorderColor, FBorderColor, FBorderWidth, FBorderSides);
  return PaintFrame(canvas, rect, FBorderInner);
}

void TWkBorder::Paint() { PaintBorders(Canvas()); }

// ---- input ----

void TWkBorder::NotifyMouseEnter() {
  if (FOnMouseEnter) FOnMouseEnter(this);
}

void TWkBorder::NotifyMouseLeave() {
  if (FOnMouseLeave) FOnMouseLeave(this);
}

void TWkBorder::MouseEnter(TMessage&) {
  if (!ComponentState().Contains(csDesigning)) NotifyMouseEnter();
}

void TWkBorder::MouseLeave(TMessage&) { NotifyMouseLeave(); }

// ---- the LED glyphs ----

const std::array<TLedGlyph, 96> LedFont = {{
    {0x00, 0x00, 0x00, 0x00, 0x00},  // 32 space
    {0x00, 0x00, 0xFA, 0x00, 0x00},  // 33 !
    {0x00, 0xC0, 0x00, 0xC0, 0x00},  // 34 double quote
    {0x28, 0x7C, 0x28, 0x7C, 0x28},  // 35 hash sign
    {0x24, 0x54, 0xFE, 0x54, 0x48},  // 36 $
    {0x64, 0x68, 0x10, 0x2C, 0x4C},  // 37 %
    {0x6C, 0x92, 0xAA, 0x44, 0x0A},  // 38 &
    {0x00, 0x20, 0xC0, 0x00, 0x00},  // 39 apostrophe
    {0x00, 0x00, 0x7C, 0x82, 0x00},  // 40 (
    {0x00, 0x82, 0x7C, 0x00, 0x00},  // 41 )
    {0x54, 0x38, 0xFE, 0x38, 0x54},  // 42 asterisk
    {0x10, 0x10, 0x7C, 0x10, 0x10},  // 43 +
    {0x00, 0x02, 0x04, 0x00, 0x00},  // 44 comma
    {0x10, 0x10, 0x10, 0x10, 0x10},  // 45 -
    {0x00, 0x00, 0x02, 0x00, 0x00},  // 46 .
    {0x04, 0x08, 0x10, 0x20, 0x40},  // 47 /
    {0x7C, 0x8A, 0x92, 0xA2, 0x7C},  // 48 0
    {0x00, 0x42, 0xFE, 0x02, 0x00},  // 49 1
    {0x46, 0x8A, 0x92, 0x92, 0x62},  // 50 2
    {0x44, 0x92, 0x92, 0x92, 0x6C},  // 51 3
    {0xF0, 0x10, 0x10, 0x10, 0xFE},  // 52 4
    {0xF4, 0x92, 0x92, 0x92, 0x8C},  // 53 5
    {0x7C, 0x92, 0x92, 0x92, 0x4C},  // 54 6
    {0xC0, 0x80, 0x8E, 0x90, 0xE0},  // 55 7
    {0x6C, 0x92, 0x92, 0x92, 0x6C},  // 56 8
    {0x64, 0x92, 0x92, 0x92, 0x7C},  // 57 9
    {0x00, 0x00, 0x24, 0x00, 0x00},  // 58 colon
    {0x00, 0x02, 0x24, 0x00, 0x00},  // 59 semicolon
    {0x10, 0x28, 0x44, 0x82, 0x00},  // 60 less-than
    {0x28, 0x28, 0x28, 0x28, 0x28},  // 61 =
    {0x00, 0x82, 0x44, 0x28, 0x10},  // 62 greater-than
    {0x40, 0x80, 0x9A, 0x90, 0x60},  // 63 ?
    {0x7C, 0x92, 0xAA, 0xBA, 0x70},  // 64 at sign
    {0x7E, 0x90, 0x90, 0x90, 0x7E},  // 65 A
    {0xFE, 0x92, 0x92, 0x92, 0x6C},  // 66 B
    {0x7C, 0x82, 0x82, 0x82, 0x44},  // 67 C
    {0xFE, 0x82, 0x82, 0x82, 0x7C},  // 68 D
    {0xFE, 0x92, 0x92, 0x92, 0x82},  // 69 E
    {0xFE, 0x90, 0x90, 0x90, 0x80},  // 70 F
    {0x7C, 0x82, 0x92, 0x92, 0x5C},  // 71 G
    {0xFE, 0x10, 0x10, 0x10, 0xFE},  // 72 H
    {0x82, 0x82, 0xFE, 0x82, 0x82},  // 73 I
    {0x04, 0x02, 0x02, 0x02, 0xFC},  // 74 J
    {0xFE, 0x10, 0x28, 0x44, 0x82},  // 75 K
    {0xFE, 0x02, 0x02, 0x02, 0x02},  // 76 L
    {0xFE, 0x40, 0x20, 0x40, 0xFE},  // 77 M
    {0xFE, 0x20, 0x10, 0x08, 0xFE},  // 78 N
    {0x7C, 0x82, 0x82, 0x82, 0x7C},  // 79 O
    {0xFE, 0x90, 0x90, 0x90, 0x60},  // 80 P
    {0x7C, 0x82, 0x82, 0x86, 0x7E},  // 81 Q
    {0xFE, 0x90, 0x90, 0x90, 0x6E},  // 82 R
    {0x64, 0x92, 0x92, 0x92, 0x4C},  // 83 S
    {0x80, 0x80, 0xFE, 0x80, 0x80},  // 84 T
    {0xFC, 0x02, 0x02, 0x02, 0xFC},  // 85 U
    {0xE0, 0x18, 0x06, 0x18, 0xE0},  // 86 V
    {0xFC, 0x02, 0x0C, 0x02, 0xFC},  // 87 W
    {0xC6, 0x28, 0x10, 0x28, 0xC6},  // 88 X
    {0xC0, 0x20, 0x1E, 0x20, 0xC0},  // 89 Y
    {0x86, 0x8A, 0x92, 0xA2, 0xC2},  // 90 Z
    {0x00, 0xFE, 0x82, 0x82, 0x00},  // 91 [
    {0x40, 0x20, 0x10, 0x08, 0x04},  // 92 backslash
    {0x00, 0x82, 0x82, 0xFE, 0x00},  // 93 ]
    {0x20, 0x40, 0x80, 0x40, 0x20},  // 94 ^
    {0x02, 0x02, 0x02, 0x02, 0x02},  // 95 underscore
    {0x00, 0x00, 0xC0, 0x20, 0x00},  // 96 grave accent
    {0x04, 0x2A, 0x2A, 0x2A, 0x1E},  // 97 a
    {0xFE, 0x22, 0x22, 0x22, 0x1C},  // 98 b
    {0x1C, 0x22, 0x22, 0x22, 0x14},  // 99 c
    {0x1C, 0x22, 0x22, 0x22, 0xFE},  // 100 d
    {0x1C, 0x2A, 0x2A, 0x2A, 0x18},  // 101 e
    {0x10, 0x7E, 0x90, 0x90, 0x40},  // 102 f
    {0x10, 0x2A, 0x2A, 0x2A, 0x1C},  // 103 g
    {0xFE, 0x20, 0x20, 0x20, 0x1E},  // 104 h
    {0x00, 0x22, 0xBE, 0x02, 0x00},  // 105 i
    {0x00, 0x02, 0xBC, 0x00, 0x00},  // 106 j
    {0xFE, 0x08, 0x08, 0x14, 0x22},  // 107 k
    {0x00, 0x82, 0xFE, 0x02, 0x00},  // 108 l
    {0x3E, 0x20, 0x3E, 0x20, 0x1E},  // 109 m
    {0x3E, 0x20, 0x20, 0x20, 0x1E},  // 110 n
    {0x1C, 0x22, 0x22, 0x22, 0x1C},  // 111 o
    {0x3E, 0x28, 0x28, 0x28, 0x10},  // 112 p
    {0x10, 0x28, 0x28, 0x28, 0x3E},  // 113 q
    {0x3E, 0x20, 0x20, 0x20, 0x10},  // 114 r
    {0x12, 0x2A, 0x2A, 0x2A, 0x24},  // 115 s
    {0x20, 0xFC, 0x22, 0x22, 0x00},  // 116 t
    {0x3C, 0x02, 0x02, 0x02, 0x3E},  // 117 u
    {0x38, 0x04, 0x02, 0x04, 0x38},  // 118 v
    {0x3C, 0x02, 0x0C, 0x02, 0x3C},  // 119 w
    {0x22, 0x14, 0x08, 0x14, 0x22},  // 120 x
    {0x22, 0x14, 0x08, 0x10, 0x20},  // 121 y
    {0x22, 0x26, 0x2A, 0x32, 0x22},  // 122 z
    {0x00, 0x10, 0x6C, 0x82, 0x00},  // 123 {
    {0x00, 0x00, 0xFE, 0x00, 0x00},  // 124 vertical bar
    {0x00, 0x82, 0x6C, 0x10, 0x00},  // 125 }
    {0x40, 0x80, 0x40, 0x20, 0x40},  // 126 ~
    {0x00, 0x7C, 0x7C, 0x7C, 0x00},  // 127 block
}};

const TLedGlyph& LedGlyph(uint8_t code) {
  const bool drawable = code >= kLedFirstCode && code < kLedBlockCode;
  return LedFont[size_t((drawable ? code : kLedBlockCode) - kLedFirstCode)];
}

// ---- TWkLEDDisplay ----

const TClassInfo& TWkLEDDisplay::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TWkLEDDisplay, TWkBorder>("TWkLEDDisplay")
          .Property("Caption", &TWkLEDDisplay::Caption, &TWkLEDDisplay::SetCaption)
          .Property("BackColor", &TWkLEDDisplay::BackColor, &TWkLEDDisplay::SetBackColor, Default(clBlack))
          .Property("SegOnColor", &TWkLEDDisplay::SegOnColor, &TWkLEDDisplay::SetSegOnColor, Default(0x00FF00))
          .Property("SegOffColor", &TWkLEDDisplay::SegOffColor, &TWkLEDDisplay::SetSegOffColor, Default(0x003300))
          .Property("ScrollType", &TWkLEDDisplay::ScrollType, &TWkLEDDisplay::SetScrollType, Default(stRightToLeft))
          .Property("Scrolling", &TWkLEDDisplay::Scrolling, &TWkLEDDisplay::SetScrolling, Default(0))
          .Property("ScrollDelay", &TWkLEDDisplay::ScrollDelay, &TWkLEDDisplay::SetScrollDelay, Default(100))
          .Event("OnScrollComplete", &TWkLEDDisplay::FOnScrollComplete)
          .Property("BorderOuter", &TWkLEDDisplay::BorderOuter, &TWkLEDDisplay::SetBorderOuter, Default(fsStatus));
  return info;
}

namespace {
constexpr int kNewDisplayWidth = 100;
constexpr int kNewDisplayHeight = 30;
constexpr int kCellColumns = 6;  // five glyph columns and one always unlit
constexpr int kCellRows = 7;
constexpr int kGlyphColumns = 5;
constexpr uint8_t kTopRowBit = 0x80;
constexpr int kDotRowBlock = 8;  // pixels a scroll step copies at a time while building a row of dots
constexpr size_t kKeptRowSlackDots = 32;  // scroll steps a kept row takes between moves of its pixels
constexpr uint8_t kBlankCode = ' ';
// A client area this low or lower shows only the frame.
constexpr int kFrameOnlyHeight = 7;
// A dot is the client height over 7.6 (76 tenths); the gap between dots a tenth of a dot.
constexpr int64_t kTenthsPerDot = 76;
constexpr int kDotsPerGap = 10;
constexpr const char* kObsoleteProperties[] = {"SegSpacing", "DisplayCells"};

int Saturated(int64_t value) {
  return int(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool SameRow(const TBitmapImage& image, int a, int b) {
  return std::memcmp(image.Row(a), image.Row(b), 4 * size_t(image.Width)) == 0;
}
}  // namespace

// Each character cell, rendered once for the current dot size and colours: painting a
// frame then copies cells instead of drawing every dot as a rectangle. A cell holds its
// dot squares and the background between them, which is all any cell ever paints, so a
// copy gives the same pixels as drawing the dots in place.
class TWkLEDDisplay::TCellCache {
 public:
  struct TKey {
    int DotPixels = 0;
    int DotSpacing = 0;
    TColor On = clNone, Off = clNone, Back = clNone;
    friend bool operator==(const TKey&, const TKey&) = default;
  };

  // Forgets every cell once the dots or the colours they were drawn with changed.
  void Use(const TKey& key) {
    if (key == FKey) return;
    FKey = key;
    for (auto& cell : FCells) cell.reset();
    FGrid.reset();
    for (auto& dot : FDots) dot.reset();
    FDifference.reset();
    FRows.reset();
    FDotwise = true;
    ++FGeneration;
  }
  // Counts the changes of dot size or colours.
  uint64_t Generation() const { return FGeneration; }
  std::unique_ptr<TBitmap>& Slot(uint8_t code) {
    return FCells[size_t(&LedGlyph(code) - LedFont.data())];
  }
  // The unlit grid over the background for a client area, which stands still while the
  // text scrolls: made once, copied under every frame.
  std::unique_ptr<TBitmap>& Grid(int width, int height) {
    if (FGrid && (FGrid->Width() != width || FGrid->Height() != height)) FGrid.reset();
    return FGrid;
  }
  // One dot's square, lit or unlit, drawn as the display draws each dot of a cell.
  const TBitmap& Dot(bool lit) {
    std::unique_ptr<TBitmap>& dot = FDots[lit ? 1 : 0];
    if (!dot) {
      dot = std::make_unique<TBitmap>();
      dot->SetPixelFormat(pf32bit);
      dot->SetSize(FKey.DotPixels + 1, FKey.DotPixels + 1);
      TCanvas& canvas = dot->Canvas();
      canvas.Brush().SetColor(lit ? FKey.On : FKey.Off);
      canvas.Rectangle(0, 0, FKey.DotPixels + 1, FKey.DotPixels + 1);
    }
    return *dot;
  }
  // The lit and unlit squares' pixels as surface words, for building rows of dots.
  const TDotRows& Rows() {
    if (!FRows) {
      const TBitmapImage& lit = Dot(true).Image();
      const TBitmapImage& unlit = Dot(false).Image();
      TDotRows rows;
      rows.Width = lit.Width;
      for (int y = 0; y < lit.Height; ++y) {
        for (const TBitmapImage* dot : {&unlit, &lit})
          for (int x = 0; x < dot->Width; ++x) {
            uint32_t word;
            std::memcpy(&word, dot->Row(y) + 4 * size_t(x), 4);
            rows.Words.push_back(word & 0xFFFFFF);  // a surface word's fourth byte is 0
          }
        rows.LikeAbove.push_back(y > 0 && SameRow(lit, y, y - 1) && SameRow(unlit, y, y - 1));
      }
      FRows = std::move(rows);
    }
    return *FRows;
  }
  // The smallest rectangle of a dot's square outside which lit and unlit dots are the same.
  TRect DotDifference() {
    if (!FDifference) {
      const TBitmapImage& lit = Dot(true).Image();
      const TBitmapImage& unlit = Dot(false).Image();
      TRect box;
      for (int y = 0; y < lit.Height; ++y)
        for (int x = 0; x < lit.Width; ++x)
          if (lit.PixelRGB(x, y) != unlit.PixelRGB(x, y)) box = box.IsEmpty() ? TRect{x, y, x + 1, y + 1} : UnionRect(box, {x, y, x + 1, y + 1});
      FDifference = box;
    }
    return *FDifference;
  }
  // Whether every cell made so far is its glyph's dot squares over the background: a frame
  // of such cells can then change dot by dot.
  bool Dotwise() const { return FDotwise; }
  void NoteCell(bool dotwise) { FDotwise = FDotwise && dotwise; }

 private:
  TKey FKey;
  uint64_t FGeneration = 0;
  bool FDotwise = true;
  std::array<std::unique_ptr<TBitmap>, 2> FDots;
  std::optional<TRect> FDifference;
  std::optional<TDotRows> FRows;
  std::array<std::unique_ptr<TBitmap>, 96> FCells;
  std::unique_ptr<TBitmap> FGrid;
};

TWkLEDDisplay::TWkLEDDisplay(TComponent* owner)
    : TWkBorder(owner), FScrollTimer(std::make_unique<TTimer>(nullptr)), FCells(std::make_unique<TCellCache>()) {
  FControlStyle.Include(csOpaque);
  SetHeight(kNewDisplayHeight);
  SetWidth(kNewDisplayWidth);
  FScrollSpan = Width();
  FScrollTimer->SetEnabled(FScrolling);
  FScrollTimer->SetInterval(FScrollDelay);
  FScrollTimer->FOnTimer = [this](TObject* sender) { ScrollTimerTick(sender); };
  FScrollTimer->SetDeferrable(true);  // until it is first painted: nobody sees it yet
  SetBorderOuter(fsStatus);
}

// The timer goes first, so no tick can reach a display being taken apart.
TWkLEDDisplay::~TWkLEDDisplay() { FScrollTimer.reset(); }

// ---- properties ----

void TWkLEDDisplay::SetBackColor(TColor value) { WriteProperty(*this, FBackColor, value, weRepaint); }
void TWkLEDDisplay::SetSegOnColor(TColor value) { WriteProperty(*this, FSegOnColor, value, weRepaint); }
void TWkLEDDisplay::SetSegOffColor(TColor value) { WriteProperty(*this, FSegOffColor, value, weRepaint); }

// The caption is the control's text: the text-changed notification recomputes the span,
// the position stays where it is.
void TWkLEDDisplay::SetCaption(const std::string& value) {
  if (value == Caption()) return;
  SetText(value);
  Repaint();
}

// Stopping puts the text back at its start.
void TWkLEDDisplay::SetScrolling(bool value) {
  if (!WriteProperty(*this, FScrolling, value, weInvalidate)) return;
  FScrollTimer->SetEnabled(value);
  if (!value) FScrollPosition = 0;
}

// Any direction but stNone runs the timer, whether Scrolling is on or not.
void TWkLEDDisplay::SetScrollType(TWkScrollType value) {
  if (WriteProperty(*this, FScrollType, value, weInvalidate)) FScrollTimer->SetEnabled(value != stNone);
}

void TWkLEDDisplay::SetScrollDelay(uint16_t value) {
  if (WriteProperty(*this, FScrollDelay, value)) FScrollTimer->SetInterval(value);
}

void TWkLEDDisplay::SetBounds(int left, int top, int width, int height) {
  TWkBorder::SetBounds(left, top, width, height);
  DeriveDotGeometry();
}

// The frame style and caption read from a description may come after the bounds.
void TWkLEDDisplay::AfterLoad() {
  TWkBorder::AfterLoad();
  SetBounds(Left(), Top(), Width(), Height());
}

void TWkLEDDisplay::DeclareStoredData(TFiler& filer) {
  TWkBorder::DeclareStoredData(filer);
  for (const char* name : kObsoleteProperties) DeclareObsoleteProperty(filer, name);
}

// ---- geometry ----

// The dot and the gap, each truncated; worked in integers so that a client height of exactly
// 7.6 dots gives the whole number.
void TWkLEDDisplay::DeriveDotGeometry() {
  const int64_t height = ClientRect().Height();
  FDotPixels = Saturated(std::max<int64_t>(height * 10 / kTenthsPerDot, 0));
  FDotSpacing = FDotPixels / kDotsPerGap;
  UpdateScrollSpan();
}

void TWkLEDDisplay::UpdateScrollSpan() {
  const int64_t pitch = FDotPixels + FDotSpacing;
  FScrollSpan = Saturated(kCellColumns * pitch * int64_t(Caption().size()) + Width());
}

TLedLayout TWkLEDDisplay::Layout(int clientWidth, int clientHeight) const {
  TLedLayout layout;
  layout.Pitch = FDotPixels + FDotSpacing;
  layout.CellWidth = kCellColumns * layout.Pitch;
  layout.CellHeight = kCellRows * FDotPixels + (kCellRows - 1) * FDotSpacing;
  layout.Top = (clientHeight - layout.CellHeight) / 2;
  int64_t left = 0;
  if (FScrolling && FScrollType == stRightToLeft && layout.Pitch > 0)
    left = int64_t(clientWidth / layout.Pitch) * layout.Pitch - FScrollPosition;  // the last whole pitch
  else if (FScrolling && FScrollType == stLeftToRight)
    left = int64_t(FScrollPosition) - int64_t(layout.CellWidth) * int64_t(Caption().size());
  layout.TextLeft = Saturated(left);
  return layout;
}

// The pixels one cell's dots cover: the last dot's square reaches one pixel past its size.
TSize TWkLEDDisplay::CellExtent() const {
  const int pitch = FDotPixels + FDotSpacing;
  return {(kCellColumns - 1) * pitch + FDotPixels + 1, (kCellRows - 1) * pitch + FDotPixels + 1};
}

// ---- paint ----

void TWkLEDDisplay::DrawCharCell(TCanvas& canvas, const TRect& cell, uint8_t code) {
  const TLedGlyph& glyph = LedGlyph(code);
  const int pitch = FDotPixels + FDotSpacing;
  for (int row = 0; row < kCellRows; ++row) {
    for (int column = 0; column < kCellColumns; ++column) {
      const bool lit = column < kGlyphColumns && (glyph[size_t(column)] & (kTopRowBit >> row)) != 0;
      canvas.Brush().SetColor(lit ? FSegOnColor : FSegOffColor);
      const int x = cell.Left + column * pitch, y = cell.Top + row * pitch;
      // One pixel larger than the dot: the pen's ring is the black between neighbours.
      canvas.Rectangle(x, y, x + FDotPixels + 1, y + FDotPixels + 1);
    }
  }
}

void TWkLEDDisplay::Paint() {
  FScrollTimer->SetDeferrable(false);  // seen: its steps keep their own time
  TCanvas& canvas = Canvas();
  PaintBorders(canvas);
  DrawDots(canvas);
}

void TWkLEDDisplay::DrawDots(TCanvas& canvas) {
  const TRect client = ClientRect();
  const int width = client.Width(), height = client.Height();
  if (width <= 0 || height <= kFrameOnlyHeight) return;
  ComposeDots(width, height);
  canvas.Handle().BitBlt(client.Left, client.Top, width, height, *FOffscreen, 0, 0, cmSrcCopy);
}

void TWkLEDDisplay::ComposeDots(int width, int height) {
  if (!FOffscreen) {
    FOffscreen = std::make_unique<TBitmap>();
    FOffscreen->SetPixelFormat(pf32bit);
  }
  if (FOffscreen->Width() != width || FOffscreen->Height() != height) FOffscreen->SetSize(width, height);
  TBitmapImage& image = FOffscreen->Image();
  FComposedDots.clear();
  const uint32_t back = image.RGBToValue(uint32_t(ColorToRGB(FBackColor)) & 0xFFFFFF);
  // Without a dot size (the frame changed after the bounds were set) there is no grid.
  if (FDotPixels <= 0) {
    for (int y = 0; y < height; ++y) image.FillSpan(y, 0, width, back);
    return;
  }
  UseCurrentCells();
  const TLedLayout layout = Layout(width, height);
  // The unlit grid stands still under the text; the text's dots land on its dots.
  std::unique_ptr<TBitmap>& grid = FCells->Grid(width, height);
  if (!grid) {
    for (int y = 0; y < height; ++y) image.FillSpan(y, 0, width, back);
    for (int x = 0; x < width; x += layout.CellWidth) StampCell(kBlankCode, x, layout.Top);
    grid = std::make_unique<TBitmap>();
    grid->CopyFrom(FOffscreen.get());
  } else {
    for (int y = 0; y < height; ++y) std::memcpy(image.Row(y), grid->Image().Row(y), 4 * size_t(width));
  }
  const std::string& text = Caption();
  // Cells wholly left of the client area are skipped; they would be clipped away.
  const int64_t extent = CellExtent().cx;
  int64_t first = 0;
  if (layout.TextLeft + extent <= 0) first = (-int64_t(layout.TextLeft) - extent) / layout.CellWidth + 1;
  for (size_t i = size_t(std::min<int64_t>(first, int64_t(text.size()))); i < text.size(); ++i) {
    const int64_t x = layout.TextLeft + int64_t(i) * layout.CellWidth;
    if (x >= width) break;
    StampCell(uint8_t(text[i]), int(x), layout.Top);
  }
  // What the next scroll step starts from, when it can go dot by dot: the frame on the
  // surface is this one wherever the display shows.
  FComposedGeneration = FCells->Generation();
  if (!FCells->Dotwise() || !DotStates(layout, width, FComposedDots)) FComposedDots.clear();
}

void TWkLEDDisplay::UseCurrentCells() {
  FCells->Use({FDotPixels, FDotSpacing, ColorToRGB(FSegOnColor), ColorToRGB(FSegOffColor), ColorToRGB(FBackColor)});
}

namespace {
// Copies `source` to (x, y) of `target`, clipped to it.
void CopyClipped(const TBitmapImage& source, TBitmapImage& target, int x, int y) {
  const int left = std::max(x, 0), right = int(std::min<int64_t>(int64_t(x) + source.Width, target.Width));
  const int top = std::max(y, 0), bottom = int(std::min<int64_t>(int64_t(y) + source.Height, target.Height));
  if (left >= right) return;
  for (int row = top; row < bottom; ++row)
    std::memcpy(target.Row(row) + 4 * size_t(left), source.Row(row - y) + 4 * size_t(left - x),
                4 * size_t(right - left));
}

bool GlyphDotLit(uint8_t code, int column, int row) {
  return column < kGlyphColumns && (LedGlyph(code)[size_t(column)] & (kTopRowBit >> row)) != 0;
}

bool SameImages(const TBitmapImage& a, const TBitmapImage& b) {
  if (a.Width != b.Width || a.Height != b.Height) return false;
  for (int y = 0; y < a.Height; ++y)
    if (std::memcmp(a.Row(y), b.Row(y), 4 * size_t(a.Width)) != 0) return false;
  return true;
}

// Whether the border pixels of both dot squares, which neighbouring squares share when
// there is no gap between dots, are all one colour: then the order dots are drawn in
// does not matter.
bool SharedBordersAgree(const TBitmapImage& lit, const TBitmapImage& unlit) {
  const uint32_t ring = lit.PixelRGB(0, 0);
  const int last = lit.Width - 1;
  for (const TBitmapImage* dot : {&lit, &unlit})
    for (int i = 0; i <= last; ++i)
      if (dot->PixelRGB(i, 0) != ring || dot->PixelRGB(i, last) != ring || dot->PixelRGB(0, i) != ring ||
          dot->PixelRGB(last, i) != ring)
        return false;
  return true;
}
}  // namespace

TBitmap& TWkLEDDisplay::Cell(uint8_t code) {
  std::unique_ptr<TBitmap>& cell = FCells->Slot(code);
  if (!cell) {
    cell = std::make_unique<TBitmap>();
    cell->SetPixelFormat(pf32bit);
    cell->SetSize(CellExtent().cx, CellExtent().cy);
    TCanvas& canvas = cell->Canvas();
    canvas.Brush().SetColor(FBackColor);
    canvas.FillRect({0, 0, cell->Width(), cell->Height()});
    const bool drawable = code >= kLedFirstCode && code < kLedBlockCode;
    DrawCharCell(canvas, {0, 0, cell->Width(), cell->Height()}, drawable ? code : uint8_t(kLedBlockCode));
    FCells->NoteCell(CellIsDotwise(*cell, code));
  }
  return *cell;
}

// A cell drawn by an override may be anything; it is compared once with its glyph's dot
// squares over the background.
bool TWkLEDDisplay::CellIsDotwise(const TBitmap& cell, uint8_t code) {
  const TBitmapImage& lit = FCells->Dot(true).Image();
  const TBitmapImage& unlit = FCells->Dot(false).Image();
  if (FDotSpacing == 0 && !SharedBordersAgree(lit, unlit)) return false;
  TBitmap expected;
  expected.SetPixelFormat(pf32bit);
  expected.SetSize(cell.Width(), cell.Height());
  TBitmapImage& image = expected.Image();
  const uint32_t back = image.RGBToValue(uint32_t(ColorToRGB(FBackColor)) & 0xFFFFFF);
  for (int y = 0; y < image.Height; ++y) image.FillSpan(y, 0, image.Width, back);
  const int pitch = FDotPixels + FDotSpacing;
  for (int row = 0; row < kCellRows; ++row)
    for (int column = 0; column < kCellColumns; ++column)
      CopyClipped(GlyphDotLit(code, column, row) ? lit : unlit, image, column * pitch, row * pitch);
  return SameImages(expected.Image(), cell.Image());
}

// Copies the cell of `code` to (x, y) of the off-screen bitmap, clipped to it.
void TWkLEDDisplay::StampCell(uint8_t code, int x, int y) { CopyClipped(Cell(code).Image(), FOffscreen->Image(), x, y); }

// Every dot of the client area's lattice, one byte per lattice column whose bit
// (kTopRowBit >> row) is set where that row's dot is lit; false when the text's dots do not
// land on the grid's (a new dot size in the middle of a scroll).
bool TWkLEDDisplay::DotStates(const TLedLayout& layout, int width, std::vector<uint8_t>& dots) const {
  const int pitch = layout.Pitch;
  if (pitch <= 0 || layout.TextLeft % pitch != 0) return false;
  const int columns = (width + pitch - 1) / pitch;
  dots.assign(size_t(columns), 0);
  const std::string& text = Caption();
  constexpr uint8_t rows = uint8_t(0xFF << (8 - kCellRows));
  for (int column = 0; column < columns; ++column) {
    const int64_t offset = int64_t(column) * pitch - layout.TextLeft;
    if (offset < 0) continue;
    const int64_t cell = offset / layout.CellWidth;
    if (cell >= int64_t(text.size())) continue;
    const int within = int((offset % layout.CellWidth) / pitch);
    if (within < kGlyphColumns) dots[size_t(column)] = LedGlyph(uint8_t(text[size_t(cell)]))[size_t(within)] & rows;
  }
  return true;
}

// After a scroll step most dots are as they were: only those that changed are drawn
// again, straight onto the window's surface, when the last frame there was drawn for the
// same grid, every cell the text can show is plain dots, and nothing covers the client
// area. Answers false when the frame must be composed whole; otherwise `changed` is what
// was drawn (client coordinates).
bool TWkLEDDisplay::DrawChangedDots(TCanvas& canvas, const TRect& client, TRect& changed) {
  const int width = client.Width(), height = client.Height();
  if (FComposedDots.empty() || !FOffscreen || FOffscreen->Width() != width || FOffscreen->Height() != height)
    return false;
  TDrawContext& dc = canvas.Handle();
  TBitmapImage* surface = dc.Surface();
  const TRect onSurface = client.Offset(dc.Origin().X, dc.Origin().Y);
  if (surface == nullptr || surface->Format != pf32bit || !dc.WhollyVisible(onSurface)) return false;
  UseCurrentCells();
  if (FCells->Generation() != FComposedGeneration) return false;
  Cell(kBlankCode);
  for (const char c : Caption()) Cell(uint8_t(c));
  if (!FCells->Dotwise()) return false;
  const TLedLayout layout = Layout(width, height);
  if (!DotStates(layout, width, FNextDots) || FNextDots.size() != FComposedDots.size()) return false;
  const TDotRows& dotRows = FCells->Rows();
  // Where a lit and an unlit dot differ (inside the pen's ring): the rest of a dot's square
  // is the same either way and already on the surface.
  const TRect differ = FCells->DotDifference();
  const int pitch = layout.Pitch, columns = int(FNextDots.size());
  // The background as a surface word, in memory as the dots' words are.
  uint8_t backPixel[4];
  StorePixel32(backPixel, uint32_t(ColorToRGB(FBackColor)) & 0xFFFFFF);
  uint32_t back;
  std::memcpy(&back, backPixel, 4);
  changed = {};
  std::array<int, kCellRows> firsts, lasts;  // the first and last changed dot of each dot row
  firsts.fill(-1);
  lasts.fill(-1);
  for (int column = 0; column < columns; ++column)
    for (unsigned bits = FNextDots[size_t(column)] ^ FComposedDots[size_t(column)]; bits != 0;) {
      const int dotRow = std::countl_zero(uint8_t(bits));
      if (firsts[size_t(dotRow)] < 0) firsts[size_t(dotRow)] = column;
      lasts[size_t(dotRow)] = column;
      bits &= ~unsigned(kTopRowBit >> dotRow);
    }
  // Each row of pixels of a dot row is kept whole from one step to the next. A scroll step
  // moves every dot one lattice column, so the kept row only moves along by one pitch and
  // the column coming in is built; otherwise the row is built anew from the dots' squares
  // (and the background between them). Then the changed part is copied onto the surface in
  // one piece: the surface is shared with the desktop, and whole rows reach it much faster
  // than a few pixels per dot.
  const int rowsPerDot = int(dotRows.LikeAbove.size());
  const size_t length = size_t(columns - 1) * size_t(pitch) + size_t(dotRows.Width);
  const size_t slack = kKeptRowSlackDots * size_t(pitch);  // a row's start lies within 0 to 2 x slack
  TKeptRows& kept = FKeptRows;
  if (kept.Generation != FComposedGeneration || kept.Pitch != pitch || kept.Back != back || kept.Dots != FComposedDots ||
      kept.Rows.size() != size_t(kCellRows * rowsPerDot))
    kept = {FComposedGeneration, pitch, back, {}, std::vector<TKeptRow>(size_t(kCellRows * rowsPerDot))};
  int shift = 0;  // 1: every dot took its right neighbour's state; -1: its left neighbour's
  if (columns > 1 && std::equal(FNextDots.begin(), FNextDots.end() - 1, FComposedDots.begin() + 1)) shift = 1;
  else if (columns > 1 && std::equal(FNextDots.begin() + 1, FNextDots.end(), FComposedDots.begin())) shift = -1;
  for (int dotRow = 0; dotRow < kCellRows && !differ.IsEmpty(); ++dotRow) {
    const uint8_t bit = uint8_t(kTopRowBit >> dotRow);
    const int first = firsts[size_t(dotRow)], last = lasts[size_t(dotRow)];
    if (first < 0) continue;
    const int left = std::max(0, first * pitch + differ.Left);
    const int right = std::min(width, last * pitch + differ.Right);
    const int top = layout.Top + dotRow * pitch;
    int built = differ.Top;  // the inside rows of a dot are usually alike: one kept row serves them
    for (int k = differ.Top; k < differ.Bottom; ++k) {
      if (k == differ.Top || !dotRows.LikeAbove[size_t(k)]) built = k;
      TKeptRow& row = kept.Rows[size_t(dotRow * rowsPerDot + built)];
      // Kept rows follow every step, also where nothing of them shows.
      if (built == k) {
        uint32_t* buffer = row.Buffer.data();
        if (shift == 0 || row.Buffer.size() != 2 * slack + length + kDotRowBlock) {
          row.Buffer.resize(2 * slack + length + kDotRowBlock);
          row.Start = slack;
          BuildDotRow(dotRows, bit, k, 0, columns, back, row.Pixels());
        } else if (shift > 0) {
          if (row.Start + size_t(pitch) > 2 * slack) {
            std::memmove(buffer, buffer + row.Start, 4 * length);
            row.Start = 0;
          }
          row.Start += size_t(pitch);
          // The dot before the last one too: its gap was past the end of the row before the move.
          BuildDotRow(dotRows, bit, k, columns - 2, columns, back, row.Pixels());
        } else {
          if (row.Start < size_t(pitch)) {
            std::memmove(buffer + 2 * slack, buffer + row.Start, 4 * length);
            row.Start = 2 * slack;
          }
          row.Start -= size_t(pitch);
          BuildDotRow(dotRows, bit, k, 0, 1, back, row.Pixels());
        }
      }
      const int y = top + k;
      if (y < 0 || y >= height || left >= right) continue;
      std::memcpy(surface->Row(onSurface.Top + y) + 4 * size_t(onSurface.Left + left), row.Pixels() + left,
                  4 * size_t(right - left));
    }
    const TRect drawn{left, std::max(0, top + differ.Top), right, std::min(height, top + differ.Bottom)};
    if (left < right && !drawn.IsEmpty()) changed = changed.IsEmpty() ? drawn : UnionRect(changed, drawn);
  }
  // Dot rows left alone this step kept their rows as they were, which is still what they show.
  FComposedDots.swap(FNextDots);
  kept.Dots = FComposedDots;
  return true;
}

// Row `k` of the dots of the dot row `bit` names, lattice columns `first` to `end` - 1, into
// `pixels` (lattice x 0 on). A dot writes one pitch: its square's row and the background
// after it, or, where squares touch, its row up to the next dot's border (the same lit or
// not); the lattice's last dot its whole row.
void TWkLEDDisplay::BuildDotRow(const TDotRows& dotRows, uint8_t bit, int k, int first, int end, uint32_t back,
                                uint32_t* pixels) {
  // Copied in blocks of a fixed size, which compile to a few vector moves: a block may run
  // past its dot's pitch into the next dot's, written next, or into the slack at the end.
  constexpr int block = kDotRowBlock;
  const int pitch = FDotPixels + FDotSpacing, width = dotRows.Width, stride = (pitch + block - 1) / block * block;
  const int columns = int(FNextDots.size());
  const uint32_t* rows[2] = {dotRows.Row(false, k), dotRows.Row(true, k)};
  FDotTiles.resize(2 * size_t(stride));
  uint32_t* tiles[2] = {FDotTiles.data(), FDotTiles.data() + stride};
  for (int lit = 0; lit < 2; ++lit)
    for (int x = 0; x < stride; ++x) tiles[lit][x] = x < width ? rows[lit][x] : back;
  auto on = [&](int column) { return (FNextDots[size_t(column)] & bit) != 0 ? 1 : 0; };
  for (int column = first; column + 1 < end; ++column) {
    uint32_t* target = pixels + size_t(column) * size_t(pitch);
    for (int i = 0; i < pitch; i += block) std::memcpy(target + i, tiles[on(column)] + i, block * sizeof(uint32_t));
  }
  // The range's last dot is written exactly: a dot after it may already be in place.
  if (first < end) {
    const int column = end - 1;
    uint32_t* target = pixels + size_t(column) * size_t(pitch);
    if (column + 1 == columns) std::copy_n(rows[on(column)], width, target);
    else std::copy_n(tiles[on(column)], pitch, target);
  }
}

// ---- the scroll timer and messages ----

void TWkLEDDisplay::ScrollTimerTick(TObject*) {
  if (!FScrollTimer->Enabled()) return;
  FScrollPosition = Saturated(int64_t(FScrollPosition) + FDotPixels + FDotSpacing);
  // Only the dots move: they go straight onto the window's surface and are presented, the
  // frame stays as painted. A banner that does not show draws nowhere, and its steps wait
  // for the loop to wake for something else until it is painted again.
  const bool showing = IsShowing();
  FScrollTimer->SetDeferrable(!showing);
  if (showing) {
    TCanvas& canvas = Canvas();
    TRect changed;
    if (!DrawChangedDots(canvas, ClientRect(), changed)) {
      DrawDots(canvas);
      canvas.Changed();
    } else if (!changed.IsEmpty()) {
      CanvasChangedWithin(changed.Offset(ClientRect().Left, ClientRect().Top));
    }
  }
  if (FScrollPosition >= FScrollSpan) {
    FScrollPosition = 0;
    NotifyScrollComplete();
  }
}

void TWkLEDDisplay::NotifyScrollComplete() {
  if (FOnScrollComplete) FOnScrollComplete(this);
}

void TWkLEDDisplay::TextChanged(TMessage& message) {
  TWkBorder::TextChanged(message);
  UpdateScrollSpan();
  Invalidate();
}

void RegisterLEDDisplayClasses() {
  RegisterStreamClass(TWkBorder::ClassInfo());
  RegisterStreamClass(TWkLEDDisplay::ClassInfo());
}
