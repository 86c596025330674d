// A recording turned into a conformance test in the idiom of Wine's and
// ReactOS's test suites (wine/test.h): one C file that builds the window
// tree the recording saw, plays each step as the change it made, and checks
// each WM_PAINT's update region against the recorded ones.
#pragma once

#include <string>
#include <vector>

#include "recording.h"

namespace transcript {

// The first is what the test expects (it needs a message log); each other is also accepted at
// the steps where it differs, in the role RoleOf gives it. `name` is the test's (START_TEST).
// With `messages`, and a reference made from outside, the test checks the
// list view's messages of each step too (said in messagesChecked).
// False, with the mistake in one line, where the files cannot make a test.
// With `smallest->against`, the smallest test that shows where it differs
// from the reference: the start and the first step whose paints differ,
// played from the state before it, and before it the steps `earlier`
// (played, not checked) where that state alone does not bring its paints;
// others then none. The controls named in `without` (never Form1 or
// ListView1) are left out of its windows. `smallest` is given the step and
// says which in words.
struct Smallest {
    const Recording* against = nullptr;
    std::vector<int> earlier;
    std::vector<std::string> without;
    int step = 0;
    std::string words;
};
bool ExportTest(const Recording& reference, const std::vector<Recording>& others,
                const std::string& name, bool messages, std::string& source, std::string& error,
                bool* messagesChecked = nullptr, Smallest* smallest = nullptr);

// The work area a maximized Form1 filled in the recording, and whence that
// is known; 0 by 0 where it is not.
struct Plan;
struct RecordedArea {
    int width = 0, height = 0;
    std::string whence;
};
RecordedArea WorkAreaOf(const Recording& reference, const Plan& plan);

// Whether a name can be a C function's: a letter or "_", then letters,
// digits and "_", at most 63 characters.
bool IsCName(const std::string& name);

}  // namespace transcript
