#include "widgets/page_control.h"

#include <algorithm>
#include <cctype>

#include "framework/controls/custom_form.h"
#include "framework/controls/keys.h"
#include "framework/controls/timer.h"
#include "framework/controls/window_system.h"
#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/font.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "widgets/frame_drawing.h"
#include "widgets/image_list.h"

VM_ENUM_INFO(TWkTabOrientation, "toTop", "toLeft", "toBottom", "toRight")
VM_ENUM_INFO(TWkTabStyle, "tsSingleSlant", "tsDoubleSlant", "tsCutCorner", "tsRoundCorners")
VM_ENUM_INFO(TWkTabSequence, "tsStandard", "tsReverse")
VM_ENUM_INFO(TWkImagePosition, "ipLeft", "ipTop", "ipRight", "ipBottom", "ipBack", "ipStretch")
VM_ENUM_INFO(TWkHorizontalAlignment, "haLeft", "haCenter", "haRight")
VM_ENUM_INFO(TWkVerticalAlignment, "vaTop", "vaCenter", "vaBottom")
VM_ENUM_INFO(TWkTextStyle, "tsHotTrack", "tsSelected", "tsUnselected", "tsDisabledHighlight", "tsDisabledShadow")
VM_ENUM_INFO(TWkHotTrackStyle, "htsTab", "htsText")

namespace {
// The first step of every writer: answers whether the value changed (and stores it).
template <class T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

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

TCustomForm* FormOf(const TControl* control) { return GetParentForm(control); }
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
  TWindowSystem* ws = TWindowSystem::Current();
  if (ws == nullptr || FHotTrackTimer == nullptr) return;
  if (TabAtPos(ScreenToClient(ws->Backend().CursorPos())) < 0) EndHotTracking();
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

// ---- the page control ----

const TClassInfo& TWkPageControl::ClassInfo() {
  using C = TWkPageControl;
  static const TClassInfo info =
      DefineClass<C, TWkCustomTabControl>("TWkPageControl")
          .Property("ActivePage", &C::ActivePage, &C::SetActivePage)
          .Property("ActivePageDefault", &C::ActivePageDefault, &C::SetActivePageDefault)
          .Property("AlignTabs", &C::AlignTabs, &C::SetAlignTabs, Default(0))
          .Property("BackgroundColor", &C::BackgroundColor, &C::SetBackgroundColor,
                    &C::BackgroundColorStored)
          .Property("BoldCurrentTab", &C::BoldCurrentTab, &C::SetBoldCurrentTab, Default(0))
          .Property("CutCornerSize", &C::CutCornerSize, &C::SetCutCornerSize, Default(6))
          .Property("FlatColor", &C::FlatColor, &C::SetFlatColor, Default(clBtnShadow))
          .Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment, Default(0))
          .Property("HotTrack", &C::HotTrack, &C::SetHotTrack, Default(1))
          .Property("HotTrackColor", &C::HotTrackColor, &C::SetHotTrackColor, Default(clHighlight))
          .Property("HotTrackColorType", &C::HotTrackColorType, &C::SetHotTrackColorType, Default(htctComplement))
          .Property("HotTrackStyle", &C::HotTrackStyle, &C::SetHotTrackStyle, Default(htsTab))
          .Property("ImageAlignment", &C::ImageAlignment, &C::SetImageAlignment, Default(haCenter))
          .Property("ImageAlignmentVertical", &C::ImageAlignmentVertical, &C::SetImageAlignmentVertical,
                    Default(vaCenter))
          .Property("ImageMargin", &C::ImageMargin, &C::SetImageMargin, Default(2))
          .Property("ImagePosition", &C::ImagePosition, &C::SetImagePosition, Default(ipLeft))
          .Property("Images", &C::Images, &C::SetImages)
          .Property("Margin", &C::Margin, &C::SetMargin, Default(0))
          .Property("MultiLine", &C::MultiLine, &C::SetMultiLine, Default(0))
          .Property("ParentBackgroundColor", &C::ParentBackgroundColor, &C::SetParentBackgroundColor, Default(1))
          .Property("RowIndent", &C::RowIndent, &C::SetRowIndent, Default(5))
          .Property("RowOverlap", &C::RowOverlap, &C::SetRowOverlap, Default(5))
          .Property("SaveResources", &C::SaveResources, &C::SetSaveResources, Default(0))
          .Property("ShowCardFrame", &C::ShowCardFrame, &C::SetShowCardFrame, Default(1))
          .Property("ShowCloseButton", &C::ShowCloseButton, &C::SetShowCloseButton, Default(0))
          .Property("ShowFocusRect", &C::ShowFocusRect, &C::SetShowFocusRect, Default(1))
          .Property("ShowFullFrame", &C::ShowFullFrame, &C::SetShowFullFrame, Default(1))
          .Property("ShowShadow", &C::ShowShadow, &C::SetShowShadow, Default(1))
          .Property("TabColors", &C::TabColors, &C::SetTabColors)
          .Property("TabHeight", &C::TabHeight, &C::SetTabHeight, Default(0))
          .Property("TabHints", &C::TabHints, &C::SetTabHints, Default(0))
          .Property("TabIndex", &C::TabIndex, &C::SetTabIndex, Default(-1))
          .Property("TabOrientation", &C::TabOrientation, &C::SetTabOrientation, Default(toTop))
          .Property("TabSequence", &C::TabSequence, &C::SetTabSequence, Default(tsStandard))
          .Property("TabStop", &C::TabStop, &C::SetTabStop, Default(1))
          .Property("TabStyle", &C::TabStyle, &C::SetTabStyle, Default(tsSingleSlant))
          .Property("TabWidth", &C::TabWidth, &C::SetTabWidth, Default(0))
          .Property("TextAlignment", &C::TextAlignment, &C::SetTextAlignment, Default(haCenter))
          .Property("TextAlignmentVertical", &C::TextAlignmentVertical, &C::SetTextAlignmentVertical,
                    Default(vaCenter))
          .Property("TextColors", &C::TextColors, &C::SetTextColors)
          .Property("TextOrientation", &C::TextOrientation, &C::SetTextOrientation, Default(orHorizontal))
          .Property("Transparent", &C::Transparent, &C::SetTransparent, Default(0))
          .Property("UseColoredTabs", &C::UseColoredTabs, &C::SetUseColoredTabs, Default(0))
          .Property("UseGradients", &C::UseGradients, &C::SetUseGradients, Default(1))
          .Event("OnChange", &C::FOnChange)
          .Event("OnChanging", &C::FOnChanging)
          .Event("OnClose", &C::FOnClose)
          .Event("OnGetTextColor", &C::FOnGetTextColor)
          .Event("OnPaintBackground", &C::FOnPaintBackground)
          .Event("OnPaintCardBackground", &C::FOnPaintCardBackground)
          .Event("OnPaintTabBackground", &C::FOnPaintTabBackground)
          .Event("OnTabClick", &C::FOnTabClick);
  return info;
}

