// The probe over a real list view in a real window: what it writes, what it
// paints, which platform calls it makes in which order, and what the list
// view's previous procedure sees after it.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Module1.h"
#include "paint_report.h"
#include "random_draws.h"
#include "support/import_patch.h"
#include "support/pump.h"
#include "support/recorder.h"

using testing::ElementsAre;
using testing::ElementsAreArray;

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;
constexpr LRESULT kMessageResult = 0x5EED1234;
constexpr LRESULT kPaintResult = 0x0BADF00D;

std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", value);
    return text;
}

struct Windows {
    HWND form = nullptr;
    HWND listView = nullptr;
    HWND text1 = nullptr;
    HWND label2 = nullptr;
    WNDPROC listViewOwnProc = nullptr;
} W;

std::string NameOf(HWND window) {
    if (window == W.text1) return "Text1";
    if (window == W.label2) return "Label2";
    if (window == W.listView) return "ListView1";
    return "other window";
}

const auto RealCallWindowProcA = reinterpret_cast<decltype(&CallWindowProcA)>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "CallWindowProcA")));

// The probe's previous procedure: stands in front of the list view's own and
// answers with values a test can recognise.
LRESULT CALLBACK PreviousProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_PAINT) {
        RECT update;
        const bool empty = !GetUpdateRect(hWnd, &update, FALSE);
        char text[128], count[64];
        GetWindowTextA(W.text1, text, sizeof text);
        GetWindowTextA(W.label2, count, sizeof count);
        Record(std::string("previous procedure: WM_PAINT, update region ") +
               (empty ? "empty" : "NOT EMPTY") + ", Text1 " + Escaped(text) + ", Label2 " + count);
        RealCallWindowProcA(W.listViewOwnProc, hWnd, uMsg, wParam, lParam);
        return kPaintResult;
    }
    if (uMsg == kProbeMessage) {
        Record("previous procedure: WM_APP+7, " + std::to_string(wParam) + ", " +
               std::to_string(lParam));
        return kMessageResult;
    }
    return RealCallWindowProcA(W.listViewOwnProc, hWnd, uMsg, wParam, lParam);
}

// Recording stand-ins for the platform calls the probe makes.
struct Patches;
Patches* P = nullptr;
HBRUSH LastBrush = nullptr;
std::string BrushName(HGDIOBJ brush) {
    return brush == LastBrush ? "new brush" : "OTHER brush";
}

HDC WINAPI RecBeginPaint(HWND, PAINTSTRUCT*);
BOOL WINAPI RecEndPaint(HWND, const PAINTSTRUCT*);
int WINAPI RecFillRect(HDC, const RECT*, HBRUSH);
HBRUSH WINAPI RecCreateSolidBrush(COLORREF);
BOOL WINAPI RecDeleteObject(HGDIOBJ);
BOOL WINAPI RecSetWindowTextA(HWND, LPCSTR);
LRESULT WINAPI RecCallWindowProcA(WNDPROC, HWND, UINT, WPARAM, LPARAM);

struct Patches {
    ImportPatch beginPaint{"user32.dll", "BeginPaint", reinterpret_cast<void*>(&RecBeginPaint)};
    ImportPatch endPaint{"user32.dll", "EndPaint", reinterpret_cast<void*>(&RecEndPaint)};
    ImportPatch fillRect{"user32.dll", "FillRect", reinterpret_cast<void*>(&RecFillRect)};
    ImportPatch createBrush{"gdi32.dll", "CreateSolidBrush",
                            reinterpret_cast<void*>(&RecCreateSolidBrush)};
    ImportPatch deleteObject{"gdi32.dll", "DeleteObject",
                             reinterpret_cast<void*>(&RecDeleteObject)};
    ImportPatch setText{"user32.dll", "SetWindowTextA",
                        reinterpret_cast<void*>(&RecSetWindowTextA)};
    ImportPatch callProc{"user32.dll", "CallWindowProcA",
                         reinterpret_cast<void*>(&RecCallWindowProcA)};
};

