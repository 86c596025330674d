// The option table, and the parser, mistakes and --help made from it.
#include "options.h"

#include <iterator>

#include "message_log.h"
#include "scenario.h"
#include "text_fields.h"

namespace transcript {

namespace {

// The modes as bits, for the options that apply to them.
enum : unsigned {
    kScenario = 1,
    kFile = 2,
    kByHand = 4,
    kCompare = 8,
    kFrom = 16,
    kList = 32,
    kExport = 64,
    kSelfTest = 128
};
constexpr unsigned kRecording = kScenario | kFile, kLogging = kRecording | kByHand;

struct ModeEntry {
    Mode mode;
    unsigned bit;
    const char* option;  // that chooses it; "" for a built-in scenario
    const char* name;    // for "--X does not apply to NAME"
    const char* usage;   // what --help's line for it starts with
};
const ModeEntry kModes[] = {
    {Mode::Compare, kCompare, "--compare", "--compare", "--compare A.csv B.csv [C.csv ...]"},
    {Mode::From, kFrom, "--from", "--from", "--from FILE.csv"},
    {Mode::Export, kExport, "--export-test", "--export-test",
     "--export-test OUT.c REFERENCE.csv [OTHER.csv ...]"},
    {Mode::List, kList, "--list-scenarios", "--list-scenarios", "--list-scenarios"},
    {Mode::SelfTest, kSelfTest, "--self-test", "--self-test", "--self-test"},
    {Mode::ByHand, kByHand, "--by-hand", "--by-hand", "--by-hand"},
    {Mode::ScenarioFile, kFile, "--scenario-file", "a scenario file", "--scenario-file FILE"},
    {Mode::Scenario, kScenario, "", "a scenario", ""},
};

struct Entry;
using Setter = bool (*)(const Entry&, const std::string& value, Options&, std::string& error);

// How an option's files are used: read or written, with the message log
// beside it where it is a transcript (written only where a log is kept).
enum class Use { None, Reads, ReadsWithLog, Writes, WritesWithLog };
struct Files {
    Use use = Use::None;
    std::string Options::*one = nullptr;
    std::vector<std::string> Options::*many = nullptr;
};
constexpr Files kNoFiles{};
constexpr Files Reads(std::string Options::*one) {
    return {Use::Reads, one};
}
constexpr Files ReadsWithLog(std::string Options::*one) {
    return {Use::ReadsWithLog, one};
}
constexpr Files EachReadWithLog(std::vector<std::string> Options::*many) {
    return {Use::ReadsWithLog, nullptr, many};
}
constexpr Files Writes(std::string Options::*one) {
    return {Use::Writes, one};
}
constexpr Files WritesWithLog(std::string Options::*one) {
    return {Use::WritesWithLog, one};
}

struct Entry {
    const char* name;
    const char* value;  // as --help shows it; null for an option alone
    const char* needs;  // what must follow it: "a file"; for a list, the whole mistake's end
    unsigned modes;
    const char* help;
    Setter set;        // called with each value (a list's one by one), or once with none
    Files files = {};  // the files its values name
    const char* excludes = nullptr;  // an option that does not go together with it
    int low = 0, high = 0;           // for a number
    size_t least = 0;                // a list up to the next option: at least this many values
    Files also = {};                 // files its later values name, where the first is another's
};

template <std::string Options::*field>
bool Text(const Entry&, const std::string& value, Options& o, std::string&) {
    o.*field = value;
    return true;
}

template <bool Options::*field>
bool Flag(const Entry&, const std::string&, Options& o, std::string&) {
    o.*field = true;
    return true;
}

template <int Options::*field>
bool Number(const Entry& entry, const std::string& value, Options& o, std::string& error) {
    int32_t n = 0;
    if (!ParseInt(value, n, IntForm::Loose) || n < entry.low || n > entry.high)
        return Mistake(error, std::string(entry.name) + " takes a whole number from " +
                                  std::to_string(entry.low) + " to " + std::to_string(entry.high) +
                                  ", not \"" + value + "\"");
    o.*field = n;
    return true;
}

template <std::vector<std::string> Options::*field>
bool Texts(const Entry&, const std::string& value, Options& o, std::string&) {
    (o.*field).push_back(value);
    return true;
}

// "47,50": the steps a smallest test plays before the one that differs.
bool StepList(const Entry& entry, const std::string& value, Options& o, std::string& error) {
    o.withSteps.clear();
    for (const std::string& word : Split(value, ',')) {
        int32_t n = 0;
        if (!ParseInt(word, n, IntForm::Loose) || n < 1)
            return Mistake(error, std::string(entry.name) +
                                      " takes step numbers from 1 up, each after a comma (47,50), "
                                      "not \"" +
                                      value + "\"");
        o.withSteps.push_back(n);
    }
    return true;
}

// The C file to write, then the transcripts it takes.
bool ExportedFiles(const Entry&, const std::string& value, Options& o, std::string&) {
    if (o.exportTest.empty())
        o.exportTest = value;
    else
        o.exported.push_back(value);
    return true;
}

bool Scenario(const Entry&, const std::string& value, Options& o, std::string& error) {
    o.scenario = value;
    if (!BuiltInSteps(value, 1, 1).empty()) return true;
    std::string names;
    for (const BuiltIn& b : BuiltInScenarios()) names += std::string(b.name) + ", ";
    return Mistake(error, "there is no scenario \"" + value + "\"; there are " + names + "and all");
}

bool AllMessages(const Entry&, const std::string& value, Options& o, std::string& error) {
    o.messages = value;
    return value == "all" || Mistake(error, "--messages takes \"all\", not \"" + value + "\"");
}

bool Nothing(const Entry&, const std::string&, Options&, std::string&) {
    return true;
}

const Entry kOptions[] = {
    {"--scenario", "NAME", "a scenario's name", kScenario,
     "a built-in scenario (drag by default; --list-scenarios shows them)", Scenario, kNoFiles,
     "--scenario-file"},
    {"--scenario-file", "FILE", "a file", kFile, "the steps to play, a line each",
     Text<&Options::scenarioFile>, Reads(&Options::scenarioFile)},
    {"--steps", "N", "a number", kScenario | kList, "moves of each drag (10)",
     Number<&Options::steps>, kNoFiles, nullptr, 1, 100},
    {"--pixels", "M", "a number", kScenario | kList, "pixels of each move (10)",
     Number<&Options::pixels>, kNoFiles, nullptr, 1, 100},
    {"--by-hand", nullptr, nullptr, kByHand, "records what you do with Form1 until you close it",
     Nothing},
    {"--compare", "A.csv B.csv", "two transcripts or more after it, A and B ...", kCompare,
     "compares transcripts (and the message logs beside them), the first the reference",
     Texts<&Options::compare>, EachReadWithLog(&Options::compare), nullptr, 0, 0, 2},
    {"--export-test", "OUT.c REF.csv",
     "the C file to write, then the transcript it expects (OUT.c REFERENCE.csv)", kExport,
     "writes a conformance test (wine/test.h) that expects REF.csv's paints; those of any "
     "other transcript after it are also accepted where they differ: another Windows as "
     "broken(), Wine as todo_wine, ReactOS as todo_ros, else on every platform",
     ExportedFiles, Writes(&Options::exportTest), nullptr, 0, 0, 2,
     EachReadWithLog(&Options::exported)},
    {"--name", "NAME", "the test's name", kExport, "the test's name (listview_paint)",
     Text<&Options::testName>},
    {"--against", "OTHER.csv", "a transcript", kExport,
     "writes the smallest test that shows where OTHER.csv differs: the start and its first "
     "differing step, from the state before it",
     Text<&Options::against>, ReadsWithLog(&Options::against)},
    {"--without", "NAME,NAME", "control names", kExport,
     "with --against: leaves those controls out of the test's windows (never ListView1)",
     Text<&Options::without>},
    {"--with-steps", "N,M", "step numbers", kExport,
     "with --against: plays those steps too, in order, before the one that differs (the state "
     "set up before the first): where its paints need more than the state before it",
     StepList},
    {"--from", "FILE.csv", "a transcript", kFrom,
     "reads a transcript (one a spreadsheet saved) to write it again", Text<&Options::from>,
     ReadsWithLog(&Options::from)},
    {"--list-scenarios", nullptr, nullptr, kList,
     "prints the built-in scenarios as a scenario file", Nothing},
    {"--self-test", nullptr, nullptr, kSelfTest,
     "checks, within seconds, what recordings need of this system, a line each: run it first "
     "on Windows or ReactOS",
     Nothing},
    {"--self-test-file", "FILE", "a file", kSelfTest,
     "writes the self-test's lines there too; as NAME.self-test.txt beside a transcript "
     "NAME.csv, a bug report made of that transcript holds them",
     Text<&Options::selfTestFile>, Writes(&Options::selfTestFile)},
    {"--csv", "FILE", "a file", kLogging | kFrom,
     "writes the transcript there, and its message log as FILE's .messages.csv",
     Text<&Options::csv>, WritesWithLog(&Options::csv)},
    {"--html", "FILE", "a file", kLogging | kFrom | kCompare, "writes a report or comparison page",
     Text<&Options::html>, Writes(&Options::html)},
    {"--check", "REFERENCE.csv", "a reference transcript", kRecording,
     "compares this run with a transcript; plays its steps where no scenario is given",
     Text<&Options::check>, Reads(&Options::check)},
    {"--screenshot", "FILE.bmp", "a file", kRecording, "saves Form1 as the steps left it",
     Text<&Options::screenshot>, Writes(&Options::screenshot)},
    {"--save-scenario", "FILE", "a file", kByHand, "writes what you did as a scenario file",
     Text<&Options::saveScenario>, Writes(&Options::saveScenario)},
    {"--max-paints", "N", "a number", kLogging, "paints recorded at most (8192)",
     Number<&Options::maxPaints>, kNoFiles, nullptr, 1, kMaxPaints},
    {"--quiet", nullptr, nullptr, kLogging | kFrom, "leaves the table of paints out",
     Flag<&Options::quiet>},
    {"--no-messages", nullptr, nullptr, kLogging, "writes no message log",
     Flag<&Options::noMessages>, kNoFiles, "--messages"},
    {"--messages", "all", "\"all\"", kLogging | kExport,
     "logs also the messages that only ask (WM_GETTEXT, WM_NCHITTEST, moves ...); with "
     "--export-test, checks the list view's messages of a recording made from outside",
     AllMessages},
    {"--max-messages", "N", "a number", kLogging,
     "messages logged at most (65536; a full log says so)", Number<&Options::maxMessages>, kNoFiles,
     nullptr, 1, kMaxMessages},
    {"--from-outside", nullptr, nullptr, kRecording,
     "plays drags, caption buttons and moves as another program makes them",
     Flag<&Options::fromOutside>},
    {"--on-this-desktop", nullptr, nullptr, kRecording | kSelfTest,
     "under Wine, plays on this desktop rather than a virtual desktop of its own",
     Flag<&Options::onThisDesktop>},
    {"--names", "A,B,C", "the systems' names, apart by commas", kCompare,
     "the systems' names, rather than those the transcripts record", Text<&Options::names>},
    {"--bug-report", "FILE.md", "a file", kCompare,
     "writes the difference of two as a bug report, in Markdown", Text<&Options::bugReport>,
     Writes(&Options::bugReport)},
    {"--attach", "TEST.c", "a file", kCompare,
     "with --bug-report: the smallest test kept (scripts/smallest-test.sh), and what it gave on "
     "each system it ran on",
     Text<&Options::attach>, Reads(&Options::attach)},
    {"--all", nullptr, nullptr, kCompare, "lists every differing paint and message",
     Flag<&Options::all>},
    {"--help", nullptr, nullptr, 0, "prints this (also -h, /?)", Nothing},
};

const Entry* EntryFor(const std::string& arg) {
    const std::string name = arg == "-h" || arg == "/?" ? "--help" : arg;
    for (const Entry& entry : kOptions)
        if (name == entry.name) return &entry;
    return nullptr;
}

// Reads one option and its value from args[i] on; i ends on the last word
// it took.
bool ReadOption(const std::vector<std::string>& args, size_t& i, Options& o, std::string& error) {
    const std::string& arg = args[i];
    const Entry* entry = EntryFor(arg);
    if (!entry)
        return Mistake(error,
                       (arg[0] == '-' ? "there is no option \"" : "unexpected \"") + arg + "\"");
    if (o.Given(entry->name) && arg.compare(0, 2, "--") == 0)
        return Mistake(error, arg + " is given twice");
    o.given.push_back(entry->name);
    if (!entry->value) return entry->set(*entry, "", o, error);
    if (entry->least) {
        size_t taken = 0;
        for (; i + 1 < args.size() && args[i + 1].compare(0, 2, "--") != 0; ++taken)
            if (!entry->set(*entry, args[++i], o, error)) return false;
        return taken >= entry->least || Mistake(error, arg + " needs " + entry->needs);
    }
    if (i + 1 >= args.size()) return Mistake(error, arg + " needs " + entry->needs + " after it");
    return entry->set(*entry, args[++i], o, error);
}

// One way of running at a time, and only the options that way takes.
bool CheckMode(Options& o, std::string& error) {
    const ModeEntry* mode = nullptr;
    for (const ModeEntry& m : kModes) {
        if (*m.option && !o.Given(m.option)) continue;
        if (mode && *m.option)
            return Mistake(error,
                           std::string(mode->option) + " and " + m.option + " do not go together");
        if (!mode) mode = &m;
    }
    o.mode = mode->mode;
    for (const Entry& e : kOptions)
        if (e.excludes && o.Given(e.name) && o.Given(e.excludes))
            return Mistake(error,
                           std::string(e.name) + " and " + e.excludes + " do not go together");
    for (const std::string& g : o.given)
        if (g != mode->option && !(EntryFor(g)->modes & mode->bit))
            return Mistake(error, g + " does not apply to " + mode->name);
    return true;
}

// What --compare's options say of each other.
bool CheckCompareTogether(const Options& o, std::string& error) {
    const size_t names = Split(o.names, ',').size();
    if (o.Given("--bug-report") && o.compare.size() != 2)
        return Mistake(error, "--bug-report compares two transcripts, not " +
                                  std::to_string(o.compare.size()));
    if (o.Given("--names") && names != o.compare.size())
        return Mistake(error, "--names gives " + std::to_string(names) + " names for " +
                                  std::to_string(o.compare.size()) + " transcripts");
    if (o.Given("--attach") && !o.Given("--bug-report"))
        return Mistake(error,
                       "--attach names the test a bug report attaches: it needs --bug-report");
    return true;
}

// What --export-test's options say of each other.
bool CheckExportTogether(const Options& o, std::string& error) {
    if (o.Given("--against") && o.exported.size() > 1)
        return Mistake(error,
                       "--against shows where one transcript differs: it takes no "
                       "systems accepted beside the reference");
    if (o.Given("--against") && o.mode == Mode::Export && o.messages == "all")
        return Mistake(error,
                       "--against writes the smallest test of a paint; the list view's messages "
                       "are checked in the whole recording's test (leave out --against)");
    if (o.Given("--with-steps") && !o.Given("--against"))
        return Mistake(error, "--with-steps adds steps to the smallest test: it needs --against");
    if (o.Given("--without") && !o.Given("--against"))
        return Mistake(error,
                       "--without leaves controls out of the smallest test: it needs --against");
    const std::string& out = o.exportTest;
    if (o.mode == Mode::Export && out.size() >= 4 &&
        (out.compare(out.size() - 4, 4, ".csv") == 0 ||
         out.compare(out.size() - 4, 4, ".CSV") == 0))
        return Mistake(error,
                       "--export-test writes C: name the file to write first (OUT.c "
                       "REFERENCE.csv), not " +
                           out);
    return true;
}

// What a mode's options say of each other.
bool CheckTogether(const Options& o, std::string& error) {
    if (!CheckCompareTogether(o, error) || !CheckExportTogether(o, error)) return false;
    if (o.mode != Mode::Scenario) return true;
    bool drags = false;
    for (const Step& s : BuiltInSteps(o.scenario, 1, 1)) drags = drags || s.kind == Step::Drag;
    for (const char* option : {"--steps", "--pixels"})
        if (o.Given(option) && !drags)
            return Mistake(error, std::string(option) + " does not apply to scenario " +
                                      o.scenario + ": it has no drags");
    return true;
}

// Words after a head, wrapped at 79 columns; each line after the first
// indented as far as the head is long.
std::string Wrapped(const std::vector<std::string>& words, std::string line, size_t indent) {
    std::string out;
    bool fresh = true;  // nothing after the head yet on this line
    for (const std::string& w : words) {
        if (!fresh && line.size() + 1 + w.size() > 79) {
            out += line + "\n";
            line = std::string(indent, ' ');
            fresh = true;
        }
        if (!fresh || line.back() != ' ') line += ' ';
        line += w;
        fresh = false;
    }
    return out + line + "\n";
}

const char kSteps[] =
    "\n"
    "Scenarios: drag, right, corner, top (that edge or corner outward, N moves of M\n"
    "pixels), grow (two double-clicks), narrow (client widths set from outside),\n"
    "maxrestore (the caption buttons), all (each in turn). A scenario file has a\n"
    "step a line, # for comments:\n";
const char kCompareMany[] =
    "With three transcripts or more, --compare says which systems paint each paint\n"
    "alike, each against the first, and where a paint changes from one to the next.\n";

struct StatusEntry {
    Status status;
    const char* meaning;
};
const StatusEntry kStatuses[] = {
#define TRANSCRIPT_STATUS_ENTRY(name, number, meaning) {name, meaning},
    TRANSCRIPT_STATUSES(TRANSCRIPT_STATUS_ENTRY)
#undef TRANSCRIPT_STATUS_ENTRY
};

// Each kind of step's line, two to a line where both fit in 79 columns.
std::string StepsHelp() {
    constexpr size_t kColumn = 40;
    std::string text, line;
    for (const StepKind& k : StepKinds()) {
        const std::string help = k.help;
        if (!line.empty() && line.size() < kColumn && kColumn + help.size() <= 79) {
            line.resize(kColumn, ' ');
            text += line + help + "\n";
            line.clear();
            continue;
        }
        if (!line.empty()) text += line + "\n";
        line = "  " + help;
    }
    return line.empty() ? text : text + line + "\n";
}

}  // namespace

bool Options::Given(const std::string& option) const {
    for (const std::string& g : given)
        if (g == option) return true;
    return false;
}

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i)
        if (!ReadOption(args, i, o, error)) return false;
    if (o.Given("--help")) {
        o.mode = Mode::Help;
        return true;
    }
    return CheckMode(o, error) && CheckTogether(o, error);
}

