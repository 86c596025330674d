// Scenario steps played on the program, each kind with real input or from
// outside, and what is said where a step finds no place to press.
#include "player.h"

namespace transcript {

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

const char kNotTaken[] = "; input from this tool does not reach what sizes windows here";

// Where an edge or corner is grabbed, and which way on screen is outward.
struct Grip {
    int hit;
    int x, y;
};
Grip GripOf(const Step& s) {
    const std::string& where = s.where;
    const int x = where == "right" || where == "corner" ? 1 : where == "left" ? -1 : 0;
    const int y = where == "bottom" || where == "corner" ? 1 : where == "top" ? -1 : 0;
    return {HitOf(s), x, y};
}

// A drag of the frame, a transcript step per move. The first move must
// change Form1: one that changes nothing is said at once.
bool Drag(Remote& remote, const Step& s, int hit, std::vector<POINT> moves, int& step,
          const char* effect) {
    remote.BeginStep(++step, MoveText(s, 0));
    const RECT before = remote.OuterRect();
    return remote.DragFrame(hit, moves, [&](size_t i) {
        if (i == 0 && SameRect(before, remote.OuterRect()))
            remote.InputIgnored(std::string("the drag did not ") + effect + " Form1" + kNotTaken);
        if (i + 1 < moves.size()) remote.BeginStep(++step, MoveText(s, i + 1));
    });
}

bool PlayDrag(Remote& remote, const Step& s, int& step) {
    const Grip grip = GripOf(s);
    std::vector<POINT> moves;
    for (const Step::Delta& d : s.moves) moves.push_back({grip.x * d.dx, grip.y * d.dy});
    return Drag(remote, s, grip.hit, moves, step, "resize");
}

// The caption dragged, or the window moved from outside.
bool PlayMove(Remote& remote, const Step& s, int& step, const RECT& before) {
    if (s.kind == Step::RoomAbove && before.top >= s.height) return true;
    const Step::Delta d = s.kind == Step::Move ? s.moves[0] : Step::Delta{0, s.height};
    if (!s.outside) return Drag(remote, s, HitOf(s), {{d.dx, d.dy}}, step, "move");
    remote.BeginStep(++step, MoveText(s, 0));
    remote.SetOuterRect(
        {before.left + d.dx, before.top + d.dy, before.right + d.dx, before.bottom + d.dy});
    return true;
}

bool PlayDoubleClick(Remote& remote, const Step& s, const RECT& before) {
    const RECT client = remote.ListViewClient();
    remote.DoubleClick(s.where == "header"
                           ? remote.HeaderPoint()
                           : remote.ListViewToScreen({client.right / 3, client.bottom * 2 / 3}));
    if (s.where == "list" && !remote.Faulted() && SameRect(before, remote.OuterRect()))
        remote.InputIgnored("the double-click did not grow Form1");
    return true;
}

// The maximize button becomes the restore button, where the maximized
// window has it.
bool PlayButton(Remote& remote, const Step& s, const RECT& before) {
    const POINT button = remote.FindHit(HitOf(s));
    if (button.x < 0) return false;
    remote.Click(button);
    if (!remote.Faulted() && SameRect(before, remote.OuterRect()))
        remote.InputIgnored(std::string("the click did not change Form1") + kNotTaken);
    return true;
}

// What another program (a window manager, a taskbar) changes of Form1.
void PlayFromOutside(Remote& remote, const Step& s, const RECT& before) {
    RECT r = before;
    switch (s.kind) {
        case Step::State:
            remote.ShowState(s.where == "maximize"   ? SW_MAXIMIZE
                             : s.where == "minimize" ? SW_MINIMIZE
                                                     : SW_RESTORE);
            return;
        case Step::Resize: {
            const Grip grip = GripOf(s);
            (grip.x < 0 ? r.left : r.right) += grip.x * s.moves[0].dx;
            (grip.y < 0 ? r.top : r.bottom) += grip.y * s.moves[0].dy;
            break;
        }
        case Step::ClientWidth:
            remote.SetClientWidth(s.width);
            return;
        default:  // OuterSize
            r = {before.left, before.top, before.left + s.width, before.top + s.height};
    }
    remote.SetOuterRect(r);
}

bool Play(Remote& remote, const Step& s, int& step) {
    const RECT before = remote.OuterRect();
    const Played played = PlayedOf(s);
    if (played == Played::ByFrame) return PlayDrag(remote, s, step);
    if (StepKinds()[s.kind].played == Played::ByCaption) return PlayMove(remote, s, step, before);
    remote.BeginStep(++step, StepText(s));
    if (played == Played::InList) return PlayDoubleClick(remote, s, before);
    if (played == Played::ByButton) return PlayButton(remote, s, before);
    PlayFromOutside(remote, s, before);
    return true;
}

// Why a step found no place on Form1 to press, and what to do. A frame
// that answers nowhere on the screen, in a normal window, is one that the
// system does not let this tool size: input into nothing, said as a fault.
bool NoPlace(Remote& remote, const Step& s, std::string& error) {
    const std::string what = PressedPart(s);
    const std::string step = "\"" + StepText(s) + "\": Form1";
    const char* state = IsZoomed(remote.form)   ? "maximized"
                        : IsIconic(remote.form) ? "minimized"
                                                : "";
    if (*state)
        return error = step + " is " + state + ": it has no " + what +
                       " to take; put \"restore button\" before this line",
               false;
    if (remote.FindHit(HitOf(s)).x == -2)
        return error = step + "'s " + what +
                       " is off the screen; put \"move by +X,+Y\" before this line to bring it on",
               false;
    remote.InputIgnored("Form1 has no " + what + " on the screen that this tool can press" +
                        kNotTaken);
    return true;
}

}  // namespace

bool FitsDesktop(const Remote& remote, const std::vector<Step>& steps, std::string& error) {
    // How far each edge has moved on screen from where Form1 stands; a
    // double-click grows it right and down. Other steps end the foretelling.
    RECT moved = {0, 0, 0, 0};
    int step = 0;
    for (const Step& s : steps) {
        if (s.kind == Step::DoubleClick) {
            moved.right += 50, moved.bottom += 50, ++step;
            continue;
        }
        if (s.kind != Step::Drag || s.outside) return true;
        const Grip grip = GripOf(s);
        LONG& x = grip.x > 0 ? moved.right : moved.left;
        LONG& y = grip.y > 0 ? moved.bottom : moved.top;
        const POINT from = remote.FindHit(grip.hit);
        if (from.x < 0) return true;
        for (size_t i = 0; i < s.moves.size(); ++i) {
            ++step;
            if (grip.x) x += grip.x * s.moves[i].dx;
            if (grip.y) y += grip.y * s.moves[i].dy;
            const std::string off = OffDesktop({from.x + x, from.y + y}, grip.hit);
            if (!off.empty())
                return error = "step " + std::to_string(step) + ", " + MoveText(s, i) + ": " + off,
                       false;
        }
    }
    return true;
}

bool PlaySteps(Remote& remote, const std::vector<Step>& steps, int& step, std::string& error) {
    for (const Step& s : steps) {
        if (!Play(remote, s, step) && !remote.Faulted() && !NoPlace(remote, s, error)) return false;
        if (remote.Faulted()) break;
    }
    return true;
}

}  // namespace transcript
