#include "tests/formstream/test_components.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "framework/core/filer.h"
#include "framework/core/stream.h"

VM_ENUM_INFO(TShape, "shCircle", "shSquare", "shTriangle")
VM_ENUM_INFO(TSide, "sdLeft", "sdTop", "sdRight", "sdBottom")

const TClassInfo& TTestFont::ClassInfo() {
  static const TClassInfo info = DefineClass<TTestFont, TPersistent>("TTestFont")
                                     .Property("Name", &TTestFont::FName)
                                     .Property("Height", &TTestFont::FHeight, Default(0))
                                     .Property("Color", &TTestFont::FColor, Default(clWindowText))
                                     .Property("Style", &TTestFont::FStyle, Default(0))
                                     .Property("Link", &TTestFont::Link, &TTestFont::SetLink);
  return info;
}

const TClassInfo& TTestPicture::ClassInfo() {
  static const TClassInfo info = DefineClass<TTestPicture, TPersistent>("TTestPicture");
  return info;
}

void TTestPicture::DeclareStoredData(TFiler& filer) {
  auto read = [this](TStream& s) {
    uint8_t length = 0;
    s.ReadBuffer(&length, 1);
    std::string name(length, '\0');
    s.ReadBuffer(name.data(), length);
    if (name != "TTestGraphic") return;  // unknown graphic: an empty picture
    int32_t count = 0;
    s.ReadBuffer(&count, 4);
    Bytes.resize(size_t(count));
    s.ReadBuffer(Bytes.data(), count);
    GraphicClass = name;
  };
  auto write = [this](TStream& s) {
    uint8_t length = uint8_t(GraphicClass.size());
    s.WriteBuffer(&length, 1);
    s.WriteBuffer(GraphicClass.data(), length);
    int32_t count = int32_t(Bytes.size());
    s.WriteBuffer(&count, 4);
    s.WriteBuffer(Bytes.data(), count);
  };
  filer.DeclareByteBlockProperty("Data", read, write, !GraphicClass.empty());
}

const TClassInfo& TTestItem::ClassInfo() {
  static const TClassInfo info = DefineClass<TTestItem, TCollectionItem>("TTestItem")
                                     .Property("Caption", &TTestItem::FCaption)
                                     .Property("Value", &TTestItem::FValue, Default(0))
                                     .Property("Link", &TTestItem::Link, &TTestItem::SetLink);
  return info;
}

const TClassInfo& TTestWidget::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TTestWidget, TComponent>("TTestWidget")
          .Property("Left", &TTestWidget::FLeft, Default(0))
          .Property("Width", &TTestWidget::FWidth, Default(0))
          .Property("Small", &TTestWidget::FSmall, Default(0))
          .Property("Shape", &TTestWidget::FShape, Default(shCircle))
          .Property("Sides", &TTestWidget::FSides, Default(0))
          .Property("Color", &TTestWidget::FColor, Default(clBtnFace))
          .Property("Visible", &TTestWidget::FVisible, Default(1))
          .Property("Caption", &TTestWidget::FCaption)
          .Property("Wide", &TTestWidget::FWide)
          .Property("Accel", &TTestWidget::FAccel, Default(0))
          .Property("Ratio", &TTestWidget::FRatio)
          .Property("Big", &TTestWidget::FBig)
          .Property("Buddy", &TTestWidget::Buddy, &TTestWidget::SetBuddy)
          .Property("Font", &TTestWidget::Font)
          .Property("Picture", &TTestWidget::Picture)
          .Property("Items", &TTestWidget::Items)
          .Property("Fixed", &TTestWidget::FLeft, StoredNever())
          .Property("ChildCount", &TTestWidget::ChildCount)
          .Property("Throws", &TTestWidget::Throws, &TTestWidget::SetThrows, Default(0))
          .Event("OnClick", &TTestWidget::FOnClick);
  return info;
}

TTestWidget::TTestWidget(TComponent* owner) : TComponent(owner) {}

TTestWidget::~TTestWidget() {
  Destroying();
  SetParentComponent(nullptr);
  for (TTestWidget* child : Children) child->FParent = nullptr;
}

void TTestWidget::SetThrows(int kind) {
  if (kind == 1) throw std::length_error("vector::reserve");
  if (kind == 2) throw std::bad_alloc();
  if (kind == 3) throw std::runtime_error("boom");
}

void TTestWidget::SetBuddy(TComponent* buddy) {
  FBuddy = buddy;
  if (buddy) buddy->FreeNotification(this);
}

void TTestWidget::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FBuddy) FBuddy = nullptr;
}

void TTestWidget::SetParentComponent(TComponent* parent) {
  if (auto* old = dynamic_cast<TTestWidget*>(FParent)) std::erase(old->Children, this);
  FParent = parent;
  if (auto* widget = dynamic_cast<TTestWidget*>(parent)) widget->Children.push_back(this);
}

void TTestWidget::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
  for (TTestWidget* child : Children) proc(child);
}

void TTestWidget::SetChildOrder(TComponent* child, int order) {
  auto it = std::find(Children.begin(), Children.end(), child);
  if (it == Children.end()) return;
  TTestWidget* moved = *it;
  Children.erase(it);
  Children.insert(Children.begin() + std::clamp<ptrdiff_t>(order, 0, ptrdiff_t(Children.size())), moved);
}

void TTestWidget::DeclareStoredData(TFiler& filer) {
  auto read = [this](TReader& r) {
    DesignSize.clear();
    r.ReadListBegin();
    while (!r.EndOfList()) DesignSize.push_back(r.ReadInteger());
    r.ReadListEnd();
  };
  auto write = [this](TWriter& w) {
    w.WriteListBegin();
    for (int v : DesignSize) w.WriteInteger(v);
    w.WriteListEnd();
  };
  filer.DeclareValueProperty("DesignSize", read, write, !DesignSize.empty());
}

void TTestWidget::AfterLoad() {
  TComponent::AfterLoad();
  if (auto* form = dynamic_cast<TTestForm*>(Owner())) form->LoadOrder.push_back(Name());
}

const TClassInfo& TTestPanel::ClassInfo() {
  static const TClassInfo info = DefineClass<TTestPanel, TTestWidget>("TTestPanel");
  return info;
}

const TClassInfo& TTestFrame::ClassInfo() {
  static const TClassInfo info = DefineClass<TTestFrame, TTestWidget>("TTestFrame");
  return info;
}

const TClassInfo& TStrayWidget::ClassInfo() {
  static const TClassInfo info = DefineClass<TStrayWidget, TTestWidget>("TStrayWidget");
  return info;
}

const TClassInfo& TTestForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TTestForm, TComponent>("TTestForm")
                                     .Property("Caption", &TTestForm::FCaption)
                                     .Field("Widget1", &TTestForm::Widget1)
                                     .Field("Panel1", &TTestForm::Panel1)
                                     .Method("Widget1Click", &TTestForm::Widget1Click)
                                     .Method("OtherClick", &TTestForm::OtherClick);
  return info;
}

void TTestForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) {
  for (int i = 0; i < ComponentCount(); ++i)
    if (Components(i)->GetParentComponent() == this) proc(Components(i));
}

void TTestForm::AfterLoad() {
  TComponent::AfterLoad();
  LoadOrder.push_back(Name());
}

const TClassInfo& TEmbeddedForm::ClassInfo() {
  static const TClassInfo info = DefineClass<TEmbeddedForm, TTestForm>("TEmbeddedForm");
  return info;
}
