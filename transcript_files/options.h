// The tool's command line, each option declared once (its name, its value,
// the ways of running it applies to, its help line), and its exit statuses.
// The parser, its mistakes and --help all come from those tables. No window
// system here.
#pragma once

#include <string>
#include <vector>

#include "hook_shared.h"

namespace transcript {

// What the tool's exit status says.
enum Status {
    kDone = 0,          // done, and the paints agree
    kDiffers = 1,       // a paint differs, or the hook and Label2 disagree
    kMistake = 2,       // in the command or a scenario file; a file not read or written
    kCutShort = 3,      // the program ended, hung or never showed Form1; the recording filled
    kInputIgnored = 4,  // input changed nothing
    kBusy = 5,          // another paint_transcript is recording in this session
    kInterrupted = 6,   // a person stopped it (Ctrl-C, the console closed)
    kNeedFails = 7,     // --self-test: what recordings need does not hold here
};

// The ways of running the tool: each chosen by an option of its own, a
// built-in scenario by none.
enum class Mode { Scenario, ScenarioFile, ByHand, Compare, From, List, Export, SelfTest, Help };

struct Options {
    Mode mode = Mode::Scenario;
    std::string scenario = "drag";
    int steps = 10;
    int pixels = 10;
    std::string csv, html, check, screenshot;
    int maxPaints = kMaxPaints;
    int maxMessages = kMaxMessages;
    bool quiet = false;
    std::vector<std::string> compare;  // two or more transcripts
    std::string names;                 // for them, "A,B,C"
    std::string from;
    std::string scenarioFile, saveScenario;
    bool noMessages = false;
    bool fromOutside = false;
    bool all = false;  // --compare: every line, not the answer first
    bool onThisDesktop = false;
    std::string messages;               // "all"
    std::string exportTest;             // the C file a recording is exported to
    std::vector<std::string> exported;  // the reference, then the systems also accepted
    std::string testName = "listview_paint";
    std::string bugReport;           // --compare: the Markdown file
    std::string selfTestFile;        // --self-test: its lines also written there
    std::vector<std::string> given;  // the options, as typed
    bool Given(const std::string& option) const;
};

// The command line's words after the program's name; false, with the
// mistake in one line ("--steps does not apply to --compare").
bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error);

// What --help prints.
std::string Usage();

// Whether a recording logs its messages: 0 not, 1 all but those that only
// ask, 2 all. Only where a transcript file or report is written.
int MessagesKept(const Options& o);

}  // namespace transcript
