// What the hook reads of the program: its windows as it makes them, and
// once, at its first flush, what decides its paints beside the system
// (display scale, comctl32, visual styles, the list view's font), and its
// windows and columns as they stand.
#include <windows.h>
// The list view's messages and structures only: nothing of comctl32 is linked.
#include <commctrl.h>

#include "held.h"
#include "hook_facts.h"

#include <cstring>
#include <cwchar>
#include <initializer_list>

namespace {

// Found by name: the 32-bit program must start where a function is missing.
template <typename F>
F ProcIn(const char* dll, const char* name) {
    HMODULE module = GetModuleHandleA(dll);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

bool Learning(const transcript::HookShared& s) {
    for (uint64_t w : s.windows)
        if (!w) return true;
    return false;
}

bool Named(const void* name, const char* text, const wchar_t* wide) {
    if (!name || IS_INTRESOURCE(name)) return false;
    return !std::strcmp(static_cast<const char*>(name), text) ||
           !std::wcscmp(static_cast<const wchar_t*>(name), wide);
}

}  // namespace

// At WM_NCCREATE the caption and the parent are known, before any message
// of the window's own but Form1's WM_GETMINMAXINFO, named once it is known.
void Learn(transcript::HookShared& s, const CWPSTRUCT& m) {
    if (m.message != WM_NCCREATE || !Learning(s)) return;
    const auto& create = *reinterpret_cast<const CREATESTRUCTA*>(m.lParam);
    const uint64_t window = reinterpret_cast<uintptr_t>(m.hwnd);
    const uint64_t parent = reinterpret_cast<uintptr_t>(create.hwndParent);
    using namespace transcript;
    if (!s.windows[kInForm1]) {
        if (!(create.style & WS_CHILD) && Named(create.lpszName, "Form1", L"Form1"))
            s.windows[kInForm1] = window;
    } else if (parent == s.windows[kInForm1]) {
        for (int slot : {kInListView1, kInText1, kInLabel1, kInLabel2})
            if (!s.windows[slot]) {
                s.windows[slot] = window;
                break;
            }
    } else if (parent && parent == s.windows[kInListView1] && !s.windows[kInHeader]) {
        s.windows[kInHeader] = window;
    }
}

void ReadFacts(transcript::HookShared& s) {
    transcript::HookFacts& f = s.facts;
    struct DllVersion {
        DWORD size, major, minor, build, platform;
    } version = {sizeof(DllVersion), 0, 0, 0, 0};
    // The comctl32 whose code the list view runs: a program may have two
    // loaded (5 and 6), and its class's procedure is in the one it uses.
    HWND listView = Handle(s.windows[transcript::kInListView1]);
    HMODULE comctl32 = nullptr;
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(GetClassLongPtrW(listView, GCLP_WNDPROC)), &comctl32))
        comctl32 = GetModuleHandleA("comctl32.dll");
    if (comctl32) GetModuleFileNameA(comctl32, f.comctl32Path, sizeof f.comctl32Path - 1);
    using GetVersion = HRESULT(CALLBACK*)(DllVersion*);
    const auto get = comctl32 ? reinterpret_cast<GetVersion>(reinterpret_cast<void*>(
                                    GetProcAddress(comctl32, "DllGetVersion")))
                              : nullptr;
    if (get && get(&version) == S_OK)
        f.comctl32[0] = version.major, f.comctl32[1] = version.minor, f.comctl32[2] = version.build;
    using IsThemed = BOOL(WINAPI*)();
    auto themed = ProcIn<IsThemed>("uxtheme.dll", "IsAppThemed");
    f.themed = version.major >= 6 && themed && themed();
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(listView, WM_GETFONT, 0, 0));
    LOGFONTA asked = {};
    if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    GetObjectA(font, sizeof asked, &asked);
    lstrcpynA(f.fontFace, asked.lfFaceName, sizeof f.fontFace);
    f.fontHeight = asked.lfHeight;
    const transcript::WindowDc dc(listView);
    {
        const transcript::Selection selected(dc.get(), font);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc.get(), &metrics);
        GetTextFaceA(dc.get(), sizeof f.drawnFace, f.drawnFace);
        f.drawnHeight = metrics.tmHeight;
    }
    f.dpi = GetDeviceCaps(dc.get(), LOGPIXELSY);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(
            MonitorFromWindow(Handle(s.windows[transcript::kInForm1]), MONITOR_DEFAULTTOPRIMARY),
            &monitor)) {
        const RECT& m = monitor.rcMonitor;
        const RECT& w = monitor.rcWork;
        f.screen[0] = m.right - m.left, f.screen[1] = m.bottom - m.top;
        f.workArea[0] = w.left, f.workArea[1] = w.top, f.workArea[2] = w.right,
        f.workArea[3] = w.bottom;
    }
}

// The windows as they stand, and the list view's columns: what a test needs
// to build the same tree without the program.
void ReadTree(transcript::HookShared& s) {
    transcript::HookFacts& f = s.facts;
    for (int i = 0; i < transcript::kWatched; ++i) {
        HWND window = Handle(s.windows[i]);
        transcript::HookWindow& w = f.windows[i];
        if (!window || !GetClassNameA(window, w.className, sizeof w.className)) continue;
        w.style = static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE));
        w.exStyle = static_cast<uint32_t>(GetWindowLongA(window, GWL_EXSTYLE));
        w.classStyle = static_cast<uint32_t>(GetClassLongA(window, GCL_STYLE));
        w.id = static_cast<int32_t>(GetWindowLongPtrA(window, GWLP_ID));
        RECT place, client;
        GetWindowRect(window, &place);
        if (w.style & WS_CHILD)
            MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
        GetClientRect(window, &client);
        w.x = place.left, w.y = place.top;
        w.width = place.right - place.left, w.height = place.bottom - place.top;
        w.clientWidth = client.right, w.clientHeight = client.bottom;
    }
    HWND listView = Handle(s.windows[transcript::kInListView1]);
    f.listViewExtended =
        static_cast<uint32_t>(SendMessageA(listView, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    for (f.columns = 0; f.columns < transcript::kMaxColumns; ++f.columns) {
        transcript::HookColumn& c = f.column[f.columns];
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.pszText = c.text;
        column.cchTextMax = sizeof c.text;
        if (!SendMessageA(listView, LVM_GETCOLUMNA, f.columns, reinterpret_cast<LPARAM>(&column)))
            break;
        c.width = column.cx;
    }
}
