// The page control and its pages: the page list, the tab records made from it, the active
// page and the page switch with its focus moves, and Ctrl+Tab.
#include "widgets/page_control.h"

#include <algorithm>

#include "framework/controls/custom_form.h"
#include "framework/controls/keys.h"
#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"
#include "framework/typeinfo/class_registry.h"
#include "widgets/property_write.h"

// ---- class infos ----

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

// ---- construction and loading ----

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

// After loading the active page (or the default one) decides the selection.
void TWkPageControl::AfterLoad() {
  TWkCustomTabControl::AfterLoad();
  Layout();
  SetTabIndex(-1);
  TWkTabSheet* page = FActivePageDefault != nullptr ? FActivePageDefault : FActivePage;
  FActivePage = nullptr;
  RebuildTabs();
  SetActivePage(page);
  Realign();
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

// A page read inside a page control joins it once it is read completely.
void TWkTabSheet::ReadOwnState(TReader& reader) {
  TCustomControl::ReadOwnState(reader);
  if (auto* pageControl = dynamic_cast<TWkPageControl*>(reader.Parent())) SetPageControl(pageControl);
}

// ---- writers ----

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

void TWkPageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr);
}

// Our child windows own no platform resources (only top-level windows hold a platform
// window), so a hidden page has nothing to give back: the setting is kept for streams.
void TWkPageControl::SetSaveResources(bool value) { FSaveResources = value; }

// Without coloured tabs the pages take the control's colour again.
void TWkPageControl::SetUseColoredTabs(bool value) {
  if (value == UseColoredTabs()) return;
  TWkCustomTabControl::SetUseColoredTabs(value);
  if (!value)
    for (TWkTabSheet* page : FPages) page->SetColor(Color());
}

void TWkTabSheet::SetPageControl(TWkPageControl* value) {
  if (value == FPageControl) return;
  if (FPageControl != nullptr) FPageControl->RemovePage(this);
  if (value != nullptr) value->InsertPage(this);
  else SetParent(nullptr);
}

void TWkTabSheet::SetPageIndex(int value) {
  if (FPageControl == nullptr || value == PageIndex()) return;
  const int last = FPageControl->PageCount() - 1;
  if (value < 0 || value > last)
    throw EListError("%d is an invalid PageIndex value. PageIndex must be between 0 and %d", value, last);
  FPageControl->MovePage(this, value);
}

void TWkTabSheet::SetDisabledIndex(int value) { WriteProperty(*this, FDisabledIndex, value, weChanged); }
void TWkTabSheet::SetImageIndex(int value) { WriteProperty(*this, FImageIndex, value, weChanged); }
void TWkTabSheet::SetTabEnabled(bool value) { WriteProperty(*this, FTabEnabled, value, weChanged); }
void TWkTabSheet::SetTabVisible(bool value) { WriteProperty(*this, FTabVisible, value, weChanged); }

void TWkTabSheet::SetVisible(bool) { throw EInvalidOperation("You cannot change the Visible property of a page"); }

void TWkTabSheet::Changed() {
  if (FPageControl != nullptr) FPageControl->RebuildTabs();
}

// ---- the page list and the tabs ----

// The strip is marked stale before the selection follows the active page, so that the
// selection only records its tab and the layout to come places the strip.
void TWkPageControl::RebuildTabs() {
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
  Relayout();
  if (FActivePage != nullptr && !Loading()) {
    const int tab = FActivePage->GetTabIndex();
    if (tab >= 0 && tab != TabIndex()) SetTabIndexEx(tab, true);
    else if (tab < 0) SetTabIndex(-1);
  }
}

void TWkPageControl::InsertPage(TWkTabSheet* page) {
  FPages.push_back(page);
  page->FreeNotification(this);
  page->FPageControl = this;
  page->SetParent(this);
  RebuildTabs();
}

void TWkPageControl::RemovePage(TWkTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  if (page == FActivePage) FActivePage = nullptr;
  if (page == FActivePageDefault) FActivePageDefault = nullptr;
  FPages.erase(it);
  page->FPageControl = nullptr;
  RebuildTabs();
}

void TWkPageControl::MovePage(TWkTabSheet* page, int index) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  FPages.erase(it);
  FPages.insert(FPages.begin() + index, page);
  RebuildTabs();
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

