// The program's process: found and started (or taken hold of), its windows
// found, what cut it short, and its end.
#include "remote.h"

#include <cstring>

#include "stop_request.h"

namespace transcript {

namespace {

constexpr DWORD kStartMs = 60000;  // for Form1 to show at all

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct FindWindowOf {
    DWORD pid;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* find = reinterpret_cast<FindWindowOf*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (pid == find->pid && IsWindowVisible(window) &&
        (!find->title || std::strcmp(title, find->title) == 0)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindVisibleWindow(DWORD processId, const char* title) {
    FindWindowOf find = {processId, title, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

std::string FindBeside(const char* name) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string here = Folder(self);
    for (const std::string& dir : {here, Folder(here)}) {
        if (dir.empty()) continue;
        const std::string path = dir + "\\" + name;
        if (Exists(path)) return path;
    }
    return "";
}

// The handles go as the members do; the program started here is ended first.
Remote::~Remote() {
    Unhook();
    const HANDLE process = process_.process.get();
    if (process && !attached_ && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        PostMessageA(form, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process, 3000) == WAIT_TIMEOUT) TerminateProcess(process, 1);
    }
}

void BecomeDpiAware() {
    // Windows XP has no such call; there, nothing is ever scaled.
    using SetAware = BOOL(WINAPI*)();
    const auto set = reinterpret_cast<SetAware>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")));
    if (set) set();
}

bool Remote::Start(std::string& error, const std::string& desktop, const Watching& w) {
    BecomeDpiAware();
    const std::string exe = FindBeside("paintprobe.exe");
    if (exe.empty()) {
        error = "paintprobe.exe not found beside this program";
        return false;
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string desktopName = desktop;
    if (!desktopName.empty()) startup.lpDesktop = desktopName.data();
    ownDesktop_ = !desktop.empty();
    std::string commandLine = "\"" + exe + "\"";
    // Held until the hook is on its thread, so that its first window is seen.
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &started)) {
        error = "could not start " + exe;
        return false;
    }
    process_.Take(started);
    EndsWithTool(process_.process.get());
    // Windows lets a program take the front only where the one in front let
    // it: the tool, started from there, passes that on (refused, harmlessly,
    // where the tool has no such right itself).
    AllowSetForegroundWindow(process_.id);
    if (!Share(error, w)) {
        TerminateProcess(process_.process.get(), 1);
        return false;
    }
    BeginStep(0, "start");
    const bool asked = HookAtStart(startRefused_);
    ResumeThread(process_.thread.get());
    if (!WaitForForm(error) || !FindControls(error)) return false;
    fromStart_ = asked && shared_->threadHooked == 1;
    if (asked && !fromStart_)
        startRefused_ = shared_->threadHooked == -1
                            ? "the program's thread could not hook itself (error " +
                                  std::to_string(shared_->hookError) + ")"
                            : "the hook did not load in the program's thread at its start";
    // A DLL that a hook from outside loads later must not hook the thread again.
    shared_->hookItsThread = 0;
    if (startPath_) VirtualFreeEx(process_.process.get(), startPath_, 0, MEM_RELEASE);
    startPath_ = nullptr;
    // Else hooked from outside, once Form1 is there: the start goes unseen.
    if (!fromStart_ &&
        !Hook(error, GetWindowThreadProcessId(form, nullptr), shared_->messagesKept != 0))
        return false;
    return Watch(error);
}

bool Remote::WaitForForm(std::string& error) {
    // A new Wine prefix, or a busy machine, can take many seconds to start it.
    const DWORD start = GetTickCount();
    WaitForInputIdle(process_.process.get(), kStartMs);
    while (!form && GetTickCount() - start < kStartMs) {
        if (const std::string stop = StopAsked(); !stop.empty()) {
            SetFault(Fault::Interrupted, stop);
            error = faultText_;
            return false;
        }
        form = FindVisibleWindow(process_.id, "Form1");
        DWORD code = 0;
        if (!form && WaitForSingleObject(process_.process.get(), 20) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process_.process.get(), &code)) {
            SetFault(Fault::Ended, "paintprobe.exe ended (exit code " + std::to_string(code) +
                                       ") before Form1 appeared");
            error = faultText_;
            return false;
        }
    }
    if (!form) {
        SetFault(Fault::NotAnswering,
                 "Form1 did not appear within " + std::to_string(kStartMs / 1000) +
                     " s of starting paintprobe.exe; the system is too busy or the program is "
                     "stuck: run it again, on a quieter machine");
        error = faultText_;
        return false;
    }
    return true;
}

bool Remote::FindControls(std::string& error) {
    // The controls in their tab order, which is their order as children.
    HWND* slots[] = {&listView, &text1, &label1, &label2};
    HWND child = GetWindow(form, GW_CHILD);
    for (HWND* slot : slots) {
        *slot = child;
        child = child ? GetWindow(child, GW_HWNDNEXT) : nullptr;
    }
    if (!label2) error = "Form1 does not have its four controls";
    return label2 != nullptr;
}

namespace {

// A Form1 whose recording's hook runs: its memory shared with the hook,
// which has taken a flush. Another Form1 (one left open) is passed over.
struct Watched {
    HWND form = nullptr;
    HANDLE mapping = nullptr;
};

BOOL CALLBACK FindWatched(HWND window, LPARAM param) {
    char title[16] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!IsWindowVisible(window) || std::strcmp(title, "Form1") != 0) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, SharedName(pid).text);
    const auto* shared =
        mapping ? static_cast<const HookShared*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0))
                : nullptr;
    const bool runs = shared && shared->flushes > 0;
    if (shared) UnmapViewOfFile(shared);
    if (!runs) {
        if (mapping) CloseHandle(mapping);
        return TRUE;
    }
    *reinterpret_cast<Watched*>(param) = {window, mapping};
    return FALSE;
}

}  // namespace

