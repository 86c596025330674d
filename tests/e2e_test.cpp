// paintprobe.exe as its own process, driven only from outside with real
// mouse input inside Wine's virtual desktop, the way a user drives it.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "remote.h"
#include "transcript_rows.h"

using transcript::ParseCount;
using transcript::ParseReport;
using transcript::Rect;
using transcript::Remote;

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// In the runs that ask Wine for another Windows version, make sure it took.
TEST(Platform, ReportsTheWindowsVersionTheRunAskedFor) {
    const char* expected = std::getenv("EXPECTED_WINDOWS_VERSION");
    if (!expected) GTEST_SKIP() << "no version asked for";
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&info);
#pragma GCC diagnostic pop
    EXPECT_EQ(std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion),
              expected);
}

class EndToEnd : public testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(remote_.Start(error)) << error;
        ASSERT_TRUE(remote_.Watch(error)) << error;
        ASSERT_TRUE(ParseCount(remote_.Text(remote_.label2), count_))
            << remote_.Text(remote_.label2);
        paints_ = remote_.PaintsSeen();
    }

    // After a step: a well-formed report of a rectangle inside the list
    // view's client area and bounding the update region, the count up by
    // exactly the paints the hook saw, and the region one solid colour on
    // screen.
    void ExpectStepReported(const char* step) {
        SCOPED_TRACE(step);
        const std::string report = remote_.Text(remote_.text1);
        Rect r;
        ASSERT_TRUE(ParseReport(report, r)) << report;
        const RECT client = remote_.ListViewClient();
        EXPECT_TRUE(0 <= r.left && r.left <= r.right && r.right <= client.right) << report;
        EXPECT_TRUE(0 <= r.top && r.top <= r.bottom && r.bottom <= client.bottom) << report;

        int count = 0;
        ASSERT_TRUE(ParseCount(remote_.Text(remote_.label2), count));
        const int paints = remote_.PaintsSeen();
        EXPECT_GT(paints, paints_);
        EXPECT_EQ(count - count_, paints - paints_);
        count_ = count;
        paints_ = paints;

        const std::vector<transcript::PaintRow> rows = remote_.Rows();
        ASSERT_FALSE(rows.empty());
        const std::vector<Rect>& region = rows.back().region;
        Rect bounds = region.empty() ? Rect{} : region[0];
        for (const Rect& part : region) {
            bounds.left = std::min(bounds.left, part.left);
            bounds.top = std::min(bounds.top, part.top);
            bounds.right = std::max(bounds.right, part.right);
            bounds.bottom = std::max(bounds.bottom, part.bottom);
        }
        if (!(bounds == r)) std::fputs(transcript::FormatTable(rows).c_str(), stderr);
        EXPECT_TRUE(bounds == r) << report << " against region " << transcript::RegionText(region);
        if (!region.empty()) ExpectSolid(region);
    }

    // The probe's fill over the update region, where no child window (the
    // header) covers it: the bounding rectangle itself may hold older fills.
    COLORREF ExpectSolid(const std::vector<Rect>& region) {
        RECT header;
        GetWindowRect(GetWindow(remote_.listView, GW_CHILD), &header);
        MapWindowPoints(HWND_DESKTOP, remote_.listView, reinterpret_cast<POINT*>(&header), 2);
        COLORREF first = CLR_INVALID;
        for (const Rect& r : region) {
            const int top = std::max<int>(r.top, header.bottom);
            if (top >= r.bottom) continue;
            const POINT points[] = {{r.left, top},
                                    {r.right - 1, top},
                                    {r.left, r.bottom - 1},
                                    {r.right - 1, r.bottom - 1},
                                    {(r.left + r.right) / 2, (top + r.bottom) / 2}};
            for (POINT p : points) {
                const COLORREF pixel = remote_.ScreenPixel(remote_.ListViewToScreen(p));
                if (first == CLR_INVALID) first = pixel;
                EXPECT_EQ(pixel, first) << "at " << p.x << "," << p.y;
            }
        }
        return first;
    }

    Remote remote_;
    int count_ = 0;
    int paints_ = 0;
};

