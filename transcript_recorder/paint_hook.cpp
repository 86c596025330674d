// A WH_GETMESSAGE hook that the transcript tool loads into the program's
// user-interface thread. It records every WM_PAINT of the list view as the
// message loop takes it: the update region about to be painted, the window's
// size, and then (at the next message) what the program reported for it and
// the colour it filled it with.
#include <windows.h>
// The list view's notification structures only: nothing of comctl32 is linked.
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "hook_shared.h"
#include "message_log.h"
#include "scenario.h"

using transcript::HookMessage;
using transcript::HookPaint;
using transcript::HookShared;
using transcript::Step;

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

bool InHook = false;  // the hook's own calls send messages too: not the program's

void Complete(HookShared& s) {
    if (Pending < 0) return;
    InHook = true;
    HookPaint& p = s.records[Pending];
    GetWindowTextA(Handle(s.text1), p.report, sizeof p.report);
    GetWindowTextA(Handle(s.label2), p.count, sizeof p.count);
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
    const uint64_t windows[] = {s.form, s.listView, s.header, s.text1, s.label1, s.label2};
    for (int i = 0; i < transcript::kWatched; ++i)
        if (handle && windows[i] == handle) return i;
    return -1;
}

// What a number a message carries is, where its table does not say: so that
// handles and pointers, which change from run to run, are named, not written.
uint8_t Find(const HookShared& s, uint64_t value, int8_t& window) {
    using transcript::Found;
    window = -1;
    // Below 0x10000 a number is no handle and no address (handles carry a
    // generation in their high word); asking the system costs a round trip.
    if (value < 0x10000) return static_cast<uint8_t>(Found::Number);
    const auto pointer = reinterpret_cast<void*>(static_cast<uintptr_t>(value));
    window = static_cast<int8_t>(WindowOf(s, static_cast<HWND>(pointer)));
    if (window >= 0) return static_cast<uint8_t>(Found::Window);  // ours: no call
    if (IsWindow(static_cast<HWND>(pointer))) {
        window = static_cast<int8_t>(WindowOf(s, static_cast<HWND>(pointer)));
        return static_cast<uint8_t>(Found::Window);
    }
    if (GetObjectType(static_cast<HGDIOBJ>(pointer))) return static_cast<uint8_t>(Found::Object);
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
    switch (m.message) {
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED: {
            const WINDOWPOS& pos = *static_cast<const WINDOWPOS*>(p);
            const intptr_t after = reinterpret_cast<intptr_t>(pos.hwndInsertAfter);
            const int32_t place[] = {pos.x,
                                     pos.y,
                                     pos.cx,
                                     pos.cy,
                                     static_cast<int32_t>(pos.flags),
                                     after >= -2 && after <= 1 ? static_cast<int32_t>(after) : 2};
            Copy(words, place, sizeof place);
            break;
        }
        case WM_NCCALCSIZE:
            Copy(words, p, wParam ? 3 * sizeof(RECT) : sizeof(RECT));
            break;
        case WM_GETMINMAXINFO:
            Copy(words, p, sizeof(MINMAXINFO));
            break;
        case WM_SIZING:
        case WM_MOVING:
            Copy(words, p, sizeof(RECT));
            break;
        case WM_STYLECHANGING:
        case WM_STYLECHANGED:
            Copy(words, p, sizeof(STYLESTRUCT));
            break;
        case WM_NOTIFY: {
            using namespace transcript::words;
            const NMHDR& header = *static_cast<const NMHDR*>(p);
            words[kId] = static_cast<int32_t>(header.idFrom);
            words[kCode] = static_cast<int32_t>(header.code);
            words[kFrom] = WindowOf(s, header.hwndFrom);
            if (header.code == NM_CUSTOMDRAW)
                words[kStage] =
                    static_cast<int32_t>(static_cast<const NMCUSTOMDRAW*>(p)->dwDrawStage);
            break;
        }
        case WM_NCPAINT: {
            RECT box = {};
            const int kind = wParam == 1 ? 0 : GetRgnBox(reinterpret_cast<HRGN>(wParam), &box);
            Copy(words, &box, sizeof box);
            words[transcript::words::kRegionKind] = kind == ERROR ? 0 : kind;
            break;
        }
        case WM_PAINT: {
            RECT update = {};
            GetUpdateRect(hwnd, &update, FALSE);
            Copy(words, &update, sizeof update);
            break;
        }
        case WM_SETTEXT:
        case EM_REPLACESEL:
            if (p && words == m.before)
                lstrcpynA(m.text, static_cast<const char*>(p), sizeof m.text);
            break;
    }
}

