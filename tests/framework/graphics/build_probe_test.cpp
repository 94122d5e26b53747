#include <gtest/gtest.h>
#include "framework/graphics/bitmap.h"
#include "framework/graphics/canvas.h"
TEST(Probe, Builds) { TBitmap b; b.SetSize(2, 2); b.Canvas().FillRect({0, 0, 2, 2}); }
