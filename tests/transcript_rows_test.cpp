#include "transcript_rows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace transcript;
using testing::ElementsAre;

TEST(TranscriptReport, OnlyTheExactFourLineFormIsWellFormed) {
    Rect r;
    ASSERT_TRUE(ParseReport("Left: 2\r\nTop: 300\r\nRight: 250\r\nBottom: 330", r));
    EXPECT_TRUE((r == Rect{2, 300, 250, 330}));
    ASSERT_TRUE(ParseReport("Left: -3\r\nTop: 0\r\nRight: 0\r\nBottom: -2147483648", r));
    EXPECT_EQ(r.bottom, INT32_MIN);
    for (const char* bad : {"Left: 2\r\nTop: 3\r\nRight: 4\r\nBottom: 5\r\n",  // trailing break
                            "Left: 2\nTop: 3\nRight: 4\nBottom: 5",            // LF only
                            "Left:  2\r\nTop: 3\r\nRight: 4\r\nBottom: 5",     // two blanks
                            "Left: 02\r\nTop: 3\r\nRight: 4\r\nBottom: 5",     // leading zero
                            "Left: 2\r\nTop: 3\r\nRight: 4",                   // a line short
                            "Left: 2\r\nTop: 3\r\nRight: 4\r\nBottom: 2147483648", ""})
        EXPECT_FALSE(ParseReport(bad, r)) << bad;

    int count = 0;
    EXPECT_TRUE(ParseCount("WM_PAINT Count: 9999", count));
    EXPECT_EQ(count, 9999);
    EXPECT_FALSE(ParseCount("WM_PAINT Count: 0", count));
    EXPECT_FALSE(ParseCount("WM_PAINT Count: 10000", count));
    EXPECT_FALSE(ParseCount("WM_PAINT Count:1", count));
}

TEST(TranscriptCsv, RoundTripsAndComparesRowByRow) {
    PaintRow a;
    a.step = 1;
    a.action = "drag bottom +10";
    a.outerWidth = 432;
    a.outerHeight = 396;
    a.clientWidth = 424;
    a.clientHeight = 369;
    a.count = 2;
    a.reported = {0, 338, 270, 348};
    a.region = {{270, 0, 320, 438}, {0, 438, 320, 488}};
    PaintRow empty = a;
    empty.step = 2;
    empty.reported = {};
    empty.region = {};

    std::vector<PaintRow> back;
    std::string error;
    ASSERT_TRUE(ParseCsv(ToCsv({a, empty}), back, error)) << error;
    EXPECT_THAT(back, ElementsAre(a, empty));
    EXPECT_TRUE(Compare({a, empty}, back).empty());

    PaintRow moved = a;
    moved.region[1].bottom = 489;
    const std::vector<std::string> diff = Compare({a, empty}, {moved});
    ASSERT_EQ(diff.size(), 3u);
    EXPECT_THAT(diff[0], testing::HasSubstr("region 270,0,320,438 0,438,320,488"));
    EXPECT_THAT(diff[1], testing::HasSubstr("region 270,0,320,438 0,438,320,489"));
    EXPECT_THAT(diff[2], testing::StartsWith("row 2: only in A: step 2"));

    EXPECT_FALSE(ParseCsv("step,action\n", back, error));
    EXPECT_FALSE(ParseCsv(ToCsv({a}) + "3,x,1,2,3,4,5,6,7,8\n", back, error));
    EXPECT_THAT(error, testing::StartsWith("line 3"));
}

TEST(TranscriptTable, ColumnsLineUp) {
    PaintRow a;
    a.step = 9;
    a.action = "x";
    a.count = 10;
    PaintRow b = a;
    b.step = 10;
    b.action = "longer action";
    b.count = 9999;
    std::istringstream table(FormatTable({a, b}));
    std::string header, first, second;
    std::getline(table, header);
    std::getline(table, first);
    std::getline(table, second);
    // Numbers are right-aligned under their heading.
    const size_t end = header.find("count") + 5;
    EXPECT_EQ(first.substr(end - 3, 3), " 10") << first;
    EXPECT_EQ(second.substr(end - 4, 4), "9999") << second;
    EXPECT_EQ(first.find(" x "), second.find(" longer action"));
}