TEST_F(EndToEnd, DraggingTheBottomEdgeChangesOnlyTheHeightAndReportsEveryStrip) {
    const RECT outer = remote_.OuterRect();
    const RECT listView = remote_.Place(remote_.listView), text = remote_.Place(remote_.text1);
    int step = 0;
    remote_.DragBottomEdge({12, 12, 12, 12, 12}, [&](size_t i) {
        ExpectStepReported(("drag step " + std::to_string(i + 1)).c_str());
        const RECT now = remote_.OuterRect();
        EXPECT_EQ(Width(now), Width(outer));
        EXPECT_EQ(Height(now), Height(outer) + 12 * static_cast<int>(++step));
        const RECT lv = remote_.Place(remote_.listView);
        EXPECT_EQ(lv.left, listView.left);
        EXPECT_EQ(lv.top, listView.top);
        EXPECT_EQ(Width(lv), Width(listView));
        EXPECT_EQ(Height(lv), Height(listView) + 12 * step);
        const RECT t = remote_.Place(remote_.text1);
        EXPECT_EQ(t.left, text.left);
        EXPECT_EQ(t.top, text.top);
    });
    EXPECT_EQ(step, 5);

    // The same rectangle painted again gets a colour of its own.
    Rect r;
    ASSERT_TRUE(ParseReport(remote_.Text(remote_.text1), r));
    const COLORREF before = ExpectSolid({r});
    const RECT again = {r.left, r.top, r.right, r.bottom};
    RedrawWindow(remote_.listView, &again, nullptr, RDW_INVALIDATE);
    remote_.Settle();
    ExpectStepReported("repaint");
    Rect same;
    ASSERT_TRUE(ParseReport(remote_.Text(remote_.text1), same));
    EXPECT_TRUE(same == r);
    EXPECT_NE(ExpectSolid({same}), before);
}

TEST_F(EndToEnd, ADoubleClickInTheListGrowsTheWindow50By50AndOneOnTheHeaderDoesNot) {
    const RECT outer = remote_.OuterRect();
    const RECT client = remote_.ListViewClient();
    remote_.DoubleClick(remote_.ListViewToScreen({client.right / 2, client.bottom / 2}));
    ExpectStepReported("double-click");
    EXPECT_EQ(Width(remote_.OuterRect()), Width(outer) + 50);
    EXPECT_EQ(Height(remote_.OuterRect()), Height(outer) + 50);

    remote_.DoubleClick(remote_.ListViewToScreen({30, 5}));  // on the header
    EXPECT_EQ(Width(remote_.OuterRect()), Width(outer) + 50);
    EXPECT_EQ(Height(remote_.OuterRect()), Height(outer) + 50);
}

