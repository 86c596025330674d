// Small helpers the benchmarks share: a host window with a report-view list
// view, a message pump, and a clock.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace bench {

// Rounds to take the median of: 7, or PAINTPROBE_BENCH_ROUNDS (make test
// runs each benchmark briefly, with 1, to see that it still prints its
// figures).
inline int Rounds() {
    char value[16] = {};
    const DWORD n = GetEnvironmentVariableA("PAINTPROBE_BENCH_ROUNDS", value, sizeof value);
    const int rounds = n && n < sizeof value ? atoi(value) : 0;
    return rounds > 0 ? rounds : 7;
}

inline LRESULT CALLBACK HostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}

inline void RegisterHost() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BenchHost";
    RegisterClassA(&wc);
}

struct Host {
    HWND form;
    HWND listView;
};

// A window at (x, y) holding a list view as paintprobe's, with its columns.
inline Host CreateHost(int x, int y) {
    Host h;
    h.form = CreateWindowExA(0, "BenchHost", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 432,
                             386, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    h.listView =
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0,
                        0, 274, 359, h.form, nullptr, nullptr, nullptr);
    const int widths[] = {100, 100, 100, 100, 1440};
    for (int i = 0; i < 5; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = widths[i];
        char text[] = "TestN";
        text[4] = static_cast<char>('1' + i);
        column.pszText = text;
        SendMessageA(h.listView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    return h;
}

inline void Pump() {
    MSG msg;
    for (int idle = 0; idle < 3;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            idle = 0;
        } else {
            ++idle;
            Sleep(1);
        }
    }
}

inline double NowMicroseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
