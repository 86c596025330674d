#include <gmock/gmock.h>

#include <algorithm>

#include "transcript_rows.h"

using namespace transcript;
using testing::ElementsAre;
using testing::StartsWith;

namespace {

const PaintRow kStrip = {1,
                         "drag bottom +10",
                         432,
                         396,
                         424,
                         369,
                         2,
                         {0, 338, 270, 348},
                         {{0, 338, 270, 348}},
                         "#0180ff",
                         266,
                         433};
const PaintRow kTwoParts = {2,
                            "double-click list",
                            482,
                            446,
                            474,
                            419,
                            3,
                            {0, 0, 320, 438},
                            {{270, 0, 320, 438}, {0, 438, 320, 488}},
                            "",
                            316,
                            483};

std::vector<PaintRow> Read(const std::string& text, std::string* cut = nullptr) {
    std::vector<PaintRow> rows;
    std::string error;
    EXPECT_TRUE(ParseCsv(text, rows, error, cut)) << error << "\n" << text;
    return rows;
}

TEST(TranscriptCsv, WritesRegionsNoSpreadsheetTakesForANumberAndReadsItsOwn) {
    const std::string csv = ToCsv({kStrip, kTwoParts});
    EXPECT_THAT(csv, testing::HasSubstr(
                         "1,drag bottom +10,432,396,424,369,2,0,338,270,348,\"[0,338,270,348]\","
                         "#0180ff,266,433\n"));
    EXPECT_THAT(Read(csv), ElementsAre(kStrip, kTwoParts));

    // Whatever an action holds, and a recording cut short, come back as they were.
    PaintRow odd = kStrip;
    odd.action = "say \"hi\", then\nwait ";
    odd.region = {};
    std::string cut;
    const std::string why = "step 2, drag bottom +10: paintprobe.exe ended (exit code 1)";
    EXPECT_THAT(Read(ToCsv({odd}, why), &cut), ElementsAre(odd));
    EXPECT_EQ(cut, why);
}

// What a spreadsheet saves back, and files written before, read as the same rows.
TEST(TranscriptCsv, ReadsWhatSpreadsheetsAndOlderVersionsWrite) {
    const std::string header =
        "step,action,outer_width,outer_height,client_width,client_height,count,left,top,right,"
        "bottom,region";
    const std::string quotedHeader =
        "\"step\",\"action\",\"outer_width\",\"outer_height\",\"client_width\","
        "\"client_height\",\"count\",\"left\",\"top\",\"right\",\"bottom\",\"region\",\"colour\","
        "\"view_width\",\"view_height\"";
    const std::string strip = "1,drag bottom +10,432,396,424,369,2,0,338,270,348";
    const std::string two = "2,double-click list,482,446,474,419,3,0,0,320,438";
    std::string semicolons = header + ",colour,view_width,view_height\r\n" + strip +
                             ",\"[0,338,270,348]\",#0180ff,266,433\r\n" + two +
                             ",\"[270,0,320,438] [0,438,320,488]\",,316,483\r\n";
    for (char& c : semicolons)
        if (c == ',') c = ';';
    // Inside the quoted regions the commas stay commas.
    for (const char* region : {"[0;338;270;348]", "[270;0;320;438] [0;438;320;488]"}) {
        std::string fixed = region;
        std::replace(fixed.begin(), fixed.end(), ';', ',');
        semicolons.replace(semicolons.find(region), fixed.size(), fixed);
    }
    const struct {
        const char* what;
        std::string text;
    } saved[] = {
        {"every text field and the header quoted, CRLF",
         quotedHeader +
             "\r\n1,\"drag bottom +10\",432,396,424,369,2,0,338,270,348,"
             "\"[0,338,270,348]\",\"#0180FF\",266,433\r\n2,\"double-click list\",482,"
             "446,474,419,3,0,0,320,438,\"[270,0,320,438] [0,438,320,488]\",,316,483\r\n"},
        {"a UTF-8 byte-order mark, and rows padded with empty fields",
         "\xEF\xBB\xBF" + header + ",colour,view_width,view_height,,\n" + strip +
             ",\"[0,338,270,348]\",#0180ff,266,433,,\n,,,,,,,,,,,,,,,,\n" + two +
             ",\"[270,0,320,438] [0,438,320,488]\",,316,483,,\n"},
        {"semicolons for commas", semicolons},
        {"CR alone between lines", header + ",colour,view_width,view_height\r" + strip +
                                       ",\"[0,338,270,348]\",#0180ff,266,433\r" + two +
                                       ",\"[270,0,320,438] [0,438,320,488]\",,316,483"},
    };
    for (const auto& s : saved) EXPECT_THAT(Read(s.text), ElementsAre(kStrip, kTwoParts)) << s.what;

    // Before colours, list view sizes and brackets.
    PaintRow oldStrip = kStrip, oldTwo = kTwoParts;
    oldStrip.colour = oldTwo.colour = "";
    oldStrip.viewWidth = oldStrip.viewHeight = oldTwo.viewWidth = oldTwo.viewHeight = 0;
    EXPECT_THAT(Read(header + "\n" + strip + ",\"0,338,270,348\"\n" + two +
                     ",\"270,0,320,438 0,438,320,488\"\n"),
                ElementsAre(oldStrip, oldTwo));
    // The same padded as a spreadsheet pads it once a later column was typed in.
    EXPECT_THAT(Read(header + ",,\n" + strip + ",\"0,338,270,348\",,\n" + two +
                     ",\"270,0,320,438 0,438,320,488\"\n"),
                ElementsAre(oldStrip, oldTwo));
}

TEST(TranscriptCsv, RefusesAnythingElseWithItsLineAndWhatWasExpected) {
    const std::string good = ToCsv({kStrip});
    const std::string header = good.substr(0, good.find('\n') + 1);
    const std::string row = good.substr(header.size());
    auto with = [&](const std::string& from, const std::string& to) {
        std::string text = row;
        text.replace(text.find(from), from.size(), to);
        return header + text;
    };
    const struct {
        std::string text;
        const char* error;
    } bad[] = {
        {"", "empty file"},
        {"\r\n\r\n", "empty file"},
        {"step;action\n", "line 1: not a paint transcript header (expected step,action,"},
        {header + "3,x,1,2,3,4,5,6,7,8\n", "line 2: expected 15 fields, found 10"},
        // A column someone added is named; so is a header cut off in the middle.
        {header.substr(0, header.size() - 1) + ",notes,,\n",
         "line 1: column 16, \"notes\", is not one of a paint transcript's"},
        {"step,action,notes" + header.substr(header.find(",outer_width")),
         "line 1: column 3, \"notes\", is not one of a paint transcript's"},
        {header.substr(0, header.find(",view_width")) + "\n",
         "line 1: the header stops at colour; expected it to end at region or view_height"},
        // A region a spreadsheet read as a number and saved back.
        {with("\"[0,338,270,348]\"", "338270348"),
         "line 2: region: expected rectangles [left,top,right,bottom] apart by blanks, found "
         "\"338270348\""},
        {with("#0180ff", "#zz80ff"), "line 2: colour: expected #rrggbb or nothing, found"},
        {with(",2,", ",1.5,"), "line 2: count: expected a whole number, found \"1.5\""},
        {with(",433", ", 433"), "line 2: view_height: expected a whole number, found \" 433\""},
        {with("drag bottom +10", ""), "line 2: action: expected the step's action"},
        {with(",433", ",\"433"), "line 2: a quoted field is not closed"},
        {with("drag bottom +10", "dr\"ag"), "line 2: a quote inside an unquoted field"},
        {with("\"[0,338,270,348]\"", "\"[0,338,270,348]\"x"),
         "line 2: expected a separator after a closing quote"},
        // Lines are counted in the file, a quoted line break included.
        {with("drag bottom +10", "\"two\nlines\"") + "9,x,1\n", "line 4: expected 15 fields"},
        {good + "# cut short,because\n", "line 3: expected a comment in one field"},
    };
    for (const auto& b : bad) {
        std::vector<PaintRow> rows;
        std::string error;
        EXPECT_FALSE(ParseCsv(b.text, rows, error)) << b.text;
        EXPECT_THAT(error, StartsWith(b.error)) << b.text;
    }
}

}  // namespace

