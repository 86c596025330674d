// Starts paintprobe.exe, plays a scenario on it with real mouse input, and
// prints one row for every paint its list view received.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "html_report.h"
#include "message_log.h"
#include "text_fields.h"
#include "own_desktop.h"
#include "player.h"
#include "remote.h"
#include "scenario.h"
#include "this_system.h"
#include "transcript_rows.h"

using transcript::MessageRow;
using transcript::PaintRow;
using transcript::Remote;
using transcript::Step;

namespace {

const char kUsage[] =
    "usage: paint_transcript [--scenario NAME | --scenario-file FILE] [--steps N] [--pixels M]\n"
    "                        [--csv FILE] [--html FILE] [--check REFERENCE.csv]\n"
    "                        [--screenshot FILE.bmp] [--max-paints N] [--quiet]\n"
    "                        [--no-messages | --messages all] [--max-messages N]\n"
    "                        [--from-outside]\n"
    "       paint_transcript --by-hand [--csv FILE] [--html FILE] [--save-scenario FILE]\n"
    "                        [--max-paints N] [--quiet] [--no-messages | --messages all]\n"
    "                        [--max-messages N]\n"
    "       paint_transcript --compare A.csv B.csv [C.csv ...] [--names A,B,C] [--html FILE]\n"
    "       paint_transcript --from FILE.csv [--csv FILE] [--html FILE] [--quiet]\n"
    "       paint_transcript --list-scenarios [--steps N] [--pixels M] | --help\n"
    "\n"
    "Scenarios: drag, right, corner, top (that edge or corner outward, N moves of M\n"
    "pixels, 10 of 10 by default), grow (two double-clicks), narrow (client widths\n"
    "set from outside), maxrestore (the caption buttons), all (each in turn).\n"
    "--list-scenarios prints them as a scenario file to copy and edit: a step a\n"
    "line, # for comments:\n"
    "  drag bottom|right|top|left|corner +N [+N ...] [xK]   (-N: inward; K: 1-1000)\n"
    "  double-click list|header         maximize|restore|minimize button\n"
    "  maximize|restore|minimize from outside\n"
    "  resize EDGE +N from outside      set client width N    set outer size WxH\n"
    "  move by +X,+Y                    room above N   (either: from outside)\n"
    "--from-outside plays what a window manager takes (drags, caption buttons,\n"
    "moves) as another program does it: where one frames Form1, no input reaches it.\n"
    "With --csv X.csv it also writes X.messages.csv: every message Form1 and its\n"
    "controls took, a row each, the paint each led to; --no-messages leaves it out,\n"
    "--messages all keeps those that only ask (WM_GETTEXT, WM_NCHITTEST, moves ...);\n"
    "--max-messages caps it (65536 at most; a log that fills says so).\n"
    "--compare compares the logs beside A and B too, where both have one; with\n"
    "three or more it says which systems paint each paint alike, each against the\n"
    "first, and where a paint changes from one to the next in the order given.\n"
    "--by-hand records what you do with the program until you close Form1;\n"
    "--save-scenario writes it as a scenario file. --from reads a transcript (one a\n"
    "spreadsheet saved, say) and writes it in this tool's form or as a report.\n"
    "\n"
    "Exit status: 0 done, paints agree; 1 a paint differs (--compare, --check), or\n"
    "the hook and Label2 disagree; 2 a mistake in the command or a scenario file, or\n"
    "a file not read or written; 3 cut short: the program ended, did not show Form1\n"
    "or stopped answering, or the recording filled up (rows so far written, marked\n"
    "so); 4 input changed nothing (run inside a Wine virtual desktop, or on Windows\n"
    "or ReactOS); 5 another paint_transcript is recording in this session.\n";

// Exit statuses beyond 0, 1 and 2.
constexpr int kCutShort = 3;
constexpr int kInputIgnored = 4;
constexpr int kBusy = 5;

struct Options {
    std::string scenario = "drag";
    int steps = 10;
    int pixels = 10;
    std::string csv, html, check, screenshot;
    int maxPaints = transcript::kMaxPaints;
    int maxMessages = transcript::kMaxMessages;
    bool quiet = false;
    bool help = false;
    std::vector<std::string> compare;  // two or more transcripts
    std::string names;                 // for them, "A,B,C"
    std::string from;
    std::string scenarioFile, saveScenario;
    bool list = false;
    bool byHand = false;
    bool noMessages = false;
    bool fromOutside = false;
    bool all = false;  // --compare: every line, not the answer first
    bool onThisDesktop = false;
    std::string messages;            // "all"
    std::vector<std::string> given;  // the options, as typed
    bool Given(const char* option) const {
        for (const std::string& g : given)
            if (g == option) return true;
        return false;
    }
};

// Each way of running the tool, and the options it takes.
struct Mode {
    const char* option;  // the option that chooses it
    const char* name;    // for "--X does not apply to NAME"
    const char* takes;
};
const Mode kModes[] = {
    {"--compare", "--compare", " --html --names --all "},
    {"--from", "--from", " --csv --html --quiet "},
    {"--list-scenarios", "--list-scenarios", " --steps --pixels "},
    {"--by-hand", "--by-hand",
     " --csv --html --save-scenario --max-paints --quiet --no-messages --messages --max-messages "},
    {"--scenario-file", "a scenario file",
     " --csv --html --check --screenshot --max-paints --quiet --no-messages --messages "
     "--max-messages --from-outside --on-this-desktop "},
    {"", "a scenario",
     " --scenario --steps --pixels --csv --html --check --screenshot --max-paints --quiet "
     "--no-messages --messages --max-messages --from-outside --on-this-desktop "},
};

// What was wrong, in one line; false.
bool Mistake(std::string& error, const std::string& what) {
    error = what;
    return false;
}

bool ParseOptions(int argc, char** argv, Options& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out, const char* what) {
            if (i + 1 >= argc) return Mistake(error, arg + " needs " + what + " after it");
            out = argv[++i];
            return true;
        };
        auto number = [&](int& out, int low, int high) {
            std::string text;
            if (!value(text, "a number")) return false;
            char* end = nullptr;
            const long n = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end || n < low || n > high)
                return Mistake(error, arg + " takes a whole number from " + std::to_string(low) +
                                          " to " + std::to_string(high) + ", not \"" + text + "\"");
            out = static_cast<int>(n);
            return true;
        };
        if (o.Given(arg.c_str()) && arg.compare(0, 2, "--") == 0)
            return Mistake(error, arg + " is given twice");
        o.given.push_back(arg);
        bool ok = true;
        if (arg == "--scenario") {
            ok = value(o.scenario, "a scenario's name");
            if (ok && transcript::BuiltInSteps(o.scenario, 1, 1).empty()) {
                std::string names;
                for (const transcript::BuiltIn& b : transcript::BuiltInScenarios())
                    names += std::string(b.name) + ", ";
                return Mistake(error, "there is no scenario \"" + o.scenario + "\"; there are " +
                                          names + "and all");
            }
        } else if (arg == "--scenario-file")
            ok = value(o.scenarioFile, "a file");
        else if (arg == "--list-scenarios")
            o.list = true;
        else if (arg == "--by-hand")
            o.byHand = true;
        else if (arg == "--save-scenario")
            ok = value(o.saveScenario, "a file");
        else if (arg == "--steps")
            ok = number(o.steps, 1, 100);
        else if (arg == "--pixels")
            ok = number(o.pixels, 1, 100);
        else if (arg == "--csv")
            ok = value(o.csv, "a file");
        else if (arg == "--html")
            ok = value(o.html, "a file");
        else if (arg == "--check")
            ok = value(o.check, "a reference transcript");
        else if (arg == "--screenshot")
            ok = value(o.screenshot, "a file");
        else if (arg == "--max-paints")
            ok = number(o.maxPaints, 1, transcript::kMaxPaints);
        else if (arg == "--max-messages")
            ok = number(o.maxMessages, 1, transcript::kMaxMessages);
        else if (arg == "--quiet")
            o.quiet = true;
        else if (arg == "--from-outside")
            o.fromOutside = true;
        else if (arg == "--all")
            o.all = true;
        else if (arg == "--on-this-desktop")
            o.onThisDesktop = true;
        else if (arg == "--no-messages")
            o.noMessages = true;
        else if (arg == "--messages") {
            ok = value(o.messages, "\"all\"");
            if (ok && o.messages != "all")
                return Mistake(error, "--messages takes \"all\", not \"" + o.messages + "\"");
        } else if (arg == "--help" || arg == "-h" || arg == "/?")
            o.help = true;
        else if (arg == "--from")
            ok = value(o.from, "a transcript");
        else if (arg == "--names")
            ok = value(o.names, "the systems' names, apart by commas");
        else if (arg == "--compare") {
            while (i + 1 < argc && std::string(argv[i + 1]).compare(0, 2, "--") != 0)
                o.compare.push_back(argv[++i]);
            if (o.compare.size() < 2)
                return Mistake(error,
                               "--compare needs two transcripts or more after it, A and B ...");
        } else
            return Mistake(error, (arg[0] == '-' ? "there is no option " : "unexpected ") +
                                      std::string("\"") + arg + "\"");
        if (!ok) return false;
    }
    if (o.help) return true;

    // One way of running at a time, and only the options that way takes.
    const Mode* mode = nullptr;
    for (const Mode& m : kModes) {
        if (*m.option && !o.Given(m.option)) continue;
        if (mode && *m.option)
            return Mistake(error,
                           std::string(mode->option) + " and " + m.option + " do not go together");
        if (!mode) mode = &m;
    }
    for (const auto& [one, other] :
         {std::pair<const char*, const char*>{"--scenario", "--scenario-file"},
          {"--no-messages", "--messages"}})
        if (o.Given(one) && o.Given(other))
            return Mistake(error, std::string(one) + " and " + other + " do not go together");
    for (const std::string& g : o.given)
        if (g.compare(0, 2, "--") == 0 && g != mode->option &&
            std::string(mode->takes).find(" " + g + " ") == std::string::npos)
            return Mistake(error, g + " does not apply to " + mode->name);
    if (o.Given("--names") && transcript::Split(o.names, ',').size() != o.compare.size())
        return Mistake(error,
                       "--names gives " + std::to_string(transcript::Split(o.names, ',').size()) +
                           " names for " + std::to_string(o.compare.size()) + " transcripts");
    if (!*mode->option) {
        bool drags = false;
        for (const Step& s : transcript::BuiltInSteps(o.scenario, 1, 1))
            drags = drags || s.kind == Step::Drag;
        for (const char* option : {"--steps", "--pixels"})
            if (o.Given(option) && !drags)
                return Mistake(error, std::string(option) + " does not apply to scenario " +
                                          o.scenario + ": it has no drags");
    }
    return true;
}

