#include "Module1.h"

#include "paint_report.h"
#include "random_draws.h"

namespace Module1 {

ProcAddress OldProc = 0;
PAINTSTRUCT CurrentPaint = {};
int32_t PaintCount = 0;

namespace {

HWND Text1 = nullptr;
HWND Label2 = nullptr;

// BeginPaint on construction, EndPaint on destruction.
class PaintGuard {
  public:
    PaintGuard(HWND window, PAINTSTRUCT& paint)
        : window_(window), paint_(paint), dc_(BeginPaint(window, &paint)) {}
    ~PaintGuard() { EndPaint(window_, &paint_); }
    PaintGuard(const PaintGuard&) = delete;
    PaintGuard& operator=(const PaintGuard&) = delete;

    HDC dc() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT& paint_;
    HDC dc_;
};

class SolidBrush {
  public:
    explicit SolidBrush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
    ~SolidBrush() { DeleteObject(brush_); }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;

    HBRUSH get() const { return brush_; }

  private:
    HBRUSH brush_;
};

void ReportPaint(HWND hWnd) {
    // Declared in this order so that the block ends brush freed, then paint
    // ended; the caller forwards the message after that.
    PaintGuard paint(hWnd, CurrentPaint);

    const RECT& r = CurrentPaint.rcPaint;
    SetWindowTextA(Text1, probe::PaintReportText({r.left, r.top, r.right, r.bottom}).c_str());

    PaintCount = probe::NextPaintCount(PaintCount);
    SetWindowTextA(Label2, probe::PaintCountText(PaintCount).c_str());

    // Three separate statements: the draws must go red, green, blue.
    const double red = probe::NextDraw();
    const double green = probe::NextDraw();
    const double blue = probe::NextDraw();
    SolidBrush brush(probe::ColourFromDraws(red, green, blue));
    FillRect(paint.dc(), &CurrentPaint.rcPaint, brush.get());
}

}  // namespace

void ConnectOutputs(HWND text1, HWND label2) {
    Text1 = text1;
    Label2 = label2;
}

LRESULT CALLBACK ListViewProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_PAINT) ReportPaint(hWnd);
    return CallWindowProcA(reinterpret_cast<WNDPROC>(OldProc), hWnd, uMsg, wParam, lParam);
}

}  // namespace Module1
