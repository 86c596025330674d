// In one process, with real list views: does the probe change which paints
// the list view gets (observer effect), and what does one probed paint cost?
#include <windows.h>

#include <cstdio>
#include <vector>

#include "Module1.h"
#include "bench_window.h"

namespace {

// --- observer effect -------------------------------------------------------

struct Seen {
    std::vector<RECT> rects;
    WNDPROC next = nullptr;
};
Seen Probed, Passive;

// In front of the probe: after it, reads the rectangle the probe reported.
LRESULT CALLBACK AfterProbe(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    const LRESULT result = CallWindowProcA(Probed.next, w, m, wp, lp);
    if (m == WM_PAINT) Probed.rects.push_back(Module1::CurrentPaint.rcPaint);
    return result;
}

// Only counts: notes the update rectangle and forwards untouched.
LRESULT CALLBACK PassiveCounter(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        RECT r = {};
        GetUpdateRect(w, &r, FALSE);
        Passive.rects.push_back(r);
    }
    return CallWindowProcA(Passive.next, w, m, wp, lp);
}

WNDPROC Exchange(HWND w, WNDPROC proc) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

constexpr int kText1 = 102, kLabel2 = 104;

// A host whose list view has the probe, writing into a text box and a label
// as in the program.
bench::Host CreateProbedHost(int x, int y) {
    const bench::Host host = bench::CreateHost(x, y);
    HWND text = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 294, 8, 121,
                                81, host.form, reinterpret_cast<HMENU>(kText1), nullptr, nullptr);
    HWND label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 294, 272, 121, 25,
                                 host.form, reinterpret_cast<HMENU>(kLabel2), nullptr, nullptr);
    Module1::ConnectOutputs(text, label);
    Module1::OldProc =
        Module1::ExchangeWindowProc(host.listView, Module1::AddressOf(&Module1::ListViewProc));
    return host;
}

void ObserverEffect() {
    const bench::Host probed = CreateProbedHost(0, 0), passive = bench::CreateHost(640, 0);
    Probed.next = Exchange(probed.listView, AfterProbe);
    Passive.next = Exchange(passive.listView, PassiveCounter);
    bench::Pump();
    Probed.rects.clear();
    Passive.rects.clear();

    // The same resizes of both windows: down, wider, narrower, back.
    struct Size {
        int width, height;
    };
    std::vector<Size> script;
    for (int i = 1; i <= 20; ++i) script.push_back({432, 386 + 7 * i});
    for (int i = 1; i <= 5; ++i) script.push_back({432 + 30 * i, 526});
    for (int width : {400, 300, 200, 158, 140, 300, 432}) script.push_back({width, 526});
    for (const Size& s : script) {
        for (HWND form : {probed.form, passive.form}) {
            SetWindowPos(form, nullptr, 0, 0, s.width, s.height, SWP_NOMOVE | SWP_NOZORDER);
            RECT client;
            GetClientRect(form, &client);
            HWND listView = form == probed.form ? probed.listView : passive.listView;
            MoveWindow(listView, 0, 0, client.right > 150 ? client.right - 150 : 0, client.bottom,
                       TRUE);
            bench::Pump();
        }
    }
    const size_t n = std::min(Probed.rects.size(), Passive.rects.size());
    size_t same = 0;
    for (size_t i = 0; i < n; ++i) {
        const RECT &a = Probed.rects[i], &b = Passive.rects[i];
        if (EqualRect(&a, &b))
            ++same;
        else
            std::printf("  paint %zu differs: probed %ld,%ld,%ld,%ld passive %ld,%ld,%ld,%ld\n",
                        i + 1, a.left, a.top, a.right, a.bottom, b.left, b.top, b.right, b.bottom);
    }
    const size_t most = std::max(Probed.rects.size(), Passive.rects.size());
    std::printf(
        "observer effect: %zu resizes; paints with the probe %zu, with a passive counter "
        "%zu; identical rectangles %zu of %zu (%.1f %%)\n",
        script.size(), Probed.rects.size(), Passive.rects.size(), same, most,
        most ? 100.0 * static_cast<double>(same) / static_cast<double>(most) : 100.0);
    DestroyWindow(probed.form);
    DestroyWindow(passive.form);
}

// --- paint cost ------------------------------------------------------------

LRESULT CALLBACK FloorProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m != WM_PAINT) return DefWindowProcA(w, m, wp, lp);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EndPaint(w, &ps);
    return 0;
}

// Microseconds per paint of one rectangle: the median of several rounds.
double MicrosecondsPerPaint(HWND window) {
    const RECT rect = {2, 200, 250, 330};
    std::vector<double> rounds;
    for (int round = 0; round < bench::Rounds(); ++round) {
        const int paints = 2000;
        const double start = bench::NowMicroseconds();
        for (int i = 0; i < paints; ++i) {
            InvalidateRect(window, &rect, FALSE);
            UpdateWindow(window);
        }
        rounds.push_back((bench::NowMicroseconds() - start) / paints);
    }
    return bench::Median(rounds);
}

void PaintCost() {
    const bench::Host probed = CreateProbedHost(0, 0), own = bench::CreateHost(640, 0);
    HWND text = GetDlgItem(probed.form, kText1), label = GetDlgItem(probed.form, kLabel2);
    // The floor: a plain child painting the same way, with nothing else.
    const bench::Host bare = bench::CreateHost(640, 400);
    ShowWindow(bare.listView, SW_HIDE);
    HWND floor = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 274, 359, bare.form,
                                 nullptr, nullptr, nullptr);
    SetWindowLongPtrA(floor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FloorProc));
    bench::Pump();

    const double withProbe = MicrosecondsPerPaint(probed.listView);
    const double ownPaint = MicrosecondsPerPaint(own.listView);
    const double floorPaint = MicrosecondsPerPaint(floor);
    // Where the probe's time goes: the two texts it writes on every paint.
    std::vector<double> rounds;
    for (int round = 0; round < bench::Rounds(); ++round) {
        const double start = bench::NowMicroseconds();
        for (int i = 0; i < 2000; ++i) {
            SetWindowTextA(text, i % 2 ? "Left: 2\r\nTop: 200\r\nRight: 250\r\nBottom: 330"
                                       : "Left: 3\r\nTop: 200\r\nRight: 250\r\nBottom: 330");
            SetWindowTextA(label, i % 2 ? "WM_PAINT Count: 17" : "WM_PAINT Count: 18");
        }
        rounds.push_back((bench::NowMicroseconds() - start) / 2000);
    }
    const double texts = bench::Median(rounds);

    std::printf("paint cost (median of %d rounds of 2000 paints of 248 x 130 pixels):\n",
                bench::Rounds());
    std::printf("  probed list view   %8.1f us per paint\n", withProbe);
    std::printf("  list view alone    %8.1f us per paint  (probed / alone: %.2f)\n", ownPaint,
                withProbe / ownPaint);
    std::printf("  Begin+Fill+EndPaint %7.1f us per paint  (probed / floor: %.2f)\n", floorPaint,
                withProbe / floorPaint);
    std::printf("  of which the texts  %7.1f us per paint  (writing Text1 and Label2 alone)\n",
                texts);
}

}  // namespace

int main() {
    bench::RegisterHost();
    ObserverEffect();
    PaintCost();
    return 0;
}
