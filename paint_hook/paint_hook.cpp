// The hooks the transcript tool loads into the program's user-interface
// thread. They record, as numbers, into the memory they share with the tool:
// every WM_PAINT of the list view as the loop takes it (the update region,
// the window's size, then what the program reported and the colour it
// filled), every message the watched windows take, the mouse buttons and
// moves taken, and at the first flush what decides the paints beside the
// system. They name nothing: the tool makes sense of the records.
#include <windows.h>
// The list view's notification structures only: nothing of comctl32 is linked.
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "held.h"
#include "hook_facts.h"
#include "hook_shared.h"
#include "message_catalogue.h"

using transcript::HookMessage;
using transcript::HookPaint;
using transcript::HookShared;
using transcript::Shape;

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

int Pending = -1;  // the record whose paint is being dispatched now

// The colour the paint left inside the region, where the list view's header
// does not cover it: the middle of the first such part; -1 if there is none.
// Read from the list view's own pixels, where the paint went: a system that
// composes its desktop puts them on the screen only some time later.
int32_t ColourPainted(const HookShared& s, const HookPaint& p) {
    HWND listView = Handle(s.windows[transcript::kInListView1]);
    RECT header = {};
    GetWindowRect(GetWindow(listView, GW_CHILD), &header);
    const LONG below = header.bottom - header.top;
    for (int i = 0; i < p.rectCount; ++i) {
        const transcript::HookRect& r = s.rects[p.firstRect + i];
        const LONG top = r.top > below ? r.top : below;
        if (top >= r.bottom || r.left >= r.right) continue;
        const transcript::WindowDc dc(listView);
        const COLORREF pixel = GetPixel(dc.get(), (r.left + r.right) / 2, (top + r.bottom) / 2);
        return pixel == CLR_INVALID ? -1 : static_cast<int32_t>(pixel);
    }
    return -1;
}

bool InHook = false;  // the hook's own calls send messages too: not the program's

void Complete(HookShared& s) {
    if (Pending < 0) return;
    InHook = true;
    HookPaint& p = s.records[Pending];
    GetWindowTextA(Handle(s.windows[transcript::kInText1]), p.report, sizeof p.report);
    GetWindowTextA(Handle(s.windows[transcript::kInLabel2]), p.count, sizeof p.count);
    p.colour = ColourPainted(s, p);
    p.complete = 1;
    Pending = -1;
    InHook = false;
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
    HWND form = Handle(s.windows[transcript::kInForm1]);
    GetWindowRect(form, &r);
    p.outerWidth = r.right - r.left;
    p.outerHeight = r.bottom - r.top;
    GetClientRect(form, &r);
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
    p.message = s.messages;
    p.complete = 0;
    Pending = n;
    InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s.paints));
}

// Whether the thread has nothing left to do: no window of it left to paint
// (a control's, too), no message or input waiting. If so, what it drew is put
// on the screen now: Wine does that only as a thread waits for messages, a
// moment after this, and another program reading the screen must not be
// faster. The wait, of no time, is that one; it takes no message.
bool Idle() {
    const UINT busy = QS_PAINT | QS_POSTMESSAGE | QS_ALLPOSTMESSAGE | QS_SENDMESSAGE | QS_INPUT;
    if (HIWORD(GetQueueStatus(QS_ALLINPUT | QS_ALLPOSTMESSAGE)) & busy) return false;
    // A window that tracks the mouse (a header's hot item) and that the
    // cursor has left hears of it only at the system's next timer tick, and
    // repaints then: until it has, the thread is not done.
    TRACKMOUSEEVENT tracked = {sizeof tracked, TME_QUERY, nullptr, 0};
    POINT cursor;
    if (TrackMouseEvent(&tracked) && (tracked.dwFlags & TME_LEAVE) && tracked.hwndTrack &&
        GetCursorPos(&cursor) && WindowFromPoint(cursor) != tracked.hwndTrack)
        return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
    return true;
}

