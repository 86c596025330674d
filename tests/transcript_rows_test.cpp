#include "transcript_rows.h"
#include "paint_compare.h"

#include <gmock/gmock.h>

using namespace transcript;
using testing::ElementsAre;
using testing::ElementsAreArray;

TEST(TranscriptReport, OnlyTheExactFourLineFormIsWellFormed) {
    Rect r;
    ASSERT_TRUE(ParseReport("Left: -3\r\nTop: 300\r\nRight: 250\r\nBottom: -2147483648", r));
    EXPECT_TRUE((r == Rect{-3, 300, 250, INT32_MIN}));
    for (const char* bad : {"Left: 2\r\nTop: 3\r\nRight: 4\r\nBottom: 5\r\n",  // trailing break
                            "Left:  2\r\nTop: 3\r\nRight: 4\r\nBottom: 5",     // two blanks
                            "Left: 02\r\nTop: 3\r\nRight: 4\r\nBottom: 5",     // leading zero
                            "Left: 2\r\nTop: 3\r\nRight: 4\r\nBottom: 2147483648", ""})
        EXPECT_FALSE(ParseReport(bad, r)) << bad;
    int count = 0;
    EXPECT_TRUE(ParseCount("WM_PAINT Count: 9999", count) && count == 9999);
    for (const char* bad : {"WM_PAINT Count: 0", "WM_PAINT Count: 10000", "WM_PAINT Count:1"})
        EXPECT_FALSE(ParseCount(bad, count)) << bad;
}

TEST(TranscriptReplay, IsComparedRowByRowColoursApart) {
    const std::vector<Rect> region = {{270, 0, 320, 438}, {0, 438, 320, 488}};
    const PaintRow a = {1,      "drag bottom +10",      432, 396, 424, 369, 2, {0, 338, 270, 348},
                        region, ColourText(0x00FF8001), 266, 433};
    EXPECT_EQ(a.colour, "#0180ff");
    PaintRow empty = a;
    empty.step = 10;
    empty.region = {};
    EXPECT_TRUE(CompareExact({a, empty}, {a, empty}).empty());
    PaintRow moved = a;
    moved.colour = "#000000";  // colours are random: never a difference
    moved.region[1].bottom = 489;
    EXPECT_THAT(CompareExact({a, empty}, {moved}, "reference", "this run"),
                ElementsAre(testing::StartsWith("row 1: reference: step 1 drag bottom +10"),
                            testing::StartsWith("       this run: step 1 drag bottom +10"),
                            testing::StartsWith("row 2: only in reference: step 10")));
    EXPECT_THAT(CompareExact({a}, {moved})[0], testing::HasSubstr("0,438,320,488"));
    EXPECT_THAT(CompareExact({a}, {moved})[1], testing::HasSubstr("0,438,320,489"));
}

// Two systems: paints aligned by step, paints told from frames.
TEST(TranscriptCompare, AlignsPaintsByStepAndTellsPaintsFromFrames) {
    auto paint = [](int step, int y) {  // a strip at y
        const Rect strip = {0, y, 9, y + 1};
        return PaintRow{step, "drag", 432, 400, 424, 369, step, strip, {strip}, "", 9, 99};
    };
    const std::vector<PaintRow> a = {paint(1, 10), paint(2, 20), paint(3, 30)};
    std::vector<PaintRow> framed = a, moved = a, extra = a, missing = a;
    for (PaintRow& r : framed) r.outerHeight += 7, r.count += 5;  // counts never compared
    moved[1].reported.bottom = 22;
    moved[2].region[0].top = 29;
    moved[2].outerHeight = 407;
    extra.insert(extra.begin() + 2, paint(2, 25));  // a second paint in step 2
    missing.erase(missing.begin() + 1);
    const std::vector<std::string> same = {"paints: 3 of 3 alike", "frames: alike at every paint"};
    const struct {
        std::vector<PaintRow> b;
        std::vector<std::string> summaryAndListing;
    } cases[] = {
        {a, same},
        {framed, {"paints: 3 of 3 alike", "frames differ at 3 paints: outer height +7 at 3"}},
        {moved,
         {"paints: 1 of 3 alike; 2 differ", "frames differ at 1 paint: outer height +7 at 1",
          "step 2 drag, paint 1: reported 0,20,9,21 / 0,20,9,22",
          "step 3 drag, paint 1: region 0,30,9,31 / 0,29,9,31; frame differs too: outer 432x400 "
          "/ 432x407"}},
        {extra,
         {"paints: 3 of 4 alike; 1 only in B", same[1],
          "step 2 drag, paint 2: only in B: reported 0,25,9,26, region 0,25,9,26"}},
        {missing,
         {"paints: 2 of 3 alike; 1 only in A", same[1],
          "step 2 drag, paint 1: only in A: reported 0,20,9,21, region 0,20,9,21"}},
        {{a[0]},  // a shorter file
         {"paints: 1 of 3 alike; 2 only in A", same[1],
          "step 2 drag, paint 1: only in A: reported 0,20,9,21, region 0,20,9,21",
          "step 3 drag, paint 1: only in A: reported 0,30,9,31, region 0,30,9,31"}},
    };
    for (const auto& c : cases) {
        const Comparison compared = CompareSystems(a, c.b);
        std::vector<std::string> lines = {compared.PaintSummary(), compared.FrameSummary()};
        for (const std::string& line : compared.Listing()) lines.push_back(line);
        EXPECT_THAT(lines, ElementsAreArray(c.summaryAndListing));
        EXPECT_EQ(compared.PaintsAgree(), lines.size() == 2) << lines[0];
    }
    // Sizes at the ends of their range, as a damaged file may hold: the
    // change is told whole.
    PaintRow low = a[0], high = a[0];
    low.outerWidth = high.clientHeight = INT32_MIN;
    high.outerWidth = low.clientHeight = INT32_MAX;
    EXPECT_EQ(CompareSystems({low}, {high}).FrameSummary(),
              "frames differ at 1 paint: outer width +4294967295 at 1, client height "
              "-4294967295 at 1");
}

