// Wine's virtual desktop of the tool's own: found needed, started and
// entered, and ended with the tool.
#include "own_desktop.h"

#include "stop_request.h"
#include "this_system.h"

namespace transcript {

namespace {

constexpr DWORD kDesktopMs = 30000;  // for Wine's explorer to make it

// A text value of the registry, read through advapi32 found by name: the
// 32-bit tool imports nothing beyond what every system it runs on exports.
std::string RegistryText(HKEY root, const char* key, const char* value) {
    using Open = LONG(WINAPI*)(HKEY, const char*, DWORD, REGSAM, HKEY*);
    using Query = LONG(WINAPI*)(HKEY, const char*, DWORD*, DWORD*, BYTE*, DWORD*);
    using Close = LONG(WINAPI*)(HKEY);
    const HeldModule advapi(LoadLibraryA("advapi32.dll"));
    if (!advapi) return "";
    auto find = [&](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(advapi.get(), name));
    };
    const auto open = reinterpret_cast<Open>(find("RegOpenKeyExA"));
    const auto query = reinterpret_cast<Query>(find("RegQueryValueExA"));
    const auto close = reinterpret_cast<Close>(find("RegCloseKey"));
    char text[256] = {};
    HKEY k = nullptr;
    if (open && query && close && open(root, key, 0, KEY_READ, &k) == ERROR_SUCCESS) {
        DWORD type = 0, size = sizeof text - 1;
        if (query(k, value, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ)
            text[0] = 0;
        close(k);
    }
    return text;
}

std::string ThreadDesktopName() {
    char name[256] = {};
    GetUserObjectInformationA(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name,
                              sizeof name - 1, nullptr);
    return name;
}

std::string Variable(const char* name) {
    char value[512] = {};
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n && n < sizeof value ? value : "";
}

}  // namespace

bool OnFramingDesktop() {
    if (!UnderWine()) return true;
    // Started inside one (wine explorer /desktop=NAME,WxH ...), or the
    // prefix puts every program in one, or this one.
    if (lstrcmpiA(ThreadDesktopName().c_str(), "Default") != 0) return true;
    return !RegistryText(HKEY_CURRENT_USER, "Software\\Wine\\Explorer", "Desktop").empty() ||
           !RegistryText(HKEY_CURRENT_USER,
                         "Software\\Wine\\AppDefaults\\paint_transcript.exe\\Explorer", "Desktop")
                .empty();
}

std::string NoDisplay() {
    if (!UnderWine() || !Variable("DISPLAY").empty() || !Variable("WAYLAND_DISPLAY").empty())
        return "";
    return "no display: DISPLAY is not set, so Wine has nowhere to show Form1. Run it on a "
           "desktop, or on a virtual display (xvfb-run -a wine paint_transcript.exe ...), or "
           "with scripts/record.sh, which starts one where there is none";
}

bool OwnDesktop::Open(std::string& error) {
    const std::string name = "paintprobe-" + std::to_string(GetCurrentProcessId());
    std::string command = "explorer.exe /desktop=" + name + ",1280x1024";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        error = "could not start Wine's explorer to make a virtual desktop (" + command + ")";
        return false;
    }
    explorer_.Take(started);
    EndsWithTool(explorer_.process.get());
    // Wine's explorer makes the desktop, then its window: a program that
    // came first would find a desktop with none, and make one of the screen.
    for (DWORD start = GetTickCount(); GetTickCount() - start < kDesktopMs; Sleep(20)) {
        if (!desktop_) desktop_.reset(OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL));
        if (desktop_ && SetThreadDesktop(desktop_.get()) && GetDesktopWindow()) break;
        if (WaitForSingleObject(explorer_.process.get(), 0) == WAIT_OBJECT_0) break;
    }
    if (!desktop_ || GetThreadDesktop(GetCurrentThreadId()) != desktop_.get()) {
        error = "Wine's explorer made no virtual desktop within " +
                std::to_string(kDesktopMs / 1000) + " s (" + command + ")";
        return false;
    }
    name_ = name;
    return true;
}

OwnDesktop::~OwnDesktop() {
    const HANDLE explorer = explorer_.process.get();
    // It ends by itself once its last window is gone; not always at once.
    if (explorer && WaitForSingleObject(explorer, 2000) == WAIT_TIMEOUT)
        TerminateProcess(explorer, 0);
}

}  // namespace transcript
