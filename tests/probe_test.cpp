// The probe on Form1's list view, a stand-in previous procedure behind it: its
// platform calls in order, what it paints, what the previous procedure sees.
#include <windows.h>
#include <commctrl.h>

#include <gmock/gmock.h>

#include <cmath>

#include "random_draws.h"
#include "support/form1_fixture.h"

using testing::ElementsAre;

namespace {

constexpr UINT kProbeMessage = WM_APP + 7;
constexpr LRESULT kMessageResult = 0x5EED1234;
constexpr LRESULT kPaintResult = 0x0BADF00D;

WNDPROC ListViewOwnProc = nullptr;
// Not through the import table, which the log's stand-ins take over.
const auto RealCallWindowProcA = reinterpret_cast<decltype(&CallWindowProcA)>(
    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "CallWindowProcA")));

// Notes what reaches it and answers with values a test can recognise.
LRESULT CALLBACK PreviousProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_PAINT) {
        RECT update;
        Log(std::string("previous procedure: WM_PAINT, update region ") +
            (GetUpdateRect(hWnd, &update, FALSE) ? "NOT EMPTY" : "empty") + ", Text1 " +
            Escaped(TextOf(Text1).c_str()) + ", Label2 " + TextOf(Label2));
        RealCallWindowProcA(ListViewOwnProc, hWnd, uMsg, wParam, lParam);
        return kPaintResult;
    }
    if (uMsg == kProbeMessage) {
        Log("previous procedure: WM_APP+7, " + std::to_string(wParam) + ", " +
            std::to_string(lParam));
        return kMessageResult;
    }
    return RealCallWindowProcA(ListViewOwnProc, hWnd, uMsg, wParam, lParam);
}

COLORREF PixelAt(int x, int y) {
    HDC dc = GetDC(ListView1);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(ListView1, dc);
    return pixel;
}

class ProbeTest : public Form1Test {
  protected:
    void SetUp() override {
        Form1Test::SetUp();
        Start();
        ListViewOwnProc = reinterpret_cast<WNDPROC>(Module1::OldProc);
        Module1::OldProc = Module1::AddressOf(&PreviousProc);
        Name(&PreviousProc, "previous");
        ValidateRect(ListView1, nullptr);
        SetWindowTextA(Text1, "untouched");
        SetWindowTextA(Label2, "untouched");
        Module1::PaintCount = 0;
    }

    void TearDown() override {
        probe::ReplaceDraws({});
        Module1::OldProc = Module1::AddressOf(ListViewOwnProc);
        Form1Test::TearDown();
    }

    // Draws come from this list, in order, and are logged.
    void ScriptDraws(std::vector<double> draws) {
        probe::ReplaceDraws([draws, next = size_t{0}]() mutable {
            Log("draw");
            return draws.at(next++);
        });
    }

    // One paint of exactly this rectangle, as the window system sends it.
    LRESULT PaintRect(RECT rect) {
        InvalidateRect(ListView1, &rect, FALSE);
        return SendMessageA(ListView1, WM_PAINT, 0, 0);
    }
};

TEST_F(ProbeTest, OnePaintMakesItsCallsInOrderFillsItsRectangleAndForwardsAfterEndPaint) {
    ScriptDraws({0.5, 0.0, std::nextafter(1.0, 0.0), 0.5, 0.25, 0.75});
    const COLORREF background = PixelAt(125, 200);
    StartLog({"BeginPaint", "EndPaint", "CreateSolidBrush", "DeleteObject", "SetWindowTextA",
              "CallWindowProcA"});
    const LRESULT result = PaintRect({2, 300, 250, 330});
    const std::vector<std::string> log = StopLog();

    EXPECT_EQ(result, kPaintResult);
    const std::string report = "Left: 2\\r\\nTop: 300\\r\\nRight: 250\\r\\nBottom: 330";
    EXPECT_THAT(log, ElementsAre("BeginPaint(ListView1)",                           //
                                 "SetWindowTextA(Text1, " + report + ")",           //
                                 "SetWindowTextA(Label2, WM_PAINT Count: 1)",       //
                                 "draw", "draw", "draw",                            //
                                 "CreateSolidBrush(0xFF0080)",                      //
                                 "DeleteObject(new brush)",                         //
                                 "EndPaint(ListView1)",                             //
                                 "CallWindowProcA(previous, ListView1, 0x00000F)",  //
                                 "previous procedure: WM_PAINT, update region empty, Text1 " +
                                     report + ", Label2 WM_PAINT Count: 1"));
    EXPECT_EQ(GetObjectType(LastBrush()), 0u);  // really gone, not merely handed over

    // The rectangle, and only it, in that colour; the next paint, with three
    // fresh draws (0.5, 0.25, 0.75: 128, 64, 191), in another.
    const POINT inside[] = {{2, 300}, {249, 329}, {125, 315}};
    for (POINT p : inside) EXPECT_EQ(PixelAt(p.x, p.y), 0xFF0080u) << p.x << "," << p.y;
    for (POINT p : {POINT{1, 315}, POINT{250, 315}, POINT{125, 299}, POINT{125, 330}})
        EXPECT_EQ(PixelAt(p.x, p.y), background) << p.x << "," << p.y;
    PaintRect({2, 300, 250, 330});
    for (POINT p : inside) EXPECT_EQ(PixelAt(p.x, p.y), 0xBF4080u) << p.x << "," << p.y;
}

TEST_F(ProbeTest, OtherMessagesPassStraightThroughWithTheirResult) {
    StartLog({"CallWindowProcA"});
    EXPECT_EQ(SendMessageA(ListView1, kProbeMessage, 17, 34), kMessageResult);
    EXPECT_THAT(StopLog(), ElementsAre("CallWindowProcA(previous, ListView1, 0x008007)",
                                       "previous procedure: WM_APP+7, 17, 34"));
    // Input and the list view's own messages leave the report and count alone.
    SendMessageA(ListView1, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SendMessageA(ListView1, LVM_GETCOLUMNWIDTH, 4, 0), 1440);
    EXPECT_EQ(TextOf(Text1) + TextOf(Label2), "untoucheduntouched");
    EXPECT_EQ(Module1::PaintCount, 0);
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

// Enough paints to wrap the count; a brush leaked per paint takes 12000.
TEST_F(ProbeTest, SoakTwelveThousandPaintsCountRoundExactlyAndLeakNothing) {
    const int capacity = FreeGdiCapacity();
    for (int i = 1; i <= 12000; ++i) {
        PaintRect({2, 300, 250, 330});
        ASSERT_EQ(Module1::PaintCount, (i - 1) % 9999 + 1) << "paint " << i;
    }
    EXPECT_EQ(TextOf(Label2), "WM_PAINT Count: 2001");  // 12000 = 9999 + 2001
    EXPECT_GT(capacity, 10000);
    EXPECT_GE(FreeGdiCapacity(), capacity - 100);
}

}  // namespace
