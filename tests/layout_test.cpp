#include "layout.h"

#include <gtest/gtest.h>

// The layout itself is checked on Form1 (form1_test.cpp); growth at other
// dots per inch only here.
TEST(Layout, GrowthIs750TwipsInTheDisplaysOwnTwipsPerPixel) {
    const int cases[][3] = {{432, 96, 482},    // 15 twips a pixel: exactly 50
                            {432, 144, 507},   // 10: 75
                            {432, 192, 532},   // 7.5: 100
                            {432, 120, 495}};  // 12: 62.5, rounded up
    for (const auto& c : cases) EXPECT_EQ(form1::GrownPixels(c[0], c[1]), c[2]) << c[1] << " dpi";
}

// The design and the column at other scales, rounded as MulDiv rounds.
TEST(Layout, TheColumnAndTheDesignScaleWithTheDisplay) {
    const int cases[][5] = {// dpi, client width 424, column 150, gap 20, list view width
                            {96, 424, 150, 20, 274},
                            {120, 530, 188, 25, 342},
                            {144, 636, 225, 30, 411},
                            {192, 848, 300, 40, 548}};
    for (const auto& c : cases) {
        EXPECT_EQ(form1::Scaled(424, c[0]), c[1]) << c[0] << " dpi";
        EXPECT_EQ(form1::ListViewBox(c[1], 400, 99, c[0]).width, c[4]) << c[0] << " dpi";
        EXPECT_EQ(form1::ListViewBox(c[3], 400, 99, c[0]).width, 99) << c[0] << " dpi: too narrow";
        EXPECT_EQ(form1::ColumnLeft(c[4], c[0]), c[4] + c[3]) << c[0] << " dpi";
    }
}