// Appends a message, unless the log does not keep it; its record, or null.
HookMessage* Record(HookShared& s, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                    bool sent) {
    if (!s.messagesKept || InHook || message == s.flushMessage) return nullptr;
    const int window = WindowOf(s, hwnd);
    if (window < 0 || (s.messagesKept == 1 && transcript::IsQuery(message))) return nullptr;
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
    m.window = static_cast<uint8_t>(window);
    m.sent = sent;
    m.wParam = wParam;
    m.lParam = static_cast<uint64_t>(lParam);
    m.wFound = Find(s, wParam, m.wWindow);
    m.lFound = Find(s, static_cast<uint64_t>(lParam), m.lWindow);
    if (message >= 0xC000 && message <= 0xFFFF)
        GetClipboardFormatNameA(message, m.text, sizeof m.text);
    Structures(s, m, hwnd, wParam, lParam, m.before);
    s.messages = n + 1;
    return &m;
}

// Sent messages under way, innermost last: their results come back in turn.
struct Under {
    HookMessage* record;
    HWND hwnd;
    UINT message;
};
Under Stack[256];
int Depth = 0;

void Sending(HookShared& s, const CWPSTRUCT& m) {
    HookMessage* record = Record(s, m.hwnd, m.message, m.wParam, m.lParam, true);
    if (Depth < static_cast<int>(sizeof Stack / sizeof Stack[0]))
        Stack[Depth++] = {record, m.hwnd, m.message};
}

void Returned(const HookShared& s, const CWPRETSTRUCT& m) {
    int at = Depth;
    while (at > 0 && (Stack[at - 1].hwnd != m.hwnd || Stack[at - 1].message != m.message)) --at;
    if (!at) return;  // begun before the hook was
    HookMessage* record = Stack[at - 1].record;
    Depth = at - 1;
    if (!record) return;
    record->result = m.lResult;
    record->rFound = Find(s, static_cast<uint64_t>(m.lResult), record->rWindow);
    if (record->message != WM_NCPAINT && record->message != WM_PAINT &&
        record->message != WM_NOTIFY && record->message != WM_SETTEXT)
        Structures(s, *record, m.hwnd, m.wParam, m.lParam, record->after);
    record->returned = 1;
}

}  // namespace messages

