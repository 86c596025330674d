// paintprobe.exe as its own process, driven only from outside with real
// mouse input inside Wine's virtual desktop, the way a user drives it.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(EndToEnd, AWmCloseFromAnotherProgramEndsItWithZero) {
    PostMessageA(remote_.form, WM_CLOSE, 0, 0);
    EXPECT_EQ(remote_.WaitForExit(10000), 0);
}

}  // namespace
