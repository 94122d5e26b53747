#pragma once
// TWkFrameController: a shared component that imposes one frame look (style, frame
// colour, fill colour) on every control that joins it. A control joins with the
// interface below and takes the settings in its ApplyFrameController; the controller
// applies them when a control joins and whenever a setting changes.
#include <utility>
#include <vector>

#include "framework/core/color.h"
#include "framework/core/component.h"
#include "widgets/frame_types.h"

class TWkFrameControlled {
 public:
  virtual void ApplyFrameController() = 0;

 protected:
  ~TWkFrameControlled() = default;
};

class TWkFrameController : public TComponent {
 public:
  VM_CLASS()
  explicit TWkFrameController(TComponent* owner);
  ~TWkFrameController() override;

  bool FrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool value);
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle value);
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool value);

  // `component` is the joining control itself; the controller forgets it when it is freed.
  void AddControl(TComponent* component, TWkFrameControlled* client);
  void RemoveControl(TComponent* component);
  int ControlCount() const { return int(FControls.size()); }

  void Notification(TComponent* component, TOperation operation) override;
  // Every control that joined takes the settings again.
  void Changed();

 private:
  bool FFrameVisible = true;
  TFrameStyle FFrameStyle = fsFlat;
  TColor FFrameColor = clBtnShadow;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  std::vector<std::pair<TComponent*, TWkFrameControlled*>> FControls;
};
