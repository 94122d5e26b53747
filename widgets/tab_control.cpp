#include "widgets/tab_control.h"

#include <algorithm>
#include <cstdlib>

#include "framework/controls/keys.h"
#include "framework/controls/screen.h"
#include "framework/controls/timer.h"
#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/graphics/accelerator.h"
#include "framework/graphics/font.h"
#include "framework/graphics/text_measure.h"
#include "framework/typeinfo/class_info.h"
#include "widgets/frame_drawing.h"
#include "widgets/kit_messages.h"
#include "widgets/property_write.h"

VM_ENUM_INFO(TWkTabOrientation, "toTop", "toLeft", "toBottom", "toRight")
VM_ENUM_INFO(TWkTabStyle, "tsSingleSlant", "tsDoubleSlant", "tsCutCorner", "tsRoundCorners")
VM_ENUM_INFO(TWkTabSequence, "tsStandard", "tsReverse")
VM_ENUM_INFO(TWkImagePosition, "ipLeft", "ipTop", "ipRight", "ipBottom", "ipBack", "ipStretch")
VM_ENUM_INFO(TWkHorizontalAlignment, "haLeft", "haCenter", "haRight")
VM_ENUM_INFO(TWkVerticalAlignment, "vaTop", "vaCenter", "vaBottom")
VM_ENUM_INFO(TWkTextStyle, "tsHotTrack", "tsSelected", "tsUnselected", "tsDisabledHighlight", "tsDisabledShadow")
VM_ENUM_INFO(TWkHotTrackStyle, "htsTab", "htsText")

namespace {
constexpr int kNewWidth = 300;
constexpr int kNewHeight = 150;
// Vertical captions need a rotatable outline face; this one is always there.
constexpr const char* kVerticalTextFace = "Verdana";
// Escapements in tenths of a degree: vertical captions read upward, on the right edge downward.
constexpr int kUpwardEscapement = 900;
constexpr int kDownwardEscapement = 2700;
// The effects of one layout settle with one more; a third would mean they never do.
constexpr int kLayoutPasses = 3;
}  // namespace

// ---- class info ----

// The tab control publishes nothing itself; the page control publishes its properties.
const TClassInfo& TWkCustomTabControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TWkCustomTabControl, TCustomControl>("TWkCustomTabControl");
  return info;
}

// ---- construction and loading ----

TWkCustomTabControl::TWkCustomTabControl(TComponent* owner)
    : TCustomControl(owner), FTabColors(std::make_unique<TWkTabColors>()),
      FTextColors(std::make_unique<TWkTextColors>()) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
  SetTabStop(true);
  SetBounds(0, 0, kNewWidth, kNewHeight);
  FTabColors->OnChange = [this](TObject*) { Invalidate(); };
  FTextColors->OnChange = [this](TObject*) { Invalidate(); };
  FImageChangeLink.OnChange = [this](TObject*) { Relayout(); };
  FBitmap.SetPixelFormat(pf32bit);
  FBitmap.SetSize(kNewWidth, kNewHeight);
}

TWkCustomTabControl::~TWkCustomTabControl() {
  Destroying();
  StopHotTrackTimer();
}

// The stored selection is not used: the control starts at the first tab.
void TWkCustomTabControl::AfterLoad() {
  TCustomControl::AfterLoad();
  FSavedHint = Hint();
  Relayout();
  FTabIndex = 0;
  if (VerticalText() && !FontIsTrueType(*Font())) Font()->SetName(kVerticalTextFace);
  SetTabIndex(FTabIndex);
}

// The stored thickness only places the page area until the first layout.
void TWkCustomTabControl::DeclareStoredData(TFiler& filer) {
  TCustomControl::DeclareStoredData(filer);
  filer.DeclareValueProperty(
      "FixedDimension", [this](TReader& r) { FFixedDimension = r.ReadInteger(); },
      [this](TWriter& w) { WriteFixedDimension(w); }, true);
}

void TWkCustomTabControl::WriteFixedDimension(TWriter& writer) const { writer.WriteInteger(FFixedDimension); }

// ---- writers ----
// Sizes and positions lay the strip out again (weRelayout); colours and looks repaint.

