// Scenarios as data: one step per line, in the words a person would use,
// as they stand in a transcript's action column. No window system here.
//
//   drag bottom +10 x10        one press on the bottom edge, ten moves of 10
//   drag corner +37,+20 +5     the bottom-right corner; each move a step
//   double-click list          (or header)
//   maximize button            (or restore button, minimize button)
//   maximize from outside      (or restore, minimize): as a taskbar does
//   resize bottom +10 from outside   another program, a window manager
//   set client width 300
//   set outer size 432x396
//   move by 0,+120             the caption dragged
//   room above 120             the caption dragged down by 120 if there is
//                              less than that above the window
//   move by 0,+120 from outside      (and room above): another program
//
// Drags and resizes count outward: "+10" on the top edge is 10 pixels up,
// "-10" 10 pixels down (inward). A repeat "xK" is from x1 to x1000; longer
// runs of one move are written as several.
#pragma once

#include <string>
#include <vector>

namespace transcript {

struct Step {
    enum Kind {
        Drag,         // where: bottom, right, top, left, corner; moves
        DoubleClick,  // where: list, header
        Button,       // where: maximize, restore, minimize
        State,        // where: maximize, restore, minimize; from outside
        Resize,       // where: an edge or corner; moves (one); from outside
        ClientWidth,  // width
        OuterSize,    // width, height
        Move,         // moves (one): the caption dragged by it
        RoomAbove,    // height: the caption dragged down that far, if needed
    };
    struct Delta {
        int dx = 0, dy = 0;  // outward for edges and corners; plain for a move
        bool operator==(const Delta& o) const { return dx == o.dx && dy == o.dy; }
    };
    Kind kind = Drag;
    std::string where;
    std::vector<Delta> moves;
    int width = 0, height = 0;
    bool outside = false;  // a move or room above, made by another program
    bool operator==(const Step& o) const {
        return kind == o.kind && where == o.where && moves == o.moves && width == o.width &&
               height == o.height && outside == o.outside;
    }
};

// How a step is played: pressed as a person would (an edge or corner of
// Form1's frame dragged, its caption dragged, a caption button clicked, the
// list view double-clicked), or set by another program.
enum class Played { ByFrame, ByCaption, ByButton, InList, FromOutside };

// Each kind of step, once: the words its line begins with and how it is
// read and written, its line in --help, how it is played, and the kind
// another program makes the same change with. The parser, the writer,
// --help, the player and the steps recognised by hand all read it.
struct StepKind {
    Step::Kind kind;
    const char* first;  // the words its line may begin with, "|" between
    const char* help;
    // The line's words, the first one of `first`; false with what was
    // expected. Kinds that begin alike share one.
    bool (*parse)(const std::vector<std::string>& words, Step& step, const char*& expected);
    std::string (*write)(const Step& step);
    Played played;  // a step of a kind played by its caption may say "from outside"
    Step::Kind fromOutside;
};
// In the order of Step::Kind.
const std::vector<StepKind>& StepKinds();
// How this step is played ("from outside" taken into account).
Played PlayedOf(const Step& step);
// The hit-test code where it presses on Form1's frame (HTBOTTOM for the
// bottom edge, HTCAPTION for a move, HTMAXBUTTON ...), 0 for none; and the
// part it presses, in words ("bottom edge", "corner", "maximize button").
int HitOf(const Step& step);
std::string PressedPart(const Step& step);
// The edge or corner a hit-test code takes ("bottom" for HTBOTTOM), null
// for none.
const char* EdgeOfHit(int hit);

// The step as a line of a scenario file.
std::string StepText(const Step& step);
// The action of each step a transcript has for it: a drag is a step per
// move ("drag bottom +10"); a room above that is needed, "move by 0,+120".
std::string MoveText(const Step& step, size_t move);

// A scenario file: a step per line, blank lines and "#" comments apart.
// False, with "line N: expected ..., found ...", on anything else.
bool ParseScenario(const std::string& text, std::vector<Step>& steps, std::string& error);

// The built-in scenarios: each a name, what it does, and its steps as a
// scenario's lines, where "{run}" stands for a drag's `moves` moves of
// `pixels` pixels and "{room}" for the room its run needs above.
struct BuiltIn {
    const char* name;
    const char* what;
    const char* text;
};
const std::vector<BuiltIn>& BuiltInScenarios();
// The steps of one ("all": every one in turn); empty for an unknown name.
std::vector<Step> BuiltInSteps(const std::string& name, int moves, int pixels);
// A scenario file of them all, each headed by its name and what it does.
std::string BuiltInText(int moves, int pixels);

// The same changes with what a window manager takes played from outside, as
// another program makes them: a drag becomes a resize a move, a caption
// button a state change, a move by the caption a move from outside. Where a
// window manager frames the window, its own input never reaches it.
std::vector<Step> FromOutside(const std::vector<Step>& steps);

// What a person did, one step per transcript step, as the scenario that does
// it again: the moves of one drag (steps of one gesture) joined on one line.
std::vector<Step> JoinGestures(const std::vector<Step>& steps, const std::vector<int>& gestures);

// The steps a recording took, from its actions a step each, as the scenario
// that plays them again: the moves of one edge in a row are one drag (a
// recording keeps no word of where one drag ended and the next began).
// False, with "step N: expected ..., found ...", on an action that is none.
bool StepsFromActions(const std::vector<std::string>& actions, std::vector<Step>& steps,
                      std::string& error);

// Where steps and a recording's actions part: the number of the first step
// whose action differs (its text and the recording's in `mine` and
// `theirs`, "nothing more" past either end), or 0 where they agree. A room
// above the recording did not need, it did not make.
int PartingStep(const std::vector<Step>& steps, const std::vector<std::string>& actions,
                std::string& mine, std::string& theirs);

}  // namespace transcript
