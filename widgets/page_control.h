#pragma once
// The page control family: a strip of custom-drawn tabs along one edge (TWkCustomTabControl:
// layout, scrolling, hit testing, selection, hot tracking, keyboard) over a list of tab
// records, and the page control that owns one page (TWkTabSheet) per tab and shows the
// active one. The tab control's properties and input are in page_control.cpp, its geometry in
// tab_layout.cpp, its painting in tab_painting.cpp, the strip's two small buttons in
// tab_buttons.cpp, and the page control with its pages in tab_pages.cpp.
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/custom_control.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/region.h"
#include "widgets/frame_types.h"

class TTimer;
class TWkImageList;
class TWkPageControl;

enum TWkTabOrientation { toTop, toLeft, toBottom, toRight };
enum TWkTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners };
enum TWkTabSequence { tsStandard, tsReverse };
enum TWkImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
enum TWkHorizontalAlignment { haLeft, haCenter, haRight };
enum TWkVerticalAlignment { vaTop, vaCenter, vaBottom };
enum TWkTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabledHighlight, tsDisabledShadow };
enum TWkHotTrackStyle { htsTab, htsText };
VM_DECLARE_ENUM(TWkTabOrientation);
VM_DECLARE_ENUM(TWkTabStyle);
VM_DECLARE_ENUM(TWkTabSequence);
VM_DECLARE_ENUM(TWkImagePosition);
VM_DECLARE_ENUM(TWkHorizontalAlignment);
VM_DECLARE_ENUM(TWkVerticalAlignment);
VM_DECLARE_ENUM(TWkTextStyle);
VM_DECLARE_ENUM(TWkHotTrackStyle);

class TCanvas;
using TWkTabChangingEvent = TEvent<void(TObject*, int, bool&)>;
using TWkTabCloseEvent = TEvent<void(TObject*, bool&)>;
using TWkGetTextColorEvent = TEvent<void(TObject*, int, TWkTextStyle, TColor&, bool&)>;
using TWkPaintBackgroundEvent = TEvent<void(TObject*, TCanvas*, const TRect&, bool&)>;
using TWkPaintTabBackgroundEvent = TEvent<void(TObject*, TCanvas*, int, const TRect&, bool&)>;
using TWkPaintCardBackgroundEvent = TEvent<void(TObject*, TCanvas*, int, const TRect&, bool&)>;

// One tab. Rect is in strip coordinates (x along the strip in tab order, y across it from
// the outer edge), for the tab's current row.
struct TWkTabData {
  std::string Caption;
  TColor Color = clBtnFace;
  int DisabledIndex = -1;
  bool Enabled = true;
  std::string Hint;
  int ImageIndex = -1;
  TRect Rect;
  bool Visible = true;
  int Row = 0;
};

class TWkTabDataList {
 public:
  int Count() const { return int(FItems.size()); }
  TWkTabData& Items(int index) { return *FItems.at(size_t(index)); }
  const TWkTabData& Items(int index) const { return *FItems.at(size_t(index)); }
  TWkTabData& Add(const TWkTabData& data);
  // The replaced record is freed.
  void Replace(int index, const TWkTabData& data);
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TWkTabData>> FItems;
};

// Fills of the tabs; every change repaints the owner's tabs.
class TWkTabColors : public TPersistent {
 public:
  VM_CLASS()
  TColor HighlightBar() const { return FHighlightBar; }
  void SetHighlightBar(TColor value) { Change(FHighlightBar, value); }
  TColor Shadow() const { return FShadow; }
  void SetShadow(TColor value) { Change(FShadow, value); }
  TColor Unselected() const { return FUnselected; }
  void SetUnselected(TColor value) { Change(FUnselected, value); }
  void CopyFrom(const TPersistent* source) override;
  TNotifyEvent OnChange;

 private:
  void Change(TColor& field, TColor value);
  TColor FHighlightBar = clHighlight;
  TColor FShadow = clBtnFace;
  TColor FUnselected = clWindow;
};

// Caption colours; every change repaints the owner's tabs.
class TWkTextColors : public TPersistent {
 public:
  VM_CLASS()
  TColor DisabledHighlight() const { return FDisabledHighlight; }
  void SetDisabledHighlight(TColor value) { Change(FDisabledHighlight, value); }
  TColor DisabledShadow() const { return FDisabledShadow; }
  void SetDisabledShadow(TColor value) { Change(FDisabledShadow, value); }
  TColor Selected() const { return FSelected; }
  void SetSelected(TColor value) { Change(FSelected, value); }
  TColor Unselected() const { return FUnselected; }
  void SetUnselected(TColor value) { Change(FUnselected, value); }
  void CopyFrom(const TPersistent* source) override;
  TNotifyEvent OnChange;

