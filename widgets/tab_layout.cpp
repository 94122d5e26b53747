// The strip's geometry: strip coordinates and their mapping to the control, measuring,
// the layout, the in-view rule, the scroller and close button places, tab shapes and
// regions, hit testing, the cards and the page area.
#include <algorithm>
#include <cstdlib>

#include "framework/core/exceptions.h"
#include "framework/graphics/canvas.h"
#include "widgets/image_list.h"
#include "widgets/page_control.h"

namespace {
constexpr int kTabPadding = 6;          // around a tab's content across and along the strip
constexpr int kRoundCornerDepth = 3;    // extra strip depth of rounded tabs
constexpr int kRoundCornerInset = 2;    // rounded tabs start this far into the strip
constexpr int kScrollerMarginVertical = 2;
constexpr int kScrollerMarginHorizontal = 4;
constexpr int kButtonGap = 2;           // between the strip's buttons and the tabs or the edge
constexpr int kHiddenLength = 4;        // rounded tabs give up this much of the room
}  // namespace

// ---- strip coordinates ----

int TWkCustomTabControl::Slant(int v) const {
  switch (FTabStyle) {
    case tsSingleSlant: return v / 2;
    case tsDoubleSlant: return v;
    default: return -1;
  }
}

int TWkCustomTabControl::StripDepth() const {
  const int f = FFixedDimension;
  return f + (FTabStyle == tsRoundCorners ? kRoundCornerDepth : 0) + (f - FRowOverlap) * (FRowCount - 1);
}

TRect TWkCustomTabControl::StripRect() const {
  const int w = Width(), h = Height(), d = StripDepth();
  switch (FTabOrientation) {
    case toTop: return {0, 0, w - 1 - (ShadowShown() ? 2 : 0), d};
    case toLeft: return {0, 0, d, h - 1};
    case toBottom: return {0, h - 1 - d, w - 1, h - 1};
    default: return {w - 1 - d, 0, w - 1, h - 1};
  }
}

bool TWkCustomTabControl::ShadowShown() const {
  return FTabOrientation == toTop && FTabSequence == tsStandard && FShowShadow;
}

int TWkCustomTabControl::StripLength() const {
  const TRect s = StripRect();
  return VerticalStrip() ? s.Height() : s.Width();
}

int TWkCustomTabControl::OriginFor(int firstVisible) const {
  const int k = FMargin + (FTabStyle == tsRoundCorners ? kRoundCornerInset : 0);
  const bool standard = FTabSequence == tsStandard;
  if (firstVisible < 0 || firstVisible >= FTabs.Count()) return standard ? -k : k;
  const TRect& r = FTabs.Items(firstVisible).Rect;
  return standard ? r.Left - k : r.Right + k;
}

int TWkCustomTabControl::OriginOffset() const { return OriginFor(FFirstVisibleTab); }

TPoint TWkCustomTabControl::StripToControl(TPoint p) const {
  const TRect s = StripRect();
  const int o = OriginOffset();
  const bool standard = FTabSequence == tsStandard;
  const int along = standard ? p.X - o : o - p.X;
  switch (FTabOrientation) {
    case toTop: return {standard ? s.Left + along : s.Right - along, s.Top + p.Y};
    case toLeft: return {s.Left + p.Y, standard ? s.Bottom - along : s.Top + along};
    case toBottom: return {standard ? s.Left + along : s.Right - along, s.Bottom - p.Y};
    default: return {s.Right - p.Y, standard ? s.Top + along : s.Bottom - along};
  }
}

// The selected rounded tab stands out: 2 pixels longer at both ends and 2 farther out.
TRect TWkCustomTabControl::TabStripRect(int index) const {
  const TWkTabData& tab = FTabs.Items(index);
  const int shift = tab.Row * FRowIndent * (FTabSequence == tsStandard ? 1 : -1);
  TRect r = tab.Rect.Offset(shift, 0);
  if (FTabStyle == tsRoundCorners && index == FTabIndex)
    r = {r.Left - kRoundCornerInset, r.Top - kRoundCornerInset, r.Right + kRoundCornerInset, r.Bottom};
  return r;
}

