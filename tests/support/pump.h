// Runs this thread's messages until none has come for a while (late paints
// and notifications too), or to WM_QUIT; returns its exit code, else -1.
#pragma once

#include <windows.h>

inline int PumpUntilIdle(bool untilQuit = false, DWORD quietMs = 50) {
    const DWORD start = GetTickCount();
    for (DWORD last = start; GetTickCount() - start < 5000;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            last = GetTickCount();
        } else if (!untilQuit && GetTickCount() - last >= quietMs) {
            break;
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        }
    }
    return -1;
}

// The display's dots per inch, LOGPIXELSX or LOGPIXELSY.
inline int ScreenDpi(int index) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, index);
    ReleaseDC(nullptr, screen);
    return dpi;
}
