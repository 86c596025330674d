// A person's steps, recognised from the messages Form1 and its list view
// took as they acted: which edge they dragged and how far, a caption button,
// a double-click, a change made from outside. No window system here.
#pragma once

#include <string>
#include <vector>

#include "message_log.h"
#include "scenario.h"

namespace transcript {

// One step a person took, as a scenario's step, and where in the log it
// stands: the messages from `from` on are its (a change is named only once
// made, by then they are logged), and the paints begun after message `at`,
// where it was named.
struct HandStep {
    Step step;
    int gesture = 0;  // the moves of one drag share one; 0 for none
    int from = 0, at = 0;
};

// Form1 as it stood when the person began: its frame on the screen, its
// state (0 normal, 1 maximized, 2 minimized), and the messages logged by
// then, the program's start, which are no step of theirs.
struct FrameState {
    Rect frame;
    int state = 0;
    int from = 0;
};

// The steps, in order, from a log that keeps at least all but the messages
// that only ask. Sizing loops and caption buttons are seen where the system
// that runs the program moves its frame (Windows, Wine's desktop); where a
// window manager does, only the changes it makes reach the program, and
// they are steps "from outside".
std::vector<HandStep> StepsByHand(const std::vector<RawMessage>& log, const FrameState& start);

// The step (from 1; 0 before the first) that message `index` of the log
// belongs to, and that a paint begun before message `index` belongs to.
int StepOfMessage(const std::vector<HandStep>& steps, int index);
int StepOfPaint(const std::vector<HandStep>& steps, int index);

}  // namespace transcript
