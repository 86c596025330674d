// What a conformance test plays, read from a recording's message log: each
// step as the changes it made to Form1 (a client size, a move, a state), and
// where the program put its children at each client size it had.
#pragma once

#include <string>
#include <vector>

#include "message_log.h"
#include "window_tree.h"

namespace transcript {

struct Change {
    enum How { Client, Move, Show } how = Client;
    int width = 0, height = 0;       // Client: the client size
    bool left = false, top = false;  // Client: the left or top edge moved, not the other
    int dx = 0, dy = 0;              // Move: by how much
    std::string show;                // Show: "SW_MAXIMIZE", say
};

// A message the list view took, as a test checks it: its number, sent or
// posted, and a window position's SWP_ flags.
struct ListMessage {
    uint32_t number = 0;
    std::string name;
    bool posted = false;
    bool positions = false;  // a WM_WINDOWPOSCHANGING or -CHANGED: flags are its SWP_ flags
    uint32_t flags = 0;
};

struct PlayStep {
    int number = 0;
    std::string words;
    std::vector<Change> changes;
    std::vector<ListMessage> messages;  // the list view's, in order
};

// One call the program made as it laid Form1 out at a client size.
struct Place {
    int clientWidth = 0, clientHeight = 0;
    std::string control;  // "ListView1"
    int x = 0, y = 0, width = 0, height = 0;
    std::string flags;  // "SWP_NOZORDER | SWP_NOACTIVATE": as a C expression
    int step = 0;       // where it was first seen
    std::string words;
};

// How the program placed a control at any client size, read from what it
// did: each of x, y, width and height a number, plus the client's width or
// height where it followed one; and the places it put the control where
// that rule does not give them (a control kept from going narrower than
// nothing), by client size.
struct Rule {
    enum Follows { None, Width, Height };
    struct Field {
        int base = 0;
        Follows follows = None;
        bool operator==(const Field& o) const { return base == o.base && follows == o.follows; }
    };
    std::string control;
    Field x, y, width, height;
    std::string flags;
};

struct Plan {
    std::vector<PlayStep> steps;
    std::vector<Place> placed;  // every call, in the order the program made them
    std::vector<Rule> rules;    // a control each, in the order it placed them
    std::vector<Place> exceptions;
};

// Whether a step was made from outside, as another program makes it (a
// resize, a state, a size or a move set from outside): a test plays its
// steps so, and the list view's messages are then comparable.
bool MadeFromOutside(const PlayStep& step);

// The field's value at a client size.
int Apply(const Rule::Field& f, int clientWidth, int clientHeight);

// The plan cut to the start and one step, played from the state before it:
// a step numbered kSetUp (played, never checked) gives Form1 the client size
// the steps before left it at, and their last ShowWindow state. The steps
// `earlier` (before `step`) are played too, in order, the state set up
// before the first of them. The rules stay those of the whole plan. Empty
// steps where `step` is not in it.
inline constexpr int kSetUp = -1;
Plan StartAndStep(const Plan& plan, int step, const std::vector<int>& earlier = {});

// From the log, starting where the tree says Form1 stood. False, with the
// line that cannot be read, where a parameter is not as the log writes it.
bool PlanFromLog(const std::vector<MessageRow>& log, const WindowTree& tree, Plan& plan,
                 std::string& error);

}  // namespace transcript
