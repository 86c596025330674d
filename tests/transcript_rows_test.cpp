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
    EXPECT_TRUE(Compare({a, empty}, back).empty());

    PaintRow moved = a;
    moved.colour = "#000000";  // colours are random: never a difference
    moved.region[1].bottom = 489;
    EXPECT_THAT(Compare({a, empty}, {moved}),
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
