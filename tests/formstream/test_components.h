#pragma once
// Component classes for the loader tests: a form with published fields and methods, and
// widgets with a property of every kind.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/core/color.h"
#include "framework/core/component.h"
#include "framework/typeinfo/class_info.h"
#include "formstream/collection.h"

enum TShape { shCircle, shSquare, shTriangle };
VM_DECLARE_ENUM(TShape);
enum TSide { sdLeft, sdTop, sdRight, sdBottom };
VM_DECLARE_ENUM(TSide);
using TSides = TSet<TSide>;

// A reference held by an object that is not a component. Live holders are counted, so a
// test can tell when the reader writes a reference into one already freed.
class TLinkHolder {
 public:
  TLinkHolder() { Live().insert(this); }
  virtual ~TLinkHolder() { Live().erase(this); }
  TComponent* Link() const { return FLink; }
  void SetLink(TComponent* link) {
    if (!Live().contains(this)) ++WritesToFreed;
    else FLink = link;
  }
  static inline int WritesToFreed = 0;

 private:
  static std::set<const TLinkHolder*>& Live() {
    static std::set<const TLinkHolder*> live;
    return live;
  }
  TComponent* FLink = nullptr;
};

class TTestFont : public TPersistent, public TLinkHolder {
 public:
  VM_CLASS()
  std::string FName;
  int FHeight = 0;
  TColor FColor = clWindowText;
  TSides FStyle;
};

// Stores "Data" as a byte block: class name, 32-bit count, bytes. An unknown class name
// leaves it empty and ignores the rest, as a picture does.
class TTestPicture : public TPersistent {
 public:
  VM_CLASS()
  void DeclareStoredData(TFiler& filer) override;
  std::string GraphicClass;
  std::vector<uint8_t> Bytes;
};

class TTestItem : public TCollectionItem, public TLinkHolder {
 public:
  VM_CLASS()
  std::string FCaption;
  int FValue = 0;
};

class TTestForm;

class TTestWidget : public TComponent {
 public:
  VM_CLASS()
  explicit TTestWidget(TComponent* owner);
  ~TTestWidget() override;

  int FLeft = 0;
  int16_t FWidth = 0;
  int8_t FSmall = 0;
  TShape FShape = shCircle;
  TSides FSides;
  TColor FColor = clBtnFace;
  bool FVisible = true;
  std::string FCaption;
  std::u16string FWide;
  char FAccel = 0;
  double FRatio = 0;
  int64_t FBig = 0;
  TComponent* FBuddy = nullptr;  // a class info cannot name its own class while being built
  TNotifyEvent FOnClick;
  std::vector<int> DesignSize;
  // 1: std::length_error, 2: std::bad_alloc, 3: std::runtime_error("boom").
  int Throws() const { return 0; }
  void SetThrows(int kind);

  TTestFont* Font() const { return FFont.get(); }
  TTestPicture* Picture() const { return FPicture.get(); }
  TCollection* Items() const { return FItems.get(); }
  TComponent* Buddy() const { return FBuddy; }
  void SetBuddy(TComponent* buddy);
  int ChildCount() const { return int(Children.size()); }

  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Notification(TComponent* component, TOperation operation) override;
  void DeclareStoredData(TFiler& filer) override;
  void AfterLoad() override;

  std::vector<TTestWidget*> Children;

 private:
  TComponent* FParent = nullptr;
  std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
  std::unique_ptr<TTestPicture> FPicture = std::make_unique<TTestPicture>();
  std::unique_ptr<TCollection> FItems = std::make_unique<TCollection>(TTestItem::ClassInfo());
};

// Found through the form's fields only (never registered).
class TTestPanel : public TTestWidget {
 public:
  VM_CLASS()
  using TTestWidget::TTestWidget;
};

// Owns the components read inside it, as a frame does.
class TTestFrame : public TTestWidget {
 public:
  VM_CLASS()
  using TTestWidget::TTestWidget;
  TComponent* GetChildOwner() override { return this; }
};

// Neither a field class nor registered.
class TStrayWidget : public TTestWidget {
 public:
  VM_CLASS()
  using TTestWidget::TTestWidget;
};

class TTestForm : public TComponent {
 public:
  VM_CLASS()
  explicit TTestForm(TComponent* owner = nullptr) : TComponent(owner) {}
  ~TTestForm() override { Destroying(); }

  TTestWidget* Widget1 = nullptr;
  TTestPanel* Panel1 = nullptr;
  std::string FCaption;
  int FClicks = 0;
  std::vector<std::string> LoadOrder;  // AfterLoad calls, by name

  void Widget1Click(TObject*) { ++FClicks; }
  void OtherClick(TObject*) { FClicks += 10; }
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
  void AfterLoad() override;
};

// A form whose stream is embedded by the build (tests/CMakeLists.txt).
class TEmbeddedForm : public TTestForm {
 public:
  VM_CLASS()
  using TTestForm::TTestForm;
};
