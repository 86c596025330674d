// Writes a comparison of two recordings as a bug report in Markdown.
#include "bug_report.h"

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
    for (const char* label : {"system", "display scale", "visual styles", "comctl32", "font"}) {
        std::string va = "not recorded", vb = "not recorded";
        for (const auto& [l, v] : fa)
            if (l == label) va = v;
        for (const auto& [l, v] : fb)
            if (l == label) vb = v;
        if (std::string(label) == "system") va = a.name, vb = b.name;
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

std::string FilesToAttach(const Recording& a, const Recording& b) {
    const auto files = [](const Recording& s) {
        return "- " + Code(BaseName(s.file)) +
               (s.log.empty() ? ""
                              : " and its message log " + Code(BaseName(MessagesPath(s.file)))) +
               ": " + s.name + "'s recording\n";
    };
    return "## Files to attach\n\n" + files(a) + files(b) +
           "- `listview_paint.c`: a conformance test in Wine's test idiom, written by "
           "`paint_transcript --export-test listview_paint.c " +
           BaseName(a.file) + "`; it fails on " + b.name + " at the paints above.\n";
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

std::string BugReport(const Recording& a, const Recording& b, const Comparison& c,
                      const MessageComparison* m) {
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
           ExpectedAndActual(a, b, differing, m) + FilesToAttach(a, b);
}

}  // namespace transcript
