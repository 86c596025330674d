// Reads from a message log how each step changed Form1 and how the program
// laid its children out, for a test to do the same from another program.
#include "conformance_plan.h"

#include <algorithm>

#include "message_catalogue.h"
#include "message_decode.h"
#include "message_flags.h"
#include "scenario.h"

namespace transcript {

namespace {

// The flags a caller of SetWindowPos may pass; the others the system adds.
constexpr uint32_t kCallerSwp = 0x67FF;
constexpr uint32_t kNoSize = 0x0001, kNoMove = 0x0002;

struct Size {
    std::string state = "SIZE_RESTORED";
    int width = 0, height = 0;
};

// A WM_SIZE's numbers, or a window position's, as the row keeps them;
// false where it has none.
bool SizeOf(const MessageRow& row, Size& size) {
    if (!row.wParam || !row.lParam) return false;
    size.state = OneOf(static_cast<int32_t>(*row.wParam), flags::kSizeType);
    size.width = static_cast<int>(*row.lParam & 0xFFFF);
    size.height = static_cast<int>(*row.lParam >> 16 & 0xFFFF);
    return true;
}

struct Position {
    int x = 0, y = 0, width = 0, height = 0;
    uint32_t flags = 0;
};
bool PositionOf(const MessageRow& row, Position& p) {
    if (!row.x || !row.y || !row.cx || !row.cy || !row.flags) return false;
    p = {static_cast<int>(*row.x), static_cast<int>(*row.y), static_cast<int>(*row.cx),
         static_cast<int>(*row.cy), static_cast<uint32_t>(*row.flags)};
    return true;
}

std::string SwpText(uint32_t bits) {
    std::string out;
    for (const Flag& flag : flags::kSwp)
        if (bits & flag.bits & kCallerSwp)
            out += (out.empty() ? "" : " | ") + std::string(flag.name);
    return out.empty() ? "0" : out;
}

// The ShowWindow command that takes a window from one state to another.
std::string ShowCommand(const std::string& from, const std::string& to) {
    if (to == "SIZE_MINIMIZED") return "SW_MINIMIZE";
    if (to == "SIZE_MAXIMIZED" && from != "SIZE_MINIMIZED") return "SW_MAXIMIZE";
    return "SW_RESTORE";
}

// Follows Form1 through the log: where it stands, and its last WM_SIZE.
struct Follower {
    Follower(const WindowTree& t, Plan& p) : tree(t), plan(p) {}
    const WindowTree& tree;
    Plan& plan;
    int x = 0, y = 0, nextX = 0, nextY = 0;
    Size size;
    bool sized = false;  // a WM_SIZE seen: the places that follow are laid out for it

    bool Take(const MessageRow& row, PlayStep& step, std::string& error) {
        const bool sent = row.how == "sent";
        if (row.window == "Form1" && sent && row.message == "WM_WINDOWPOSCHANGED") {
            Position p;
            if (!PositionOf(row, p)) return Wrong(row, error);
            nextX = p.x, nextY = p.y;
        } else if (row.window == "Form1" && sent && row.message == "WM_SIZE") {
            Size now;
            if (!SizeOf(row, now)) return Wrong(row, error);
            Resized(now, step);
        }
        if (row.window == "ListView1" && !Listed(row, step)) return Wrong(row, error);
        if (row.window != "Form1" && tree.Named(row.window) && sent &&
            row.message == "WM_WINDOWPOSCHANGING" && sized) {
            Position p;
            if (!PositionOf(row, p)) return Wrong(row, error);
            if ((p.flags & (kNoSize | kNoMove)) != (kNoSize | kNoMove)) Placed(row, p, step);
        }
        return true;
    }

    // The list view's message, as a test sees it; a registered message is
    // numbered afresh in each session, so not checked.
    static bool Listed(const MessageRow& row, PlayStep& step) {
        ListMessage m;
        m.name = row.message;
        m.posted = row.how == "posted";
        if (row.message.compare(0, 10, "registered") == 0) return true;
        if (!row.number) return false;
        m.number = static_cast<uint32_t>(*row.number);
        if (row.message == "WM_WINDOWPOSCHANGING" || row.message == "WM_WINDOWPOSCHANGED") {
            Position p;
            if (!PositionOf(row, p)) return false;
            m.positions = true;
            m.flags = p.flags;
        }
        step.messages.push_back(m);
        return true;
    }

    void Resized(const Size& now, PlayStep& step) {
        Change c;
        if (now.state != size.state) {
            c.how = Change::Show;
            c.show = ShowCommand(size.state, now.state);
            step.changes.push_back(c);
        } else if (now.state == "SIZE_RESTORED" &&
                   (now.width != size.width || now.height != size.height)) {
            c.width = now.width, c.height = now.height;
            c.left = nextX != x, c.top = nextY != y;
            step.changes.push_back(c);
        }
        x = nextX, y = nextY;
        size = now;
        sized = true;
    }

    void Placed(const MessageRow& row, const Position& p, const PlayStep& step) {
        plan.placed.push_back({size.width, size.height, row.window, p.x, p.y, p.width, p.height,
                               SwpText(p.flags), step.number, step.words});
    }

    // A move with no new size: the caption dragged, or the window moved.
    void Ended(PlayStep& step) {
        if (nextX == x && nextY == y) return;
        Change c;
        c.how = Change::Move;
        c.dx = nextX - x, c.dy = nextY - y;
        step.changes.push_back(c);
        x = nextX, y = nextY;
    }