TWkPageControl::TWkPageControl(TComponent* owner) : TWkCustomTabControl(owner) {
  FControlStyle.Include(csOpaque);
  SetClipChildren(true);
  // Pages are read as children of a page control; the loader finds their class by name.
  static const bool registered = [] {
    RegisterStreamClass(TWkTabSheet::ClassInfo());
    return true;
  }();
  (void)registered;
}

TWkPageControl::~TWkPageControl() {
  Destroying();
  for (TWkTabSheet* page : std::vector<TWkTabSheet*>(FPages)) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

void TWkPageControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
  for (TWkTabSheet* page : FPages) proc(page);
}

TWkTabSheet* TWkPageControl::PageOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (TWkTabSheet* page : FPages)
    if (page->GetTabIndex() == tabIndex) return page;
  return nullptr;
}

int TWkPageControl::ActivePageIndex() const {
  auto it = std::find(FPages.begin(), FPages.end(), FActivePage);
  return it == FPages.end() ? -1 : int(it - FPages.begin());
}

void TWkPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr);
}

void TWkPageControl::SetActivePage(TWkTabSheet* page) {
  if (page != nullptr && page->PageControl() != this) return;
  if (Loading()) {
    FActivePage = page;
    return;
  }
  const int tab = page != nullptr ? page->GetTabIndex() : -1;
  if (tab < 0) {
    ChangeActivePage(page);
    SetTabIndex(-1);
  } else {
    SetTabIndex(tab);
  }
}

// Our child windows own no platform resources (only top-level windows hold a platform
// window), so a hidden page has nothing to give back: the setting is kept for streams.
void TWkPageControl::SetSaveResources(bool value) { FSaveResources = value; }

