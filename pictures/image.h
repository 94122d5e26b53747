#pragma once
// TImage: a window-less control that shows a picture, drawn at its own size from the
// control's top-left corner or fitted into the control by an exact proportional rule.
#include <memory>

#include "framework/controls/graphic_control.h"
#include "framework/graphics/graphic.h"
#include "pictures/picture.h"

class TPalette;

// Sent to a top-level form to have it realise its palette again.
inline constexpr uint32_t msgQueryNewPalette = 0x0040;

class TImage : public TGraphicControl {
 public:
  VM_CLASS()
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture.get(); }
  // Takes a copy of the other picture's graphic.
  void SetPicture(TPicture* value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);
  bool Center() const { return FCenter; }
  void SetCenter(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool IncrementalDisplay() const { return FIncrementalDisplay; }
  void SetIncrementalDisplay(bool value) { FIncrementalDisplay = value; }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);

  // Where the picture is drawn, in the control's coordinates.
  TRect DestRect() const;
  // Where it is drawn on a screen `scale` times finer than the window's surface, in that
  // screen's pixels from the control's top-left corner: the same rule on the box at that size.
  TRect DestRect(int scale) const;
  // The graphic's palette, or none; the host realises it for the window.
  const TPalette* GetPalette() const;
  // With AutoSize: the picture's width unless aligned top, bottom or client, and its height
  // unless aligned left, right or client. Answers whether a size is proposed.
  bool CanAutoSize(int& newWidth, int& newHeight) const;
  // True while Paint runs.
  bool Drawing() const { return FDrawing; }

  TProgressEvent FOnProgress;

 protected:
  void Paint() override;
  // The picture or a placement property changed: fit, decide opacity, repaint.
  virtual void PictureChanged(TObject* sender);
  virtual void Progress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow,
                        const TRect& rect, const std::string& message);
  // Asks the window to realise a changed palette; answers whether it was asked.
  bool DoPaletteChange();

 private:
  // The writer of every property whose change moves or reshapes the drawn picture.
  void SetPlacement(bool& field, bool value);
  void SetOpaque(bool opaque);

  std::unique_ptr<TPicture> FPicture;
  bool FProportional = false;
  bool FStretch = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FIncrementalDisplay = false;
  bool FAutoSize = false;
  bool FDrawing = false;
};

// The placement rule on its own: a w x h picture in a cw x ch box.
TRect PlacementRect(int w, int h, int cw, int ch, bool stretch, bool proportional, bool center);
