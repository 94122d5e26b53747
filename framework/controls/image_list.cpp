#include "framework/controls/image_list.h"

#include <algorithm>
#include <cmath>

#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"

VM_ENUM_INFO(TImageDisabledLook, "dlSilhouette", "dlGrayShades")

namespace {
constexpr float kFaceMixWeight = 128.0f / 255.0f;  // grey shades are lifted halfway toward the face

uint8_t NearestByte(double value) { return uint8_t(std::nearbyint(value)); }

// The pixel's lightness on the 0 to 240 scale of the kit's colour arithmetic, as a grey,
// mixed with the button face.
uint32_t GrayShade(uint32_t rgb, uint32_t face) {
  const double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  const uint8_t lightness = NearestByte((std::max({r, g, b}) + std::min({r, g, b})) / 2 * 240);
  const int gray = NearestByte(lightness / 240.0 * 255);
  const double x = kFaceMixWeight;
  const auto mix = [x, gray](int faceChannel) { return NearestByte(gray * x + faceChannel * (1 - x)); };
  return uint32_t(RGB(mix(GetRValue(face)), mix(GetGValue(face)), mix(GetBValue(face))));
}
}  // namespace

TChangeLink::~TChangeLink() {
  if (FSender != nullptr) FSender->UnRegisterChanges(this);
}

const TClassInfo& TCustomImageList::ClassInfo() {
  static const TClassInfo info =
      DefineClass<TCustomImageList, TComponent>("TCustomImageList")
          .Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth, Default(16))
          .Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight, Default(16))
          .Property("DisabledLook", &TCustomImageList::DisabledLook, &TCustomImageList::SetDisabledLook,
                    Default(dlSilhouette));
  return info;
}

const TClassInfo& TImageList::ClassInfo() {
  static const TClassInfo info = DefineClass<TImageList, TCustomImageList>("TImageList");
  return info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : FLinks) link->FSender = nullptr;
}

// A new size is news even to a list without images: its users lay themselves out by it.
void TCustomImageList::SetWidth(int value) {
  if (value == FWidth || value <= 0) return;
  FWidth = value;
  FImages.clear();
  Change();
}

void TCustomImageList::SetHeight(int value) {
  if (value == FHeight || value <= 0) return;
  FHeight = value;
  FImages.clear();
  Change();
}

int TCustomImageList::Add(const TBitmap& image) {
  return AddMasked(image, image.Empty() ? clBlack : TColor(image.PixelRGB(0, image.Height() - 1)));
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor seeThrough) {
  auto copy = std::make_unique<TBitmap>();
  copy->SetPixelFormat(pf24bit);
  copy->SetSize(FWidth, FHeight);
  const int w = std::min(FWidth, image.Width()), h = std::min(FHeight, image.Height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) copy->Image().SetPixelValue(x, y, image.PixelRGB(x, y));
  copy->SetTransparentColor(seeThrough);
  FImages.push_back(std::move(copy));
  Change();
  return Count() - 1;
}

void TCustomImageList::Clear() {
  if (FImages.empty()) return;
  FImages.clear();
  Change();
}

void TCustomImageList::SetDisabledLook(TImageDisabledLook value) {
  if (value == FDisabledLook) return;
  FDisabledLook = value;
  Change();
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const TBitmap& image = *FImages[size_t(index)];
  const TColor seeThrough = image.TransparentColor();
  const uint32_t shadow = uint32_t(ColorToRGB(clBtnShadow)), face = uint32_t(ColorToRGB(clBtnFace));
  for (int row = 0; row < FHeight; ++row)
    for (int col = 0; col < FWidth; ++col) {
      uint32_t rgb = image.PixelRGB(col, row);
      if (rgb == uint32_t(seeThrough)) continue;
      if (!enabled) rgb = FDisabledLook == dlSilhouette ? shadow : GrayShade(rgb, face);
      canvas.SetPixel(x + col, y + row, TColor(rgb));
    }
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
  if (link->FSender == this) return;
  if (link->FSender != nullptr) link->FSender->UnRegisterChanges(link);
  link->FSender = this;
  FLinks.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
  if (link->FSender != this) return;
  link->FSender = nullptr;
  std::erase(FLinks, link);
}

void TCustomImageList::Change() {
  for (TChangeLink* link : std::vector<TChangeLink*>(FLinks)) link->OnChange(this);
}
