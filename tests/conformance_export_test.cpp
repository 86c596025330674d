// Small recordings to the conformance tests written of them: the window
// tree read back, each step as the change it made, the layout rule, the
// tables of paints expected and accepted, and what cannot be exported.
#include <gmock/gmock.h>

#include "bug_report.h"
#include "conformance_comment.h"
#include "conformance_export.h"
#include "conformance_plan.h"
#include "window_tree.h"
#include "paint_compare.h"
#include "message_compare.h"

using namespace transcript;
using testing::HasSubstr;

namespace {

const char* const kForm1 =
    "Form1 PaintProbeForm1 id 0 style 0x14cf0000 exstyle 0x00040100 class style 0x00000000 at "
    "0,0 432x386 client 424x359";
const char* const kListView1 =
    "ListView1 SysListView32 id 101 style 0x50110001 exstyle 0x00000200 class style 0x00004008 "
    "at 0,0 274x359 client 270x338";
const char* const kText1 =
    "Text1 Edit id 102 style 0x50011044 exstyle 0x00000200 class style 0x00004088 at 294,8 "
    "121x81 client 117x77";

// A message as the log has it: "S" sent, "P" posted.
struct Line {
    int step;
    const char* action;
    const char* window;
    const char* message;
    const char* parameters;
};

// The steps a test plays, each with the messages that tell what changed.
const Line kLog[] = {
    {1, "drag bottom +10", "Form1", "WM_WINDOWPOSCHANGED", "at 0,0 size 432x396 SWP_NOMOVE"},
    {1, "drag bottom +10", "Form1", "WM_SIZE", "SIZE_RESTORED 424x369"},
    {1, "drag bottom +10", "ListView1", "WM_WINDOWPOSCHANGING",
     "at 0,0 size 274x369 SWP_NOZORDER|SWP_NOACTIVATE"},
    {1, "drag bottom +10", "ListView1", "WM_WINDOWPOSCHANGING",
     "at 0,0 size 0x0 SWP_NOSIZE|SWP_NOMOVE|SWP_NOZORDER|SWP_FRAMECHANGED"},
    {1, "drag bottom +10", "Text1", "WM_WINDOWPOSCHANGING",
     "at 294,8 size 0x0 SWP_NOSIZE|SWP_NOZORDER|SWP_NOACTIVATE|SWP_NOCOPYBITS"},
    {2, "drag top +10", "Form1", "WM_WINDOWPOSCHANGED", "at 0,-10 size 432x406 SWP_NOZORDER"},
    {2, "drag top +10", "Form1", "WM_SIZE", "SIZE_RESTORED 424x379"},
    {2, "drag top +10", "ListView1", "WM_WINDOWPOSCHANGING",
     "at 0,0 size 274x379 SWP_NOZORDER|SWP_NOACTIVATE"},
    {2, "drag top +10", "Text1", "WM_WINDOWPOSCHANGING",
     "at 294,8 size 0x0 SWP_NOSIZE|SWP_NOZORDER|SWP_NOACTIVATE|SWP_NOCOPYBITS"},
    {3, "set client width 120", "Form1", "WM_WINDOWPOSCHANGED", "at 0,-10 size 128x406 0"},
    {3, "set client width 120", "Form1", "WM_SIZE", "SIZE_RESTORED 120x379"},
    {3, "set client width 120", "ListView1", "WM_WINDOWPOSCHANGING",
     "at 0,0 size 0x379 SWP_NOZORDER|SWP_NOACTIVATE"},
    {3, "set client width 120", "Text1", "WM_WINDOWPOSCHANGING",
     "at 20,8 size 0x0 SWP_NOSIZE|SWP_NOZORDER|SWP_NOACTIVATE|SWP_NOCOPYBITS"},
    {4, "move by +0,+120", "Form1", "WM_WINDOWPOSCHANGED",
     "at 0,110 size 128x406 SWP_NOSIZE|SWP_NOZORDER"},
    {5, "maximize button", "Form1", "WM_WINDOWPOSCHANGED",
     "at -4,-4 size 1288x1032 SWP_NOZORDER|SWP_FRAMECHANGED|SWP_STATECHANGED"},
    {5, "maximize button", "Form1", "WM_SIZE", "SIZE_MAXIMIZED 1280x1005"},
    {5, "maximize button", "ListView1", "WM_WINDOWPOSCHANGING",
     "at 0,0 size 1130x1005 SWP_NOZORDER|SWP_NOACTIVATE"},
    {5, "maximize button", "Text1", "WM_WINDOWPOSCHANGING",
     "at 1150,8 size 0x0 SWP_NOSIZE|SWP_NOZORDER|SWP_NOACTIVATE|SWP_NOCOPYBITS"},
    {6, "restore button", "Form1", "WM_WINDOWPOSCHANGED",
     "at 0,110 size 128x406 SWP_NOZORDER|SWP_FRAMECHANGED|SWP_STATECHANGED"},
    {6, "restore button", "Form1", "WM_SIZE", "SIZE_RESTORED 120x379"},
    {7, "double-click list", "Form1", "WM_WINDOWPOSCHANGED", "at 0,110 size 128x456 SWP_NOMOVE"},
    {7, "double-click list", "Form1", "WM_SIZE", "SIZE_RESTORED 120x429"},
    {7, "double-click list", "Form1", "WM_WINDOWPOSCHANGED", "at 0,110 size 178x456 SWP_NOMOVE"},
    {7, "double-click list", "Form1", "WM_SIZE", "SIZE_RESTORED 170x429"},
    {7, "double-click list", "ListView1", "WM_WINDOWPOSCHANGING",
     "at 0,0 size 20x429 SWP_NOZORDER|SWP_NOACTIVATE"},
    {8, "say \"hi\" \\ there", "Text1", "WM_PAINT", ""},
};

std::vector<MessageRow> Log() {
    std::vector<MessageRow> rows;
    for (const Line& l : kLog) {
        MessageRow r;
        r.step = l.step, r.action = l.action, r.window = l.window, r.message = l.message;
        r.parameters = l.parameters;
        r.how = r.message == "WM_PAINT" ? "posted" : "sent";
        rows.push_back(r);
    }
    return rows;
}

std::string ChangeText(const Change& c) {
    switch (c.how) {
        case Change::Client:
            return "client " + std::to_string(c.width) + "x" + std::to_string(c.height) +
                   (c.left ? " left" : "") + (c.top ? " top" : "");
        case Change::Move:
            return "move " + std::to_string(c.dx) + "," + std::to_string(c.dy);
        case Change::Show:
            return c.show;
    }
    return "";
}

WindowTree Tree() {
    WindowTree tree;
    std::string error;
    EXPECT_TRUE(ReadTree({kForm1, kListView1, kText1}, {"100 Test1", "1440 Test, 5"}, "0x00000020",
                         tree, error))
        << error;
    return tree;
}

TEST(TestExport, TheWindowTreeReadsBackAsItWasWritten) {
    const WindowTree tree = Tree();
    ASSERT_EQ(tree.windows.size(), 3u);
    EXPECT_EQ(WindowLine(tree.windows[1]), kListView1);
    EXPECT_EQ(tree.windows[1].style, 0x50110001u);
    EXPECT_EQ(tree.windows[2].place.right, 294 + 121);
    EXPECT_EQ(tree.columns[1].text, "Test, 5");
    EXPECT_EQ(ColumnLine(tree.columns[1]), "1440 Test, 5");
    EXPECT_EQ(tree.listViewExtended, 0x20u);

    WindowTree bad;
    std::string error;
    EXPECT_FALSE(ReadTree({"Form1 X id 0 style 14cf0000"}, {}, "", bad, error));
    EXPECT_THAT(error, HasSubstr("window: expected NAME CLASS id N style 0x.."));
    EXPECT_FALSE(ReadTree({}, {"wide Test1"}, "", bad, error));
    EXPECT_EQ(error, "column: expected its width, then its text, found \"wide Test1\"");
}

TEST(TestExport, EachStepIsTheChangeItMadeAndTheLayoutItsRule) {
    Plan plan;
    std::string error;
    ASSERT_TRUE(PlanFromLog(Log(), Tree(), plan, error)) << error;
    std::vector<std::string> changes;
    for (const PlayStep& s : plan.steps) {
        std::string line = std::to_string(s.number) + ":";
        for (const Change& c : s.changes) line += " " + ChangeText(c);
        changes.push_back(line);
    }
    EXPECT_THAT(changes,
                testing::ElementsAre("1: client 424x369", "2: client 424x379 top",
                                     "3: client 120x379", "4: move 0,120", "5: SW_MAXIMIZE",
                                     "6: SW_RESTORE", "7: client 120x429 client 170x429", "8:"));
    ASSERT_EQ(plan.rules.size(), 2u);
    const Rule& view = plan.rules[0];
    EXPECT_EQ(view.control, "ListView1");
    EXPECT_EQ(view.width, (Rule::Field{-150, Rule::Width}));
    EXPECT_EQ(view.height, (Rule::Field{0, Rule::Height}));
    EXPECT_EQ(view.x, (Rule::Field{0, Rule::None}));
    EXPECT_EQ(view.flags, "SWP_NOZORDER | SWP_NOACTIVATE");
    EXPECT_EQ(plan.rules[1].x, (Rule::Field{-130, Rule::Width}));
    EXPECT_EQ(plan.rules[1].flags, "SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS");
    // Kept from going narrower than nothing: where the rule would not say so.
    std::vector<std::string> exceptions;
    for (const Place& p : plan.exceptions)
        exceptions.push_back(p.control + " " + std::to_string(p.clientWidth) + "x" +
                             std::to_string(p.clientHeight) + " at " + std::to_string(p.x) +
                             " width " + std::to_string(p.width));
    EXPECT_THAT(exceptions, testing::ElementsAre("ListView1 120x379 at 0 width 0",
                                                 "Text1 120x379 at 20 width 0"));

    // The list view's messages, as a test sees them: a registered one is
    // numbered afresh in every session, so left out.
    std::vector<MessageRow> log = Log();
    MessageRow paint = log[2], registered = log[2];
    paint.message = "WM_PAINT", paint.how = "posted", paint.parameters = "update 0,0,1,1";
    registered.message = "registered \"MSWHEEL_ROLLMSG\"";
    log.insert(log.begin() + 3, {paint, registered});
    ASSERT_TRUE(PlanFromLog(log, Tree(), plan, error)) << error;
    std::vector<std::string> messages;
    for (const ListMessage& m : plan.steps[0].messages)
        messages.push_back((m.posted ? "posted " : "sent ") + m.name + " " + Hex(m.number) +
                           (m.positions ? " " + Hex(m.flags) : ""));
    EXPECT_THAT(messages,
                testing::ElementsAre("sent WM_WINDOWPOSCHANGING 0x46 0x14", "posted WM_PAINT 0xf",
                                     "sent WM_WINDOWPOSCHANGING 0x46 0x27"));
    log[2].message = "WM_NOSUCH";
    EXPECT_FALSE(PlanFromLog(log, Tree(), plan, error));
    EXPECT_EQ(error,
              "step 1: ListView1 WM_NOSUCH: cannot read \"at 0,0 size 274x369 "
              "SWP_NOZORDER|SWP_NOACTIVATE\"");

    std::vector<MessageRow> wrong = Log();
    wrong[1].parameters = "SIZE_RESTORED 424";
    EXPECT_FALSE(PlanFromLog(wrong, Tree(), plan, error));
    EXPECT_EQ(error, "step 1: Form1 WM_SIZE: cannot read \"SIZE_RESTORED 424\"");
}

TEST(TestExport, TheStartIsTheTestsOwnMakingOfItsWindowsNotPlayed) {
    std::vector<MessageRow> log = Log(), start = {log[1], log[1], log[2]};
    start[0].parameters = "SIZE_RESTORED 0x0";
    start[1].parameters = "SIZE_RESTORED 424x359";
    start[2].parameters = "at 0,0 size 274x359 SWP_NOZORDER|SWP_NOACTIVATE";
    for (MessageRow& r : start) r.step = 0, r.action = "start";
    log.insert(log.begin(), start.begin(), start.end());
    Plan plan;
    std::string error;
    ASSERT_TRUE(PlanFromLog(log, Tree(), plan, error)) << error;
    ASSERT_EQ(plan.steps.size(), 9u);
    EXPECT_EQ(plan.steps[0].number, 0);
    EXPECT_TRUE(plan.steps[0].changes.empty());
    EXPECT_TRUE(plan.steps[0].messages.empty());
    ASSERT_EQ(plan.steps[1].changes.size(), 1u);
    EXPECT_EQ(ChangeText(plan.steps[1].changes[0]), "client 424x369");
    // Where it laid its controls out counts towards the rule.
    EXPECT_EQ(plan.rules[0].height, (Rule::Field{0, Rule::Height}));
    EXPECT_EQ(plan.placed[0].step, 0);
}

PaintRow Paint(int step, const char* action, std::vector<Rect> region, int width = 270,
               int height = 338) {
    PaintRow r;
    r.step = step, r.action = action, r.region = std::move(region);
    r.viewWidth = width, r.viewHeight = height;
    return r;
}

Recording Reference() {
    Recording s;
    s.file = "C:\\rec\\wine8.csv";
    s.facts.system = "Wine 8.0";
    // As a file's lines are read: the scale and the font's numbers with them.
    ReadFactComment("# display scale: 96 dpi (100 %)", s.facts);
    ReadFactComment("# font: MS Sans Serif 8 pt drawn as Tahoma (13 px)", s.facts);
    s.facts.windows = {kForm1, kListView1, kText1};
    s.facts.columns = {"100 Test1"};
    s.log = Log();
    s.rows = {Paint(1, "drag bottom +10", {{0, 338, 270, 348}}, 270, 348),
              Paint(2, "drag top +10", {{0, 348, 270, 358}}),
              Paint(5, "maximize button", {{270, 0, 1126, 738}, {0, 738, 1126, 984}}, 1126, 984),
              Paint(5, "maximize button", {})};
    return s;
}

// The entries of one table of paints in the C text.
std::string Table(const std::string& source, const std::string& name) {
    const size_t start = source.find("static const struct paint " + name + "[]");
    if (start == std::string::npos) return "(no table " + name + ")";
    std::string out;
    for (const std::string& line :
         Split(source.substr(start, source.find("};", start) - start), '\n'))
        if (line.compare(0, 5, "    {") == 0) out += line.substr(4) + "\n";
    return out;
}

TEST(TestExport, TheTablesHoldThePaintsExpectedAndThoseAcceptedWhereTheyDiffer) {
    Recording other = Reference();
    other.file = "win7.csv", other.facts.system = "Windows 7";
    other.rows[2].region = {{270, 0, 1126, 738}, {0, 738, 1126, 977}};
    other.rows[2].viewHeight = 977;
    Recording third = Reference();
    third.file = "reactos.csv";
    third.rows.erase(third.rows.begin() + 1);  // no paint at step 2
    third.rows.push_back(Paint(4, "move by +0,+120", {{0, 0, 10, 10}}));
    std::string source, error;
    ASSERT_TRUE(ExportTest(Reference(), {other, third}, "listview_paint", false, source, error))
        << error;

    EXPECT_EQ(Table(source, "expected_paints"),
              "{1, \"0,338,270,348\", 270, 348},\n"
              "{2, \"0,348,270,358\", 270, 338},\n"
              "{5, \"270,0,1126,738 0,738,1126,984\", 1126, 984},\n"
              "{5, \"\", 270, 338},\n");
    EXPECT_EQ(Table(source, "accepted_1"),
              "{5, \"270,0,1126,738 0,738,1126,977\", 1126, 977},\n{5, \"\", 270, 338},\n");
    EXPECT_EQ(Table(source, "accepted_2"), "{2, NULL, 0, 0},\n{4, \"0,0,10,10\", 270, 338},\n");
    EXPECT_THAT(source, HasSubstr("{\"Windows 7 (win7.csv)\", ROLE_BROKEN, accepted_1, "
                                  "ARRAY_SIZE(accepted_1)},"));
    EXPECT_THAT(source, HasSubstr("Expected: as recorded on Wine 8.0 (wine8.csv),\n *   (not "
                                  "Windows: a regression test"));

    EXPECT_THAT(source, HasSubstr("{2, \"drag top +10\", 0, 1, {{CLIENT, 424, 379, TOP_EDGE}}},"));
    EXPECT_THAT(source, HasSubstr("{5, \"maximize button\", 0, 1, {{SHOW, SW_MAXIMIZE, 0, 0}}},"));
    EXPECT_THAT(source, HasSubstr("{8, \"say \\\"hi\\\" \\\\ there\", 0, 0, {}},"));
    EXPECT_THAT(source, HasSubstr("{LISTVIEW1, {0, NONE}, {0, NONE}, {-150, WIDTH}, {0, HEIGHT}, "
                                  "SWP_NOZORDER | SWP_NOACTIVATE},"));
    EXPECT_THAT(source, HasSubstr("{120, 379, LISTVIEW1, 0, 0, 0, 379}, /* step 3 set client"));
    EXPECT_THAT(source, HasSubstr("enum control { LISTVIEW1, TEXT1 };"));
    EXPECT_THAT(source, HasSubstr("#define RECORDED_DPI 96\n"));
    EXPECT_THAT(source, HasSubstr("static const char font_face[] = \"MS Sans Serif\";"));
    EXPECT_THAT(source, HasSubstr("static const int font_height = -11;"));
    EXPECT_THAT(source, HasSubstr("\nSTART_TEST(listview_paint)\n"));

    // Asked to check messages: at the steps made from outside (step 3 sets a
    // client width), as the test plays them; the drags' come from real input.
    ASSERT_TRUE(ExportTest(Reference(), {}, "listview_paint", true, source, error)) << error;
    EXPECT_THAT(source, HasSubstr("#define CHECK_MESSAGES 1\n"));
    EXPECT_THAT(source, HasSubstr("{1, \"drag bottom +10\", 0, 1, "));
    EXPECT_THAT(source, HasSubstr("{3, \"set client width 120\", 1, 1, "));
    EXPECT_THAT(source, HasSubstr("    /* step 3 set client width 120 */\n"
                                  "    {3, 0x46, 0, 0x14}, /* sent WM_WINDOWPOSCHANGING */\n};"));
    EXPECT_THAT(source, HasSubstr("{0x46, \"WM_WINDOWPOSCHANGING\"},"));

    ASSERT_TRUE(ExportTest(Reference(), {}, "paints", false, source, error)) << error;
    EXPECT_THAT(source, HasSubstr("#define CHECK_MESSAGES 0\n"));
    EXPECT_THAT(source, HasSubstr("{NULL, ROLE_ALTERNATIVE, NULL, 0}, /* none */"));
    EXPECT_THAT(source, HasSubstr("\nSTART_TEST(paints)\n"));
}

// Each system another is taken beside, in its harness's terms; broken() is
// another Windows only.
TEST(TestExport, EachSystemAcceptedIsTakenInItsHarnesssTerms) {
    const struct {
        const char *expected, *other;
        AcceptedAs role;
        const char* words;
    } cases[] = {
        {"Windows 10 (10.0 build 19045)", "Windows XP (5.1 build 2600)", AcceptedAs::Broken,
         "Also accepted, as broken() (another Windows), where it differs: Windows XP"},
        {"Windows 10 (10.0 build 19045)", "Wine 8.0", AcceptedAs::TodoWine,
         "Marked todo_wine, as Wine paints, where it differs: Wine 8.0"},
        {"ReactOS 0.4.15", "Wine 10.0", AcceptedAs::TodoWine, "Marked todo_wine"},
        {"Windows 10 (10.0 build 19045)", "ReactOS 0.4.15", AcceptedAs::TodoRos,
         "Marked todo_ros, as ReactOS paints, where it differs: ReactOS 0.4.15"},
        {"Wine 10.0", "Wine 8.0", AcceptedAs::Alternative,
         "Also accepted on every platform, where it differs: Wine 8.0"},
        {"Wine 10.0", "ReactOS 0.4.15", AcceptedAs::Alternative, "on every platform"},
        {"Wine 10.0", "Windows 7 (6.1 build 7601)", AcceptedAs::Broken, "as broken()"},
        {"Wine 10.0", "", AcceptedAs::Alternative, "on every platform"},
        {"", "Wine 8.0", AcceptedAs::Alternative, "on every platform"},
    };
    for (const auto& c : cases) {
        Recording expected = Reference(), other = Reference();
        expected.facts.system = c.expected, other.facts.system = c.other;
        other.file = "other.csv";
        EXPECT_EQ(RoleOf(expected, other), c.role) << c.expected << " / " << c.other;
        std::string source, error;
        ASSERT_TRUE(ExportTest(expected, {other}, "paints", false, source, error)) << error;
        EXPECT_THAT(source, HasSubstr(c.words)) << c.expected << " / " << c.other;
        EXPECT_THAT(source, HasSubstr(std::string(", ") + RoleName(c.role) + ", accepted_1"));
        const bool windows = std::string(c.expected).compare(0, 7, "Windows") == 0;
        EXPECT_EQ(source.find("(Windows: what the others are held to)") != std::string::npos,
                  windows)
            << c.expected;
    }
}

// The work area a maximized Form1 filled: the recording's fact, else its
// frame at the maximize (the borders hang off every side), else unknown.
TEST(TestExport, TheWorkAreaIsTheRecordingsOrItsMaximizedFrames) {
    Recording r = Reference();
    std::string source, error;
    const auto area = [&]() {
        EXPECT_TRUE(ExportTest(r, {}, "paints", false, source, error)) << error;
        const size_t at = source.find("#define RECORDED_WORK_WIDTH ");
        return at == std::string::npos ? "" : source.substr(at, source.find("\n\n", at) - at);
    };
    EXPECT_EQ(area(), "#define RECORDED_WORK_WIDTH 0\n#define RECORDED_WORK_HEIGHT 0");
    EXPECT_THAT(source, HasSubstr("(not known)"));
    r.rows[2].outerWidth = 1288, r.rows[2].outerHeight = 1032;  // step 5, the maximize
    r.rows[2].clientWidth = 1280, r.rows[2].clientHeight = 1005;
    EXPECT_EQ(area(), "#define RECORDED_WORK_WIDTH 1280\n#define RECORDED_WORK_HEIGHT 1024");
    EXPECT_THAT(source, HasSubstr("(from Form1's frame at step 5)"));
    ReadFactComment("# screen: 1400x1050 with work area 0,30,1400,1050", r.facts);
    EXPECT_EQ(area(), "#define RECORDED_WORK_WIDTH 1400\n#define RECORDED_WORK_HEIGHT 1020");
    EXPECT_THAT(source, HasSubstr("(as recorded)"));
}

// The smallest test: the start and one step, from the state the steps
// before left: their last client size while not maximized, and the
// ShowWindow state they left it in.
TEST(TestExport, TheSmallestTestIsTheStartAndAStepFromTheStateBeforeIt) {
    Plan plan;
    const auto client = [](int w, int h, bool top) {
        Change c;
        c.width = w, c.height = h, c.top = top;
        return c;
    };
    const auto show = [](const char* how) {
        Change c;
        c.how = Change::Show, c.show = how;
        return c;
    };
    plan.steps = {{0, "start", {}, {}},
                  {1, "drag top +10", {client(424, 369, true)}, {}},
                  {2, "maximize button", {show("SW_MAXIMIZE")}, {}},
                  {3, "set client width 500", {client(500, 400, false)}, {}},
                  {4, "restore button", {show("SW_RESTORE")}, {}},
                  {5, "set client width 300", {client(300, 369, false)}, {}}};
    const auto steps = [&](int step, std::vector<int> earlier = {}) {
        std::string out;
        for (const PlayStep& s : StartAndStep(plan, step, earlier).steps) {
            out += (out.empty() ? "" : "; ") + std::to_string(s.number);
            for (const Change& c : s.changes) out += " " + ChangeText(c);
        }
        return out;
    };
    // A step from the state reached directly; the start alone; earlier
    // steps played in order, the state set up before the first of them.
    EXPECT_EQ(steps(0), "0");
    EXPECT_EQ(steps(1), "0; 1 client 424x369 top");
    EXPECT_EQ(steps(2), "0; -1 client 424x369; 2 SW_MAXIMIZE");
    EXPECT_EQ(steps(3), "0; -1 client 424x369 SW_MAXIMIZE; 3 client 500x400");
    EXPECT_EQ(steps(5), "0; -1 client 424x369; 5 client 300x369");
    EXPECT_EQ(steps(5, {2, 4}),
              "0; -1 client 424x369; 2 SW_MAXIMIZE; 4 SW_RESTORE; 5 client 300x369");
    EXPECT_EQ(steps(4, {1}), "0; 1 client 424x369 top; 4 SW_RESTORE");
    EXPECT_EQ(steps(9), "");
}

// Reference() as Wine 10.0 paints its maximize: 7 px shorter.
Recording ShorterMaximize() {
    Recording other = Reference();
    other.file = "b.csv", other.facts.system = "Wine 10.0";
    other.rows[2].region = {{270, 0, 1126, 738}, {0, 738, 1126, 977}};
    return other;
}

// The C text from `from` on, or what was not found.
std::string After(const std::string& source, const std::string& from) {
    const size_t at = source.find(from);
    return at == std::string::npos ? "(no " + from + ")" : source.substr(at);
}

// The smallest test as written: straight-line C, the step that differs
// checked alone, its maximize as the work area gives it.
TEST(TestExport, TheSmallestTestPlaysItsStepsInOrderAndChecksTheOneThatDiffers) {
    // Against a recording that paints alike, there is nothing to show.
    std::string source, error;
    const Recording same = Reference();
    Smallest smallest;
    smallest.against = &same;
    EXPECT_FALSE(ExportTest(Reference(), {}, "paints", false, source, error, nullptr, &smallest));
    EXPECT_THAT(error, HasSubstr("no test shows a difference"));

    // Against one whose maximize paints otherwise: that step, from the
    // state before it, played in order and checked alone, said in the
    // file's opening lines.
    const Recording other = ShorterMaximize();
    smallest.against = &other;
    ASSERT_TRUE(ExportTest(Reference(), {}, "paints", false, source, error, nullptr, &smallest))
        << error;
    EXPECT_EQ(smallest.step, 5);
    EXPECT_EQ(smallest.words,
              "the start and step 5 maximize button, from the state before it, of 8 steps");
    EXPECT_THAT(source, testing::StartsWith(
                            "/* The smallest test that shows where Wine 10.0 paints a list view "
                            "otherwise\n * than Wine 8.0: the start and step 5 maximize button, "
                            "from the state\n * before it, of 8 steps."));
    const auto after = [&](const std::string& from) { return After(source, from); };
    // The recording does not say its work area: the maximize skips.
    EXPECT_THAT(after("\n    /* the state before step 5"),
                testing::StartsWith(
                    "\n    /* the state before step 5, as the steps before left it */\n"
                    "    set_client_size(120, 379, FALSE, FALSE);\n    flush_events();\n\n"
                    "    /* step 5 maximize button: the step that differs */\n"
                    "    got_count = 0;\n    ShowWindow(form, SW_MAXIMIZE);\n"
                    "    flush_events();\n    winetest_push_context(\"step 5 maximize button\");\n"
                    "    skip(\"maximized, and the recording does not say its work area\\n\");\n"));
    EXPECT_THAT(source, testing::Not(HasSubstr("RECT work;")));
    // Where it does, the list view's right and bottom edges are the work
    // area's width and height and a number; a paint that does not reach
    // them is as recorded.
    Recording withScreen = Reference();
    ReadFactComment("# screen: 1280x1024 with work area 0,0,1280,1024", withScreen.facts);
    ASSERT_TRUE(ExportTest(withScreen, {}, "paints", false, source, error, nullptr, &smallest))
        << error;
    EXPECT_THAT(after("    winetest_push_context(\"step 5"),
                testing::StartsWith(
                    "    winetest_push_context(\"step 5 maximize button\");\n"
                    "    /* Maximized, Form1 fills the work area (1280x1024 recorded): the list "
                    "view follows it. */\n"
                    "    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);\n"
                    "    width = work.right - work.left - 154; /* 1126 */\n"
                    "    height = work.bottom - work.top - 40; /* 984 */\n"
                    "    ok(got_count == 2, \"expected 2 paints, got %d\\n\", got_count);\n"
                    "    sprintf(region, \"270,0,%d,738 0,738,%d,%d\", width, width, height);\n"
                    "    check_paint(0, region, width, height);\n"
                    "    check_paint(1, \"\", 270, 338);\n"
                    "    winetest_pop_context();\n"));
    // Only what the steps kept need: no step moves Form1, no table of
    // the whole recording's steps.
    EXPECT_THAT(source, testing::Not(HasSubstr("move_by")));
    EXPECT_THAT(source, testing::Not(HasSubstr("static const struct step steps[]")));
}

// What a search asks of the smallest test: earlier steps played, controls
// left out, and either named where it cannot be.
TEST(TestExport, TheSmallestTestTakesEarlierStepsAndLeavesControlsOut) {
    std::string source, error;
    const Recording other = ShorterMaximize();
    Smallest smallest;
    smallest.against = &other;
    // Earlier steps asked for are played, not checked, the state set up
    // before the first; one that is not before the step is named.
    smallest.earlier = {2};
    ASSERT_TRUE(ExportTest(Reference(), {}, "paints", false, source, error, nullptr, &smallest))
        << error;
    EXPECT_EQ(smallest.words,
              "the start, step 2 from the state before step 2, then step 5 maximize button, of 8 "
              "steps");
    EXPECT_THAT(source, HasSubstr("    /* step 2 drag top +10: played, not checked */\n"
                                  "    set_client_size(424, 379, FALSE, TRUE);\n"));
    smallest.earlier = {1, 2, 3};
    ASSERT_TRUE(ExportTest(Reference(), {}, "paints", false, source, error, nullptr, &smallest))
        << error;
    EXPECT_EQ(smallest.words,
              "the start, steps 1 to 3 from the state before step 1, then step 5 maximize "
              "button, of 8 steps");
    // Controls left out: not made, not laid out; the list view stays.
    smallest.earlier = {};
    smallest.without = {"Text1"};
    ASSERT_TRUE(ExportTest(Reference(), {}, "paints", false, source, error, nullptr, &smallest))
        << error;
    EXPECT_THAT(smallest.words, testing::EndsWith(", of 8 steps, without Text1"));
    EXPECT_THAT(source, HasSubstr("enum control { LISTVIEW1, CONTROLS };"));
    EXPECT_THAT(source, testing::Not(HasSubstr("controls[TEXT1]")));
    smallest.without = {"ListView1"};
    EXPECT_FALSE(ExportTest(Reference(), {}, "paints", false, source, error, nullptr, &smallest));
    EXPECT_EQ(error, "--without ListView1: the controls a test may leave out are Text1");
    smallest.without = {};
    smallest.earlier = {5};
    EXPECT_FALSE(ExportTest(Reference(), {}, "paints", false, source, error, nullptr, &smallest));
    EXPECT_EQ(error,
              "--with-steps 5: the steps played before the one that differs (step 5) are among 1 "
              "to 4");
}

TEST(TestExport, WhatCannotBeATestIsNamedInOneLine) {
    Recording noTree = Reference(), noLog = Reference(), otherSteps = Reference();
    noTree.facts.windows.clear();
    noLog.log.clear();
    otherSteps.file = "other.csv";
    otherSteps.rows[1].action = "drag left +10";
    const struct {
        Recording reference;
        std::vector<Recording> others;
        const char* name;
        const char* mistake;
    } table[] = {
        {Reference(), {}, "1st", "--name 1st: a test's name must be a C name"},
        {Reference(), {}, "list-view", "--name list-view: a test's name must be a C name"},
        {Reference(), {}, "", "--name : a test's name must be a C name"},
        {noTree, {}, "t", "C:\\rec\\wine8.csv: it does not say what windows the program made"},
        {noLog,
         {},
         "t",
         "C:\\rec\\wine8.csv: its message log (C:\\rec\\wine8.messages.csv) is needed"},
        {Reference(),
         {otherSteps},
         "t",
         "other.csv: step 2 drag left +10 is not the reference's step 2"},
    };
    for (const auto& c : table) {
        std::string source, error;
        EXPECT_FALSE(ExportTest(c.reference, c.others, c.name, false, source, error)) << c.mistake;
        EXPECT_THAT(error, testing::StartsWith(c.mistake));
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    EXPECT_TRUE(IsCName("listview_paint"));
    EXPECT_TRUE(IsCName("_x9"));
    EXPECT_FALSE(IsCName(std::string(64, 'a')));
}

}  // namespace

namespace {

// Two small recordings, one paint apart: Wine 10.0's maximize 7 px shorter.
std::pair<Recording, Recording> OnePaintApart() {
    Recording a;
    a.name = "Wine 8.0", a.file = "C:\\rec\\a.csv";
    a.facts.scale = "96 dpi (100 %)";
    a.rows = {Paint(1, "drag bottom +10", {{0, 338, 270, 348}}, 270, 348),
              Paint(2, "drag bottom +10", {{0, 348, 270, 358}}, 270, 358),
              Paint(3, "maximize button", {{270, 0, 1126, 738}, {0, 738, 1126, 984}}, 1126, 984),
              Paint(4, "restore button", {})};
    Recording b = a;
    b.name = "Wine 10.0", b.file = "b.csv";
    b.facts.scale = "144 dpi (150 %)";
    b.rows[2].region.back().bottom = 977;
    b.rows[2].viewHeight = 977;
    return {a, b};
}

// The report a bug tracker wants of them.
TEST(BugReport, SaysTheSystemsTheStepsUpToTheDifferenceAndExpectedAndActual) {
    auto [a, b] = OnePaintApart();
    const std::string report = BugReport(a, b, CompareSystems(a.rows, b.rows), nullptr);
    EXPECT_THAT(report, testing::StartsWith("# List view repaints: Wine 10.0 differs from Wine "
                                            "8.0 at step 3 maximize button\n"));
    EXPECT_THAT(report, HasSubstr("1 of 4 paints differs"));
    EXPECT_THAT(report, HasSubstr("| display scale | 96 dpi (100 %) | 144 dpi (150 %) |\n"));
    EXPECT_THAT(report, testing::Not(HasSubstr("| font |"))) << "recorded by neither";
    // Cut after the step that differs: the restore is not in it.
    EXPECT_THAT(report, HasSubstr("```\ndrag bottom +10 x2\nmaximize button\n```\n"));
    EXPECT_THAT(report, HasSubstr("**Step 3 maximize button, paint 1**\n\n"
                                  "- expected: 270,0,1126,738 0,738,1126,984 in a list view of "
                                  "1126x984\n- actual: 270,0,1126,738 0,738,1126,977 in a list "
                                  "view of 1126x977\n"));
    EXPECT_THAT(report, HasSubstr("- `a.csv`: Wine 8.0's recording\n"));
    EXPECT_LT(std::count(report.begin(), report.end(), '\n'), 60) << "under a page";
    // The messages beside them name the step's first that differs.
    a.log = {
        {3, "maximize button", 3, "Form1", "sent", "WM_SIZE", "SIZE_MAXIMIZED 1280x1005", "0", 1}};
    b.log = a.log;
    b.log[0].parameters = "SIZE_MAXIMIZED 1280x998";
    const MessageComparison m = CompareMessages(a.log, b.log);
    EXPECT_THAT(BugReport(a, b, CompareSystems(a.rows, b.rows), &m),
                HasSubstr("- the step's first differing message: Form1 WM_SIZE: SIZE_MAXIMIZED "
                          "1280x1005 / SIZE_MAXIMIZED 1280x998\n"));
    EXPECT_EQ(BugReport(a, a, CompareSystems(a.rows, a.rows), nullptr), "") << "nothing to report";

    // Where the start differs already, no step is needed, and none is listed.
    a.rows.insert(a.rows.begin(), Paint(0, "start", {{0, 0, 270, 338}}));
    b.rows.insert(b.rows.begin(), Paint(0, "start", {{0, 0, 270, 339}}, 270, 339));
    const std::string start = BugReport(a, b, CompareSystems(a.rows, b.rows), nullptr);
    EXPECT_THAT(start, HasSubstr("at step 0 start\n"));
    EXPECT_THAT(start, HasSubstr("2. Nothing more: the list view's first paint"));
    EXPECT_THAT(start, testing::Not(HasSubstr("```")));

    // A self-test run on a system stands under the systems, as it was said.
    b.selfTest = "self-test of paint_transcript on Wine 10.0\nself-test: all 4 needs hold";
    EXPECT_THAT(BugReport(a, b, CompareSystems(a.rows, b.rows), nullptr),
                HasSubstr("## Self-test on Wine 10.0\n\n```\nself-test of paint_transcript on "
                          "Wine 10.0\nself-test: all 4 needs hold\n```\n\n## Steps"));
}

// The smallest test attached: the command that writes it, and what it gave
// on each system it ran on, where its comment says.
TEST(BugReport, AttachesTheSmallestTestWithWhatItGave) {
    const auto [a, b] = OnePaintApart();
    const std::string report = BugReport(a, b, CompareSystems(a.rows, b.rows), nullptr);
    EXPECT_THAT(report, HasSubstr("`scripts/smallest-test.sh a.csv b.csv listview_paint.c`"));
    EXPECT_THAT(report, HasSubstr("; not yet run.\n")) << "no test attached";
    const std::string kept =
        "/* The smallest test ...\n"
        " * Run before it was kept (scripts/smallest-test.sh, 1 try, 7 s):\n"
        " *   Wine 8.0 (Debian 8.0~repack-4): passes (3 checks)\n"
        " *   Wine 10.0 (Debian 10.0~repack-6): fails at step 3 alone (2 of 3 checks)\n"
        " *\n * Build it ...\n */\n";
    EXPECT_THAT(BugReport(a, b, CompareSystems(a.rows, b.rows), nullptr, kept),
                HasSubstr("(`--on RELEASE` runs it under another Debian release's Wine too). "
                          "Run before it was kept (scripts/smallest-test.sh, 1 try, 7 s), it "
                          "gave:\n  - Wine 8.0 (Debian 8.0~repack-4): passes (3 checks)\n"
                          "  - Wine 10.0 (Debian 10.0~repack-6): fails at step 3 alone (2 of 3 "
                          "checks)\n"));
    EXPECT_TRUE(RunsOfTest(" * Run before it was kept: not yet (scripts/smallest-test.sh runs "
                           "it).\n")
                    .empty());
}

// Why: B's frame in words where it differs by one amount at every paint,
// and between two Wine releases, the range and how to bisect it.
TEST(BugReport, SaysWhyTheFrameAndWhereTheChangeLies) {
    Recording a;
    a.name = "Wine 8.0", a.file = "a.csv", a.facts.system = "Wine 8.0 (Debian 8.0~repack-4)";
    a.rows = {Paint(1, "drag bottom +10", {{0, 338, 270, 348}}),
              Paint(2, "maximize button", {{0, 0, 1126, 984}})};
    a.rows[0].outerHeight = 396, a.rows[0].clientHeight = 369;
    a.rows[1].outerHeight = 1032, a.rows[1].clientHeight = 1005;
    Recording b = a;
    b.name = "Wine 10.0", b.file = "b.csv", b.facts.system = "Wine 10.0 (Debian 10.0~repack-6)";
    b.rows[0].outerHeight = 403;  // at the same client size, a frame 7 px taller
    b.rows[1].clientHeight = 998, b.rows[1].region = {{0, 0, 1126, 977}};
    const auto why = [](const Recording& x, const Recording& y) {
        const std::string report = BugReport(x, y, CompareSystems(x.rows, y.rows), nullptr);
        const size_t at = report.find("## Why\n");
        return at == std::string::npos ? std::string()
                                       : report.substr(at, report.find("## Files") - at);
    };
    EXPECT_THAT(why(a, b), HasSubstr("- Wine 10.0's frame (caption and borders) is 7 px taller "
                                     "than Wine 8.0's at every paint: at the same outer size its "
                                     "client area is 7 px shorter"));
    EXPECT_THAT(why(a, b), HasSubstr("- frames differ at 2 paints: outer height +7 at 1, client "
                                     "height -7 at 1\n"));
    EXPECT_THAT(why(a, b), HasSubstr("alike as expected on Wine 8.0, differs on Wine 10.0"));
    EXPECT_THAT(why(a, b), HasSubstr("`git bisect start wine-10.0 wine-8.0`"));
    EXPECT_THAT(why(b, a), HasSubstr("7 px shorter than Wine 10.0's"));
    EXPECT_THAT(why(b, a), HasSubstr("Wine 10.0, the newer, paints as expected and Wine 8.0 does "
                                     "not"));
    EXPECT_THAT(why(b, a), HasSubstr("`git bisect start --term-new=alike --term-old=differs "
                                     "wine-10.0 wine-8.0`"));

    // Not two releases of Wine: no range. A frame apart by more than one
    // amount is not put in words.
    b.facts.system = "Windows 10 (10.0 build 19045)";
    b.rows[0].outerHeight = 405;
    EXPECT_THAT(why(a, b), testing::Not(HasSubstr("bisect")));
    EXPECT_THAT(why(a, b), testing::Not(HasSubstr("caption and borders")));
    b.facts.system = "Wine 8.0 (Debian 8.0~repack-5)";
    EXPECT_THAT(why(a, b), testing::Not(HasSubstr("bisect")));
}

}  // namespace
