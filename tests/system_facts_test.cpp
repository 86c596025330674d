// Systems named from their version numbers, their facts compared, and two
// logs' differences grouped by cause.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "message_log.h"
#include "system_facts.h"
#include "message_compare.h"

using namespace transcript;
using testing::HasSubstr;

SystemVersion Version(unsigned major, unsigned minor, unsigned build, bool server = false,
                      const char* servicePack = "", const char* reactos = "",
                      const char* wineBuild = "") {
    SystemVersion v;
    v.major = major, v.minor = minor, v.build = build, v.server = server;
    v.servicePack = servicePack, v.reactos = reactos, v.wineBuild = wineBuild;
    if (*wineBuild) v.wine = std::string(wineBuild).substr(5, std::string(wineBuild).find(' ') - 5);
    return v;
}

TEST(SystemName, EachSystemByItsTrueNameAndBuild) {
    const std::pair<SystemVersion, const char*> cases[] = {
        {Version(5, 1, 2600, false, "Service Pack 3"),
         "Windows XP Service Pack 3 (5.1 build 2600)"},
        {Version(5, 2, 3790, true, "Service Pack 2"),
         "Windows Server 2003 Service Pack 2 (5.2 build 3790)"},
        {Version(6, 1, 7601, false, "Service Pack 1"), "Windows 7 Service Pack 1 (6.1 build 7601)"},
        {Version(6, 3, 9600), "Windows 8.1 (6.3 build 9600)"},
        {Version(10, 0, 19045), "Windows 10 (10.0 build 19045)"},
        {Version(10, 0, 22631), "Windows 11 (10.0 build 22631)"},
        {Version(10, 0, 17763, true), "Windows Server 2019 (10.0 build 17763)"},
        {Version(10, 0, 26100, true), "Windows Server 2025 (10.0 build 26100)"},
        {Version(11, 0, 1), "Windows (11.0 build 1)"},
        // ReactOS answers as Windows Server 2003 and says what it is after.
        {Version(5, 2, 3790, true, "Service Pack 2", "ReactOS 0.4.15"), "ReactOS 0.4.15"},
        // Two builds of one Wine version told apart.
        {Version(6, 2, 9200, false, "", "", "wine-10.0 (Debian 10.0~repack-6)"),
         "Wine 10.0 (Debian 10.0~repack-6)"},
        {Version(6, 2, 9200, false, "", "", "wine-10.0 (Debian 10.0~repack-12)"),
         "Wine 10.0 (Debian 10.0~repack-12)"},
        {Version(6, 1, 7601, false, "", "", "wine-8.0 "), "Wine 8.0"},
    };
    for (const auto& [version, name] : cases) EXPECT_EQ(SystemName(version), name);
}

// The numbers a file's facts are read with, whichever line comes first:
// the scale's dots per inch, the font's face and LOGFONT height at it.
TEST(SystemFacts, AFilesScaleAndFontAreReadAsNumbers) {
    const struct {
        std::vector<const char*> lines;
        int dpi;
        const char* face;
        int height;
    } cases[] = {
        {{"# display scale: 96 dpi (100 %)", "# font: MS Sans Serif 8 pt drawn as Tahoma (13 px)"},
         96,
         "MS Sans Serif",
         -11},
        {{"# font: Tahoma 8 pt (19 px)", "# display scale: 144 dpi (150 %)"}, 144, "Tahoma", -16},
        {{"# font: Courier New 20 units (20 px)"}, 0, "Courier New", 20},
        {{"# font: MS Sans Serif 8 pt (13 px)"}, 0, "MS Sans Serif", -11},  // 96 dpi then
        {{"# display scale: lots", "# font: unreadable"}, 0, "", 0},
    };
    for (const auto& c : cases) {
        SystemFacts f;
        for (const char* line : c.lines) EXPECT_TRUE(ReadFactComment(line, f)) << line;
        EXPECT_EQ(f.dpi, c.dpi) << c.lines[0];
        EXPECT_EQ(f.fontFace, c.face) << c.lines[0];
        EXPECT_EQ(f.fontHeight, c.height) << c.lines[0];
    }
}

// The screen and its work area, written and read back as numbers: all of
// them or none.
TEST(SystemFacts, AScreenAndItsWorkAreaAreReadAsNumbers) {
    const int own[4] = {0, 0, 1280, 1024}, shelf[4] = {0, 30, 1400, 1050};
    const struct {
        std::string words;
        int width, height;
        std::vector<int> work;
    } cases[] = {
        {ScreenText(1280, 1024, own, true), 1280, 1024, {0, 0, 1280, 1024}},
        {ScreenText(1400, 1050, shelf, false), 1400, 1050, {0, 30, 1400, 1050}},
        {"1400x1050", 0, 0, {0, 0, 0, 0}},
        {"1400x1050 with work area 0,0,1400", 0, 0, {0, 0, 0, 0}},
        {"wide with work area 0,0,1400,1050", 0, 0, {0, 0, 0, 0}},
    };
    EXPECT_EQ(cases[0].words,
              "1280x1024 (a Wine desktop of the tool's own) with work area 0,0,1280,1024");
    EXPECT_EQ(cases[1].words, "1400x1050 with work area 0,30,1400,1050");
    for (const auto& c : cases) {
        SystemFacts f;
        EXPECT_TRUE(ReadFactComment("# screen: " + c.words, f));
        EXPECT_EQ(f.screen, c.words);
        EXPECT_EQ(f.screenWidth, c.width) << c.words;
        EXPECT_EQ(f.screenHeight, c.height) << c.words;
        EXPECT_EQ(std::vector<int>(std::begin(f.workArea), std::end(f.workArea)), c.work)
            << c.words;
        EXPECT_THAT(FactLines(f), testing::Contains("# screen: " + c.words));
    }
}

