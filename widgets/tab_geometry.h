#pragma once
// The tab strip's geometry as a value: from the control's settings and the measured tab
// contents it lays the tabs out and answers every rectangle the control places, paints
// and hit-tests: tab rectangles and shapes, the tabs in view, the scroller and close
// button places, the cards and the page area, content rectangles and outline segments.
// It holds no canvas, creates no control and fires no event; the tab control applies
// what follows from it (buttons, selection, events).
//
// Strip coordinates: x runs along the strip in tab order, y across it from the outer edge
// (0) toward the page, as if the tabs stood on top of the page. Everything else is in the
// control's client coordinates.
#include <string>
#include <string_view>
#include <vector>

#include "widgets/tab_types.h"

// The control's settings the geometry depends on, as plain values.
struct TWkTabStripSettings {
  int Width = 0;  // the control's size
  int Height = 0;
  TWkTabOrientation Orientation = toTop;
  TWkTabSequence Sequence = tsStandard;
  TWkTabStyle Style = tsSingleSlant;
  bool VerticalText = false;
  int Margin = 0;
  int TabWidth = 0;  // 0: measured
  int TabHeight = 0;
  int CutCornerSize = 6;
  int RowIndent = 5;
  int RowOverlap = 5;
  bool MultiLine = false;
  bool AlignTabs = false;
  bool ShowCard = true;
  bool ShowCardFrame = true;
  bool ShowFullFrame = true;
  bool ShowShadow = true;
  bool ShowCloseButton = false;
  // The thickness and row count of the layout before: the stored thickness stands until
  // there are tabs to measure, and a multi-line layout leaves room for the rows' indents.
  int FixedDimension = 0;
  int RowCount = 1;
};

// One tab as the layout sees it.
struct TWkTabContent {
  TSize Size;  // image and caption on screen
  bool Visible = true;
};

// What the control measured in its font.
struct TWkTabMeasures {
  std::vector<TWkTabContent> Tabs;
  TSize Minimum;       // no content is smaller: a letter of the font
  int LineHeight = 0;  // of "A": sizes the strip's buttons
};

// A tab's place: its rectangle in strip coordinates, for its row before the row's shift.
struct TWkTabPlace {
  TRect Rect;
  int Row = 0;  // 0: next to the page
  bool Visible = true;
};

enum TWkOutlineKind {
  okLine,        // a line in the outline colour, its end pixel left out
  okShadowNear,  // every pixel from..to darkened over the parent's background, the inner band
  okShadowFar,   // the same, more faintly, the outer band
};
struct TWkOutlineSegment {
  TPoint From;
  TPoint To;
  TWkOutlineKind Kind = okLine;
  friend bool operator==(const TWkOutlineSegment&, const TWkOutlineSegment&) = default;
};
using TWkOutline = std::vector<TWkOutlineSegment>;

class TWkTabStripGeometry {
 public:
  TWkTabStripGeometry() = default;
  // The frame alone for `tabCount` unmeasured tabs: strip, cards and page area with the
  // stored thickness and rows (what places the pages while a form is read).
  TWkTabStripGeometry(const TWkTabStripSettings& settings, int tabCount);
  // The layout. `selected` is the selected tab (-1: none); `firstVisible` the first tab in
  // view before, from which the first tab in view is looked for.
  TWkTabStripGeometry(const TWkTabStripSettings& settings, const TWkTabMeasures& measures, int selected,
                      int firstVisible);

  const TWkTabStripSettings& Settings() const { return FSettings; }
  int Count() const { return int(FTabs.size()); }
  const TWkTabPlace& Tab(int index) const { return FTabs.at(size_t(index)); }
  int FixedDimension() const { return FFixed; }
  int RowCount() const { return FRowCount; }
  bool NeedScroller() const { return FNeedScroller; }
  int FirstVisibleTab() const { return FFirstVisible; }
  int Selected() const { return FSelected; }

  // ---- what changes without a new layout ----
  // The selection moves: a multi-line strip brings the tab's row next to the page, a
  // scrolling one brings the tab into view. Answers whether the rows were renumbered.
  bool Select(int index);
  // One step toward later or earlier tabs, as the scroller's halves do; false when there
  // is nothing to scroll that way.
  bool ScrollForward();
  bool ScrollBackward();

