#include "widgets/page_control.h"

#include <algorithm>
#include <cctype>

#include "framework/controls/keys.h"
#include "framework/controls/screen.h"
#include "framework/controls/timer.h"
#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/font.h"
#include "framework/typeinfo/class_info.h"
#include "widgets/frame_drawing.h"
#include "widgets/image_list.h"
#include "widgets/store_value.h"

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

// The accelerator character of a caption: the one after the first single "&".
char AcceleratorOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return caption[i + 1];
    ++i;
  }
  return 0;
}

}  // namespace

// ---- tab records and colour groups ----

TWkTabData& TWkTabDataList::Add(const TWkTabData& data) {
  FItems.push_back(std::make_unique<TWkTabData>(data));
  return *FItems.back();
}

void TWkTabDataList::Replace(int index, const TWkTabData& data) { FItems.at(size_t(index)) = std::make_unique<TWkTabData>(data); }

const TClassInfo& TWkTabColors::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TWkTabColors, TPersistent>("TWkTabColors")
          .Property("HighlightBar", &TWkTabColors::HighlightBar, &TWkTabColors::SetHighlightBar, Default(clHighlight))
          .Property("Shadow", &TWkTabColors::Shadow, &TWkTabColors::SetShadow, Default(clBtnFace))
          .Property("Unselected", &TWkTabColors::Unselected, &TWkTabColors::SetUnselected, Default(clWindow));
  return info;
}

void TWkTabColors::Change(TColor& field, TColor value) {
  if (Store(field, value)) OnChange(this);
}

void TWkTabColors::CopyFrom(const TPersistent* source) {
  const auto* other = dynamic_cast<const TWkTabColors*>(source);
  if (other == nullptr) return TPersistent::CopyFrom(source);
  FHighlightBar = other->FHighlightBar;
  FShadow = other->FShadow;
  FUnselected = other->FUnselected;
  OnChange(this);
}

const TClassInfo& TWkTextColors::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TWkTextColors, TPersistent>("TWkTextColors")
          .Property("DisabledHighlight", &TWkTextColors::DisabledHighlight, &TWkTextColors::SetDisabledHighlight,
                    Default(clBtnHighlight))
          .Property("DisabledShadow", &TWkTextColors::DisabledShadow, &TWkTextColors::SetDisabledShadow,
                    Default(clBtnShadow))
          .Property("Selected", &TWkTextColors::Selected, &TWkTextColors::SetSelected, Default(clBtnText))
          .Property("Unselected", &TWkTextColors::Unselected, &TWkTextColors::SetUnselected, Default(clBtnText));
  return info;
}

void TWkTextColors::Change(TColor& field, TColor value) {
  if (Store(field, value)) OnChange(this);
}

void TWkTextColors::CopyFrom(const TPersistent* source) {
  const auto* other = dynamic_cast<const TWkTextColors*>(source);
  if (other == nullptr) return TPersistent::CopyFrom(source);
  FDisabledHighlight = other->FDisabledHighlight;
  FDisabledShadow = other->FDisabledShadow;
  FSelected = other->FSelected;
  FUnselected = other->FUnselected;
  OnChange(this);
}

// ---- region cache ----

void TWkTabRegionCache::SetCapacity(int value) {
  if (value == 0 || value < -1) throw EInvalidOperation("Capacity must be -1 (to cache all regions) or > 0");
  FCapacity = value;
  Trim();
}

const TRegion* TWkTabRegionCache::Find(const TRect& rect) {
  auto it = std::find_if(FItems.begin(), FItems.end(), [&](const TWkTabRegionCacheItem& i) { return i.Rect == rect; });
  if (it == FItems.end()) return nullptr;
  FItems.splice(FItems.begin(), FItems, it);
  return &FItems.front().Region;
}

const TRegion& TWkTabRegionCache::Add(const TRect& rect, TRegion region) {
  FItems.push_front({rect, std::move(region)});
  Trim();
  return FItems.front().Region;
}

void TWkTabRegionCache::Trim() {
  if (FCapacity < 0) return;
  while (int(FItems.size()) > FCapacity) FItems.pop_back();
}

// ---- the tab control: published properties ----

const TClassInfo& TWkCustomTabControl::ClassInfo() {
  static const TClassInfo info = DefineClass<TWkCustomTabControl, TCustomControl>("TWkCustomTabControl");
  return info;
}

TWkCustomTabControl::TWkCustomTabControl(TComponent* owner)
    : TCustomControl(owner), FTabColors(std::make_unique<TWkTabColors>()),
      FTextColors(std::make_unique<TWkTextColors>()) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
  SetTabStop(true);
  SetBounds(0, 0, kNewWidth, kNewHeight);
  FTabColors->OnChange = [this](TObject*) { InvalidateTabs(); };
  FTextColors->OnChange = [this](TObject*) { InvalidateTabs(); };
  FBitmap.SetPixelFormat(pf32bit);
  FBitmap.SetSize(kNewWidth, kNewHeight);
}

