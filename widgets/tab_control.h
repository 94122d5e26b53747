#pragma once
// The tab strip engine: a strip of custom-drawn tabs along one edge over a list of tab
// records, with scrolling, hit testing, selection, hot tracking and the keyboard
// (TWkCustomTabControl), its records and colour groups, and the cache of tab regions. The
// strip's geometry is a value (tab_geometry.h) that the control lays out again when a
// writer or a size change marks it dirty, before the next paint; paint only reads it.
// Sources: tab_records.cpp (records, colour groups, region cache), tab_control.cpp
// (properties, layout, input), tab_painting.cpp (paint).
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/custom_control.h"
#include "framework/controls/image_list.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/region.h"
#include "widgets/tab_buttons.h"
#include "widgets/tab_geometry.h"
#include "widgets/tab_types.h"

class TTimer;

// One tab.
struct TWkTabData {
  std::string Caption;
  TColor Color = clBtnFace;
  int DisabledIndex = -1;
  bool Enabled = true;
  std::string Hint;
  int ImageIndex = -1;
  bool Visible = true;
};

class TWkTabDataList {
 public:
  int Count() const { return int(FItems.size()); }
  const TWkTabData& Items(int index) const { return *FItems.at(size_t(index)); }
  TWkTabData& Add(const TWkTabData& data);
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TWkTabData>> FItems;
};

// Fills of the tabs; every change tells OnChange (the owner repaints its tabs).
class TWkTabColors : public TPersistent {
 public:
  VM_CLASS()
  TColor HighlightBar() const { return FHighlightBar; }
  void SetHighlightBar(TColor value);
  TColor Shadow() const { return FShadow; }
  void SetShadow(TColor value);
  TColor Unselected() const { return FUnselected; }
  void SetUnselected(TColor value);
  void CopyFrom(const TPersistent* source) override;
  void Changed() { OnChange(this); }
  TNotifyEvent OnChange;

 private:
  TColor FHighlightBar = clHighlight;
  TColor FShadow = clBtnFace;
  TColor FUnselected = clWindow;
};

// Caption colours; every change tells OnChange (the owner repaints its tabs).
class TWkTextColors : public TPersistent {
 public:
  VM_CLASS()
  TColor DisabledHighlight() const { return FDisabledHighlight; }
  void SetDisabledHighlight(TColor value);
  TColor DisabledShadow() const { return FDisabledShadow; }
  void SetDisabledShadow(TColor value);
  TColor Selected() const { return FSelected; }
  void SetSelected(TColor value);
  TColor Unselected() const { return FUnselected; }
  void SetUnselected(TColor value);
  void CopyFrom(const TPersistent* source) override;
  void Changed() { OnChange(this); }
  TNotifyEvent OnChange;

 private:
  TColor FDisabledHighlight = clBtnHighlight;
  TColor FDisabledShadow = clBtnShadow;
  TColor FSelected = clBtnText;
  TColor FUnselected = clBtnText;
};

// Tab outline regions by control rectangle, most recently used first. Our window system's
// regions are plain values, so an item owns its region outright.
struct TWkTabRegionCacheItem {
  TRect Rect{-1, -1, -1, -1};
  TRegion Region;
};

class TWkTabRegionCache {
 public:
  explicit TWkTabRegionCache(int capacity = 1) { SetCapacity(capacity); }
  int Capacity() const { return FCapacity; }
  // -1 caches every region; 0 and values below -1 raise.
  void SetCapacity(int value);
  int Count() const { return int(FItems.size()); }
  // The region cached under exactly `rect`, moved to the front; none on a miss.
  const TRegion* Find(const TRect& rect);
  // Stores `region` first, dropping the least recently used items beyond the capacity.
  const TRegion& Add(const TRect& rect, TRegion region);
  void Clear() { FItems.clear(); }

 private:
  void Trim();
  int FCapacity = 1;
  std::list<TWkTabRegionCacheItem> FItems;
};

class TWkCustomTabControl : public TCustomControl {
 public:
  VM_CLASS()
  static constexpr int kHotTrackPollMs = 60;  // catches the pointer leaving without a move
  explicit TWkCustomTabControl(TComponent* owner);
  ~TWkCustomTabControl() override;