 private:
  void Change(TColor& field, TColor value);
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

// The strip's small buttons share their mouse handling: a press on a part captures the
// mouse, the part shows pressed while the pointer stays inside it, and a release inside
// clicks it.
class TWkTabButtonBase : public TCustomControl {
 public:
  explicit TWkTabButtonBase(TComponent* owner);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor value);
  int PressedPart() const { return FPressedPart; }
  bool PressedInside() const { return FPressedInside; }
  // Parts are numbered from 1; a press lands on the first enabled part under the pointer.
  virtual int PartCount() const = 0;
  virtual TRect PartRect(int part) const = 0;
  virtual bool PartEnabled(int) const { return true; }
  int PartAt(TPoint p) const;

 protected:
  virtual void PartClicked(int part) = 0;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void EraseBackground(TMessage& m) override { m.Result = 1; }
  void Dispatch(TMessage& m) override;

 private:
  TColor FFrameColor = clBtnShadow;
  int FPressedPart = 0;
  bool FPressedInside = false;
};

// The two-arrow button that scrolls the strip when its tabs do not fit.
class TWkTabScroller : public TWkTabButtonBase {
 public:
  VM_CLASS()
  static constexpr int partUpRight = 1;
  static constexpr int partDownLeft = 2;
  explicit TWkTabScroller(TComponent* owner);
  // Vertical: upper and lower halves with up and down arrows; else right and left.
  bool Vertical() const { return FVertical; }
  void SetVertical(bool value);
  bool UpRightEnabled() const { return FUpRightEnabled; }
  bool DownLeftEnabled() const { return FDownLeftEnabled; }
  void SetEnabledHalves(bool upRight, bool downLeft);
  int PartCount() const override { return 2; }
  // A half of the client area plus the middle line the two halves share.
  TRect PartRect(int part) const override;
  bool PartEnabled(int part) const override;

  TNotifyEvent FOnUpRightClick;
  TNotifyEvent FOnDownLeftClick;

 protected:
  void PartClicked(int part) override;
  void Paint() override;

 private:
  bool FVertical = true;
  bool FUpRightEnabled = true;
  bool FDownLeftEnabled = true;
};

// The optional button that closes the active tab; its click is FOnClick.
class TWkTabCloseButton : public TWkTabButtonBase {
 public:
  VM_CLASS()
  explicit TWkTabCloseButton(TComponent* owner);
  // Drawn inactive when no tab is selected.
  bool Active() const { return FActive; }
  void SetActive(bool value);
  int PartCount() const override { return 1; }
  TRect PartRect(int part) const override;

 protected:
  void PartClicked(int part) override;
  void Paint() override;

 private:
  bool FActive = true;
};

class TWkCustomTabControl : public TCustomControl {
 public:
  VM_CLASS()
  static constexpr int kHotTrackPollMs = 60;  // catches the pointer leaving without a move
  explicit TWkCustomTabControl(TComponent* owner);
  ~TWkCustomTabControl() override;

  // Properties. Writers do nothing for an unchanged value; see the .cpp for their effects.
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
  TWkImageList* Images() const { return FImages; }
  virtual void SetImages(TWkImageList* value);
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
  int FirstVisibleTab() const { return FFirstVisibleTab; }
  int HotTab() const { return FHotTab; }
  int RowCount() const { return FRowCount; }
  bool NeedScroller() const { return FNeedScroller; }
  bool LayoutDirty() const { return FLayoutDirty; }
  bool HotTrackTimerRunning() const { return FHotTrackTimer != nullptr; }
  TWkTabScroller* Scroller() const { return FScroller; }
  TWkTabCloseButton* CloseButton() const { return FCloseButton; }
  const TBitmap& OffscreenBitmap() const { return FBitmap; }

