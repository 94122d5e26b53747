// Tab images from the framework's image list: two controls sharing one list, and the grey
// shades a disabled tab draws its image in, to the pixel of the kit's colour arithmetic.
#include <memory>

#include "framework/controls/image_list.h"
#include "framework/graphics/canvas.h"
#include "tests/widgets/page_control_fixture.h"
#include "widgets/frame_drawing.h"

namespace {
// A 10 x 10 picture in 100 colours, every pixel drawn.
std::unique_ptr<TImageList> Palette(TComponent* owner) {
  auto list = std::make_unique<TImageList>(owner);
  list->SetWidth(10);
  list->SetHeight(10);
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) picture.Canvas().SetPixel(x, y, TColor(RGB(x * 28, y * 28, 255 - x * y * 2)));
  list->AddMasked(picture, clNone);
  return list;
}

// The look the tab strip has always given a disabled tab's image.
uint32_t KitGrayShade(uint32_t rgb) {
  return uint32_t(ColorToRGB(MixColors(HslToRgb(0, 0, RgbToHsl(TColor(rgb)).L), clBtnFace, 128)));
}

class TabImagesTest : public PageControlTest {
 protected:
  void SetUp() override { Load(); }
  // A second page control on the same form, with one page.
  TWkPageControl* AddSecondControl() {
    auto* other = new TWkPageControl(Form);
    other->SetParent(Form);
    other->SetBounds(260, 64, 130, 200);
    auto* page = new TWkTabSheet(Form);
    page->SetCaption("Other");
    page->SetPageControl(other);
    other->SetActivePage(page);
    Settle();
    return other;
  }
};
}  // namespace

TEST(TabImageLook, GreyShadesMatchTheKitsColourArithmetic) {
  TImageList list(nullptr);
  list.SetWidth(16);
  list.SetHeight(16);
  list.SetDisabledLook(dlGrayShades);
  TBitmap picture, drawn;
  for (TBitmap* b : {&picture, &drawn}) {
    b->SetPixelFormat(pf32bit);
    b->SetSize(16, 16);
  }
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) picture.Canvas().SetPixel(x, y, TColor(RGB(x * 17, y * 17, (x * 7 + y * 11) % 256)));
  list.AddMasked(picture, clNone);
  list.Draw(drawn.Canvas(), 0, 0, 0, false);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(drawn.PixelRGB(x, y), KitGrayShade(picture.PixelRGB(x, y))) << x << "," << y;
}

TEST_F(TabImagesTest, ADisabledTabsImageTakesItsListsDisabledLook) {
  auto list = Palette(Form);
  Control->SetImages(list.get());
  Page(5)->SetImageIndex(0);
  Page(5)->SetTabEnabled(false);
  Settle();
  const TRect content = Control->Strip().ContentRect(Control->TabRect(5));
  const TPoint image{content.Left + (content.Width() - 10) / 2, content.Bottom - 10};
  const uint32_t shadow = uint32_t(ColorToRGB(clBtnShadow));
  for (int x = 0; x < 10; x += 3) EXPECT_EQ(Control->OffscreenBitmap().PixelRGB(image.X + x, image.Y + 4), shadow);
  list->SetDisabledLook(dlGrayShades);
  Settle();
  for (int x = 0; x < 10; x += 3)
    EXPECT_EQ(Control->OffscreenBitmap().PixelRGB(image.X + x, image.Y + 4), KitGrayShade(RGB(x * 28, 4 * 28, 255 - x * 8)))
        << "column " << x;
}

// Each control follows the list through a link of its own: setting or freeing one leaves
// the other hearing the list.
TEST_F(TabImagesTest, TwoControlsShareOneListAndFreeingOneLeavesTheOtherWorking) {
  TWkPageControl* other = AddSecondControl();
  auto list = Palette(Form);
  Control->SetImages(list.get());
  other->SetImages(list.get());
  Page(6)->SetImageIndex(0);
  other->Pages(0)->SetImageIndex(0);
  Settle();
  // The main window's tab: its image below the caption, as wide as the line (16) or wider.
  const int length = Control->Strip().Tab(6).Rect.Width(), otherLength = other->Strip().Tab(0).Rect.Width();
  list->SetWidth(20);  // a new size drops the images and tells both controls
  EXPECT_TRUE(Control->LayoutDirty());
  EXPECT_TRUE(other->LayoutDirty()) << "the control that took the list second hears it too";
  Settle();
  EXPECT_EQ(other->Strip().Tab(0).Rect.Width(), otherLength + 10) << "an image on the left: 10 more";
  EXPECT_EQ(Control->Strip().Tab(6).Rect.Width(), length + 4) << "4 pixels thicker, the slant 2 longer at each end";
  other->SetImages(nullptr);
  list->SetHeight(30);
  EXPECT_TRUE(Control->LayoutDirty()) << "letting the list go leaves the other's link in place";
  Settle();
  EXPECT_EQ(Control->Strip().Tab(6).Rect.Width(), length + 4 + 20);
  other->SetImages(list.get());
  delete other;
  list->SetHeight(10);
  EXPECT_TRUE(Control->LayoutDirty()) << "the freed control took only its own link";
  Settle();
  EXPECT_EQ(Control->Strip().Tab(6).Rect.Width(), length + 4);
  list.reset();
  EXPECT_EQ(Control->Images(), nullptr);
  Settle();
  EXPECT_EQ(Control->Strip().Tab(6).Rect.Width(), length - 10) << "laid out again without the image's height";
}