HDC WINAPI RecBeginPaint(HWND w, PAINTSTRUCT* ps) {
    HDC dc = P->beginPaint.original<decltype(&RecBeginPaint)>()(w, ps);
    Record("BeginPaint(" + NameOf(w) + ")");
    return dc;
}
BOOL WINAPI RecEndPaint(HWND w, const PAINTSTRUCT* ps) {
    Record("EndPaint(" + NameOf(w) + ")");
    return P->endPaint.original<decltype(&RecEndPaint)>()(w, ps);
}
int WINAPI RecFillRect(HDC dc, const RECT* r, HBRUSH brush) {
    Record("FillRect(" + std::to_string(r->left) + ", " + std::to_string(r->top) + ", " +
           std::to_string(r->right) + ", " + std::to_string(r->bottom) + ", " + BrushName(brush) +
           ")");
    return P->fillRect.original<decltype(&RecFillRect)>()(dc, r, brush);
}
HBRUSH WINAPI RecCreateSolidBrush(COLORREF colour) {
    LastBrush = P->createBrush.original<decltype(&RecCreateSolidBrush)>()(colour);
    Record("CreateSolidBrush(" + Hex(colour) + ")");
    return LastBrush;
}
BOOL WINAPI RecDeleteObject(HGDIOBJ object) {
    Record("DeleteObject(" + BrushName(object) + ")");
    return P->deleteObject.original<decltype(&RecDeleteObject)>()(object);
}
BOOL WINAPI RecSetWindowTextA(HWND w, LPCSTR text) {
    Record("SetWindowTextA(" + NameOf(w) + ", " + Escaped(text) + ")");
    return P->setText.original<decltype(&RecSetWindowTextA)>()(w, text);
}
LRESULT WINAPI RecCallWindowProcA(WNDPROC proc, HWND w, UINT m, WPARAM wp, LPARAM lp) {
    Record(std::string("CallWindowProcA(") +
           (proc == reinterpret_cast<WNDPROC>(&PreviousProc) ? "previous" : "OTHER") + ", " +
           NameOf(w) + ", " + Hex(m) + ")");
    return RealCallWindowProcA(proc, w, m, wp, lp);
}

LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

COLORREF PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

class ProbeTest : public testing::Test {
  protected:
    void SetUp() override {
        static const bool registered = [] {
            INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
            InitCommonControlsEx(&icc);
            WNDCLASSA wc = {};
            wc.lpfnWndProc = HostProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            wc.lpszClassName = "ProbeTestHost";
            return RegisterClassA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        W.form = CreateWindowExA(0, "ProbeTestHost", "probe test", WS_OVERLAPPEDWINDOW, 0, 0, 700,
                                 560, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        W.listView =
            CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                            0, 0, 420, 420, W.form, nullptr, nullptr, nullptr);
        W.text1 = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 440, 8, 121,
                                  81, W.form, nullptr, nullptr, nullptr);
        W.label2 = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 440, 272, 121, 25,
                                   W.form, nullptr, nullptr, nullptr);
        ASSERT_TRUE(W.form && W.listView && W.text1 && W.label2);
        const char* headers[] = {"Test1", "Test2", "Test3", "Test4", "Test5"};
        for (int i = 0; i < 5; ++i) {
            LVCOLUMNA column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
            column.fmt = LVCFMT_LEFT;
            column.cx = i < 4 ? 100 : 1440;
            column.pszText = const_cast<char*>(headers[i]);
            SendMessageA(W.listView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }

        W.listViewOwnProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(W.listView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviousProc)));
        Module1::ConnectOutputs(W.text1, W.label2);
        Module1::OldProc =
            Module1::ExchangeWindowProc(W.listView, Module1::AddressOf(&Module1::ListViewProc));

        ShowWindow(W.form, SW_SHOW);
        UpdateWindow(W.form);
        PumpUntilIdle();
        ValidateRect(W.listView, nullptr);
        SetWindowTextA(W.text1, "untouched");
        SetWindowTextA(W.label2, "untouched");
        Module1::PaintCount = 0;
    }

    void TearDown() override {
        StopRecording();
        patches_.reset();
        P = nullptr;
        probe::ReplaceDraws({});
        Module1::ExchangeWindowProc(W.listView, Module1::OldProc);
        DestroyWindow(W.form);
        W = Windows();
    }

    // Draws come from this list, in order, and are recorded.
    void ScriptDraws(std::vector<double> draws) {
        draws_ = std::move(draws);
        probe::ReplaceDraws([this] {
            Record("draw");
            return draws_.at(nextDraw_++);
        });
    }

    void StartPatchedRecording() {
        patches_ = std::make_unique<Patches>();
        P = patches_.get();
        ::StartRecording();
    }

    // One paint of exactly this rectangle, as the window system sends it.
    LRESULT PaintRect(RECT rect) {
        InvalidateRect(W.listView, &rect, FALSE);
        return SendMessageA(W.listView, WM_PAINT, 0, 0);
    }

    std::vector<std::string> events_;

  private:
    std::unique_ptr<Patches> patches_;
    std::vector<double> draws_;
    size_t nextDraw_ = 0;
};

