#include "paint_report.h"
#include "random_draws.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

using probe::ChannelFromDraw;
using probe::ColourFromDraws;
using probe::NextPaintCount;
using probe::PaintCountText;
using probe::PaintReportText;

TEST(ReportText, FourLinesJoinedByCrLfWithNothingAfterTheLast) {
    EXPECT_EQ(PaintReportText({2, 300, 250, 330}),
              "Left: 2\r\nTop: 300\r\nRight: 250\r\nBottom: 330");
    EXPECT_EQ(PaintReportText({-3, 0, 0, -1}), "Left: -3\r\nTop: 0\r\nRight: 0\r\nBottom: -1");
    const int32_t lo = std::numeric_limits<int32_t>::min();
    const int32_t hi = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(PaintReportText({lo, hi, 1000000, 9999}),
              "Left: -2147483648\r\nTop: 2147483647\r\nRight: 1000000\r\nBottom: 9999");
}

TEST(PaintCount, RunsFromOneToNineThousandNineHundredNinetyNineAndWraps) {
    EXPECT_EQ(NextPaintCount(0), 1);
    EXPECT_EQ(NextPaintCount(1), 2);
    EXPECT_EQ(NextPaintCount(9998), 9999);
    EXPECT_EQ(NextPaintCount(9999), 1);
    // A count that was overwritten out of range must not overflow or stick.
    EXPECT_EQ(NextPaintCount(-5), 1);
    EXPECT_EQ(NextPaintCount(std::numeric_limits<int32_t>::max()), 1);

    int32_t count = 0;
    std::vector<int32_t> seen;
    for (int i = 0; i < 2 * 9999 + 2; ++i) {
        count = NextPaintCount(count);
        ASSERT_GE(count, 1);
        ASSERT_LE(count, 9999);
        if (i == 0 || i == 9998 || i == 9999 || i == 2 * 9999) seen.push_back(count);
    }
    EXPECT_THAT(seen, testing::ElementsAre(1, 9999, 1, 1));

    EXPECT_EQ(PaintCountText(1), "WM_PAINT Count: 1");
    EXPECT_EQ(PaintCountText(9999), "WM_PAINT Count: 9999");
}

TEST(Colour, ChannelIsDrawTimes255RoundedHalfToEven) {
    EXPECT_EQ(ChannelFromDraw(0.0), 0);
    EXPECT_EQ(ChannelFromDraw(0.5), 128);  // 127.5: the tie goes to the even 128
    EXPECT_EQ(ChannelFromDraw(std::nextafter(1.0, 0.0)), 255);
    EXPECT_EQ(ChannelFromDraw(1.0 / 255), 1);
    EXPECT_EQ(ChannelFromDraw(0.499 / 255), 0);
    EXPECT_EQ(ChannelFromDraw(0.501 / 255), 1);

    // Against the FPU's own ties-to-even rounding, over the whole range and
    // in particular at every exact tie k + 0.5 that a draw can hit.
    for (int k = 0; k < 255; ++k) {
        const double tie = (k + 0.5) / 255;
        if (tie * 255 == k + 0.5) {
            EXPECT_EQ(ChannelFromDraw(tie), k % 2 == 0 ? k : k + 1) << "tie at " << k;
        }
    }
    probe::SeedDraws(7);
    for (int i = 0; i < 100000; ++i) {
        const double draw = probe::NextDraw();
        ASSERT_EQ(ChannelFromDraw(draw), static_cast<int>(std::nearbyint(draw * 255))) << draw;
    }
}

TEST(Colour, ChannelsGoRedGreenBlueIntoAColorref) {
    EXPECT_EQ(ColourFromDraws(0.0, 0.0, 0.0), 0x000000u);
    EXPECT_EQ(ColourFromDraws(1.0 / 255, 2.0 / 255, 3.0 / 255), 0x030201u);
    EXPECT_EQ(ColourFromDraws(0.5, 0.0, std::nextafter(1.0, 0.0)), 0xFF0080u);
}

TEST(RandomDraws, UniformOverZeroToOneAndRepeatableFromASeed) {
    probe::SeedDraws(12345);
    std::vector<double> first;
    double sum = 0;
    int buckets[10] = {};
    for (int i = 0; i < 100000; ++i) {
        const double draw = probe::NextDraw();
        ASSERT_GE(draw, 0.0);
        ASSERT_LT(draw, 1.0);
        if (i < 5) first.push_back(draw);
        sum += draw;
        ++buckets[static_cast<int>(draw * 10)];
    }
    EXPECT_NEAR(sum / 100000, 0.5, 0.01);
    for (int b : buckets) EXPECT_NEAR(b, 10000, 600);

    probe::SeedDraws(12345);
    for (double d : first) EXPECT_EQ(probe::NextDraw(), d);

    probe::SeedDrawsFromTimeOfDay();
    std::vector<double> timed;
    for (int i = 0; i < 5; ++i) timed.push_back(probe::NextDraw());
    EXPECT_NE(timed, first);
}

TEST(RandomDraws, AReplacementSourceTakesOverUntilRemoved) {
    std::vector<double> script = {0.25, 0.75};
    size_t next = 0;
    probe::ReplaceDraws([&] { return script[next++ % script.size()]; });
    EXPECT_EQ(probe::NextDraw(), 0.25);
    EXPECT_EQ(probe::NextDraw(), 0.75);
    probe::ReplaceDraws({});
    probe::SeedDraws(1);
    const double a = probe::NextDraw();
    probe::SeedDraws(1);
    EXPECT_EQ(probe::NextDraw(), a);
    EXPECT_EQ(next, 2u);
}
