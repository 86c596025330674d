// paintprobe.exe as its own process, driven only from outside with real
// mouse input inside Wine's virtual desktop, the way a user drives it.
#include <windows.h>

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "layout.h"
#include "player.h"
#include "remote.h"
#include "support/pump.h"
#include "transcript_rows.h"

using namespace transcript;

namespace {

// A rectangle as "left,top width x height".
std::string Box(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top);
}

class EndToEnd : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(remote_.Start(error)) << error;
        ASSERT_TRUE(ParseCount(remote_.Text(remote_.label2), count_));
        paints_ = remote_.PaintsSeen();
        // In the runs at another scale or Windows version, it took.
        OSVERSIONINFOA info = {};
        info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        GetVersionExA(&info);
        const std::string version =
            std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion);
        const std::string dpi = std::to_string(ScreenDpi(LOGPIXELSY));
        for (const auto& [name, actual] :
             {std::pair{"EXPECTED_DPI", dpi}, std::pair{"EXPECTED_WINDOWS_VERSION", version}})
            EXPECT_EQ(actual, std::getenv(name) ? std::getenv(name) : actual) << name;
    }

    // After a step: the report of the last paint is well formed and bounds
    // the update region the hook saw (which lies inside the list view), the
    // count went up by exactly the paints the hook saw, and the region is one
    // colour on screen (where the header does not cover it). Returns that.
    COLORREF ExpectStepReported(const std::string& step) {
        SCOPED_TRACE(step);
        const std::string report = remote_.Text(remote_.text1);
        Rect r, bounds;
        int count = 0;
        const std::vector<PaintRow> rows = remote_.Rows();
        if (!ParseReport(report, r) || !ParseCount(remote_.Text(remote_.label2), count) ||
            rows.size() <= static_cast<size_t>(paints_)) {
            ADD_FAILURE() << "no paint reported: " << report;
            return CLR_INVALID;
        }
        EXPECT_EQ((count - count_ + 9999) % 9999, static_cast<int>(rows.size()) - paints_);
        count_ = count;
        paints_ = static_cast<int>(rows.size());

        const std::vector<Rect>& region = rows.back().region;
        bounds = region.empty() ? Rect{} : region[0];
        for (const Rect& part : region)
            bounds = {std::min(bounds.left, part.left), std::min(bounds.top, part.top),
                      std::max(bounds.right, part.right), std::max(bounds.bottom, part.bottom)};
        EXPECT_TRUE(bounds == r) << report << " against region " << RegionText(region) << "\n"
                                 << FormatTable(rows);
        RECT header;
        GetWindowRect(GetWindow(remote_.listView, GW_CHILD), &header);
        const int headerBottom = header.bottom - header.top;
        COLORREF first = CLR_INVALID;
        for (const Rect& part : region) {
            const int top = std::max<int>(part.top, headerBottom);
            if (top >= part.bottom) continue;
            for (POINT p : {POINT{part.left, top}, POINT{part.right - 1, part.bottom - 1},
                            POINT{(part.left + part.right) / 2, (top + part.bottom) / 2}}) {
                const COLORREF pixel = remote_.ScreenPixel(remote_.ListViewToScreen(p));
                if (first == CLR_INVALID) first = pixel;
                EXPECT_EQ(pixel, first) << "at " << p.x << "," << p.y;
            }
        }
        EXPECT_EQ(rows.back().colour, ColourText(static_cast<int32_t>(first)));  // as recorded
        return first;
    }

    // The list view fills all but the column; the rest stand 20 pixels right
    // of it; pixels at 96 dots per inch, scaled with the display.
    void ExpectLaidOut(const std::string& after) {
        const RECT client = remote_.ClientRect(), lv = remote_.Place(remote_.listView);
        const int width = client.right - MulDiv(150, ScreenDpi(LOGPIXELSX), 96);
        EXPECT_EQ(Box(lv), Box({0, 0, width, client.bottom})) << after;
        for (HWND control : {remote_.text1, remote_.label1, remote_.label2})
            EXPECT_EQ(remote_.Place(control).left, width + MulDiv(20, ScreenDpi(LOGPIXELSX), 96))
                << after;
    }

    Remote remote_;
    int count_ = 0;
    int paints_ = 0;
};

