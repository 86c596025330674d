#include "html_report.h"

#include <gmock/gmock.h>

using namespace transcript;
using testing::HasSubstr;
using testing::Not;

namespace {

PaintRow Row(int step, Rect reported, std::vector<Rect> region, std::string colour) {
    return {step, "drag <bottom> +10", 0, 0, 0, 0, step + 1, reported, region, colour, 400, 440};
}

// An L-shaped region inside its report, then a paint not seen on screen.
const std::vector<PaintRow> kRows = {
    Row(1, {0, 0, 320, 440}, {{270, 0, 320, 400}, {0, 400, 320, 440}}, "#0180ff"),
    Row(2, {0, 10, 5, 20}, {{0, 10, 5, 20}}, "")};

TEST(HtmlReport, OneSelfContainedPageWithAFrameToScalePerPaint) {
    const std::string page = HtmlReport(kRows, "test");
    for (const char* outside : {"<script", "http:", "https:", "src=", "url(", "@import"})
        EXPECT_THAT(page, Not(HasSubstr(outside)));
    EXPECT_THAT(page,
                HasSubstr("step 1 drag &lt;bottom&gt; +10<br>count 2<br>reported 0,0,320,440"));
    // At half size: frame 1 has the region's two parts in their colour and the
    // report outlined; frame 2 shows frame 1's region faintly.
    EXPECT_THAT(page,
                HasSubstr("data-scale=\"0.5\"><svg width=\"200\" height=\"220\" viewBox=\"0 0 "
                          "400 440\"><rect class=\"view\" x=\"0\" y=\"0\" width=\"400\" "
                          "height=\"440\"/><rect class=\"region\" x=\"270\" y=\"0\" "
                          "width=\"50\" height=\"400\" fill=\"#0180ff\"/><rect "
                          "class=\"region\" x=\"0\" y=\"400\" width=\"320\" height=\"40\" "
                          "fill=\"#0180ff\"/><rect class=\"reported\" x=\"0\" y=\"0\" "
                          "width=\"320\" height=\"440\"/>"));
    EXPECT_THAT(page,
                HasSubstr("<path class=\"earlier\" d=\"M270 0H320V400H270ZM0 400H320V440H0Z\"/>"
                          "</svg><rect class=\"region unseen\""));
}

TEST(HtmlReport, AComparisonMarksAndNamesEveryDifferingRow) {
    std::vector<PaintRow> b = kRows;
    b[1].reported.bottom = 21;
    b[0].colour = "#000000";  // colours never differ
    b.push_back(b[1]);
    const std::string page = HtmlComparison(kRows, "wine.csv", b, "windows.csv");
    EXPECT_THAT(page, HasSubstr("left: wine.csv (2 paints); right: windows.csv (3 paints)"));
    EXPECT_THAT(page, HasSubstr("<strong>2 of 3 rows differ</strong>"));
    EXPECT_THAT(page, HasSubstr("row 2: reported 0,10,5,20 / 0,10,5,21</p>"));
    EXPECT_THAT(page, HasSubstr("row 3: only in windows.csv</p>"));
    EXPECT_THAT(page, HasSubstr("id=\"a2\" class=\"frame differs\""));
    EXPECT_THAT(page, HasSubstr("id=\"a1\" class=\"frame\""));
    EXPECT_THAT(HtmlComparison(kRows, "x", kRows, "y"), HasSubstr("all 2 rows agree"));
}

}  // namespace
