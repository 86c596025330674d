// The tool's command line, each option declared once (its name, its value,
// the ways of running it applies to, its help line), and its exit statuses.
// The parser, its mistakes and --help all come from those tables. No window
// system here.
#pragma once

#include <string>
#include <vector>

#include "hook_shared.h"

namespace transcript {

// The tool's exit statuses: each one's name, number and what --help says
// of it, declared here alone.
#define TRANSCRIPT_STATUSES(X)                                                                   \
    X(kDone, 0, "done, paints agree")                                                            \
    X(kDiffers, 1, "a paint differs (--compare, --check), or the hook and Label2 disagree")      \
    X(kMistake, 2,                                                                               \
      "a mistake in the command or a scenario file (one whose drags would take Form1 past the "  \
      "desktop too), or a file not read or written")                                             \
    X(kCutShort, 3,                                                                              \
      "cut short: the program ended, did not show Form1 or stopped answering, Wine's own "       \
      "desktop lost the input, or the recording filled up (rows so far written, marked so)")     \
    X(kInputIgnored, 4,                                                                          \
      "input changed nothing (run inside a Wine virtual desktop, or on Windows or ReactOS)")     \
    X(kBusy, 5, "another paint_transcript is recording in this session")                         \
    X(kInterrupted, 6,                                                                           \
      "stopped by a person: Ctrl-C (SIGINT under Wine), Ctrl-Break or the console closed (rows " \
      "so far written, marked so; the program ended)")                                           \
    X(kNeedFails, 7, "--self-test: a need of recordings does not hold on this system")

enum Status {
#define TRANSCRIPT_STATUS_NAME(name, number, meaning) name = number,
    TRANSCRIPT_STATUSES(TRANSCRIPT_STATUS_NAME)
#undef TRANSCRIPT_STATUS_NAME
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
    std::string against;             // the transcript whose difference the smallest test shows
    std::vector<int> withSteps;      // the steps it plays before the one that differs
    std::string without;             // "Text1,Label1": controls it leaves out
    std::string bugReport;           // --compare: the Markdown file
    std::string attach;              // --bug-report: the smallest test it attaches
    std::string selfTestFile;        // --self-test: its lines also written there
    std::vector<std::string> given;  // the options, as typed
    bool Given(const std::string& option) const;
};

// The command line's words after the program's name; false, with the
// mistake in one line ("--steps does not apply to --compare").
bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error);

// What --help prints.
std::string Usage();

// Every file the options name, as the option table says it is used: the
// inputs and outputs in the table's order, then the message logs beside
// them (a transcript read, --csv where a log is kept).
struct NamedFile {
    std::string option;  // "--csv", "--compare's message log"
    std::string path;
    bool written;
};
std::vector<NamedFile> FilesNamed(const Options& o);

// Whether a recording logs its messages: 0 not, 1 all but those that only
// ask, 2 all. Only where a transcript file or report is written.
int MessagesKept(const Options& o);

}  // namespace transcript
