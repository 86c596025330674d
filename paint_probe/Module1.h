// The paint probe: a window procedure put in front of the list view's own,
// reporting, counting and colouring every WM_PAINT before handing it on.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Module1 {

// The list view's previous window procedure, as SetWindowLongA returned it.
extern LONG OldProc;
// The paint in progress, from BeginPaint to EndPaint.
extern PAINTSTRUCT CurrentPaint;
// Paints seen: 0 before the first, then 1..9999 round and round.
extern int32_t PaintCount;

// Where the probe writes: the report into text1, the count into label2.
void ConnectOutputs(HWND text1, HWND label2);

LRESULT CALLBACK ListViewProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

}  // namespace Module1
