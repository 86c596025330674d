#include "layout.h"

#include <gtest/gtest.h>

using namespace form1;

TEST(Layout, ListViewTakesAllButTheColumnAndKeepsItsWidthWhenNarrower) {
    const Box design = ListViewBox(424, 359, 265);
    EXPECT_EQ(design.left, 0);
    EXPECT_EQ(design.top, 0);
    EXPECT_EQ(design.width, 274);
    EXPECT_EQ(design.height, 359);
    EXPECT_EQ(ListViewBox(150, 80, 274).width, 0);
    EXPECT_EQ(ListViewBox(149, 80, 274).width, 274);
    EXPECT_EQ(ListViewBox(149, 80, 274).height, 80);  // the height still follows
    EXPECT_EQ(ColumnLeft(274), 294);
}

TEST(Layout, GrowthIs750TwipsInTheDisplaysOwnTwipsPerPixel) {
    const int cases[][3] = {{432, 96, 482},    // 15 twips a pixel: exactly 50
                            {432, 144, 507},   // 10: 75
                            {432, 192, 532},   // 7.5: 100
                            {432, 120, 495}};  // 12: 62.5, rounded up
    for (const auto& c : cases) EXPECT_EQ(GrownPixels(c[0], c[1]), c[2]) << c[1] << " dpi";
}