void TWkCustomTabControl::SetAlignTabs(bool value) {
  WriteProperty(*this, FAlignTabs, value, FMultiLine ? weRelayout : weNone);
}
void TWkCustomTabControl::SetBackgroundColor(TColor value) {
  FParentBackgroundColor = false;
  WriteProperty(*this, FBackgroundColor, value, weInvalidate);
}
void TWkCustomTabControl::SetBoldCurrentTab(bool value) { WriteProperty(*this, FBoldCurrentTab, value, weRelayout); }
void TWkCustomTabControl::SetCutCornerSize(int value) {
  if (value >= 0) WriteProperty(*this, FCutCornerSize, value, FTabStyle == tsCutCorner ? weRelayout : weNone);
}
void TWkCustomTabControl::SetFlatColor(TColor value) {
  if (WriteProperty(*this, FFlatColor, value, weInvalidate)) ButtonsFrameColorChanged();
}
void TWkCustomTabControl::SetFlatColorAdjustment(int value) {
  if (WriteProperty(*this, FFlatColorAdjustment, value, weInvalidate)) ButtonsFrameColorChanged();
}
void TWkCustomTabControl::SetHotTrack(bool value) {
  if (WriteProperty(*this, FHotTrack, value) && !FHotTrack && !FTabHints) EndHotTracking();
}
void TWkCustomTabControl::SetHotTrackColor(TColor value) { WriteProperty(*this, FHotTrackColor, value, weInvalidate); }
void TWkCustomTabControl::SetHotTrackColorType(TWkHotTrackColorType value) {
  WriteProperty(*this, FHotTrackColorType, value, weInvalidate);
}
void TWkCustomTabControl::SetHotTrackStyle(TWkHotTrackStyle value) { WriteProperty(*this, FHotTrackStyle, value, weInvalidate); }
void TWkCustomTabControl::SetImageAlignment(TWkHorizontalAlignment value) {
  WriteProperty(*this, FImageAlignment, value, weRelayout);
}
void TWkCustomTabControl::SetImageAlignmentVertical(TWkVerticalAlignment value) {
  WriteProperty(*this, FImageAlignmentVertical, value, weRelayout);
}
void TWkCustomTabControl::SetImageMargin(int value) {
  if (value >= 0) WriteProperty(*this, FImageMargin, value, weRelayout);
}
void TWkCustomTabControl::SetImagePosition(TWkImagePosition value) { WriteProperty(*this, FImagePosition, value, weRelayout); }
// The control follows its list through a change link of its own, so lists are shared freely.
void TWkCustomTabControl::SetImages(TCustomImageList* value) {
  TCustomImageList* old = FImages;
  if (!WriteProperty(*this, FImages, value, weRelayout)) return;
  if (old != nullptr) {
    old->UnRegisterChanges(&FImageChangeLink);
    RemoveFreeNotification(old);
  }
  if (FImages != nullptr) {
    FImages->RegisterChanges(&FImageChangeLink);
    FreeNotification(FImages);
  }
}
void TWkCustomTabControl::SetMargin(int value) {
  if (value >= 0) WriteProperty(*this, FMargin, value, weRelayout);
}
void TWkCustomTabControl::SetMultiLine(bool value) { WriteProperty(*this, FMultiLine, value, weRelayout); }
void TWkCustomTabControl::SetParentBackgroundColor(bool value) {
  if (WriteProperty(*this, FParentBackgroundColor, value) && value) TakeParentBackground();
}
void TWkCustomTabControl::SetRowIndent(int value) {
  if (value >= 0) WriteProperty(*this, FRowIndent, value, weRelayout);
}
void TWkCustomTabControl::SetRowOverlap(int value) {
  if (value >= 0) WriteProperty(*this, FRowOverlap, value, weRelayout);
}
void TWkCustomTabControl::SetShowCard(bool value) { WriteProperty(*this, FShowCard, value, weRelayout); }
void TWkCustomTabControl::SetShowCardFrame(bool value) { WriteProperty(*this, FShowCardFrame, value, weRelayout); }
void TWkCustomTabControl::SetShowCloseButton(bool value) { WriteProperty(*this, FShowCloseButton, value, weRelayout); }
void TWkCustomTabControl::SetShowFocusRect(bool value) { WriteProperty(*this, FShowFocusRect, value, weInvalidate); }
// A shadow needs the full frame; without the full frame there is no shadow.
void TWkCustomTabControl::SetShowFullFrame(bool value) {
  if (WriteProperty(*this, FShowFullFrame, value, weRelayout) && !value) FShowShadow = false;
}
void TWkCustomTabControl::SetShowShadow(bool value) {
  if (WriteProperty(*this, FShowShadow, value, weRelayout) && value) FShowFullFrame = true;
}
void TWkCustomTabControl::SetTabColors(TWkTabColors* value) {
  if (value != nullptr) FTabColors->CopyFrom(value);
}
void TWkCustomTabControl::SetTabHeight(int value) {
  if (value >= 0) WriteProperty(*this, FTabHeight, value, weRelayout);
}
void TWkCustomTabControl::SetTabHints(bool value) {
  if (WriteProperty(*this, FTabHints, value) && !FTabHints && !FHotTrack) EndHotTracking();
}
void TWkCustomTabControl::SetTabOrientation(TWkTabOrientation value) {
  WriteProperty(*this, FTabOrientation, value, Loading() ? weNone : weRelayout);
}
void TWkCustomTabControl::SetTabSequence(TWkTabSequence value) { WriteProperty(*this, FTabSequence, value, weRelayout); }
void TWkCustomTabControl::SetTabStyle(TWkTabStyle value) { WriteProperty(*this, FTabStyle, value, weRelayout); }
void TWkCustomTabControl::SetTabWidth(int value) {
  if (value >= 0) WriteProperty(*this, FTabWidth, value, weRelayout);
}
void TWkCustomTabControl::SetTextAlignment(TWkHorizontalAlignment value) {
  WriteProperty(*this, FTextAlignment, value, weRelayout);
}
void TWkCustomTabControl::SetTextAlignmentVertical(TWkVerticalAlignment value) {
  WriteProperty(*this, FTextAlignmentVertical, value, weRelayout);
}
void TWkCustomTabControl::SetTextColors(TWkTextColors* value) {
  if (value != nullptr) FTextColors->CopyFrom(value);
}
void TWkCustomTabControl::SetTextOrientation(TOrientation value) {
  if (WriteProperty(*this, FTextOrientation, value, weRelayout) && !Loading() && !FontIsTrueType(*Font()))
    Font()->SetName(kVerticalTextFace);
}
void TWkCustomTabControl::SetTransparent(bool value) { WriteProperty(*this, FTransparent, value, weInvalidate); }
void TWkCustomTabControl::SetUseColoredTabs(bool value) {
  if (WriteProperty(*this, FUseColoredTabs, value, weInvalidate)) FollowSelectedTabColor();
}
void TWkCustomTabControl::SetUseGradients(bool value) { WriteProperty(*this, FUseGradients, value, weInvalidate); }
void TWkCustomTabControl::SetRegionCacheSize(int value) {
  if (value == -1 || value > 0) FRegionCache.SetCapacity(value);
}

