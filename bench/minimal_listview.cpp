// The least a program can be that shows paintprobe's list view: a window and
// a report-view list view with the same columns, nothing else. Start-up time
// is measured against it.
#include <windows.h>
#include <commctrl.h>

namespace {
LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(w, m, wp, lp);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "MinimalListView";
    RegisterClassA(&wc);
    HWND form = CreateWindowExA(0, "MinimalListView", "Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, 432, 386, nullptr, nullptr, instance, nullptr);
    HWND list =
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0,
                        0, 274, 359, form, nullptr, instance, nullptr);
    const int widths[] = {100, 100, 100, 100, 1440};
    for (int i = 0; i < 5; ++i) {
        char text[] = "TestN";
        text[4] = static_cast<char>('1' + i);
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = widths[i];
        column.pszText = text;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    ShowWindow(form, show);
    UpdateWindow(form);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