std::string Usage() {
    std::string text;
    // The commonest first: a scenario.
    for (auto m = std::rbegin(kModes); m != std::rend(kModes); ++m) {
        std::vector<std::string> words;
        if (*m->usage) words.push_back(m->usage);
        for (const Entry& s : kOptions)
            if ((s.modes & m->bit) && s.name != std::string(m->option))
                words.push_back("[" + std::string(s.name) + (s.value ? " " : "") +
                                (s.value ? s.value : "") + "]");
        text += Wrapped(words, text.empty() ? "usage: paint_transcript" : "       paint_transcript",
                        24);
    }
    text += "       paint_transcript --help\n\n";
    for (const Entry& s : kOptions) {
        std::string head = "  " + std::string(s.name) + (s.value ? " " + std::string(s.value) : "");
        head.resize(head.size() < 24 ? 24 : head.size() + 1, ' ');
        text += Wrapped(Split(s.help, ' '), head, 24);
    }
    text += kSteps + StepsHelp() + kCompareMany;
    text += "\nExit status:\n";
    for (const StatusEntry& s : kStatuses)
        text += Wrapped(Split(s.meaning, ' '), "  " + std::to_string(s.status) + "  ", 5);
    return text;
}

std::vector<NamedFile> FilesNamed(const Options& o) {
    std::vector<NamedFile> files, logs;
    auto add = [&](const Entry& e, const Files& f, const std::string& path) {
        if (path.empty()) return;
        const bool written = f.use == Use::Writes || f.use == Use::WritesWithLog;
        files.push_back({e.name, path, written});
        if (f.use == Use::ReadsWithLog || (f.use == Use::WritesWithLog && MessagesKept(o)))
            logs.push_back({std::string(e.name) + "'s message log", MessagesPath(path), written});
    };
    for (const Entry& e : kOptions)
        for (const Files* f : {&e.files, &e.also}) {
            if (f->one) add(e, *f, o.*(f->one));
            if (f->many)
                for (const std::string& path : o.*(f->many)) add(e, *f, path);
        }
    files.insert(files.end(), logs.begin(), logs.end());
    return files;
}

int MessagesKept(const Options& o) {
    if (o.noMessages || (o.csv.empty() && o.html.empty())) return 0;
    return o.messages == "all" ? 2 : 1;
}

}  // namespace transcript
