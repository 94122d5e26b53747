#pragma once
// TWkBorder: a window-less control that draws a frame around its edge (an outer frame, a
// flat band, an inner frame) and reports the client rectangle left inside it.
// TWkLEDDisplay: one line of text as a dot-matrix LED panel inside such a frame, standing
// at the left edge or scrolling one dot pitch per timer tick.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/graphic_control.h"
#include "widgets/frame_types.h"

class TBitmap;
struct TBitmapImage;
class TCanvas;
class TFiler;
class TTimer;

class TWkBorder : public TGraphicControl {
 public:
  VM_CLASS()
  explicit TWkBorder(TComponent* owner);

  // The bounds less the band and the frames.
  TRect ClientRect() const override;
  // Deflates `rect` by the band (on every side) and by each frame (on its sides).
  virtual TRect ShrinkByBorders(TRect rect) const;

  int BevelWidth() const { return FBevelWidth; }
  virtual void SetBevelWidth(int value);
  TColor BorderColor() const { return FBorderColor; }
  virtual void SetBorderColor(TColor value);
  TColor BorderHighlight() const { return FBorderHighlight; }
  virtual void SetBorderHighlight(TColor value);
  TFrameStyle BorderInner() const { return FBorderInner; }
  virtual void SetBorderInner(TFrameStyle value);
  TFrameStyle BorderOuter() const { return FBorderOuter; }
  virtual void SetBorderOuter(TFrameStyle value);
  TColor BorderShadow() const { return FBorderShadow; }
  virtual void SetBorderShadow(TColor value);
  TSides BorderSides() const { return FBorderSides; }
  virtual void SetBorderSides(TSides value);
  int BorderWidth() const { return FBorderWidth; }
  virtual void SetBorderWidth(int value);
  TColor FlatColor() const { return FFlatColor; }
  virtual void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return FFlatColorAdjustment; }
  virtual void SetFlatColorAdjustment(int value);

  TNotifyEvent FOnMouseEnter;
  TNotifyEvent FOnMouseLeave;

 protected:
  void Paint() override;
  // Draws the frames and the band onto `canvas`; answers the rectangle left inside them.
  TRect PaintBorders(TCanvas& canvas) const;
  virtual void NotifyMouseEnter();
  virtual void NotifyMouseLeave();
  void MouseEnter(TMessage& message) override;
  void MouseLeave(TMessage& message) override;

 private:
  TRect PaintFrame(TCanvas& canvas, const TRect& rect, TFrameStyle style) const;
  int FrameThickness(TFrameStyle style) const;

  TFrameStyle FBorderOuter = fsGroove;
  TFrameStyle FBorderInner = fsNone;
  int FBorderWidth = 0;
  TColor FBorderColor = clBtnFace;
  int FBevelWidth = 1;
  TColor FBorderHighlight = clBtnHighlight;
  TColor FBorderShadow = clBtnShadow;
  TSides FBorderSides = AllSides;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
};

// Ordinals are stored in form descriptions: keep the order.
enum TWkScrollType { stNone, stRightToLeft, stLeftToRight };
VM_DECLARE_ENUM(TWkScrollType);

// The dot pattern of character codes 32 to 127, five column bytes each, left column
// first. Bit 7 is the top row, bit 1 the bottom one; bit 0 is unused. Code 127, a solid
// block, stands for every code outside 32 to 126.
inline constexpr int kLedFirstCode = 32;
inline constexpr int kLedBlockCode = 127;
using TLedGlyph = std::array<uint8_t, 5>;
extern const std::array<TLedGlyph, 96> LedFont;
// The glyph a character code shows.
const TLedGlyph& LedGlyph(uint8_t code);

// Where the dots of a display go, in the client rectangle's coordinates.
struct TLedLayout {
  int Pitch = 0;       // DotPixels + DotSpacing
  int CellWidth = 0;   // six pitches
  int CellHeight = 0;  // seven dots and six gaps
  int Top = 0;         // y of every cell
  int TextLeft = 0;    // x of the first character
  friend bool operator==(const TLedLayout&, const TLedLayout&) = default;
};

class TWkLEDDisplay : public TWkBorder {
 public:
  VM_CLASS()
  explicit TWkLEDDisplay(TComponent* owner);
  ~TWkLEDDisplay() override;

  virtual void SetCaption(const std::string& value);
  TColor BackColor() const { return FBackColor; }
  virtual void SetBackColor(TColor value);
  TColor SegOnColor() const { return FSegOnColor; }
  virtual void SetSegOnColor(TColor value);
  TColor SegOffColor() const { return FSegOffColor; }
  virtual void SetSegOffColor(TColor value);
  bool Scrolling() const { return FScrolling; }
  virtual void SetScrolling(bool value);
  TWkScrollType ScrollType() const { return FScrollType; }
  void SetScrollType(TWkScrollType value);
  uint16_t ScrollDelay() const { return FScrollDelay; }
  void SetScrollDelay(uint16_t value);

