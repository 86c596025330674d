// A recording by hand, made as a person makes one: paint_transcript --by-hand
// starts the program, and real mouse input (from this test, inside Wine's
// desktop) drags, double-clicks, maximizes and closes it. The steps are named
// for the gestures, the scenario it saves replays them, and the replay's
// paints are the paints of the hand-made run.
#include <windows.h>

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "player.h"
#include "message_log.h"
#include "remote.h"
#include "transcript_rows.h"
#include "paint_compare.h"

using namespace transcript;
using testing::ElementsAreArray;

namespace {

// Runs the transcript tool with these arguments; its exit status.
struct Tool {
    PROCESS_INFORMATION process = {};
    explicit Tool(const std::string& arguments) {
        const std::string exe = FindBeside("paint_transcript.exe");
        std::string line = "\"" + exe + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process);
    }
    int Wait() {
        if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        return static_cast<int>(code);
    }
    ~Tool() {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
};

std::string Read(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

std::vector<PaintRow> Transcript(const std::string& path) {
    std::vector<PaintRow> rows;
    std::string error;
    EXPECT_TRUE(ParseCsv(Read(path), rows, error)) << path << ": " << error;
    return rows;
}

TEST(ByHand, StepsAreNamedForTheGesturesAndTheSavedScenarioPaintsTheSame) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string hand = std::string(folder) + "by-hand.csv";
    const std::string scenario = std::string(folder) + "by-hand.scenario";
    const std::string replay = std::string(folder) + "replay.csv";
    DeleteFileA(hand.c_str());

    // A Form1 no recording watches (one left open), above every other: the
    // person takes hold of the recording's, not of the first found.
    HWND decoy = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "STATIC",
                                 "Form1", WS_POPUP | WS_VISIBLE, 1250, 990, 20, 20, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(decoy);
    Tool recording("--by-hand --quiet --csv \"" + hand + "\" --save-scenario \"" + scenario + "\"");
    {
        Remote person;
        std::string error;
        const bool attached = person.Attach(error);
        DestroyWindow(decoy);
        ASSERT_TRUE(attached) << error;
        ASSERT_NE(person.form, decoy);
        std::vector<Step> gestures;
        ASSERT_TRUE(
            ParseScenario("drag bottom +10 +6\n"
                          "drag corner +8,+4\n"
                          "double-click list\n"
                          "double-click header\n"
                          "maximize button\n"
                          "restore button\n"
                          "resize right +12 from outside\n",
                          gestures, error))
            << error;
        int step = 0;
        ASSERT_TRUE(PlaySteps(person, gestures, step, error)) << error;
        ASSERT_FALSE(person.Faulted()) << person.FaultText();
        person.Click(person.FindHit(HTCLOSE));
    }
    ASSERT_EQ(recording.Wait(), 0);

    const std::vector<PaintRow> rows = Transcript(hand);
    std::vector<std::string> actions;
    for (const PaintRow& r : rows)
        if (actions.empty() || actions.back() != std::to_string(r.step) + " " + r.action)
            actions.push_back(std::to_string(r.step) + " " + r.action);
    // The start and every step but the header's double-click, which grows
    // nothing, paint.
    EXPECT_THAT(actions,
                ElementsAreArray({"0 start", "1 drag bottom +10", "2 drag bottom +6",
                                  "3 drag corner +8,+4", "4 double-click list", "6 maximize button",
                                  "7 restore button", "8 resize right +12 from outside"}));
    // The log beside it: each paint a WM_PAINT row of the list view in its
    // step, with its region; each step's messages from the gesture that made it.
    std::vector<MessageRow> log;
    std::string error;
    ASSERT_TRUE(ParseMessagesCsv(Read(MessagesPath(hand)), log, error)) << error;
    std::vector<std::string> paints, commands;
    for (const MessageRow& m : log) {
        if (m.window == "ListView1" && m.message == "WM_PAINT")
            paints.push_back(std::to_string(m.step) + " " + m.parameters);
        if (m.message == "WM_SYSCOMMAND" || m.message == "WM_LBUTTONDBLCLK" ||
            m.message == "WM_NCLBUTTONDOWN")
            commands.push_back(std::to_string(m.step) + " " + m.action + ": " + m.window + " " +
                               m.message + " " + m.parameters.substr(0, m.parameters.find(' ')));
    }
    std::vector<std::string> expected;
    for (const PaintRow& r : rows)
        expected.push_back(std::to_string(r.step) + " " +
                           (r.region.empty() ? "update empty" : "update " + RegionText(r.region)));
    EXPECT_THAT(paints, ElementsAreArray(expected));
    EXPECT_THAT(
        commands,
        ElementsAreArray({"1 drag bottom +10: Form1 WM_NCLBUTTONDOWN HTBOTTOM",
                          "1 drag bottom +10: Form1 WM_SYSCOMMAND SC_SIZE+WMSZ_BOTTOM",
                          "3 drag corner +8,+4: Form1 WM_NCLBUTTONDOWN HTBOTTOMRIGHT",
                          "3 drag corner +8,+4: Form1 WM_SYSCOMMAND SC_SIZE+WMSZ_BOTTOMRIGHT",
                          "4 double-click list: ListView1 WM_LBUTTONDBLCLK MK_LBUTTON",
                          "5 double-click header: ListView1 header WM_LBUTTONDBLCLK MK_LBUTTON",
                          "6 maximize button: Form1 WM_NCLBUTTONDOWN HTMAXBUTTON",
                          "6 maximize button: Form1 WM_SYSCOMMAND SC_MAXIMIZE",
                          "7 restore button: Form1 WM_NCLBUTTONDOWN HTMAXBUTTON",
                          "7 restore button: Form1 WM_SYSCOMMAND SC_RESTORE",
                          "8 resize right +12 from outside: Form1 WM_NCLBUTTONDOWN HTCLOSE",
                          "8 resize right +12 from outside: Form1 WM_SYSCOMMAND SC_CLOSE"}));
    EXPECT_EQ(Read(scenario).substr(Read(scenario).find('\n') + 1),
              "drag bottom +10 +6\ndrag corner +8,+4\ndouble-click list\ndouble-click header\n"
              "maximize button\nrestore button\nresize right +12 from outside\n");

    Tool again("--quiet --scenario-file \"" + scenario + "\" --csv \"" + replay + "\"");
    ASSERT_EQ(again.Wait(), 0);
    const Comparison c = CompareSystems(rows, Transcript(replay));
    EXPECT_TRUE(c.PaintsAgree()) << c.PaintSummary() << "\n" << testing::PrintToString(c.Listing());
}

// A person may take hold of Form1 as soon as it shows, while the tool still
// waits for the start to settle. The program's thread held while the press
// is sent puts the press inside that wait: the drag is still named as one.
TEST(ByHand, APressWhileTheStartSettlesBeginsTheFirstStep) {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string hand = std::string(folder) + "by-hand-early.csv";
    DeleteFileA(hand.c_str());
    Tool recording("--by-hand --quiet --csv \"" + hand + "\"");
    {
        Remote person;
        std::string error;
        ASSERT_TRUE(person.Attach(error)) << error;
        const POINT edge = person.FindHit(HTBOTTOM);
        ASSERT_GE(edge.x, 0) << "no bottom edge found";
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE,
                                   GetWindowThreadProcessId(person.form, nullptr));
        ASSERT_TRUE(thread);
        SuspendThread(thread);
        CONTEXT registers = {};  // read: the suspension has taken effect
        registers.ContextFlags = CONTEXT_CONTROL;
        GetThreadContext(thread, &registers);
        person.MoveMouse(edge);
        person.Press();
        ResumeThread(thread);
        CloseHandle(thread);
        person.Settle();
        person.MoveMouse({edge.x, edge.y + 10});
        person.Settle();
        person.Release();
        person.Settle();
        ASSERT_FALSE(person.Faulted()) << person.FaultText();
        person.Click(person.FindHit(HTCLOSE));
    }
    ASSERT_EQ(recording.Wait(), 0);
    std::vector<std::string> actions;
    for (const PaintRow& r : Transcript(hand))
        if (actions.empty() || actions.back() != std::to_string(r.step) + " " + r.action)
            actions.push_back(std::to_string(r.step) + " " + r.action);
    EXPECT_THAT(actions, ElementsAreArray({"0 start", "1 drag bottom +10"}));
}

}  // namespace
