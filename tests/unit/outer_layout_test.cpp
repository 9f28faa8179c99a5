#include <gtest/gtest.h>

#include "outer_layout.h"

using namespace launcher;

TEST(OuterLayout, FitsDesignSizeOnALargeScreen) {
    OuterLayout layout = ComputeOuterLayout(96, 96, RECT{0, 0, 1024, 738});
    EXPECT_EQ(layout.width, 800);
    EXPECT_EQ(layout.height, 600);
    EXPECT_FALSE(layout.horizontal.enabled);
    EXPECT_FALSE(layout.vertical.enabled);
}

TEST(OuterLayout, LowWorkAreaScrollsVertically) {
    // 1024 x 600 screen with a 40-pixel task bar.
    OuterLayout layout = ComputeOuterLayout(96, 96, RECT{0, 0, 1024, 560});
    EXPECT_EQ(layout.width, 800);
    EXPECT_EQ(layout.height, 560);
    EXPECT_TRUE(layout.vertical.enabled);
    EXPECT_EQ(layout.vertical.maximum, 40);
    EXPECT_FALSE(layout.horizontal.enabled);
}

TEST(OuterLayout, ScalesWithDotsPerInch) {
    OuterLayout layout = ComputeOuterLayout(144, 120, RECT{0, 0, 1100, 700});
    EXPECT_EQ(layout.width, 1100);  // 1200 scaled, cut to the work area
    EXPECT_TRUE(layout.horizontal.enabled);
    EXPECT_EQ(layout.horizontal.maximum, 100);
    EXPECT_EQ(layout.height, 700);  // 750 scaled
    EXPECT_EQ(layout.vertical.maximum, 50);
}
