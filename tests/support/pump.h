// Runs this thread's messages until nothing has arrived for a while, so that
// paints and notifications the window system sends late have been handled.
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
