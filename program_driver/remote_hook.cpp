// The link to the hook inside the program: loaded into its thread, the
// memory shared with it, a flush through its loop, and its records read.
#include <cstring>

#include "remote.h"
#include "stop_request.h"

namespace transcript {

bool Remote::Hook(std::string& error, DWORD thread, bool sent) {
    const std::string dll = FindBeside("paint_hook.dll");
    if (!hookDll_ && !dll.empty()) hookDll_.reset(LoadLibraryA(dll.c_str()));
    const HMODULE module = hookDll_.get();
    // Undecorated with mingw (--kill-at); MSVC keeps the 32-bit decoration.
    auto find = [&](const char* name, const char* decorated) {
        FARPROC f = module ? GetProcAddress(module, name) : nullptr;
        if (!f && module) f = GetProcAddress(module, decorated);
        return reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(f));
    };
    const HOOKPROC proc = find("GetMsgProc", "_GetMsgProc@12");
    if (!proc) {
        error = "paint_hook.dll or its GetMsgProc not found";
        return false;
    }
    hook_.reset(SetWindowsHookExA(WH_GETMESSAGE, proc, module, thread));
    if (sent) {
        const HOOKPROC to = find("CallWndProc", "_CallWndProc@12");
        const HOOKPROC back = find("CallWndRetProc", "_CallWndRetProc@12");
        if (to) sentHook_.reset(SetWindowsHookExA(WH_CALLWNDPROC, to, module, thread));
        if (back) returnHook_.reset(SetWindowsHookExA(WH_CALLWNDPROCRET, back, module, thread));
    }
    if (!hook_ || (sent && (!sentHook_ || !returnHook_))) {
        error = "could not hook the program's thread";
        return false;
    }
    return true;
}

// Before the program's main thread runs: an APC that loads the hook DLL,
// the first thing that thread does once the system has started it (user
// APCs queued to a thread not yet running wait for its start). The DLL then
// hooks that thread from inside it. The path is in the program's memory;
// LoadLibraryA lies at one address in every process of this kind, as
// kernel32 is mapped at one place for all of them.
bool Remote::HookAtStart(std::string& refused) {
    const std::string dll = FindBeside("paint_hook.dll");
    if (dll.empty()) {
        refused = "paint_hook.dll not found beside this program";
        return false;
    }
    shared_->hookItsThread = 1;
    startPath_ = VirtualAllocEx(process_.process.get(), nullptr, dll.size() + 1,
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const auto load = reinterpret_cast<PAPCFUNC>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    if (!startPath_ ||
        !WriteProcessMemory(process_.process.get(), startPath_, dll.c_str(), dll.size() + 1,
                            nullptr) ||
        !load ||
        !QueueUserAPC(load, process_.thread.get(), reinterpret_cast<ULONG_PTR>(startPath_))) {
        refused = "no APC could be queued to the program's thread (error " +
                  std::to_string(GetLastError()) + ")";
        return false;
    }
    return true;
}

void Remote::Unhook() {
    for (HeldHook* h : {&hook_, &sentHook_, &returnHook_}) h->reset();
}

bool Remote::Share(std::string& error, const Watching& w) {
    const SharedName name(process_.id);
    mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(HookShared), name.text));
    if (mapping_) shared_ = MappedView<HookShared>(mapping_.get());
    if (!shared_) {
        error = "no shared memory for the hook";
        return false;
    }
    std::memset(shared_.get(), 0, sizeof(HookShared));
    byHand_ = w.byHand;
    shared_->messagesKept = w.byHand && !w.messagesKept ? 1 : w.messagesKept;
    shared_->maxMessages = w.maxMessages < kMaxMessages ? w.maxMessages : kMaxMessages;
    shared_->flushMessage = RegisterWindowMessageA("PaintProbeTranscriptFlush");
    shared_->maxPaints = w.maxPaints < kMaxPaints ? w.maxPaints : kMaxPaints;
    return true;
}

bool Remote::Watch(std::string& error) {
    // The same windows the hook found as they were made, if it was there.
    const HWND watched[kWatched] = {form,  listView, GetWindow(listView, GW_CHILD),
                                    text1, label1,   label2};
    for (int i = 0; i < kWatched; ++i)
        shared_->windows[i] = reinterpret_cast<uintptr_t>(watched[i]);
    // The hook is loaded when the thread next takes a message.
    if (!Flush(kTimeoutMs)) {
        error = "the hook never ran in the program";
        return false;
    }
    // A new window is not always given the foreground when another program
    // just closed; input then goes to activating it first.
    SetForegroundWindow(form);
    Settle();
    // Windows may keep another window in front (its foreground lock): the
    // first press then activates Form1 as well.
    inFront_ = GetForegroundWindow() == form;
    // By hand, the start is what the settling found, unless a person pressed
    // on Form1 meanwhile: their gesture then begins where the hook first
    // flushed, and what settled since is theirs.
    const HookStart& first = shared_->start;
    const RECT frame = OuterRect();
    start_ = {{frame.left, frame.top, frame.right, frame.bottom},
              IsZoomed(form)   ? 1
              : IsIconic(form) ? 2
                               : 0,
              shared_->messages};
    if (shared_->presses != first.presses)
        start_ = {{first.left, first.top, first.right, first.bottom}, first.state, first.messages};
    return true;
}

bool Remote::Flush(DWORD ms) const {
    const int flushes = shared_->flushes;
    PostMessageA(form, shared_->flushMessage, 0, 0);
    const DWORD start = GetTickCount();
    for (DWORD posted = start; shared_->flushes == flushes; Sleep(2)) {
        const DWORD now = GetTickCount();
        if (now - start > ms || WaitForSingleObject(process_.process.get(), 0) == WAIT_OBJECT_0)
            return false;
        // One posted before the hook was loaded is not seen: again, now and then.
        if (now - posted >= 200) PostMessageA(form, shared_->flushMessage, 0, 0), posted = now;
    }
    return true;
}

void Remote::WaitForClose() {
    while (WaitForSingleObject(process_.process.get(), 200) == WAIT_TIMEOUT)
        if (Full() || !StopAsked().empty()) break;
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

}  // namespace transcript
