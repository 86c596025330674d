// Form1 in this process, on the real window system: its design, the order of
// its events, its layout and its growth, and every way it can close.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Form1.h"
#include "Module1.h"
#include "form1_design.h"
#include "support/import_patch.h"
#include "support/pump.h"
#include "support/recorder.h"

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

std::string NameOf(HWND window) {
    if (!window) return "null";
    if (window == Form1) return "Form1";
    if (window == ListView1) return "ListView1";
    if (window == Text1) return "Text1";
    if (window == Label1) return "Label1";
    if (window == Label2) return "Label2";
    return "other window";
}

// Recording stand-ins for the calls through which the handlers act.
struct Patches;
Patches* P = nullptr;
Module1::ProcAddress WINAPI RecExchange(HWND, int, Module1::ProcAddress);
// The import through which the window procedure is exchanged.
constexpr const char* kExchange = sizeof(void*) == 8 ? "SetWindowLongPtrA" : "SetWindowLongA";
BOOL WINAPI RecSetWindowTextA(HWND, LPCSTR);
BOOL WINAPI RecMoveWindow(HWND, int, int, int, int, BOOL);
BOOL WINAPI RecSetWindowPos(HWND, HWND, int, int, int, int, UINT);

struct Patches {
    ImportPatch setLong{"user32.dll", kExchange, reinterpret_cast<void*>(&RecExchange)};
    ImportPatch setText{"user32.dll", "SetWindowTextA",
                        reinterpret_cast<void*>(&RecSetWindowTextA)};
    ImportPatch move{"user32.dll", "MoveWindow", reinterpret_cast<void*>(&RecMoveWindow)};
    ImportPatch setPos{"user32.dll", "SetWindowPos", reinterpret_cast<void*>(&RecSetWindowPos)};
};

// Which texts a test wants in its log.
bool LogPaintCounts = false;

Module1::ProcAddress WINAPI RecExchange(HWND w, int index, Module1::ProcAddress value) {
    if (index == GWLP_WNDPROC) {
        const bool probe = value == Module1::AddressOf(&Module1::ListViewProc);
        Record("SetWindowLong(" + NameOf(w) + ", GWL_WNDPROC, " +
               (probe                       ? "ListViewProc"
                : value == Module1::OldProc ? "OldProc"
                                            : "other") +
               ")" + (IsWindow(Text1) && IsWindow(Label2) ? "" : " after the controls are gone"));
    }
    return P->setLong.original<decltype(&RecExchange)>()(w, index, value);
}
BOOL WINAPI RecSetWindowTextA(HWND w, LPCSTR text) {
    if (w == Label1)
        Record("SetWindowTextA(Label1, " +
               std::string(text == std::string(form1::kInstructions) ? "instructions" : text) +
               ")");
    if (w == Label2 && LogPaintCounts) Record("SetWindowTextA(Label2, " + std::string(text) + ")");
    return P->setText.original<decltype(&RecSetWindowTextA)>()(w, text);
}
BOOL WINAPI RecMoveWindow(HWND w, int x, int y, int cx, int cy, BOOL repaint) {
    Record("MoveWindow(" + NameOf(w) + ", " + std::to_string(x) + ", " + std::to_string(y) + ", " +
           std::to_string(cx) + ", " + std::to_string(cy) + ")");
    return P->move.original<decltype(&RecMoveWindow)>()(w, x, y, cx, cy, repaint);
}
BOOL WINAPI RecSetWindowPos(HWND w, HWND after, int x, int y, int cx, int cy, UINT flags) {
    if (flags & SWP_NOSIZE)
        Record("SetWindowPos(" + NameOf(w) + ", left " + std::to_string(x) + ")");
    else
        Record("SetWindowPos(" + NameOf(w) + ", size " + std::to_string(cx) + " x " +
               std::to_string(cy) + ")");
    return P->setPos.original<decltype(&RecSetWindowPos)>()(w, after, x, y, cx, cy, flags);
}

