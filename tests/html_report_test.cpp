#include "html_report.h"
#include "paint_compare.h"
#include "support/pages.h"

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
    EXPECT_THAT(page, HasSubstr("<figcaption><span title=\"step 1 drag &lt;bottom&gt; +10\">step 1 "
                                "drag &lt;bottom&gt; +10</span>count 2<br>reported 0,0,320,440"));
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

TEST(HtmlReport, AComparisonAlignsByStepAndMarksPaintsStronglyAndFramesLightly) {
    std::vector<PaintRow> b = kRows;
    b[0].outerHeight = 7;  // the frame alone
    b[1].reported.bottom = 21;
    b.push_back(b[1]);  // a second paint in step 2
    const std::string page = ComparedPage(kRows, "wine.csv", b, "windows.csv");
    EXPECT_THAT(page, HasSubstr("<th>A: wine.csv (2 paints)</th></tr><tr><th>B: windows.csv (3 "
                                "paints)</th>"));
    EXPECT_THAT(page, HasSubstr("<strong>paints: 1 of 3 alike; 1 differs; 1 only in B</strong>"));
    EXPECT_THAT(page, HasSubstr("frames differ at 1 paint: outer height +7 at 1"));
    EXPECT_THAT(page, HasSubstr("id=\"a1\" class=\"frame frame-differs\""));
    // Each row's note above its frames.
    EXPECT_THAT(page, HasSubstr("<p class=\"note frame-only\">step 1, paint 1: frame only: outer "
                                "0x0 / 0x7</p><div class=\"frames\"><figure id=\"a1\""));
    EXPECT_THAT(page, HasSubstr("id=\"a2\" class=\"frame differs\""));
    EXPECT_THAT(page, HasSubstr("step 2, paint 1: reported 0,10,5,20 / 0,10,5,21</p>"));
    EXPECT_THAT(page,
                HasSubstr("differ: <a href=\"#p2\">step 2 drag &lt;bottom&gt; +10, paint 1</a>, "
                          "<a href=\"#p3\">step 2 drag &lt;bottom&gt; +10, paint 2</a></p>"));
    EXPECT_THAT(page, HasSubstr("id=\"b3\" class=\"frame differs\""));  // only in B
    EXPECT_THAT(ComparedPage(kRows, "x", kRows, "y"), HasSubstr("paints: 2 of 2 alike</strong>"));
}

}  // namespace

namespace {

// A long drag: strips down a growing list view, a whole repaint every so often.
std::vector<PaintRow> LongDrag(int paints) {
    std::vector<PaintRow> rows;
    for (int i = 0; i < paints; ++i) {
        const int y = 300 + i % 500;
        const Rect strip = i % 50 ? Rect{0, y, 270, y + 1} : Rect{0, 0, 270, y + 1};
        rows.push_back({i + 1,
                        "drag bottom +1",
                        0,
                        0,
                        0,
                        0,
                        i % 9999 + 1,
                        strip,
                        {strip},
                        "#102030",
                        270,
                        y + 1});
    }
    return rows;
}

}  // namespace

TEST(HtmlReport, GrowsLinearlyWithThePaintsAndSaysWhenCutShort) {
    const double small = HtmlReport(LongDrag(1000), "t").size() / 1000.0;
    const double large = HtmlReport(LongDrag(8000), "t").size() / 8000.0;
    EXPECT_LT(large, 1.05 * small);
    EXPECT_LT(large, 1500);
    const double pair = ComparedPage(LongDrag(8000), "a", LongDrag(8000), "b").size() / 8000.0;
    EXPECT_LT(pair, 2 * large + 200);

    const std::string page = HtmlReport(kRows, "<b>", "step 2, drag: <gone>");
    EXPECT_THAT(page, HasSubstr("<p class=\"cut\">cut short: step 2, drag: &lt;gone&gt;</p>"));
    EXPECT_THAT(page, HasSubstr("<title>&lt;b&gt;</title>"));
    EXPECT_THAT(ComparedPage(kRows, "x", kRows, "y", "", "why"),
                HasSubstr("<p class=\"cut\">B cut short: why</p>"));
}

namespace {

MessageRow Message(int paint, const std::string& message, const std::string& parameters) {
    return {1, "drag bottom +10", paint, "Form1", "sent", message, parameters, ""};
}

TEST(HtmlReport, EachFrameCarriesTheMessagesBeforeItFoldedAndTheFirstThatDiffersInView) {
    const std::vector<MessageRow> a = {Message(1, "WM_SIZE", "<b>"), Message(2, "WM_MOVE", ""),
                                       Message(3, "WM_ENTERIDLE", "after")};
    const std::string page = HtmlReport(kRows, "test", "", &a);
    // Paint 1 its own; paint 2 its own and what came after the last paint;
    // each a link from its frame to its list below the frames.
    EXPECT_THAT(page, HasSubstr("reported 0,0,320,440<br><a href=\"#m1\">1 message</a>"));
    EXPECT_THAT(page, HasSubstr("<div id=\"m1\"><details><summary>step 1 drag &lt;bottom&gt; "
                                "+10, paint 1: 1 message</summary><ol class=\"log\"><li>Form1 "
                                "sent WM_SIZE &lt;b&gt;</li></ol>"));
    EXPECT_THAT(page, HasSubstr("paint 2: 2 messages</summary><ol class=\"log\"><li>Form1 sent "
                                "WM_MOVE</li><li class=\"after\">after the last paint:</li><li>"
                                "Form1 sent WM_ENTERIDLE after</li></ol>"));

    std::vector<MessageRow> b = a;
    b[0].parameters = "<i>";
    const std::string compared = ComparedPage(kRows, "A", kRows, "B", "", "", &a, &b);
    EXPECT_THAT(compared, HasSubstr("messages: 0 of 1 step alike"));
    EXPECT_THAT(compared, HasSubstr("step 1, paint 1: messages: Form1 WM_SIZE: &lt;b&gt; / "
                                    "&lt;i&gt;</p>"));
    EXPECT_THAT(compared, HasSubstr("<summary class=\"md\">B: 1 message, 1 differ</summary><ol "
                                    "class=\"log\"><li class=\"md\">Form1 sent WM_SIZE &lt;i&gt;"));
    // Without both logs, nothing of messages.
    EXPECT_THAT(ComparedPage(kRows, "A", kRows, "B", "", "", &a, nullptr),
                Not(HasSubstr("<details>")));
}

}  // namespace

