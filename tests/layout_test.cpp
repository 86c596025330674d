#include "layout.h"

#include <gtest/gtest.h>

using form1::ColumnLeft;
using form1::GrownPixels;
using form1::ListViewBox;

TEST(Layout, ListViewTakesAllButTheColumnAndTheColumnFollowsItsWidth) {
    const form1::Box design = ListViewBox(424, 359, 265);
    EXPECT_EQ(design.left, 0);
    EXPECT_EQ(design.top, 0);
    EXPECT_EQ(design.width, 274);
    EXPECT_EQ(design.height, 359);
    EXPECT_EQ(ColumnLeft(design.width), 294);

    EXPECT_EQ(ListViewBox(150, 80, 274).width, 0);
    EXPECT_EQ(ColumnLeft(0), 20);

    // Narrower than the column: the width stays, the height still follows.
    const form1::Box narrow = ListViewBox(149, 80, 274);
    EXPECT_EQ(narrow.width, 274);
    EXPECT_EQ(narrow.height, 80);
    EXPECT_EQ(ListViewBox(0, 0, 12).width, 12);
}

TEST(Layout, GrowthIs750TwipsInTheDisplaysOwnTwipsPerPixel) {
    EXPECT_EQ(GrownPixels(432, 96), 482);  // 15 twips a pixel: exactly 50
    EXPECT_EQ(GrownPixels(0, 96), 50);
    EXPECT_EQ(GrownPixels(432, 144), 507);  // 10 twips a pixel: 75
    EXPECT_EQ(GrownPixels(432, 192), 532);  // 7.5 twips a pixel: 100
    EXPECT_EQ(GrownPixels(432, 120), 495);  // 12 twips a pixel: 62.5, rounded up
    EXPECT_EQ(form1::TwipsFromPixels(432, 96), 6480);
    EXPECT_EQ(form1::PixelsFromTwips(6480, 96), 432);
}