TEST_F(EndToEnd, MinimizeMaximizeRestoreKeepTheLayoutAndTheCloseBoxEndsWithZero) {
    const RECT outer = remote_.OuterRect();
    PostMessageA(remote_.form, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    remote_.Settle();
    ExpectStepReported("maximize");
    EXPECT_TRUE(IsZoomed(remote_.form));
    EXPECT_EQ(Width(remote_.Place(remote_.listView)), remote_.ClientRect().right - 150);
    EXPECT_EQ(remote_.Place(remote_.text1).left, remote_.ClientRect().right - 150 + 20);

    PostMessageA(remote_.form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    remote_.Settle();
    EXPECT_TRUE(IsIconic(remote_.form));
    PostMessageA(remote_.form, WM_SYSCOMMAND, SC_RESTORE, 0);
    remote_.Settle();
    PostMessageA(remote_.form, WM_SYSCOMMAND, SC_RESTORE, 0);
    remote_.Settle();
    EXPECT_FALSE(IsZoomed(remote_.form) || IsIconic(remote_.form));
    EXPECT_EQ(Width(remote_.OuterRect()), Width(outer));
    EXPECT_EQ(Height(remote_.OuterRect()), Height(outer));
    EXPECT_EQ(Width(remote_.Place(remote_.listView)), 274);
    ExpectStepReported("restore");

    // Find the close box where the window says it is, and click it.
    const RECT now = remote_.OuterRect();
    POINT closeBox = {-1, -1};
    for (int x = now.right - 1; x > now.right - 60 && closeBox.x < 0; --x)
        for (int y = now.top + 1; y < now.top + 30 && closeBox.x < 0; ++y)
            if (SendMessageA(remote_.form, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                closeBox = {x - 3, y + 3};
    ASSERT_GE(closeBox.x, 0) << "no close box found";
    remote_.MoveMouse(closeBox);
    remote_.Press();
    remote_.Release();
    EXPECT_EQ(remote_.WaitForExit(10000), 0);
}

// Columns of an image holding a pixel of the text colour.
int TextColumns(const transcript::Image& image) {
    const uint32_t text = GetSysColor(COLOR_WINDOWTEXT);
    int columns = 0;
    for (int x = 0; x < image.width; ++x)
        for (int y = 0; y < image.height; ++y)
            if (image.at(x, y) == ((text & 0xFF) << 16 | (text & 0xFF00) | (text >> 16 & 0xFF))) {
                ++columns;
                break;
            }
    return columns;
}

// After the list view has narrowed to nothing and grown back, after a
// double-click's growth and after maximize and restore, the column's
// controls show on screen exactly what each draws afresh.
TEST_F(EndToEnd, TheColumnIsDrawnWholeAfterEveryMove) {
    auto expectDrawn = [&](const std::string& after) {
        const HWND controls[] = {remote_.text1, remote_.label1, remote_.label2};
        const char* names[] = {"Text1", "Label1", "Label2"};
        for (int i = 0; i < 3; ++i) {
            const transcript::Image shown = remote_.Capture(controls[i]);
            remote_.Redraw(controls[i]);
            const transcript::Image drawn = remote_.Capture(controls[i]);
            EXPECT_TRUE(shown == drawn)
                << names[i] << " after " << after << ": " << TextColumns(shown) << " of "
                << TextColumns(drawn) << " columns of text on screen";
        }
        // Label1's words wrap across its whole width.
        EXPECT_GT(TextColumns(remote_.Capture(remote_.label1)), 100) << after;
    };
    for (int width : {300, 150, 120, 424}) remote_.SetClientWidth(width);
    expectDrawn("narrowing to 120 and widening");
    const RECT client = remote_.ListViewClient();
    remote_.DoubleClick(remote_.ListViewToScreen({client.right / 2, client.bottom / 2}));
    expectDrawn("a double-click");
    PostMessageA(remote_.form, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    remote_.Settle();
    expectDrawn("maximize");
    PostMessageA(remote_.form, WM_SYSCOMMAND, SC_RESTORE, 0);
    remote_.Settle();
    expectDrawn("restore");
}

TEST_F(EndToEnd, AWmCloseFromAnotherProgramEndsItWithZero) {
    PostMessageA(remote_.form, WM_CLOSE, 0, 0);
    EXPECT_EQ(remote_.WaitForExit(10000), 0);
}

// Messages that carry no pointer: random parameters are fair input for them.
// (Pointer-carrying ones, the list view's own among them, would let a random
// number be read as an address by any program; WM_SETREDRAW and WM_CLOSE are
// left out as they legitimately stop the painting or the program.)
const UINT kStormMessages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                               WM_RBUTTONUP, WM_MOUSEWHEEL,  WM_KEYDOWN,   WM_KEYUP,
                               WM_CHAR,      WM_SIZE,        WM_MOVE,      WM_NULL,
                               WM_APP + 1,   WM_APP + 77,    WM_ERASEBKGND};

TEST_F(EndToEnd, AStormOfMessagesFromAnotherProgramLeavesItRunningAndLaidOut) {
    std::mt19937 random(20261206);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const int sizes[] = {0, 1, -1, -500, 149, 150, 151, 400, 2000, 30000};
    const DWORD start = GetTickCount();
    int actions = 0;
    for (; actions < 3000 && GetTickCount() - start < 60000; ++actions) {
        switch (pick(0, 5)) {
            case 0:
                SetWindowPos(remote_.form, nullptr, 0, 0, sizes[pick(0, 9)], sizes[pick(0, 9)],
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                break;
            case 1: {
                const WPARAM commands[] = {SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE};
                PostMessageA(remote_.form, WM_SYSCOMMAND, commands[pick(0, 2)], 0);
                break;
            }
            case 2: {
                const LPARAM at = MAKELPARAM(pick(-50, 600), pick(-50, 600));
                for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                    PostMessageA(remote_.listView, m, m == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
                break;
            }
            case 3:
            case 4: {
                const HWND target = pick(0, 1) ? remote_.listView : remote_.form;
                const UINT message = kStormMessages[pick(0, std::size(kStormMessages) - 1)];
                PostMessageA(target, message, static_cast<WPARAM>(random()),
                             static_cast<LPARAM>(random()));
                break;
            }
            case 5: {
                DWORD_PTR result;
                SendMessageTimeoutA(remote_.listView, WM_PAINT, 0, 0, SMTO_NORMAL, 5000, &result);
                break;
            }
        }
        if (actions % 100 == 99) remote_.Settle();
    }
    std::printf("storm: %d actions in %lu ms\n", actions, GetTickCount() - start);

    // Still there, and back to a known state.
    ASSERT_EQ(remote_.WaitForExit(0), -1) << "the program ended during the storm";
    SendMessageA(remote_.form, WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessageA(remote_.form, WM_SYSCOMMAND, SC_RESTORE, 0);
    SetWindowPos(remote_.form, nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER);
    remote_.Settle();
    const RECT client = remote_.ClientRect();
    const RECT lv = remote_.Place(remote_.listView);
    EXPECT_EQ(lv.left, 0);
    EXPECT_EQ(lv.top, 0);
    EXPECT_EQ(Width(lv), client.right - 150);
    EXPECT_EQ(Height(lv), client.bottom);
    for (HWND control : {remote_.text1, remote_.label1, remote_.label2})
        EXPECT_EQ(remote_.Place(control).left, client.right - 150 + 20);

    // And still reporting: one known rectangle, one paint.
    count_ = 0;
    ASSERT_TRUE(ParseCount(remote_.Text(remote_.label2), count_));
    paints_ = remote_.PaintsSeen();
    const RECT strip = {10, 100, 60, 130};
    RedrawWindow(remote_.listView, &strip, nullptr, RDW_INVALIDATE);
    remote_.Settle();
    ExpectStepReported("after the storm");
    Rect r;
    ASSERT_TRUE(ParseReport(remote_.Text(remote_.text1), r));
    EXPECT_TRUE((r == Rect{10, 100, 60, 130}));
}

}  // namespace