// The grid of many systems: a row a paint not alike everywhere, each cell
// lettered and coloured by its group and a click from its frames; a link
// from the top to each differing step; the facts that differ marked.
TEST(HtmlReport, ManySystemsOpenOnAGridWithTheirFacts) {
    std::vector<PaintRow> other = kRows;
    other[1].reported.bottom = 21;
    const Matrix m = CompareMany({kRows, kRows, other}, {"W8", "W10", "<R>"});
    SystemFacts a;
    a.scale = ScaleText(96);
    SystemFacts c = a;
    c.scale = ScaleText(144);
    std::vector<Recording> systems = {Named(kRows, "W8"), Named(kRows, "W10"), Named(other, "<R>")};
    systems[0].facts = systems[1].facts = a, systems[2].facts = c;
    const std::string page = HtmlMatrix(m, systems);
    EXPECT_THAT(page, HasSubstr("<thead><tr><th>paint</th><th>W8</th><th>W10</th><th>&lt;R&gt;"
                                "</th></tr></thead>"));
    EXPECT_THAT(page, HasSubstr("<tr id=\"g2\"><th><a href=\"#p2\">step 2 drag &lt;bottom&gt; "
                                "+10, paint 1</a></th><td class=\"g0\"><a href=\"#p2\">A</a></td>"
                                "<td class=\"g0\"><a href=\"#p2\">A</a></td><td class=\"g1\"><a "
                                "href=\"#p2\">B</a></td></tr>"));
    EXPECT_THAT(page, Not(HasSubstr("id=\"g1\"")));  // alike everywhere: counted, not shown
    EXPECT_THAT(page, HasSubstr("1 paint alike on every system not shown"));
    EXPECT_THAT(page, HasSubstr("Steps that differ: <a href=\"#g2\">2</a></p>"));
    EXPECT_THAT(page, HasSubstr("<section class=\"row\" id=\"p2\">"));
    EXPECT_THAT(page, HasSubstr("<td class=\"fd\">144 dpi (150 %)</td>"));
    EXPECT_THAT(page, HasSubstr("display scale differs: 96 dpi (100 %) on W8, 96 dpi (100 %) on "
                                "W10, 144 dpi (150 %) on &lt;R&gt;"));
}

// Above the grid, a row for each pattern of difference, the rarest first:
// a paint where three systems part stands above the many where one does,
// each cell what that system painted, a click from the paint's frames.
TEST(HtmlReport, ManySystemsAnswerWithTheirPatternsRarestFirst) {
    std::vector<PaintRow> one = kRows, two = kRows, three = kRows;
    for (int step = 3; step <= 5; ++step)
        one.push_back(Row(step, {0, 0, 5, 5}, {{0, 0, 5, 5}}, "")),
            two.push_back(Row(step, {0, 0, 5, 6}, {{0, 0, 5, 6}}, "")),
            three.push_back(Row(step, {0, 0, 5, 6}, {{0, 0, 5, 6}}, ""));
    two[1].region = {{0, 10, 5, 21}}, three[1].region = {{0, 10, 5, 22}};
    const Matrix m = CompareMany({one, two, three}, {"A1", "B1", "C1"});
    const std::string page =
        HtmlMatrix(m, {Named(one, "A1"), Named(two, "B1"), Named(three, "C1")});
    const size_t lone = page.find(
        "<tr><th>1 paint: <a href=\"#p2\">step 2 drag &lt;bottom&gt; "
        "+10, paint 1</a></th><td class=\"g0\"><a href=\"#p2\">A: "
        "0,10,5,20</a></td><td class=\"g1\"><a href=\"#p2\">B: "
        "0,10,5,21</a></td><td class=\"g2\"><a href=\"#p2\">C: "
        "0,10,5,22</a></td></tr>");
    const size_t many = page.find("<tr><th>3 paints: <a href=\"#p3\">step 3");
    ASSERT_NE(lone, std::string::npos) << page.substr(page.find("<table class=\"patterns\""), 900);
    ASSERT_NE(many, std::string::npos);
    EXPECT_LT(lone, many);
    EXPECT_LT(many, page.find("<table class=\"grid\">")) << "the patterns before the grid";
    EXPECT_THAT(page, HasSubstr("<td class=\"g1\"><a href=\"#p3\">B: 0,0,5,6</a></td>"));
    EXPECT_THAT(page, HasSubstr("between A1 and B1: 4 paints changed"));
}
