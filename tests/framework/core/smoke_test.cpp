#include <gtest/gtest.h>
#include "framework/core/component.h"
#include "framework/typeinfo/class_info.h"
TEST(Smoke, Builds) { TComponent c(nullptr); c.SetName("A"); EXPECT_EQ(c.Name(), "A"); }