  // Properties. Writers do nothing for an unchanged value; each names its effect in the .cpp.
  bool AlignTabs() const { return FAlignTabs; }
  virtual void SetAlignTabs(bool value);
  TColor BackgroundColor() const { return FBackgroundColor; }
  virtual void SetBackgroundColor(TColor value);
  bool BackgroundColorStored() const { return !FParentBackgroundColor; }
  bool BoldCurrentTab() const { return FBoldCurrentTab; }
  virtual void SetBoldCurrentTab(bool value);
  int CutCornerSize() const { return FCutCornerSize; }
  virtual void SetCutCornerSize(int value);
  TColor FlatColor() const { return FFlatColor; }
  virtual void SetFlatColor(TColor value);
  int FlatColorAdjustment() const { return FFlatColorAdjustment; }
  virtual void SetFlatColorAdjustment(int value);
  bool HotTrack() const { return FHotTrack; }
  virtual void SetHotTrack(bool value);
  TColor HotTrackColor() const { return FHotTrackColor; }
  virtual void SetHotTrackColor(TColor value);
  TWkHotTrackColorType HotTrackColorType() const { return FHotTrackColorType; }
  virtual void SetHotTrackColorType(TWkHotTrackColorType value);
  TWkHotTrackStyle HotTrackStyle() const { return FHotTrackStyle; }
  virtual void SetHotTrackStyle(TWkHotTrackStyle value);
  TWkHorizontalAlignment ImageAlignment() const { return FImageAlignment; }
  virtual void SetImageAlignment(TWkHorizontalAlignment value);
  TWkVerticalAlignment ImageAlignmentVertical() const { return FImageAlignmentVertical; }
  virtual void SetImageAlignmentVertical(TWkVerticalAlignment value);
  int ImageMargin() const { return FImageMargin; }
  virtual void SetImageMargin(int value);
  TWkImagePosition ImagePosition() const { return FImagePosition; }
  virtual void SetImagePosition(TWkImagePosition value);
  TCustomImageList* Images() const { return FImages; }
  virtual void SetImages(TCustomImageList* value);
  int Margin() const { return FMargin; }
  virtual void SetMargin(int value);
  bool MultiLine() const { return FMultiLine; }
  virtual void SetMultiLine(bool value);
  bool ParentBackgroundColor() const { return FParentBackgroundColor; }
  virtual void SetParentBackgroundColor(bool value);
  int RowIndent() const { return FRowIndent; }
  virtual void SetRowIndent(int value);
  int RowOverlap() const { return FRowOverlap; }
  virtual void SetRowOverlap(int value);
  bool ShowCard() const { return FShowCard; }
  virtual void SetShowCard(bool value);
  bool ShowCardFrame() const { return FShowCardFrame; }
  virtual void SetShowCardFrame(bool value);
  bool ShowCloseButton() const { return FShowCloseButton; }
  virtual void SetShowCloseButton(bool value);
  bool ShowFocusRect() const { return FShowFocusRect; }
  virtual void SetShowFocusRect(bool value);
  bool ShowFullFrame() const { return FShowFullFrame; }
  virtual void SetShowFullFrame(bool value);
  bool ShowShadow() const { return FShowShadow; }
  virtual void SetShowShadow(bool value);
  TWkTabColors* TabColors() const { return FTabColors.get(); }
  virtual void SetTabColors(TWkTabColors* value);
  int TabHeight() const { return FTabHeight; }
  virtual void SetTabHeight(int value);
  bool TabHints() const { return FTabHints; }
  virtual void SetTabHints(bool value);
  int TabIndex() const { return FTabIndex; }
  void SetTabIndex(int value) { SetTabIndexEx(value, false); }
  TWkTabOrientation TabOrientation() const { return FTabOrientation; }
  virtual void SetTabOrientation(TWkTabOrientation value);
  TWkTabSequence TabSequence() const { return FTabSequence; }
  virtual void SetTabSequence(TWkTabSequence value);
  TWkTabStyle TabStyle() const { return FTabStyle; }
  virtual void SetTabStyle(TWkTabStyle value);
  int TabWidth() const { return FTabWidth; }
  virtual void SetTabWidth(int value);
  TWkHorizontalAlignment TextAlignment() const { return FTextAlignment; }
  virtual void SetTextAlignment(TWkHorizontalAlignment value);
  TWkVerticalAlignment TextAlignmentVertical() const { return FTextAlignmentVertical; }
  virtual void SetTextAlignmentVertical(TWkVerticalAlignment value);
  TWkTextColors* TextColors() const { return FTextColors.get(); }
  virtual void SetTextColors(TWkTextColors* value);
  TOrientation TextOrientation() const { return FTextOrientation; }
  virtual void SetTextOrientation(TOrientation value);
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);
  bool UseColoredTabs() const { return FUseColoredTabs; }
  virtual void SetUseColoredTabs(bool value);
  bool UseGradients() const { return FUseGradients; }
  virtual void SetUseGradients(bool value);
  int FixedDimension() const { return FFixedDimension; }
  TWkTabRegionCache& RegionCache() { return FRegionCache; }
  // Accepts -1 or a positive number; ignores anything else.
  virtual void SetRegionCacheSize(int value);

  // State.
  const TWkTabDataList& Tabs() const { return FTabs; }
  // The strip as last laid out.
  const TWkTabStripGeometry& Strip() const { return FStrip; }
  int FirstVisibleTab() const { return FStrip.FirstVisibleTab(); }
  int HotTab() const { return FHotTab; }
  int RowCount() const { return FStrip.RowCount(); }
  bool NeedScroller() const { return FStrip.NeedScroller(); }
  bool LayoutDirty() const { return FLayoutDirty; }
  bool HotTrackTimerRunning() const { return FHotTrackTimer != nullptr; }
  TWkTabScroller* Scroller() const { return FScroller; }
  TWkTabCloseButton* CloseButton() const { return FCloseButton; }
  const TBitmap& OffscreenBitmap() const { return FBitmap; }

  // The layout is stale: mark it dirty and repaint; it runs before the next paint.
  void Relayout();
  // Runs the layout now when it is marked dirty.
  void UpdateLayout();
  TRect StripRect() const { return FStrip.StripRect(); }
  TRect TabRect(int index) const { return FStrip.TabRect(index); }
  bool TabInView(int index) const { return FStrip.TabInView(index); }
  // What the pages are given; while the layout is dirty (a form being read), the stored
  // thickness places it.
  TRect PageAreaRect() const;
  // The tab under a control point, or -1 (always while the layout is dirty).
  int TabAtPos(TPoint p);
  // The region of a tab (from the region cache), or none when its shape has too few points.
  const TRegion* TabRegion(int index);
  TColor HotBarColor() const;
  // A caption's screen extent in the measuring font, its accelerator marks resolved.
  TSize CaptionExtent(const std::string& caption, bool bold) const;
  // Scrolls one step, as the scroller's halves do.
  void ScrollForward();
  void ScrollBackward();

  TNotifyEvent FOnChange;
  TWkTabChangingEvent FOnChanging;
  TWkTabCloseEvent FOnClose;
  TWkGetTextColorEvent FOnGetTextColor;
  TWkPaintBackgroundEvent FOnPaintBackground;
  TWkPaintCardBackgroundEvent FOnPaintCardBackground;
  TWkPaintTabBackgroundEvent FOnPaintTabBackground;
  TNotifyEvent FOnTabClick;

  void AfterLoad() override;
  void DeclareStoredData(TFiler& filer) override;
  void Notification(TComponent* component, TOperation operation) override;
  void SetParent(TWinControl* parent) override;
  void Invalidate() override;
  bool WantSpecialKey(int key, TShiftState shift) const override;

 protected:
  // Event notifications, overridable.
  virtual void DoChange() { FOnChange(this); }
  virtual bool DoChanging(int newIndex);
  virtual bool DoGetTextColor(int tabIndex, TWkTextStyle style, TColor& color);
  virtual void DoTabClick() { FOnTabClick(this); }
  virtual bool DoPaintBackground(TCanvas& canvas, const TRect& rect);
  virtual bool DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect);
  virtual bool DoPaintTabBackground(TCanvas& canvas, int tabIndex, const TRect& rect);
  virtual void CloseActiveTab() {}
  // A card whose fill the page shown on it gives (none here).
  virtual bool PageFillsCard(int) const { return false; }
  // The selection writer; `forced` skips the change query (keyboard and layout paths).
  void SetTabIndexEx(int value, bool forced);
  // Visible and enabled (any tab at design time), and the change query allows it.
  bool CanSelectTab(int index);
  bool Loading() const { return ComponentState().Contains(csLoading); }
  bool Designing() const { return ComponentState().Contains(csDesigning); }

  // The layout, and what follows from it: the first tab in view, the selection moved off a
  // tab that cannot be selected, the buttons, and the pages given the page area.
  void Layout();
  virtual void PageAreaChanged(const TRect&) {}

  void Paint() override;
  void EraseBackground(TMessage& m) override { m.Result = 1; }
  void AlignControls(TControl* control, TRect& rect) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void KeyDown(int& key, TShiftState shift) override;
  void DialogChar(TMessage& m) override;
  void FocusGained(TMessage&) override { Invalidate(); }
  void FocusLost(TMessage&) override { Invalidate(); }
  void FontChanged(TMessage& m) override;
  void ParentColorChanged(TMessage& m) override;
  void Dispatch(TMessage& m) override;

  TWkTabDataList FTabs;

 private:
  bool VerticalText() const { return FTextOrientation == orVertical; }
  TWkCaptionDirection CaptionDirection() const {
    if (!VerticalText()) return cdAcross;
    return FTabOrientation == toRight ? cdDownward : cdUpward;
  }
  void TakeParentBackground();
  void ButtonsFrameColorChanged();
  void WriteFixedDimension(TWriter& writer) const;

  // Layout (tab_control.cpp).
  TWkTabStripSettings StripSettings() const;
  TWkTabMeasures Measure() const;
  TSize ImageSize(const TWkTabData& tab) const;
  void PrepareMeasuringFont(TFont& font, bool bold) const;
  TSize CaptionBlock(const TFont& font, const std::string& caption) const;
  void CheckSelection();
  void FollowSelectedTabColor();
  bool CardShown(int row) const;
  void PlaceButtons();
  void SyncButtons();
  void CloseButtonClicked();

  // Painting (tab_painting.cpp).
  void PaintTabsAndCards(TCanvas& canvas, const TRect& clip);
  void PaintTab(TCanvas& canvas, int index, const TRect& clip);
  void FillTab(TCanvas& canvas, int index, const TRect& rect);
  void DrawTabContent(TCanvas& canvas, int index, const TRect& rect);
  void DrawTabImage(TCanvas& canvas, const TWkTabData& tab, const TRect& area);
  void DrawCaption(TCanvas& canvas, const TWkTabData& tab, const TRect& area, TColor color, bool bold);
  void DrawCaptionLine(TCanvas& canvas, const std::string& line, TPoint p);
  void DrawBar(TCanvas& canvas, const TRect& rect, TColor color);
  void PaintCard(TCanvas& canvas, int row);
  void PlayOutline(TCanvas& canvas, const TWkOutline& outline);

  // Input (tab_control.cpp).
  void HotTrackPoll();
  void StopHotTrackTimer();
  // Hot tracking ends: timer stopped, hot tab cleared, strip repainted, hint restored.
  void EndHotTracking();
  // A hot-tracking repaint: only the strip, and the card shadow is left out.
  void RepaintStrip();
  void SelectByKey(int key);

  bool FAlignTabs = false;
  TColor FBackgroundColor = clBtnFace;
  bool FBoldCurrentTab = false;
  int FCutCornerSize = 6;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 0;
  bool FHotTrack = true;
  TColor FHotTrackColor = clHighlight;
  TWkHotTrackColorType FHotTrackColorType = htctComplement;
  TWkHotTrackStyle FHotTrackStyle = htsTab;
  TWkHorizontalAlignment FImageAlignment = haCenter;
  TWkVerticalAlignment FImageAlignmentVertical = vaCenter;
  int FImageMargin = 2;
  TWkImagePosition FImagePosition = ipLeft;
  TCustomImageList* FImages = nullptr;
  int FMargin = 0;
  bool FMultiLine = false;
  bool FParentBackgroundColor = true;
  int FRowIndent = 5;
  int FRowOverlap = 5;
  bool FShowCard = true;
  bool FShowCardFrame = true;
  bool FShowCloseButton = false;
  bool FShowFocusRect = true;
  bool FShowFullFrame = true;
  bool FShowShadow = true;
  std::unique_ptr<TWkTabColors> FTabColors;
  int FTabHeight = 0;
  bool FTabHints = false;
  int FTabIndex = -1;
  TWkTabOrientation FTabOrientation = toTop;
  TWkTabSequence FTabSequence = tsStandard;
  TWkTabStyle FTabStyle = tsSingleSlant;
  int FTabWidth = 0;
  TWkHorizontalAlignment FTextAlignment = haCenter;
  TWkVerticalAlignment FTextAlignmentVertical = vaCenter;
  std::unique_ptr<TWkTextColors> FTextColors;
  TOrientation FTextOrientation = orHorizontal;
  bool FTransparent = false;
  bool FUseColoredTabs = false;
  bool FUseGradients = true;
  int FFixedDimension = 0;

  TWkTabStripGeometry FStrip;
  bool FLayoutDirty = true;
  bool FLayoutRequested = false;  // a layout request waits in the loop
  int FHotTab = -1;
  bool FHotTrackPaint = false;  // the paint to come is a hot-tracking repaint
  TBitmap FBitmap;
  TWkTabRegionCache FRegionCache{1};
  TChangeLink FImageChangeLink;
  TWkTabScroller* FScroller = nullptr;
  TWkTabCloseButton* FCloseButton = nullptr;
  TTimer* FHotTrackTimer = nullptr;
  std::string FSavedHint;
  TRect FLastPageArea{-1, -1, -1, -1};
};
