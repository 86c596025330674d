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
// The window-procedure exchange: SetWindowLongA on 32 bits, its Ptr form on 64.
using Long = LONG_PTR;
const char* const kExchange = sizeof(void*) == 8 ? "SetWindowLongPtrA" : "SetWindowLongA";

// An import taken over while the log listens: its slot, and the address the
// slot held before.
struct Stand {
    const char* import;
    void* standIn;
    void** slot = nullptr;
    void* real = nullptr;
};
extern Stand Stands[];

std::string Text(std::initializer_list<long> numbers) {
    std::string out;
    for (long n : numbers) out += (out.empty() ? "" : ", ") + std::to_string(n);
    return out;
}

// The stand-in for Stands[i]: it notes `line` (if not empty), then makes the
// call through the address the import slot held before.
#define STAND_IN(i, Ret, name, params, args, line)                         \
    Ret WINAPI Stand##name params {                                        \
        Log(line);                                                         \
        return reinterpret_cast<Ret(WINAPI*) params>(Stands[i].real) args; \
    }

STAND_IN(0, HDC, BeginPaint, (HWND w, PAINTSTRUCT* ps), (w, ps), "BeginPaint(" + NameOf(w) + ")")
STAND_IN(1, BOOL, EndPaint, (HWND w, const PAINTSTRUCT* ps), (w, ps), "EndPaint(" + NameOf(w) + ")")
HBRUSH WINAPI StandCreateSolidBrush(COLORREF colour) {
    Log("CreateSolidBrush(" + Hex(colour) + ")");
    return Brush = reinterpret_cast<decltype(&CreateSolidBrush)>(Stands[2].real)(colour);
}
STAND_IN(3, BOOL, DeleteObject, (HGDIOBJ o), (o), "DeleteObject(" + BrushName(o) + ")")
STAND_IN(4, BOOL, SetWindowTextA, (HWND w, LPCSTR text), (w, text),
         "SetWindowTextA(" + NameOf(w) + ", " + Escaped(text) + ")")
STAND_IN(5, LRESULT, CallWindowProcA, (WNDPROC proc, HWND w, UINT m, WPARAM wp, LPARAM lp),
         (proc, w, m, wp, lp),
         "CallWindowProcA(" + NameOf(reinterpret_cast<void*>(proc)) + ", " + NameOf(w) + ", " +
             Hex(m) + ")")
STAND_IN(6, Long, SetWindowLong, (HWND w, int index, Long value), (w, index, value),
         index != GWLP_WNDPROC ? ""
                               : "SetWindowLong(" + NameOf(w) + ", GWL_WNDPROC, " +
                                     NameOf(reinterpret_cast<void*>(value)) + ")")
STAND_IN(7, BOOL, MoveWindow, (HWND w, int x, int y, int cx, int cy, BOOL paint),
         (w, x, y, cx, cy, paint), "MoveWindow(" + NameOf(w) + ", " + Text({x, y, cx, cy}) + ")")
STAND_IN(8, BOOL, SetWindowPos, (HWND w, HWND after, int x, int y, int cx, int cy, UINT flags),
         (w, after, x, y, cx, cy, flags),
         "SetWindowPos(" + NameOf(w) +
             (flags & SWP_NOSIZE ? ", left " + Text({x})
                                 : ", size " + Text({cx}) + " x " + Text({cy})) +
             ")")

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
    if (Listening && !line.empty()) Lines.push_back(line);
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