int TWkTabSheet::PageIndex() const {
  if (FPageControl == nullptr) return -1;
  const auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
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

void TWkPageControl::PageAreaChanged(const TRect& area) {
  for (TWkTabSheet* page : FPages) page->SetBoundsRect(area);
}

// ---- paint ----

// Row 0's card is the active page's, in its colour, while a tab is selected.
bool TWkPageControl::PageFillsCard(int row) const { return row == 0 && TabIndex() >= 0 && FActivePage != nullptr; }

bool TWkPageControl::DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) {
  if (TWkCustomTabControl::DoPaintCardBackground(canvas, row, rect)) return true;
  if (!PageFillsCard(row)) return false;
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(FActivePage->Color());
  canvas.FillRect(rect);
  return true;
}

void TWkTabSheet::Paint() {
  bool handled = false;
  FOnPaintBackground(this, &Canvas(), ClientRect(), handled);
  if (handled) return;
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

// ---- the page switch, keys and messages ----

bool TWkPageControl::DoChanging(int newIndex) {
  const bool allow = TWkCustomTabControl::DoChanging(newIndex);
  if (allow) ChangeActivePage(PageOfTab(newIndex));
  return allow;
}

// The focus leaves the old page through the page itself and lands on the new page's first
// control when it was on the old page.
void TWkPageControl::ChangeActivePage(TWkTabSheet* page) {
  if (page == FActivePage) return;
  TCustomForm* form = GetParentForm(this);
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

void TWkPageControl::CloseActiveTab() {
  TWkTabSheet* page = FActivePage;
  if (page == nullptr) return;
  const int tab = TabIndex();
  delete page;
  SetTabIndex(tab > 0 ? tab - 1 : 0);
}

// Ctrl+Tab and Ctrl+Shift+Tab walk the pages with visible tabs while the focus is inside.
void TWkPageControl::DialogKey(TMessage& m) {
  TWkCustomTabControl::DialogKey(m);
  if (m.Result != 0 || m.WParam != vkTab) return;
  const TShiftState shift = KeysToShiftState(m.LParam);
  TCustomForm* form = GetParentForm(this);
  if (!shift.Contains(ssCtrl) || form == nullptr || !ContainsControl(form->FocusedControl())) return;
  SelectNextPage(!shift.Contains(ssShift));
  m.Result = 1;
}

void TWkPageControl::SelectNextPage(bool goForward) {
  TWkTabSheet* page = FindNextPage(FActivePage, goForward);
  if (page != nullptr && page != FActivePage) SetActivePage(page);
}

TWkTabSheet* TWkPageControl::FindNextPage(TWkTabSheet* current, bool goForward) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  auto it = std::find(FPages.begin(), FPages.end(), current);
  const int start = it == FPages.end() ? (goForward ? count - 1 : 0) : int(it - FPages.begin());
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = (i + (goForward ? 1 : -1) + count) % count;
    if (FPages[size_t(i)]->TabVisible()) return FPages[size_t(i)];
  }
  return nullptr;
}

// Without coloured tabs the pages follow the control's colour.
void TWkPageControl::ColorChanged(TMessage& m) {
  TWkCustomTabControl::ColorChanged(m);
  if (!UseColoredTabs())
    for (TWkTabSheet* page : FPages) page->SetColor(Color());
}

void TWkPageControl::Notification(TComponent* component, TOperation operation) {
  TWkCustomTabControl::Notification(component, operation);
  if (operation == opRemove && component == FActivePageDefault) FActivePageDefault = nullptr;
}

void TWkPageControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
  for (TWkTabSheet* page : FPages) proc(page);
}

void TWkTabSheet::TextChanged(TMessage& m) {
  TCustomControl::TextChanged(m);
  Changed();
}

// A page of its own colour turns the control's coloured tabs on.
void TWkTabSheet::ColorChanged(TMessage& m) {
  TCustomControl::ColorChanged(m);
  if (FPageControl == nullptr) return;
  if (Color() != FPageControl->Color()) FPageControl->SetUseColoredTabs(true);
  Changed();
}

// ---- registration ----

// With the framework's image list, which a form gives the tabs their images from.
void RegisterPageControlClasses() {
  RegisterStreamClass(TImageList::ClassInfo());
  RegisterStreamClass(TWkPageControl::ClassInfo());
  RegisterStreamClass(TWkTabSheet::ClassInfo());
}
