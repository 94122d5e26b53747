#include "widgets/frame_controller.h"

#include <algorithm>

#include "framework/typeinfo/class_info.h"
#include "widgets/property_write.h"

const TClassInfo& TWkFrameController::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TWkFrameController, TComponent>("TWkFrameController")
          .Property("FrameVisible", &TWkFrameController::FrameVisible, &TWkFrameController::SetFrameVisible, Default(1))
          .Property("FrameStyle", &TWkFrameController::FrameStyle, &TWkFrameController::SetFrameStyle, Default(fsFlat))
          .Property("FrameColor", &TWkFrameController::FrameColor, &TWkFrameController::SetFrameColor,
                    Default(clBtnShadow))
          .Property("Color", &TWkFrameController::Color, &TWkFrameController::SetColor, Default(clBtnFace))
          .Property("ParentColor", &TWkFrameController::ParentColor, &TWkFrameController::SetParentColor, Default(0));
  return info;
}

TWkFrameController::TWkFrameController(TComponent* owner) : TComponent(owner) {}

TWkFrameController::~TWkFrameController() {
  for (auto& [component, client] : FControls) RemoveFreeNotification(component);
}

// ---- properties ----

void TWkFrameController::SetFrameVisible(bool value) { WriteProperty(*this, FFrameVisible, value, weChanged); }
void TWkFrameController::SetFrameStyle(TFrameStyle value) { WriteProperty(*this, FFrameStyle, value, weChanged); }
void TWkFrameController::SetFrameColor(TColor value) { WriteProperty(*this, FFrameColor, value, weChanged); }
void TWkFrameController::SetColor(TColor value) { WriteProperty(*this, FColor, value, weChanged); }
void TWkFrameController::SetParentColor(bool value) { WriteProperty(*this, FParentColor, value, weChanged); }

// ---- the controls that joined ----

void TWkFrameController::AddControl(TComponent* component, TWkFrameControlled* client) {
  if (component == nullptr || client == nullptr) return;
  const auto known = [component](const auto& entry) { return entry.first == component; };
  if (std::find_if(FControls.begin(), FControls.end(), known) == FControls.end()) {
    FControls.emplace_back(component, client);
    FreeNotification(component);
  }
  client->ApplyFrameController();
}

void TWkFrameController::RemoveControl(TComponent* component) {
  std::erase_if(FControls, [component](const auto& entry) { return entry.first == component; });
  RemoveFreeNotification(component);
}

void TWkFrameController::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove)
    std::erase_if(FControls, [component](const auto& entry) { return entry.first == component; });
}

// A control may leave (or be freed) while another applies: walk a copy and skip the gone.
void TWkFrameController::Changed() {
  const auto controls = FControls;
  for (const auto& entry : controls)
    if (std::find(FControls.begin(), FControls.end(), entry) != FControls.end()) entry.second->ApplyFrameController();
}