// A line of output. No printf: its formatting code would be a tenth of the tool.
void Say(FILE* to, const std::string& line) {
    std::fputs((line + "\n").c_str(), to);
}

// "49 paints", and why a transcript was cut short if it was.
std::string Paints(const std::vector<PaintRow>& rows, const std::string& cutShort) {
    return std::to_string(rows.size()) + (rows.size() == 1 ? " paint" : " paints") +
           (cutShort.empty() ? "" : ", cut short: " + cutShort);
}

bool ReadFile(const std::string& path, std::string& text) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool ReadTranscript(const std::string& path, std::vector<PaintRow>& rows, std::string& cutShort,
                    transcript::SystemFacts* system = nullptr) {
    std::string text, error;
    if (!ReadFile(path, text)) {
        Say(stderr, "paint_transcript: cannot read " + path);
        return false;
    }
    if (!transcript::ParseCsv(text, rows, error, &cutShort, system)) {
        Say(stderr, "paint_transcript: " + path + ": " + error);
        return false;
    }
    return true;
}

// Whether two names are one file: the same full path, or, for files that
// exist, the same file on the same volume (another spelling, a link).
bool SameFile(const std::string& a, const std::string& b) {
    char fullA[MAX_PATH], fullB[MAX_PATH];
    if (GetFullPathNameA(a.c_str(), MAX_PATH, fullA, nullptr) &&
        GetFullPathNameA(b.c_str(), MAX_PATH, fullB, nullptr) && lstrcmpiA(fullA, fullB) == 0)
        return true;
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    int found = 0;
    for (const std::string* path : {&a, &b}) {
        HANDLE file = CreateFileA(path->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        found += GetFileInformationByHandle(file, &info[found]) != 0;
        CloseHandle(file);
    }
    return found == 2 && info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// Whether a file can be written, found out without changing it: one that
// is not there yet is made and taken away again.
bool CanWrite(const std::string& path, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Mistake(error, "cannot write " + path + ": it is a folder");
    FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return Mistake(
            error, "cannot write " + path + ": " +
                       (attributes == INVALID_FILE_ATTRIBUTES ? "no such folder, or no permission"
                                                              : "no permission, or it is in use"));
    std::fclose(file);
    if (attributes == INVALID_FILE_ATTRIBUTES) DeleteFileA(path.c_str());
    return true;
}

// Every file named is checked before anything is played or written: each
// output can be written, and none is an input or another output.
// Whether a recording logs its messages: 0 not, 1 all but those that only
// ask, 2 all. Only where a transcript file or report is written.
int MessagesKept(const Options& o) {
    if (o.noMessages || (o.csv.empty() && o.html.empty())) return 0;
    return o.messages == "all" ? 2 : 1;
}

bool CheckOutputs(const Options& o, std::string& error) {
    const std::string log =
        MessagesKept(o) && !o.csv.empty() ? transcript::MessagesPath(o.csv) : "";
    std::vector<std::pair<const char*, std::string>> inputs = {
        {"--scenario-file", o.scenarioFile}, {"--check", o.check}, {"--from", o.from}};
    if (!o.from.empty())
        inputs.push_back({"--from's message log", transcript::MessagesPath(o.from)});
    for (const std::string& path : o.compare) {
        inputs.push_back({"--compare", path});
        inputs.push_back({"--compare's message log", transcript::MessagesPath(path)});
    }
    const std::pair<const char*, const std::string*> outputs[] = {
        {"--csv", &o.csv},
        {"--html", &o.html},
        {"--screenshot", &o.screenshot},
        {"--save-scenario", &o.saveScenario},
        {"--csv's message log", &log}};
    for (size_t i = 0; i < std::size(outputs); ++i) {
        const auto& [option, path] = outputs[i];
        if (path->empty()) continue;
        for (const auto& [input, read] : inputs)
            if (!read.empty() && SameFile(*path, read))
                return Mistake(error, std::string(option) + " " + *path +
                                          " would overwrite the file it reads (" + input + ")");
        for (size_t k = 0; k < i; ++k)
            if (!outputs[k].second->empty() && SameFile(*path, *outputs[k].second))
                return Mistake(error, std::string(outputs[k].first) + " and " + option +
                                          " name the same file, " + *path);
        if (!CanWrite(*path, error)) return false;
    }
    return true;
}

bool WriteFile(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file) ok = std::fclose(file) == 0 && ok;
    if (!ok) Say(stderr, "paint_transcript: cannot write " + path);
    return ok;
}

// The message log beside a transcript, if it has one; false only when one
// is there and cannot be read.
bool ReadMessages(const std::string& transcriptPath, std::vector<MessageRow>& rows, bool& found) {
    const std::string path = transcript::MessagesPath(transcriptPath);
    found = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::string text, error;
    if (!found) return true;
    if (!ReadFile(path, text)) {
        Say(stderr, "paint_transcript: cannot read " + path);
        return false;
    }
    if (!transcript::ParseMessagesCsv(text, rows, error)) {
        Say(stderr, "paint_transcript: " + path + ": " + error);
        return false;
    }
    return true;
}

// The messages a recording logged, written beside its transcript, and a
// word if the log filled up; false if it could not be written.
bool WriteMessages(const Options& o, const Remote& remote, const std::vector<PaintRow>& rows,
                   const std::string& cut, std::vector<MessageRow>& log) {
    if (!MessagesKept(o)) return true;
    log = remote.MessageRows(rows);
    std::string full;
    if (remote.MessagesFull()) {
        full = "the log holds " + std::to_string(o.maxMessages) + " messages; those after step " +
               std::to_string(log.empty() ? 0 : log.back().step) + " were not logged";
        Say(stderr, "paint_transcript: the message log is full: " + full);
    }
    if (o.csv.empty()) return true;
    const std::string path = transcript::MessagesPath(o.csv);
    if (!WriteFile(path, transcript::MessagesToCsv(log, cut, full))) return false;
    Say(stdout, "messages: " + std::to_string(log.size()) + " logged in " + path);
    return true;
}

// The file's name without its folder, to label it in a report.
std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A transcript read to compare, with its message log where it has one.
struct System {
    std::string file;
    std::vector<PaintRow> rows;
    std::string cut;
    transcript::SystemFacts facts;
    std::vector<MessageRow> log;
    bool logged = false;
};

bool ReadSystems(const std::vector<std::string>& files, std::vector<System>& systems) {
    systems.resize(files.size());
    for (size_t k = 0; k < files.size(); ++k) {
        System& s = systems[k];
        s.file = files[k];
        if (!ReadTranscript(s.file, s.rows, s.cut, &s.facts) ||
            !ReadMessages(s.file, s.log, s.logged))
            return false;
    }
    return true;
}

// The systems' names as given, or as recorded (two of one name told apart
// by their files, with a word), and what differs of their facts.
std::vector<std::string> SayNames(const Options& o, const std::vector<System>& systems) {
    std::vector<std::string> recorded, files;
    std::vector<transcript::SystemFacts> facts;
    for (const System& s : systems) {
        recorded.push_back(s.facts.system);
        files.push_back(BaseName(s.file));
        facts.push_back(s.facts);
    }
    std::string note;
    std::vector<std::string> names = o.names.empty()
                                         ? transcript::DistinctNames(recorded, files, note)
                                         : transcript::Split(o.names, ',');
    for (size_t k = 0; k < systems.size(); ++k)
        Say(stdout, (systems.size() == 2 ? std::string(k ? "B" : "A") + ": " : "") + names[k] +
                        " = " + systems[k].file + ", " + Paints(systems[k].rows, systems[k].cut));
    if (!note.empty()) Say(stdout, note);
    const std::vector<std::string> differ = transcript::FactDifferences(facts, names);
    for (const std::string& line : differ) Say(stdout, line);
    if (differ.empty() && !transcript::FactList(facts[0]).empty() && !facts[0].scale.empty())
        Say(stdout, "display scale, visual styles, comctl32 and font: alike");
    return names;
}

// At most `shown` lines of a listing, and how many more --all gives.
void SayAtMost(const std::vector<std::string>& lines, size_t shown, const char* what) {
    for (size_t i = 0; i < lines.size() && i < shown; ++i) Say(stdout, lines[i]);
    if (lines.size() > shown)
        Say(stdout, "... and " + std::to_string(lines.size() - shown) + " more " + what +
                        " (--all lists them all)");
}

// Two systems compared paint by paint, step by step: 0 when the paints
// agree (the frames may differ), 1 when any paint differs, 2 when a file
// cannot be read or the report cannot be written.
int CompareTwo(const Options& o) {
    std::vector<System> s;
    if (!ReadSystems(o.compare, s)) return 2;
    const std::vector<std::string> names = SayNames(o, s);
    const bool logs = s[0].logged && s[1].logged;
    const transcript::Comparison c = transcript::CompareSystems(s[0].rows, s[1].rows);
    const transcript::MessageComparison m =
        logs ? transcript::CompareMessages(s[0].log, s[1].log) : transcript::MessageComparison();
    Say(stdout, c.PaintSummary());
    Say(stdout, c.FrameSummary());
    if (logs) Say(stdout, m.Summary());
    const size_t shown = o.all ? SIZE_MAX : 12;
    SayAtMost(c.Listing(), shown, "differing paints");
    if (o.all)
        for (const std::string& line : m.Listing()) Say(stdout, line);
    else if (logs)
        SayAtMost(transcript::MessageCauses(s[0].log, s[1].log, m), o.all ? SIZE_MAX : 20,
                  "causes");
    if (!o.html.empty() &&
        !WriteFile(o.html, transcript::HtmlComparison(
                               s[0].rows, names[0], s[1].rows, names[1], s[0].cut, s[1].cut,
                               logs ? &s[0].log : nullptr, logs ? &s[1].log : nullptr)))
        return 2;
    return c.PaintsAgree() ? 0 : 1;
}

// Three systems or more, the first the reference: 0 when every paint is
// alike everywhere, 1 when one differs, 2 when a file cannot be read or the
// page cannot be written.
int CompareMany(const Options& o) {
    std::vector<System> s;
    if (!ReadSystems(o.compare, s)) return 2;
    const std::vector<std::string> names = SayNames(o, s);
    std::vector<std::vector<PaintRow>> systems;
    std::vector<std::string> cuts;
    std::vector<const std::vector<MessageRow>*> logged;
    std::vector<transcript::SystemFacts> facts;
    for (const System& one : s) {
        systems.push_back(one.rows);
        cuts.push_back(one.cut);
        logged.push_back(one.logged ? &one.log : nullptr);
        facts.push_back(one.facts);
    }
    const transcript::Matrix m = transcript::CompareMany(systems, names);
    Say(stdout, m.Summary() + "; the reference: " + names[0]);
    for (const std::string& line : m.AgainstFirst()) Say(stdout, line);
    const size_t shown = o.all ? SIZE_MAX : 20;
    for (const std::string& line : o.all ? m.Changes() : m.ChangesBySystem()) Say(stdout, line);
    SayAtMost(m.Groups(), shown, "paints not alike everywhere");
    if (!o.html.empty() &&
        !WriteFile(o.html, transcript::HtmlMatrix(m, systems, cuts, logged, facts)))
        return 2;
    return m.Agree() ? 0 : 1;
}

// A transcript read rather than recorded, written again in this tool's form.
int ConvertFile(const Options& o) {
    std::vector<PaintRow> rows;
    std::vector<MessageRow> log;
    std::string cut;
    transcript::SystemFacts system;
    bool logged = false;
    if (!ReadTranscript(o.from, rows, cut, &system) || !ReadMessages(o.from, log, logged)) return 2;
    if (!o.quiet) std::fputs(transcript::FormatTable(rows).c_str(), stdout);
    Say(stdout,
        Paints(rows, "") + " read from " + o.from + (cut.empty() ? "" : ", cut short: " + cut));
    if (!o.csv.empty() && !WriteFile(o.csv, transcript::ToCsv(rows, cut, system))) return 2;
    if (!o.csv.empty() && logged && !o.noMessages &&
        !WriteFile(transcript::MessagesPath(o.csv), transcript::MessagesToCsv(log, cut)))
        return 2;
    if (!o.html.empty() &&
        !WriteFile(o.html, transcript::HtmlReport(rows, BaseName(o.from), cut,
                                                  logged ? &log : nullptr, &system)))
        return 2;
    return 0;
}

// The action of each step a reference recorded, from its rows and its
// message log; false, said, where a step has none (a transcript without its
// log keeps no row for a step that painted nothing).
bool ReferenceActions(const std::string& path, const std::vector<PaintRow>& rows,
                      std::vector<std::string>& actions) {
    std::vector<MessageRow> log;
    bool logged = false;
    if (!ReadMessages(path, log, logged)) return false;
    std::vector<std::pair<int, std::string>> taken;
    for (const PaintRow& r : rows) taken.emplace_back(r.step, r.action);
    for (const MessageRow& m : log) taken.emplace_back(m.step, m.action);
    std::sort(taken.begin(), taken.end());
    actions.clear();
    for (const auto& [step, action] : taken) {
        if (step == static_cast<int>(actions.size())) continue;  // that step again
        if (step != static_cast<int>(actions.size()) + 1) {
            Say(stderr, "paint_transcript: " + path + " has no row for step " +
                            std::to_string(actions.size() + 1) +
                            ", so its steps cannot be played from it; give its scenario "
                            "(--scenario NAME or --scenario-file FILE)");
            return false;
        }
        actions.push_back(action);
    }
    return true;
}

// With --check, the steps to play are the reference's: taken from it where
// no scenario is given, or else the scenario's must be the same.
bool CheckSteps(const Options& o, const std::vector<PaintRow>& reference,
                std::vector<Step>& steps) {
    std::vector<std::string> actions;
    if (!ReferenceActions(o.check, reference, actions)) return false;
    std::string error, mine, theirs;
    if (!o.Given("--scenario") && o.scenarioFile.empty()) {
        if (!transcript::StepsFromActions(actions, steps, error) || steps.empty()) {
            Say(stderr, "paint_transcript: " + o.check + ": " +
                            (steps.empty() ? "it holds no step" : error) +
                            "; give its scenario (--scenario NAME or --scenario-file FILE)");
            return false;
        }
        Say(stdout, "check: playing the " + std::to_string(actions.size()) + " steps " + o.check +
                        " recorded");
        return true;
    }
    const int part = transcript::PartingStep(steps, actions, mine, theirs);
    std::string mineOutside, theirsOutside;
    if (part && transcript::PartingStep(transcript::FromOutside(steps), actions, mineOutside,
                                        theirsOutside)) {
        Say(stderr, "paint_transcript: the scenario and " + o.check + " part at step " +
                        std::to_string(part) + ": the scenario has \"" + mine + "\", " + o.check +
                        " \"" + theirs + "\"");
        return false;
    }
    return true;
}

// The steps to play: the scenario's, or the reference's with --check (then
// also read, to compare); false, said, on a mistake.
bool StepsToPlay(const Options& o, std::vector<Step>& steps, std::vector<PaintRow>& reference) {
    steps = transcript::BuiltInSteps(o.scenario, o.steps, o.pixels);
    std::string referenceCut, error;
    if (!o.check.empty() && !ReadTranscript(o.check, reference, referenceCut)) return false;
    if (!o.scenarioFile.empty()) {
        std::string text;
        if (!ReadFile(o.scenarioFile, text)) {
            Say(stderr, "paint_transcript: cannot read " + o.scenarioFile);
            return false;
        }
        if (!transcript::ParseScenario(text, steps, error)) {
            Say(stderr, "paint_transcript: " + o.scenarioFile + ": " + error);
            return false;
        }
        if (steps.empty()) {
            Say(stderr, "paint_transcript: " + o.scenarioFile +
                            ": no steps in it; a scenario needs a line at least "
                            "(paint_transcript --list-scenarios shows some)");
            return false;
        }
    }
    if (!o.check.empty() && !CheckSteps(o, reference, steps)) return false;
    if (o.fromOutside) steps = transcript::FromOutside(steps);
    return true;
}

// Where the program is to run: a display there must be; under Wine on a
// display's own desktop, a scenario that a frame must take plays in a
// virtual desktop of the tool's own. False, said, where that fails.
bool EnterDesktop(const Options& o, const std::vector<Step>& steps, transcript::OwnDesktop& own) {
    if (const std::string none = transcript::NoDisplay(); !none.empty()) {
        Say(stderr, "paint_transcript: " + none);
        return false;
    }
    // Only steps that a frame takes need one: what is made from outside is not.
    const bool framed = transcript::FromOutside(steps) != steps;
    if (o.byHand || !framed || o.onThisDesktop || transcript::OnFramingDesktop()) return true;
    std::string error;
    if (!own.Open(error)) {
        Say(stderr, "paint_transcript: " + error);
        return false;
    }
    Say(stdout,
        "desktop: a Wine virtual desktop of its own, 1280 x 1024, where this tool's "
        "input sizes Form1 as Windows does (--on-this-desktop: this desktop)");
    return true;
}

// Form1 as it stands on screen, as a 32-bit BMP.
bool SaveScreenshot(const Remote& remote, const std::string& path) {
    const transcript::Image image = remote.Capture(remote.form);
    const BITMAPINFOHEADER info = image.Header();
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(image.pixels.size() * 4);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(reinterpret_cast<const char*>(image.pixels.data()), image.pixels.size() * 4);
    return WriteFile(path, bytes);
}

// The system the transcript is recorded on, as a person would name it.
std::string SystemName() {
    return transcript::SystemName(transcript::ThisSystemVersion());
}

// What a person did, as a scenario file that does it again.
std::string ScenarioByHand(const Remote& remote) {
    const std::vector<int> gestures = remote.Gestures();
    std::vector<Step> steps;
    std::vector<int> ofSteps;
    std::string skipped;
    for (size_t i = 1; i < gestures.size(); ++i) {
        std::vector<Step> one;
        std::string error;
        const std::string action = remote.StepAction(static_cast<int>(i));
        if (!transcript::ParseScenario(action, one, error) || one.size() != 1) {
            skipped += "# step " + std::to_string(i) + " cannot be played again: " + action + "\n";
            continue;
        }
        steps.push_back(one[0]);
        ofSteps.push_back(gestures[i]);
    }
    std::string text = "# recorded by hand under " + SystemName() + "\n" + skipped;
    for (const Step& s : transcript::JoinGestures(steps, ofSteps))
        text += transcript::StepText(s) + "\n";
    return text;
}

// Records while a person uses the program, until they close Form1.
int RecordByHand(const Options& o, Remote& remote) {
    Say(stdout, "by hand: recording what you do with Form1; close it to end");
    std::fflush(stdout);
    remote.WaitForClose();
    const std::vector<PaintRow> rows = remote.Rows();
    std::string cut;
    const int code = remote.WaitForExit(0);
    if (remote.Full())
        cut = "the recording is full: it holds " + std::to_string(o.maxPaints) + " paints and " +
              std::to_string(transcript::kMaxSteps - 1) + " steps";
    else if (code != 0 || !remote.Exited())
        cut = remote.Ended();
    if (!o.quiet) std::fputs(transcript::FormatTable(rows).c_str(), stdout);
    const int steps = static_cast<int>(remote.Gestures().size()) - 1;
    Say(stdout, Paints(rows, "") + " in " + std::to_string(steps) +
                    (steps == 1 ? " step" : " steps") + " recorded by hand");
    if (!cut.empty()) Say(stderr, "paint_transcript: cut short: " + cut);
    int status = cut.empty() ? 0 : kCutShort;
    std::vector<MessageRow> log;
    if (!WriteMessages(o, remote, rows, cut, log)) status = 2;
    const transcript::SystemFacts facts = transcript::ThisSystem(remote.Facts());
    const std::string title = "by hand under " + facts.system;
    const std::pair<const std::string*, std::string> files[] = {
        {&o.csv, o.csv.empty() ? "" : transcript::ToCsv(rows, cut, facts)},
        {&o.html, o.html.empty() ? ""
                                 : transcript::HtmlReport(
                                       rows, title, cut, MessagesKept(o) ? &log : nullptr, &facts)},
        {&o.saveScenario, o.saveScenario.empty() ? "" : ScenarioByHand(remote)}};
    for (const auto& [path, text] : files) {
        if (path->empty()) continue;
        if (WriteFile(*path, text))
            Say(stdout, "written: " + *path);
        else
            status = 2;
    }
    return status;
}

// What to do about a recording cut short, said to the person running it.
void SayFault(const Remote& remote) {
    Say(stderr, "paint_transcript: cut short at " + remote.FaultText());
    if (remote.fault() == transcript::Fault::InputIgnored)
        Say(stderr,
            "paint_transcript: on a desktop whose window manager sizes the windows, only "
            "X input reaches it, and on a display with neither a window manager nor "
            "Wine's virtual desktop nothing sizes them. Under Wine, leave out "
            "--on-this-desktop (the tool then runs Form1 in a virtual desktop of its own); "
            "on Windows or ReactOS, run it as it is; with a window manager, play its part "
            "from outside (--from-outside).");
}

}  // namespace