transcript::HookStart StartOf(const transcript::HookShared& s) {
    const HWND form = Handle(s.windows[transcript::kInForm1]);
    RECT r = {};
    GetWindowRect(form, &r);
    return {r.left,     r.top,    r.right, r.bottom, IsZoomed(form) ? 1 : IsIconic(form) ? 2 : 0,
            s.messages, s.presses};
}

bool IsPress(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK ||
           message == WM_NCLBUTTONDOWN || message == WM_NCLBUTTONDBLCLK;
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

// The message log: every message a watched window takes, as numbers, with
// what its parameters point to where that decides a repaint.
namespace messages {

int WindowOf(const HookShared& s, HWND hwnd) {
    const uint64_t handle = reinterpret_cast<uintptr_t>(hwnd);
    for (int i = 0; i < transcript::kWatched; ++i)
        if (handle && s.windows[i] == handle) return i;
    return -1;
}

// What a number a message carries is, where its table does not say: so that
// handles and pointers, which change from run to run, are named, not written.
uint8_t KindOfNumber(uint64_t value) {
    using transcript::Found;
    // Below 0x10000 a number is no handle and no address (handles carry a
    // generation in their high word); asking the system costs a round trip.
    if (value < 0x10000) return static_cast<uint8_t>(Found::Number);
    const auto pointer = reinterpret_cast<void*>(static_cast<uintptr_t>(value));
    if (IsWindow(static_cast<HWND>(pointer))) return static_cast<uint8_t>(Found::Window);
    switch (GetObjectType(static_cast<HGDIOBJ>(pointer))) {
        case 0:
            break;
        case OBJ_DC:
        case OBJ_MEMDC:
        case OBJ_METADC:
        case OBJ_ENHMETADC:
            return static_cast<uint8_t>(Found::DeviceContext);
        case OBJ_BRUSH:
            return static_cast<uint8_t>(Found::Brush);
        case OBJ_REGION:
            return static_cast<uint8_t>(Found::Region);
        case OBJ_FONT:
            return static_cast<uint8_t>(Found::Font);
        case OBJ_BITMAP:
            return static_cast<uint8_t>(Found::Bitmap);
        case OBJ_PEN:
        case OBJ_EXTPEN:
            return static_cast<uint8_t>(Found::Pen);
        default:
            return static_cast<uint8_t>(Found::Object);
    }
    MEMORY_BASIC_INFORMATION memory;
    if (VirtualQuery(pointer, &memory, sizeof memory) && memory.State == MEM_COMMIT)
        return static_cast<uint8_t>(Found::Memory);
    return static_cast<uint8_t>(Found::Number);
}

void Copy(int32_t* to, const void* from, size_t bytes) {
    std::memcpy(to, from, bytes);
}

// What lParam points to, for the messages whose structures decide a repaint:
// as the message comes (before) and as its handling returns (after).
void Structures(const HookShared& s, HookMessage& m, HWND hwnd, WPARAM wParam, LPARAM lParam,
                int32_t* words) {
    const void* p = reinterpret_cast<const void*>(lParam);
    using namespace transcript::words;
    switch (transcript::ShapeOf(m.message)) {
        case Shape::PosChanging:
        case Shape::Pos: {
            const WINDOWPOS& pos = *static_cast<const WINDOWPOS*>(p);
            const intptr_t after = reinterpret_cast<intptr_t>(pos.hwndInsertAfter);
            words[kX] = pos.x, words[kY] = pos.y, words[kWidth] = pos.cx, words[kHeight] = pos.cy;
            words[kFlags] = static_cast<int32_t>(pos.flags);
            words[kAfter] = after >= -2 && after <= 1 ? static_cast<int32_t>(after) : 2;
            break;
        }
        case Shape::CalcSize:
            Copy(words, p, wParam ? 3 * sizeof(RECT) : sizeof(RECT));
            break;
        case Shape::MinMax:
            Copy(words, p, sizeof(MINMAXINFO));
            break;
        case Shape::Sizing:
        case Shape::Moving:
            Copy(words, p, sizeof(RECT));
            break;
        case Shape::Style:
            Copy(words, p, sizeof(STYLESTRUCT));
            break;
        case Shape::Notify: {
            const NMHDR& header = *static_cast<const NMHDR*>(p);
            words[kId] = static_cast<int32_t>(header.idFrom);
            words[kCode] = static_cast<int32_t>(header.code);
            words[kFrom] = WindowOf(s, header.hwndFrom);
            if (header.code == NM_CUSTOMDRAW)
                words[kStage] =
                    static_cast<int32_t>(static_cast<const NMCUSTOMDRAW*>(p)->dwDrawStage);
            break;
        }
        case Shape::NcPaint: {
            RECT box = {};
            const int kind = wParam == 1 ? 0 : GetRgnBox(reinterpret_cast<HRGN>(wParam), &box);
            Copy(words, &box, sizeof box);
            words[kRegionKind] = kind == ERROR ? 0 : kind;
            break;
        }
        case Shape::Paint: {
            RECT update = {};
            GetUpdateRect(hwnd, &update, FALSE);
            Copy(words, &update, sizeof update);
            break;
        }
        case Shape::Text:
            if (p && words == m.before)
                lstrcpynA(m.text, static_cast<const char*>(p), sizeof m.text);
            break;
        default:
            break;
    }
}

// Sent messages under way, innermost last: their results come back in turn.
struct Under {
    HookMessage* record;
    HWND hwnd;
    UINT message;
};
Under Stack[256];
int Depth = 0;

// Appends a message, unless the log does not keep it; its record, or null.
HookMessage* Record(HookShared& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                    bool sent) {
    if (!s.messagesKept || InHook || message == s.flushMessage) return nullptr;
    // Until Form1 is known, any window's: its first message comes before it
    // can be known for Form1, and is named once it is.
    if (WindowOf(s, hwnd) < 0 && s.windows[transcript::kInForm1]) return nullptr;
    if (s.messagesKept == 1 && transcript::IsQuery(message)) return nullptr;
    const int n = s.messages;
    if (n >= s.maxMessages || n >= transcript::kMaxMessages) {
        s.messagesFull = 1;
        return nullptr;
    }
    HookMessage& m = s.messageLog[n];
    std::memset(&m, 0, sizeof m);
    m.step = s.step;
    // The paint being handled, else the next one.
    m.paint = Pending >= 0 ? Pending + 1 : s.paints + 1;
    m.message = message;
    m.window = reinterpret_cast<uintptr_t>(hwnd);
    m.sent = sent;
    m.depth = static_cast<uint8_t>(Depth < 255 ? Depth : 255);
    m.wParam = wParam;
    m.lParam = static_cast<uint64_t>(lParam);
    m.wFound = KindOfNumber(wParam);
    m.lFound = KindOfNumber(static_cast<uint64_t>(lParam));
    if (message >= transcript::kFirstRegistered && message <= 0xFFFF)
        GetClipboardFormatNameA(message, m.text, sizeof m.text);
    Structures(s, m, hwnd, wParam, lParam, m.before);
    s.messages = n + 1;
    return &m;
}

// A paint sent rather than posted (UpdateWindow, as the program starts):
// recorded as the loop's are, done once it returns.
bool SentPaint(const HookShared& s, HWND hwnd, UINT message) {
    return message == WM_PAINT && hwnd == Handle(s.windows[transcript::kInListView1]);
}

void Sending(HookShared& s, const CWPSTRUCT& m) {
    Learn(s, m);
    if (SentPaint(s, m.hwnd, m.message)) {
        Complete(s);
        Begin(s, m.hwnd);
    }
    if (!s.messagesKept) return;
    HookMessage* record = Record(s, m.hwnd, m.message, m.wParam, m.lParam, true);
    if (Depth < static_cast<int>(sizeof Stack / sizeof Stack[0]))
        Stack[Depth++] = {record, m.hwnd, m.message};
}

void Returned(HookShared& s, const CWPRETSTRUCT& m) {
    if (SentPaint(s, m.hwnd, m.message)) Complete(s);
    if (!s.messagesKept) return;
    int at = Depth;
    while (at > 0 && (Stack[at - 1].hwnd != m.hwnd || Stack[at - 1].message != m.message)) --at;
    if (!at) return;  // begun before the hook was
    HookMessage* record = Stack[at - 1].record;
    Depth = at - 1;
    if (!record) return;
    record->result = m.lResult;
    record->rFound = KindOfNumber(static_cast<uint64_t>(m.lResult));
    if (transcript::ReadsAfter(transcript::ShapeOf(record->message)))
        Structures(s, *record, m.hwnd, m.wParam, m.lParam, record->after);
    record->ended = s.messages;
    record->returned = 1;
}

}  // namespace messages

}  // namespace

