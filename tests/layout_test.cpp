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
