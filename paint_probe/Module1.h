// The paint probe: a window procedure put in front of the list view's own,
// reporting, counting and colouring every WM_PAINT before handing it on.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Module1 {

#ifdef _WIN64
// A window-procedure address as the 64-bit build keeps it: pointer-sized.
using ProcAddress = LONG_PTR;
#else
// A window-procedure address as SetWindowLongA returns it: 32 bits.
using ProcAddress = LONG;
#endif

// The list view's previous window procedure, as the exchange returned it.
extern ProcAddress OldProc;
// The paint in progress, from BeginPaint to EndPaint.
extern PAINTSTRUCT CurrentPaint;
// Paints seen: 0 before the first, then 1..9999 round and round.
extern int32_t PaintCount;

// Where the probe writes: the report into text1, the count into label2.
void ConnectOutputs(HWND text1, HWND label2);

LRESULT CALLBACK ListViewProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

inline ProcAddress AddressOf(WNDPROC proc) {
    return reinterpret_cast<ProcAddress>(proc);
}

// Puts a new window procedure on a window and returns the one it replaces:
// SetWindowLongA with GWL_WNDPROC on the 32-bit build, its pointer-sized form
// on the 64-bit one.
inline ProcAddress ExchangeWindowProc(HWND window, ProcAddress proc) {
#ifdef _WIN64
    return SetWindowLongPtrA(window, GWLP_WNDPROC, proc);
#else
    return SetWindowLongA(window, GWL_WNDPROC, proc);
#endif
}

}  // namespace Module1
