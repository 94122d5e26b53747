// Frame styles on all sides and on subsets of sides, bevel bands, tinted frames and the
// focus frame. Every frame is drawn on (1, 1, 7, 6) of an 8 x 7 surface, so the pictures
// also show that nothing is drawn outside the rectangle.
#include <gtest/gtest.h>

#include "tests/widgets/pixel_pattern.h"
#include "widgets/frame_drawing.h"

namespace {
constexpr TRect kFrame = {1, 1, 7, 6};

struct FrameDrawing : ::testing::Test {
  std::unique_ptr<TBitmap> surface = MakeCanvasBitmap(8, 7);
  TCanvas& canvas = surface->Canvas();
  TRect Frame(TFrameStyle style, TSides sides = AllSides) { return DrawFrameSides(canvas, kFrame, style, sides); }
};

TEST_F(FrameDrawing, NoneDrawsNothingAndKeepsTheRectangle) {
  EXPECT_EQ(DrawFrame(canvas, kFrame, fsNone), kFrame);
  EXPECT_PICTURE(*surface, SystemLegend(), "........", "........", "........", "........", "........", "........",
                 "........");
}

TEST_F(FrameDrawing, FlatIsOneDarkShadowRing) {
  EXPECT_EQ(Frame(fsFlat), (TRect{2, 2, 6, 5}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".DDDDDD.", ".D....D.", ".D....D.", ".D....D.", ".DDDDDD.",
                 "........");
}

TEST_F(FrameDrawing, StatusAndPopupGiveTheCornersToTheRightAndBottom) {
  EXPECT_EQ(Frame(fsStatus), (TRect{2, 2, 6, 5}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SSSSSH.", ".S....H.", ".S....H.", ".S....H.", ".HHHHHH.",
                 "........");
  Frame(fsPopup);
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".HHHHHS.", ".H....S.", ".H....S.", ".H....S.", ".SSSSSS.",
                 "........");
}

TEST_F(FrameDrawing, FlatBoldIsTwoShadowRings) {
  canvas.Pen().SetWidth(3);  // the band draws with a 1-pixel pen whatever was set
  EXPECT_EQ(Frame(fsFlatBold), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SSSSSS.", ".SSSSSS.", ".SS..SS.", ".SSSSSS.", ".SSSSSS.",
                 "........");
}

TEST_F(FrameDrawing, LoweredAndRaisedEdges) {
  EXPECT_EQ(Frame(fsLowered), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SSSSSH.", ".SDDDLH.", ".SD..LH.", ".SLLLLH.", ".HHHHHH.",
                 "........");
  EXPECT_EQ(Frame(fsRaised), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".LLLLLD.", ".LHHHSD.", ".LH..SD.", ".LSSSSD.", ".DDDDDD.",
                 "........");
}

TEST_F(FrameDrawing, ButtonEdges) {
  EXPECT_EQ(Frame(fsButtonUp), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".HHHHHD.", ".HLLLSD.", ".HL..SD.", ".HSSSSD.", ".DDDDDD.",
                 "........");
  EXPECT_EQ(DrawButtonEdge(canvas, kFrame, true), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".TTTTTT.", ".TSSSST.", ".TS..ST.", ".TSSSST.", ".TTTTTT.",
                 "........");
}

TEST_F(FrameDrawing, GrooveAndBumpAreEtched) {
  EXPECT_EQ(Frame(fsGroove), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SSSSSH.", ".SHHHSH.", ".SH..SH.", ".SSSSSH.", ".HHHHHH.",
                 "........");
  EXPECT_EQ(Frame(fsBump), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".HHHHHS.", ".HSSSHS.", ".HS..HS.", ".HHHHHS.", ".SSSSSS.",
                 "........");
}

TEST_F(FrameDrawing, UnknownStylesDrawAsBump) {
  EXPECT_EQ(Frame(TFrameStyle(11)), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".HHHHHS.", ".HSSSHS.", ".HS..HS.", ".HHHHHS.", ".SSSSSS.",
                 "........");
}

TEST_F(FrameDrawing, SubsetsOfSidesShrinkOnlyThoseSides) {
  EXPECT_EQ(Frame(fsStatus, {sdLeft, sdTop}), (TRect{2, 2, 7, 6}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SSSSSS.", ".S......", ".S......", ".S......", ".S......",
                 "........");
  surface = MakeCanvasBitmap(8, 7);
  EXPECT_EQ(DrawFrameSides(surface->Canvas(), kFrame, fsStatus, {sdRight, sdBottom}), (TRect{1, 1, 6, 5}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", "......H.", "......H.", "......H.", "......H.", ".HHHHHH.",
                 "........");
  surface = MakeCanvasBitmap(8, 7);
  EXPECT_EQ(DrawFrameSides(surface->Canvas(), kFrame, fsLowered, {sdBottom}), (TRect{1, 1, 7, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", "........", "........", "........", ".LLLLLL.", ".HHHHHH.",
                 "........");
}

TEST_F(FrameDrawing, EtchedCornersOnSubsetsOfSides) {
  EXPECT_EQ(Frame(fsGroove, {sdLeft, sdTop}), (TRect{3, 3, 7, 6}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SSSSSS.", ".SHHHHH.", ".SH.....", ".SH.....", ".SH.....",
                 "........");
  surface = MakeCanvasBitmap(8, 7);
  EXPECT_EQ(DrawFrameSides(surface->Canvas(), kFrame, fsGroove, {sdRight, sdBottom}), (TRect{1, 1, 5, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".....SH.", ".....SH.", ".....SH.", ".SSSSSH.", ".HHHHHH.",
                 "........");
  surface = MakeCanvasBitmap(8, 7);
  EXPECT_EQ(DrawFrameSides(surface->Canvas(), kFrame, fsGroove, {sdTop}), (TRect{1, 3, 7, 6}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SSSSSS.", ".HHHHHH.", "........", "........", "........",
                 "........");
  surface = MakeCanvasBitmap(8, 7);
  EXPECT_EQ(DrawFrameSides(surface->Canvas(), kFrame, fsGroove, {sdLeft, sdRight}), (TRect{3, 1, 5, 6}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", ".SH..SH.", ".SH..SH.", ".SH..SH.", ".SH..SH.", ".SH..SH.",
                 "........");
  surface = MakeCanvasBitmap(8, 7);
  EXPECT_EQ(DrawFrameSides(surface->Canvas(), kFrame, fsBump, {sdBottom}), (TRect{1, 1, 7, 4}));
  EXPECT_PICTURE(*surface, SystemLegend(), "........", "........", "........", "........", ".HHHHHH.", ".SSSSSS.",
                 "........");
}

TEST_F(FrameDrawing, BevelBandWidths) {
  EXPECT_EQ(DrawBevelBand(canvas, kFrame, clRed, clBlue, 0, AllSides), kFrame);
  EXPECT_EQ(DrawBevelBand(canvas, kFrame, clRed, clBlue, -2, AllSides), kFrame);
  const TLegend legend = {{'r', 0x0000FF}, {'b', 0xFF0000}};
  EXPECT_PICTURE(*surface, legend, "........", "........", "........", "........", "........", "........",
                 "........");
  EXPECT_EQ(DrawBevelBand(canvas, kFrame, clRed, clBlue, 2, {sdLeft, sdBottom}), (TRect{3, 1, 7, 4}));
  EXPECT_PICTURE(*surface, legend, "........", ".rr.....", ".rr.....", ".rr.....", ".rbbbbb.", ".bbbbbb.",
                 "........");
}

// Shades of 0xF48D6A: darker by 50 and 100, lighter by 40, 50 and 100.
const TLegend kTints = {{'d', 0xE44211}, {'x', 0x812509}, {'4', 0xFAC9BA}, {'l', 0xFBD8CE}, {'w', 0xFFFFFF}};
constexpr TColor kTint = TColor(0xF48D6A);

TEST_F(FrameDrawing, TintedSingleSteps) {
  EXPECT_EQ(DrawTintedFrame(canvas, kFrame, kTint, fsFlat), (TRect{2, 2, 6, 5}));
  EXPECT_PICTURE(*surface, kTints, "........", ".dddddd.", ".d....d.", ".d....d.", ".d....d.", ".dddddd.", "........");
  DrawTintedFrame(canvas, kFrame, kTint, fsStatus);
  EXPECT_PICTURE(*surface, kTints, "........", ".dddddw.", ".d....w.", ".d....w.", ".d....w.", ".wwwwww.", "........");
  DrawTintedFrame(canvas, kFrame, kTint, fsPopup);
  EXPECT_PICTURE(*surface, kTints, "........", ".wwwwwd.", ".w....d.", ".w....d.", ".w....d.", ".dddddd.", "........");
  EXPECT_EQ(DrawTintedFrame(canvas, kFrame, kTint, fsNone), kFrame);
}

TEST_F(FrameDrawing, TintedTwoRingStyles) {
  EXPECT_EQ(DrawTintedFrame(canvas, kFrame, kTint, fsLowered), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, kTints, "........", ".dddddw.", ".dxxxlw.", ".dx..lw.", ".dllllw.", ".wwwwww.", "........");
  DrawTintedFrame(canvas, kFrame, kTint, fsRaised);
  EXPECT_PICTURE(*surface, kTints, "........", ".lllllx.", ".lwwwdx.", ".lw..dx.", ".lddddx.", ".xxxxxx.", "........");
  EXPECT_EQ(DrawTintedFrame(canvas, kFrame, kTint, fsFlatBold), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, kTints, "........", ".dddddd.", ".dddddd.", ".dd..dd.", ".dddddd.", ".dddddd.", "........");
}

TEST_F(FrameDrawing, TintedButtonEdges) {
  EXPECT_EQ(DrawTintedFrame(canvas, kFrame, kTint, fsButtonUp), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, kTints, "........", ".wwwwwx.", ".w444dx.", ".w4..dx.", ".wddddx.", ".xxxxxx.", "........");
  EXPECT_EQ(DrawTintedButtonEdge(canvas, kFrame, kTint, true), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, kTints, "........", ".xxxxxx.", ".xddddx.", ".xd..dx.", ".xddddx.", ".xxxxxx.", "........");
  surface = MakeCanvasBitmap(8, 7);
  EXPECT_EQ(DrawTintedFrameSides(surface->Canvas(), kFrame, kTint, fsButtonDown, {sdTop}), (TRect{1, 3, 7, 6}));
  EXPECT_PICTURE(*surface, kTints, "........", ".xxxxxx.", ".dddddd.", "........", "........", "........", "........");
}

TEST_F(FrameDrawing, TintedEtchedStyles) {
  EXPECT_EQ(DrawTintedFrame(canvas, kFrame, kTint, fsGroove), (TRect{3, 3, 5, 4}));
  EXPECT_PICTURE(*surface, kTints, "........", ".dddddw.", ".dwwwdw.", ".dw..dw.", ".dddddw.", ".wwwwww.", "........");
  DrawTintedFrame(canvas, kFrame, kTint, fsBump);
  EXPECT_PICTURE(*surface, kTints, "........", ".wwwwwd.", ".wdddwd.", ".wd..wd.", ".wwwwwd.", ".dddddd.", "........");
}

const TLegend kDots = {{'k', 0x000000}};

TEST(FocusFrame, DotsStartOnePixelFromTheTopLeft) {
  auto surface = MakeCanvasBitmap(9, 7);
  EXPECT_EQ(DrawFocusFrame(surface->Canvas(), {1, 1, 8, 6}), (TRect{2, 2, 7, 5}));
  EXPECT_PICTURE(*surface, kDots, ".........", "..k.k.k..", ".k.....k.", ".........", ".k.....k.",
                 "..k.k.k..", ".........");
}

TEST(FocusFrame, EvenSizedFrame) {
  auto surface = MakeCanvasBitmap(6, 6);
  EXPECT_EQ(DrawFocusFrame(surface->Canvas(), {0, 0, 6, 6}), (TRect{1, 1, 5, 5}));
  EXPECT_PICTURE(*surface, kDots, ".k.k.k", "k....k", "......", "k....k", "......", "kk.k.k");
}
}  // namespace