// Long recordings: many one-paint steps, and files whose steps run out of
// order, align the same as short ones.
TEST(TranscriptCompare, AlignsManyStepsAndStepsOutOfOrder) {
    std::vector<PaintRow> a, b;
    for (int step = 1; step <= 16000; ++step) {
        const Rect strip = {0, step, 9, step + 1};
        a.push_back({step, "drag", 1, 1, 1, 1, 1, strip, {strip}, "", 9, 99});
    }
    b = a;
    b[7000].region[0].top = 0;
    std::swap(b[10], b[20]);  // the same paints, in another order
    b.pop_back();
    const Comparison c = CompareSystems(a, b);
    EXPECT_EQ(c.PaintSummary(), "paints: 15998 of 16000 alike; 1 differs; 1 only in A");
    ASSERT_EQ(c.paints.size(), 16000u);
    EXPECT_EQ(c.paints[10].b, 20);
    EXPECT_EQ(c.paints[7000].step, 7001);
}

TEST(TranscriptCompare, ManySystemsInGroupsEachAgainstTheFirstAndWhereAPaintChanges) {
    auto paint = [](int step, int y) {
        const Rect strip = {0, y, 9, y + 1};
        return PaintRow{step, "drag", 432, 400, 424, 369, step, strip, {strip}, "", 9, 99};
    };
    const std::vector<PaintRow> old = {paint(1, 10), paint(2, 20), paint(3, 30)};
    std::vector<PaintRow> mid = old, now = old;
    mid[0].region[0].top = 11;  // paint 1 changes from old to mid and stays
    now[0].region[0].top = 11;
    now.erase(now.begin() + 1);                  // step 2: now paints nothing
    now.push_back(paint(3, 40));                 // step 3: now paints twice
    for (PaintRow& r : now) r.outerHeight += 7;  // frames never count
    const Matrix m = CompareMany({old, mid, now}, {"5.0", "8.0", "10.0"});
    EXPECT_FALSE(m.Agree());
    EXPECT_EQ(m.Summary(), "paints: 1 of 4 alike on all 3 systems");
    EXPECT_THAT(m.AgainstFirst(),
                ElementsAre("8.0: 3 of 4 paints as 5.0 paints them, the first that differs at "
                            "step 1 drag, paint 1",
                            "10.0: 1 of 4 paints as 5.0 paints them, the first that differs at "
                            "step 1 drag, paint 1"));
    EXPECT_THAT(m.Groups(),
                ElementsAre("step 1 drag, paint 1: 8.0 = 10.0, 5.0 differs",
                            "step 2 drag, paint 1: 5.0 = 8.0, 10.0 (none) differs",
                            "step 3 drag, paint 2: 5.0 (none) = 8.0 (none), 10.0 differs"));
    EXPECT_THAT(m.Changes(), ElementsAre("step 1 drag, paint 1: changed between 5.0 and 8.0",
                                         "step 2 drag, paint 1: changed between 8.0 and 10.0",
                                         "step 3 drag, paint 2: changed between 8.0 and 10.0"));
    EXPECT_TRUE(CompareMany({old, old, old}, {"a", "b", "c"}).Agree());
}

// Where a window manager frames Form1, what it takes is played from outside:
// the same change, made another way, is the same step.
TEST(TranscriptCompare, OneChangeMadeTwoWaysIsOneStep) {
    auto paint = [](int step, const char* action) {
        const Rect strip = {0, step, 9, step + 1};
        return PaintRow{step, action, 432, 400, 424, 369, step, strip, {strip}, "", 9, 99};
    };
    const std::vector<PaintRow> a = {paint(1, "drag bottom +10"), paint(2, "maximize button"),
                                     paint(3, "move down 120"), paint(4, "drag right +10"),
                                     paint(5, "double-click list")};
    const std::vector<PaintRow> b = {
        paint(1, "resize bottom +10 from outside"), paint(2, "maximize from outside"),
        paint(3, "move down 120 from outside"), paint(4, "resize bottom +10 from outside"),
        paint(5, "double-click header")};
    EXPECT_THAT(CompareSystems(a, b).Listing(),
                ElementsAre("step 4 drag right +10, paint 1: action drag right +10 / resize "
                            "bottom +10 from outside",
                            "step 5 double-click list, paint 1: action double-click list / "
                            "double-click header"));
    EXPECT_EQ(CompareMany({a, b, a}, {"desktop", "openbox", "again"}).Summary(),
              "paints: 3 of 5 alike on all 3 systems");
}