void TWkPageControl::ChangeActivePage(TWkTabSheet* page) {
  if (page == FActivePage) return;
  TCustomForm* form = FormOf(this);
  TWkTabSheet* old = FActivePage;
  if (form != nullptr && old != nullptr && form->ActiveControl() != nullptr && old->ContainsControl(form->ActiveControl()) &&
      old->CanFocus())
    form->SetActiveControl(old);
  if (page != nullptr) {
    page->SetBoundsRect(PageAreaRect());
    page->BringToFront();
    page->ShowPage(true);
    if (form != nullptr && old != nullptr && form->ActiveControl() == old) {
      if (page->CanFocus()) form->SetActiveControl(page);
      else if (CanFocus()) form->SetActiveControl(this);
    }
  }
  if (old != nullptr) old->ShowPage(false);
  FActivePage = page;
  if (form != nullptr && page != nullptr && form->ActiveControl() == page) {
    TWinControl* first = page->FindNextControl(nullptr, true, true, false);
    if (first == nullptr) first = page->FindNextControl(nullptr, true, false, false);
    if (first != nullptr) form->SetActiveControl(first);
  }
}

bool TWkPageControl::DoChanging(int newIndex) {
  const bool allow = TWkCustomTabControl::DoChanging(newIndex);
  if (allow) ChangeActivePage(PageOfTab(newIndex));
  return allow;
}

void TWkPageControl::TabsChanged() {
  if (ComponentState().Contains(csDestroying)) return;
  FTabs.Clear();
  for (TWkTabSheet* page : FPages) {
    if (!page->TabVisible()) continue;
    TWkTabData tab;
    tab.Caption = page->Caption();
    tab.Color = page->Color();
    tab.Enabled = page->TabEnabled();
    tab.Visible = page->TabVisible();
    tab.Hint = page->Hint();
    tab.ImageIndex = page->ImageIndex();
    tab.DisabledIndex = page->DisabledIndex();
    FTabs.Add(tab);
  }
  if (FActivePage != nullptr && !Loading()) {
    const int tab = FActivePage->GetTabIndex();
    if (tab >= 0 && tab != TabIndex()) SetTabIndexEx(tab, true);
    else if (tab < 0) SetTabIndex(-1);
  }
  TWkCustomTabControl::TabsChanged();
}

void TWkPageControl::AfterLoad() {
  TWkCustomTabControl::AfterLoad();
  Layout();
  SetTabIndex(-1);
  TWkTabSheet* page = FActivePageDefault != nullptr ? FActivePageDefault : FActivePage;
  FActivePage = nullptr;
  TabsChanged();
  SetActivePage(page);
  Realign();
}

void TWkPageControl::Notification(TComponent* component, TOperation operation) {
  TWkCustomTabControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FActivePageDefault) FActivePageDefault = nullptr;
}

void TWkPageControl::PageAreaChanged(const TRect& area) {
  for (TWkTabSheet* page : FPages) page->SetBoundsRect(area);
}

bool TWkPageControl::DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) {
  if (TWkCustomTabControl::DoPaintCardBackground(canvas, row, rect)) return true;
  if (row != 0 || TabIndex() < 0 || FActivePage == nullptr) return false;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(FActivePage->Color());
  canvas.FillRect(rect);
  return true;
}

void TWkPageControl::CloseActiveTab() {
  TWkTabSheet* page = FActivePage;
  if (page == nullptr) return;
  const int tab = TabIndex();
  delete page;
  SetTabIndex(tab > 0 ? tab - 1 : 0);
}

void TWkPageControl::SetUseColoredTabs(bool value) {
  if (value == UseColoredTabs()) return;
  TWkCustomTabControl::SetUseColoredTabs(value);
  if (!value)
    for (TWkTabSheet* page : FPages) page->SetColor(Color());
}

void TWkPageControl::ColorChanged(TMessage& m) {
  TWkCustomTabControl::ColorChanged(m);
  if (!UseColoredTabs())
    for (TWkTabSheet* page : FPages) page->SetColor(Color());
}

void TWkPageControl::HideAllTabs() {
  for (TWkTabSheet* page : FPages) page->SetTabVisible(false);
}

void TWkPageControl::ShowAllTabs() {
  for (TWkTabSheet* page : FPages) page->SetTabVisible(true);
}

TWkTabSheet* TWkPageControl::FindNextPage(TWkTabSheet* current, bool goForward) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), current);
  int start = it == FPages.end() ? (goForward ? count - 1 : 0) : int(it - FPages.begin());
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = (i + (goForward ? 1 : -1) + count) % count;
    if (FPages[size_t(i)]->TabVisible()) return FPages[size_t(i)];
  }
  return nullptr;
}

void TWkPageControl::SelectNextPage(bool goForward) {
  TWkTabSheet* page = FindNextPage(FActivePage, goForward);
  if (page != nullptr && page != FActivePage) SetActivePage(page);
}

void TWkPageControl::DialogKey(TMessage& m) {
  TWkCustomTabControl::DialogKey(m);
  if (m.Result != 0 || m.WParam != vkTab) return;
  const TShiftState shift = KeysToShiftState(m.LParam);
  TCustomForm* form = FormOf(this);
  if (!shift.Contains(ssCtrl) || form == nullptr || !ContainsControl(form->FocusedControl())) return;
  SelectNextPage(!shift.Contains(ssShift));
  m.Result = 1;
}

