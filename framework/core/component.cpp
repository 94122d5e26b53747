#include "framework/core/component.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/core/text.h"
#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TComponentStateFlag, "csLoading", "csReading", "csWriting", "csDestroying", "csDesigning",
             "csAncestor", "csUpdating", "csFixups", "csFreeNotification", "csInline", "csDesignInstance")
VM_ENUM_INFO(TComponentStyleFlag, "csInheritable", "csCheckPropAvail", "csSubComponent", "csTransient")

const TClassInfo& TComponent::ClassInfo() {
  static const TClassInfo info = DefineClass<TComponent, TPersistent>("TComponent")
                                     .Property("Name", &TComponent::Name, &TComponent::SetName, StoredNever())
                                     .Property("Tag", &TComponent::Tag, &TComponent::SetTag, Default(0));
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  for (TComponent* other : std::vector<TComponent*>(FFreeNotifies)) {
    std::erase(other->FFreeNotifies, this);
    other->Notification(this, opRemove);
  }
  FFreeNotifies.clear();
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

void TComponent::Destroying() {
  if (FState.Contains(csDestroying)) return;
  FState.Include(csDestroying);
  for (auto& c : FComponents) c->Destroying();
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    // Released from the list first, so the component's destructor finds no owner to tell:
    // the owner's own part may already be gone.
    TComponent* last = FComponents.back().release();
    FComponents.pop_back();
    last->FOwner = nullptr;
    delete last;
  }
}

int TComponent::ComponentIndex() const {
  if (FOwner == nullptr) return -1;
  for (size_t i = 0; i < FOwner->FComponents.size(); ++i)
    if (FOwner->FComponents[i].get() == this) return int(i);
  return -1;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& c : FComponents)
    if (SameText(c->FName, name)) return c.get();
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  // Checked before anything moves, so a refused component stays with its old owner.
  if (TComponent* same = FindComponent(component->FName); same != nullptr && same != component)
    throw EComponentError(rs::SDuplicateName, component->FName);
  if (component->FOwner != nullptr) component->FOwner->RemoveComponent(component);
  Insert(component);
  component->SetReference(true);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (component->FOwner != this) return;
  Notification(component, opRemove);
  component->SetReference(false);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  FComponents.emplace_back(component);
  component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find_if(FComponents.begin(), FComponents.end(), [component](const auto& p) { return p.get() == component; });
  if (it != FComponents.end()) {
    it->release();
    FComponents.erase(it);
  }
  component->FOwner = nullptr;
}

void TComponent::SetReference(bool enable) {
  if (FOwner == nullptr || FName.empty()) return;
  if (const TFieldInfo* field = FOwner->GetClassInfo().FindField(FName))
    field->Set(*FOwner, enable ? this : nullptr);
}

void TComponent::SetName(const std::string& name) {
  if (FName == name) return;
  if (!name.empty() && !IsValidIdent(name)) throw EComponentError(rs::SInvalidName, name);
  if (FOwner != nullptr) FOwner->CheckRename(this, FName, name);
  else CheckRename(nullptr, FName, name);
  SetReference(false);
  FName = name;
  SetReference(true);
}

void TComponent::CheckRename(TComponent* component, const std::string& oldName, const std::string& newName) {
  if (component != nullptr && !SameText(oldName, newName) && component->FOwner == this &&
      FindComponent(newName) != nullptr)
    throw EComponentError(rs::SDuplicateName, newName);
}

void TComponent::SetComponentState(TComponentStateFlag flag, bool on) {
  if (on) FState.Include(flag);
  else FState.Exclude(flag);
}

void TComponent::SetSubComponent(bool on) {
  if (on) FStyle.Include(csSubComponent);
  else FStyle.Exclude(csSubComponent);
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(component);
    component->FFreeNotifies.push_back(this);
  }
  FState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  std::erase(FFreeNotifies, component);
  if (component != nullptr) std::erase(component->FFreeNotifies, this);
}

void TComponent::AfterLoad() { FState.Exclude(csLoading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component != nullptr) RemoveFreeNotification(component);
  // A component told here may free others; walk by index and re-check the bound.
  for (int i = int(FComponents.size()) - 1; i >= 0; --i)
    if (size_t(i) < FComponents.size()) FComponents[size_t(i)]->Notification(component, operation);
}

void TComponent::ReadOwnState(TReader& reader) { reader.ReadComponentData(*this); }

void TComponent::WriteOwnState(TWriter& writer) { writer.WriteComponentData(*this); }

void TComponent::SetChildOrder(TComponent*, int) {}

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}
