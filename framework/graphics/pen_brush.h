#pragma once
// The pen and brush a canvas draws with. Each holds a plain value that the drawing context
// copies when a primitive runs, and tells its canvas of changes.
#include "framework/core/color.h"
#include "framework/core/object.h"
#include "framework/typeinfo/event.h"

class TBitmap;

// Dot: three pixels on, three off, counted from the start of each line.
enum TPenStyle { psSolid, psDot, psClear };
enum TBrushStyle { bsSolid, bsClear };
VM_DECLARE_ENUM(TPenStyle);
VM_DECLARE_ENUM(TBrushStyle);

struct TPenData {
  TColor Color = clBlack;
  int Width = 1;  // 0 and 1 both give the 1-pixel pen
  TPenStyle Style = psSolid;
};

struct TBrushData {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  // A pattern tiled from the brush origin; a monochrome pattern paints its 0 pixels in the
  // text colour and its 1 pixels in the background colour. Not owned.
  const TBitmap* Pattern = nullptr;
};

class TPen : public TPersistent {
 public:
  VM_CLASS()
  const TPenData& Data() const { return FData; }
  TColor Color() const { return FData.Color; }
  void SetColor(TColor value);
  int Width() const { return FData.Width; }
  void SetWidth(int value);
  TPenStyle Style() const { return FData.Style; }
  void SetStyle(TPenStyle value);
  void CopyFrom(const TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed() { OnChange(this); }
  TPenData FData;
};

class TBrush : public TPersistent {
 public:
  VM_CLASS()
  const TBrushData& Data() const { return FData; }
  TColor Color() const { return FData.Color; }
  // Choosing a colour makes a clear brush solid again.
  void SetColor(TColor value);
  TBrushStyle Style() const { return FData.Style; }
  void SetStyle(TBrushStyle value);
  const TBitmap* Bitmap() const { return FData.Pattern; }
  void SetBitmap(const TBitmap* value);
  void CopyFrom(const TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed() { OnChange(this); }
  TBrushData FData;
};
