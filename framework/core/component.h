#pragma once
// Components: named objects owned by another component, which frees them.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/object.h"
#include "framework/typeinfo/type_info.h"

class TReader;
class TWriter;

enum TComponentStateFlag {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups,
  csFreeNotification, csInline, csDesignInstance,
};
using TComponentState = TSet<TComponentStateFlag>;

enum TComponentStyleFlag { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = TSet<TComponentStyleFlag>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  VM_CLASS()
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  // Validates and sets the name; the owner's published field of that name follows it.
  virtual void SetName(const std::string& name);
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int index) const { return FComponents.at(size_t(index)).get(); }
  int ComponentIndex() const;
  // The owned component of that name, compared case-insensitively; none for an empty name.
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  // Gives up ownership of `component` without freeing it.
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  TComponentState ComponentState() const { return FState; }
  void SetComponentState(TComponentStateFlag flag, bool on);
  TComponentStyle ComponentStyle() const { return FStyle; }
  void SetSubComponent(bool on);

  // Asks to be told through Notification when `component` is freed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Called once loading of the whole window is done; the base clears the loading state.
  virtual void AfterLoad();
  // Another component was inserted or removed; the base tells every owned component.
  virtual void Notification(TComponent* component, TOperation operation);
  // Reads this component's record (properties, then children) from a form description.
  virtual void ReadOwnState(TReader& reader);
  virtual void WriteOwnState(TWriter& writer);
  // Raises when another component owned here already has `newName`.
  virtual void CheckRename(TComponent* component, const std::string& oldName, const std::string& newName);
  // Where children read from a stream go: parent (the component itself) and owner (none:
  // they stay owned by the window being read).
  virtual TComponent* GetChildParent() { return this; }
  virtual TComponent* GetChildOwner() { return nullptr; }
  // Moves `child` to position `order` among this component's children.
  virtual void SetChildOrder(TComponent* child, int order);
  // The component this one is a child of (controls: their parent); plain components have none.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  // The children a writer stores, in order.
  virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);

  // Sets the name without validation or field binding (the loader's unique-name rule uses it).
  void ChangeName(const std::string& name) { FName = name; }

 protected:
  // Marks this component and all it owns as being destroyed; call first in a destructor
  // whose members owned components may still reach.
  void Destroying();

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void SetReference(bool enable);

  TComponent* FOwner = nullptr;
  std::string FName;
  int FTag = 0;
  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FState;
  TComponentStyle FStyle{csInheritable};
};

VM_DECLARE_ENUM(TComponentStateFlag);
VM_DECLARE_ENUM(TComponentStyleFlag);
