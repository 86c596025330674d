// What a Wine or ReactOS bug tracker wants of a difference two recordings
// show, in Markdown: the two systems, the steps to reproduce cut after the
// first step that differs, expected and actual for each differing paint, and
// the files to attach.
#pragma once

#include <string>
#include <vector>

#include "message_log.h"
#include "system_facts.h"
#include "transcript_rows.h"

namespace transcript {

struct ReportSystem {
    std::string name;  // as the comparison names it
    std::string file;
    SystemFacts facts;
    std::vector<PaintRow> rows;
    std::vector<MessageRow> log;  // empty where it has none
    std::string selfTest;         // --self-test's lines on that system, where it was run
};

// A, what is expected, against B; `c` and `m` their comparison (m null
// without both logs). Empty where no paint differs: there is nothing to report.
std::string BugReport(const ReportSystem& a, const ReportSystem& b, const Comparison& c,
                      const MessageComparison* m);

}  // namespace transcript