// Ends with a word rather than a trace: an exception nobody caught (there
// should be none; main catches what it can) or a call of std::terminate. It
// also keeps the runtime's C++ name demangler, a fifth of the tool, out.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::fputs("paint_transcript: internal error: terminate called\n", stderr);
    std::abort();
}
}  // namespace __gnu_cxx

int Run(int argc, char** argv);

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("paint_transcript: out of memory\n", stderr);
    } catch (const std::exception& e) {
        Say(stderr, std::string("paint_transcript: internal error: ") + e.what());
    }
    return 2;
}

int Run(int argc, char** argv) {
    Options o;
    std::string error;
    if (!ParseOptions(argc, argv, o, error)) {
        Say(stderr, "paint_transcript: " + error);
        Say(stderr, "(paint_transcript --help shows how to use it)");
        return 2;
    }
    if (o.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!CheckOutputs(o, error)) {
        Say(stderr, "paint_transcript: " + error);
        return 2;
    }
    if (o.compare.size() == 2) return CompareTwo(o);
    if (!o.compare.empty()) return CompareMany(o);
    if (!o.from.empty()) return ConvertFile(o);
    if (o.list) {
        std::fputs(transcript::BuiltInText(o.steps, o.pixels).c_str(), stdout);
        return 0;
    }
    std::vector<Step> steps;
    std::vector<PaintRow> reference;
    if (!StepsToPlay(o, steps, reference)) return 2;

    // One recording at a time in a session: the mouse is shared.
    HANDLE recording = CreateMutexA(nullptr, FALSE, "Local\\PaintProbeTranscriptRecording");
    if (recording && GetLastError() == ERROR_ALREADY_EXISTS) {
        Say(stderr,
            "paint_transcript: another paint_transcript is recording in this session; "
            "two at once would mix their mouse input. Wait for it to end.");
        return kBusy;
    }

    // Declared before the program's remote: the program ends before its desktop.
    transcript::OwnDesktop own;
    if (!EnterDesktop(o, steps, own)) return kCutShort;
    Remote remote;
    if (!remote.Start(error, own.Name())) {
        Say(stderr, std::string("paint_transcript: ") +
                        (remote.Faulted() ? "cut short at the start: " : "") + error);
        return remote.Faulted() ? kCutShort : 2;
    }
    if (!remote.Watch(error, o.maxPaints, o.byHand, MessagesKept(o), o.maxMessages)) {
        Say(stderr, "paint_transcript: " + error);
        return 2;
    }
    if (o.byHand) return RecordByHand(o, remote);
    int countBefore = 0;
    transcript::ParseCount(remote.Text(remote.label2), countBefore);

    int step = 0;
    if (!transcript::PlaySteps(remote, steps, step, error)) {
        Say(stderr, "paint_transcript: " + error);
        return 2;
    }
    remote.Settle();

    const std::vector<PaintRow> rows = remote.Rows();
    if (!o.quiet) std::fputs(transcript::FormatTable(rows).c_str(), stdout);
    int status = 0;
    if (remote.Faulted()) {
        Say(stdout, Paints(rows, "") + " seen by the hook before it was cut short");
        SayFault(remote);
        status = remote.fault() == transcript::Fault::InputIgnored ? kInputIgnored : kCutShort;
    } else {
        int countAfter = 0;
        transcript::ParseCount(remote.Text(remote.label2), countAfter);
        const int counted = ((countAfter - countBefore) % 9999 + 9999) % 9999;
        Say(stdout, Paints(rows, "") + " seen by the hook; Label2 went from " +
                        std::to_string(countBefore) + " to " + std::to_string(countAfter) + " (" +
                        std::to_string(counted) + " paints)");
        if (static_cast<int>(rows.size()) != counted) {
            Say(stdout, "MISMATCH: the hook and the program's count disagree");
            status = 1;
        }
    }
    if (!o.screenshot.empty() && !remote.Faulted()) {
        if (SaveScreenshot(remote, o.screenshot))
            Say(stdout, "screenshot: " + o.screenshot);
        else
            status = 2;
    }
    const std::string cut = remote.FaultText();
    const transcript::SystemFacts facts = transcript::ThisSystem(remote.Facts());
    if (!o.csv.empty() && !WriteFile(o.csv, transcript::ToCsv(rows, cut, facts))) status = 2;
    std::vector<MessageRow> log;
    if (!WriteMessages(o, remote, rows, cut, log)) status = 2;
    const std::string title =
        (!o.scenarioFile.empty()                      ? "scenario file " + BaseName(o.scenarioFile)
         : !o.check.empty() && !o.Given("--scenario") ? "the steps of " + BaseName(o.check)
                                                      : "scenario " + o.scenario) +
        " under " + facts.system;
    if (!o.html.empty() &&
        !WriteFile(o.html, transcript::HtmlReport(rows, title, cut,
                                                  MessagesKept(o) ? &log : nullptr, &facts)))
        status = 2;
    if (!o.check.empty() && !remote.Faulted()) {
        const std::vector<std::string> diff =
            transcript::CompareExact(reference, rows, "reference", "this run");
        for (const std::string& line : diff) Say(stdout, line);
        Say(stdout, "this run against the reference " + o.check + ": " +
                        (diff.empty() ? "same" : "DIFFERENT"));
        if (!diff.empty()) status = 1;
    }
    if (remote.Faulted()) return status;

    PostMessageA(remote.form, WM_CLOSE, 0, 0);
    const int exitCode = remote.WaitForExit(10000);
    if (exitCode != 0) {
        Say(stdout, "paintprobe.exe ended with " + std::to_string(exitCode));
        if (status == 0) status = 1;
    }
    return status;
}
