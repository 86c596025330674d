// Real mouse input into the program, and where on Form1's frame a step
// presses, found by asking the frame itself.
#include <cstring>

#include "remote.h"

namespace transcript {

void Remote::MoveMouse(POINT to, bool taken) {
    if (Faulted()) return;
    POINT now;
    GetCursorPos(&now);
    if (taken) aimed_ = to;
    if (now.x == to.x && now.y == to.y) return;
    if (shared_ && !moved_ && taken) {
        moved_ = true;
        movesSeen_ = shared_->moves;
    }
    INPUT input = {};
    input.type = INPUT_MOUSE;
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = MulDiv(to.x, 65535, width - 1);
    input.mi.dy = MulDiv(to.y, 65535, height - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
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

}  // namespace

void Remote::Button(DWORD flag) {
    if (Faulted()) return;
    if (flag == MOUSEEVENTF_LEFTDOWN && aimed_.x >= 0) {
        // A press goes where the cursor stands: where it was sent, or it is
        // sent there again; a cursor that will not stay is said, not pressed.
        POINT now = {};
        for (int attempt = 0;
             attempt < 3 && GetCursorPos(&now) && (now.x != aimed_.x || now.y != aimed_.y);
             ++attempt)
            MoveMouse(aimed_);
        if (now.x != aimed_.x || now.y != aimed_.y) {
            SetFault(Fault::InputIgnored, "the cursor would not stay at " + PointText(aimed_) +
                                              " to press there (it stands at " + PointText(now) +
                                              ")");
            return;
        }
        aimedAt_ = WindowFromPoint(aimed_);
        ++pressesSent_;
    }
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
    ++buttonsSent_;
}

void Remote::CheckPress() {
    if (!shared_ || pressesChecked_ == pressesSent_ || shared_->presses < pressesSent_) return;
    pressesChecked_ = pressesSent_;
    const HWND reached = reinterpret_cast<HWND>(static_cast<uintptr_t>(shared_->pressWindow));
    const POINT at = {shared_->pressX, shared_->pressY};
    if (reached == aimedAt_ && at.x == aimed_.x && at.y == aimed_.y) return;
    auto name = [&](HWND w) {
        return w == form                  ? "Form1"
               : w == listView            ? "ListView1"
               : GetParent(w) == listView ? "ListView1's header"
                                          : "another window";
    };
    SetFault(Fault::InputIgnored, "the press aimed at " + std::string(name(aimedAt_)) + " at " +
                                      PointText(aimed_) + " reached " + name(reached) + " at " +
                                      PointText(at));
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

POINT Remote::FindHit(int hit) const {
    // A window manager may still be placing Form1 while it is searched: then
    // the search is made again where it now stands.
    POINT found = {-1, -1};
    for (int attempt = 0; attempt < 5; ++attempt) {
        const RECT before = OuterRect();
        found = FindHitIn(before, hit);
        const RECT after = OuterRect();
        if (found.x != -1 || std::memcmp(&before, &after, sizeof before) == 0) break;
    }
    return found;
}

namespace {

bool IsEdge(int hit) {
    return hit == HTBOTTOM || hit == HTTOP || hit == HTCAPTION || hit == HTRIGHT || hit == HTLEFT ||
           hit == HTBOTTOMRIGHT;
}

// An edge, the corner or the caption: along the line through its middle,
// from the outside in.
template <typename Answers>
POINT EdgeAt(const RECT& r, int hit, Answers answers) {
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    for (int d = 0; d < 24; ++d) {
        const POINT at = hit == HTBOTTOM                    ? POINT{midX, r.bottom - 1 - d}
                         : hit == HTTOP || hit == HTCAPTION ? POINT{midX, r.top + d}
                         : hit == HTRIGHT                   ? POINT{r.right - 1 - d, midY}
                         : hit == HTLEFT                    ? POINT{r.left + d, midY}
                                         : POINT{r.right - 1 - d, r.bottom - 1 - d};
        if (answers(at.x, at.y)) return at;
    }
    return {-1, -1};
}

// A caption button: the middle of where the top-right corner answers.
template <typename Answers>
POINT ButtonAt(const RECT& r, Answers answers) {
    long sumX = 0, sumY = 0, n = 0;
    for (int y = r.top; y < r.top + 40; ++y)
        for (int x = r.right - 1; x > r.right - 120; --x)
            if (answers(x, y)) sumX += x, sumY += y, ++n;
    if (n) return {static_cast<LONG>(sumX / n), static_cast<LONG>(sumY / n)};
    return {-1, -1};
}

}  // namespace

POINT Remote::FindHitIn(const RECT& r, int hit) const {
    if (Faulted()) return {-1, -1};
    // Only where the mouse can go: a place off the screen is noted, not taken.
    bool offScreen = false;
    auto answers = [&](int x, int y) {
        DWORD_PTR code = HTNOWHERE;
        SendMessageTimeoutA(form, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kAnswerMs,
                            &code);
        if (static_cast<int>(code) != hit) return false;
        const bool on = x >= 0 && y >= 0 && x < GetSystemMetrics(SM_CXSCREEN) &&
                        y < GetSystemMetrics(SM_CYSCREEN);
        offScreen = offScreen || !on;
        return on;
    };
    const POINT found = IsEdge(hit) ? EdgeAt(r, hit, answers) : ButtonAt(r, answers);
    if (found.x != -1) return found;
    return offScreen ? POINT{-2, -2} : POINT{-1, -1};
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

POINT Remote::HeaderPoint() const {
    RECT r = {};
    GetWindowRect(GetWindow(listView, GW_CHILD), &r);
    return {r.left + 20, (r.top + r.bottom) / 2};
}

}  // namespace transcript