  // The bounds go through the framework first; the dot geometry follows them.
  void SetBounds(int left, int top, int width, int height) override;
  void AfterLoad() override;
  // Accepts the obsolete "SegSpacing" and "DisplayCells" and drops their values.
  void DeclareStoredData(TFiler& filer) override;

  int DotPixels() const { return FDotPixels; }
  int DotSpacing() const { return FDotSpacing; }
  int ScrollPosition() const { return FScrollPosition; }
  int ScrollSpan() const { return FScrollSpan; }
  const TTimer& ScrollTimer() const { return *FScrollTimer; }
  TTimer& ScrollTimer() { return *FScrollTimer; }
  // Where the cells go in a client area of `clientWidth` x `clientHeight` at the current
  // scroll position.
  TLedLayout Layout(int clientWidth, int clientHeight) const;

  TNotifyEvent FOnScrollComplete;

 protected:
  // Draws the cell of `code` with its top-left dot at the top-left corner of `cell`.
  // Painting draws each cell once per dot size and colour set and copies it afterwards,
  // so an override may depend on nothing else.
  virtual void DrawCharCell(TCanvas& canvas, const TRect& cell, uint8_t code);
  virtual void NotifyScrollComplete();
  void TextChanged(TMessage& message) override;
  void Paint() override;

 private:
  class TCellCache;
  void DeriveDotGeometry();
  void UpdateScrollSpan();
  TSize CellExtent() const;
  void ScrollTimerTick(TObject* sender);
  // Composes the client area's dots and copies them onto `canvas`.
  void DrawDots(TCanvas& canvas);
  // Builds the client area's pixels in the off-screen bitmap.
  void ComposeDots(int width, int height);
  void StampCell(uint8_t code, int x, int y);
  // The cells for the current dot size and colours.
  void UseCurrentCells();
  // The cell of `code`, drawn on first use.
  TBitmap& Cell(uint8_t code);
  bool CellIsDotwise(const TBitmap& cell, uint8_t code);
  bool DotStates(const TLedLayout& layout, int width, std::vector<uint8_t>& dots) const;
  bool DrawChangedDots(TCanvas& canvas, const TRect& client, TRect& changed);
  // A dot's square, unlit then lit, one row after the other as surface words, and for each
  // row whether it is the same as the one above in both.
  struct TDotRows {
    int Width = 0;
    std::vector<uint32_t> Words;
    std::vector<bool> LikeAbove;
    const uint32_t* Row(bool lit, int y) const { return Words.data() + size_t(2 * y + (lit ? 1 : 0)) * size_t(Width); }
  };
  void BuildDotRow(const TDotRows& dotRows, uint8_t bit, int k, int first, int end, uint32_t back, uint32_t* pixels);
  // A whole lattice row of pixels inside a longer buffer: a scroll step moves where the row
  // starts by one pitch, and the pixels themselves move only when the start reaches an end.
  struct TKeptRow {
    std::vector<uint32_t> Buffer;
    size_t Start = 0;
    uint32_t* Pixels() { return Buffer.data() + Start; }
  };
  // The rows of pixels the scroll steps built, per dot row and row of a dot (rows alike
  // with the one above share one), with the dot states and the geometry and background
  // they show; a row not built yet is empty.
  struct TKeptRows {
    uint64_t Generation = 0;
    int Pitch = 0;
    uint32_t Back = 0;
    std::vector<uint8_t> Dots;
    std::vector<TKeptRow> Rows;
  };

  std::unique_ptr<TTimer> FScrollTimer;
  TColor FBackColor = clBlack;
  TColor FSegOnColor = TColor(0x00FF00);
  TColor FSegOffColor = TColor(0x003300);
  bool FScrolling = false;
  TWkScrollType FScrollType = stRightToLeft;
  uint16_t FScrollDelay = 100;
  int FDotPixels = 2;
  int FDotSpacing = 0;
  int FScrollPosition = 0;
  int FScrollSpan = 0;
  std::unique_ptr<TBitmap> FOffscreen;
  std::unique_ptr<TCellCache> FCells;
  // The lit state of every dot the display last drew (composed in the off-screen bitmap,
  // or changed on the surface by a scroll step), one byte of row bits per lattice column,
  // and the cells' generation it was drawn with; empty when the next frame is composed whole.
  std::vector<uint8_t> FComposedDots;
  std::vector<uint8_t> FNextDots;
  TKeptRows FKeptRows;
  std::vector<uint32_t> FDotTiles;  // an unlit and a lit dot's row, one pitch each
  uint64_t FComposedGeneration = 0;
};

// Makes TWkBorder and TWkLEDDisplay known to the form loader.
void RegisterLEDDisplayClasses();