// Sees ListView1's destruction, and which procedure it has then.
HWND WatchedListView = nullptr;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg->message == WM_DESTROY && msg->hwnd == WatchedListView) {
        const LONG_PTR proc = GetWindowLongPtrA(msg->hwnd, GWLP_WNDPROC);
        Record(std::string("ListView1 destroyed, its procedure ") +
               (proc == reinterpret_cast<LONG_PTR>(&Module1::ListViewProc) ? "still the probe"
                                                                           : "its own again"));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct Place {
    int left, top, width, height;
    bool operator==(const Place& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};
std::ostream& operator<<(std::ostream& out, const Place& p) {
    return out << "{" << p.left << ", " << p.top << ", " << p.width << " x " << p.height << "}";
}

Place PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE OuterSize() {
    RECT r;
    GetWindowRect(Form1, &r);
    return {r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize() {
    RECT r;
    GetClientRect(Form1, &r);
    return {r.right, r.bottom};
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

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A left double-click as the mouse delivers it, at a point of the window.
void DoubleClick(HWND window, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
    PumpUntilIdle();
}

// Pumps until WM_QUIT; its exit code, or -1 if none came.
int PumpUntilQuit() {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 5000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return -1;
}

class Form1Test : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterForm1(GetModuleHandleA(nullptr)));
        Module1::PaintCount = 0;
        patches_ = std::make_unique<Patches>();
        P = patches_.get();
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, WatchDestroy, nullptr, GetCurrentThreadId());
    }

    // Creates and shows Form1 as the program's start does, recording.
    void Start(int showCommand = SW_SHOWNORMAL) {
        StartRecording();
        ASSERT_TRUE(CreateForm1(GetModuleHandleA(nullptr)));
        WatchedListView = ListView1;
        Record("ShowWindow");
        ShowWindow(Form1, showCommand);
        UpdateWindow(Form1);
        PumpUntilIdle();
        started_ = StopRecording();
    }

    void TearDown() override {
        StopRecording();
        LogPaintCounts = false;
        if (Form1) {
            DestroyWindow(Form1);
            PumpUntilQuit();
        }
        UnhookWindowsHookEx(hook_);
        patches_.reset();
        P = nullptr;
    }

    std::vector<std::string> started_;

  private:
    std::unique_ptr<Patches> patches_;
    HHOOK hook_ = nullptr;
};

const std::vector<std::string> kLayoutAtDesignSize = {
    "MoveWindow(ListView1, 0, 0, 274, 359)",
    "SetWindowPos(Text1, left 294)",
    "SetWindowPos(Label1, left 294)",
    "SetWindowPos(Label2, left 294)",
};

TEST_F(Form1Test, CreatedAsDesignedWithLoadDoneAndNoLayoutBeforeTheFirstShow) {
    StartRecording();
    ASSERT_TRUE(CreateForm1(GetModuleHandleA(nullptr)));
    EXPECT_THAT(StopRecording(), ElementsAre("SetWindowLong(ListView1, GWL_WNDPROC, ListViewProc)",
                                             "SetWindowTextA(Label1, instructions)"));
    EXPECT_FALSE(IsWindowVisible(Form1));

    EXPECT_EQ(TextOf(Form1), "Form1");
    const LONG style = GetWindowLongA(Form1, GWL_STYLE);
    for (LONG bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
        EXPECT_EQ(style & bit, bit) << std::hex << bit;
    EXPECT_EQ(GetClassLongPtrA(Form1, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(ClientSize().cx, 424);
    EXPECT_EQ(ClientSize().cy, 359);

    // The four controls, in tab order, at their design places.
    std::vector<std::string> order;
    for (HWND c = GetWindow(Form1, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        order.push_back(NameOf(c));
    EXPECT_THAT(order, ElementsAre("ListView1", "Text1", "Label1", "Label2"));
    EXPECT_EQ(PlaceOf(ListView1), (Place{0, 0, 265, 353}));
    EXPECT_EQ(PlaceOf(Text1), (Place{288, 8, 121, 81}));
    EXPECT_EQ(PlaceOf(Label1), (Place{288, 96, 123, 165}));
    EXPECT_EQ(PlaceOf(Label2), (Place{288, 272, 121, 25}));

    char className[64];
    GetClassNameA(ListView1, className, sizeof className);
    EXPECT_STREQ(className, WC_LISTVIEWA);
    EXPECT_EQ(GetWindowLongA(ListView1, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_EQ(ListView_GetItemCount(ListView1), 0);
    const LONG textStyle = GetWindowLongA(Text1, GWL_STYLE);
    EXPECT_TRUE(textStyle & ES_MULTILINE);
    EXPECT_FALSE(textStyle & (ES_READONLY | WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(GetWindowLongA(Label1, GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
    EXPECT_EQ(GetWindowLongA(Label2, GWL_STYLE) & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
    EXPECT_EQ(TextOf(Text1), "");
    EXPECT_EQ(TextOf(Label2), "");
    EXPECT_EQ(TextOf(Label1),
              "Drag the Form downward to see the InvalidatedRect. Notice how the Bottom and Top "
              "size doesn't change in ReactOs but in Windows it does.\r\n\r\n You can double "
              "click on the ListView to automatically expand the window by 50 pixels.");

    std::vector<std::string> headers;
    for (int i = 0; i < 6; ++i) {
        char text[32] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        if (!ListView_GetColumn(ListView1, i, &column)) break;
        headers.push_back(
            std::string(text) + " " + std::to_string(column.cx) +
            ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_LEFT ? " left" : " not left"));
    }
    EXPECT_THAT(headers, ElementsAre("Test1 100 left", "Test2 100 left", "Test3 100 left",
                                     "Test4 100 left", "Test5 1440 left"));
}

TEST_F(Form1Test, LoadsThenLaysOutOnceAtTheFirstShowAndCountsTheFirstPaintAsOne) {
    LogPaintCounts = true;
    Start();
    // Paints after the layout may come more than once; the first is paint 1.
    ASSERT_GE(started_.size(), 8u);
    std::vector<std::string> expected = {"SetWindowLong(ListView1, GWL_WNDPROC, ListViewProc)",
                                         "SetWindowTextA(Label1, instructions)", "ShowWindow"};
    expected.insert(expected.end(), kLayoutAtDesignSize.begin(), kLayoutAtDesignSize.end());
    expected.push_back("SetWindowTextA(Label2, WM_PAINT Count: 1)");
    EXPECT_THAT(std::vector<std::string>(started_.begin(), started_.begin() + 8),
                ElementsAreArray(expected));
    for (size_t i = 8; i < started_.size(); ++i)
        EXPECT_THAT(started_[i], testing::StartsWith("SetWindowTextA(Label2, WM_PAINT Count: "));

    EXPECT_EQ(PlaceOf(ListView1), (Place{0, 0, 274, 359}));
    EXPECT_EQ(PlaceOf(Text1), (Place{294, 8, 121, 81}));
    EXPECT_EQ(PlaceOf(Label1), (Place{294, 96, 123, 165}));
    EXPECT_EQ(PlaceOf(Label2), (Place{294, 272, 121, 25}));
    EXPECT_EQ(GetWindowLongPtrA(ListView1, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&Module1::ListViewProc));
}

TEST_F(Form1Test, NarrowClientAreasKeepTheColumnBesideTheListView) {
    Start();
    SetClientSize(150, 300);
    EXPECT_EQ(PlaceOf(ListView1), (Place{0, 0, 0, 300}));
    EXPECT_EQ(PlaceOf(Text1).left, 20);
    EXPECT_EQ(PlaceOf(Label2).left, 20);

    SetClientSize(400, 300);
    SetClientSize(120, 280);  // too narrow: the width stays 250, the height follows
    EXPECT_EQ(PlaceOf(ListView1), (Place{0, 0, 250, 280}));
    EXPECT_EQ(PlaceOf(Text1).left, 270);
    EXPECT_EQ(PlaceOf(Label1).left, 270);
    EXPECT_EQ(PlaceOf(Label2).left, 270);
    EXPECT_TRUE(IsWindow(Form1));
}

TEST_F(Form1Test, ABottomOnlyDragChangesOnlyTheListViewsHeight) {
    Start();
    const Place text = PlaceOf(Text1), label1 = PlaceOf(Label1), label2 = PlaceOf(Label2);
    for (int height : {380, 420, 500, 360}) {
        SetClientSize(424, height);
        EXPECT_EQ(PlaceOf(ListView1), (Place{0, 0, 274, height}));
        EXPECT_EQ(PlaceOf(Text1), text);
        EXPECT_EQ(PlaceOf(Label1), label1);
        EXPECT_EQ(PlaceOf(Label2), label2);
    }
}

TEST_F(Form1Test, ADoubleClickGrowsHeightThenWidthBy50PixelsLayingOutAfterEach) {
    Start();
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    const SIZE before = OuterSize();

    StartRecording();
    DoubleClick(ListView1, 60, 150);
    const std::vector<std::string> events = StopRecording();

    EXPECT_EQ(OuterSize().cx, before.cx + 50);
    EXPECT_EQ(OuterSize().cy, before.cy + 50);
    const std::string tall = std::to_string(before.cx) + " x " + std::to_string(before.cy + 50);
    const std::string wide =
        std::to_string(before.cx + 50) + " x " + std::to_string(before.cy + 50);
    EXPECT_THAT(
        events,
        ElementsAre("SetWindowPos(Form1, size " + tall + ")",
                    "MoveWindow(ListView1, 0, 0, 274, 409)", "SetWindowPos(Text1, left 294)",
                    "SetWindowPos(Label1, left 294)", "SetWindowPos(Label2, left 294)",
                    "SetWindowPos(Form1, size " + wide + ")",
                    "MoveWindow(ListView1, 0, 0, 324, 409)", "SetWindowPos(Text1, left 344)",
                    "SetWindowPos(Label1, left 344)", "SetWindowPos(Label2, left 344)"));

    // The header is not the item area.
    DoubleClick(ListView_GetHeader(ListView1), 30, 8);
    EXPECT_EQ(OuterSize().cx, before.cx + 50);
    EXPECT_EQ(OuterSize().cy, before.cy + 50);
}

TEST_F(Form1Test, MinimizeMaximizeAndRestoreLayOutAndDoubleClicksThereChangeNothing) {
    Start();
    const SIZE normal = OuterSize();

    StartRecording();
    ShowWindow(Form1, SW_MAXIMIZE);
    PumpUntilIdle();
    EXPECT_THAT(StopRecording(), testing::Contains(testing::StartsWith("MoveWindow(ListView1")));
    const SIZE maximized = OuterSize();
    EXPECT_GT(maximized.cx, normal.cx);
    EXPECT_EQ(PlaceOf(ListView1).width, ClientSize().cx - 150);
    DoubleClick(ListView1, 60, 150);
    EXPECT_TRUE(IsZoomed(Form1));
    EXPECT_EQ(OuterSize().cx, maximized.cx);
    EXPECT_EQ(OuterSize().cy, maximized.cy);

    ShowWindow(Form1, SW_MINIMIZE);
    PumpUntilIdle();
    DoubleClick(ListView1, 60, 150);
    EXPECT_TRUE(IsIconic(Form1));

    StartRecording();
    ShowWindow(Form1, SW_RESTORE);
    PumpUntilIdle();
    EXPECT_THAT(StopRecording(), testing::Contains(testing::StartsWith("MoveWindow(ListView1")));
    EXPECT_TRUE(IsZoomed(Form1));  // restored from minimized to where it was: maximized
    ShowWindow(Form1, SW_RESTORE);
    PumpUntilIdle();
    EXPECT_EQ(OuterSize().cx, normal.cx);
    EXPECT_EQ(OuterSize().cy, normal.cy);
    EXPECT_EQ(PlaceOf(ListView1), (Place{0, 0, 274, 359}));
}

// Every way of closing: unload once, before the controls go, with the list
// view's own procedure back; then the program's loop ends with exit code 0.
struct CloseWay {
    const char* name;
    void (*close)();
};

const CloseWay kCloseWays[] = {
    {"CloseBox", [] { PostMessageA(Form1, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    {"AltF4",
     [] {
         SetForegroundWindow(Form1);
         PostMessageA(Form1, WM_SYSKEYDOWN, VK_F4, 1 << 29);
         PostMessageA(Form1, WM_SYSKEYUP, VK_F4, 1 << 29 | 1u << 30 | 1u << 31);
     }},
    {"WmClose", [] { SendMessageA(Form1, WM_CLOSE, 0, 0); }},
    {"EndOfSession",
     [] {
         if (SendMessageA(Form1, WM_QUERYENDSESSION, 0, 0))
             SendMessageA(Form1, WM_ENDSESSION, TRUE, 0);
     }},
};

class Form1CloseTest : public Form1Test, public testing::WithParamInterface<CloseWay> {};

TEST_P(Form1CloseTest, UnloadsOnceBeforeTheControlsGoAndEndsTheLoopWithZero) {
    Start();
    StartRecording();
    GetParam().close();
    const int exitCode = PumpUntilQuit();
    const std::vector<std::string> events = StopRecording();

    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_THAT(events, ElementsAre("SetWindowLong(ListView1, GWL_WNDPROC, OldProc)",
                                    "ListView1 destroyed, its procedure its own again"));
}

INSTANTIATE_TEST_SUITE_P(EveryWay, Form1CloseTest, testing::ValuesIn(kCloseWays),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