  // Geometry (tab_layout.cpp). Runs the layout now when it is marked dirty.
  void UpdateLayout();
  TRect StripRect() const;
  int StripDepth() const;
  int StripLength() const;
  int OriginOffset() const;
  TPoint StripToControl(TPoint p) const;
  // A tab's strip rectangle after its row shift, and its control rectangle.
  TRect TabStripRect(int index) const;
  TRect TabRect(int index) const;
  // The shape points in strip coordinates (for the shape's style) and mapped to the control.
  std::vector<TPoint> TabShapePoints(int index) const;
  std::vector<TPoint> TabControlPoints(int index) const;
  bool TabInView(int index) const;
  // The card of `row` (row 0: the page area next to the strip).
  TRect CardRect(int row) const;
  // What the pages are given.
  TRect PageAreaRect() const;
  int ScrollerButtonSize() const;
  int CloseButtonSize() const;
  TRect ScrollerBounds() const;
  TRect CloseButtonBounds() const;
  // The tab under a control point, or -1.
  int TabAtPos(TPoint p);
  // The region of a tab (from the region cache), or none when its shape has too few points.
  const TRegion* TabRegion(int index);
  // The content rectangle inside a tab's control rectangle, the hot bar's colour, and the
  // outline commands of a tab and of a card (painting, tab_painting.cpp).
  TRect TabContentRect(const TRect& tabRect) const;
  TColor HotBarColor() const;
  std::vector<int> TabOutline(int index) const;
  std::vector<int> CardOutline(int row) const;
  // A caption's screen extent in the measuring font.
  TSize CaptionExtent(const std::string& caption, bool bold) const;

  // The tab records changed: mark the layout dirty and repaint.
  virtual void TabsChanged();
  virtual void InvalidateTabs();
  virtual void InvalidateLayout(bool value);
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
  virtual void HideAllTabs() {}
  virtual void ShowAllTabs() {}
  virtual void SetRowCount(int value);
  // The selection writer; `forced` skips the change query (keyboard and layout paths).
  void SetTabIndexEx(int value, bool forced);
  // Visible and enabled (any tab at design time), and the change query allows it.
  bool CanSelectTab(int index);
  bool Loading() const { return ComponentState().Contains(csLoading); }
  bool Designing() const { return ComponentState().Contains(csDesigning); }

  void Paint() override;
  void EraseBackground(TMessage& m) override { m.Result = 1; }
  void AlignControls(TControl* control, TRect& rect) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void KeyDown(int& key, TShiftState shift) override;
  void DialogChar(TMessage& m) override;
  void FocusGained(TMessage&) override { InvalidateTabs(); }
  void FocusLost(TMessage&) override { InvalidateTabs(); }
  void FontChanged(TMessage& m) override;
  void ParentColorChanged(TMessage& m) override;
  void Dispatch(TMessage& m) override;
  void TakeParentBackground();

  // The layout (tab_layout.cpp); the page control gives its pages the page area here.
  void Layout();
  virtual void PageAreaChanged(const TRect&) {}
  // Hot tracking ends: timer stopped, hot tab cleared, strip repainted, hint restored.
  void EndHotTracking();
  // A hot-tracking repaint: only the strip, and the card shadow is left out.
  void RepaintStrip();

  TWkTabDataList FTabs;
  bool FHotTrackPaint = false;  // the current paint is a hot-tracking repaint

 private:
  // Geometry helpers (tab_layout.cpp).
  bool VerticalStrip() const { return FTabOrientation == toLeft || FTabOrientation == toRight; }
  bool VerticalText() const { return FTextOrientation == orVertical; }
  int Slant(int v) const;
  bool TabInViewFrom(int index, int firstVisible) const;
  int OriginFor(int firstVisible) const;
  TSize TabContentSize(const TWkTabData& tab) const;
  TSize TabScreenSize(TSize content) const;
  void PlaceRow(const std::vector<int>& tabs, const std::vector<int>& lengths, int row, int firstX);
  void LayOutSingleRow(const std::vector<int>& lengths);
  void LayOutRows(const std::vector<int>& lengths, int room);
  void StretchRow(const std::vector<int>& row, int room);
  void FinishRows();
  void ApplyRowDepths();
  void RenumberRows(int selectedRow);
  bool ShadowShown() const;
  bool ScrollerRolesExchanged() const;
  void CloseButtonClicked();
  void ChooseFirstVisibleTab();
  void CheckSelection();
  void PlaceButtons();
  void SyncButtons();
  bool LastTabInView() const;
  int FirstShownTab() const;
  int LastShownTab() const;
  TSize ImageSize(const TWkTabData& tab) const;
  int LineHeight(bool bold) const;

  // Painting (tab_painting.cpp).
  void PaintTabsAndCards(TCanvas& canvas);
  void PaintTab(TCanvas& canvas, int index);
  void DrawTabImage(TCanvas& canvas, const TWkTabData& tab, const TRect& area);
  void DrawCaptionLine(TCanvas& canvas, const std::string& line, TPoint p);
  void FillTab(TCanvas& canvas, int index, const TRect& rect);
  void DrawTabContent(TCanvas& canvas, int index, const TRect& rect);
  void DrawCaption(TCanvas& canvas, const TWkTabData& tab, const TRect& textRect, TColor color, bool bold);
  void DrawBar(TCanvas& canvas, const TRect& rect, TColor color);
  void PaintCard(TCanvas& canvas, int row);
  void PlayOutline(TCanvas& canvas, const std::vector<int>& commands);
  void PrepareMeasuringFont(TFont& font, bool bold) const;