  // ---- strip and tabs ----
  int StripDepth() const;
  TRect StripRect() const;
  int StripLength() const;
  // Strip x of the control's strip start: the first tab in view stands at the start.
  int OriginOffset() const { return OriginFor(FFirstVisible); }
  TPoint StripToControl(TPoint p) const;
  // A tab's strip rectangle after its row shift (a selected rounded tab stands out), and
  // its control rectangle.
  TRect TabStripRect(int index) const;
  TRect TabRect(int index) const;
  // The tab's shape, in strip coordinates and mapped to the control; the base (first to
  // last point) is left to the card frame.
  std::vector<TPoint> TabShapePoints(int index) const;
  std::vector<TPoint> TabControlPoints(int index) const;
  bool TabInView(int index) const;
  // The selected tab is drawn and framed by the card's gap: at or after the first tab in view.
  bool SelectedShown() const;
  int FirstShownTab() const;
  int LastShownTab() const;

  // ---- the strip's buttons ----
  int ScrollerButtonSize() const;
  int CloseButtonSize() const;
  TRect ScrollerBounds() const;
  TRect CloseButtonBounds() const;
  // Whether the up or right half scrolls back, where the tabs run the other way on screen.
  bool ScrollerRolesExchanged() const;
  bool CanScrollBackward() const { return FFirstVisible > 0; }
  bool CanScrollForward() const { return !TabInView(LastShownTab()); }

  // ---- cards and the page area ----
  // The card of `row` (row 0: the page area next to the strip); empty when squeezed away.
  TRect CardRect(int row) const;
  // What the pages are given.
  TRect PageAreaRect() const;

  // ---- painting ----
  // Where a tab's image and caption go inside its control rectangle.
  TRect ContentRect(const TRect& tabRect) const;
  // The selection or hot bar along a tab's outer edge.
  TRect BarRect(const TRect& tabRect) const;
  // The focus rectangle around a tab's caption area.
  TRect FocusRect(const TRect& textArea) const;
  TWkOutline TabOutline(int index) const;
  // `withShadow` false leaves the shadow out (a hot-tracking repaint of the strip).
  TWkOutline CardOutline(int row, bool withShadow) const;

 private:
  bool VerticalStrip() const { return FSettings.Orientation == toLeft || FSettings.Orientation == toRight; }
  bool Standard() const { return FSettings.Sequence == tsStandard; }
  int Slant(int v) const;
  bool ShadowShown() const;
  int OriginFor(int firstVisible) const;
  bool TabInViewFrom(int index, int firstVisible) const;
  TSize TabScreenSize(TSize content) const;
  void PlaceRow(const std::vector<int>& tabs, const std::vector<int>& lengths, int row);
  void LayOutSingleRow(const std::vector<int>& lengths);
  void LayOutRows(const std::vector<int>& lengths, int room);
  void StretchRow(const std::vector<int>& row, int room);
  void FinishRows();
  void ApplyRowDepths();
  bool RenumberRows(int selectedRow);
  void ChooseFirstVisibleTab(int previous);
  TRect AwayFromOuterEdge(TRect content, int gap) const;
  TRect SlantedContent(const TRect& tabRect) const;
  TRect CutCornerContent(const TRect& tabRect) const;

  TWkTabStripSettings FSettings;
  std::vector<TWkTabPlace> FTabs;
  int FLineHeight = 0;
  int FFixed = 0;
  int FRowCount = 1;
  bool FNeedScroller = false;
  int FFirstVisible = 0;
  int FSelected = -1;
};

// ---- a tab's content ----

// The content of a tab on screen: its image beside, above, below or behind its caption.
// The image margin counts even without an image.
TSize TabContentSize(TSize caption, TSize image, TWkImagePosition position, int imageMargin);

struct TWkTabContentAreas {
  TRect Text;
  TRect Image;
};
// The caption and image areas of a content rectangle; `gap` lies between them.
TWkTabContentAreas SplitTabContent(const TRect& content, TSize image, TWkImagePosition position, int gap);
// Where an image's top-left goes in its area (a stretched image takes the area's corner).
TPoint PlaceTabImage(const TRect& area, TSize image, TWkImagePosition position, TWkHorizontalAlignment horizontal,
                     TWkVerticalAlignment vertical);

// The lines of a caption, split at each CR LF.
std::vector<std::string> CaptionLines(std::string_view caption);
// A caption block's extent on screen from its lines' extents (along and across their
// reading direction): the longest line by the lines' heights together, turned for
// vertical text.
TSize CaptionBlockExtent(const std::vector<TSize>& lines, bool verticalText);

// How a caption reads on its tab: across the screen, upward, or downward (vertical text on
// the right edge).
enum TWkCaptionDirection { cdAcross, cdUpward, cdDownward };
// The start of each line of a caption block of extent `block` (screen terms) in `area`,
// the lines given by their extents along and across their reading direction. The block is
// aligned across the reading direction first, then each line along it.
std::vector<TPoint> CaptionLineStarts(const TRect& area, TSize block, const std::vector<TSize>& lines,
                                      TWkCaptionDirection direction, TWkHorizontalAlignment horizontal,
                                      TWkVerticalAlignment vertical);
