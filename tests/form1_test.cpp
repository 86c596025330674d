// Form1 in this process, on the real window system: its design, the order of
// its events, its layout and its growth, and every way it can close.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>

#include <algorithm>

#include "paint_report.h"
#include "support/form1_fixture.h"

using testing::ElementsAre;

namespace {

// The design's pixels at 96 dots per inch, at the display's scale.
const auto X = [](int design) { return MulDiv(design, ScreenDpi(LOGPIXELSX), 96); };
const auto Y = [](int design) { return MulDiv(design, ScreenDpi(LOGPIXELSY), 96); };

// A place as "left,top,width x height".
std::string Box(int left, int top, int width, int height) {
    return std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) + " x " +
           std::to_string(height);
}
std::string At(HWND control) {
    const RECT r = PlaceOf(control);
    return Box(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
SIZE OuterSize() {
    RECT r;
    GetWindowRect(Form1, &r);
    return {r.right - r.left, r.bottom - r.top};
}
std::string Outer() {
    return Box(0, 0, OuterSize().cx, OuterSize().cy);
}

// Gives Form1 this client size, as a drag of its edges would.
void SetClientSize(int width, int height) {
    RECT r = {0, 0, width, height};
    AdjustWindowRectEx(&r, GetWindowLongA(Form1, GWL_STYLE), FALSE,
                       GetWindowLongA(Form1, GWL_EXSTYLE));
    SetWindowPos(Form1, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    PumpUntilIdle();
}

// The list view's notification of a double-click at this point, handed to
// Form1 directly: whatever a system's header does, Form1 decides by the point.
void NotifyDoubleClick(int x, int y) {
    NMITEMACTIVATE note = {};
    note.hdr = {ListView1, static_cast<UINT_PTR>(GetDlgCtrlID(ListView1)),
                static_cast<UINT>(NM_DBLCLK)};
    note.ptAction = {x, y};
    SendMessageA(Form1, WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
    PumpUntilIdle();
}

TEST_F(Form1Test, CreatedAsDesignedAndLoadedBeforeTheFirstShow) {
    ASSERT_TRUE(CreateForm1(GetModuleHandleA(nullptr)));
    EXPECT_FALSE(IsWindowVisible(Form1));  // loaded (below), not shown
    EXPECT_EQ(TextOf(Label1),
              "Drag the Form downward to see the InvalidatedRect. Notice how the Bottom and Top "
              "size doesn't change in ReactOs but in Windows it does.\r\n\r\n You can double "
              "click on the ListView to automatically expand the window by 50 pixels.");

    EXPECT_EQ(TextOf(Form1), "Form1");
    const LONG style = GetWindowLongA(Form1, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(GetClassLongPtrA(Form1, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    RECT client;
    GetClientRect(Form1, &client);
    EXPECT_EQ(Box(0, 0, client.right, client.bottom), Box(0, 0, X(424), Y(359)));

    // The four controls in tab order, at their design places at the display's
    // scale, with their styles.
    struct Expected {
        HWND window;
        const char* name;
        std::string place;
        LONG style, mask;
    };
    const LONG editMask = ES_MULTILINE | ES_READONLY | WS_HSCROLL | WS_VSCROLL;
    const Expected controls[] = {
        {ListView1, "ListView1", Box(0, 0, X(265), Y(353)), LVS_REPORT, LVS_TYPEMASK},
        {Text1, "Text1", Box(X(288), Y(8), X(121), Y(81)), ES_MULTILINE, editMask},
        {Label1, "Label1", Box(X(288), Y(96), X(123), Y(165)), SS_LEFT, SS_TYPEMASK},
        {Label2, "Label2", Box(X(288), Y(272), X(121), Y(25)), SS_LEFTNOWORDWRAP, SS_TYPEMASK},
    };
    HWND child = GetWindow(Form1, GW_CHILD);
    for (const Expected& c : controls) {
        EXPECT_EQ(Form1Name(child), c.name);
        EXPECT_EQ(At(c.window), c.place) << c.name;
        EXPECT_EQ(GetWindowLongA(c.window, GWL_STYLE) & c.mask, c.style) << c.name;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(TextOf(Text1) + TextOf(Label2), "");
    EXPECT_EQ(ListView_GetItemCount(ListView1), 0);

    std::vector<std::string> headers;
    char text[32];
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT, column.pszText = text;
    column.cchTextMax = sizeof text;
    for (int i = 0; ListView_GetColumn(ListView1, i, &column); ++i)
        headers.push_back(std::string(text) + " " +
                          std::to_string(column.cx * 96 / ScreenDpi(LOGPIXELSX)) +
                          ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_LEFT ? " left" : ""));
    EXPECT_THAT(headers, ElementsAre("Test1 100 left", "Test2 100 left", "Test3 100 left",
                                     "Test4 100 left", "Test5 1440 left"));
}

// Whether the screen shows a pixel of the text colour in the control's client
// rows [top, bottom) right of `left`.
bool Inked(HWND control, int left, int top, int bottom) {
    RECT r;
    GetClientRect(control, &r);
    MapWindowPoints(control, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    HDC screen = GetDC(nullptr);
    bool inked = false;
    for (int y = r.top + std::max(top, 0); y < std::min<int>(r.top + bottom, r.bottom); ++y)
        for (int x = r.left + left; x < r.right && !inked; ++x)
            inked = GetPixel(screen, x, y) == GetSysColor(COLOR_WINDOWTEXT);
    ReleaseDC(nullptr, screen);
    return inked;
}

// At any scale each control holds all it must, measured with its own font
// and wrapping and seen on screen: the four lines of the widest report a
// large display gives, the whole instructions, the longest count.
TEST_F(Form1Test, EveryControlShowsItsWholeContentOnScreen) {
    Start();
    SetForegroundWindow(Form1);
    PumpUntilIdle();  // the list view's paints, which write Text1 and Label2, are done
    const std::string report = probe::PaintReportText({8888, 8888, 8888, 8888});
    SetWindowTextA(Text1, report.c_str());
    SetWindowTextA(Label2, "WM_PAINT Count: 9999");
    PumpUntilIdle();
    ASSERT_EQ(TextOf(Text1) + TextOf(Label2), report + "WM_PAINT Count: 9999");

    HDC dc = GetDC(Label1);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(Label1, WM_GETFONT, 0, 0)));
    TEXTMETRICA font;
    GetTextMetricsA(dc, &font);
    RECT label, need;
    GetClientRect(Label1, &label);
    need = label;
    DrawTextA(dc, TextOf(Label1).c_str(), -1, &need, DT_CALCRECT | DT_WORDBREAK);
    SIZE count;
    GetTextExtentPoint32A(dc, "WM_PAINT Count: 999", 19, &count);
    ReleaseDC(Label1, dc);
    // The text grows with the display, as far as the controls let it.
    const int design = MulDiv(8, ScreenDpi(LOGPIXELSY), 72);
    EXPECT_GE((font.tmHeight - font.tmInternalLeading) * 100, design * 85) << font.tmHeight;
    EXPECT_LE(need.bottom, label.bottom) << "Label1 cut";
    EXPECT_TRUE(Inked(Label1, 0, need.bottom - font.tmHeight, need.bottom)) << "Label1 last line";

    // Four lines, none wrapped, the last inside the box and drawn to its last digit.
    EXPECT_EQ(SendMessageA(Text1, EM_GETLINECOUNT, 0, 0), 4);
    RECT box;
    SendMessageA(Text1, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&box));
    const LRESULT last = SendMessageA(Text1, EM_POSFROMCHAR, report.size() - 1, 0);
    const int top = static_cast<short>(HIWORD(last));
    EXPECT_LE(top + font.tmHeight, box.bottom) << "Text1's last line cut";
    EXPECT_TRUE(Inked(Text1, static_cast<short>(LOWORD(last)), top, top + font.tmHeight));
    EXPECT_TRUE(Inked(Label2, count.cx, 0, 100)) << "Label2's last digit";
}

// The order here is the one a user sees: the list view watched and Label1's
// text set before Form1 first shows, no placement before it, and one layout
// at it; what the first paint then reports. Within the layout, order is free.
TEST_F(Form1Test, LoadsThenLaysOutOnceAtTheFirstShowAndCountsTheFirstPaintAsOne) {
    Start({"SetWindowLong", "SetWindowTextA", "MoveWindow", "SetWindowPos"});
    const auto shown = std::find(started_.begin(), started_.end(), "ShowWindow");
    ASSERT_NE(shown, started_.end());
    const std::vector<std::string> before(started_.begin(), shown),
        after(shown + 1, started_.end());
    EXPECT_THAT(before, testing::UnorderedElementsAre(
                            "SetWindowLong(ListView1, GWL_WNDPROC, ListViewProc)",
                            testing::StartsWith("SetWindowTextA(Label1, Drag the Form")));
    std::vector<std::string> layout;
    for (const std::string& call : after)
        if (call.compare(0, 10, "MoveWindow") == 0 || call.compare(0, 12, "SetWindowPos") == 0)
            layout.push_back(call);
    EXPECT_THAT(layout, testing::UnorderedElementsAre("MoveWindow(ListView1, 0, 0, 274, 359)",
                                                      "SetWindowPos(Text1, left 294)",
                                                      "SetWindowPos(Label1, left 294)",
                                                      "SetWindowPos(Label2, left 294)"));
    const auto count = std::find_if(after.begin(), after.end(), [](const std::string& call) {
        return call.compare(0, 23, "SetWindowTextA(Label2, ") == 0;
    });
    ASSERT_NE(count, after.end());
    EXPECT_EQ(*count, "SetWindowTextA(Label2, WM_PAINT Count: 1)");
}

TEST_F(Form1Test, TheListViewFillsAllButTheColumnAndTheColumnFollowsItsWidth) {
    Start();
    const int rows[][5] = {
        // client width, height; list view width, height; column left
        {424, 380, 274, 380, 294},  // a drag of the bottom edge: the height alone
        {424, 500, 274, 500, 294},
        {150, 300, 0, 300, 20},  // no width left for the list view
        {400, 300, 250, 300, 270},
        {120, 280, 250, 280, 270},  // too narrow: the width stays, the height follows
    };
    for (const auto& row : rows) {
        SetClientSize(row[0], row[1]);
        SCOPED_TRACE(Box(0, 0, row[0], row[1]));
        EXPECT_EQ(At(ListView1), Box(0, 0, row[2], row[3]));
        EXPECT_EQ(At(Text1), Box(row[4], 8, 121, 81));
        EXPECT_EQ(At(Label1), Box(row[4], 96, 123, 165));
        EXPECT_EQ(At(Label2), Box(row[4], 272, 121, 25));
    }
}

TEST_F(Form1Test, ADoubleClickInTheItemAreaGrowsHeightThenWidthBy50UnlessMaximizedOrMinimized) {
    Start();
    const SIZE before = OuterSize();
    const std::string unchanged = Outer();
    RECT header;
    GetWindowRect(ListView_GetHeader(ListView1), &header);
    const int headerHeight = header.bottom - header.top;
    ASSERT_GT(headerHeight, 0);

    NotifyDoubleClick(30, headerHeight / 2);  // on the header
    NotifyDoubleClick(30, headerHeight - 1);
    EXPECT_EQ(Outer(), unchanged);

    StartLog({"MoveWindow", "SetWindowPos"});
    NotifyDoubleClick(30, headerHeight);  // the item area's first row of pixels
    const std::string tall = std::to_string(before.cx) + " x " + std::to_string(before.cy + 50);
    const std::string wide =
        std::to_string(before.cx + 50) + " x " + std::to_string(before.cy + 50);
    EXPECT_THAT(
        StopLog(),
        ElementsAre("SetWindowPos(Form1, size " + tall + ")",
                    "MoveWindow(ListView1, 0, 0, 274, 409)", "SetWindowPos(Text1, left 294)",
                    "SetWindowPos(Label1, left 294)", "SetWindowPos(Label2, left 294)",
                    "SetWindowPos(Form1, size " + wide + ")",
                    "MoveWindow(ListView1, 0, 0, 324, 409)", "SetWindowPos(Text1, left 344)",
                    "SetWindowPos(Label1, left 344)", "SetWindowPos(Label2, left 344)"));

    // Maximized or minimized, a double-click changes nothing.
    for (int show : {SW_MAXIMIZE, SW_MINIMIZE}) {
        ShowWindow(Form1, show);
        PumpUntilIdle();
        const std::string size = Outer();
        NotifyDoubleClick(60, 150);
        EXPECT_TRUE(show == SW_MAXIMIZE ? IsZoomed(Form1) : IsIconic(Form1));
        EXPECT_EQ(Outer(), size);
    }
}

// Sees ListView1's destruction, and which procedure it has then.
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_DESTROY && msg->hwnd == ListView1)
        Log(std::string("ListView1 destroyed, its procedure ") +
            (GetWindowLongPtrA(msg->hwnd, GWLP_WNDPROC) ==
                     reinterpret_cast<LONG_PTR>(&Module1::ListViewProc)
                 ? "still the probe"
                 : "its own again"));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Closing by the close box (the system menu and Alt+F4 take the same way) or
// by the end of the session: unload once, before the controls go, with the
// list view's own procedure back; then the loop ends with exit code 0.
TEST_F(Form1Test, ClosingUnloadsOnceBeforeTheControlsGoAndEndsTheLoopWithZero) {
    void (*const ways[])() = {[] { PostMessageA(Form1, WM_SYSCOMMAND, SC_CLOSE, 0); },
                              [] {
                                  if (SendMessageA(Form1, WM_QUERYENDSESSION, 0, 0))
                                      SendMessageA(Form1, WM_ENDSESSION, TRUE, 0);
                              }};
    for (auto close : ways) {
        Start();
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchDestroy, nullptr, GetCurrentThreadId());
        StartLog({"SetWindowLong"});
        close();
        EXPECT_EQ(PumpUntilIdle(true), 0);
        EXPECT_THAT(StopLog(), ElementsAre("SetWindowLong(ListView1, GWL_WNDPROC, OldProc)",
                                           "ListView1 destroyed, its procedure its own again"));
        UnhookWindowsHookEx(hook);
        EXPECT_EQ(Form1, nullptr);
    }
}

}  // namespace