// (The drags of the edges are replayed against the transcripts in docs/.)
// After the list view has narrowed to nothing and grown back, a double-click
// (one on the header grows nothing), maximize and restore, the layout holds
// and the column's controls show exactly what each draws afresh. Then the
// close box ends the program with exit code 0.
TEST_F(EndToEnd, TheColumnIsDrawnWholeAfterEveryMoveAndTheCloseBoxEndsIt) {
    // Where what was shown is not what the control draws afresh, the
    // failure says what it was: a paint after the step had settled, the
    // screen behind the program, or a paint never made.
    auto expectDrawn = [&](const std::string& after) {
        ExpectLaidOut(after);
        for (HWND control : {remote_.text1, remote_.label1, remote_.label2}) {
            const int paints = remote_.PaintsSeen();
            const Image shown = remote_.Capture(control);
            remote_.Settle();
            const Image settled = remote_.Capture(control);
            const int late = remote_.PaintsSeen() - paints;
            remote_.Redraw(control);
            const Image drawn = remote_.Capture(control);
            EXPECT_TRUE(shown == drawn)
                << remote_.Text(control).substr(0, 12) << " after " << after << ": stale pixels, "
                << (late > 0 ? "the list view painted " + std::to_string(late) +
                                   " times after the step had settled"
                    : settled == drawn
                        ? "the screen showed the program's drawing only a moment later"
                    : settled == shown ? "not drawn until redrawn: a paint the control never had"
                                       : "changing as it was read, with no paint");
        }
    };
    const RECT outer = remote_.OuterRect();
    for (int width : {300, 150, 120, MulDiv(424, ScreenDpi(LOGPIXELSX), 96)})
        remote_.SetClientWidth(width);
    expectDrawn("narrowing to 120 and widening");
    const RECT client = remote_.ListViewClient();
    remote_.DoubleClick(remote_.ListViewToScreen({client.right / 2, client.bottom / 2}));
    ExpectStepReported("a double-click");
    remote_.DoubleClick(remote_.ListViewToScreen({30, 5}));  // on the header
    expectDrawn("a double-click");
    for (WPARAM command : {SC_MAXIMIZE, SC_MINIMIZE, SC_RESTORE, SC_RESTORE}) {
        PostMessageA(remote_.form, WM_SYSCOMMAND, command, 0);
        remote_.Settle();
        if (command == SC_MAXIMIZE) expectDrawn("maximize");
    }
    EXPECT_FALSE(IsZoomed(remote_.form) || IsIconic(remote_.form));
    // One double-click: 750 twips in the display's twips per pixel, each way.
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    EXPECT_EQ(
        Box(remote_.OuterRect()),
        Box({outer.left, outer.top, outer.left + form1::GrownPixels(width, ScreenDpi(LOGPIXELSX)),
             outer.top + form1::GrownPixels(height, ScreenDpi(LOGPIXELSY))}));
    expectDrawn("minimize and restore");
    ExpectStepReported("restore");

    ASSERT_GE(remote_.FindHit(HTCLOSE).x, 0) << "no close box found";
    remote_.Click(remote_.FindHit(HTCLOSE));
    EXPECT_EQ(remote_.WaitForExit(10000), 0);
}

// Another program may move the cursor between a move and the press that
// follows it: the press is sent where it was aimed all the same (here the
// maximize button), and the hook's word that it reached Form1 there is
// waited for. A click, not a double-click: no timing decides what it does.
TEST_F(EndToEnd, APressGoesWhereItWasAimedThoughTheCursorWasMovedAway) {
    const POINT button = remote_.FindHit(HTMAXBUTTON);
    ASSERT_GE(button.x, 0) << "no maximize button found";
    remote_.MoveMouse(button);
    remote_.Settle();
    SetCursorPos(0, 0);
    remote_.Press();
    remote_.Release();
    remote_.Settle();
    ASSERT_FALSE(remote_.Faulted()) << remote_.FaultText();
    EXPECT_TRUE(IsZoomed(remote_.form)) << "the click on the maximize button maximized Form1";
}