TEST(TranscriptCsv, RecordsTheSystemAndWhatDecidesItsPaints) {
    SystemFacts facts;
    facts.system = "Wine 8.0 (Debian 8.0~repack-4)";
    facts.scale = ScaleText(144);
    facts.styles = "off";
    facts.comctl32 = "5.81 build 4704";
    facts.font = "MS Sans Serif 8 pt drawn as Tahoma (13 px)";
    const std::string csv = ToCsv({kStrip}, "ended", facts);
    EXPECT_THAT(csv, testing::EndsWith("\n# system: Wine 8.0 (Debian 8.0~repack-4)\n"
                                       "# display scale: 144 dpi (150 %)\n"
                                       "# visual styles: off\n# comctl32: 5.81 build 4704\n"
                                       "# font: MS Sans Serif 8 pt drawn as Tahoma (13 px)\n"
                                       "# cut short: ended\n"));
    std::vector<PaintRow> rows;
    std::string error, cut;
    SystemFacts read;
    read.font = "old";
    ASSERT_TRUE(ParseCsv(csv, rows, error, &cut, &read)) << error;
    EXPECT_EQ(FactList(read), FactList(facts));
    // A transcript from before the facts were recorded names only its system.
    ASSERT_TRUE(ParseCsv(ToCsv({kStrip}) + "# system: Wine 8.0\n", rows, error, &cut, &read));
    EXPECT_EQ(read.system, "Wine 8.0");
    EXPECT_EQ(read.font, "");
}
