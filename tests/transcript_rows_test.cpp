#include "transcript_rows.h"

#include <gmock/gmock.h>

using namespace transcript;
using testing::ElementsAre;

TEST(TranscriptReport, OnlyTheExactFourLineFormIsWellFormed) {
    Rect r;
    ASSERT_TRUE(ParseReport("Left: -3\r\nTop: 300\r\nRight: 250\r\nBottom: -2147483648", r));
    EXPECT_TRUE((r == Rect{-3, 300, 250, INT32_MIN}));
    for (const char* bad : {"Left: 2\r\nTop: 3\r\nRight: 4\r\nBottom: 5\r\n",  // trailing break
                            "Left: 2\nTop: 3\nRight: 4\nBottom: 5",            // LF only
                            "Left:  2\r\nTop: 3\r\nRight: 4\r\nBottom: 5",     // two blanks
                            "Left: 02\r\nTop: 3\r\nRight: 4\r\nBottom: 5",     // leading zero
                            "Left: 2\r\nTop: 3\r\nRight: 4",                   // a line short
                            "Left: 2\r\nTop: 3\r\nRight: 4\r\nBottom: 2147483648", ""})
        EXPECT_FALSE(ParseReport(bad, r)) << bad;
    int count = 0;
    EXPECT_TRUE(ParseCount("WM_PAINT Count: 9999", count) && count == 9999);
    for (const char* bad : {"WM_PAINT Count: 0", "WM_PAINT Count: 10000", "WM_PAINT Count:1"})
        EXPECT_FALSE(ParseCount(bad, count)) << bad;
}

TEST(TranscriptCsv, RoundTripsComparesRowByRowAndPrintsAlignedColumns) {
    PaintRow a{1,
               "drag bottom +10",
               432,
               396,
               424,
               369,
               2,
               {0, 338, 270, 348},
               {{270, 0, 320, 438}, {0, 438, 320, 488}},
               ColourText(0x00FF8001),
               266,
               433};
    EXPECT_EQ(a.colour, "#0180ff");
    PaintRow empty = a;
    empty.step = 10;
    empty.count = 9999;
    empty.reported = {};
    empty.region = {};
    empty.colour = ColourText(-1);

    std::vector<PaintRow> back;
    std::string error;
    ASSERT_TRUE(ParseCsv(ToCsv({a, empty}), back, error)) << error;
    EXPECT_THAT(back, ElementsAre(a, empty));
    EXPECT_TRUE(CompareExact({a, empty}, back).empty());

    PaintRow moved = a;
    moved.colour = "#000000";  // colours are random: never a difference
    moved.region[1].bottom = 489;
    EXPECT_THAT(CompareExact({a, empty}, {moved}),
                ElementsAre(testing::HasSubstr("region 270,0,320,438 0,438,320,488"),
                            testing::HasSubstr("region 270,0,320,438 0,438,320,489"),
                            testing::StartsWith("row 2: only in A: step 10")));
    std::string badColour = ToCsv({a});
    EXPECT_FALSE(ParseCsv(badColour.replace(badColour.size() - 3, 2, "zz"), back, error));
    EXPECT_THAT(error, testing::HasSubstr("line 2: malformed colour"));
    EXPECT_FALSE(ParseCsv("step,action\n", back, error));
    EXPECT_FALSE(ParseCsv(ToCsv({a}) + "3,x,1,2,3,4,5,6,7,8\n", back, error));
    EXPECT_THAT(error, testing::StartsWith("line 3"));

    // Numbers right-aligned under their heading.
    const std::string table = FormatTable({a, empty});
    const size_t end = table.find("count") + 5, line = table.find('\n') + 1;
    EXPECT_EQ(table.substr(line + end - 2, 2), " 2") << table;
    EXPECT_EQ(table.substr(table.find('\n', line) + 1 + end - 4, 4), "9999") << table;
}

// Two systems: paints aligned by step, paints told from frames.
TEST(TranscriptCompare, AlignsPaintsByStepAndTellsPaintsFromFrames) {
    // A paint of step s with a strip at y, in a frame of this outer height.
    auto paint = [](int step, int y, int outerHeight = 400) {
        const Rect strip = {0, y, 270, y + 10};
        return PaintRow{step, "drag", 432,     outerHeight, 424, 369,
                        step, strip,  {strip}, "",          270, 348};
    };
    const std::vector<PaintRow> a = {paint(1, 10), paint(2, 20), paint(3, 30), paint(4, 40)};
    struct Case {
        const char* what;
        std::vector<PaintRow> b;
        std::vector<std::string> summary, listing;
    };
    std::vector<PaintRow> framed = a, moved = a, extra = a, missing = a;
    for (PaintRow& r : framed) r.outerHeight += 7, r.count += 5;  // counts never compared
    moved[1].reported.bottom = 31;
    moved[2].region[0].top = 29;
    moved[2].outerHeight = 407;
    extra.insert(extra.begin() + 2, paint(2, 25));  // a second paint in step 2
    missing.erase(missing.begin() + 1);
    const Case cases[] = {
        {"the same", a, {"paints: 4 of 4 alike", "frames: alike at every paint"}, {}},
        {"frames only",
         framed,
         {"paints: 4 of 4 alike", "frames differ at 4 paints: outer height +7 at 4"},
         {}},
        {"paints with and without their frame",
         moved,
         {"paints: 2 of 4 alike; 2 differ", "frames differ at 1 paint: outer height +7 at 1"},
         {"step 2 drag, paint 1: reported 0,20,270,30 / 0,20,270,31",
          "step 3 drag, paint 1: region 0,30,270,40 / 0,29,270,40; frame differs too: outer "
          "432x400 / 432x407"}},
        {"an extra paint",
         extra,
         {"paints: 4 of 5 alike; 1 only in B", "frames: alike at every paint"},
         {"step 2 drag, paint 2: only in B: reported 0,25,270,35, region 0,25,270,35"}},
        {"a missing paint",
         missing,
         {"paints: 3 of 4 alike; 1 only in A", "frames: alike at every paint"},
         {"step 2 drag, paint 1: only in A: reported 0,20,270,30, region 0,20,270,30"}},
        {"a shorter file",
         {a[0], a[1]},
         {"paints: 2 of 4 alike; 2 only in A", "frames: alike at every paint"},
         {"step 3 drag, paint 1: only in A: reported 0,30,270,40, region 0,30,270,40",
          "step 4 drag, paint 1: only in A: reported 0,40,270,50, region 0,40,270,50"}},
    };
    for (const Case& c : cases) {
        const Comparison compared = CompareSystems(a, c.b);
        EXPECT_THAT(std::vector<std::string>({compared.PaintSummary(), compared.FrameSummary()}),
                    testing::ElementsAreArray(c.summary))
            << c.what;
        EXPECT_THAT(compared.Listing(), testing::ElementsAreArray(c.listing)) << c.what;
        EXPECT_EQ(compared.PaintsAgree(), c.listing.empty()) << c.what;
    }
}