// What settling waits for: the hook calls the program idle only once none
// of its windows has anything left to paint, a control's included. With a
// control invalidated while the program's thread is held, the flush it then
// takes finds it busy; after a settle it has painted, and is idle.
TEST_F(EndToEnd, TheProgramIsIdleOnlyOnceEveryOneOfItsWindowsHasPainted) {
    const UINT flush = RegisterWindowMessageA("PaintProbeTranscriptFlush");
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE,
                               GetWindowThreadProcessId(remote_.form, nullptr));
    ASSERT_TRUE(thread);
    // A suspension takes effect some time after SuspendThread returns;
    // reading the thread's registers waits for it. Without, a busy machine
    // let the program paint the window between the two.
    const auto suspend = [thread] {
        SuspendThread(thread);
        CONTEXT registers = {};
        registers.ContextFlags = CONTEXT_CONTROL;
        GetThreadContext(thread, &registers);
    };
    remote_.Settle();
    for (HWND control : {remote_.text1, remote_.label1, remote_.label2, remote_.listView}) {
        SCOPED_TRACE(remote_.Text(control).substr(0, 6));
        suspend();
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
        const int before = remote_.Flushes();
        PostMessageA(remote_.form, flush, 0, 0);
        ResumeThread(thread);
        for (DWORD start = GetTickCount();
             remote_.Flushes() == before && GetTickCount() - start < 10000;)
            Sleep(2);
        ASSERT_NE(remote_.Flushes(), before) << "the hook took no flush";
        EXPECT_FALSE(remote_.Idle()) << "idle with a window left to paint";
        remote_.Settle();
        RECT update;
        EXPECT_FALSE(GetUpdateRect(control, &update, FALSE));
        EXPECT_TRUE(remote_.Idle());
    }
    CloseHandle(thread);
}

// The program's own thread hooked itself as it started: no hook was set on
// it from outside, and the start's paint is recorded. (The messages that
// made its windows are checked in the message log's test.)
TEST_F(EndToEnd, TheProgramsThreadHookedItselfAtItsStart) {
    EXPECT_TRUE(remote_.FromStart()) << remote_.StartRefused();
    EXPECT_FALSE(remote_.HookedFromOutside());
    const std::vector<PaintRow> rows = remote_.Rows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].step, 0);
    EXPECT_EQ(rows[0].count, 1) << "the first paint is the start's";
}

// A left-handed mouse: the buttons swapped for the session, as a person
// sets them, while the tool drags an edge.
struct SwappedButtons {
    SwappedButtons() { SwapMouseButton(TRUE); }
    ~SwappedButtons() { SwapMouseButton(FALSE); }
};

// Windows' rules as a person's system may set them: Form1 was made the
// window in front, and with the buttons swapped the drag is still a drag
// (the tool presses the primary button; under Wine, the left one). (A key
// held down is X input there: the faults' test holds one.)
TEST_F(EndToEnd, FormIsInFrontAndSwappedButtonsStillDrag) {
    EXPECT_TRUE(remote_.InFront());
    const RECT before = remote_.OuterRect();
    std::vector<Step> drag;
    std::string error;
    ASSERT_TRUE(ParseScenario("drag bottom +10\n", drag, error)) << error;
    int step = 0;
    {
        SwappedButtons left;
        ASSERT_TRUE(GetSystemMetrics(SM_SWAPBUTTON));
        ASSERT_TRUE(PlaySteps(remote_, drag, step, error)) << error;
    }
    ASSERT_FALSE(remote_.Faulted()) << remote_.FaultText();
    EXPECT_EQ(remote_.OuterRect().bottom, before.bottom + 10);
}