TEST_F(ProbeTest, OnePaintMakesItsCallsInOrderAndForwardsAfterEndPaint) {
    ScriptDraws({0.5, 0.0, std::nextafter(1.0, 0.0)});
    StartPatchedRecording();
    const LRESULT result = PaintRect({2, 300, 250, 330});
    events_ = StopRecording();

    EXPECT_EQ(result, kPaintResult);
    const char* report = "Left: 2\\r\\nTop: 300\\r\\nRight: 250\\r\\nBottom: 330";
    EXPECT_THAT(events_,
                ElementsAre("BeginPaint(ListView1)",                               //
                            std::string("SetWindowTextA(Text1, ") + report + ")",  //
                            "SetWindowTextA(Label2, WM_PAINT Count: 1)",           //
                            "draw", "draw", "draw",                                //
                            "CreateSolidBrush(0xFF0080)",                          //
                            "FillRect(2, 300, 250, 330, new brush)",               //
                            "DeleteObject(new brush)",                             //
                            "EndPaint(ListView1)",                                 //
                            "CallWindowProcA(previous, ListView1, 0x00000F)",      //
                            std::string("previous procedure: WM_PAINT, update region empty, "
                                        "Text1 ") +
                                report + ", Label2 WM_PAINT Count: 1"));
    // The brush really is gone, not merely passed to DeleteObject.
    EXPECT_EQ(GetObjectType(LastBrush), 0u);
    EXPECT_EQ(Module1::CurrentPaint.rcPaint.left, 2);
    EXPECT_EQ(Module1::CurrentPaint.rcPaint.bottom, 330);
}

TEST_F(ProbeTest, ReportAndCountReachTheControlsAndTheCountWrapsAfter9999) {
    PaintRect({2, 300, 250, 330});
    EXPECT_EQ(TextOf(W.text1), "Left: 2\r\nTop: 300\r\nRight: 250\r\nBottom: 330");
    EXPECT_EQ(TextOf(W.label2), "WM_PAINT Count: 1");
    EXPECT_EQ(SendMessageA(W.text1, EM_GETLINECOUNT, 0, 0), 4);

    PaintRect({0, 0, 5, 6});
    EXPECT_EQ(TextOf(W.text1), "Left: 0\r\nTop: 0\r\nRight: 5\r\nBottom: 6");
    EXPECT_EQ(TextOf(W.label2), "WM_PAINT Count: 2");

    Module1::PaintCount = 9998;
    PaintRect({10, 10, 20, 20});
    EXPECT_EQ(TextOf(W.label2), "WM_PAINT Count: 9999");
    PaintRect({10, 10, 20, 20});
    EXPECT_EQ(TextOf(W.label2), "WM_PAINT Count: 1");
    EXPECT_EQ(Module1::PaintCount, 1);
}

