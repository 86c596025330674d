// Time from process start to the list view's first paint done: paintprobe
// against a minimal window with the same list view and nothing else.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_window.h"
#include "remote.h"

namespace {

HWND ListViewOf(HWND form) {
    for (HWND c = GetWindow(form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64];
        GetClassNameA(c, name, sizeof name);
        if (lstrcmpiA(name, "SysListView32") == 0) return c;
    }
    return nullptr;
}

// Milliseconds until the list view is shown and painted; -1 on failure.
double StartupMilliseconds(const std::string& exe) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + exe + "\"";
    LARGE_INTEGER frequency, begin, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;
    HWND form = nullptr;
    double ms = -1;
    for (int spins = 0; spins < 100000; ++spins) {
        if (!form) form = transcript::FindVisibleWindow(process.dwProcessId, nullptr);
        HWND list = form ? ListViewOf(form) : nullptr;
        RECT update;
        if (list && IsWindowVisible(list) && !GetUpdateRect(list, &update, FALSE)) {
            QueryPerformanceCounter(&now);
            ms = static_cast<double>(now.QuadPart - begin.QuadPart) * 1000.0 /
                 static_cast<double>(frequency.QuadPart);
            break;
        }
        Sleep(1);
    }
    if (form) PostMessageA(form, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return ms;
}

double MedianOf(const std::string& exe, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(StartupMilliseconds(exe));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main() {
    const std::string probe = transcript::FindBeside("paintprobe.exe");
    const std::string minimal = transcript::FindBeside("minimal_listview.exe");
    if (probe.empty() || minimal.empty()) {
        std::fprintf(stderr, "startup_bench: paintprobe.exe or minimal_listview.exe not found\n");
        return 2;
    }
    StartupMilliseconds(minimal);  // the first start of any program warms Wine up
    const double a = MedianOf(probe, bench::Rounds()), b = MedianOf(minimal, bench::Rounds());
    std::printf("start-up to the list view's first paint (median of %d starts):\n",
                bench::Rounds());
    std::printf("  paintprobe.exe        %7.1f ms\n", a);
    std::printf("  minimal list view     %7.1f ms  (paintprobe / minimal: %.2f)\n", b, a / b);
    return 0;
}
