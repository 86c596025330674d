// The self-test's lines from what its run found: each need held or not,
// what to do where not, and the status that follows.
#include <gmock/gmock.h>

#include "self_test.h"

using namespace transcript;
using testing::HasSubstr;

namespace {

// Wine in a virtual desktop of the tool's own, where every need held.
SelfTestFindings Held() {
    SelfTestFindings f;
    f.facts.system = "Wine 8.0 (Debian 8.0~repack-4)";
    f.facts.scale = "96 dpi (100 %)";
    const int area[4] = {0, 0, 1280, 1024};
    f.facts.screen = ScreenText(1280, 1024, area, true);
    f.underWine = true, f.ownDesktop = true;
    f.fromStart = true, f.startPaints = 1, f.inFront = true;
    f.pixels = 10, f.heightBefore = 300, f.heightAfter = 310;
    f.paints = 2, f.coloured = 2;
    return f;
}

TEST(SelfTest, AllHeldIsSaidNeedByNeedUnderTheSystemsFacts) {
    EXPECT_EQ(SelfTestReport(Held()),
              "self-test of paint_transcript on Wine 8.0 (Debian 8.0~repack-4)\n"
              "  display scale: 96 dpi (100 %)\n"
              "  screen: 1280x1024 (a Wine desktop of the tool's own) with work area "
              "0,0,1280,1024\n"
              "ok      desktop: a Wine virtual desktop of the tool's own, 1280 x 1024 (as every "
              "recording whose steps a frame takes)\n"
              "ok      the start: the hook was on before Form1 was made: step 0's first paint "
              "seen (1 paint in it)\n"
              "ok      the front: Form1 was brought to the front as it showed\n"
              "ok      input: a drag of Form1's bottom edge by +10 pixels reached Form1 and "
              "resized it (its height 300 to 310)\n"
              "ok      colours: read back from the list view for every one of the 2 paints seen\n"
              "self-test: all 5 needs hold\n");
    EXPECT_TRUE(AllHeld(SelfTestLines(Held())));
}

// Each failing need as a run finds it: which need, and words of what to do.
TEST(SelfTest, ANeedThatFailsIsNamedWithWhatToDo) {
    struct Case {
        const char* what;
        void (*change)(SelfTestFindings&);
        const char* need;
        const char* found;
        const char* todo;
    };
    const Case cases[] = {
        {"a window manager took the drag",
         [](SelfTestFindings& f) {
             f.ownDesktop = false, f.heightAfter = 300;
             f.inputFault = "step 1, drag bottom +10: input changed nothing";
         },
         "input", "height 300 to 300): step 1, drag bottom +10: input changed nothing",
         "leave out --on-this-desktop"},
        {"on Windows, nothing moved",
         [](SelfTestFindings& f) {
             f.underWine = false, f.ownDesktop = false, f.heightAfter = 300;
         },
         "input", "did not resize Form1 as asked", "leave the mouse and keys alone"},
        {"the edge stopped short", [](SelfTestFindings& f) { f.heightAfter = 305; }, "input",
         "(its height 300 to 305)", "run it again"},
        {"the hook came late",
         [](SelfTestFindings& f) {
             f.fromStart = false, f.hookRefused = "SetWindowsHookEx: error 87";
         },
         "the start", "leave out step 0: SetWindowsHookEx: error 87", "report it"},
        {"another window in front", [](SelfTestFindings& f) { f.inFront = false; }, "the front",
         "another window stayed in front", "start the tool from the window in front"},
        {"no paint at the start", [](SelfTestFindings& f) { f.startPaints = 0; }, "the start",
         "saw no paint there", "report it"},
        {"a colour unread", [](SelfTestFindings& f) { f.paints = 3; }, "colours",
         "for 2 of the 3 paints seen", "report it"},
        {"no desktop of its own",
         [](SelfTestFindings& f) {
             f.ownDesktop = false, f.desktopError = "explorer.exe did not start";
         },
         "desktop", "explorer.exe did not start", "wine explorer"},
    };
    for (const Case& c : cases) {
        SelfTestFindings f = Held();
        c.change(f);
        const std::vector<SelfTestLine> lines = SelfTestLines(f);
        EXPECT_FALSE(AllHeld(lines)) << c.what;
        int failed = 0;
        for (const SelfTestLine& l : lines) {
            if (l.held) continue;
            ++failed;
            EXPECT_EQ(l.need, c.need) << c.what;
            EXPECT_THAT(l.found, HasSubstr(c.found)) << c.what;
            EXPECT_THAT(l.todo, HasSubstr(c.todo)) << c.what;
        }
        EXPECT_EQ(failed, 1) << c.what;
        EXPECT_THAT(SelfTestReport(f), HasSubstr("FAILED  " + std::string(c.need) + ": "));
        EXPECT_THAT(SelfTestReport(f),
                    HasSubstr("\nself-test: 4 of 5 needs hold; do what each FAILED"));
    }
}

TEST(SelfTest, WithoutForm1TheRestIsNotTried) {
    SelfTestFindings f = Held();
    f.startError = "paintprobe.exe ended (exit code 1)";
    const std::string report = SelfTestReport(f);
    EXPECT_THAT(report, HasSubstr("FAILED  the start: paintprobe.exe did not show Form1: "
                                  "paintprobe.exe ended (exit code 1)\n"));
    EXPECT_THAT(report, testing::Not(HasSubstr("input:")));
    EXPECT_THAT(report, testing::EndsWith("(the rest was not tried without Form1)\n"));
    EXPECT_EQ(SelfTestPath("C:\\rec\\reactos.csv"), "C:\\rec\\reactos.self-test.txt");
}

}  // namespace
