// What --self-test found on the system at hand, as numbers and facts, and
// the lines a person reads of it: each need, whether it held, and what to
// do where it did not. No window system here.
#pragma once

#include <string>
#include <vector>

#include "system_facts.h"
#include "text_fields.h"

namespace transcript {

struct SelfTestFindings {
    SystemFacts facts;
    bool underWine = false;
    bool framing = false;      // where Form1 runs, this tool's input moves frames
    bool ownDesktop = false;   // a Wine virtual desktop of the tool's own, opened for it
    std::string desktopError;  // why that desktop could not be opened
    std::string startError;    // why the program did not show Form1; empty once it did
    bool fromStart = false;    // the program's thread hooked itself at its start
    std::string hookRefused;   // why it did not
    int startPaints = 0;       // paints seen in step 0
    bool inFront = false;      // Form1 the window in front once shown
    int pixels = 0;            // the drag asked of Form1's bottom edge
    int heightBefore = 0, heightAfter = 0;
    std::string inputFault;        // what ended the drag, where something did
    int paints = 0, coloured = 0;  // of the start's and the drag's, those whose colour was read
};

struct SelfTestLine {
    bool held = false;
    std::string need;   // "the start"
    std::string found;  // what was found, held or not
    std::string todo;   // where it did not hold
};

std::vector<SelfTestLine> SelfTestLines(const SelfTestFindings& f);
// Whether every need held: the self-test's exit status.
bool AllHeld(const std::vector<SelfTestLine>& lines);
// All a person reads: the system's facts, a line a need, and the sum.
std::string SelfTestReport(const SelfTestFindings& f);

// Where a self-test kept beside a transcript is: "x.csv" -> "x.self-test.txt".
std::string SelfTestPath(const std::string& transcriptPath);

}  // namespace transcript
