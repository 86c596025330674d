// The program's process and the link to its hook: starting it, watching
// it through the shared memory, waiting until it is idle, and its end.
#include "remote.h"

#include <algorithm>
#include <cstring>

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

Remote::~Remote() {
    for (HHOOK h : {hook_, sentHook_, returnHook_})
        if (h) UnhookWindowsHookEx(h);
    if (process_.hProcess) {
        if (!attached_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            PostMessageA(form, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(process_.hProcess, 3000) == WAIT_TIMEOUT)
                TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hProcess);
        if (process_.hThread) CloseHandle(process_.hThread);
    }
    if (shared_) UnmapViewOfFile(shared_);
    if (mapping_) CloseHandle(mapping_);
    if (hookDll_) FreeLibrary(hookDll_);
}

void BecomeDpiAware() {
    // Windows XP has no such call; there, nothing is ever scaled.
    using SetAware = BOOL(WINAPI*)();
    const auto set = reinterpret_cast<SetAware>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")));
    if (set) set();
}

bool Remote::Start(std::string& error, const std::string& desktop) {
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
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        error = "could not start " + exe;
        return false;
    }
    if (!WaitForForm(error)) return false;
    if (!FindControls(error)) return false;
    // A new window is not always given the foreground when another program
    // just closed; input then goes to activating it first.
    SetForegroundWindow(form);
    Settle();
    return true;
}

bool Remote::WaitForForm(std::string& error) {
    // A new Wine prefix, or a busy machine, can take many seconds to start it.
    const DWORD start = GetTickCount();
    WaitForInputIdle(process_.hProcess, kStartMs);
    while (!form && GetTickCount() - start < kStartMs) {
        form = FindVisibleWindow(process_.dwProcessId, "Form1");
        DWORD code = 0;
        if (!form && WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process_.hProcess, &code)) {
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

bool Remote::Attach(std::string& error) {
    BecomeDpiAware();
    attached_ = true;
    for (DWORD start = GetTickCount(); GetTickCount() - start < kTimeoutMs; Sleep(20)) {
        form = FindWindowA(nullptr, "Form1");
        if (!form || !IsWindowVisible(form)) continue;
        GetWindowThreadProcessId(form, &process_.dwProcessId);
        if (!mapping_)
            mapping_ =
                OpenFileMappingA(FILE_MAP_WRITE, FALSE, SharedName(process_.dwProcessId).text);
        if (mapping_ && !shared_)
            shared_ = static_cast<HookShared*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
        if (shared_ && shared_->flushes > 0) break;  // its hook runs
    }
    if (!shared_ || !shared_->flushes) {
        error = "no Form1 watched by a recording appeared";
        return false;
    }
    process_.hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_.dwProcessId);
    buttonsSent_ = shared_->buttons;
    pressesSent_ = pressesChecked_ = shared_->presses;
    return process_.hProcess && FindControls(error);
}

bool Remote::Hook(std::string& error) {
    const std::string dll = FindBeside("paint_hook.dll");
    hookDll_ = dll.empty() ? nullptr : LoadLibraryA(dll.c_str());
    // Undecorated with mingw (--kill-at); MSVC keeps the 32-bit decoration.
    auto find = [&](const char* name, const char* decorated) {
        FARPROC f = hookDll_ ? GetProcAddress(hookDll_, name) : nullptr;
        if (!f && hookDll_) f = GetProcAddress(hookDll_, decorated);
        return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(f));
    };
    const HOOKPROC proc = find("GetMsgProc", "_GetMsgProc@12");
    if (!proc) {
        error = "paint_hook.dll or its GetMsgProc not found";
        return false;
    }
    const DWORD thread = GetWindowThreadProcessId(listView, nullptr);
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, proc, hookDll_, thread);
    const bool sends = shared_->messagesKept != 0;  // sent messages are logged too
    if (sends) {
        const HOOKPROC sent = find("CallWndProc", "_CallWndProc@12");
        const HOOKPROC back = find("CallWndRetProc", "_CallWndRetProc@12");
        sentHook_ = sent ? SetWindowsHookExA(WH_CALLWNDPROC, sent, hookDll_, thread) : nullptr;
        returnHook_ = back ? SetWindowsHookExA(WH_CALLWNDPROCRET, back, hookDll_, thread) : nullptr;
    }
    if (!hook_ || (sends && (!sentHook_ || !returnHook_))) {
        error = "could not hook the program's thread";
        return false;
    }
    return true;
}

bool Remote::Watch(std::string& error, int maxPaints, bool byHand, int messagesKept,
                   int maxMessages) {
    const SharedName name(process_.dwProcessId);
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                  sizeof(HookShared), name.text);
    if (!mapping_) {
        error = "no shared memory for the hook";
        return false;
    }
    shared_ = static_cast<HookShared*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0));
    std::memset(shared_, 0, sizeof(HookShared));
    const HWND watched[kWatched] = {form,  listView, GetWindow(listView, GW_CHILD),
                                    text1, label1,   label2};
    for (int i = 0; i < kWatched; ++i)
        shared_->windows[i] = reinterpret_cast<uintptr_t>(watched[i]);
    byHand_ = byHand;
    const RECT frame = OuterRect();
    start_ = {{frame.left, frame.top, frame.right, frame.bottom},
              IsZoomed(form)   ? 1
              : IsIconic(form) ? 2
                               : 0};
    shared_->messagesKept = byHand && !messagesKept ? 1 : messagesKept;
    shared_->maxMessages = maxMessages < kMaxMessages ? maxMessages : kMaxMessages;
    shared_->flushMessage = RegisterWindowMessageA("PaintProbeTranscriptFlush");
    shared_->maxPaints = maxPaints < kMaxPaints ? maxPaints : kMaxPaints;

    if (!Hook(error)) return false;
    // The hook is loaded when the thread next takes a message.
    if (!Flush(kTimeoutMs)) {
        error = "the hook never ran in the program";
        return false;
    }
    return true;
}