// The buttons' frames take the outline colour.
void TWkCustomTabControl::ButtonsFrameColorChanged() {
  const TColor frame = ShiftLightness(FFlatColor, FFlatColorAdjustment);
  if (FScroller != nullptr) FScroller->SetFrameColor(frame);
  if (FCloseButton != nullptr) FCloseButton->SetFrameColor(frame);
}

void TWkCustomTabControl::TakeParentBackground() {
  if (FParentBackgroundColor && Parent() != nullptr) WriteProperty(*this, FBackgroundColor, Parent()->Color(), weInvalidate);
}

void TWkCustomTabControl::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    Relayout();
  }
}

// ---- layout ----

// The loop runs the layout before its next paint; asked once however often it is marked.
void TWkCustomTabControl::Relayout() {
  FLayoutDirty = true;
  Invalidate();
  if (!FLayoutRequested) FLayoutRequested = PostMessage(TabLayoutRequest);
}

// What a layout sets off (the control's colour that the pages follow, a selection moved)
// may mark it dirty again; it runs again until it settles.
void TWkCustomTabControl::UpdateLayout() {
  for (int pass = 0; FLayoutDirty && pass < kLayoutPasses; ++pass) Layout();
}

void TWkCustomTabControl::Layout() {
  FLayoutDirty = false;
  FStrip = TWkTabStripGeometry(StripSettings(), Measure(), FTabIndex, FStrip.FirstVisibleTab());
  FFixedDimension = FStrip.FixedDimension();
  FRegionCache.Clear();
  CheckSelection();
  FollowSelectedTabColor();
  if (!(PageAreaRect() == FLastPageArea)) Realign();
  else PlaceButtons();
  Invalidate();
}

