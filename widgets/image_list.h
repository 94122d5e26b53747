#pragma once
// A list of equally sized images that controls draw by index (the tab images of a page
// control). Each image is kept as a bitmap; a see-through colour leaves the canvas alone.
#include <memory>
#include <vector>

#include "framework/core/component.h"
#include "framework/graphics/bitmap.h"
#include "framework/typeinfo/event.h"

class TCanvas;

class TWkImageList : public TComponent {
 public:
  VM_CLASS()
  explicit TWkImageList(TComponent* owner);
  ~TWkImageList() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Changing the size empties the list.
  void SetSize(int width, int height);
  int Count() const { return int(FImages.size()); }
  // Adds a copy of the top-left Width x Height of `image`; answers its index.
  int Add(const TBitmap& image);
  // Pixels of this colour are not drawn (clNone: every pixel is).
  TColor SeeThroughColor() const { return FSeeThrough; }
  void SetSeeThroughColor(TColor value);
  // Draws image `index` with its top-left at (x, y); a disabled image is drawn in grey
  // shades. An index out of range draws nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const;

  TNotifyEvent OnChange;

 private:
  void Changed() { OnChange(this); }
  int FWidth = 16;
  int FHeight = 16;
  TColor FSeeThrough = clNone;
  std::vector<std::unique_ptr<TBitmap>> FImages;
};