TRect TWkCustomTabControl::TabRect(int index) const {
  const TRect r = TabStripRect(index);
  const TPoint a = StripToControl({r.Left, r.Top}), b = StripToControl({r.Right, r.Bottom});
  return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

std::vector<TPoint> TWkCustomTabControl::TabShapePoints(int index) const {
  const TRect r = TabStripRect(index);
  const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom, depth = b - t;
  switch (FTabStyle) {
    case tsSingleSlant: return {{l, b}, {l, t + 2}, {l + 2, t}, {rt - depth, t}, {rt, b}};
    case tsDoubleSlant: return {{l, b}, {l + depth, t}, {rt - depth, t}, {rt, b}};
    case tsCutCorner: return {{l, b}, {l, t}, {rt - FCutCornerSize, t}, {rt, t + FCutCornerSize}, {rt, b}};
    default: return {{l, b}, {l, t + 2}, {l + 2, t}, {rt - 2, t}, {rt, t + 2}, {rt, b}};
  }
}

std::vector<TPoint> TWkCustomTabControl::TabControlPoints(int index) const {
  std::vector<TPoint> points = TabShapePoints(index);
  for (TPoint& p : points) p = StripToControl(p);
  return points;
}

// ---- in view ----

bool TWkCustomTabControl::TabInViewFrom(int index, int firstVisible) const {
  if (!FNeedScroller) return true;
  const int room = StripLength() - 2 * ScrollerButtonSize() - 2 * FMargin - CloseButtonSize();
  const int o = OriginFor(firstVisible);
  const TRect& r = FTabs.Items(index).Rect;
  if (FTabSequence == tsStandard) return r.Left >= o && r.Right - o <= room;
  return r.Right <= o && o - r.Left <= room;
}

bool TWkCustomTabControl::TabInView(int index) const {
  return index >= 0 && index < FTabs.Count() && TabInViewFrom(index, FFirstVisibleTab);
}

int TWkCustomTabControl::FirstShownTab() const {
  for (int i = 0; i < FTabs.Count(); ++i)
    if (FTabs.Items(i).Visible) return i;
  return -1;
}

int TWkCustomTabControl::LastShownTab() const {
  for (int i = FTabs.Count() - 1; i >= 0; --i)
    if (FTabs.Items(i).Visible) return i;
  return -1;
}

bool TWkCustomTabControl::LastTabInView() const { return TabInView(LastShownTab()); }

// ---- measuring ----

void TWkCustomTabControl::PrepareMeasuringFont(TFont& font, bool bold) const {
  font.CopyFrom(Font());
  int escapement = 0;
  if (VerticalText()) escapement = FTabOrientation == toRight ? 2700 : 900;
  font.SetEscapement(escapement);
  if (bold) {
    TFontStyles style = font.Style();
    style.Include(fsBold);
    font.SetStyle(style);
  }
}

TSize TWkCustomTabControl::CaptionExtent(const std::string& caption, bool bold) const {
  TCanvas canvas;
  PrepareMeasuringFont(canvas.Font(), bold);
  int along = 0, across = 0;
  try {
    size_t start = 0;
    for (;;) {
      const size_t end = caption.find("\r\n", start);
      std::string line = caption.substr(start, end == std::string::npos ? std::string::npos : end - start);
      if (const size_t amp = line.find('&'); amp != std::string::npos) line.erase(amp, 1);
      const TSize e = canvas.TextExtent(line);
      along = std::max(along, e.cx);
      across += e.cy;
      if (end == std::string::npos) break;
      start = end + 2;
    }
  } catch (const Exception&) {
    return {0, 0};
  }
  return VerticalText() ? TSize{across, along} : TSize{along, across};
}

int TWkCustomTabControl::LineHeight(bool bold) const {
  TCanvas canvas;
  PrepareMeasuringFont(canvas.Font(), bold);
  return canvas.TextExtent("A").cy;
}

TSize TWkCustomTabControl::ImageSize(const TWkTabData& tab) const {
  if (FImages == nullptr || tab.ImageIndex == -1) return {0, 0};
  return {FImages->Width(), FImages->Height()};
}

TSize TWkCustomTabControl::TabContentSize(const TWkTabData& tab) const {
  const TSize image = ImageSize(tab);
  const TSize text = CaptionExtent(tab.Caption, FBoldCurrentTab);
  switch (FImagePosition) {
    case ipLeft:
    case ipRight: return {FImageMargin + image.cx + text.cx, std::max(image.cy, text.cy)};
    case ipTop:
    case ipBottom: return {std::max(image.cx, text.cx), FImageMargin + image.cy + text.cy};
    case ipBack: return {std::max(image.cx, text.cx), std::max(image.cy, text.cy)};
    default: return text;
  }
}

TSize TWkCustomTabControl::TabScreenSize(TSize content) const {
  const int w = content.cx, h = content.cy, c = FCutCornerSize;
  const bool vertical = VerticalStrip();
  int tw = 0, th = 0;
  switch (FTabStyle) {
    case tsSingleSlant:
      if (vertical) {
        tw = w + kTabPadding;
        th = h + kTabPadding + 2 * Slant(tw) + FTabHeight / 2;
      } else {
        th = h + kTabPadding;
        tw = w + kTabPadding + 2 * Slant(th) + FTabHeight / 2;
      }
      break;
    case tsDoubleSlant:
      if (vertical) {
        tw = w + kTabPadding;
        th = h + kTabPadding + 2 * (w + 2) + FTabHeight;
      } else {
        th = h + kTabPadding;
        tw = w + kTabPadding + 2 * (h + 2) + FTabHeight;
      }
      break;
    case tsCutCorner:
      if (!VerticalText()) {
        tw = vertical ? w + 7 + c : w + 8 + 2 * c;
        th = vertical ? h + 10 : h + 7;
      } else {
        tw = vertical ? w + 7 : w + 10;
        th = vertical ? h + 8 + 2 * c : h + 7 + c;
      }
      break;
    default:
      tw = VerticalText() ? w + 6 : w + 16;
      th = VerticalText() ? h + 16 : h + 6;
  }
  if (FTabWidth > 0) tw = FTabWidth;
  if (FTabHeight > 0) th = FTabHeight;
  return {tw, th};
}

// ---- buttons of the strip ----

int TWkCustomTabControl::ScrollerButtonSize() const {
  const int margin = VerticalText() ? kScrollerMarginVertical : kScrollerMarginHorizontal;
  return std::min(LineHeight(FBoldCurrentTab) + margin, FFixedDimension - 2);
}

int TWkCustomTabControl::CloseButtonSize() const {
  return FShowCloseButton && FTabs.Count() > 0 ? ScrollerButtonSize() : 0;
}

TRect TWkCustomTabControl::ScrollerBounds() const {
  const int a = ScrollerButtonSize(), longSide = 2 * a - 1;
  const int w = VerticalStrip() ? a : longSide, h = VerticalStrip() ? longSide : a;
  if (!FNeedScroller) return Bounds(-w - 1, -h - 1, w, h);
  const TRect s = StripRect();
  const int e = FShowCloseButton ? CloseButtonSize() + FMargin + kButtonGap : FMargin;
  const bool standard = FTabSequence == tsStandard;
  TPoint p;
  switch (FTabOrientation) {
    case toTop:
      p = standard ? TPoint{s.Right - longSide + 1 - e - (ShadowShown() ? 2 : 0), s.Bottom - a - kButtonGap}
                   : TPoint{s.Left + e, s.Bottom - a - kButtonGap};
      break;
    case toLeft:
      p = standard ? TPoint{s.Right - a - kButtonGap, s.Top + e} : TPoint{s.Right - a - kButtonGap, s.Bottom - longSide + 1 - e};
      break;
    case toBottom:
      p = standard ? TPoint{s.Right - longSide + 1 - e, s.Top + kButtonGap} : TPoint{s.Left + e, s.Top + kButtonGap};
      break;
    default:
      p = standard ? TPoint{s.Left + kButtonGap, s.Bottom - longSide + 1 - e} : TPoint{s.Left + kButtonGap, s.Top + e};
  }
  return Bounds(p.X, p.Y, w, h);
}

TRect TWkCustomTabControl::CloseButtonBounds() const {
  const int a = CloseButtonSize();
  const TRect s = StripRect();
  const bool standard = FTabSequence == tsStandard;
  TPoint p;
  switch (FTabOrientation) {
    case toTop:
      p = standard ? TPoint{s.Right - a - FMargin + 1 - (ShadowShown() ? 2 : 0), s.Bottom - a - kButtonGap}
                   : TPoint{s.Left + FMargin, s.Bottom - a - kButtonGap};
      break;
    case toLeft:
      p = standard ? TPoint{s.Right - a - kButtonGap, s.Top + FMargin}
                   : TPoint{s.Right - a - kButtonGap, s.Bottom - a - FMargin + 1};
      break;
    case toBottom:
      p = standard ? TPoint{s.Right - a - FMargin + 1, s.Top + kButtonGap} : TPoint{s.Left + FMargin, s.Top + kButtonGap};
      break;
    default:
      p = standard ? TPoint{s.Left + kButtonGap, s.Bottom - a - FMargin + 1} : TPoint{s.Left + kButtonGap, s.Top + FMargin};
  }
  return Bounds(p.X, p.Y, a, a);
}

// The scroller's halves scroll toward later tabs on the up or right half, except where the
// tabs run the other way on screen.
bool TWkCustomTabControl::ScrollerRolesExchanged() const {
  if (FTabOrientation == toRight) return FTabSequence == tsStandard;
  return FTabSequence == tsReverse;
}

void TWkCustomTabControl::SyncButtons() {
  if (FScroller != nullptr) {
    const bool backward = FFirstVisibleTab > 0, forward = !LastTabInView();
    if (ScrollerRolesExchanged()) FScroller->SetEnabledHalves(backward, forward);
    else FScroller->SetEnabledHalves(forward, backward);
  }
  if (FCloseButton != nullptr) FCloseButton->SetActive(FTabIndex >= 0);
}

void TWkCustomTabControl::PlaceButtons() {
  if (FNeedScroller && FScroller == nullptr) {
    FScroller = new TWkTabScroller(this);
    FScroller->SetParent(this);
    FScroller->FOnUpRightClick = [this](TObject*) { ScrollerRolesExchanged() ? ScrollBackward() : ScrollForward(); };
    FScroller->FOnDownLeftClick = [this](TObject*) { ScrollerRolesExchanged() ? ScrollForward() : ScrollBackward(); };
  }
  if (FShowCloseButton && FCloseButton == nullptr) {
    FCloseButton = new TWkTabCloseButton(this);
    FCloseButton->SetParent(this);
    FCloseButton->FOnClick = [this](TObject*) { CloseButtonClicked(); };
  }
  ButtonsFrameColorChanged();
  if (FScroller != nullptr) {
    FScroller->SetVertical(VerticalStrip());
    FScroller->SetBoundsRect(ScrollerBounds());
  }
  if (FCloseButton != nullptr) {
    FCloseButton->SetBoundsRect(CloseButtonBounds());
    FCloseButton->SetVisible(FShowCloseButton);
  }
  SyncButtons();
}

void TWkCustomTabControl::CloseButtonClicked() {
  if (FTabIndex < 0) return;
  bool allowClose = false;
  FOnClose(this, allowClose);
  if (allowClose) CloseActiveTab();
}

// ---- layout ----

void TWkCustomTabControl::UpdateLayout() {
  if (FLayoutDirty) Layout();
}

void TWkCustomTabControl::Layout() {
  FLayoutDirty = false;
  const int count = FTabs.Count();
  std::vector<TSize> content(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) content[size_t(i)] = TabContentSize(FTabs.Items(i));
  // A tab is never smaller than a letter of the font.
  const TSize letter = CaptionExtent(FTabStyle == tsRoundCorners ? "AAA" : "A", FBoldCurrentTab);
  const int fontHeight = std::abs(Font()->Height());
  const TSize minimum = VerticalText() ? TSize{fontHeight, letter.cy} : TSize{letter.cx, fontHeight};
  int widest = 0, highest = 0;
  for (TSize& c : content) {
    if (FTabWidth == 0) c.cx = std::max(c.cx, minimum.cx);
    if (FTabHeight == 0) c.cy = std::max(c.cy, minimum.cy);
    widest = std::max(widest, c.cx);
    highest = std::max(highest, c.cy);
  }
  std::vector<int> lengths(static_cast<size_t>(count));
  int thickness = 0;
  for (int i = 0; i < count; ++i) {
    TSize& c = content[size_t(i)];
    if (VerticalStrip()) c.cx = widest;
    else c.cy = highest;
    const TSize screen = TabScreenSize(c);
    thickness = std::max(thickness, VerticalStrip() ? screen.cx : screen.cy);
    lengths[size_t(i)] = VerticalStrip() ? screen.cy : screen.cx;
  }
  if (count > 0) FFixedDimension = thickness;
  int room = StripLength() - 2 * FMargin;
  if (FMultiLine) {
    room -= (FRowCount - 1) * FRowIndent;
  } else {
    if (FShowCloseButton) room -= CloseButtonSize() + kButtonGap;
    room -= 2 * ScrollerButtonSize() + kButtonGap;
  }
  const int longest = FTabStyle == tsRoundCorners ? room - kHiddenLength : room;
  for (int& l : lengths) l = std::min(l, longest);

  if (FMultiLine) LayOutRows(lengths, room);
  else LayOutSingleRow(lengths);
  FRegionCache.Clear();
  const int lastEnd = count == 0 ? 0 : FTabs.Items(FTabSequence == tsStandard ? count - 1 : 0).Rect.Right;
  FNeedScroller = !FMultiLine && count > 0 && StripLength() - 2 * FMargin - CloseButtonSize() < lastEnd;
  ChooseFirstVisibleTab();
  CheckSelection();
  if (!(PageAreaRect() == FLastPageArea)) Realign();
  else PlaceButtons();
}

// Consecutive tabs overlap by their slant, less one pixel; tabs without a slant leave a gap.
void TWkCustomTabControl::PlaceRow(const std::vector<int>& tabs, const std::vector<int>& lengths, int row, int firstX) {
  const int step = Slant(FFixedDimension) - 1;
  int x = firstX;
  for (int i : tabs) {
    TWkTabData& tab = FTabs.Items(i);
    const int l = lengths[size_t(i)];
    tab.Row = row;
    if (FTabSequence == tsStandard) {
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

void TWkCustomTabControl::LayOutSingleRow(const std::vector<int>& lengths) {
  FRowCount = 1;
  std::vector<int> all(lengths.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = int(i);
  PlaceRow(all, lengths, 0, FTabSequence == tsStandard ? FMargin : -FMargin);
  FinishRows();
}

void TWkCustomTabControl::LayOutRows(const std::vector<int>& lengths, int room) {
  const bool standard = FTabSequence == tsStandard;
  const int step = Slant(FFixedDimension) - 1;
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
  for (int r = 0; r < FRowCount; ++r) {
    PlaceRow(rows[size_t(r)], lengths, r, standard ? FMargin : -FMargin);
    if (FAlignTabs && (VerticalStrip() ? FTabHeight : FTabWidth) == 0) StretchRow(rows[size_t(r)], room);
  }
  FinishRows();
  if (FTabIndex >= 0 && FTabIndex < FTabs.Count()) RenumberRows(FTabs.Items(FTabIndex).Row);
}

// Shares a row's free room among its tabs, the first (room mod count) getting a pixel more.
void TWkCustomTabControl::StretchRow(const std::vector<int>& row, int room) {
  if (row.empty()) return;
  const bool standard = FTabSequence == tsStandard;
  const TRect& last = FTabs.Items(row.back()).Rect;
  const int used = standard ? last.Right - FMargin : -FMargin - last.Left;
  const int free = room - used;
  if (free <= 0) return;
  const int n = int(row.size());
  int shift = 0;
  for (int k = 0; k < n; ++k) {
    const int extra = free / n + (k < free % n ? 1 : 0);
    TRect& r = FTabs.Items(row[size_t(k)]).Rect;
    if (standard) {
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
void TWkCustomTabControl::FinishRows() {
  const int count = FTabs.Count();
  if (FTabSequence == tsReverse && count > 0) {
    int leftmost = 0;
    for (int i = 0; i < count; ++i) leftmost = std::min(leftmost, FTabs.Items(i).Rect.Left);
    for (int i = 0; i < count; ++i) FTabs.Items(i).Rect = FTabs.Items(i).Rect.Offset(-leftmost, 0);
  }
  ApplyRowDepths();
}

void TWkCustomTabControl::ApplyRowDepths() {
  const int f = FFixedDimension, d = StripDepth();
  for (int i = 0; i < FTabs.Count(); ++i) {
    TWkTabData& tab = FTabs.Items(i);
    tab.Rect.Top = d - f - tab.Row * (f - FRowOverlap);
    tab.Rect.Bottom = tab.Rect.Top + f;
  }
}

// The selected tab's row moves next to the page; the rows keep their places along the strip.
void TWkCustomTabControl::RenumberRows(int selectedRow) {
  if (selectedRow <= 0 || FRowCount <= 1) return;
  for (int i = 0; i < FTabs.Count(); ++i) {
    TWkTabData& tab = FTabs.Items(i);
    tab.Row = (tab.Row - selectedRow + FRowCount) % FRowCount;
  }
  ApplyRowDepths();
  FRegionCache.Clear();
}

void TWkCustomTabControl::ChooseFirstVisibleTab() {
  const int count = FTabs.Count();
  if (count == 0) {
    FFirstVisibleTab = -1;
    return;
  }
  if (!FNeedScroller) {
    FFirstVisibleTab = std::max(FirstShownTab(), 0);
    return;
  }
  const int previous = std::clamp(FFirstVisibleTab, 0, count - 1);
  int i = previous;
  while (i < count && !TabInViewFrom(i, i)) ++i;
  if (i >= count) {
    i = previous - 1;
    while (i >= 0 && !TabInViewFrom(i, i)) --i;
    if (i < 0) i = std::max(FirstShownTab(), 0);
  }
  FFirstVisibleTab = i;
}

// The selection moves to the nearest tab that can be selected, upward first.
void TWkCustomTabControl::CheckSelection() {
  const int count = FTabs.Count();
  if (count == 0) {
    FTabIndex = -1;
    return;
  }
  if (FTabIndex < 0) return;
  int found = -1;
  for (int i = FTabIndex; i < count && found < 0; ++i)
    if (CanSelectTab(i)) found = i;
  for (int i = std::min(FTabIndex, count - 1); i >= 0 && found < 0; --i)
    if (CanSelectTab(i)) found = i;
  SetTabIndexEx(found, true);
}

// ---- hit testing and regions ----

const TRegion* TWkCustomTabControl::TabRegion(int index) {
  const TRect rect = TabRect(index);
  if (const TRegion* cached = FRegionCache.Find(rect)) return cached;
  const std::vector<TPoint> points = TabControlPoints(index);
  if (points.size() < 3) return nullptr;
  return &FRegionCache.Add(rect, TRegion::Polygon(points, pfmAlternate));
}

int TWkCustomTabControl::TabAtPos(TPoint p) {
  const int count = FTabs.Count();
  if (count == 0) return -1;
  auto hit = [&](int i) {
    if (!FTabs.Items(i).Visible || !TabInView(i) || !TabRect(i).Contains(p)) return false;
    const TRegion* region = TabRegion(i);
    return region != nullptr && region->PointIn(p.X, p.Y);
  };
  if (FTabIndex >= 0 && FTabIndex < count && hit(FTabIndex)) return FTabIndex;
  const int first = std::max(FFirstVisibleTab, 0);
  for (int n = 0; n < count; ++n) {
    const int i = (first + n) % count;
    if (i != FTabIndex && hit(i)) return i;
  }
  return -1;
}

// ---- cards and the page area ----

TRect TWkCustomTabControl::CardRect(int row) const {
  const int w = Width(), h = Height();
  if (FTabs.Count() == 0) return {0, 0, w - 1, h - 1};
  const int d = StripDepth();
  TRect c;
  switch (FTabOrientation) {
    case toTop: c = {0, d, w - 1, h - 1}; break;
    case toLeft: c = {d, 0, w - 1, h - 1}; break;
    case toBottom: c = {0, 0, w - 1, h - 1 - d}; break;
    default: c = {0, 0, w - 1 - d, h - 1};
  }
  if (row == 0) return c;
  const int toward = row * (FFixedDimension - FRowOverlap);
  int startIndent = row * FRowIndent, endIndent = (FRowCount - 1 - row) * FRowIndent;
  if (FTabSequence == tsReverse) std::swap(startIndent, endIndent);
  switch (FTabOrientation) {
    case toTop: c = {c.Left + startIndent, c.Top - toward, c.Right - endIndent, c.Bottom}; break;
    case toLeft: c = {c.Left - toward, c.Top + endIndent, c.Right, c.Bottom - startIndent}; break;
    case toBottom: c = {c.Left + startIndent, c.Top, c.Right - endIndent, c.Bottom + toward}; break;
    default: c = {c.Left, c.Top + startIndent, c.Right + toward, c.Bottom - endIndent};
  }
  if (c.Right < c.Left || c.Bottom < c.Top) return {};
  return c;
}

TRect TWkCustomTabControl::PageAreaRect() const {
  if (!FShowCard) return {-2, -2, -1, -1};
  TRect c = CardRect(0);
  if (FShowCardFrame && FShowFullFrame) {
    c = {c.Left + 1, c.Top + 1, c.Right, c.Bottom};
    if (ShadowShown()) c = {c.Left, c.Top, c.Right - 2, c.Bottom - 2};
  } else if (FShowCardFrame) {
    c = {c.Left, c.Top + 1, c.Right + 1, c.Bottom + 1};
  } else {
    c = {c.Left, c.Top, c.Right + 1, c.Bottom + 1};
  }
  return c;
}

void TWkCustomTabControl::AlignControls(TControl* control, TRect& rect) {
  PlaceButtons();
  rect = PageAreaRect();
  FLastPageArea = rect;
  PageAreaChanged(rect);
  TCustomControl::AlignControls(control, rect);
}