// On Wine's own desktop no window manager takes input: a double-click that
// never reaches the program is not named as one. Here a window of this
// test's process covers the list view and takes it.
TEST_F(EndToEnd, InputThatNeverCameNamesTheWindowUnderTheCursor) {
    const RECT list = remote_.Place(remote_.listView);
    POINT corner = {list.left, list.top};
    ClientToScreen(remote_.form, &corner);
    WNDCLASSA kind = {};
    kind.lpfnWndProc = DefWindowProcA;
    kind.lpszClassName = "Cover";
    RegisterClassA(&kind);  // not a static control: those are transparent to a hit-test
    HWND cover =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "Cover", "cover",
                        WS_POPUP | WS_VISIBLE, corner.x, corner.y, list.right - list.left,
                        list.bottom - list.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(cover);
    const RECT client = remote_.ListViewClient();
    remote_.DoubleClick(remote_.ListViewToScreen({client.right / 2, client.bottom / 2}));
    DestroyWindow(cover);
    ASSERT_EQ(remote_.fault(), Fault::InputLost) << remote_.FaultText();
    // What it missed depends on what was still under way: the words say it.
    EXPECT_THAT(remote_.FaultText(),
                testing::HasSubstr("took none of the mouse input sent to it ("));
    EXPECT_THAT(remote_.FaultText(),
                testing::HasSubstr(" not taken in 5 s); the cursor stands at "));
    EXPECT_THAT(remote_.FaultText(), testing::EndsWith("over another program's window \"cover\""));
}

// Messages for which random parameters are fair input. Left out: those that
// carry pointers, WM_SETREDRAW and WM_CLOSE (they stop painting or the
// program) and right-button ones (the system menu they open lets random keys
// choose Close, as a user could).
const UINT kStormMessages[] = {
    WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEWHEEL, WM_KEYDOWN,  WM_KEYUP,     WM_CHAR,
    WM_SIZE,      WM_MOVE,        WM_NULL,      WM_APP + 1,    WM_APP + 77, WM_ERASEBKGND};

TEST_F(EndToEnd, AStormOfMessagesFromAnotherProgramLeavesItRunningAndLaidOut) {
    // Posted button messages make the list view track the real mouse: the
    // cursor rests away from the window (on the close box, Wine was seen to
    // close the program part-way through).
    remote_.MoveMouse({5, 5});
    std::mt19937 random(20261206);
    auto pick = [&](int high) { return std::uniform_int_distribution<int>(0, high)(random); };
    const int sizes[] = {0, 1, -1, -500, 149, 150, 151, 400, 2000, 30000};
    const WPARAM commands[] = {SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE};
    DWORD_PTR result;
    for (int actions = 0; actions < 3000; ++actions) {
        const int kind = pick(5);
        if (kind == 0)
            SetWindowPos(remote_.form, nullptr, 0, 0, sizes[pick(9)], sizes[pick(9)],
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (kind == 1) PostMessageA(remote_.form, WM_SYSCOMMAND, commands[pick(2)], 0);
        if (kind == 2)
            for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                PostMessageA(remote_.listView, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                             MAKELPARAM(pick(650) - 50, pick(650) - 50));
        if (kind == 3 || kind == 4)
            PostMessageA(pick(1) ? remote_.listView : remote_.form,
                         kStormMessages[pick(std::size(kStormMessages) - 1)],
                         static_cast<WPARAM>(random()), static_cast<LPARAM>(random()));
        if (kind == 5)
            SendMessageTimeoutA(remote_.listView, WM_PAINT, 0, 0, SMTO_NORMAL, 5000, &result);
        if (actions % 100 == 99) remote_.Settle();
        if (actions % 100 == 99 && remote_.WaitForExit(0) != -1) break;
    }

    // Still there, back to a known state, laid out and reporting.
    ASSERT_EQ(remote_.WaitForExit(0), -1) << "the program ended during the storm";
    SendMessageA(remote_.form, WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessageA(remote_.form, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetWindowPos(remote_.form, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER);
    remote_.Settle();
    ExpectLaidOut("the storm");
    ASSERT_TRUE(ParseCount(remote_.Text(remote_.label2), count_));
    paints_ = remote_.PaintsSeen();
    // One known rectangle, one paint; again, and it gets a colour of its own.
    const RECT strip = {10, 100, 60, 130};
    COLORREF colours[2];
    for (COLORREF& colour : colours) {
        RedrawWindow(remote_.listView, &strip, nullptr, RDW_INVALIDATE);
        remote_.Settle();
        colour = ExpectStepReported("a strip after the storm");
        Rect r;
        EXPECT_TRUE(ParseReport(remote_.Text(remote_.text1), r) && (r == Rect{10, 100, 60, 130}));
    }
    EXPECT_NE(colours[0], colours[1]);
}

}  // namespace
