#include "framework/controls/actions.h"

#include <algorithm>

#include "framework/typeinfo/class_info.h"

const TClassInfo& TBasicAction::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TBasicAction, TComponent>("TBasicAction").Event("OnExecute", &TBasicAction::FOnExecute);
  return info;
}

const TClassInfo& TCustomAction::ClassInfo() {
  static const TClassInfo info = DefineClass<TCustomAction, TBasicAction>("TCustomAction");
  return info;
}

const TClassInfo& TAction::ClassInfo() {
  using A = TAction;
  static const TClassInfo info = DefineClass<A, TCustomAction>("TAction")
                                     .Property("Caption", &A::Caption, &A::SetCaption)
                                     .Property("Checked", &A::Checked, &A::SetChecked, Default(0))
                                     .Property("Enabled", &A::Enabled, &A::SetEnabled, Default(1))
                                     .Property("ImageIndex", &A::ImageIndex, &A::SetImageIndex, Default(-1));
  return info;
}

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
  for (TActionLink* link : FLinks) link->FAction = nullptr;
}

bool TBasicAction::Execute() {
  if (!FOnExecute) return false;
  FOnExecute(this);
  return true;
}

void TBasicAction::RegisterLink(TActionLink* link) {
  if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) FLinks.push_back(link);
}

void TBasicAction::UnRegisterLink(TActionLink* link) { std::erase(FLinks, link); }

void TBasicAction::Change() {
  for (TActionLink* link : std::vector<TActionLink*>(FLinks))
    if (link->OnChange) link->OnChange(this);
}

void TCustomAction::SetCaption(const std::string& value) {
  if (value == FCaption) return;
  FCaption = value;
  Change();
}

void TCustomAction::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Change();
}

void TCustomAction::SetChecked(bool value) {
  if (value == FChecked) return;
  for (TActionLink* link : std::vector<TActionLink*>(Links())) link->SetChecked(value);
  FChecked = value;
  Change();
}

void TCustomAction::SetImageIndex(int value) {
  if (value == FImageIndex) return;
  FImageIndex = value;
  Change();
}

TActionLink::~TActionLink() {
  if (FAction != nullptr) FAction->UnRegisterLink(this);
}

void TActionLink::SetAction(TBasicAction* action) {
  if (action == FAction) return;
  if (FAction != nullptr) FAction->UnRegisterLink(this);
  FAction = action;
  if (FAction != nullptr) FAction->RegisterLink(this);
}
