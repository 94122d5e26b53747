#pragma once
// Actions: a command that several controls can share. A control holds a link to its
// action; the link executes the action for the control's click and tells the control when
// the action's settings (caption, enabled and checked state, image) change.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/component.h"
#include "framework/typeinfo/event.h"

class TActionLink;
class TControl;

class TBasicAction : public TComponent {
 public:
  VM_CLASS()
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;

  // Fires OnExecute; answers whether a handler ran.
  virtual bool Execute();
  void RegisterLink(TActionLink* link);
  void UnRegisterLink(TActionLink* link);

  TNotifyEvent FOnExecute;

 protected:
  // Tells every linked control that a setting changed.
  void Change();
  const std::vector<TActionLink*>& Links() const { return FLinks; }

 private:
  std::vector<TActionLink*> FLinks;
};

class TCustomAction : public TBasicAction {
 public:
  VM_CLASS()
  using TBasicAction::TBasicAction;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  // The links hear of a new checked state before the action stores it, so that a link
  // can tell whether its control was in step with the action.
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);

 private:
  std::string FCaption;
  bool FEnabled = true;
  bool FChecked = false;
  int FImageIndex = -1;
};

class TAction : public TCustomAction {
 public:
  VM_CLASS()
  using TCustomAction::TCustomAction;
};

class TActionLink {
 public:
  TActionLink() = default;
  virtual ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* action);
  virtual bool Execute() { return FAction != nullptr && FAction->Execute(); }
  // Whether the action supplies its client's checked state.
  virtual bool IsCheckedLinked() const { return dynamic_cast<TCustomAction*>(FAction) != nullptr; }
  virtual void SetChecked(bool) {}

  // Told with the action whenever one of its settings changed.
  std::function<void(TBasicAction*)> OnChange;

 private:
  friend class TBasicAction;
  TBasicAction* FAction = nullptr;
};

// The link of a control: it knows the control it serves.
class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* client) : FClient(client) {}
  TControl* Client() const { return FClient; }

 private:
  TControl* FClient;
};

class TWinControlActionLink : public TControlActionLink {
 public:
  using TControlActionLink::TControlActionLink;
};
