// What the paint hook costs the program for each message it logs: messages
// sent and posted to a window of this thread, with no hook, with the hook
// logging nothing, and logging each message, as a recording sets it up.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_window.h"
#include "hook_shared.h"
#include "remote.h"

namespace {

constexpr int kMessages = 3000;  // a round, within one log's room
constexpr UINT kProbe = WM_USER + 1;

double Now() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Microseconds a message: sent, then posted and dispatched. Each carries a
// pointer, as many a logged message does, for the hook to tell apart.
void Measure(HWND window, double& sent, double& posted) {
    int local = 0;
    const LPARAM pointer = reinterpret_cast<LPARAM>(&local);
    double start = Now();
    for (int i = 0; i < kMessages; ++i) SendMessageA(window, kProbe, i, pointer);
    sent = (Now() - start) / kMessages;
    start = Now();
    MSG msg;
    for (int i = 0; i < kMessages; ++i) {
        PostMessageA(window, kProbe, i, pointer);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    posted = (Now() - start) / kMessages;
}

// Each set-up's median of its rounds, sent and posted.
void Medians(std::vector<double> (&times)[2][3], double sent[3], double posted[3]) {
    for (int setup = 0; setup < 3; ++setup)
        for (int how = 0; how < 2; ++how) {
            std::vector<double>& t = times[how][setup];
            std::sort(t.begin(), t.end());
            (how ? posted : sent)[setup] = t[t.size() / 2];
        }
}

// The figures, each set-up a row.
void Report(const double sent[3], const double posted[3], int logged) {
    std::printf(
        "the hook's cost a message (median of %d rounds of %d sent, then %d posted, to "
        "a window of one thread):\n",
        bench::Rounds(), kMessages, kMessages);
    const char* rows[] = {"no hook", "hooked, logging nothing", "hooked, logging each"};
    for (int i = 0; i < 3; ++i)
        std::printf("  %-24s sent %6.2f us, posted %6.2f us\n", rows[i], sent[i], posted[i]);
    std::printf("  logging adds %.2f us a sent message, %.2f us a posted one (%d logged)\n",
                sent[2] - sent[1], posted[2] - posted[1], logged);
}

}  // namespace

int main() {
    const transcript::SharedName name(GetCurrentProcessId());
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(transcript::HookShared), name.text);
    auto* shared = static_cast<transcript::HookShared*>(
        mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0) : nullptr);
    const std::string dll = transcript::FindBeside("paint_hook.dll");
    HMODULE hook = dll.empty() ? nullptr : LoadLibraryA(dll.c_str());
    if (!shared || !hook) {
        std::fprintf(stderr, "hook_bench: no shared memory, or paint_hook.dll not found\n");
        return 2;
    }
    std::memset(shared, 0, sizeof *shared);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    // The hook logs the windows it knows: this one stands for Form1.
    shared->windows[transcript::kInForm1] = reinterpret_cast<uintptr_t>(window);
    shared->maxPaints = transcript::kMaxPaints;
    shared->maxMessages = transcript::kMaxMessages;

    auto proc = [&](const char* plain, const char* decorated) {
        FARPROC f = GetProcAddress(hook, plain);
        if (!f) f = GetProcAddress(hook, decorated);
        return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(f));
    };
    const DWORD thread = GetCurrentThreadId();
    // The three set-ups in turn, round after round, so that a busy moment of
    // the machine falls on all of them alike.
    std::vector<double> times[2][3];
    double sent[3], posted[3];
    int logged = 0;
    Measure(window, sent[0], posted[0]);  // warms up
    for (int round = 0; round < bench::Rounds(); ++round) {
        for (int setup = 0; setup < 3; ++setup) {
            std::vector<HHOOK> hooks;
            if (setup > 0)
                hooks = {
                    SetWindowsHookExA(WH_GETMESSAGE, proc("GetMsgProc", "_GetMsgProc@12"), hook,
                                      thread),
                    SetWindowsHookExA(WH_CALLWNDPROC, proc("CallWndProc", "_CallWndProc@12"), hook,
                                      thread),
                    SetWindowsHookExA(WH_CALLWNDPROCRET,
                                      proc("CallWndRetProc", "_CallWndRetProc@12"), hook, thread)};
            shared->messagesKept = setup == 2;
            shared->messages = 0;
            Measure(window, sent[setup], posted[setup]);
            if (setup == 2) logged = shared->messages;
            for (HHOOK h : hooks) UnhookWindowsHookEx(h);
            times[0][setup].push_back(sent[setup]);
            times[1][setup].push_back(posted[setup]);
        }
    }
    Medians(times, sent, posted);

    Report(sent, posted, logged);
    return logged == 2 * kMessages ? 0 : 1;
}