// A hook of sent messages: what it is given, to the log.
template <typename Given, void (*Log)(HookShared&, const Given&)>
LRESULT Logged(int code, WPARAM wParam, LPARAM lParam) {
    HookShared* s = Shared();
    if (s && code == HC_ACTION) Log(*s, *reinterpret_cast<const Given*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    return Logged<CWPSTRUCT, messages::Sending>(code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CallWndRetProc(int code, WPARAM wParam, LPARAM lParam) {
    return Logged<CWPRETSTRUCT, messages::Returned>(code, wParam, lParam);
}

extern "C" LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam);

namespace {

// Run by the program's main thread before its first window: it becomes a
// thread of the window system and hooks itself, which every system allows
// (Windows and ReactOS refuse a hook from outside on a thread that has not
// yet run).
void CALLBACK HookThisThread(ULONG_PTR instance) {
    HookShared* s = Shared();
    if (!s) return;
    IsGUIThread(TRUE);
    const HINSTANCE module = reinterpret_cast<HINSTANCE>(instance);
    const DWORD thread = GetCurrentThreadId();
    const HHOOK hooks[] = {SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, module, thread),
                           SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, module, thread),
                           SetWindowsHookExA(WH_CALLWNDPROCRET, CallWndRetProc, module, thread)};
    const DWORD error = GetLastError();
    bool all = true;
    for (HHOOK h : hooks) all = all && h;
    for (HHOOK h : hooks)
        if (!all && h) UnhookWindowsHookEx(h);
    s->hookError = all ? 0 : error;
    s->threadHooked = all ? 1 : -1;
}

}  // namespace

