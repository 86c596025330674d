// What a Wine or ReactOS bug tracker wants of a difference two recordings
// show, in Markdown: the two systems, the steps to reproduce cut after the
// first step that differs, expected and actual for each differing paint, and
// the files to attach.
#pragma once

#include <string>
#include <vector>

#include "message_compare.h"
#include "paint_compare.h"
#include "recording.h"

namespace transcript {

// A, what is expected, against B, each named; `c` and `m` their comparison
// (m null without both logs). Empty where no paint differs: there is nothing to report.
// `test` is the text of the smallest test attached, where one is: the
// systems it was run on, as its opening comment says, are quoted.
std::string BugReport(const Recording& a, const Recording& b, const Comparison& c,
                      const MessageComparison* m, const std::string& test = "");

// What a kept smallest test's opening comment says it gave: "Run before it
// was kept (...)" and the line of each system after it; empty where it
// says it was not run.
std::vector<std::string> RunsOfTest(const std::string& source);

}  // namespace transcript