TWkTabStripSettings TWkCustomTabControl::StripSettings() const {
  TWkTabStripSettings s;
  s.Width = Width();
  s.Height = Height();
  s.Orientation = FTabOrientation;
  s.Sequence = FTabSequence;
  s.Style = FTabStyle;
  s.VerticalText = VerticalText();
  s.Margin = FMargin;
  s.TabWidth = FTabWidth;
  s.TabHeight = FTabHeight;
  s.CutCornerSize = FCutCornerSize;
  s.RowIndent = FRowIndent;
  s.RowOverlap = FRowOverlap;
  s.MultiLine = FMultiLine;
  s.AlignTabs = FAlignTabs;
  s.ShowCard = FShowCard;
  s.ShowCardFrame = FShowCardFrame;
  s.ShowFullFrame = FShowFullFrame;
  s.ShowShadow = FShowShadow;
  s.ShowCloseButton = FShowCloseButton;
  s.FixedDimension = FFixedDimension;
  s.RowCount = FMultiLine ? FStrip.RowCount() : 1;
  return s;
}

// Every caption is measured in bold when the selected one is drawn bold.
TWkTabMeasures TWkCustomTabControl::Measure() const {
  TFont font;
  PrepareMeasuringFont(font, FBoldCurrentTab);
  TWkTabMeasures m;
  for (int i = 0; i < FTabs.Count(); ++i) {
    const TWkTabData& tab = FTabs.Items(i);
    const TSize caption = CaptionBlock(font, tab.Caption);
    m.Tabs.push_back({TabContentSize(caption, ImageSize(tab), FImagePosition, FImageMargin), tab.Visible});
  }
  // A tab is never smaller than a letter of the font (three for the rounded corners).
  const TSize letter = CaptionBlock(font, FTabStyle == tsRoundCorners ? "AAA" : "A");
  const int fontHeight = std::abs(Font()->Height());
  m.Minimum = VerticalText() ? TSize{fontHeight, letter.cy} : TSize{letter.cx, fontHeight};
  m.LineHeight = MeasureLine(font, "A").cy;
  return m;
}

// Vertical text is drawn with the font turned upward, or downward on the right edge.
void TWkCustomTabControl::PrepareMeasuringFont(TFont& font, bool bold) const {
  font.CopyFrom(Font());
  int escapement = 0;
  if (VerticalText()) escapement = FTabOrientation == toRight ? kDownwardEscapement : kUpwardEscapement;
  font.SetEscapement(escapement);
  if (bold) {
    TFontStyles style = font.Style();
    style.Include(fsBold);
    font.SetStyle(style);
  }
}

// Lines side by side; a failed measurement counts as nothing.
TSize TWkCustomTabControl::CaptionBlock(const TFont& font, const std::string& caption) const {
  std::vector<TSize> lines;
  try {
    for (const std::string& line : CaptionLines(caption)) lines.push_back(MeasureLine(font, StripAccelerators(line)));
  } catch (const Exception&) {
    return {0, 0};
  }
  return CaptionBlockExtent(lines, VerticalText());
}

TSize TWkCustomTabControl::CaptionExtent(const std::string& caption, bool bold) const {
  TFont font;
  PrepareMeasuringFont(font, bold);
  return CaptionBlock(font, caption);
}