TEST(SystemFacts, TheFactsThatDifferAreNamedBeforeAnyPaint) {
    EXPECT_EQ(ScaleText(96), "96 dpi (100 %)");
    EXPECT_EQ(ScaleText(120), "120 dpi (125 %)");
    EXPECT_EQ(FontText("MS Sans Serif", -11, "Tahoma", 13, 96),
              "MS Sans Serif 8 pt drawn as Tahoma (13 px)");
    EXPECT_EQ(FontText("Tahoma", -16, "Tahoma", 19, 144), "Tahoma 8 pt (19 px)");
    EXPECT_EQ(Comctl32Text(5, 81, 2919,
                           "C:\\windows\\winsxs\\amd64_microsoft.windows.common-controls_"
                           "6595b64144ccf1df_6.0.2600.2982_none_deadbeef\\COMCTL32.dll"),
              "5.81 build 2919 (side by side 6.0.2600.2982)");
    EXPECT_EQ(Comctl32Text(5, 82, 7601, "C:\\Windows\\system32\\comctl32.dll"),
              "5.82 build 7601 (system32)");
    EXPECT_EQ(Comctl32Text(0, 0, 0, ""), "version not given");

    SystemFacts a;
    a.system = "Wine 8.0", a.scale = ScaleText(96), a.styles = "off";
    a.comctl32 = "6.0 build 2600", a.font = "Tahoma 8 pt (13 px)";
    SystemFacts b = a;
    b.system = "Wine 10.0";
    EXPECT_THAT(FactDifferences({a, b}, {"A", "B"}), testing::IsEmpty());
    EXPECT_EQ(FactsAlike({a, b}), "display scale, visual styles, comctl32 and font: alike");
    EXPECT_EQ(FactsAlike({a, b, SystemFacts()}), "");
    b.font = "Tahoma 8 pt (15 px)";
    b.scale = ScaleText(144);
    a.screen = "1280x1024 with work area 0,0,1280,1024";
    b.screen = "1400x1050 with work area 0,0,1400,1050";
    EXPECT_THAT(
        FactDifferences({a, b, SystemFacts()}, {"A", "B", "old"}),
        testing::ElementsAre("display scale differs: 96 dpi (100 %) on A, 144 dpi (150 %) on B",
                             "font differs: Tahoma 8 pt (13 px) on A, Tahoma 8 pt (15 px) on B",
                             "screen differs: 1280x1024 with work area 0,0,1280,1024 on A, "
                             "1400x1050 with work area 0,0,1400,1050 on B"));

    std::string note;
    EXPECT_THAT(DistinctNames({"Wine 10.0", "Wine 10.0", "", "Wine 8.0"},
                              {"trixie.csv", "sid.csv", "old.csv", "b.csv"}, note),
                testing::ElementsAre("Wine 10.0 (trixie.csv)", "Wine 10.0 (sid.csv)", "old.csv",
                                     "Wine 8.0"));
    EXPECT_THAT(note, HasSubstr("told apart by their files"));
    DistinctNames({"Wine 8.0", "Wine 10.0"}, {"a.csv", "b.csv"}, note);
    EXPECT_EQ(note, "");
}

// The logs of Wine 8.0 and 10.0 that docs/bug-report-wine8-wine10.md is made
// of: its causes are these.
std::vector<MessageRow> ReadLog(const std::string& name) {
    std::ifstream file(std::string(PAINTPROBE_SOURCE_DIR) + "/docs/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<MessageRow> rows;
    std::string error;
    EXPECT_TRUE(ParseMessagesCsv(text.str(), rows, error)) << name << ": " << error;
    return rows;
}

TEST(MessageCauses, OneCauseAtManyMessagesIsOneLineAndAFlagStandsOnItsOwn) {
    const std::vector<MessageRow> a = ReadLog("transcript-wine-all.messages.csv"),
                                  b = ReadLog("transcript-wine10.0-all.messages.csv");
    const std::vector<std::string> causes = MessageCauses(a, b, CompareMessages(a, b));
    // Every rectangle of Form1 7 pixels taller under Wine 10.0: one line.
    int taller = 0;
    for (const std::string& line : causes)
        taller += line.rfind("Form1: differ only by +7 in B's numbers: ", 0) == 0;
    EXPECT_EQ(taller, 1);
    EXPECT_THAT(causes.at(0), HasSubstr("messages in 54 steps, first at step 0 start"));
    // A flag that Wine 10.0 leaves out is a cause of its own.
    EXPECT_THAT(causes,
                testing::Contains(testing::StartsWith(
                    "Form1 WM_WINDOWPOSCHANGED: SWP_NOZORDER / after HWND_TOP: 1 message")));
    EXPECT_LT(causes.size(), 30u);

    // Values stand whole on both sides.
    std::vector<MessageRow> x = {{1, "s", 1, "Form1", "sent", "WM_MOVE", "at 1,2; was 3,4", ""}};
    std::vector<MessageRow> y = x;
    y[0].parameters = "at 1,9; was 3,4";
    EXPECT_EQ(CompareMessages(x, y).differing.at(0).first, "Form1 WM_MOVE: at 1,2 / at 1,9");
    EXPECT_THAT(MessageCauses(x, y, CompareMessages(x, y)),
                testing::ElementsAre("Form1: differ only by +7 in B's numbers: 1 message, first at "
                                     "step 1 s (Form1 WM_MOVE: at 1,2 / at 1,9)"));
}
