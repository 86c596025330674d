// Writes a comparison of two recordings as a bug report in Markdown.
#include "bug_report.h"

#include <utility>

#include "scenario.h"
#include "text_fields.h"
#include "paint_compare.h"
#include "message_compare.h"

namespace transcript {

namespace {

constexpr size_t kPaintsShown = 5;  // a report stays short; the files hold the rest

std::string Code(const std::string& text) {
    return "`" + text + "`";
}

std::string PaintText(const std::vector<PaintRow>& rows, int row) {
    if (row < 0) return "no paint";
    const PaintRow& r = rows[static_cast<size_t>(row)];
    const std::string region = r.region.empty() ? "an empty region" : RegionText(r.region);
    return region + (r.viewWidth ? " in a list view of " + std::to_string(r.viewWidth) + "x" +
                                       std::to_string(r.viewHeight)
                                 : "");
}

std::string SystemsTable(const Recording& a, const Recording& b) {
    std::string out = "| | A: expected | B: actual |\n|---|---|---|\n";
    const std::vector<std::pair<std::string, std::string>> fa = FactList(a.facts),
                                                           fb = FactList(b.facts);
    for (const char* label :
         {"system", "display scale", "visual styles", "comctl32", "font", "screen"}) {
        std::string va = "not recorded", vb = "not recorded";
        for (const auto& [l, v] : fa)
            if (l == label) va = v;
        for (const auto& [l, v] : fb)
            if (l == label) vb = v;
        if (std::string(label) == "system") va = a.name, vb = b.name;
        if (va == "not recorded" && vb == va) continue;
        out += "| " + std::string(label) + " | " + va + " | " + vb + " |\n";
    }
    return out + "| recording | " + Code(BaseName(a.file)) + " | " + Code(BaseName(b.file)) +
           " |\n";
}

// The steps A took up to and with `last`, as a scenario file.
std::string StepsUpTo(const Recording& a, int last) {
    std::vector<std::string> actions;
    int seen = 0;
    const auto take = [&](int step, const std::string& action) {
        if (step <= last && step != seen) actions.push_back(action), seen = step;
    };
    if (!a.log.empty())
        for (const MessageRow& r : a.log) take(r.step, r.action);
    else
        for (const PaintRow& r : a.rows) take(r.step, r.action);
    std::vector<Step> steps;
    std::string error, out;
    if (!StepsFromActions(actions, steps, error)) {
        for (const std::string& action : actions) out += action + "\n";
        return out;
    }
    for (const Step& s : steps) out += StepText(s) + "\n";
    return out;
}

// Each differing paint, A's and B's, and the step's first differing message.
std::string ExpectedAndActual(const Recording& a, const Recording& b,
                              const std::vector<const AlignedPaint*>& differing,
                              const MessageComparison* m) {
    std::string out = "## Expected (A) and actual (B)\n\n";
    for (size_t i = 0; i < differing.size() && i < kPaintsShown; ++i) {
        const AlignedPaint& p = *differing[i];
        out += "**Step " + std::to_string(p.step) + " " + p.action + ", paint " +
               std::to_string(p.place) + "**\n\n- expected: " + PaintText(a.rows, p.a) +
               "\n- actual: " + PaintText(b.rows, p.b) + "\n";
        const StepMessages* step = m ? m->Step(p.step) : nullptr;
        if (step && !step->first.empty())
            out += "- the step's first differing message: " + step->first + "\n";
        out += "\n";
    }
    if (differing.size() > kPaintsShown)
        out += "... and " + std::to_string(differing.size() - kPaintsShown) +
               " more differing paints (`paint_transcript --compare " + BaseName(a.file) + " " +
               BaseName(b.file) + " --all` lists them).\n\n";
    return out;
}

std::string FilesToAttach(const Recording& a, const Recording& b, const std::string& test) {
    const auto files = [](const Recording& s) {
        return "- " + Code(BaseName(s.file)) +
               (s.log.empty() ? ""
                              : " and its message log " + Code(BaseName(MessagesPath(s.file)))) +
               ": " + s.name + "'s recording\n";
    };
    const std::vector<std::string> runs = RunsOfTest(test);
    std::string ran;
    for (size_t i = 1; i < runs.size(); ++i) ran += "  - " + runs[i] + "\n";
    return "## Files to attach\n\n" + files(a) + files(b) +
           "- `listview_paint.c`: the smallest conformance test that shows it, in Wine's test "
           "idiom (the start and the first step that differs, from the state before it), "
           "written, built and run by `scripts/smallest-test.sh " +
           BaseName(a.file) + " " + BaseName(b.file) +
           " listview_paint.c` (`--on RELEASE` runs it under another Debian release's Wine "
           "too)" +
           (runs.empty() ? "; not yet run.\n"
                         : ". " + runs[0].substr(0, runs[0].size() - 1) + ", it gave:\n" + ran);
}

constexpr size_t kCausesShown = 3;

// Where every paint both have shows B's frame (Form1's outer size less its
// client area) larger or smaller by the same amount: that, in words.
std::string FrameInWords(const Recording& a, const Recording& b, const Comparison& c) {
    std::pair<int, int> apart;  // B's non-client width and height less A's
    bool seen = false;
    for (const AlignedPaint& p : c.paints) {
        if (p.a < 0 || p.b < 0) continue;
        const PaintRow &ra = a.rows[static_cast<size_t>(p.a)],
                       &rb = b.rows[static_cast<size_t>(p.b)];
        const std::pair<int, int> d = {
            (rb.outerWidth - rb.clientWidth) - (ra.outerWidth - ra.clientWidth),
            (rb.outerHeight - rb.clientHeight) - (ra.outerHeight - ra.clientHeight)};
        if (seen && d != apart) return "";  // no one amount
        apart = d, seen = true;
    }
    const auto [w, h] = apart;
    if (!w && !h) return "";
    const auto by = [](int n, const char* more, const char* less) {
        return std::to_string(n < 0 ? -n : n) + " px " + (n < 0 ? less : more);
    };
    std::string frame, client;
    if (h) frame = by(h, "taller", "shorter"), client = by(h, "shorter", "taller");
    if (w)
        frame = Join(frame, by(w, "wider", "narrower"), " and "),
        client = Join(client, by(w, "narrower", "wider"), " and ");
    return "- " + b.name + "'s frame (caption and borders) is " + frame + " than " + a.name +
           "'s at every paint: at the same outer size its client area is " + client +
           ", and the list view, which fills it, with it.\n";
}

// "Wine 10.0 (Debian ...)" -> "10.0"; empty where it is not Wine's name.
std::string WineVersion(const std::string& name) {
    if (name.compare(0, 5, "Wine ") != 0) return "";
    const size_t end = name.find(' ', 5);
    return name.substr(5, end == std::string::npos ? end : end - 5);
}

// Whether version a comes before b: "5.0" < "8.0" < "10.0".
bool Older(const std::string& a, const std::string& b) {
    const std::vector<std::string> pa = Split(a, '.'), pb = Split(b, '.');
    for (size_t i = 0; i < pa.size() && i < pb.size(); ++i) {
        int32_t x = 0, y = 0;
        if (!ParseInt(pa[i], x) || !ParseInt(pb[i], y)) return a < b;
        if (x != y) return x < y;
    }
    return pa.size() < pb.size();
}

// Between two releases of Wine, where the change lies and how to find it.
std::string RegressionRange(const Recording& a, const Recording& b) {
    const std::string va = WineVersion(a.facts.system), vb = WineVersion(b.facts.system);
    if (va.empty() || vb.empty() || va == vb) return "";
    const std::string ta = "wine-" + va, tb = "wine-" + vb;
    if (Older(va, vb))
        return "- A regression between releases: alike as expected on Wine " + va +
               ", differs on Wine " + vb +
               ", so a change between them made it. In Wine's "
               "source, `git bisect start " +
               tb + " " + ta + "` finds it, with the attached test as the check at each step.\n";
    return "- Wine " + va + ", the newer, paints as expected and Wine " + vb +
           " does not: a change between them made the difference go. In Wine's source, "
           "`git bisect start --term-new=alike --term-old=differs " +
           ta + " " + tb + "` finds it, with the attached test as the check at each step.\n";
}

// Why they differ, as far as the recordings tell: the frames, the messages'
// causes, and where two releases of one system leave the change.
std::string Why(const Recording& a, const Recording& b, const Comparison& c,
                const MessageComparison* m) {
    std::string out = FrameInWords(a, b, c);
    const std::string frames = c.FrameSummary();
    if (!frames.empty()) out += "- " + frames + "\n";
    if (m) {
        const std::vector<std::string> causes = MessageCauses(a.log, b.log, *m);
        for (size_t i = 0; i < causes.size() && i < kCausesShown; ++i)
            out += "- messages: " + causes[i] + "\n";
        if (causes.size() > kCausesShown)
            out += "- ... and " + std::to_string(causes.size() - kCausesShown) +
                   " more causes (`paint_transcript --compare " + BaseName(a.file) + " " +
                   BaseName(b.file) + "` names them)\n";
    }
    out += RegressionRange(a, b);
    return out.empty() ? "" : "## Why\n\n" + out + "\n";
}

// What --self-test said on each system where it was run there.
std::string SelfTests(const Recording& a, const Recording& b) {
    std::string out;
    for (const Recording* s : {&a, &b})
        if (!s->selfTest.empty())
            out += "\n## Self-test on " + s->name + "\n\n```\n" + s->selfTest +
                   (s->selfTest.back() == '\n' ? "" : "\n") + "```\n";
    return out;
}

}  // namespace

std::vector<std::string> RunsOfTest(const std::string& source) {
    std::vector<std::string> out;
    const std::string head = " * Run before it was kept (";
    for (const std::string& raw : Split(source, '\n')) {
        const std::string line =
            raw.empty() || raw.back() != '\r' ? raw : raw.substr(0, raw.size() - 1);
        if (out.empty() && line.compare(0, head.size(), head) == 0)
            out.push_back(line.substr(3));
        else if (!out.empty() && line.compare(0, 5, " *   ") == 0)
            out.push_back(line.substr(5));
        else if (!out.empty())
            break;
        if (line == " */") break;
    }
    return out;
}

std::string BugReport(const Recording& a, const Recording& b, const Comparison& c,
                      const MessageComparison* m, const std::string& test) {
    std::vector<const AlignedPaint*> differing;
    for (const AlignedPaint& p : c.paints)
        if (!p.paint.empty()) differing.push_back(&p);
    if (differing.empty()) return "";
    const AlignedPaint& first = *differing.front();
    const std::string where = "step " + std::to_string(first.step) + " " + first.action;
    return "# List view repaints: " + b.name + " differs from " + a.name + " at " + where +
           "\n\n"
           "A report-view list view fills its parent window, `Form1`, but for a column of "
           "controls on the right; `Form1` is resized, maximized and restored, step by step, "
           "and every `WM_PAINT` the list view takes is recorded with its update region (in "
           "the list view's client coordinates). " +
           std::to_string(differing.size()) + " of " + std::to_string(c.paints.size()) +
           (c.paints.size() == 1 ? " paint" : " paints") +
           (differing.size() == 1 ? " differs" : " differ") + " between " + a.name +
           " (expected) and " + b.name + " (actual).\n\n## Systems\n\n" + SystemsTable(a, b) +
           SelfTests(a, b) +
           "\n## Steps to reproduce\n\n"
           "1. Start `paintprobe.exe`, the program recorded (or build the conformance test "
           "attached: it makes the same windows and plays the same steps).\n" +
           // The start is step 0: where it differs, no step is needed.
           (first.step == 0
                ? "2. Nothing more: the list view's first paint, as the program starts (step "
                  "0), already differs (`paint_transcript --scenario-file steps.scenario --csv "
                  "b.csv` records it with any one step).\n"
                : "2. Play these steps on `Form1`, the recording's up to the first that "
                  "differs (`paint_transcript --scenario-file steps.scenario --csv b.csv` "
                  "plays them):\n\n```\n" +
                      StepsUpTo(a, first.step) + "```\n") +
           "\n3. Compare: `paint_transcript --compare " + BaseName(a.file) + " b.csv`.\n\n" +
           ExpectedAndActual(a, b, differing, m) + Why(a, b, c, m) + FilesToAttach(a, b, test);
}

}  // namespace transcript