// By hand: the steps a person takes, named as scenario lines, from the
// messages Form1 takes. Sizing loops and caption buttons are seen where the
// system that runs the program moves its frame (Windows, Wine's desktop);
// where a window manager does, only the changes it makes reach the program,
// and they are steps "from outside".
namespace byhand {

int NcHit = 0;               // where the last non-client press on Form1 was
int Sizing = 0;              // the sizing loop's hit-test code; 0 outside one
int Gesture = 0;             // the number of the last gesture
bool InCommand = false;      // inside a WM_SYSCOMMAND of a step already named
bool InDoubleClick = false;  // a double-click's growth is under way
bool StatePending = false;   // a state step whose change may come later
RECT Last = {};              // Form1's frame, as last seen
// Where in the message log the messages of a step a person took begin: a
// step is named only once its change is made, by then they are logged.
int PressAt = 0;            // Form1's last press on its frame
int ChangeAt = 0;           // the WM_SIZING or WM_WINDOWPOSCHANGING of Form1's last change
bool SizingSeen = false;    // a WM_SIZING began the change under way
bool GestureBegun = false;  // a sizing loop has begun and named no step yet
int LastState = -1;         // 0 normal, 1 maximized, 2 minimized

int StateOf(HWND form) {
    return IsZoomed(form) ? 1 : IsIconic(form) ? 2 : 0;
}

void NewStep(HookShared& s, const std::string& action, int gesture, int from = -1) {
    const int n = s.stepsTaken + 1;
    if (n >= transcript::kMaxSteps) {
        s.full = 1;
        return;
    }
    // A change is named only once made: the messages that made it are its.
    for (int i = from < 0 ? s.messages : from; i < s.messages; ++i) s.messageLog[i].step = n;
    transcript::HookStep& step = s.steps[n];
    step.gesture = gesture;
    lstrcpynA(step.action, action.c_str(), sizeof step.action);
    s.stepsTaken = n;
    s.step = n;
}

// A step of one edge or corner moved outward by dx, dy (the one that
// applies for an edge).
Step Moved(Step::Kind kind, const char* where, int dx, int dy) {
    Step step;
    step.kind = kind;
    step.where = where;
    step.moves = {{dx, dy}};
    return step;
}

// The edge or corner a change from outside moved; false if it is not one of
// those alone.
bool EdgeMoved(const RECT& a, const RECT& b, Step& step) {
    const int top = a.top - b.top, bottom = b.bottom - a.bottom;
    const int left = a.left - b.left, right = b.right - a.right;
    const char* where = !top && !left && !right && bottom   ? "bottom"
                        : !top && !left && right && !bottom ? "right"
                        : top && !left && !right && !bottom ? "top"
                        : !top && left && !right && !bottom ? "left"
                        : !top && !left && right && bottom  ? "corner"
                                                            : nullptr;
    if (where) step = Moved(Step::Resize, where, left ? left : right, top ? top : bottom);
    return where != nullptr;
}

const char* EdgeOf(int hit) {
    switch (hit) {
        case HTBOTTOM:
            return "bottom";
        case HTRIGHT:
            return "right";
        case HTTOP:
            return "top";
        case HTLEFT:
            return "left";
        case HTBOTTOMRIGHT:
            return "corner";
    }
    return nullptr;
}

void Changed(HookShared& s, HWND form) {
    RECT now;
    GetWindowRect(form, &now);
    const int state = StateOf(form);
    const bool resized = now.right - now.left != Last.right - Last.left ||
                         now.bottom - now.top != Last.bottom - Last.top;
    const RECT before = Last;
    Last = now;
    Step step;
    if (state != LastState) {
        const int was = LastState;
        LastState = state;
        if (InCommand || StatePending || InDoubleClick || was < 0) {
            StatePending = false;
            return;
        }
        const char* names[] = {"restore", "maximize", "minimize"};
        step.kind = Step::State;
        step.where = names[state];
        NewStep(s, StepText(step), 0, ChangeAt);
        return;
    }
    if (!resized || InCommand || InDoubleClick || state != 0) return;
    if (const char* grip = EdgeOf(Sizing)) {  // one move of a drag
        const int dx = Sizing == HTLEFT ? before.left - now.left : now.right - before.right;
        const int dy = Sizing == HTTOP ? before.top - now.top : now.bottom - before.bottom;
        NewStep(s, StepText(Moved(Step::Drag, grip, dx, dy)), Gesture,
                GestureBegun ? PressAt : ChangeAt);
        GestureBegun = false;
        return;
    }
    if (!EdgeMoved(before, now, step)) {
        step.kind = Step::OuterSize;
        step.width = now.right - now.left;
        step.height = now.bottom - now.top;
    }
    NewStep(s, StepText(step), 0, ChangeAt);
}

void Sent(HookShared& s, const CWPSTRUCT& m) {
    HWND form = Handle(s.form);
    if (m.hwnd != form) return;
    if (LastState < 0) {
        GetWindowRect(form, &Last);
        LastState = StateOf(form);
    }
    switch (m.message) {
        case WM_ENTERSIZEMOVE:
            Sizing = NcHit;
            ++Gesture;
            GestureBegun = true;
            GetWindowRect(form, &Last);
            break;
        case WM_EXITSIZEMOVE:
            Sizing = NcHit = 0;  // a sizing loop from the keyboard has no press
            break;
        case WM_SYSCOMMAND: {
            const WPARAM command = m.wParam & 0xFFF0;
            const char* name = command == SC_MAXIMIZE   ? "maximize"
                               : command == SC_RESTORE  ? "restore"
                               : command == SC_MINIMIZE ? "minimize"
                                                        : nullptr;
            if (!name) break;
            Step step;
            step.kind = NcHit == HTMAXBUTTON || NcHit == HTMINBUTTON ? Step::Button : Step::State;
            step.where = name;
            NewStep(s, StepText(step), 0, step.kind == Step::Button ? PressAt : -1);
            NcHit = 0;
            InCommand = StatePending = true;
            break;
        }
        case WM_WINDOWPOSCHANGED:
            Changed(s, form);
            break;
    }
}

void Posted(HookShared& s, const MSG& m) {
    InDoubleClick = false;  // the last message's handling has ended
    if (m.hwnd == Handle(s.form) &&
        (m.message == WM_NCLBUTTONDOWN || m.message == WM_NCLBUTTONDBLCLK))
        NcHit = static_cast<int>(m.wParam), PressAt = s.messages;
    if (m.message == WM_LBUTTONDBLCLK) {
        HWND listView = Handle(s.listView);
        if (m.hwnd == listView) NewStep(s, "double-click list", 0);
        if (GetParent(m.hwnd) == listView) NewStep(s, "double-click header", 0);
        InDoubleClick = m.hwnd == listView || GetParent(m.hwnd) == listView;
    }
}

}  // namespace byhand

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    HookShared* s = Shared();
    if (s && code == HC_ACTION) {
        const CWPSTRUCT& m = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (s->byHand) byhand::Sent(*s, m);
        if (s->messagesKept) {
            using namespace byhand;
            const bool form = m.hwnd == Handle(s->form);
            if (form && m.message == WM_SIZING) ChangeAt = s->messages, SizingSeen = true;
            if (form && m.message == WM_WINDOWPOSCHANGING && !SizingSeen) ChangeAt = s->messages;
            messages::Sending(*s, m);
            if (form && m.message == WM_WINDOWPOSCHANGED) SizingSeen = false;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    CallWndRetProc(int code, WPARAM wParam, LPARAM lParam) {
    HookShared* s = Shared();
    if (s && code == HC_ACTION) {
        const CWPRETSTRUCT& m = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (s->messagesKept) messages::Returned(*s, m);
        if (s->byHand && m.hwnd == Handle(s->form) && m.message == WM_SYSCOMMAND)
            byhand::InCommand = false;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Found by name: the 32-bit program must start where a function is missing.
template <typename F>
F Find(const char* dll, const char* name) {
    HMODULE module = GetModuleHandleA(dll);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

void ReadFacts(HookShared& s) {
    transcript::HookFacts& f = s.facts;
    struct DllVersion {
        DWORD size, major, minor, build, platform;
    } version = {sizeof(DllVersion), 0, 0, 0, 0};
    // The comctl32 whose code the list view runs: a program may have two
    // loaded (5 and 6), and its class's procedure is in the one it uses.
    HWND listView = Handle(s.listView);
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
    auto themed = Find<IsThemed>("uxtheme.dll", "IsAppThemed");
    f.themed = version.major >= 6 && themed && themed();
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(listView, WM_GETFONT, 0, 0));
    LOGFONTA asked = {};
    if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    GetObjectA(font, sizeof asked, &asked);
    lstrcpynA(f.fontFace, asked.lfFaceName, sizeof f.fontFace);
    f.fontHeight = asked.lfHeight;
    HDC dc = GetDC(listView);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    GetTextFaceA(dc, sizeof f.drawnFace, f.drawnFace);
    f.drawnHeight = metrics.tmHeight;
    SelectObject(dc, old);
    f.dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(listView, dc);
}

// Called as the program exits of itself; not when it is killed.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID exiting) {
    if (reason == DLL_PROCESS_DETACH && exiting)
        if (HookShared* s = Shared()) s->exited = 1;
    return TRUE;
}

extern "C" __declspec(dllexport) LRESULT CALLBACK
    GetMsgProc(int code, WPARAM wParam, LPARAM lParam) {
    HookShared* s = Shared();
    if (s && code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG& msg = *reinterpret_cast<const MSG*>(lParam);
        Complete(*s);
        if (s->byHand) byhand::Posted(*s, msg);
        const bool listViewPaint = msg.message == WM_PAINT && msg.hwnd == Handle(s->listView);
        if (listViewPaint) Begin(*s, msg.hwnd);
        if (HookMessage* m =
                messages::Record(*s, msg.hwnd, msg.message, msg.wParam, msg.lParam, false))
            if (listViewPaint) m->paint = s->paints;  // the paint it is
        if (msg.message == s->flushMessage) {
            InHook = true;
            const uint64_t shown[] = {s->text1, s->label1, s->label2};
            for (int i = 0; i < 3; ++i)
                GetWindowTextA(Handle(shown[i]), s->texts[i], sizeof s->texts[i]);
            if (!s->facts.dpi) ReadFacts(*s);
            InHook = false;
            s->idle = Idle();
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->flushes));
        }
        if (IsButton(msg.message))
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->buttons));
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE)
            InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->moves));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
