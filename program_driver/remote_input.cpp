// Real mouse input into the program, each press checked, and waiting until
// the program has taken it and is idle again.
#include <algorithm>
#include <cstring>
#include <utility>

#include "own_desktop.h"
#include "remote.h"
#include "this_system.h"

namespace transcript {

namespace {

// Mouse input at a place on the screen: the move and what goes with it in
// one event, so that nothing can come between.
INPUT MouseAt(POINT to, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = MulDiv(to.x, 65535, width - 1);
    input.mi.dy = MulDiv(to.y, 65535, height - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// The button SendInput names for the primary one: on Windows its buttons
// are the mouse's own, and a left-handed setting (SM_SWAPBUTTON) makes the
// right one primary. Wine (8.0) gives the left button's messages for its
// left button whatever the setting.
DWORD Primary(DWORD flag) {
    if (UnderWine() || !GetSystemMetrics(SM_SWAPBUTTON)) return flag;
    return flag == MOUSEEVENTF_LEFTDOWN ? MOUSEEVENTF_RIGHTDOWN
           : flag == MOUSEEVENTF_LEFTUP ? MOUSEEVENTF_RIGHTUP
                                        : flag;
}

// A key that a person (or a program) holds down, which would make a press
// another gesture: a Shift-click, an Alt-drag. (Not a button: a recording
// ended half-way through a drag may leave one down, and a press goes on.)
const char* HeldKey() {
    const std::pair<int, const char*> keys[] = {{VK_SHIFT, "Shift"},
                                                {VK_CONTROL, "Ctrl"},
                                                {VK_MENU, "Alt"},
                                                {VK_LWIN, "the Windows key"},
                                                {VK_RWIN, "the Windows key"}};
    for (const auto& [key, name] : keys)
        if (GetAsyncKeyState(key) & 0x8000) return name;
    return nullptr;
}

}  // namespace

void Remote::MoveMouse(POINT to, bool taken) {
    if (Faulted()) return;
    POINT now;
    GetCursorPos(&now);
    if (taken) aimed_ = to;
    if (now.x == to.x && now.y == to.y) return;
    if (shared_ && taken) {
        moved_ = true;
        movesSeen_ = shared_->moves;
    }
    INPUT input = MouseAt(to, MOUSEEVENTF_MOVE);
    // After a program that held the mouse has gone, Wine may put the cursor
    // back where that program left it, a moment after a move; repeat until
    // the cursor stays where it was sent.
    for (int attempt = 0, stayed = 0; attempt < 50 && stayed < 2; ++attempt) {
        if (stayed == 0) SendInput(1, &input, sizeof input);
        Sleep(10);
        GetCursorPos(&now);
        stayed = now.x == to.x && now.y == to.y ? stayed + 1 : 0;
    }
}

namespace {

std::string PointText(POINT p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

// Under Wine, a virtual desktop larger than the X display beneath it: the
// cursor stops at the display's right or bottom edge, inside the desktop.
// The words for that, or empty where it is not so.
std::string StopsInsideDesktop(POINT aimed, POINT now) {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN),
              height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const bool inside =
        aimed.x >= left && aimed.x < left + width && aimed.y >= top && aimed.y < top + height;
    const bool shortX = now.x < aimed.x, shortY = now.y < aimed.y;
    if (!UnderWine() || !inside || (!shortX && !shortY) || now.x > aimed.x || now.y > aimed.y)
        return "";
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    return "the cursor stops at " + PointText(now) + " short of " + PointText(aimed) +
           ", inside a desktop of " + size +
           ": the display beneath Wine's desktop is smaller than it; make the display at least " +
           size + " or the Wine desktop smaller";
}

}  // namespace

bool Remote::KeysLetGo() {
    // Waited for a moment: a person may just be letting go.
    const char* held = HeldKey();
    for (DWORD start = GetTickCount(); held && GetTickCount() - start < kAnswerMs; Sleep(10))
        held = HeldKey();
    if (held)
        SetFault(Fault::InputIgnored, std::string(held) +
                                          " is held down, which would change what the press "
                                          "does: leave the mouse and keys alone while the tool "
                                          "records");
    return !held;
}

void Remote::Button(DWORD flag) {
    if (Faulted()) return;
    if (flag == MOUSEEVENTF_LEFTDOWN && aimed_.x >= 0) {
        // A press goes where the cursor stands: where it was sent, or it is
        // sent there again; a cursor that will not stay is said, not pressed.
        POINT now = {};
        for (int attempt = 0;
             attempt < 3 && GetCursorPos(&now) && (now.x != aimed_.x || now.y != aimed_.y);
             ++attempt) {
            MoveMouse(aimed_);
            // The program takes the move before the press is sent: else the
            // press may overtake it and land where the cursor was.
            for (DWORD start = GetTickCount(); !MoveTaken() && GetTickCount() - start < kAnswerMs;)
                Sleep(2);
            moved_ = false;
        }
        if (const std::string smaller = StopsInsideDesktop(aimed_, now);
            !smaller.empty() && (now.x != aimed_.x || now.y != aimed_.y)) {
            SetFault(Fault::OffDesktop, smaller);
            return;
        }
        if (now.x != aimed_.x || now.y != aimed_.y) {
            SetFault(Fault::InputIgnored, "the cursor would not stay at " + PointText(aimed_) +
                                              " to press there (it stands at " + PointText(now) +
                                              ")");
            return;
        }
        if (!KeysLetGo()) return;
        aimedAt_ = WindowFromPoint(aimed_);
        if (shared_ && pressFrom_ < 0) pressFrom_ = shared_->presses;
    }
    // The button goes with the place it was aimed at: under Wine a late
    // motion from an earlier move of the cursor (another program's, or one
    // to a resting place) may move it after the move was taken.
    INPUT input = {};
    input.type = INPUT_MOUSE;
    const DWORD button = Primary(flag);
    input.mi.dwFlags = button;
    if (aimed_.x >= 0) input = MouseAt(aimed_, button);
    SendInput(1, &input, sizeof input);
    ++buttonsSent_;
}

// A move is taken once the program has had one since it was sent. Its place
// is not asked for: a program that is handed a storm of messages may see the
// move only as the last of several, elsewhere, and the press carries its own
// place anyway.
bool Remote::MoveTaken() const {
    return !shared_ || !moved_ || shared_->moves != movesSeen_;
}

bool Remote::PressSeen() {
    if (!shared_ || pressFrom_ < 0) return true;
    const int n = shared_->presses;
    for (int i = std::max(pressFrom_, n - kPressLog); i < n; ++i) {
        const HookPress& p = shared_->pressLog[i % kPressLog];
        if (p.window == reinterpret_cast<uintptr_t>(aimedAt_) && p.x == aimed_.x &&
            p.y == aimed_.y) {
            pressFrom_ = -1;
            return true;
        }
    }
    return false;
}

std::string Remote::PressAstray() const {
    const HookPress& p = shared_->pressLog[(shared_->presses - 1) % kPressLog];
    const HWND reached = reinterpret_cast<HWND>(static_cast<uintptr_t>(p.window));
    auto name = [&](HWND w) {
        return w == form                  ? "Form1"
               : w == listView            ? "ListView1"
               : GetParent(w) == listView ? "ListView1's header"
                                          : "another window";
    };
    return "the press aimed at " + std::string(name(aimedAt_)) + " at " + PointText(aimed_) +
           " reached " + name(reached) + " at " + PointText({p.x, p.y});
}

void Remote::Click(POINT at) {
    MoveMouse(at);
    Settle();
    Press();
    Release();
    Settle();
    // A click may put another window under the cursor (a maximize may put
    // the list view's header there): it hears of the mouse now, not whenever
    // the system happens to tell it. The moves may go to any window, or none
    // of the program's.
    MoveMouse({at.x + 1, at.y}, false);
    MoveMouse(at, false);
    Settle();
    RestMouse();
}

// A window under the cursor that tracks it (the header's hot item) asks the
// system, on a timer, whether the cursor is still there, and Wine may answer
// no for a moment and then send the cursor's place again: a leave and a
// return, the item repainted, whenever a tick falls so. So between steps the
// cursor rests on Form1's caption, where nothing tracks it; what it leaves
// hears of that within the step that left it.
void Remote::RestMouse() {
    if (Faulted() || IsIconic(form)) return;
    const POINT caption = FindHitIn(OuterRect(), HTCAPTION);
    if (caption.x < 0) return;
    MoveMouse(caption, false);
    Settle();
}

void Remote::DoubleClick(POINT at) {
    MoveMouse(at);
    Settle();
    Press();
    Release();
    Press();
    Release();
    Settle();
    RestMouse();
}

void Remote::SetClientWidth(int width) {
    if (Faulted()) return;
    const RECT outer = OuterRect(), client = ClientRect();
    const int frame = (outer.right - outer.left) - client.right;
    SetWindowPos(form, nullptr, 0, 0, width + frame, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
}

void Remote::SetOuterRect(const RECT& r) {
    if (Faulted()) return;
    SetWindowPos(form, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
}

void Remote::ShowState(int command) {
    if (Faulted()) return;
    ShowWindowAsync(form, command);
    Settle();
}

bool Remote::InputTaken() {
    for (DWORD start = GetTickCount();
         shared_->buttons < buttonsSent_ || !MoveTaken() || !PressSeen();) {
        if (!CheckProgram()) return false;
        if (GetTickCount() - start > kAnswerMs) {
            // Answering, and still no input, or not where it was aimed.
            DWORD_PTR result;
            const bool astray = pressFrom_ >= 0 && shared_->buttons >= buttonsSent_ &&
                                shared_->presses > pressFrom_;
            if (!SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result))
                break;
            if (astray)
                SetFault(Fault::InputIgnored, PressAstray());
            else if (UnderWine() && OnFramingDesktop())
                SetFault(Fault::InputLost, InputLostText());
            else
                SetFault(Fault::InputIgnored,
                         "paintprobe.exe took none of the mouse input sent to it");
            break;
        }
        Sleep(2);
    }
    moved_ = false;
    pressFrom_ = -1;
    return true;
}

// Input that never came on a Wine desktop, where no window manager takes it:
// lost, or taken by another program's window under the cursor. What the
// hook did not see and where the cursor stands are said, for a report.
std::string Remote::InputLostText() const {
    POINT cursor = {};
    GetCursorPos(&cursor);
    const HWND under = WindowFromPoint(cursor);
    DWORD owner = 0;
    GetWindowThreadProcessId(under, &owner);
    char title[64] = {};
    GetWindowTextA(under, title, sizeof title);
    const int buttons = buttonsSent_ - shared_->buttons;
    std::string missed =
        buttons > 0 ? std::to_string(buttons) + " button" + (buttons == 1 ? "" : "s") : "";
    if (!MoveTaken()) missed += missed.empty() ? "the move" : " and the move";
    if (missed.empty()) missed = "the press where it was aimed";
    const std::string where =
        "the cursor stands at " + PointText(cursor) +
        (owner == process_.id ? ", over Form1"
                              : ", over another program's window \"" + std::string(title) + "\"");
    return "paintprobe.exe answered but took none of the mouse input sent to it (" + missed +
           " not taken in " + std::to_string(kAnswerMs / 1000) + " s); " + where;
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

}  // namespace transcript
