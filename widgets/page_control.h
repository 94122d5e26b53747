#pragma once
// The page control: a tab control that owns one page (TWkTabSheet) per tab, builds the
// tab records from its pages and shows the active one.
#include <functional>
#include <vector>

#include "widgets/tab_control.h"

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
  // The page that belongs to a tab index, or none.
  TWkTabSheet* PageOfTab(int tabIndex) const;

  // A page was added, removed or moved, or its tab changed: the tab records are made again
  // from the pages (one per page whose tab is visible), and the strip is laid out again.
  void RebuildTabs();
  void AfterLoad() override;
  void Notification(TComponent* component, TOperation operation) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

 protected:
  bool DoChanging(int newIndex) override;
  bool DoPaintCardBackground(TCanvas& canvas, int row, const TRect& rect) override;
  bool PageFillsCard(int row) const override;
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
  // The page's tab changed: its page control makes its tabs again.
  void Changed();

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
  TWkPageControl* FPageControl = nullptr;
  int FDisabledIndex = -1;
  int FImageIndex = -1;
  bool FTabEnabled = true;
  bool FTabVisible = true;
};

// The page control family's classes for streaming.
void RegisterPageControlClasses();
