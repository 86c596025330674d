// Where on Form1 a step presses, found by asking the frame itself.
#include <cstring>

#include "remote.h"

namespace transcript {

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

bool IsDraggedPart(int hit) {
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
    const POINT found = IsDraggedPart(hit) ? EdgeAt(r, hit, answers) : ButtonAt(r, answers);
    if (found.x != -1) return found;
    return offScreen ? POINT{-2, -2} : POINT{-1, -1};
}

POINT Remote::HeaderPoint() const {
    RECT r = {};
    GetWindowRect(GetWindow(listView, GW_CHILD), &r);
    return {r.left + 20, (r.top + r.bottom) / 2};
}

std::string OffDesktop(POINT to, int hit) {
    // All the monitors: a second one beside the first takes the cursor on.
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const char* side = to.y >= top + height   ? "bottom"
                       : to.y < top           ? "top"
                       : to.x >= left + width ? "right"
                       : to.x < left          ? "left"
                                              : nullptr;
    if (!side) return "";
    return std::string("the drag would take ") + (hit == HTCAPTION ? "Form1" : "Form1's edge") +
           " past the " + side + " of the desktop, which is " + std::to_string(width) + " x " +
           std::to_string(height) + " (the cursor to " + std::to_string(to.x) + "," +
           std::to_string(to.y) +
           "); give fewer or smaller moves (--steps, --pixels), or record on a larger desktop";
}

bool Remote::OnDesktop(POINT to, int hit) {
    const std::string off = OffDesktop(to, hit);
    if (!off.empty()) SetFault(Fault::OffDesktop, off);
    return off.empty();
}

}  // namespace transcript