TEST_F(ProbeTest, FillsTheRectangleWithAFreshColourEveryPaint) {
    ScriptDraws({1.0 / 255, 2.0 / 255, 3.0 / 255, 0.5, 0.25, 0.75});
    const RECT rect = {2, 300, 250, 330};
    const POINT inside[] = {{2, 300}, {249, 329}, {125, 315}};
    const POINT outside[] = {{1, 315}, {250, 315}, {125, 299}, {125, 330}};
    const COLORREF background = PixelAt(W.listView, 125, 200);

    PaintRect(rect);
    for (POINT p : inside) EXPECT_EQ(PixelAt(W.listView, p.x, p.y), 0x030201u) << p.x << "," << p.y;
    for (POINT p : outside)
        EXPECT_EQ(PixelAt(W.listView, p.x, p.y), background) << p.x << "," << p.y;

    // Three fresh draws: 0.5, 0.25, 0.75 give 128, 64 (63.75), 191 (191.25).
    PaintRect(rect);
    for (POINT p : inside) EXPECT_EQ(PixelAt(W.listView, p.x, p.y), 0xBF4080u) << p.x << "," << p.y;
}

TEST_F(ProbeTest, TheSeededGeneratorGivesTwoPaintsDifferentColoursAndLeaksNoBrush) {
    probe::SeedDraws(2024);
    StartPatchedRecording();
    std::vector<COLORREF> colours;
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 10; ++i) {
        PaintRect({2, 300, 250, 330});
        colours.push_back(PixelAt(W.listView, 100, 310));
        brushes.push_back(LastBrush);
    }
    events_ = StopRecording();
    for (size_t i = 1; i < colours.size(); ++i) EXPECT_NE(colours[i], colours[i - 1]) << i;
    for (HBRUSH brush : brushes) EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST_F(ProbeTest, OtherMessagesPassStraightThroughWithTheirResult) {
    StartPatchedRecording();
    const LRESULT result = SendMessageA(W.listView, kProbeMessage, 17, 34);
    events_ = StopRecording();

    EXPECT_EQ(result, kMessageResult);
    EXPECT_THAT(events_, ElementsAre("CallWindowProcA(previous, ListView1, 0x008007)",
                                     "previous procedure: WM_APP+7, 17, 34"));

    // Real input and list view messages leave the report and count alone too.
    SendMessageA(W.listView, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(W.listView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 200));
    SendMessageA(W.listView, WM_LBUTTONUP, 0, MAKELPARAM(50, 200));
    SendMessageA(W.listView, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageA(W.listView, LVM_GETCOLUMNWIDTH, 4, 0), 1440);
    EXPECT_EQ(TextOf(W.text1), "untouched");
    EXPECT_EQ(TextOf(W.label2), "untouched");
    EXPECT_EQ(Module1::PaintCount, 0);
}

// Private memory committed in this process, summed over its address space
// (Wine's process memory counters are not kept up to date).
size_t CommittedPrivateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (const char* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

// How many more GDI objects this process can have: brushes are made until
// the system refuses one, then freed again. Wine's table holds about 65000.
int FreeGdiCapacity() {
    std::vector<HBRUSH> brushes;
    for (HBRUSH brush; brushes.size() < 100000 && (brush = CreateSolidBrush(0x00FF00));)
        brushes.push_back(brush);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

// Enough paints for the count to wrap twice, and for one brush leaked per
// paint to take a third of the system's table.
TEST_F(ProbeTest, SoakTwentyThousandPaintsCountRoundExactlyAndLeakNothing) {
    const RECT rect = {2, 300, 250, 330};
    const int capacity = FreeGdiCapacity();
    const size_t before = CommittedPrivateBytes();
    for (int i = 1; i <= 20000; ++i) {
        PaintRect(rect);
        ASSERT_EQ(Module1::PaintCount, (i - 1) % 9999 + 1) << "paint " << i;
    }
    EXPECT_EQ(TextOf(W.label2), "WM_PAINT Count: 2");  // 20000 = 2 * 9999 + 2
    // A brush left behind by each paint would have filled the table long ago.
    EXPECT_GT(capacity, 10000);
    EXPECT_GE(FreeGdiCapacity(), capacity - 100);
    const size_t after = CommittedPrivateBytes();
    EXPECT_LT(after, before + (4u << 20)) << before << " -> " << after;
}

}  // namespace
