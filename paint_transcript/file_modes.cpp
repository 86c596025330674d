// The ways of running that read transcripts rather than record one:
// --compare (two systems, or many, with its page and --bug-report), --from
// and --export-test.
#include <algorithm>
#include <cstdint>

#include "bug_report.h"
#include "conformance_export.h"
#include "html_report.h"
#include "message_compare.h"
#include "paint_compare.h"
#include "tool_files.h"

namespace transcript {

namespace {

// A recording made before starts were recorded has no step 0: then the
// start is compared nowhere, and that is said (the line, for the page too).
std::string CompareStartsIfAll(std::vector<Recording>& systems) {
    const Recording* without = nullptr;
    bool with = false;
    for (const Recording& s : systems) {
        if (!HasStart(s.rows)) without = without ? without : &s;
        with = with || HasStart(s.rows);
    }
    if (!without || !with) return "";
    const std::string line =
        "step 0, the program's start, left out: " + without->file + " was recorded without it";
    Say(stdout, line);
    for (Recording& s : systems) DropStart(s.log, DropStart(s.rows));
    return line;
}

bool ReadRecordings(const std::vector<std::string>& files, std::vector<Recording>& systems) {
    systems.resize(files.size());
    for (size_t k = 0; k < files.size(); ++k)
        if (!ReadRecording(files[k], systems[k])) return false;
    return true;
}

// The systems' names as given, or as recorded (two of one name told apart
// by their files, with a word), and what differs of their facts.
void SayNames(const Options& o, std::vector<Recording>& systems) {
    std::vector<std::string> recorded, files;
    std::vector<transcript::SystemFacts> facts;
    for (const Recording& s : systems) {
        recorded.push_back(s.facts.system);
        files.push_back(transcript::BaseName(s.file));
        facts.push_back(s.facts);
    }
    std::string note;
    std::vector<std::string> names = o.names.empty()
                                         ? transcript::DistinctNames(recorded, files, note)
                                         : transcript::Split(o.names, ',');
    for (size_t k = 0; k < systems.size(); ++k) {
        systems[k].name = names[k];
        Say(stdout, (systems.size() == 2 ? std::string(k ? "B" : "A") + ": " : "") + names[k] +
                        " = " + systems[k].file + ", " + Paints(systems[k].rows, systems[k].cut));
    }
    if (!note.empty()) Say(stdout, note);
    const std::vector<std::string> differ = transcript::FactDifferences(facts, names);
    for (const std::string& line : differ) Say(stdout, line);
    if (const std::string alike = transcript::FactsAlike(facts); differ.empty() && !alike.empty())
        Say(stdout, alike);
}

// At most `shown` lines of a listing, and how many more --all gives.
void SayAtMost(const std::vector<std::string>& lines, size_t shown, const char* what) {
    for (size_t i = 0; i < lines.size() && i < shown; ++i) Say(stdout, lines[i]);
    if (lines.size() > shown)
        Say(stdout, "... and " + std::to_string(lines.size() - shown) + " more " + what +
                        " (--all lists them all)");
}

bool WriteBugReport(const std::string& path, const std::string& attach,
                    const std::vector<Recording>& s, const transcript::Comparison& c,
                    const transcript::MessageComparison* m) {
    std::string test;
    if (!attach.empty() && !ReadFile(attach, test)) return false;
    const std::string report = transcript::BugReport(s[0], s[1], c, m, test);
    if (report.empty()) {
        Say(stdout, "no paint differs: no bug report written to " + path);
        return true;
    }
    if (!WriteFile(path, report)) return false;
    Say(stdout, "bug report: " + path);
    return true;
}

// Two systems compared paint by paint, step by step: 0 when the paints
// agree (the frames may differ), 1 when any paint differs, 2 when a file
// cannot be read or the report cannot be written.
int CompareTwo(const Options& o) {
    std::vector<Recording> s;
    if (!ReadRecordings(o.compare, s)) return transcript::kMistake;
    const std::string leftOut = CompareStartsIfAll(s);
    SayNames(o, s);
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
        !WriteFile(o.html, transcript::HtmlComparison(s[0], s[1], c, logs ? &m : nullptr, leftOut)))
        return transcript::kMistake;
    if (!o.bugReport.empty() && !WriteBugReport(o.bugReport, o.attach, s, c, logs ? &m : nullptr))
        return transcript::kMistake;
    return c.PaintsAgree() ? transcript::kDone : transcript::kDiffers;
}

// Three systems or more, the first the reference: 0 when every paint is
// alike everywhere, 1 when one differs, 2 when a file cannot be read or the
// page cannot be written.
int CompareMany(const Options& o) {
    std::vector<Recording> s;
    if (!ReadRecordings(o.compare, s)) return transcript::kMistake;
    const std::string leftOut = CompareStartsIfAll(s);
    SayNames(o, s);
    std::vector<std::vector<PaintRow>> systems;
    std::vector<std::string> names;
    for (const Recording& one : s) {
        names.push_back(one.name);
        systems.push_back(one.rows);
    }
    const transcript::Matrix m = transcript::CompareMany(systems, names);
    Say(stdout, m.Summary() + "; the reference: " + names[0]);
    for (const std::string& line : m.AgainstFirst()) Say(stdout, line);
    const size_t shown = o.all ? SIZE_MAX : 20;
    for (const std::string& line : o.all ? m.Changes() : m.ChangesBySystem()) Say(stdout, line);
    SayAtMost(m.Groups(), shown, "paints not alike everywhere");
    if (!o.html.empty() && !WriteFile(o.html, transcript::HtmlMatrix(m, s, leftOut)))
        return transcript::kMistake;
    return m.Agree() ? transcript::kDone : transcript::kDiffers;
}

}  // namespace

