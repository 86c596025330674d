// The smallest test that shows where one system paints otherwise than
// another: straight-line C that makes the windows, plays the few steps kept
// and checks the one that differs, in the idiom of wine/test.h.
#pragma once

#include <string>

#include "conformance_plan.h"
#include "recording.h"
#include "window_tree.h"

namespace transcript {

// What a reduction kept: the step that differs (0: the start), and the
// words that say so ("the start and step 52 maximize button, from the
// state before it, of 54 steps").
struct Kept {
    int step = 0;
    std::string words;
};

// The line of the opening comment that says how the test was confirmed;
// written as not yet, for whoever builds and runs it to replace.
inline constexpr char kNotYetRun[] =
    " * Run before it was kept: not yet (scripts/smallest-test.sh runs it).\n";

// The test of `plan` (the start, the state set up, the steps played): the
// reference's paints checked at the kept step alone, by name `name`.
std::string SmallestSource(const Recording& reference, const Recording& against,
                           const WindowTree& tree, const Plan& plan, const Kept& kept,
                           const std::string& name);

}  // namespace transcript
