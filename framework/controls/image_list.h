#pragma once
// TCustomImageList: a row of equally sized images that controls draw by index, with a
// change subscription so that controls showing its images repaint when it changes.
#include <memory>
#include <vector>

#include "framework/core/color.h"
#include "framework/core/component.h"
#include "framework/typeinfo/event.h"
#include "framework/typeinfo/type_info.h"

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

// How a list draws an image for a disabled control: as a flat silhouette in the
// button-shadow colour, or in grey shades (each pixel's lightness, half lifted toward the
// button face) that keep the picture readable.
enum TImageDisabledLook { dlSilhouette, dlGrayShades };
VM_DECLARE_ENUM(TImageDisabledLook);

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
  // The same with a see-through colour of the caller's (clNone: every pixel is drawn).
  int AddMasked(const TBitmap& image, TColor seeThrough);
  void Clear();

  TImageDisabledLook DisabledLook() const { return FDisabledLook; }
  void SetDisabledLook(TImageDisabledLook value);

  // Draws image `index` with its top-left corner at (x, y), a disabled image in the
  // list's disabled look. Indices outside the list draw nothing.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const;

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

 protected:
  void Change();

 private:
  int FWidth = 16;
  int FHeight = 16;
  TImageDisabledLook FDisabledLook = dlSilhouette;
  std::vector<std::unique_ptr<TBitmap>> FImages;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
 public:
  VM_CLASS()
  using TCustomImageList::TCustomImageList;
};
