#include <gtest/gtest.h>

#include "framework/graphics/accelerator.h"
#include "framework/graphics/canvas.h"
#include "framework/graphics/bitmap.h"
#include "framework/graphics/font.h"
#include "framework/graphics/text_layout.h"
#include "framework/graphics/text_measure.h"

TEST(Accelerator, MarksResolveAsTheTextEngineDrawsThem) {
  EXPECT_EQ(AcceleratorOf("&About"), 'A');
  EXPECT_EQ(AcceleratorOf("Cl&ose"), 'o');
  EXPECT_EQ(AcceleratorOf("Fish && &Chips"), 'C');
  EXPECT_EQ(AcceleratorOf("&&"), 0);
  EXPECT_EQ(AcceleratorOf("End&"), 0);
  EXPECT_EQ(AcceleratorOf(""), 0);

  const TAcceleratorSplit split = SplitAtAccelerator("a&&b&cd&e");
  EXPECT_EQ(split.Before, "a&b");
  EXPECT_EQ(split.Marked, "c");
  EXPECT_EQ(split.After, "de");  // only the first mark underlines; later ones just vanish
  EXPECT_EQ(StripAccelerators("Lone&"), "Lone");
  EXPECT_EQ(StripAccelerators("&&&x"), "&x");
}

TEST(Accelerator, TypedCharacterMatchesEitherCase) {
  EXPECT_TRUE(IsAccelerator('a', "&About"));
  EXPECT_TRUE(IsAccelerator('O', "Cl&ose"));
  EXPECT_FALSE(IsAccelerator('b', "&About"));
  EXPECT_FALSE(IsAccelerator('&', "A&&B"));
  EXPECT_FALSE(IsAccelerator(0, "plain"));
}

TEST(TextMeasure, AgreesWithTheCanvasAndTheTextBlock) {
  TFont font;
  font.SetName("Arial");
  font.SetSize(8);
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.Canvas().Font().CopyFrom(&font);
  EXPECT_EQ(MeasureLine(font, "Model group"), scratch.Canvas().TextExtent("Model group"));

  const std::string text = "two words\tand a tab\r\nsecond line";
  const unsigned format = tfWordBreak | tfExpandTabs | tfCenter;
  TRect rect{0, 0, 60, 0};
  const int height = scratch.Canvas().DrawTextBlock(text, rect, format | tfCalcRect);
  const TSize block = MeasureBlock(font, text, format, 60);
  EXPECT_EQ(block.cy, height);
  EXPECT_EQ(block.cx, rect.Width());
  EXPECT_GT(block.cy, MeasureLine(font, "x").cy * 2);  // the word break made more lines
}
