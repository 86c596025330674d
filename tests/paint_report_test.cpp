#include "paint_report.h"
#include "random_draws.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace probe;

TEST(ReportText, FourLinesJoinedByCrLfWithNothingAfterTheLast) {
    EXPECT_EQ(PaintReportText({2, 300, 250, 330}),
              "Left: 2\r\nTop: 300\r\nRight: 250\r\nBottom: 330");
    EXPECT_EQ(PaintReportText({-3, 0, INT32_MIN, INT32_MAX}),
              "Left: -3\r\nTop: 0\r\nRight: -2147483648\r\nBottom: 2147483647");
}

TEST(PaintCount, RunsFromOneTo9999AndWrapsToOneNeverZero) {
    const int32_t cases[][2] = {{0, 1},
                                {1, 2},
                                {9998, 9999},
                                {9999, 1},
                                // overwritten out of range: restarts, never overflows
                                {-5, 1},
                                {std::numeric_limits<int32_t>::max(), 1}};
    for (const auto& c : cases) EXPECT_EQ(NextPaintCount(c[0]), c[1]) << c[0];
}

TEST(Colour, ChannelIsDrawTimes255RoundedHalfToEven) {
    EXPECT_EQ(ChannelFromDraw(0.0), 0);
    EXPECT_EQ(ChannelFromDraw(0.5), 128);  // 127.5: the tie goes to the even 128
    EXPECT_EQ(ChannelFromDraw(std::nextafter(1.0, 0.0)), 255);
    // Every exact tie k + 0.5 a draw can hit, and the FPU's own ties-to-even
    // rounding over the whole range.
    for (int k = 0; k < 255; ++k) {
        if ((k + 0.5) / 255 * 255 == k + 0.5) {
            EXPECT_EQ(ChannelFromDraw((k + 0.5) / 255), k % 2 == 0 ? k : k + 1) << "tie at " << k;
        }
    }
    SeedDraws(7);
    for (int i = 0; i < 100000; ++i) {
        const double draw = NextDraw();
        ASSERT_EQ(ChannelFromDraw(draw), static_cast<int>(std::nearbyint(draw * 255))) << draw;
    }
}

TEST(RandomDraws, UniformOverZeroToOne) {
    SeedDraws(12345);
    int buckets[10] = {};
    for (int i = 0; i < 100000; ++i) {
        const double draw = NextDraw();
        ASSERT_TRUE(draw >= 0.0 && draw < 1.0) << draw;
        ++buckets[static_cast<int>(draw * 10)];
    }
    for (int b : buckets) EXPECT_NEAR(b, 10000, 600);
}