// Loaded by the program's main thread at its start, where the tool asked for
// that: the hooking waits for an APC of its own, as nothing of the window
// system may be called while the loader holds its lock. Called also as the
// program exits of itself; not when it is killed.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID exiting) {
    HookShared* s = reason == DLL_PROCESS_ATTACH || exiting ? Shared() : nullptr;
    if (reason == DLL_PROCESS_ATTACH && s && s->hookItsThread && !s->threadHooked &&
        !QueueUserAPC(HookThisThread, GetCurrentThread(), reinterpret_cast<ULONG_PTR>(instance))) {
        s->hookError = GetLastError();
        s->threadHooked = -1;
    }
    if (reason == DLL_PROCESS_DETACH && exiting && s) s->exited = 1;
    return TRUE;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    HookShared* s = Shared();
    if (s && code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        Complete(*s);
        const bool listViewPaint =
            msg.message == WM_PAINT && msg.hwnd == Handle(s->windows[transcript::kInListView1]);
        if (listViewPaint) Begin(*s, msg.hwnd);
        if (HookMessage* m =
                messages::Record(*s, msg.hwnd, msg.message, msg.wParam, msg.lParam, false))
            if (listViewPaint) m->paint = s->paints;  // the paint it is
        if (msg.message == s->flushMessage) {
            InHook = true;
            for (int i = 0; i < 3; ++i)
                GetWindowTextA(Handle(s->windows[transcript::kInText1 + i]), s->texts[i],
                               sizeof s->texts[i]);
            if (!s->facts.dpi) {
                ReadFacts(*s);
                ReadTree(*s);
            }
            InHook = false;
            if (s->flushes == 0) s->start = StartOf(*s);
            s->idle = Idle();
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->flushes));
        }
        if (IsPress(msg.message)) {
            s->pressLog[s->presses % transcript::kPressLog] = {
                reinterpret_cast<uintptr_t>(msg.hwnd), msg.pt.x, msg.pt.y};
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->presses));
        }
        if (IsButton(msg.message))
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->buttons));
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE)
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->moves));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
