// The headless backend: screen, surfaces, presents, screenshots, clock and input.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>

#include "framework/graphics/draw_context.h"
#include "platform/headless/headless_backend.h"

namespace {
struct TDecoded {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Rgb;  // red, green, blue per pixel, rows top first
  uint32_t At(int x, int y) const {
    const uint8_t* p = &Rgb[(size_t(y) * size_t(Width) + size_t(x)) * 3];
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
  }
};

TDecoded ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  TDecoded out;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
  image.format = PNG_FORMAT_RGB;
  out.Rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.Rgb.data(), 0, nullptr)) return {};
  out.Width = int(image.width);
  out.Height = int(image.height);
  return out;
}

std::string TempPath(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

THeadlessWindow& Show(THeadlessBackend& backend, std::unique_ptr<TPlatformWindow>& holder, TRect bounds) {
  holder = backend.CreateWindow(bounds);
  holder->SetVisible(true);
  return static_cast<THeadlessWindow&>(*holder);
}
}  // namespace

TEST(HeadlessBackend, ScreenReportsItsConfiguration) {
  auto b = CreateHeadlessBackend();
  EXPECT_EQ(b->ScreenSize(), (TSize{1280, 1024}));
  EXPECT_EQ(b->BitsPerPixel(), 32);
  EXPECT_EQ(b->PixelsPerInch(), 96);
  EXPECT_EQ(b->SystemColor(15), 0xD8E9ECu) << "button face 236,233,216";
  auto palette = CreateHeadlessBackend({640, 480, 8, 96, {}});
  std::unique_ptr<TPlatformWindow> w = palette->CreateWindow({0, 0, 16, 16});
  EXPECT_EQ(w->Surface().BitsPerPixel(), 8);
  EXPECT_EQ(w->Surface().ColorTable.size(), 256u) << "the halftone palette";
}

TEST(HeadlessBackend, OnlyPresentedRectanglesReachTheScreen) {
  auto b = CreateHeadlessBackend();
  std::unique_ptr<TPlatformWindow> holder;
  THeadlessWindow& w = Show(*b, holder, Bounds(10, 20, 40, 30));
  TDrawContext dc(&w.Surface());
  dc.FillRect({0, 0, 40, 30}, TBrushData{clRed, bsSolid, nullptr});
  w.Present({0, 0, 20, 30});
  EXPECT_EQ(w.Presented().PixelRGB(19, 5), 0x0000FFu);
  EXPECT_EQ(w.Presented().PixelRGB(20, 5), 0x000000u);
  EXPECT_EQ(w.PresentCount(), 1);
}

TEST(HeadlessBackend, ScreenshotsEqualWhatWasDrawn) {
  auto b = CreateHeadlessBackend({64, 48, 32, 96, {}});
  std::unique_ptr<TPlatformWindow> lowHolder, highHolder;
  THeadlessWindow& low = Show(*b, lowHolder, Bounds(4, 4, 20, 10));
  THeadlessWindow& high = Show(*b, highHolder, Bounds(10, 6, 8, 8));
  TDrawContext lowDc(&low.Surface());
  lowDc.FillRect({0, 0, 20, 10}, TBrushData{clLime, bsSolid, nullptr});
  lowDc.SetPixel(3, 2, RGB(10, 20, 30));
  low.Present({0, 0, 20, 10});
  TDrawContext highDc(&high.Surface());
  highDc.FillRect({0, 0, 8, 8}, TBrushData{clBlue, bsSolid, nullptr});
  high.Present({0, 0, 8, 8});

  const std::string windowPath = TempPath("velmorath_headless_window.png");
  b->SaveWindowImage(low, windowPath);
  TDecoded shot = ReadPng(windowPath);
  ASSERT_EQ(shot.Width, 20);
  ASSERT_EQ(shot.Height, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(shot.At(x, y), low.Surface().PixelRGB(x, y)) << x << "," << y;
  EXPECT_EQ(shot.At(3, 2), uint32_t(RGB(10, 20, 30)));

  const std::string screenPath = TempPath("velmorath_headless_screen.png");
  b->SaveScreenImage(screenPath);
  TDecoded screen = ReadPng(screenPath);
  ASSERT_EQ(screen.Width, 64);
  EXPECT_EQ(screen.At(0, 0), 0x984E00u) << "desktop background 0,78,152";
  EXPECT_EQ(screen.At(5, 5), 0x00FF00u);
  EXPECT_EQ(screen.At(12, 8), 0xFF0000u) << "the later window is on top";
  low.BringToFront();
  EXPECT_EQ(b->ScreenImage()->PixelRGB(12, 8), 0x00FF00u);
  std::filesystem::remove(windowPath);
  std::filesystem::remove(screenPath);
}

TEST(HeadlessBackend, WaitingAdvancesTheVirtualClockUnlessInputIsPending) {
  auto b = CreateHeadlessBackend();
  EXPECT_EQ(b->TickCount(), 0u);
  b->WaitForEvents(250);
  EXPECT_EQ(b->TickCount(), 250u);
  b->MoveMouse({1, 1});
  b->WaitForEvents(100);
  EXPECT_EQ(b->TickCount(), 250u) << "pending input ends the wait at once";
  b->Wake();
  TInputEvent e;
  while (b->PollEvent(e)) {}
  b->WaitForEvents(100);
  EXPECT_EQ(b->TickCount(), 250u) << "a wake ends the next wait";
  EXPECT_EQ(b->WakeUps(), 3);
}

TEST(HeadlessBackend, LocalTimeRunsWithTheClockAcrossMidnight) {
  auto b = CreateHeadlessBackend({640, 480, 32, 96, {2024, 2, 28, 23, 59, 59, 500, 3}});
  b->AdvanceClock(600);
  EXPECT_EQ(b->LocalTime(), (TLocalTime{2024, 2, 29, 0, 0, 0, 100, 4}));
  b->AdvanceClock(24 * 3600 * 1000);
  EXPECT_EQ(b->LocalTime(), (TLocalTime{2024, 3, 1, 0, 0, 0, 100, 5}));
}

TEST(HeadlessBackend, AWindowKeepsTheMouseWhileAButtonPressedInItIsHeld) {
  auto b = CreateHeadlessBackend();
  std::unique_ptr<TPlatformWindow> aHolder, bHolder;
  THeadlessWindow& a = Show(*b, aHolder, Bounds(0, 0, 50, 50));
  THeadlessWindow& other = Show(*b, bHolder, Bounds(100, 0, 50, 50));
  b->SetModifiers(imShift);
  b->PressMouse(ibLeft, {10, 10});
  b->MoveMouse({120, 10});
  b->ReleaseMouse(ibLeft, {120, 10});
  b->MoveMouse({121, 10});
  std::vector<TInputEvent> events;
  TInputEvent e;
  while (b->PollEvent(e)) events.push_back(e);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].Window, &a);
  EXPECT_EQ(events[0].Modifiers, uint32_t(imShift | imLeft));
  EXPECT_EQ(events[1].Window, &a) << "dragged out, still the pressed window";
  EXPECT_EQ(events[2].Window, &a);
  EXPECT_EQ(events[2].Modifiers, uint32_t(imShift));
  EXPECT_EQ(events[3].Window, &other);
  EXPECT_EQ(b->CursorPos(), (TPoint{121, 10}));
  EXPECT_EQ(b->WindowAt({500, 500}), nullptr);
}