TWkCustomTabControl::~TWkCustomTabControl() {
  Destroying();
  StopHotTrackTimer();
}

// Sizes and positions: TabsChanged. Colours and looks: InvalidateTabs.
void TWkCustomTabControl::SetAlignTabs(bool value) {
  if (Store(FAlignTabs, value) && FMultiLine) TabsChanged();
}
void TWkCustomTabControl::SetBackgroundColor(TColor value) {
  FParentBackgroundColor = false;
  if (Store(FBackgroundColor, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetBoldCurrentTab(bool value) {
  if (Store(FBoldCurrentTab, value)) TabsChanged();
}
void TWkCustomTabControl::SetCutCornerSize(int value) {
  if (value >= 0 && Store(FCutCornerSize, value) && FTabStyle == tsCutCorner) TabsChanged();
}
void TWkCustomTabControl::SetFlatColor(TColor value) {
  if (!Store(FFlatColor, value)) return;
  ButtonsFrameColorChanged();
  InvalidateTabs();
}
void TWkCustomTabControl::SetFlatColorAdjustment(int value) {
  if (!Store(FFlatColorAdjustment, value)) return;
  ButtonsFrameColorChanged();
  InvalidateTabs();
}
void TWkCustomTabControl::SetHotTrack(bool value) {
  if (!Store(FHotTrack, value)) return;
  if (!FHotTrack && !FTabHints) EndHotTracking();
}
void TWkCustomTabControl::SetHotTrackColor(TColor value) {
  if (Store(FHotTrackColor, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetHotTrackColorType(TWkHotTrackColorType value) {
  if (Store(FHotTrackColorType, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetHotTrackStyle(TWkHotTrackStyle value) {
  if (Store(FHotTrackStyle, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetImageAlignment(TWkHorizontalAlignment value) {
  if (Store(FImageAlignment, value)) TabsChanged();
}
void TWkCustomTabControl::SetImageAlignmentVertical(TWkVerticalAlignment value) {
  if (Store(FImageAlignmentVertical, value)) TabsChanged();
}
void TWkCustomTabControl::SetImageMargin(int value) {
  if (value >= 0 && Store(FImageMargin, value)) TabsChanged();
}
void TWkCustomTabControl::SetImagePosition(TWkImagePosition value) {
  if (Store(FImagePosition, value)) TabsChanged();
}
void TWkCustomTabControl::SetImages(TWkImageList* value) {
  if (value == FImages) return;
  if (FImages != nullptr) {
    FImages->OnChange = nullptr;
    FImages->RemoveFreeNotification(this);
  }
  FImages = value;
  if (FImages != nullptr) {
    FImages->FreeNotification(this);
    FImages->OnChange = [this](TObject*) { TabsChanged(); };
  }
  TabsChanged();
}
void TWkCustomTabControl::SetMargin(int value) {
  if (value >= 0 && Store(FMargin, value)) TabsChanged();
}
void TWkCustomTabControl::SetMultiLine(bool value) {
  if (!Store(FMultiLine, value)) return;
  if (!FMultiLine) SetRowCount(1);
  TabsChanged();
}
void TWkCustomTabControl::SetParentBackgroundColor(bool value) {
  if (!Store(FParentBackgroundColor, value)) return;
  if (FParentBackgroundColor) TakeParentBackground();
}
void TWkCustomTabControl::SetRowIndent(int value) {
  if (value >= 0 && Store(FRowIndent, value)) TabsChanged();
}
void TWkCustomTabControl::SetRowOverlap(int value) {
  if (value >= 0 && Store(FRowOverlap, value)) TabsChanged();
}
void TWkCustomTabControl::SetRowCount(int value) {
  if (Store(FRowCount, std::max(value, 1))) TabsChanged();
}
void TWkCustomTabControl::SetShowCard(bool value) {
  if (Store(FShowCard, value)) TabsChanged();
}
void TWkCustomTabControl::SetShowCardFrame(bool value) {
  if (Store(FShowCardFrame, value)) TabsChanged();
}
void TWkCustomTabControl::SetShowCloseButton(bool value) {
  if (Store(FShowCloseButton, value)) TabsChanged();
}
void TWkCustomTabControl::SetShowFocusRect(bool value) {
  if (Store(FShowFocusRect, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetShowFullFrame(bool value) {
  if (!Store(FShowFullFrame, value)) return;
  if (!FShowFullFrame) FShowShadow = false;
  TabsChanged();
}
void TWkCustomTabControl::SetShowShadow(bool value) {
  if (!Store(FShowShadow, value)) return;
  if (FShowShadow) FShowFullFrame = true;
  TabsChanged();
}
void TWkCustomTabControl::SetTabColors(TWkTabColors* value) {
  if (value != nullptr) FTabColors->CopyFrom(value);
}
void TWkCustomTabControl::SetTabHeight(int value) {
  if (value >= 0 && Store(FTabHeight, value)) TabsChanged();
}
void TWkCustomTabControl::SetTabHints(bool value) {
  if (!Store(FTabHints, value)) return;
  if (!FTabHints && !FHotTrack) EndHotTracking();
}
void TWkCustomTabControl::SetTabOrientation(TWkTabOrientation value) {
  if (Store(FTabOrientation, value) && !Loading()) TabsChanged();
}
void TWkCustomTabControl::SetTabSequence(TWkTabSequence value) {
  if (Store(FTabSequence, value)) TabsChanged();
}
void TWkCustomTabControl::SetTabStyle(TWkTabStyle value) {
  if (Store(FTabStyle, value)) TabsChanged();
}
void TWkCustomTabControl::SetTabWidth(int value) {
  if (value >= 0 && Store(FTabWidth, value)) TabsChanged();
}
void TWkCustomTabControl::SetTextAlignment(TWkHorizontalAlignment value) {
  if (Store(FTextAlignment, value)) TabsChanged();
}
void TWkCustomTabControl::SetTextAlignmentVertical(TWkVerticalAlignment value) {
  if (Store(FTextAlignmentVertical, value)) TabsChanged();
}
void TWkCustomTabControl::SetTextColors(TWkTextColors* value) {
  if (value != nullptr) FTextColors->CopyFrom(value);
}
void TWkCustomTabControl::SetTextOrientation(TOrientation value) {
  if (!Store(FTextOrientation, value)) return;
  if (!Loading() && !FontIsTrueType(*Font())) Font()->SetName(kVerticalTextFace);
  TabsChanged();
}
void TWkCustomTabControl::SetTransparent(bool value) {
  if (Store(FTransparent, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetUseColoredTabs(bool value) {
  if (Store(FUseColoredTabs, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetUseGradients(bool value) {
  if (Store(FUseGradients, value)) InvalidateTabs();
}
void TWkCustomTabControl::SetRegionCacheSize(int value) {
  if (value == -1 || value > 0) FRegionCache.SetCapacity(value);
}

void TWkCustomTabControl::ButtonsFrameColorChanged() {
  const TColor frame = ShiftLightness(FFlatColor, FFlatColorAdjustment);
  if (FScroller != nullptr) FScroller->SetFrameColor(frame);
  if (FCloseButton != nullptr) FCloseButton->SetFrameColor(frame);
}

void TWkCustomTabControl::TakeParentBackground() {
  if (!FParentBackgroundColor || Parent() == nullptr) return;
  if (Store(FBackgroundColor, Parent()->Color())) InvalidateTabs();
}

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
  TabsChanged();
}

// The stored thickness only places the page area until the first layout.
void TWkCustomTabControl::DeclareStoredData(TFiler& filer) {
  TCustomControl::DeclareStoredData(filer);
  filer.DeclareValueProperty(
      "FixedDimension", [this](TReader& r) { FFixedDimension = r.ReadInteger(); },
      [this](TWriter& w) { WriteFixedDimension(w); }, true);
}

void TWkCustomTabControl::WriteFixedDimension(TWriter& writer) const { writer.WriteInteger(FFixedDimension); }

void TWkCustomTabControl::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    TabsChanged();
  }
}

// ---- repaint requests ----

void TWkCustomTabControl::TabsChanged() { InvalidateLayout(true); }

void TWkCustomTabControl::InvalidateTabs() { Invalidate(); }

void TWkCustomTabControl::InvalidateLayout(bool value) {
  FLayoutDirty = value;
  if (value) Invalidate();
}

// A paint draws the whole control, so what it changes on the way needs no second paint.
void TWkCustomTabControl::Invalidate() {
  if (FPainting) return;
  FHotTrackPaint = false;
  TCustomControl::Invalidate();
}

// Marked as a hot-tracking repaint only when nothing else waits to be painted, so that a
// pending full repaint keeps its card shadow.
void TWkCustomTabControl::RepaintStrip() {
  const bool idle = InvalidRegion().IsEmpty();
  const TRect s = StripRect();
  InvalidateRect({s.Left, s.Top, s.Right + 1, s.Bottom + 1}, false);
  if (idle) FHotTrackPaint = true;
}

void TWkCustomTabControl::Dispatch(TMessage& m) {
  if (m.Msg == msgSize) InvalidateLayout(true);
  TCustomControl::Dispatch(m);
}

// ---- loading ----

void TWkCustomTabControl::AfterLoad() {
  TCustomControl::AfterLoad();
  FSavedHint = Hint();
  InvalidateLayout(true);
  FTabIndex = 0;
  if (VerticalText() && !FontIsTrueType(*Font())) Font()->SetName(kVerticalTextFace);
  SetTabIndex(FTabIndex);
}

// ---- events ----

bool TWkCustomTabControl::DoChanging(int newIndex) {
  bool allow = true;
  FOnChanging(this, newIndex, allow);
  return allow;
}

bool TWkCustomTabControl::DoGetTextColor(int tabIndex, TWkTextStyle style, TColor& color) {
  bool handled = false;
  FOnGetTextColor(this, tabIndex, style, color, handled);
  return handled;
}

bool TWkCustomTabControl::DoPaintBackground(TCanvas& canvas, const TRect& rect) {
  bool handled = false;
  FOnPaintBackground(this, &canvas, rect, handled);
  return handled;
}

bool TWkCustomTabControl::DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) {
  bool handled = false;
  FOnPaintCardBackground(this, &canvas, row, rect, handled);
  return handled;
}

bool TWkCustomTabControl::DoPaintTabBackground(TCanvas& canvas, int tabIndex, const TRect& rect) {
  bool handled = false;
  FOnPaintTabBackground(this, &canvas, tabIndex, rect, handled);
  return handled;
}

// ---- selection ----

bool TWkCustomTabControl::CanSelectTab(int index) {
  if (index < 0 || index >= FTabs.Count()) return false;
  const TWkTabData& tab = FTabs.Items(index);
  if (!Designing() && !(tab.Visible && tab.Enabled)) return false;
  return index == FTabIndex || DoChanging(index);
}

void TWkCustomTabControl::SetTabIndexEx(int value, bool forced) {
  if (Loading()) {
    FTabIndex = value;
    return;
  }
  if (value < 0 || value >= FTabs.Count()) {
    FTabIndex = -1;
    InvalidateTabs();
    return;
  }
  const bool allowed = value == FTabIndex || forced || CanSelectTab(value);
  if (!allowed) return;
  const int oldIndex = FTabIndex;
  const int oldFirst = FFirstVisibleTab;
  FTabIndex = value;
  if (FMultiLine) {
    RenumberRows(FTabs.Items(value).Row);
  } else if (FNeedScroller) {
    if (value < FFirstVisibleTab) FFirstVisibleTab = value;
    else
      while (FFirstVisibleTab < value && !TabInView(value)) ++FFirstVisibleTab;
  }
  if (FTabIndex != oldIndex || FFirstVisibleTab != oldFirst) {
    InvalidateTabs();
    SyncButtons();
    if (FTabIndex != oldIndex) DoChange();
  }
  if (FCloseButton != nullptr && FShowCloseButton) FCloseButton->Invalidate();
}

void TWkCustomTabControl::ScrollForward() {
  const int count = FTabs.Count();
  if (count == 0 || FFirstVisibleTab >= count - 1 || LastTabInView()) return;
  const int old = FFirstVisibleTab;
  ++FFirstVisibleTab;
  while (FFirstVisibleTab < count && !TabInView(FFirstVisibleTab)) ++FFirstVisibleTab;
  if (FFirstVisibleTab >= count) FFirstVisibleTab = old;
  SyncButtons();
  InvalidateTabs();
}

void TWkCustomTabControl::ScrollBackward() {
  if (FFirstVisibleTab <= 0 || TabInView(FirstShownTab())) return;
  const int old = FFirstVisibleTab;
  --FFirstVisibleTab;
  while (FFirstVisibleTab >= 0 && !TabInView(FFirstVisibleTab)) --FFirstVisibleTab;
  if (FFirstVisibleTab < 0) FFirstVisibleTab = old;
  SyncButtons();
  InvalidateTabs();
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

// ---- keyboard ----

bool TWkCustomTabControl::WantSpecialKey(int key, TShiftState shift) const {
  return (key >= vkLeft && key <= vkDown) || TCustomControl::WantSpecialKey(key, shift);
}

void TWkCustomTabControl::KeyDown(int& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == vkHome || key == vkEnd || (key >= vkLeft && key <= vkDown)) SelectByKey(key);
}

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
  const char c = char(std::toupper(uint8_t(m.WParam)));
  for (int i = 0; i < FTabs.Count(); ++i) {
    const TWkTabData& tab = FTabs.Items(i);
    if (!tab.Enabled || !tab.Visible || std::toupper(uint8_t(AcceleratorOf(tab.Caption))) != uint8_t(c)) continue;
    if (!CanFocus()) return;
    m.Result = 1;
    SetFocus();
    if (!Focused()) return;
    SetTabIndex(i);
    DoTabClick();
    return;
  }
}