    static bool Wrong(const MessageRow& row, std::string& error) {
        return Mistake(error, "step " + std::to_string(row.step) + ": " + row.window + " " +
                                  row.message + ": cannot read \"" + row.parameters + "\"");
    }
};

using Field = Rule::Field;

// The field that gives the most of these values: a number, or the client's
// width or height and a number.
Field Fit(const std::vector<const Place*>& placed, int Place::*value) {
    Field best;
    size_t most = 0;
    for (const Place* from : placed)
        for (const Rule::Follows follows : {Rule::None, Rule::Width, Rule::Height}) {
            Field f;
            f.follows = follows;
            f.base = from->*value - Apply(f, from->clientWidth, from->clientHeight);
            size_t fits = 0;
            for (const Place* p : placed)
                fits += Apply(f, p->clientWidth, p->clientHeight) == p->*value;
            // Ties go to the simpler: a number before a size it follows.
            if (fits > most) best = f, most = fits;
        }
    return best;
}

bool Fits(const Rule& r, const Place& p) {
    const int w = p.clientWidth, h = p.clientHeight;
    return Apply(r.x, w, h) == p.x && Apply(r.y, w, h) == p.y && Apply(r.width, w, h) == p.width &&
           Apply(r.height, w, h) == p.height;
}

void FitLayout(Plan& plan) {
    for (const Place& p : plan.placed) {
        bool known = false;
        for (const Rule& r : plan.rules) known = known || r.control == p.control;
        if (known) continue;
        std::vector<const Place*> mine;
        for (const Place& q : plan.placed)
            if (q.control == p.control) mine.push_back(&q);
        plan.rules.push_back({p.control, Fit(mine, &Place::x), Fit(mine, &Place::y),
                              Fit(mine, &Place::width), Fit(mine, &Place::height), p.flags});
    }
    for (const Rule& r : plan.rules)
        for (const Place& p : plan.placed) {
            if (p.control != r.control || Fits(r, p)) continue;
            bool seen = false;
            for (const Place& e : plan.exceptions)
                seen = seen || (e.control == p.control && e.clientWidth == p.clientWidth &&
                                e.clientHeight == p.clientHeight);
            if (!seen) plan.exceptions.push_back(p);
        }
}

}  // namespace

bool MadeFromOutside(const PlayStep& s) {
    std::vector<Step> steps;
    std::string error;
    if (!ParseScenario(s.words, steps, error) || steps.size() != 1) return false;
    const Step& step = steps[0];
    return step.kind == Step::State || step.kind == Step::Resize ||
           step.kind == Step::ClientWidth || step.kind == Step::OuterSize ||
           ((step.kind == Step::Move || step.kind == Step::RoomAbove) && step.outside);
}

int Apply(const Rule::Field& f, int clientWidth, int clientHeight) {
    return f.base + (f.follows == Rule::Width    ? clientWidth
                     : f.follows == Rule::Height ? clientHeight
                                                 : 0);
}

bool PlanFromLog(const std::vector<MessageRow>& log, const WindowTree& tree, Plan& plan,
                 std::string& error) {
    plan = Plan();
    Follower f(tree, plan);
    if (const TreeWindow* form = tree.Named("Form1")) {
        f.x = f.nextX = form->place.left, f.y = f.nextY = form->place.top;
        f.size.width = form->clientWidth, f.size.height = form->clientHeight;
    }
    for (MessageRow row : log) {
        // A log written before rows kept their numbers: taken from its words.
        NumbersFromWords(row);
        if (plan.steps.empty() || plan.steps.back().number != row.step) {
            if (!plan.steps.empty()) f.Ended(plan.steps.back());
            plan.steps.push_back({row.step, row.action, {}, {}});
        }
        if (!f.Take(row, plan.steps.back(), error)) return false;
    }
    if (!plan.steps.empty()) f.Ended(plan.steps.back());
    // The start is the test's own making of its windows: only its paints
    // are the program's to compare.
    if (!plan.steps.empty() && plan.steps.front().number == 0) {
        plan.steps.front().changes.clear();
        plan.steps.front().messages.clear();
    }
    FitLayout(plan);
    return true;
}

Plan StartAndStep(const Plan& plan, int step, const std::vector<int>& earlier) {
    Plan out = plan;
    out.steps.clear();
    const auto played = [&](int n) {
        return n == step || std::find(earlier.begin(), earlier.end(), n) != earlier.end();
    };
    const Change* client = nullptr;  // the last client size set before it, where one was
    const Change* shown = nullptr;   // the last ShowWindow state, where one was
    bool setUp = false;
    for (const PlayStep& s : plan.steps) {
        if (s.number == 0) out.steps.push_back(s);
        if (s.number && played(s.number) && !setUp) {
            PlayStep state;
            state.number = kSetUp;
            state.words = "the state before step " + std::to_string(s.number);
            if (client) {
                Change c = *client;
                c.left = c.top = false;  // where it stands does not matter: its size does
                state.changes.push_back(c);
            }
            if (shown && shown->show != "SW_RESTORE" && shown->show != "SW_SHOWNORMAL")
                state.changes.push_back(*shown);
            if (!state.changes.empty()) out.steps.push_back(state);
            setUp = true;
        }
        if (s.number && played(s.number)) out.steps.push_back(s);
        if (s.number == step) return out;
        for (const Change& c : s.changes) {
            if (c.how == Change::Client &&
                (!shown || shown->show == "SW_RESTORE" || shown->show == "SW_SHOWNORMAL"))
                client = &c;
            if (c.how == Change::Show) shown = &c;
        }
    }
    out.steps.clear();
    return out;
}

}  // namespace transcript
