#pragma once
// The abstract picture: something with a size that draws itself into a rectangle of a
// canvas and stores itself as a block of bytes.
#include <cstdint>
#include <string>

#include "framework/core/geometry.h"
#include "framework/core/object.h"
#include "framework/typeinfo/event.h"

class TCanvas;
class TPalette;
class TStream;

enum TProgressStage { psStarting, psRunning, psEnding };
VM_DECLARE_ENUM(TProgressStage);

using TProgressEvent =
    TEvent<void(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& rect,
                const std::string& message)>;

class TGraphic : public TInterfacedPersistent {
 public:
  VM_CLASS()
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  // Declares "Data", the graphic's own byte image, stored unless empty or equal to the ancestor's.
  void DeclareStoredData(TFiler& filer) override;

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  // The logical palette the graphic wants realised, or none.
  virtual const TPalette* Palette() const { return nullptr; }
  virtual void SetPalette(const TPalette*) {}
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value);

  virtual void DrawInto(TCanvas& canvas, const TRect& rect) = 0;
  // Equal when both byte images from WriteStoredData are equal (both empty counts as equal).
  virtual bool SameAs(const TGraphic& other) const;

  virtual void ReadStoredData(TStream& stream) = 0;
  virtual void WriteStoredData(TStream& stream) const = 0;
  // The graphic's file format from the stream's position to its end.
  virtual void LoadFromByteStream(TStream& stream) = 0;
  virtual void SaveToByteStream(TStream& stream) const = 0;

  // Sets the modified flag and tells the owner through OnChange.
  virtual void NotifyChanged(TObject* sender);
  void NotifyProgress(TObject* sender, TProgressStage stage, uint8_t percentDone, bool redrawNow, const TRect& rect,
                      const std::string& message);

  bool Modified() const { return FModified; }
  void SetModified(bool value);
  bool PaletteDirty() const { return FPaletteDirty; }
  void SetPaletteDirty(bool value) { FPaletteDirty = value; }

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 private:
  bool FModified = false;
  bool FTransparent = false;
  bool FPaletteDirty = false;
};
