#include "widgets/tab_geometry.h"

#include <algorithm>

namespace {
// Sizes of a tab around its content.
constexpr int kTabPadding = 6;         // around a slanted tab's content, across and along the strip
constexpr int kDoubleSlantReach = 2;   // a double slant runs this far past the content's thickness
constexpr int kCutCornerAcross = 7;    // a cut-corner tab across the strip, besides its content
constexpr int kCutCornerAlong = 8;     // along the strip, besides its content and two corners
constexpr int kCutCornerAlongFlat = 10;  // along, when its corner lies at the outer edge instead
constexpr int kRoundAlongText = 16;    // a rounded tab along its caption's reading direction
constexpr int kRoundAcrossText = 6;    // and across it
// Rounded tabs: the strip is deeper by the selected tab standing out, and the row starts
// inside the strip by as much, so that the selected tab's enlarged ends stay in view.
constexpr int kRoundCornerDepth = 3;
constexpr int kRoundCornerInset = 2;
constexpr int kHiddenLength = 4;       // a rounded tab is never longer than the room less this
// The strip's buttons.
constexpr int kScrollerMarginVertical = 2;    // the button is a line of vertical text high, plus this
constexpr int kScrollerMarginHorizontal = 4;  // of horizontal text
constexpr int kButtonGap = 2;                 // between the strip's buttons and the tabs or the edge
// Shapes.
constexpr int kChamfer = 2;  // the cut outer corners of single-slant and rounded tabs

// The content rectangle inside a tab: a slanted end keeps its slant and this much more
// free of text, the text moves back toward that end by as much, and keeps clear of the
// outer edge (where the bars lie) by the same amount; every case takes the outline's
// pixel on every side first and last.
constexpr int kOutlineInset = 1;
constexpr int kSlantGap = 2;
constexpr int kOuterEdgeGap = 2;
constexpr int kAlongNudge = 1;          // text sits a pixel further down (right on top and bottom edges)
constexpr int kDoubleSlantLowerEnd = 2;  // on the left and right edges a double slant's lower end gives back as much
constexpr int kCutCornerEndGap = 3;        // a cut-corner tab's ends keep the corner and this much free
constexpr int kCutCornerPlainEndGap = 4;   // its ends where no corner is cut
constexpr int kCutCornerSideEdgeGap = 5;   // its outer edge on the left and right strips (and the corner)
constexpr int kCutCornerEndEdgeGap = 3;    // on the top and bottom strips
constexpr int kRoundAlongGap = 4;       // a rounded tab's ends along its caption
constexpr int kRoundAcrossGap = 2;      // its sides across the caption
// The bars: a band along the outer edge, filled without an outline so that three pixels of
// it show inside the tab's outline on every edge.
constexpr int kBarDepth = 6;     // on the top and left edges
constexpr int kBarDepthFar = 4;  // on the bottom and right edges, where the fill stops a pixel short
// The shadow of a top strip's card: two pixels wide along the right and bottom edges.
constexpr int kShadowWidth = 2;

TRect Shrink(const TRect& r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy}; }
}  // namespace

// ---- layout ----

TWkTabStripGeometry::TWkTabStripGeometry(const TWkTabStripSettings& settings, int tabCount)
    : FSettings(settings), FTabs(size_t(std::max(tabCount, 0))), FFixed(settings.FixedDimension),
      FRowCount(std::max(settings.RowCount, 1)) {}

TWkTabStripGeometry::TWkTabStripGeometry(const TWkTabStripSettings& settings, const TWkTabMeasures& measures,
                                         int selected, int firstVisible)
    : TWkTabStripGeometry(settings, int(measures.Tabs.size())) {
  FLineHeight = measures.LineHeight;
  FSelected = selected;
  const int count = Count();
  const bool vertical = VerticalStrip();
  std::vector<TSize> content(static_cast<size_t>(count));
  int widest = 0, highest = 0;
  for (int i = 0; i < count; ++i) {
    TSize c = measures.Tabs[size_t(i)].Size;
    FTabs[size_t(i)].Visible = measures.Tabs[size_t(i)].Visible;
    if (FSettings.TabWidth == 0) c.cx = std::max(c.cx, measures.Minimum.cx);
    if (FSettings.TabHeight == 0) c.cy = std::max(c.cy, measures.Minimum.cy);
    widest = std::max(widest, c.cx);
    highest = std::max(highest, c.cy);
    content[size_t(i)] = c;
  }
  // Every tab takes the common thickness.
  std::vector<int> lengths(static_cast<size_t>(count));
  int thickness = 0;
  for (int i = 0; i < count; ++i) {
    TSize& c = content[size_t(i)];
    if (vertical) c.cx = widest;
    else c.cy = highest;
    const TSize screen = TabScreenSize(c);
    thickness = std::max(thickness, vertical ? screen.cx : screen.cy);
    lengths[size_t(i)] = vertical ? screen.cy : screen.cx;
  }
  if (count > 0) FFixed = thickness;
  int room = StripLength() - 2 * FSettings.Margin;
  if (FSettings.MultiLine) {
    room -= (FRowCount - 1) * FSettings.RowIndent;
  } else {
    if (FSettings.ShowCloseButton) room -= CloseButtonSize() + kButtonGap;
    room -= 2 * ScrollerButtonSize() + kButtonGap;
  }
  const int longest = FSettings.Style == tsRoundCorners ? room - kHiddenLength : room;
  for (int& l : lengths) l = std::min(l, longest);

  if (FSettings.MultiLine) LayOutRows(lengths, room);
  else LayOutSingleRow(lengths);
  const int lastEnd = count == 0 ? 0 : FTabs[size_t(Standard() ? count - 1 : 0)].Rect.Right;
  FNeedScroller = !FSettings.MultiLine && count > 0 && StripLength() - 2 * FSettings.Margin - CloseButtonSize() < lastEnd;
  ChooseFirstVisibleTab(firstVisible);
}