TSize TWkCustomTabControl::ImageSize(const TWkTabData& tab) const {
  if (FImages == nullptr || tab.ImageIndex == -1) return {0, 0};
  return {FImages->Width(), FImages->Height()};
}

// The selection moves to the nearest tab that can be selected, upward first; the selected
// tab is scrolled into view.
void TWkCustomTabControl::CheckSelection() {
  const int count = FTabs.Count();
  if (count == 0) {
    FTabIndex = -1;
    FStrip.Select(-1);
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

// With coloured tabs the cards the control fills itself show the selected tab's colour,
// and the control takes that colour too.
void TWkCustomTabControl::FollowSelectedTabColor() {
  if (!FUseColoredTabs || FTabIndex < 0 || FTabIndex >= FTabs.Count()) return;
  for (int row = FShowCard ? 0 : 1; row < FStrip.RowCount(); ++row)
    if (CardShown(row) && !PageFillsCard(row)) {
      SetColor(FTabs.Items(FTabIndex).Color);
      return;
    }
}

bool TWkCustomTabControl::CardShown(int row) const {
  const TRect c = FStrip.CardRect(row);
  return c.Right > c.Left || c.Bottom > c.Top;
}

TRect TWkCustomTabControl::PageAreaRect() const {
  if (!FLayoutDirty) return FStrip.PageAreaRect();
  return TWkTabStripGeometry(StripSettings(), FTabs.Count()).PageAreaRect();
}

void TWkCustomTabControl::AlignControls(TControl* control, TRect& rect) {
  PlaceButtons();
  rect = PageAreaRect();
  FLastPageArea = rect;
  PageAreaChanged(rect);
  TCustomControl::AlignControls(control, rect);
}

// The scroller and the close button are made on first need and placed where the strip
// says; the scroller's halves scroll as the tabs run on screen.
void TWkCustomTabControl::PlaceButtons() {
  if (FStrip.NeedScroller() && FScroller == nullptr) {
    FScroller = new TWkTabScroller(this);
    FScroller->SetParent(this);
    FScroller->FOnUpRightClick = [this](TObject*) { FStrip.ScrollerRolesExchanged() ? ScrollBackward() : ScrollForward(); };
    FScroller->FOnDownLeftClick = [this](TObject*) { FStrip.ScrollerRolesExchanged() ? ScrollForward() : ScrollBackward(); };
  }
  if (FShowCloseButton && FCloseButton == nullptr) {
    FCloseButton = new TWkTabCloseButton(this);
    FCloseButton->SetParent(this);
    FCloseButton->FOnClick = [this](TObject*) { CloseButtonClicked(); };
  }
  ButtonsFrameColorChanged();
  if (FScroller != nullptr) {
    FScroller->SetVertical(FTabOrientation == toLeft || FTabOrientation == toRight);
    FScroller->SetBoundsRect(FStrip.ScrollerBounds());
  }
  if (FCloseButton != nullptr) {
    FCloseButton->SetBoundsRect(FStrip.CloseButtonBounds());
    FCloseButton->SetVisible(FShowCloseButton);
  }
  SyncButtons();
}

void TWkCustomTabControl::SyncButtons() {
  if (FScroller != nullptr) {
    const bool backward = FStrip.CanScrollBackward(), forward = FStrip.CanScrollForward();
    if (FStrip.ScrollerRolesExchanged()) FScroller->SetEnabledHalves(backward, forward);
    else FScroller->SetEnabledHalves(forward, backward);
  }
  if (FCloseButton != nullptr) FCloseButton->SetActive(FTabIndex >= 0);
}

const TRegion* TWkCustomTabControl::TabRegion(int index) {
  const TRect rect = FStrip.TabRect(index);
  if (const TRegion* cached = FRegionCache.Find(rect)) return cached;
  const std::vector<TPoint> points = FStrip.TabControlPoints(index);
  if (points.size() < 3) return nullptr;
  return &FRegionCache.Add(rect, TRegion::Polygon(points, pfmAlternate));
}

// The selected tab first, then from the first tab in view on, wrapping round.
int TWkCustomTabControl::TabAtPos(TPoint p) {
  const int count = FStrip.Count();
  if (FLayoutDirty || count == 0) return -1;
  auto hit = [&](int i) {
    if (!FStrip.Tab(i).Visible || !FStrip.TabInView(i) || !FStrip.TabRect(i).Contains(p)) return false;
    const TRegion* region = TabRegion(i);
    return region != nullptr && region->PointIn(p.X, p.Y);
  };
  if (FTabIndex >= 0 && FTabIndex < count && hit(FTabIndex)) return FTabIndex;
  const int first = std::max(FStrip.FirstVisibleTab(), 0);
  for (int n = 0; n < count; ++n) {
    const int i = (first + n) % count;
    if (i != FTabIndex && hit(i)) return i;
  }
  return -1;
}

// ---- selection and scrolling ----

bool TWkCustomTabControl::DoChanging(int newIndex) {
  bool allow = true;
  FOnChanging(this, newIndex, allow);
  return allow;
}

bool TWkCustomTabControl::CanSelectTab(int index) {
  if (index < 0 || index >= FTabs.Count()) return false;
  const TWkTabData& tab = FTabs.Items(index);
  if (!Designing() && !(tab.Visible && tab.Enabled)) return false;
  return index == FTabIndex || DoChanging(index);
}

// While the layout is dirty the strip is left as it is: the layout to come scrolls the
// selected tab into view.
void TWkCustomTabControl::SetTabIndexEx(int value, bool forced) {
  if (Loading()) {
    FTabIndex = value;
    return;
  }
  if (value < 0 || value >= FTabs.Count()) {
    FTabIndex = -1;
    if (!FLayoutDirty) FStrip.Select(-1);
    Invalidate();
    return;
  }
  const bool allowed = value == FTabIndex || forced || CanSelectTab(value);
  if (!allowed) return;
  const int oldIndex = FTabIndex, oldFirst = FStrip.FirstVisibleTab();
  FTabIndex = value;
  if (!FLayoutDirty && FStrip.Select(value)) FRegionCache.Clear();
  if (FTabIndex != oldIndex || FStrip.FirstVisibleTab() != oldFirst) {
    Invalidate();
    SyncButtons();
    if (FTabIndex != oldIndex) {
      FollowSelectedTabColor();
      DoChange();
    }
  }
  if (FCloseButton != nullptr && FShowCloseButton) FCloseButton->Invalidate();
}

void TWkCustomTabControl::ScrollForward() {
  if (!FStrip.ScrollForward()) return;
  SyncButtons();
  Invalidate();
}

void TWkCustomTabControl::ScrollBackward() {
  if (!FStrip.ScrollBackward()) return;
  SyncButtons();
  Invalidate();
}

void TWkCustomTabControl::CloseButtonClicked() {
  if (FTabIndex < 0) return;
  bool allowClose = false;
  FOnClose(this, allowClose);
  if (allowClose) CloseActiveTab();
}

// ---- mouse ----

void TWkCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (Designing() || button != mbLeft || !Enabled()) return;
  const int tab = TabAtPos({x, y});
  if (tab < 0 || !FTabs.Items(tab).Enabled) return;
  if (TabStop() && tab == FTabIndex) {
    if (!CanFocus()) return;
    SetFocus();
    if (!Focused()) return;
  }
  SetTabIndex(tab);
  if (FTabIndex == tab) DoTabClick();
}

void TWkCustomTabControl::MouseMove(TShiftState shift, int x, int y) {
  if (!Designing() && (FHotTrack || FTabHints)) {
    const int tab = TabAtPos({x, y});
    if (tab < 0) {
      if (FHotTab != -1 || FHotTrackTimer != nullptr) EndHotTracking();
    } else if (tab != FHotTab) {
      FHotTab = tab;
      if (FHotTrack) RepaintStrip();
      if (FTabHints && !FTabs.Items(tab).Hint.empty()) SetHint(FTabs.Items(tab).Hint);
      if (FHotTrackTimer == nullptr) {
        FHotTrackTimer = new TTimer(this);
        FHotTrackTimer->SetInterval(kHotTrackPollMs);
        FHotTrackTimer->FOnTimer = [this](TObject*) { HotTrackPoll(); };
      }
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TWkCustomTabControl::HotTrackPoll() {
  const TScreen* screen = Screen();
  if (screen == nullptr || FHotTrackTimer == nullptr) return;
  if (TabAtPos(ScreenToClient(screen->CursorPos())) < 0) EndHotTracking();
}

void TWkCustomTabControl::StopHotTrackTimer() {
  if (FHotTrackTimer == nullptr) return;
  TTimer* timer = FHotTrackTimer;
  FHotTrackTimer = nullptr;
  delete timer;
}

void TWkCustomTabControl::EndHotTracking() {
  StopHotTrackTimer();
  const bool wasHot = FHotTab != -1;
  FHotTab = -1;
  if (wasHot) RepaintStrip();
  if (FTabHints) SetHint(FSavedHint);
}

// Marked as a hot-tracking repaint only when nothing else waits to be painted, so that a
// pending full repaint keeps its card shadow.
void TWkCustomTabControl::RepaintStrip() {
  const bool idle = InvalidRegion().IsEmpty();
  const TRect s = FStrip.StripRect();
  InvalidateRect({s.Left, s.Top, s.Right + 1, s.Bottom + 1}, false);
  if (idle) FHotTrackPaint = true;
}

void TWkCustomTabControl::Invalidate() {
  FHotTrackPaint = false;
  TCustomControl::Invalidate();
}

// ---- keyboard ----

bool TWkCustomTabControl::WantSpecialKey(int key, TShiftState shift) const {
  return (key >= vkLeft && key <= vkDown) || TCustomControl::WantSpecialKey(key, shift);
}

void TWkCustomTabControl::KeyDown(int& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == vkHome || key == vkEnd || (key >= vkLeft && key <= vkDown)) SelectByKey(key);
}

// Home and End look from the ends; the arrows step along the tab order, wrapping round.
void TWkCustomTabControl::SelectByKey(int key) {
  const int count = FTabs.Count();
  if (count == 0) return;
  const int selected = FTabIndex;
  int result = selected;
  if (key == vkHome || key == vkEnd) {
    const int step = key == vkHome ? 1 : -1;
    for (int i = key == vkHome ? 0 : count - 1; i >= 0 && i < count && i != selected; i += step)
      if (CanSelectTab(i)) {
        result = i;
        break;
      }
  } else {
    const bool next = key == vkRight || key == vkDown;
    const int step = (next == (FTabSequence == tsStandard)) ? 1 : -1;
    int i = selected < 0 ? (step > 0 ? -1 : 0) : selected;
    for (int n = 0; n < count; ++n) {
      i = (i + step + count) % count;
      if (i == selected) break;
      if (CanSelectTab(i)) {
        result = i;
        break;
      }
    }
  }
  if (result == selected) return;
  SetTabIndexEx(result, true);
  DoTabClick();
}

void TWkCustomTabControl::DialogChar(TMessage& m) {
  for (int i = 0; i < FTabs.Count(); ++i) {
    const TWkTabData& tab = FTabs.Items(i);
    if (!tab.Enabled || !tab.Visible || !IsAccelerator(char(m.WParam), tab.Caption)) continue;
    if (!CanFocus()) return;
    m.Result = 1;
    SetFocus();
    if (!Focused()) return;
    SetTabIndex(i);
    DoTabClick();
    return;
  }
}

// ---- messages ----

void TWkCustomTabControl::SetParent(TWinControl* parent) {
  TCustomControl::SetParent(parent);
  TakeParentBackground();
}

void TWkCustomTabControl::ParentColorChanged(TMessage& m) {
  TCustomControl::ParentColorChanged(m);
  TakeParentBackground();
}

void TWkCustomTabControl::FontChanged(TMessage& m) {
  TCustomControl::FontChanged(m);
  Relayout();
}

void TWkCustomTabControl::Dispatch(TMessage& m) {
  if (m.Msg == TabLayoutRequest) {
    FLayoutRequested = false;
    UpdateLayout();
    return;
  }
  if (m.Msg == msgSize) Relayout();
  TCustomControl::Dispatch(m);
}
