// Scenario lines read and written, the built-in scenarios, and steps made
// again from a recording's actions.
#include "scenario.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "message_catalogue.h"
#include "text_fields.h"

namespace transcript {

namespace {

const char* const kEdges[] = {"bottom", "right", "top", "left", "corner"};
const int kEdgeHits[] = {steps::kHtBottom, steps::kHtRight, steps::kHtTop, steps::kHtLeft,
                         steps::kHtBottomRight};

template <size_t N>
bool OneOf(const std::string& word, const char* const (&words)[N]) {
    for (const char* w : words)
        if (word == w) return true;
    return false;
}

std::string Signed(int n) {
    return (n < 0 ? "" : "+") + std::to_string(n);
}

// "+10" for an edge, or for a corner moved alike both ways; "+37,+20" else.
std::string DeltaText(const std::string& where, const Step::Delta& d) {
    if (where == "bottom" || where == "top") return Signed(d.dy);
    if (where == "right" || where == "left") return Signed(d.dx);
    return d.dx == d.dy ? Signed(d.dx) : Signed(d.dx) + "," + Signed(d.dy);
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string::npos) {
        const size_t end = line.find_first_of(" \t", at);
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// A whole number, signed if `sign` ("+10", "-3"), plain otherwise ("300");
// any that an int holds, so that every number a step is written with reads.
bool Number(const std::string& text, bool sign, int& value) {
    return ParseInt(text, value, sign ? IntForm::Signed : IntForm::Plain);
}

// "x3": how many times the move before it is made, from 1 to kMaxRepeat.
constexpr int kMaxRepeat = 1000;
bool IsRepeat(const std::string& word) {
    return word.size() > 1 && word[0] == 'x' && word[1] >= '0' && word[1] <= '9';
}

// "+10" (both ways for a corner) or "+37,+20" (a corner, or a move by).
bool Delta(const std::string& text, const std::string& where, Step::Delta& d) {
    const size_t comma = text.find(',');
    if (comma != std::string::npos) {
        return (where == "corner" || where.empty()) && Number(text.substr(0, comma), true, d.dx) &&
               Number(text.substr(comma + 1), true, d.dy);
    }
    int n = 0;
    if (where.empty() || !Number(text, true, n)) return false;
    d.dx = where == "bottom" || where == "top" ? 0 : n;
    d.dy = where == "right" || where == "left" ? 0 : n;
    return true;
}

// Each kind of line, read from its words (the first names it; "from
// outside" already taken off a move's); false with what was expected.
using Line = std::vector<std::string>;

std::string Word(const Line& w, size_t i) {
    return i < w.size() ? w[i] : std::string();
}

// drag EDGE +N [+N ...] [xK], resize EDGE +N from outside
bool ParseDrag(const Line& w, Step& s, const char*& expected) {
    const bool resize = w[0] == "resize";
    s.kind = resize ? Step::Resize : Step::Drag;
    s.where = Word(w, 1);
    if (!OneOf(s.where, kEdges))
        return expected = "an edge or corner (bottom, right, top, left or corner)", false;
    if (resize && (w.size() != 5 || Word(w, 3) != "from" || Word(w, 4) != "outside"))
        return expected = "resize EDGE +N from outside", false;
    for (size_t i = 2; i < (resize ? 3 : w.size()); ++i) {
        if (IsRepeat(w[i])) {
            int times = 0;
            if (s.moves.empty()) return expected = "pixels as +N before a repeat count", false;
            if (!Number(w[i].substr(1), false, times) || times < 1 || times > kMaxRepeat)
                return expected = "a repeat count from x1 to x1000", false;
            s.moves.insert(s.moves.end(), times - 1, s.moves.back());
            continue;
        }
        Step::Delta d;
        if (!Delta(w[i], s.where, d))
            return expected = s.where == "corner" ? "pixels as +N or +X,+Y" : "pixels as +N", false;
        s.moves.push_back(d);
    }
    if (s.moves.empty()) return expected = "pixels as +N after the edge", false;
    return true;
}

bool ParseDoubleClick(const Line& w, Step& s, const char*& expected) {
    s.kind = Step::DoubleClick;
    s.where = Word(w, 1);
    if ((s.where == "list" || s.where == "header") && w.size() == 2) return true;
    return expected = "double-click list or double-click header", false;
}

// maximize button, restore from outside, ...
bool ParseState(const Line& w, Step& s, const char*& expected) {
    s.where = w[0];
    if (w.size() == 2 && w[1] == "button") return s.kind = Step::Button, true;
    if (w.size() == 3 && w[1] == "from" && w[2] == "outside") return s.kind = Step::State, true;
    return expected = "\"button\" or \"from outside\" after it", false;
}

bool ParseSet(const Line& w, Step& s, const char*& expected) {
    if (Word(w, 1) == "client" && Word(w, 2) == "width" && w.size() == 4 &&
        Number(w[3], false, s.width))
        return s.kind = Step::ClientWidth, true;
    const std::string size = Word(w, 3);
    const size_t x = size.find('x');
    if (Word(w, 1) == "outer" && Word(w, 2) == "size" && w.size() == 4 && x != std::string::npos &&
        Number(size.substr(0, x), false, s.width) && Number(size.substr(x + 1), false, s.height))
        return s.kind = Step::OuterSize, true;
    return expected = "set client width N or set outer size WxH", false;
}

// move by +X,+Y, move down|up|right|left N
bool ParseMove(const Line& w, Step& s, const char*& expected) {
    s.kind = Step::Move;
    Step::Delta d;
    int n = 0;
    const std::string way = Word(w, 1);
    if (w.size() == 3 && way == "by" && Delta(w[2], "", d)) {
    } else if (w.size() == 3 && Number(w[2], false, n) &&
               (way == "down" || way == "up" || way == "right" || way == "left")) {
        d.dx = way == "right" ? n : way == "left" ? -n : 0;
        d.dy = way == "down" ? n : way == "up" ? -n : 0;
    } else {
        return expected = "move by +X,+Y or move down/up/right/left N", false;
    }
    s.moves = {d};
    return true;
}

bool ParseRoom(const Line& w, Step& s, const char*& expected) {
    s.kind = Step::RoomAbove;
    if (Word(w, 1) == "above" && w.size() == 3 && Number(w[2], false, s.height)) return true;
    return expected = s.outside ? "room above N from outside" : "room above N", false;
}

// The line's words from the second on: StepText's runs of repeats.
std::string WriteDrag(const Step& s) {
    std::string text = "drag " + s.where;
    for (size_t i = 0; i < s.moves.size();) {
        // A run of equal moves, in repeats the reader takes.
        size_t same = i + 1;
        while (same < s.moves.size() && same - i < static_cast<size_t>(kMaxRepeat) &&
               s.moves[same] == s.moves[i])
            ++same;
        text += " " + DeltaText(s.where, s.moves[i]);
        if (same - i > 1) text += " x" + std::to_string(same - i);
        i = same;
    }
    return text;
}
std::string WriteDoubleClick(const Step& s) {
    return "double-click " + s.where;
}
std::string WriteButton(const Step& s) {
    return s.where + " button";
}
std::string WriteState(const Step& s) {
    return s.where + " from outside";
}
std::string WriteResize(const Step& s) {
    return "resize " + s.where + " " + DeltaText(s.where, s.moves[0]) + " from outside";
}
std::string WriteClientWidth(const Step& s) {
    return "set client width " + std::to_string(s.width);
}
std::string WriteOuterSize(const Step& s) {
    return "set outer size " + std::to_string(s.width) + "x" + std::to_string(s.height);
}
std::string WriteMove(const Step& s) {
    return MoveText(s, 0);
}
std::string WriteRoom(const Step& s) {
    return "room above " + std::to_string(s.height) + (s.outside ? " from outside" : "");
}

const char kStates[] = "maximize|restore|minimize";

const std::vector<StepKind> kStepKinds = {
    {Step::Drag, "drag",
     "drag bottom|right|top|left|corner +N [+N ...] [xK]   (-N: inward; K: 1-1000)", ParseDrag,
     WriteDrag, Played::ByFrame, Step::Resize},
    {Step::DoubleClick, "double-click", "double-click list|header", ParseDoubleClick,
     WriteDoubleClick, Played::InList, Step::DoubleClick},
    {Step::Button, kStates, "maximize|restore|minimize button", ParseState, WriteButton,
     Played::ByButton, Step::State},
    {Step::State, kStates, "maximize|restore|minimize from outside", ParseState, WriteState,
     Played::FromOutside, Step::State},
    {Step::Resize, "resize", "resize EDGE +N from outside", ParseDrag, WriteResize,
     Played::FromOutside, Step::Resize},
    {Step::ClientWidth, "set", "set client width N", ParseSet, WriteClientWidth,
     Played::FromOutside, Step::ClientWidth},
    {Step::OuterSize, "set", "set outer size WxH", ParseSet, WriteOuterSize, Played::FromOutside,
     Step::OuterSize},
    {Step::Move, "move", "move by +X,+Y [from outside]", ParseMove, WriteMove, Played::ByCaption,
     Step::Move},
    {Step::RoomAbove, "room", "room above N [from outside]", ParseRoom, WriteRoom,
     Played::ByCaption, Step::RoomAbove},
};

bool Begins(const StepKind& k, const std::string& word) {
    const std::vector<std::string> first = Split(k.first, '|');
    return std::find(first.begin(), first.end(), word) != first.end();
}

// "a step: drag, double-click, maximize, ... or room": each first word once.
const char* StepExpected() {
    static const std::string text = [] {
        std::vector<std::string> words;
        for (const StepKind& k : kStepKinds) {
            for (const std::string& w : Split(k.first, '|'))
                if (std::find(words.begin(), words.end(), w) == words.end()) words.push_back(w);
        }
        std::string out = "a step:";
        for (size_t i = 0; i < words.size(); ++i)
            out += (i == 0 ? " " : i + 1 == words.size() ? " or " : ", ") + words[i];
        return out;
    }();
    return text.c_str();
}

// One line's step; false with what was expected where it went wrong.
bool ParseLine(Line w, Step& s, const char*& expected) {
    for (const StepKind& k : kStepKinds) {
        if (!Begins(k, w[0])) continue;
        // A kind played by the caption is also made from outside.
        if (k.played == Played::ByCaption && w.size() > 2 && w[w.size() - 2] == "from" &&
            w.back() == "outside") {
            s.outside = true;
            w.resize(w.size() - 2);
        }
        return k.parse(w, s, expected);
    }
    expected = StepExpected();
    return false;
}

}  // namespace

const std::vector<StepKind>& StepKinds() {
    return kStepKinds;
}

Played PlayedOf(const Step& s) {
    return s.outside ? Played::FromOutside : kStepKinds[s.kind].played;
}

int HitOf(const Step& s) {
    switch (PlayedOf(s)) {
        case Played::ByFrame:
            for (size_t i = 0; i < std::size(kEdges); ++i)
                if (s.where == kEdges[i]) return kEdgeHits[i];
            return 0;
        case Played::ByCaption:
            return steps::kHtCaption;
        case Played::ByButton:
            return s.where == "minimize" ? steps::kHtMinButton : steps::kHtMaxButton;
        default:
            return 0;
    }
}

std::string PressedPart(const Step& s) {
    switch (PlayedOf(s)) {
        case Played::ByFrame:
            return s.where + (s.where == "corner" ? "" : " edge");
        case Played::ByButton:
            return s.where + " button";
        case Played::ByCaption:
            return "caption";
        case Played::InList:
            return s.where == "header" ? "list view's header" : "list view";
        default:
            return "";
    }
}

const char* EdgeOfHit(int hit) {
    for (size_t i = 0; i < std::size(kEdges); ++i)
        if (hit == kEdgeHits[i]) return kEdges[i];
    return nullptr;
}

std::string MoveText(const Step& s, size_t move) {
    switch (s.kind) {
        case Step::Drag:
            return "drag " + s.where + " " + DeltaText(s.where, s.moves[move]);
        case Step::Move:
        case Step::RoomAbove: {
            if (s.outside) {
                Step plain = s;
                plain.outside = false;
                return MoveText(plain, move) + " from outside";
            }
            const Step::Delta d = s.kind == Step::Move ? s.moves[0] : Step::Delta{0, s.height};
            // The most negative int has no opposite in int: written "move by".
            if (d.dx == 0 && d.dy >= 0) return "move down " + std::to_string(d.dy);
            if (d.dx == 0 && d.dy > INT_MIN) return "move up " + std::to_string(-d.dy);
            if (d.dy == 0 && d.dx > INT_MIN)
                return d.dx > 0 ? "move right " + std::to_string(d.dx)
                                : "move left " + std::to_string(-d.dx);
            return "move by " + Signed(d.dx) + "," + Signed(d.dy);
        }
        default:
            return StepText(s);
    }
}

std::string StepText(const Step& s) {
    return kStepKinds[s.kind].write(s);
}

bool ParseScenario(const std::string& text, std::vector<Step>& steps, std::string& error) {
    steps.clear();
    // As an editor saves it: a UTF-8 byte-order mark, CRLF (below).
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") ? 0 : 3;
    for (int number = 1; start <= text.size(); ++number) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        Step step;
        const char* expected = "";
        if (!ParseLine(words, step, expected)) {
            error.assign("line ").append(std::to_string(number)).append(": expected ");
            error.append(expected).append(", found \"");
            error.append(line, line.find_first_not_of(" \t"), std::string::npos).append("\"");
            steps.clear();
            return false;
        }
        steps.push_back(step);
    }
    return true;
}

const std::vector<BuiltIn>& BuiltInScenarios() {
    // "narrow": no user can drag the window this narrow (the system keeps a
    // minimum tracking size), so another program sets the size, as it may.
    // "maxrestore": the maximize button becomes the restore button, where
    // the maximized window has it.
    static const std::vector<BuiltIn> all = {
        {"drag", "the bottom edge down, N moves of M pixels (default 10 of 10)",
         "drag bottom {run}"},
        {"right", "the right edge outward, N moves of M pixels", "drag right {run}"},
        {"corner", "the bottom-right corner, down and outward, N moves of M pixels",
         "drag corner {run}"},
        {"top", "the top edge upward, N moves of M pixels, with room made above first",
         "room above {room}\ndrag top {run}"},
        {"grow", "two double-clicks in the list view", "double-click list\ndouble-click list"},
        {"narrow", "client widths 300 200 150 120 and back, set from outside",
         "set client width 300\nset client width 200\nset client width 150\n"
         "set client width 120\nset client width 150\nset client width 200\n"
         "set client width 300\nset client width 424"},
        {"maxrestore", "the maximize caption button, then the restore one",
         "maximize button\nrestore button"},
    };
    return all;
}

std::vector<Step> BuiltInSteps(const std::string& name, int moves, int pixels) {
    std::vector<Step> steps;
    const std::string run =
        "+" + std::to_string(pixels) + (moves > 1 ? " x" + std::to_string(moves) : std::string());
    const std::string room = std::to_string(moves * pixels + 20);
    for (const BuiltIn& b : BuiltInScenarios()) {
        if (name != "all" && name != b.name) continue;
        std::string text = b.text;
        for (const auto& [mark, value] : {std::pair{"{run}", run}, std::pair{"{room}", room}})
            for (size_t at; (at = text.find(mark)) != std::string::npos;)
                text.replace(at, std::string(mark).size(), value);
        std::vector<Step> one;
        std::string error;
        ParseScenario(text, one, error);  // the tests read every one back
        steps.insert(steps.end(), one.begin(), one.end());
    }
    return steps;
}

std::string BuiltInText(int moves, int pixels) {
    std::string text;
    for (const BuiltIn& b : BuiltInScenarios()) {
        text +=
            std::string(text.empty() ? "" : "\n") + "# scenario " + b.name + ": " + b.what + "\n";
        for (const Step& s : BuiltInSteps(b.name, moves, pixels)) text += StepText(s) + "\n";
    }
    return text;
}

std::vector<Step> FromOutside(const std::vector<Step>& steps) {
    std::vector<Step> out;
    for (Step s : steps) {
        const StepKind& k = kStepKinds[s.kind];
        if (k.played == Played::ByCaption) s.outside = true;
        s.kind = k.fromOutside;
        if (s.kind != Step::Resize) {
            out.push_back(s);
            continue;
        }
        // Another program sets a size at a time: a move of a drag each.
        const std::vector<Step::Delta> moves = s.moves;
        for (const Step::Delta& d : moves) {
            s.moves = {d};
            out.push_back(s);
        }
    }
    return out;
}

std::vector<Step> JoinGestures(const std::vector<Step>& steps, const std::vector<int>& gestures) {
    std::vector<Step> out;
    for (size_t i = 0; i < steps.size(); ++i) {
        const bool sameDrag = i > 0 && steps[i].kind == Step::Drag && !out.empty() &&
                              out.back().kind == Step::Drag && out.back().where == steps[i].where &&
                              gestures[i] == gestures[i - 1] && gestures[i] != 0;
        if (sameDrag)
            out.back().moves.insert(out.back().moves.end(), steps[i].moves.begin(),
                                    steps[i].moves.end());
        else
            out.push_back(steps[i]);
    }
    return out;
}

bool StepsFromActions(const std::vector<std::string>& actions, std::vector<Step>& steps,
                      std::string& error) {
    steps.clear();
    for (size_t i = 0; i < actions.size(); ++i) {
        std::vector<Step> one;
        if (!ParseScenario(actions[i], one, error) || one.size() != 1) {
            error =
                "step " + std::to_string(i + 1) + ": expected a step, found \"" + actions[i] + "\"";
            return false;
        }
        Step& s = one[0];
        if (s.kind == Step::Drag && !steps.empty() && steps.back().kind == Step::Drag &&
            steps.back().where == s.where)
            steps.back().moves.insert(steps.back().moves.end(), s.moves.begin(), s.moves.end());
        else
            steps.push_back(s);
    }
    return true;
}

int PartingStep(const std::vector<Step>& steps, const std::vector<std::string>& actions,
                std::string& mine, std::string& theirs) {
    size_t at = 0;  // in actions
    auto part = [&](const std::string& text) {
        mine = text;
        theirs = at < actions.size() ? actions[at] : "nothing more";
        return static_cast<int>(at + 1);
    };
    for (const Step& s : steps) {
        if (s.kind == Step::RoomAbove) {
            if (at < actions.size() && actions[at] == MoveText(s, 0)) ++at;
            continue;
        }
        const size_t count = s.kind == Step::Drag ? s.moves.size() : 1;
        for (size_t m = 0; m < count; ++m, ++at)
            if (at >= actions.size() || actions[at] != MoveText(s, m)) return part(MoveText(s, m));
    }
    return at < actions.size() ? part("nothing more") : 0;
}

}  // namespace transcript