int TWkTabStripGeometry::Slant(int v) const {
  switch (FSettings.Style) {
    case tsSingleSlant: return v / 2;
    case tsDoubleSlant: return v;
    default: return -1;
  }
}

TSize TWkTabStripGeometry::TabScreenSize(TSize content) const {
  const int w = content.cx, h = content.cy, c = FSettings.CutCornerSize, fixedHeight = FSettings.TabHeight;
  const bool vertical = VerticalStrip(), verticalText = FSettings.VerticalText;
  int tw = 0, th = 0;
  switch (FSettings.Style) {
    case tsSingleSlant:
      if (vertical) {
        tw = w + kTabPadding;
        th = h + kTabPadding + 2 * Slant(tw) + fixedHeight / 2;
      } else {
        th = h + kTabPadding;
        tw = w + kTabPadding + 2 * Slant(th) + fixedHeight / 2;
      }
      break;
    case tsDoubleSlant:
      if (vertical) {
        tw = w + kTabPadding;
        th = h + kTabPadding + 2 * (w + kDoubleSlantReach) + fixedHeight;
      } else {
        th = h + kTabPadding;
        tw = w + kTabPadding + 2 * (h + kDoubleSlantReach) + fixedHeight;
      }
      break;
    case tsCutCorner:
      // A caption reading along the strip has the corners at its ends; one reading across
      // it has a corner at the outer edge.
      if (vertical == verticalText) {  // the corners at the caption's ends
        const int across = (vertical ? w : h) + kCutCornerAcross, along = (vertical ? h : w) + kCutCornerAlong + 2 * c;
        tw = vertical ? across : along;
        th = vertical ? along : across;
      } else {
        const int across = (vertical ? w : h) + kCutCornerAcross + c, along = (vertical ? h : w) + kCutCornerAlongFlat;
        tw = vertical ? across : along;
        th = vertical ? along : across;
      }
      break;
    default:
      tw = verticalText ? w + kRoundAcrossText : w + kRoundAlongText;
      th = verticalText ? h + kRoundAlongText : h + kRoundAcrossText;
  }
  if (FSettings.TabWidth > 0) tw = FSettings.TabWidth;
  if (fixedHeight > 0) th = fixedHeight;
  return {tw, th};
}

// Consecutive tabs overlap by their slant less one pixel; tabs without a slant leave a gap.
void TWkTabStripGeometry::PlaceRow(const std::vector<int>& tabs, const std::vector<int>& lengths, int row) {
  const int step = Slant(FFixed) - 1;
  int x = Standard() ? FSettings.Margin : -FSettings.Margin;
  for (int i : tabs) {
    TWkTabPlace& tab = FTabs[size_t(i)];
    const int l = lengths[size_t(i)];
    tab.Row = row;
    if (Standard()) {
      tab.Rect.Left = x;
      tab.Rect.Right = x + l;
      x += l - step;
    } else {
      tab.Rect.Right = x;
      tab.Rect.Left = x - l;
      x -= l - step;
    }
  }
}

