// Runs this thread's messages: until nothing has arrived for a while, so that
// paints and notifications the window system sends late have been handled;
// or until WM_QUIT.
#pragma once

#include <windows.h>

inline void PumpUntilIdle(DWORD quietMs = 50, DWORD limitMs = 5000) {
    const DWORD start = GetTickCount();
    DWORD lastMessage = start;
    while (GetTickCount() - lastMessage < quietMs && GetTickCount() - start < limitMs) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            lastMessage = GetTickCount();
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
}

// The exit code WM_QUIT carries, or -1 if none came.
inline int PumpUntilQuit() {
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
