#include "widgets/image_list.h"

#include "framework/graphics/canvas.h"
#include "framework/typeinfo/class_info.h"
#include "widgets/frame_drawing.h"

const TClassInfo& TWkImageList::ClassInfo() {
  static const TClassInfo info = DefineClass<TWkImageList, TComponent>("TWkImageList")
                                     .Property("Width", &TWkImageList::FWidth, Default(16))
                                     .Property("Height", &TWkImageList::FHeight, Default(16));
  return info;
}

TWkImageList::TWkImageList(TComponent* owner) : TComponent(owner) {}
TWkImageList::~TWkImageList() = default;

void TWkImageList::SetSize(int width, int height) {
  if (width == FWidth && height == FHeight) return;
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  FImages.clear();
  Changed();
}

int TWkImageList::Add(const TBitmap& image) {
  auto copy = std::make_unique<TBitmap>();
  copy->SetPixelFormat(pf24bit);
  copy->SetSize(FWidth, FHeight);
  for (int y = 0; y < FHeight && y < image.Height(); ++y)
    for (int x = 0; x < FWidth && x < image.Width(); ++x) copy->Canvas().SetPixel(x, y, TColor(image.PixelRGB(x, y)));
  FImages.push_back(std::move(copy));
  Changed();
  return Count() - 1;
}

void TWkImageList::SetSeeThroughColor(TColor value) {
  if (value == FSeeThrough) return;
  FSeeThrough = value;
  Changed();
}

// The disabled look keeps the shape and drops the colour: each pixel becomes its
// lightness, lifted toward the button face so that it reads as inactive.
void TWkImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const TBitmap& image = *FImages[size_t(index)];
  const uint32_t seeThrough = FSeeThrough == clNone ? 0xFFFFFFFF : uint32_t(ColorToRGB(FSeeThrough));
  for (int row = 0; row < FHeight; ++row)
    for (int col = 0; col < FWidth; ++col) {
      const uint32_t rgb = image.PixelRGB(col, row);
      if (rgb == seeThrough) continue;
      TColor c = TColor(rgb);
      if (!enabled) c = MixColors(HslToRgb(0, 0, RgbToHsl(c).L), clBtnFace, 128);
      canvas.SetPixel(x + col, y + row, c);
    }
}