void TWkPageControl::InsertPage(TWkTabSheet* page) {
  FPages.push_back(page);
  page->FreeNotification(this);
  page->FPageControl = this;
  page->SetParent(this);
  TabsChanged();
}

void TWkPageControl::RemovePage(TWkTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  if (page == FActivePage) FActivePage = nullptr;
  if (page == FActivePageDefault) FActivePageDefault = nullptr;
  FPages.erase(it);
  page->FPageControl = nullptr;
  TabsChanged();
}

void TWkPageControl::MovePage(TWkTabSheet* page, int index) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  FPages.erase(it);
  FPages.insert(FPages.begin() + index, page);
  TabsChanged();
}

// ---- pages ----

const TClassInfo& TWkTabSheet::ClassInfo() {
  using C = TWkTabSheet;
  static const TClassInfo info = DefineClass<C, TCustomControl>("TWkTabSheet")
                                     .Property("DisabledIndex", &C::DisabledIndex, &C::SetDisabledIndex, Default(-1))
                                     .Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex, Default(-1))
                                     .Property("PageIndex", &C::PageIndex, &C::SetPageIndex, StoredNever())
                                     .Property("TabEnabled", &C::TabEnabled, &C::SetTabEnabled, Default(1))
                                     .Property("TabVisible", &C::TabVisible, &C::SetTabVisible, Default(1))
                                     .Event("OnPaintBackground", &C::FOnPaintBackground);
  return info;
}

TWkTabSheet::TWkTabSheet(TComponent* owner) : TCustomControl(owner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
  ShowPage(false);
  SetAlign(alClient);
  SetColor(clBtnFace);
  SetParentColor(true);
}

TWkTabSheet::~TWkTabSheet() {
  Destroying();
  SetPageControl(nullptr);
}

void TWkTabSheet::SetPageControl(TWkPageControl* value) {
  if (value == FPageControl) return;
  if (FPageControl != nullptr) FPageControl->RemovePage(this);
  if (value != nullptr) value->InsertPage(this);
  else SetParent(nullptr);
}

// A page read inside a page control joins it once it is read completely.
void TWkTabSheet::ReadOwnState(TReader& reader) {
  TCustomControl::ReadOwnState(reader);
  if (auto* pageControl = dynamic_cast<TWkPageControl*>(reader.Parent())) SetPageControl(pageControl);
}

int TWkTabSheet::PageIndex() const {
  if (FPageControl == nullptr) return -1;
  const auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TWkTabSheet::SetPageIndex(int value) {
  if (FPageControl == nullptr || value == PageIndex()) return;
  const int last = FPageControl->PageCount() - 1;
  if (value < 0 || value > last)
    throw EListError("%d is an invalid PageIndex value. PageIndex must be between 0 and %d", value, last);
  FPageControl->MovePage(this, value);
}

int TWkTabSheet::GetTabIndex() const {
  if (FPageControl == nullptr || !FTabVisible) return -1;
  int index = 0;
  for (TWkTabSheet* page : FPageControl->FPages) {
    if (page == this) return index;
    if (page->TabVisible()) ++index;
  }
  return -1;
}

void TWkTabSheet::PageChanged() {
  if (FPageControl != nullptr) FPageControl->TabsChanged();
}

void TWkTabSheet::SetDisabledIndex(int value) {
  if (Store(FDisabledIndex, value)) PageChanged();
}
void TWkTabSheet::SetImageIndex(int value) {
  if (Store(FImageIndex, value)) PageChanged();
}
void TWkTabSheet::SetTabEnabled(bool value) {
  if (Store(FTabEnabled, value)) PageChanged();
}
void TWkTabSheet::SetTabVisible(bool value) {
  if (Store(FTabVisible, value)) PageChanged();
}

void TWkTabSheet::SetVisible(bool) { throw EInvalidOperation("You cannot change the Visible property of a page"); }

void TWkTabSheet::TextChanged(TMessage& m) {
  TCustomControl::TextChanged(m);
  PageChanged();
}

void TWkTabSheet::ColorChanged(TMessage& m) {
  TCustomControl::ColorChanged(m);
  if (FPageControl == nullptr) return;
  if (Color() != FPageControl->Color()) FPageControl->SetUseColoredTabs(true);
  PageChanged();
}

void TWkTabSheet::Paint() {
  bool handled = false;
  FOnPaintBackground(this, &Canvas(), ClientRect(), handled);
  if (handled) return;
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}