void Remote::SetFault(Fault fault, const std::string& what) {
    if (Faulted()) return;
    fault_ = fault;
    const std::string action =
        static_cast<size_t>(step_) < actions_.size() ? actions_[step_] : std::string();
    faultText_ = step_ ? "step " + std::to_string(step_) + ", " + action + ": " + what : what;
}

std::string Remote::Ended() const {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
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
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
        SetFault(Fault::Ended, Ended());
    } else if (shared_ && shared_->full) {
        SetFault(Fault::Full, "the recording is full: it holds " +
                                  std::to_string(shared_->maxPaints) + " paints");
    }
    return !Faulted();
}

bool Remote::InputTaken() {
    for (DWORD start = GetTickCount();
         shared_->buttons < buttonsSent_ || (moved_ && shared_->moves == movesSeen_);) {
        if (!CheckProgram()) return false;
        if (GetTickCount() - start > kAnswerMs) {
            // Answering, and still no input: it never got there.
            DWORD_PTR result;
            if (SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result))
                SetFault(Fault::InputIgnored,
                         "paintprobe.exe took none of the mouse input sent to it");
            break;
        }
        Sleep(2);
    }
    moved_ = false;
    CheckPress();
    return true;
}

void Remote::Settle() {
    if (!CheckProgram()) return;
    if (shared_ && !InputTaken()) return;  // input first
    // Then quiet: the hook's word, at a flush message through the loop, that
    // the program has nothing left to paint in any of its windows and nothing
    // queued, and its pixels are on the screen; and no new paint over a few
    // such rounds. Some changes (a restore, say) reach the program only after
    // a round trip through the desktop, so one quiet moment is not enough.
    // The hook finishes a paint's record at the next message the loop takes,
    // which a flush also makes sure of.
    DWORD_PTR result;
    int quietRounds = 0, lastPaints = -1;
    for (DWORD start = GetTickCount(); GetTickCount() - start < kTimeoutMs;) {
        if (!CheckProgram()) return;
        if (!SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result)) {
            if (CheckProgram())
                SetFault(Fault::NotAnswering, "paintprobe.exe is not answering (no reply in " +
                                                  std::to_string(kAnswerMs / 1000) + " s)");
            return;
        }
        if (!shared_) {  // not watched yet: the list view and the window painted
            RECT update;
            if (!GetUpdateRect(listView, &update, FALSE) && !GetUpdateRect(form, &update, FALSE))
                return;
            Sleep(5);
            continue;
        }
        if (!Flush(kTimeoutMs - (GetTickCount() - start)) && !CheckProgram()) return;
        quietRounds = shared_->idle && shared_->paints == lastPaints ? quietRounds + 1 : 0;
        lastPaints = shared_->paints;
        if (quietRounds == 2) break;
        Sleep(shared_->idle ? 15 : 2);
    }
    CheckProgram();
}

bool Remote::Flush(DWORD ms) const {
    const int flushes = shared_->flushes;
    PostMessageA(form, shared_->flushMessage, 0, 0);
    const DWORD start = GetTickCount();
    for (DWORD posted = start; shared_->flushes == flushes; Sleep(2)) {
        const DWORD now = GetTickCount();
        if (now - start > ms || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0)
            return false;
        // One posted before the hook was loaded is not seen: again, now and then.
        if (now - posted >= 200) PostMessageA(form, shared_->flushMessage, 0, 0), posted = now;
    }
    return true;
}

void Remote::BeginStep(int step, const std::string& action) {
    if (actions_.size() <= static_cast<size_t>(step)) actions_.resize(step + 1);
    actions_[step] = action;
    if (Faulted()) return;
    step_ = step;
    if (shared_ && !attached_) shared_->step = step;
}

void Remote::WaitForClose() {
    while (WaitForSingleObject(process_.hProcess, 200) == WAIT_TIMEOUT)
        if (Full()) break;
    if (shared_) hand_ = StepsByHand(RawMessages(*shared_, {}, StepNames()), start_);
}

StepNames Remote::Names() const {
    StepNames names;
    names.played = actions_;
    if (byHand_) names.byHand = &hand_;
    return names;
}

std::vector<MessageRow> Remote::MessageRows(const std::vector<PaintRow>& paints) const {
    if (!shared_) return {};
    return transcript::MessageRows(RawMessages(*shared_, paints, Names()), Names());
}

std::vector<PaintRow> Remote::Rows() const {
    return shared_ ? PaintRows(*shared_, Names()) : std::vector<PaintRow>();
}

int Remote::WaitForExit(DWORD ms) {
    if (WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

}  // namespace transcript
