#include "platform_log.h"

#include <cstdio>
#include <map>

namespace {

bool Listening = false;
std::vector<std::string> Lines;
std::string (*Namer)(HWND) = nullptr;
std::map<void*, std::string> ProcNames;
HBRUSH Brush = nullptr;

// This executable's import slot for a function; null if it imports none.
void** FindSlot(const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
         ++d) {
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) && lstrcmpA(byName->Name, function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void Write(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

std::string Hex(unsigned long value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", value);
    return text;
}

std::string NameOf(HWND window) {
    return Namer ? Namer(window) : "other";
}
std::string NameOf(void* proc) {
    const auto found = ProcNames.find(proc);
    return found == ProcNames.end() ? "other" : found->second;
}
std::string BrushName(HGDIOBJ brush) {
    return brush == Brush ? "new brush" : "other brush";
}
std::string Numbers(std::initializer_list<long> values) {
    std::string out;
    for (long v : values) out += ", " + std::to_string(v);
    return out;
}

#ifdef _WIN64
using Long = LONG_PTR;
constexpr const char* kExchange = "SetWindowLongPtrA";
#else
using Long = LONG;
constexpr const char* kExchange = "SetWindowLongA";
#endif

// A stand-in for each call: it notes the call, then makes it through the
// address its slot held before.
struct Stand {
    const char* import;
    void* standIn;
    void** slot = nullptr;
    void* real = nullptr;
};
extern Stand Stands[];
template <typename F>
F Real(int i) {
    return reinterpret_cast<F>(Stands[i].real);
}

HDC WINAPI StandBeginPaint(HWND w, PAINTSTRUCT* ps) {
    Log("BeginPaint(" + NameOf(w) + ")");
    return Real<decltype(&StandBeginPaint)>(0)(w, ps);
}
BOOL WINAPI StandEndPaint(HWND w, const PAINTSTRUCT* ps) {
    Log("EndPaint(" + NameOf(w) + ")");
    return Real<decltype(&StandEndPaint)>(1)(w, ps);
}
HBRUSH WINAPI StandCreateSolidBrush(COLORREF colour) {
    Log("CreateSolidBrush(" + Hex(colour) + ")");
    return Brush = Real<decltype(&StandCreateSolidBrush)>(2)(colour);
}
BOOL WINAPI StandDeleteObject(HGDIOBJ object) {
    Log("DeleteObject(" + BrushName(object) + ")");
    return Real<decltype(&StandDeleteObject)>(3)(object);
}
BOOL WINAPI StandSetWindowTextA(HWND w, LPCSTR text) {
    Log("SetWindowTextA(" + NameOf(w) + ", " + Escaped(text) + ")");
    return Real<decltype(&StandSetWindowTextA)>(4)(w, text);
}
LRESULT WINAPI StandCallWindowProcA(WNDPROC proc, HWND w, UINT m, WPARAM wp, LPARAM lp) {
    Log("CallWindowProcA(" + NameOf(reinterpret_cast<void*>(proc)) + ", " + NameOf(w) + ", " +
        Hex(m) + ")");
    return Real<decltype(&StandCallWindowProcA)>(5)(proc, w, m, wp, lp);
}
Long WINAPI StandSetWindowLong(HWND w, int index, Long value) {
    if (index == GWLP_WNDPROC)
        Log("SetWindowLong(" + NameOf(w) + ", GWL_WNDPROC, " +
            NameOf(reinterpret_cast<void*>(value)) + ")");
    return Real<decltype(&StandSetWindowLong)>(6)(w, index, value);
}
BOOL WINAPI StandMoveWindow(HWND w, int x, int y, int cx, int cy, BOOL repaint) {
    Log("MoveWindow(" + NameOf(w) + Numbers({x, y, cx, cy}) + ")");
    return Real<decltype(&StandMoveWindow)>(7)(w, x, y, cx, cy, repaint);
}
BOOL WINAPI StandSetWindowPos(HWND w, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Log("SetWindowPos(" + NameOf(w) +
        (flags & SWP_NOSIZE ? ", left " + std::to_string(x)
                            : ", size " + std::to_string(cx) + " x " + std::to_string(cy)) +
        ")");
    return Real<decltype(&StandSetWindowPos)>(8)(w, after, x, y, cx, cy, flags);
}

Stand Stands[] = {
    {"BeginPaint", reinterpret_cast<void*>(&StandBeginPaint)},
    {"EndPaint", reinterpret_cast<void*>(&StandEndPaint)},
    {"CreateSolidBrush", reinterpret_cast<void*>(&StandCreateSolidBrush)},
    {"DeleteObject", reinterpret_cast<void*>(&StandDeleteObject)},
    {"SetWindowTextA", reinterpret_cast<void*>(&StandSetWindowTextA)},
    {"CallWindowProcA", reinterpret_cast<void*>(&StandCallWindowProcA)},
    {kExchange, reinterpret_cast<void*>(&StandSetWindowLong)},
    {"MoveWindow", reinterpret_cast<void*>(&StandMoveWindow)},
    {"SetWindowPos", reinterpret_cast<void*>(&StandSetWindowPos)},
};

}  // namespace

void NameWindowsBy(std::string (*namer)(HWND)) {
    Namer = namer;
}
void Name(WNDPROC proc, const std::string& name) {
    ProcNames[reinterpret_cast<void*>(proc)] = name;
}

void StartLog(std::initializer_list<const char*> calls) {
    StopLog();
    for (std::string call : calls)
        for (Stand& s : Stands)
            if ((call == s.import || (call == "SetWindowLong" && s.import == kExchange)) &&
                (s.slot = FindSlot(s.import))) {
                s.real = *s.slot;
                Write(s.slot, s.standIn);
            }
    Listening = true;
}

std::vector<std::string> StopLog() {
    for (Stand& s : Stands)
        if (s.slot) Write(s.slot, s.real), s.slot = nullptr;
    Listening = false;
    std::vector<std::string> lines;
    lines.swap(Lines);
    return lines;
}

void Log(const std::string& line) {
    if (Listening) Lines.push_back(line);
}

std::string Escaped(const char* text) {
    std::string out;
    for (; *text; ++text)
        out += *text == '\r' ? "\\r" : *text == '\n' ? "\\n" : std::string(1, *text);
    return out;
}

HBRUSH LastBrush() {
    return Brush;
}
