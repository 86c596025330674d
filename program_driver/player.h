// Plays scenario steps on the program with real input, as a person would.
#pragma once

#include <vector>

#include "remote.h"
#include "scenario.h"

namespace transcript {

// Plays the steps in turn, numbering transcript steps from `step` on (a drag
// is a step per move). Stops at a fault of the remote; false, with the step
// that could not be played, where Form1 has no place for it.
bool PlaySteps(Remote& remote, const std::vector<Step>& steps, int& step, std::string& error);

// Whether the scenario's drags, foretold from where Form1 stands, keep the
// cursor on the desktop; false, with the step and what to do, where one
// would take an edge past it (the system would stop it there).
bool FitsDesktop(const Remote& remote, const std::vector<Step>& steps, std::string& error);

}  // namespace transcript