  // Input helpers.
  void HotTrackPoll();
  void StopHotTrackTimer();
  void SelectByKey(int key);
  void ButtonsFrameColorChanged();
  void WriteFixedDimension(TWriter& writer) const;

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
  TWkImageList* FImages = nullptr;
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

  int FFirstVisibleTab = 0;
  int FHotTab = -1;
  int FRowCount = 1;
  bool FNeedScroller = false;
  bool FLayoutDirty = true;
  TBitmap FBitmap;
  TWkTabRegionCache FRegionCache{1};
  TWkTabScroller* FScroller = nullptr;
  TWkTabCloseButton* FCloseButton = nullptr;
  TTimer* FHotTrackTimer = nullptr;
  std::string FSavedHint;
  TRect FLastPageArea{-1, -1, -1, -1};
  TRect FPaintClip;
  bool FPainting = false;
};

class TWkTabSheet;

class TWkPageControl : public TWkCustomTabControl {
 public:
  VM_CLASS()
  explicit TWkPageControl(TComponent* owner);
  ~TWkPageControl() override;

  int PageCount() const { return int(FPages.size()); }
  TWkTabSheet* Pages(int index) const { return FPages.at(size_t(index)); }
  TWkTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TWkTabSheet* page);
  TWkTabSheet* ActivePageDefault() const { return FActivePageDefault; }
  void SetActivePageDefault(TWkTabSheet* page) { FActivePageDefault = page; }
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  bool SaveResources() const { return FSaveResources; }
  void SetSaveResources(bool value);
  void SetUseColoredTabs(bool value) override;
  void HideAllTabs() override;
  void ShowAllTabs() override;
  // The page that belongs to a tab index, or none.
  TWkTabSheet* PageOfTab(int tabIndex) const;

  void TabsChanged() override;
  void AfterLoad() override;
  void Notification(TComponent* component, TOperation operation) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

 protected:
  bool DoChanging(int newIndex) override;
  bool DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) override;
  void CloseActiveTab() override;
  void PageAreaChanged(const TRect& area) override;
  void ColorChanged(TMessage& m) override;
  void DialogKey(TMessage& m) override;

 private:
  friend class TWkTabSheet;
  void InsertPage(TWkTabSheet* page);
  void RemovePage(TWkTabSheet* page);
  void MovePage(TWkTabSheet* page, int index);
  void ChangeActivePage(TWkTabSheet* page);
  void SelectNextPage(bool goForward);
  TWkTabSheet* FindNextPage(TWkTabSheet* current, bool goForward) const;

  std::vector<TWkTabSheet*> FPages;
  TWkTabSheet* FActivePage = nullptr;
  TWkTabSheet* FActivePageDefault = nullptr;
  bool FSaveResources = false;
};

class TWkTabSheet : public TCustomControl {
 public:
  VM_CLASS()
  explicit TWkTabSheet(TComponent* owner);
  ~TWkTabSheet() override;

  TWkPageControl* PageControl() const { return FPageControl; }
  virtual void SetPageControl(TWkPageControl* value);
  int PageIndex() const;
  virtual void SetPageIndex(int value);
  int DisabledIndex() const { return FDisabledIndex; }
  virtual void SetDisabledIndex(int value);
  int ImageIndex() const { return FImageIndex; }
  virtual void SetImageIndex(int value);
  bool TabEnabled() const { return FTabEnabled; }
  virtual void SetTabEnabled(bool value);
  bool TabVisible() const { return FTabVisible; }
  virtual void SetTabVisible(bool value);
  // -1 when the tab is hidden, else the number of pages before this one with visible tabs.
  virtual int GetTabIndex() const;
  // Pages are shown and hidden by their page control only.
  void SetVisible(bool value) override;

  TWkPaintBackgroundEvent FOnPaintBackground;

  void ReadOwnState(TReader& reader) override;

 protected:
  void Paint() override;
  void EraseBackground(TMessage& m) override { m.Result = 1; }
  void TextChanged(TMessage& m) override;
  void ColorChanged(TMessage& m) override;

 private:
  friend class TWkPageControl;
  void ShowPage(bool value) { TCustomControl::SetVisible(value); }
  void PageChanged();
  TWkPageControl* FPageControl = nullptr;
  int FDisabledIndex = -1;
  int FImageIndex = -1;
  bool FTabEnabled = true;
  bool FTabVisible = true;
};

// The page control family's classes for streaming (with the image list its tabs draw from).
void RegisterPageControlClasses();