int CompareFiles(const Options& o) {
    return o.compare.size() == 2 ? CompareTwo(o) : CompareMany(o);
}

// A transcript read rather than recorded, written again in this tool's form.
int ConvertFile(const Options& o) {
    Recording r;
    if (!ReadRecording(o.from, r)) return transcript::kMistake;
    if (!o.quiet) std::fputs(transcript::FormatTable(r.rows).c_str(), stdout);
    Say(stdout, Paints(r.rows, "") + " read from " + o.from +
                    (r.cut.empty() ? "" : ", cut short: " + r.cut));
    if (!o.csv.empty() && !WriteFile(o.csv, transcript::ToCsv(r.rows, r.cut, r.facts)))
        return transcript::kMistake;
    if (!o.csv.empty() && r.logged &&
        !WriteFile(transcript::MessagesPath(o.csv), transcript::MessagesToCsv(r.log, r.cut)))
        return transcript::kMistake;
    if (!o.html.empty() &&
        !WriteFile(o.html, transcript::HtmlReport(r.rows, transcript::BaseName(o.from), r.cut,
                                                  r.logged ? &r.log : nullptr, &r.facts)))
        return transcript::kMistake;
    return transcript::kDone;
}

int ExportFile(const Options& o) {
    std::vector<Recording> sources;
    std::vector<std::string> files = o.exported;
    if (!o.against.empty()) files.push_back(o.against);
    if (!ReadRecordings(files, sources)) return transcript::kMistake;
    for (const Recording& s : sources)
        if (!s.cut.empty()) {
            Say(stderr, "paint_transcript: " + s.file + " was cut short (" + s.cut +
                            "): a test of it would expect too little");
            return transcript::kMistake;
        }
    CompareStartsIfAll(sources);
    std::string source, error;
    const Recording* against = o.against.empty() ? nullptr : &sources.back();
    const std::vector<transcript::Recording> others(sources.begin() + 1,
                                                    sources.end() - (against ? 1 : 0));
    bool checked = false;
    transcript::Smallest smallest;
    smallest.against = against;
    smallest.earlier = o.withSteps;
    if (!o.without.empty()) smallest.without = transcript::Split(o.without, ',');
    if (!transcript::ExportTest(sources[0], others, o.testName, o.messages == "all", source, error,
                                &checked, &smallest)) {
        Say(stderr, "paint_transcript: " + error);
        return transcript::kMistake;
    }
    if (!WriteFile(o.exportTest, source)) return transcript::kMistake;
    Say(stdout,
        "wrote " + o.exportTest + ": test " + o.testName + ", " +
            (against ? std::string("paints") : Paints(sources[0].rows, "")) + " expected from " +
            sources[0].file +
            (others.empty() ? ""
                            : ", " + std::to_string(others.size()) +
                                  (others.size() == 1 ? " other system" : " other systems") +
                                  " also accepted") +
            (against
                 ? "; the smallest that shows where " + o.against + " differs: " + smallest.words
                 : ""));
    if (o.messages == "all")
        Say(stdout, checked ? "the list view's messages of each step are checked too"
                            : "messages not checked: " + sources[0].file +
                                  " was not made from outside (--from-outside)");
    return transcript::kDone;
}

}  // namespace transcript