void TWkTabStripGeometry::LayOutSingleRow(const std::vector<int>& lengths) {
  FRowCount = 1;
  std::vector<int> all(lengths.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = int(i);
  PlaceRow(all, lengths, 0);
  FinishRows();
}

// A tab that would not end within the room starts a new row, unless it is its row's first.
void TWkTabStripGeometry::LayOutRows(const std::vector<int>& lengths, int room) {
  const int step = Slant(FFixed) - 1;
  std::vector<std::vector<int>> rows(1);
  int x = 0;
  for (int i = 0; i < int(lengths.size()); ++i) {
    const int l = lengths[size_t(i)];
    if (!rows.back().empty() && x + l > room) {
      rows.emplace_back();
      x = 0;
    }
    rows.back().push_back(i);
    x += l - step;
  }
  FRowCount = int(rows.size());
  const bool fixedLength = (VerticalStrip() ? FSettings.TabHeight : FSettings.TabWidth) != 0;
  for (int r = 0; r < FRowCount; ++r) {
    PlaceRow(rows[size_t(r)], lengths, r);
    if (FSettings.AlignTabs && !fixedLength) StretchRow(rows[size_t(r)], room);
  }
  FinishRows();
  if (FSelected >= 0 && FSelected < Count()) RenumberRows(FTabs[size_t(FSelected)].Row);
}

// Shares a row's free room among its tabs, the first (room mod count) getting a pixel more.
void TWkTabStripGeometry::StretchRow(const std::vector<int>& row, int room) {
  if (row.empty()) return;
  const TRect& last = FTabs[size_t(row.back())].Rect;
  const int used = Standard() ? last.Right - FSettings.Margin : -FSettings.Margin - last.Left;
  const int free = room - used;
  if (free <= 0) return;
  const int n = int(row.size());
  int shift = 0;
  for (int k = 0; k < n; ++k) {
    const int extra = free / n + (k < free % n ? 1 : 0);
    TRect& r = FTabs[size_t(row[size_t(k)])].Rect;
    if (Standard()) {
      r.Left += shift;
      r.Right += shift + extra;
    } else {
      r.Right -= shift;
      r.Left -= shift + extra;
    }
    shift += extra;
  }
}

// Reversed rows were laid out leftward from 0; they move right to start at 0 or more. Then
// each tab gets the depth of its row.
void TWkTabStripGeometry::FinishRows() {
  if (!Standard() && !FTabs.empty()) {
    int leftmost = 0;
    for (const TWkTabPlace& tab : FTabs) leftmost = std::min(leftmost, tab.Rect.Left);
    for (TWkTabPlace& tab : FTabs) tab.Rect = tab.Rect.Offset(-leftmost, 0);
  }
  ApplyRowDepths();
}

void TWkTabStripGeometry::ApplyRowDepths() {
  const int f = FFixed, d = StripDepth();
  for (TWkTabPlace& tab : FTabs) {
    tab.Rect.Top = d - f - tab.Row * (f - FSettings.RowOverlap);
    tab.Rect.Bottom = tab.Rect.Top + f;
  }
}

// The selected tab's row moves next to the page; the rows keep their places along the strip.
bool TWkTabStripGeometry::RenumberRows(int selectedRow) {
  if (selectedRow <= 0 || FRowCount <= 1) return false;
  for (TWkTabPlace& tab : FTabs) tab.Row = (tab.Row - selectedRow + FRowCount) % FRowCount;
  ApplyRowDepths();
  return true;
}

// From the previous first tab in view onward to the first that fits from its own start;
// else back from there; else the first shown tab.
void TWkTabStripGeometry::ChooseFirstVisibleTab(int previous) {
  const int count = Count();
  if (count == 0) {
    FFirstVisible = -1;
    return;
  }
  if (!FNeedScroller) {
    FFirstVisible = std::max(FirstShownTab(), 0);
    return;
  }
  const int start = std::clamp(previous, 0, count - 1);
  int i = start;
  while (i < count && !TabInViewFrom(i, i)) ++i;
  if (i >= count) {
    i = start - 1;
    while (i >= 0 && !TabInViewFrom(i, i)) --i;
    if (i < 0) i = std::max(FirstShownTab(), 0);
  }
  FFirstVisible = i;
}

// ---- what changes without a new layout ----

bool TWkTabStripGeometry::Select(int index) {
  FSelected = index;
  if (index < 0 || index >= Count()) return false;
  if (FSettings.MultiLine) return RenumberRows(FTabs[size_t(index)].Row);
  if (FNeedScroller) {
    if (index < FFirstVisible) FFirstVisible = index;
    else
      while (FFirstVisible < index && !TabInView(index)) ++FFirstVisible;
  }
  return false;
}

bool TWkTabStripGeometry::ScrollForward() {
  const int count = Count();
  if (count == 0 || FFirstVisible >= count - 1 || TabInView(LastShownTab())) return false;
  const int old = FFirstVisible;
  ++FFirstVisible;
  while (FFirstVisible < count && !TabInView(FFirstVisible)) ++FFirstVisible;
  if (FFirstVisible >= count) FFirstVisible = old;
  return true;
}

bool TWkTabStripGeometry::ScrollBackward() {
  if (FFirstVisible <= 0 || TabInView(FirstShownTab())) return false;
  const int old = FFirstVisible;
  --FFirstVisible;
  while (FFirstVisible >= 0 && !TabInView(FFirstVisible)) --FFirstVisible;
  if (FFirstVisible < 0) FFirstVisible = old;
  return true;
}

// ---- strip and tabs ----

int TWkTabStripGeometry::StripDepth() const {
  const int f = FFixed;
  return f + (FSettings.Style == tsRoundCorners ? kRoundCornerDepth : 0) + (f - FSettings.RowOverlap) * (FRowCount - 1);
}

bool TWkTabStripGeometry::ShadowShown() const {
  return FSettings.Orientation == toTop && Standard() && FSettings.ShowShadow;
}

// The right and bottom lines of the control are the card frame's; a top strip with a
// shadow gives the shadow two more pixels.
TRect TWkTabStripGeometry::StripRect() const {
  const int w = FSettings.Width, h = FSettings.Height, d = StripDepth();
  switch (FSettings.Orientation) {
    case toTop: return {0, 0, w - 1 - (ShadowShown() ? kShadowWidth : 0), d};
    case toLeft: return {0, 0, d, h - 1};
    case toBottom: return {0, h - 1 - d, w - 1, h - 1};
    default: return {w - 1 - d, 0, w - 1, h - 1};
  }
}

int TWkTabStripGeometry::StripLength() const {
  const TRect s = StripRect();
  return VerticalStrip() ? s.Height() : s.Width();
}

int TWkTabStripGeometry::OriginFor(int firstVisible) const {
  const int k = FSettings.Margin + (FSettings.Style == tsRoundCorners ? kRoundCornerInset : 0);
  if (firstVisible < 0 || firstVisible >= Count()) return Standard() ? -k : k;
  const TRect& r = FTabs[size_t(firstVisible)].Rect;
  return Standard() ? r.Left - k : r.Right + k;
}

// Standard sequences run left to right on top and bottom strips, upward on the left edge and
// downward on the right; reversed ones the other way. The outer edge is the control's edge.
TPoint TWkTabStripGeometry::StripToControl(TPoint p) const {
  const TRect s = StripRect();
  const int o = OriginOffset();
  const bool standard = Standard();
  const int along = standard ? p.X - o : o - p.X;
  switch (FSettings.Orientation) {
    case toTop: return {standard ? s.Left + along : s.Right - along, s.Top + p.Y};
    case toLeft: return {s.Left + p.Y, standard ? s.Bottom - along : s.Top + along};
    case toBottom: return {standard ? s.Left + along : s.Right - along, s.Bottom - p.Y};
    default: return {s.Right - p.Y, standard ? s.Top + along : s.Bottom - along};
  }
}

// Rows beyond the first are indented along the strip; the selected rounded tab stands out,
// longer at both ends and farther out.
TRect TWkTabStripGeometry::TabStripRect(int index) const {
  const TWkTabPlace& tab = FTabs.at(size_t(index));
  const int shift = tab.Row * FSettings.RowIndent * (Standard() ? 1 : -1);
  TRect r = tab.Rect.Offset(shift, 0);
  if (FSettings.Style == tsRoundCorners && index == FSelected)
    r = {r.Left - kRoundCornerInset, r.Top - kRoundCornerInset, r.Right + kRoundCornerInset, r.Bottom};
  return r;
}

TRect TWkTabStripGeometry::TabRect(int index) const {
  const TRect r = TabStripRect(index);
  const TPoint a = StripToControl({r.Left, r.Top}), b = StripToControl({r.Right, r.Bottom});
  return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

std::vector<TPoint> TWkTabStripGeometry::TabShapePoints(int index) const {
  const TRect r = TabStripRect(index);
  const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom, depth = b - t, c = FSettings.CutCornerSize;
  switch (FSettings.Style) {
    case tsSingleSlant: return {{l, b}, {l, t + kChamfer}, {l + kChamfer, t}, {rt - depth, t}, {rt, b}};
    case tsDoubleSlant: return {{l, b}, {l + depth, t}, {rt - depth, t}, {rt, b}};
    case tsCutCorner: return {{l, b}, {l, t}, {rt - c, t}, {rt, t + c}, {rt, b}};
    default: return {{l, b}, {l, t + kChamfer}, {l + kChamfer, t}, {rt - kChamfer, t}, {rt, t + kChamfer}, {rt, b}};
  }
}

std::vector<TPoint> TWkTabStripGeometry::TabControlPoints(int index) const {
  std::vector<TPoint> points = TabShapePoints(index);
  for (TPoint& p : points) p = StripToControl(p);
  return points;
}

// With the scroller a tab is in view when it lies whole between the first tab in view and
// the room the buttons leave.
bool TWkTabStripGeometry::TabInViewFrom(int index, int firstVisible) const {
  if (!FNeedScroller) return true;
  const int room = StripLength() - 2 * ScrollerButtonSize() - 2 * FSettings.Margin - CloseButtonSize();
  const int o = OriginFor(firstVisible);
  const TRect& r = FTabs[size_t(index)].Rect;
  if (Standard()) return r.Left >= o && r.Right - o <= room;
  return r.Right <= o && o - r.Left <= room;
}

bool TWkTabStripGeometry::TabInView(int index) const {
  return index >= 0 && index < Count() && TabInViewFrom(index, FFirstVisible);
}

bool TWkTabStripGeometry::SelectedShown() const {
  return FSelected >= 0 && FSelected < Count() && FSelected >= FFirstVisible && TabInView(FSelected);
}

int TWkTabStripGeometry::FirstShownTab() const {
  for (int i = 0; i < Count(); ++i)
    if (FTabs[size_t(i)].Visible) return i;
  return -1;
}

int TWkTabStripGeometry::LastShownTab() const {
  for (int i = Count() - 1; i >= 0; --i)
    if (FTabs[size_t(i)].Visible) return i;
  return -1;
}

// ---- the strip's buttons ----

int TWkTabStripGeometry::ScrollerButtonSize() const {
  const int margin = FSettings.VerticalText ? kScrollerMarginVertical : kScrollerMarginHorizontal;
  return std::min(FLineHeight + margin, FFixed - kButtonGap);
}

int TWkTabStripGeometry::CloseButtonSize() const {
  return FSettings.ShowCloseButton && Count() > 0 ? ScrollerButtonSize() : 0;
}

// At the strip's far end, opposite the first tab, past the close button; out of sight
// while not needed.
TRect TWkTabStripGeometry::ScrollerBounds() const {
  const int a = ScrollerButtonSize(), longSide = 2 * a - 1;
  const int w = VerticalStrip() ? a : longSide, h = VerticalStrip() ? longSide : a;
  if (!FNeedScroller) return Bounds(-w - 1, -h - 1, w, h);
  const TRect s = StripRect();
  const int e = FSettings.ShowCloseButton ? CloseButtonSize() + FSettings.Margin + kButtonGap : FSettings.Margin;
  const int shadow = ShadowShown() ? kShadowWidth : 0;
  TPoint p;
  switch (FSettings.Orientation) {
    case toTop:
      p = Standard() ? TPoint{s.Right - longSide + 1 - e - shadow, s.Bottom - a - kButtonGap}
                     : TPoint{s.Left + e, s.Bottom - a - kButtonGap};
      break;
    case toLeft:
      p = Standard() ? TPoint{s.Right - a - kButtonGap, s.Top + e}
                     : TPoint{s.Right - a - kButtonGap, s.Bottom - longSide + 1 - e};
      break;
    case toBottom:
      p = Standard() ? TPoint{s.Right - longSide + 1 - e, s.Top + kButtonGap} : TPoint{s.Left + e, s.Top + kButtonGap};
      break;
    default:
      p = Standard() ? TPoint{s.Left + kButtonGap, s.Bottom - longSide + 1 - e} : TPoint{s.Left + kButtonGap, s.Top + e};
  }
  return Bounds(p.X, p.Y, w, h);
}

// At the very end of the strip, within the margin.
TRect TWkTabStripGeometry::CloseButtonBounds() const {
  const int a = CloseButtonSize(), m = FSettings.Margin;
  const TRect s = StripRect();
  const int shadow = ShadowShown() ? kShadowWidth : 0;
  TPoint p;
  switch (FSettings.Orientation) {
    case toTop:
      p = Standard() ? TPoint{s.Right - a - m + 1 - shadow, s.Bottom - a - kButtonGap} : TPoint{s.Left + m, s.Bottom - a - kButtonGap};
      break;
    case toLeft:
      p = Standard() ? TPoint{s.Right - a - kButtonGap, s.Top + m} : TPoint{s.Right - a - kButtonGap, s.Bottom - a - m + 1};
      break;
    case toBottom:
      p = Standard() ? TPoint{s.Right - a - m + 1, s.Top + kButtonGap} : TPoint{s.Left + m, s.Top + kButtonGap};
      break;
    default:
      p = Standard() ? TPoint{s.Left + kButtonGap, s.Bottom - a - m + 1} : TPoint{s.Left + kButtonGap, s.Top + m};
  }
  return Bounds(p.X, p.Y, a, a);
}

// The up or right half scrolls toward later tabs, except where the tabs run the other way
// on screen.
bool TWkTabStripGeometry::ScrollerRolesExchanged() const {
  if (FSettings.Orientation == toRight) return Standard();
  return !Standard();
}

// ---- cards and the page area ----

TRect TWkTabStripGeometry::CardRect(int row) const {
  const int w = FSettings.Width, h = FSettings.Height;
  if (FTabs.empty()) return {0, 0, w - 1, h - 1};
  const int d = StripDepth();
  TRect c;
  switch (FSettings.Orientation) {
    case toTop: c = {0, d, w - 1, h - 1}; break;
    case toLeft: c = {d, 0, w - 1, h - 1}; break;
    case toBottom: c = {0, 0, w - 1, h - 1 - d}; break;
    default: c = {0, 0, w - 1 - d, h - 1};
  }
  if (row == 0) return c;
  // A farther row's card moves toward the strip, its ends in by the rows' indents.
  const int toward = row * (FFixed - FSettings.RowOverlap);
  int startIndent = row * FSettings.RowIndent, endIndent = (FRowCount - 1 - row) * FSettings.RowIndent;
  if (!Standard()) std::swap(startIndent, endIndent);
  switch (FSettings.Orientation) {
    case toTop: c = {c.Left + startIndent, c.Top - toward, c.Right - endIndent, c.Bottom}; break;
    case toLeft: c = {c.Left - toward, c.Top + endIndent, c.Right, c.Bottom - startIndent}; break;
    case toBottom: c = {c.Left + startIndent, c.Top, c.Right - endIndent, c.Bottom + toward}; break;
    default: c = {c.Left, c.Top + startIndent, c.Right + toward, c.Bottom - endIndent};
  }
  if (c.Right < c.Left || c.Bottom < c.Top) return {};
  return c;
}

// Inside the card frame; without a card the pages are out of sight.
TRect TWkTabStripGeometry::PageAreaRect() const {
  if (!FSettings.ShowCard) return {-2, -2, -1, -1};
  TRect c = CardRect(0);
  if (FSettings.ShowCardFrame && FSettings.ShowFullFrame) {
    c = {c.Left + 1, c.Top + 1, c.Right, c.Bottom};
    if (ShadowShown()) c = {c.Left, c.Top, c.Right - kShadowWidth, c.Bottom - kShadowWidth};
  } else if (FSettings.ShowCardFrame) {
    c = {c.Left, c.Top + 1, c.Right + 1, c.Bottom + 1};
  } else {
    c = {c.Left, c.Top, c.Right + 1, c.Bottom + 1};
  }
  return c;
}

// ---- painting ----

// Text keeps `gap` clear of the outer edge; on the bottom and right edges it also sits a
// pixel further in.
TRect TWkTabStripGeometry::AwayFromOuterEdge(TRect c, int gap) const {
  switch (FSettings.Orientation) {
    case toTop: c.Top += gap; break;
    case toLeft: c.Left += gap; break;
    case toBottom: c.Bottom -= gap, c = c.Offset(0, kAlongNudge); break;
    default: c.Right -= gap, c = c.Offset(kAlongNudge, 0);
  }
  return c;
}

// The slanted end (the tab's end at strip x-end: top on the left edge, bottom on the
// right edge, right on top and bottom strips) holds no text.
TRect TWkTabStripGeometry::SlantedContent(const TRect& r) const {
  const bool vertical = VerticalStrip();
  const int s = Slant(vertical ? r.Width() : r.Height());
  TRect c;
  if (FSettings.Style == tsSingleSlant) {
    const int slantEnd = 2 * s + kSlantGap;
    c = Shrink(r, kOutlineInset, kOutlineInset);
    if (!vertical) c = TRect{c.Left, c.Top, c.Right - slantEnd, c.Bottom}.Offset(kSlantGap, 0);
    else if (FSettings.Orientation == toLeft) c = TRect{c.Left, c.Top + slantEnd, c.Right, c.Bottom}.Offset(0, -kSlantGap);
    else c = TRect{c.Left, c.Top, c.Right, c.Bottom - slantEnd}.Offset(0, kSlantGap);
  } else if (vertical) {
    // Both ends slant: the text gives up a slant at each end, less what the outline takes.
    c = {r.Left + kOutlineInset, r.Top - kOutlineInset + s, r.Right - kOutlineInset,
         r.Bottom + kOutlineInset - s + kDoubleSlantLowerEnd};
  } else {
    c = {r.Left - kOutlineInset + s, r.Top + kOutlineInset, r.Right + kOutlineInset - s, r.Bottom - kOutlineInset};
  }
  c = vertical ? c.Offset(0, kAlongNudge) : c.Offset(kAlongNudge, 0);
  return AwayFromOuterEdge(c, kOuterEdgeGap);
}

// A caption reading along the strip has the corner at its end; one reading across it has
// the corner at the outer edge.
TRect TWkTabStripGeometry::CutCornerContent(const TRect& r) const {
  const int c = FSettings.CutCornerSize;
  const bool vertical = VerticalStrip(), cornerAlong = vertical == FSettings.VerticalText;
  const int ends = cornerAlong ? c + kCutCornerEndGap : kCutCornerPlainEndGap;
  const int edge = vertical ? kCutCornerSideEdgeGap : kCutCornerEndEdgeGap;
  const TRect inner = vertical ? Shrink(r, kOutlineInset, ends) : Shrink(r, ends, kOutlineInset);
  return AwayFromOuterEdge(inner, cornerAlong ? edge : c + edge);
}

TRect TWkTabStripGeometry::ContentRect(const TRect& tabRect) const {
  TRect c;
  switch (FSettings.Style) {
    case tsSingleSlant:
    case tsDoubleSlant: c = SlantedContent(tabRect); break;
    case tsCutCorner: c = CutCornerContent(tabRect); break;
    default:
      c = FSettings.VerticalText ? Shrink(tabRect, kRoundAcrossGap, kRoundAlongGap)
                                 : Shrink(tabRect, kRoundAlongGap, kRoundAcrossGap);
  }
  return Shrink(c, kOutlineInset, kOutlineInset);
}

TRect TWkTabStripGeometry::BarRect(const TRect& tabRect) const {
  TRect band = tabRect.Inflate(1, 1);
  switch (FSettings.Orientation) {
    case toTop: band.Bottom = band.Top + kBarDepth; break;
    case toLeft: band.Right = band.Left + kBarDepth; break;
    case toBottom: band.Top = band.Bottom - kBarDepthFar; break;
    default: band.Left = band.Right - kBarDepthFar;
  }
  return band;
}

// A pixel wider than the caption area on each side; a rounded tab's frame keeps clear of
// its outer corners.
TRect TWkTabStripGeometry::FocusRect(const TRect& text) const {
  TRect focus{text.Left - 1, text.Top, text.Right + 1, text.Bottom};
  if (FSettings.Style == tsRoundCorners) {
    switch (FSettings.Orientation) {
      case toTop: focus.Top += 1; break;
      case toLeft: focus.Left += kRoundCornerInset; break;
      case toBottom: focus.Bottom -= 1; break;
      default: focus.Right -= kRoundCornerInset;
    }
  }
  return focus;
}

// The sides and the top, point to point; the base is the card frame's.
TWkOutline TWkTabStripGeometry::TabOutline(int index) const {
  const std::vector<TPoint> p = TabControlPoints(index);
  TWkOutline outline;
  for (size_t i = 1; i < p.size(); ++i) outline.push_back({p[i - 1], p[i]});
  return outline;
}

namespace {
// Collects connected lines: each line starts where the last one ended unless moved.
class TOutlinePen {
 public:
  TWkOutline Segments;
  void Move(TPoint p) { FAt = p; }
  void Line(TPoint p) { Draw(p, okLine); }
  void Draw(TPoint p, TWkOutlineKind kind) {
    Segments.push_back({FAt, p, kind});
    FAt = p;
  }

 private:
  TPoint FAt;
};
}  // namespace

// Row 0's frame opens where the selected tab stands, between its base corners (G1 just
// inside the first, G2 the last), so that tab and page share one colour.
TWkOutline TWkTabStripGeometry::CardOutline(int row, bool withShadow) const {
  const TRect c = CardRect(row);
  const TPoint tl{c.Left, c.Top}, tr{c.Right, c.Top}, br{c.Right, c.Bottom}, bl{c.Left, c.Bottom};
  const int w = kShadowWidth;
  TOutlinePen o;
  const bool gap = row == 0 && SelectedShown() && FSettings.Style != tsRoundCorners;
  const bool shadow = ShadowShown() && withShadow;
  if (gap) {
    const std::vector<TPoint> shape = TabShapePoints(FSelected);
    const TPoint g1 = StripToControl({shape.front().X + 1, shape.front().Y}), g2 = StripToControl(shape.back());
    if (shadow) {
      o.Move(tl), o.Line(g1), o.Move(g2), o.Line({tr.X - w, tr.Y}), o.Line({br.X - w, br.Y - w});
      o.Line({bl.X, bl.Y - w}), o.Line({tl.X, tl.Y - 1});
    } else if (FSettings.ShowFullFrame) {
      switch (FSettings.Orientation) {
        case toTop: o.Move(tl), o.Line(g1), o.Move(g2), o.Line(tr), o.Line(br), o.Line(bl), o.Line({tl.X, tl.Y - 1}); break;
        case toLeft: o.Move(tl), o.Line(tr), o.Line(br), o.Line({bl.X - 1, bl.Y}), o.Move(bl), o.Line(g1), o.Move(g2), o.Line(tl); break;
        case toBottom:
          o.Move(tl), o.Line(tr), o.Line({br.X, br.Y + 1}), o.Move(br), o.Line({g2.X - 1, g2.Y});
          o.Move({g1.X - 1, g1.Y}), o.Line(bl), o.Line(tl);
          break;
        default: o.Move(tl), o.Line({tr.X + 1, tr.Y}), o.Move(tr), o.Line(g1), o.Move(g2), o.Line(br), o.Line(bl), o.Line(tl);
      }
    } else {
      switch (FSettings.Orientation) {
        case toTop: o.Move(tl), o.Line(g1), o.Move(g2), o.Line(tr); break;
        case toLeft: o.Move(bl), o.Line(g1), o.Move(g2), o.Line(tl); break;
        case toBottom: o.Move(br), o.Line({g2.X - 1, g2.Y}), o.Move({g1.X - 1, g1.Y}), o.Line(bl); break;
        default: o.Move(tr), o.Line(g1), o.Move(g2), o.Line(br);
      }
    }
  } else if (shadow) {
    o.Move(tl), o.Line({tr.X - w, tr.Y}), o.Line({br.X - w, br.Y - w}), o.Line({bl.X, bl.Y - w}), o.Line(tl);
  } else if (FSettings.ShowFullFrame) {
    o.Move(tl), o.Line(tr), o.Line(br), o.Line(bl), o.Line(tl);
  } else {
    // Only the edge next to the strip.
    switch (FSettings.Orientation) {
      case toTop: o.Move(tl), o.Line(tr); break;
      case toLeft: o.Move(tl), o.Line(bl); break;
      case toBottom: o.Move(bl), o.Line(br); break;
      default: o.Move(tr), o.Line(br);
    }
  }
  if (shadow) {
    o.Move({tr.X - 1, tr.Y + 1}), o.Draw({br.X - 1, br.Y - 1}, okShadowNear), o.Draw({bl.X, bl.Y - 1}, okShadowNear);
    o.Move({tr.X - 1, tr.Y}), o.Draw(tr, okShadowFar), o.Draw(br, okShadowFar), o.Draw(bl, okShadowFar);
    o.Draw({bl.X, bl.Y - 1}, okShadowFar);
  }
  return o.Segments;
}

// ---- a tab's content ----

TSize TabContentSize(TSize caption, TSize image, TWkImagePosition position, int imageMargin) {
  switch (position) {
    case ipLeft:
    case ipRight: return {imageMargin + image.cx + caption.cx, std::max(image.cy, caption.cy)};
    case ipTop:
    case ipBottom: return {std::max(image.cx, caption.cx), imageMargin + image.cy + caption.cy};
    case ipBack: return {std::max(image.cx, caption.cx), std::max(image.cy, caption.cy)};
    default: return caption;
  }
}

TWkTabContentAreas SplitTabContent(const TRect& content, TSize image, TWkImagePosition position, int gap) {
  TWkTabContentAreas a{content, content};
  switch (position) {
    case ipLeft: a.Text.Left += image.cx + gap, a.Image.Right = a.Image.Left + image.cx; break;
    case ipTop: a.Text.Top += image.cy + gap, a.Image.Bottom = a.Image.Top + image.cy; break;
    case ipRight: a.Text.Right -= image.cx + gap, a.Image.Left = a.Image.Right - image.cx; break;
    case ipBottom: a.Text.Bottom -= image.cy + gap, a.Image.Top = a.Image.Bottom - image.cy; break;
    default: break;
  }
  return a;
}

TPoint PlaceTabImage(const TRect& area, TSize image, TWkImagePosition position, TWkHorizontalAlignment horizontal,
                     TWkVerticalAlignment vertical) {
  TPoint p{area.Left, area.Top};
  if (position == ipStretch) return p;
  if (horizontal == haCenter) p.X += (area.Width() - image.cx) / 2;
  else if (horizontal == haRight) p.X = area.Right - image.cx;
  if (vertical == vaCenter) p.Y += (area.Height() - image.cy) / 2;
  else if (vertical == vaBottom) p.Y = area.Bottom - image.cy;
  return p;
}

std::vector<std::string> CaptionLines(std::string_view caption) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = caption.find("\r\n", start);
    lines.emplace_back(caption.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 2;
  }
}

TSize CaptionBlockExtent(const std::vector<TSize>& lines, bool verticalText) {
  int along = 0, across = 0;
  for (const TSize& line : lines) {
    along = std::max(along, line.cx);
    across += line.cy;
  }
  return verticalText ? TSize{across, along} : TSize{along, across};
}

// Across upward text the far side (haRight) is the right, across downward text the left.
std::vector<TPoint> CaptionLineStarts(const TRect& area, TSize block, const std::vector<TSize>& lines,
                                      TWkCaptionDirection direction, TWkHorizontalAlignment horizontal,
                                      TWkVerticalAlignment vertical) {
  TRect r = area;
  if (direction != cdAcross) {
    const int free = r.Width() - block.cx;
    if (horizontal == haCenter) r = {r.Left + free / 2, r.Top, r.Right - free / 2, r.Bottom};
    else if (direction == cdDownward && horizontal == haLeft) r.Right = r.Left + block.cx;
    else if (direction == cdUpward && horizontal == haRight) r.Left = r.Right - block.cx;
  } else {
    const int free = r.Height() - block.cy;
    if (vertical == vaCenter) r = {r.Left, r.Top + free / 2, r.Right, r.Bottom - free / 2};
    else if (vertical == vaBottom) r.Top = r.Bottom - block.cy;
  }
  std::vector<TPoint> starts;
  int before = 0;  // the heights of the lines so far
  for (const TSize& line : lines) {
    const int n = line.cx;
    switch (direction) {
      case cdAcross: {
        const int b = horizontal == haCenter ? (r.Width() - n) / 2 : horizontal == haRight ? r.Width() - n : 0;
        starts.push_back({r.Left + b, r.Top + before});
        break;
      }
      case cdUpward: {
        const int b = vertical == vaCenter ? (r.Height() - n) / 2 : vertical == vaTop ? r.Height() - n : 0;
        starts.push_back({r.Left + before, r.Bottom - b});
        break;
      }
      default: {
        const int b = vertical == vaCenter ? (r.Height() - n) / 2 : vertical == vaBottom ? r.Height() - n : 0;
        starts.push_back({r.Right - before, r.Top + b});
      }
    }
    before += line.cy;
  }
  return starts;
}
