#include "html_report.h"

#include <gmock/gmock.h>

using namespace transcript;
using testing::HasSubstr;
using testing::Not;

namespace {

std::vector<PaintRow> Rows() {
    PaintRow a;
    a.step = 1;
    a.action = "drag <bottom> +10";
    a.count = 2;
    a.viewWidth = 400;
    a.viewHeight = 440;
    a.reported = {0, 0, 320, 440};
    a.region = {{270, 0, 320, 400}, {0, 400, 320, 440}};  // L-shaped inside the report
    a.colour = "#0180ff";
    PaintRow b = a;
    b.step = 2;
    b.count = 3;
    b.region = {{0, 10, 5, 20}};
    b.reported = {0, 10, 5, 20};
    b.colour = "";  // not seen on screen
    return {a, b};
}

TEST(HtmlReport, OneSelfContainedPageWithAFrameToScalePerPaint) {
    const std::vector<PaintRow> rows = Rows();
    const std::string page = HtmlReport(rows, "test");
    for (const char* outside : {"<script", "http:", "https:", "src=", "url(", "@import"})
        EXPECT_THAT(page, Not(HasSubstr(outside)));
    EXPECT_THAT(page,
                HasSubstr("step 1 drag &lt;bottom&gt; +10<br>count 2<br>reported 0,0,320,440"));
    // Frame 1: the region's two parts in their colour, the report outlined,
    // no earlier paints; frame 2 shows frame 1's region faintly.
    EXPECT_THAT(page,
                HasSubstr("<rect class=\"region\" x=\"270\" y=\"0\" width=\"50\" "
                          "height=\"400\" fill=\"#0180ff\"/><rect class=\"region\" x=\"0\" "
                          "y=\"400\" width=\"320\" height=\"40\" fill=\"#0180ff\"/><rect "
                          "class=\"reported\" x=\"0\" y=\"0\" width=\"320\" height=\"440\"/>"));
    EXPECT_THAT(page,
                HasSubstr("<path class=\"earlier\" d=\"M270 0H320V400H270ZM0 400H320V440H0Z\"/>"
                          "</svg><rect class=\"region unseen\""));
    // Both frames where FrameOf says, at one scale that fits 440 in 220.
    const FrameGeometry first = FrameOf(rows, 0), second = FrameOf(rows, 1);
    EXPECT_EQ(first.scale, 0.5);
    EXPECT_GT(second.left, first.left + 200);
    EXPECT_EQ(second.top, first.top);
    EXPECT_THAT(page,
                HasSubstr("id=\"f2\" class=\"frame\" style=\"left:" + std::to_string(second.left) +
                          "px;top:" + std::to_string(second.top) +
                          "px\" data-scale=\"0.5\"><svg "
                          "width=\"200\" height=\"220\" viewBox=\"0 0 400 440\">"));
}

TEST(HtmlReport, AComparisonMarksAndNamesEveryDifferingRow) {
    std::vector<PaintRow> a = Rows(), b = Rows();
    b[1].reported.bottom = 21;
    b[0].colour = "#000000";  // colours never differ
    b.push_back(b[1]);
    const std::string page = HtmlComparison(a, "wine.csv", b, "windows.csv");
    EXPECT_THAT(page, HasSubstr("left: wine.csv (2 paints); right: windows.csv (3 paints)"));
    EXPECT_THAT(page, HasSubstr("<strong>2 of 3 rows differ</strong>"));
    EXPECT_THAT(page, HasSubstr("row 2: reported 0,10,5,20 / 0,10,5,21</p>"));
    EXPECT_THAT(page, HasSubstr("row 3: only in windows.csv</p>"));
    EXPECT_THAT(page, HasSubstr("id=\"a2\" class=\"frame differs\""));
    EXPECT_THAT(page, HasSubstr("id=\"a1\" class=\"frame\""));
    EXPECT_GT(FrameOf(a, b, 0, 1).left, FrameOf(a, b, 0, 0).left);
    EXPECT_THAT(HtmlComparison(a, "x", a, "y"), HasSubstr("all 2 rows agree"));
}

}  // namespace
