// A WH_GETMESSAGE hook that the transcript tool loads into the program's
// user-interface thread. It records every WM_PAINT of the list view as the
// message loop takes it: the update region about to be painted, the window's
// size, and then (at the next message) what the program reported for it and
// the colour it filled it with.
#include <windows.h>

#include <vector>

#include "hook_shared.h"

using transcript::HookPaint;
using transcript::HookShared;

namespace {

HookShared* Shared() {
    static HookShared* shared = [] {
        const transcript::SharedName name(GetCurrentProcessId());
        HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.text);
        return mapping ? static_cast<HookShared*>(
                             MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(HookShared)))
                       : nullptr;
    }();
    return shared;
}

HWND Handle(uint64_t value) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

int Pending = -1;  // the record whose paint is being dispatched now

// The colour the paint left inside the region, where the list view's header
// does not cover it: the middle of the first such part; -1 if there is none.
// Read from the list view's own pixels, where the paint went: a system that
// composes its desktop puts them on the screen only some time later.
int32_t ColourPainted(const HookShared& s, const HookPaint& p) {
    HWND listView = Handle(s.listView);
    RECT header = {};
    GetWindowRect(GetWindow(listView, GW_CHILD), &header);
    const LONG below = header.bottom - header.top;
    for (int i = 0; i < p.rectCount; ++i) {
        const transcript::HookRect& r = s.rects[p.firstRect + i];
        const LONG top = r.top > below ? r.top : below;
        if (top >= r.bottom || r.left >= r.right) continue;
        HDC dc = GetDC(listView);
        const COLORREF pixel = GetPixel(dc, (r.left + r.right) / 2, (top + r.bottom) / 2);
        ReleaseDC(listView, dc);
        return pixel == CLR_INVALID ? -1 : static_cast<int32_t>(pixel);
    }
    return -1;
}

void Complete(HookShared& s) {
    if (Pending < 0) return;
    HookPaint& p = s.records[Pending];
    GetWindowTextA(Handle(s.text1), p.report, sizeof p.report);
    GetWindowTextA(Handle(s.label2), p.count, sizeof p.count);
    p.colour = ColourPainted(s, p);
    p.complete = 1;
    Pending = -1;
}

// The update region about to be painted, rectangle by rectangle.
std::vector<RECT> UpdateRegion(HWND listView) {
    std::vector<RECT> out;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetUpdateRgn(listView, region, FALSE) != ERROR) {
        const DWORD size = GetRegionData(region, 0, nullptr);
        std::vector<char> buffer(size);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        if (size && GetRegionData(region, size, data)) {
            const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
            out.assign(rects, rects + data->rdh.nCount);
        }
    }
    DeleteObject(region);
    return out;
}

void Begin(HookShared& s, HWND listView) {
    const int n = s.paints;
    const std::vector<RECT> region = UpdateRegion(listView);
    // No room: say so rather than drop the paint without a word.
    if (n >= s.maxPaints || s.rectsUsed + static_cast<int>(region.size()) > transcript::kMaxRects) {
        s.full = 1;
        return;
    }
    HookPaint& p = s.records[n];
    p.step = s.step;
    RECT r;
    GetWindowRect(Handle(s.form), &r);
    p.outerWidth = r.right - r.left;
    p.outerHeight = r.bottom - r.top;
    GetClientRect(Handle(s.form), &r);
    p.clientWidth = r.right;
    p.clientHeight = r.bottom;
    GetClientRect(listView, &r);
    p.viewWidth = r.right;
    p.viewHeight = r.bottom;
    p.firstRect = s.rectsUsed;
    p.rectCount = static_cast<int32_t>(region.size());
    for (size_t i = 0; i < region.size(); ++i)
        s.rects[p.firstRect + i] = {region[i].left, region[i].top, region[i].right,
                                    region[i].bottom};
    s.rectsUsed += p.rectCount;
    p.complete = 0;
    Pending = n;
    InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s.paints));
}

bool IsButton(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONUP:
        case WM_NCLBUTTONDBLCLK:
            return true;
    }
    return false;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    HookShared* s = Shared();
    if (s && code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        Complete(*s);
        if (msg.message == WM_PAINT && msg.hwnd == Handle(s->listView)) Begin(*s, msg.hwnd);
        if (msg.message == s->flushMessage)
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->flushes));
        if (IsButton(msg.message))
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->buttons));
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE)
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->moves));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
