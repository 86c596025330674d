// The console's stop events, kept for the recording to take, and the job
// that ends the tool's processes with it.
#include "stop_request.h"

namespace transcript {

namespace {

HANDLE g_asked = nullptr;    // set at the first stop
HANDLE g_handled = nullptr;  // set once the recording has written its files
volatile LONG g_event = -1;  // the first event, as the console named it

BOOL WINAPI OnConsoleEvent(DWORD event) {
    InterlockedCompareExchange(&g_event, static_cast<LONG>(event), -1);
    SetEvent(g_asked);
    // Ctrl-C and Ctrl-Break leave the process running. The others end it as
    // this returns, and allow a few seconds (5 on Windows): the files first.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) WaitForSingleObject(g_handled, 4500);
    return TRUE;
}

// Since Windows 7 a console program that has loaded user32 is not sent the
// log-off and shutdown events: its windows are asked instead. This one, never
// shown, is asked for the tool; it answers as the handler does, once the
// files are written.
LRESULT CALLBACK OnSessionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUERYENDSESSION) return TRUE;
    if (message == WM_ENDSESSION && wParam) {
        OnConsoleEvent(CTRL_LOGOFF_EVENT);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI SessionWindow(void* made) {
    WNDCLASSA kind = {};
    kind.lpfnWndProc = OnSessionMessage;
    kind.hInstance = GetModuleHandleA(nullptr);
    kind.lpszClassName = "PaintTranscriptSession";
    RegisterClassA(&kind);
    // A top-level window (a message-only one is not asked), on a thread of
    // its own: the recording's thread may yet move to a desktop of its own,
    // which a thread with a window cannot.
    CreateWindowExA(WS_EX_TOOLWINDOW, kind.lpszClassName, "paint_transcript", WS_POPUP, 0, 0, 0, 0,
                    nullptr, nullptr, kind.hInstance, nullptr);
    SetEvent(made);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
    return 0;
}

}  // namespace

void TakeStops() {
    if (g_asked) return;
    g_asked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_handled = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    HANDLE made = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (HANDLE thread = CreateThread(nullptr, 0, SessionWindow, made, 0, nullptr)) {
        WaitForSingleObject(made, 5000);
        CloseHandle(thread);
    }
    CloseHandle(made);
}

std::string StopAsked(DWORD ms) {
    if (!g_asked || WaitForSingleObject(g_asked, ms) != WAIT_OBJECT_0) return "";
    switch (g_event) {
        case CTRL_C_EVENT:
            return "Ctrl-C (or SIGINT)";
        case CTRL_BREAK_EVENT:
            return "Ctrl-Break";
        case CTRL_CLOSE_EVENT:
            return "its console was closed";
        default:
            return "the session is ending (log-off or shutdown)";
    }
}

void StopHandled() {
    if (g_handled) SetEvent(g_handled);
}

void EndsWithTool(HANDLE process) {
    // Never closed: the system closes it as the tool ends, which ends them.
    static const HANDLE job = [] {
        HANDLE made = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (made && !SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits,
                                             sizeof limits)) {
            CloseHandle(made);
            made = nullptr;
        }
        return made;
    }();
    if (job && process) AssignProcessToJobObject(job, process);
}

}  // namespace transcript
