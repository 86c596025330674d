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

}  // namespace transcript