bool Remote::Attach(std::string& error) {
    BecomeDpiAware();
    attached_ = true;
    Watched found;
    for (DWORD start = GetTickCount(); !found.form && GetTickCount() - start < kTimeoutMs;
         Sleep(20))
        EnumWindows(FindWatched, reinterpret_cast<LPARAM>(&found));
    if (!found.form) {
        error = "no Form1 watched by a recording appeared";
        return false;
    }
    form = found.form;
    mapping_.reset(found.mapping);
    shared_ = MappedView<HookShared>(mapping_.get());
    GetWindowThreadProcessId(form, &process_.id);
    process_.process.reset(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_.id));
    if (!shared_ || !process_.process) {
        error = "could not take hold of the Form1 a recording watches";
        return false;
    }
    buttonsSent_ = shared_->buttons;
    return FindControls(error);
}

void Remote::SetFault(Fault fault, const std::string& what) {
    if (Faulted()) return;
    fault_ = fault;
    const std::string action =
        static_cast<size_t>(step_) < actions_.size() ? actions_[step_] : std::string();
    const std::string where = "step " + std::to_string(step_) + ", " + action + ": ";
    if (fault == Fault::Interrupted)
        faultText_ = "interrupted at " + where + what;
    else
        faultText_ = step_ ? where + what : what;
}

std::string Remote::Ended() const {
    DWORD code = 0;
    GetExitCodeProcess(process_.process.get(), &code);
    const std::string exit =
        "exit code " + std::to_string(code) + (code > 255 ? ", 0x" + HexDigits(code, 8, true) : "");
    // A process that exits runs its DLLs' goodbyes; one killed (a signal
    // under Wine, TerminateProcess) does not, and is given some code all the same.
    if (shared_ && !shared_->exited)
        return "paintprobe.exe was killed from outside, without exiting (a signal, or "
               "TerminateProcess; " +
               exit + ")";
    return "paintprobe.exe ended (" + exit + ")";
}

bool Remote::CheckProgram() {
    if (Faulted()) return false;
    if (const std::string stop = StopAsked(); !stop.empty()) {
        SetFault(Fault::Interrupted, stop);
    } else if (WaitForSingleObject(process_.process.get(), 0) == WAIT_OBJECT_0) {
        // Ctrl-C in a terminal reaches the program too, which may end before
        // this tool's own handler has run.
        const std::string late = StopAsked(250);
        SetFault(late.empty() ? Fault::Ended : Fault::Interrupted, late.empty() ? Ended() : late);
    } else if (shared_ && shared_->full) {
        SetFault(Fault::Full, "the recording is full: it holds " +
                                  std::to_string(shared_->maxPaints) + " paints");
    }
    return !Faulted();
}

void Remote::BeginStep(int step, const std::string& action) {
    if (actions_.size() <= static_cast<size_t>(step)) actions_.resize(step + 1);
    actions_[step] = action;
    if (Faulted()) return;
    if (step > 0 && stepDone) stepDone(step_, actions_[step_]);
    step_ = step;
    if (shared_ && !attached_) shared_->step = step;
}

int Remote::WaitForExit(DWORD ms) {
    if (WaitForSingleObject(process_.process.get(), ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.process.get(), &code);
    return static_cast<int>(code);
}

}  // namespace transcript
