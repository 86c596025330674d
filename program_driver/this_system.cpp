// Reads the system's version numbers where they are true, and turns the
// hook's findings into the facts a transcript records.
#include "this_system.h"

#include <windows.h>

#include <cstring>

#include "message_log.h"
#include "window_tree.h"
#include "message_decode.h"

namespace transcript {

namespace {

// Looked up by name: each is missing somewhere the tool must start.
template <typename F>
F NtdllFunction(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

}  // namespace

bool UnderWine() {
    return NtdllFunction<void*>("wine_get_version") != nullptr;
}

SystemVersion ThisSystemVersion() {
    SystemVersion v;
    using WineText = const char*(CDECL*)();
    if (auto wine = NtdllFunction<WineText>("wine_get_version")) v.wine = wine();
    if (auto build = NtdllFunction<WineText>("wine_get_build_id")) v.wineBuild = build();
    // RtlGetVersion answers truly whatever the manifest lists; GetVersionEx
    // is the fallback, and where ReactOS writes its name after the service
    // pack's end.
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    using RtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    auto rtl = NtdllFunction<RtlGetVersion>("RtlGetVersion");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!rtl || rtl(&info) != 0) GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
    OSVERSIONINFOA plain = {};
    plain.dwOSVersionInfoSize = sizeof plain;
    GetVersionExA(&plain);
#pragma GCC diagnostic pop
    v.major = info.dwMajorVersion;
    v.minor = info.dwMinorVersion;
    v.build = info.dwBuildNumber & 0xFFFF;
    v.server = info.wProductType != 0 && info.wProductType != VER_NT_WORKSTATION;
    for (const WCHAR* c = info.szCSDVersion; *c && c < info.szCSDVersion + 127; ++c)
        v.servicePack += static_cast<char>(*c < 128 ? *c : '?');
    const size_t end = std::strlen(plain.szCSDVersion);
    if (end + 1 < sizeof plain.szCSDVersion &&
        std::strncmp(plain.szCSDVersion + end + 1, "ReactOS", 7) == 0)
        v.reactos.assign(
            plain.szCSDVersion + end + 1,
            strnlen(plain.szCSDVersion + end + 1, sizeof plain.szCSDVersion - end - 1));
    return v;
}

SystemFacts ThisSystem(const HookFacts* program, bool ownDesktop) {
    SystemFacts f;
    f.system = SystemName(ThisSystemVersion());
    if (!program || !program->dpi) return f;
    f.scale = ScaleText(program->dpi);
    f.styles = program->themed ? "on" : "off";
    f.comctl32 = Comctl32Text(program->comctl32[0], program->comctl32[1], program->comctl32[2],
                              program->comctl32Path);
    f.font = FontText(program->fontFace, program->fontHeight, program->drawnFace,
                      program->drawnHeight, program->dpi);
    f.dpi = program->dpi;
    f.fontFace = program->fontFace;
    f.fontHeight = program->fontHeight;
    if (program->screen[0] > 0)
        SetScreen(f, program->screen[0], program->screen[1], program->workArea, ownDesktop);
    // The header is the list view's own: a test gets it by making the list view.
    for (int i = 0; i < kWatched; ++i) {
        const HookWindow& w = program->windows[i];
        if (i == kInHeader || !w.className[0]) continue;
        TreeWindow t;
        t.name = WindowName(i);
        t.className = std::string(w.className, strnlen(w.className, sizeof w.className));
        t.id = w.id;
        t.style = w.style, t.exStyle = w.exStyle, t.classStyle = w.classStyle;
        t.place = {w.x, w.y, w.x + w.width, w.y + w.height};
        t.clientWidth = w.clientWidth, t.clientHeight = w.clientHeight;
        f.windows.push_back(WindowLine(t));
    }
    f.listView = "0x" + HexDigits(program->listViewExtended, 8);
    for (int i = 0; i < program->columns && i < kMaxColumns; ++i) {
        const HookColumn& c = program->column[i];
        f.columns.push_back(
            ColumnLine({c.width, std::string(c.text, strnlen(c.text, sizeof c.text))}));
    }
    return f;
}

}  // namespace transcript
