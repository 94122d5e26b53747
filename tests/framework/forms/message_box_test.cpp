// The framework's message box: layout, icon, and the keys and clicks that end it.
#include "framework/controls/message_box.h"
#include "tests/framework/forms/forms_helpers.h"

namespace {
class BoxTest : public FormsTest {
 protected:
  TMessageBoxForm Box{nullptr, "Something failed.", "Velmorath", mbiError};
  THeadlessWindow& Window() { return static_cast<THeadlessWindow&>(*Box.PlatformWindow()); }
};
}  // namespace

TEST_F(BoxTest, EnterEscapeSpaceAndAClickEachEndTheBoxWithOk) {
  // The input is queued once the box is on screen, where the pointer can find it.
  auto run = [&](std::function<void()> queue) {
    Box.FOnShow = [queue](TObject*) { queue(); };
    return Box.ShowModal();
  };
  EXPECT_EQ(run([&] { Backend->PressKey(vkReturn); }), mrOk);
  EXPECT_EQ(run([&] { Backend->PressKey(vkEscape); }), mrOk);
  EXPECT_EQ(run([&] {
              Backend->PressKey(vkSpace);
              Backend->ReleaseKey(vkSpace);
            }),
            mrOk);
  EXPECT_EQ(run([&] { Backend->Click(Box.Button()->ClientToScreen({10, 10})); }), mrOk);
}

TEST_F(BoxTest, DialogFrameCaptionCentredAndTheButtonFocused) {
  Backend->PressKey(vkReturn);
  Box.FOnShow = [&](TObject*) {
    EXPECT_EQ(Window().Frame(), TWindowFrame::Dialog);
    EXPECT_EQ(Window().Caption(), "Velmorath");
    EXPECT_EQ(Box.ActiveControl(), Box.Button());
  };
  Box.ShowModal();
  const TRect b = Window().ScreenBounds();
  EXPECT_EQ(b.Left, (1280 - Box.Width()) / 2);
  EXPECT_EQ(b.Top, (1024 - Box.Height()) / 2);
  EXPECT_EQ(Box.Text(), "Something failed.");
}

TEST_F(BoxTest, ErrorIconIsARedDiscWithAWhiteCross) {
  // Painted while shown: a timer-free way is to show it, paint, and read the surface.
  Box.Show();
  App->ProcessMessages();
  const TPoint icon{Box.Icon()->Left(), Box.Icon()->Top()};
  const TBitmap& shown = Window().Presented();
  EXPECT_EQ(shown.PixelRGB(icon.X + 16, icon.Y + 4), 0x0000E0u) << "disc";
  EXPECT_EQ(shown.PixelRGB(icon.X + 10, icon.Y + 10), 0xFFFFFFu) << "cross";
  EXPECT_EQ(shown.PixelRGB(icon.X + 21, icon.Y + 10), 0xFFFFFFu) << "cross";
  EXPECT_EQ(shown.PixelRGB(icon.X + 0, icon.Y + 0), SystemColorRGB(15)) << "corner outside the disc: the face colour";
}

TEST_F(FormsTest, LongTextWrapsAndTheBoxGrowsToHoldIt) {
  TMessageBoxForm one(nullptr, "Short", "T", mbiError);
  const std::string text = "A message long enough to need several lines in a box whose text is wrapped "
                           "at a fixed width, so the box must grow downwards.";
  TMessageBoxForm many(nullptr, text, "T", mbiError);
  EXPECT_EQ(one.Width(), many.Width());
  EXPECT_GT(many.TextControl()->Height(), 2 * one.TextControl()->Height());
  EXPECT_EQ(many.Button()->Top(), many.TextControl()->Top() + many.TextControl()->Height() + 11);
  EXPECT_EQ(many.Height(), many.Button()->Top() + many.Button()->Height() + 11);
  // Drawn: some pixel of the text area differs from the face colour.
  many.Show();
  App->ProcessMessages();
  const TRect r = many.TextControl()->BoundsRect();
  const TBitmap& shown = static_cast<THeadlessWindow&>(*many.PlatformWindow()).Presented();
  int inked = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) inked += shown.PixelRGB(x, y) != SystemColorRGB(15);
  EXPECT_GT(inked, 100);
}
