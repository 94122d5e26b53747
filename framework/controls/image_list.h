#pragma once
// TCustomImageList: a row of equally sized images that controls draw by index, with a
// change subscription so that controls showing its images repaint when it changes.
#include <memory>
#include <vector>

#include "framework/core/component.h"
#include "framework/typeinfo/event.h"

class TBitmap;
class TCanvas;
class TCustomImageList;

// A subscriber's end of the change subscription; it leaves the list when destroyed.
class TChangeLink {
 public:
  TChangeLink() = default;
  ~TChangeLink();
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;

  TCustomImageList* Sender() const { return FSender; }
  TNotifyEvent OnChange;

 private:
  friend class TCustomImageList;
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
 public:
  VM_CLASS()
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Changing the size drops every image.
  void SetWidth(int value);
  void SetHeight(int value);
  int Count() const { return int(FImages.size()); }
  // Adds a copy of `image` cut or padded to the list's size; answers its index. The
  // image's bottom-left pixel is its see-through colour.
  int Add(const TBitmap& image);
  void Clear();

  // Draws image `index` with its top-left corner at (x, y); a disabled image is drawn as
  // a flat silhouette in the button-shadow colour. Indices outside the list draw nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const;

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

 protected:
  void Change();

 private:
  int FWidth = 16;
  int FHeight = 16;
  std::vector<std::unique_ptr<TBitmap>> FImages;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
 public:
  VM_CLASS()
  using TCustomImageList::TCustomImageList;
};
