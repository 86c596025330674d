// Systems' transcripts compared as pages that read at a glance, 1,400
// pixels wide: what differs first, then each aligned paint as a row of
// frames, each row at the scale that fits it.
#include <algorithm>
#include <cmath>

#include "html_parts.h"
#include "html_report.h"
#include "paint_compare.h"
#include "message_compare.h"

namespace transcript {

namespace {

using html::Escape;

constexpr int kRoom = 1400 - 2 * 16 - 24;  // the page, less its margins and a scroll bar
constexpr int kGap = 16;
constexpr int kFigureMin = 160;  // a caption's room under a narrow frame
constexpr double kMostScale = 0.5;

const char kStyle[] = R"(
body { margin: 0 16px; font: 12px/16px sans-serif; color: #222; background: #fff; }
h1 { font-size: 18px; margin: 12px 0 6px; }
header p { margin: 2px 0; }
.names { position: sticky; top: 0; z-index: 3; background: #fff; border-bottom: 1px solid #888; padding: 4px 0; font-weight: bold; }
.names span { margin-right: 24px; }
table { border-collapse: collapse; margin: 6px 0; }
th, td { border: 1px solid #bbb; padding: 2px 6px; text-align: left; vertical-align: top; }
.facts .fd { color: #b00000; font-weight: bold; }
.grid thead th { position: sticky; top: 0; z-index: 3; background: #eee; }
.grid td a, .grid th a { color: inherit; }
.g0 { background: #d5ecd5; } .g1 { background: #f7d6a8; } .g2 { background: #c8daf5; }
.g3 { background: #f0c3d5; } .g4 { background: #e2d5f6; } .g5 { background: #f2ec9f; }
.g6 { background: #c9eee8; } .gn { background: #fff; color: #777; }
.row { margin: 16px 0; padding-top: 4px; border-top: 1px solid #ddd; scroll-margin-top: 32px; }
.grid tr { scroll-margin-top: 48px; }
.patterns td { max-width: 260px; overflow-wrap: break-word; }
.patterns a { color: inherit; }
.note { margin: 0 0 6px; color: #b00000; overflow-wrap: break-word; }
.note.frame-only { color: #8a6000; }
.frames { display: flex; gap: 16px; align-items: flex-start; }
.frame { margin: 0; flex: none; }
.frame figcaption { margin-top: 4px; overflow-wrap: break-word; }
.frame figcaption span { display: block; font-weight: bold; }
.differs figcaption { color: #b00000; }
.differs > svg { outline: 3px solid #d00000; outline-offset: 3px; }
.frame-differs > svg { outline: 1px dashed #d08000; outline-offset: 3px; }
.same { color: #006400; }
.logs details { margin-top: 4px; }
.logs summary { cursor: pointer; }
.logs summary.md { color: #b00000; }
.log { margin: 2px 0; padding: 4px 8px 4px 40px; max-height: 360px; overflow: auto; border: 1px solid #888; font: 11px/14px monospace; }
)";

// `names`: what keeps the systems' names in view, for the layout test.
std::string Page(const std::string& title, const std::string& header, const std::string& body,
                 const char* names) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
           Escape(title) + "</title>\n" + "<style>" + html::kPictureStyle + kStyle + "</style>\n" +
           "</head>\n<body data-fit=\"" + names + "\">\n<header>" + header + "</header>\n" + body +
           "</body></html>\n";
}

// How strongly a frame is marked: a paint that differs strongly, one whose
// window frame alone differs lightly.
enum class Mark { None, Frame, Paint };

// One system's paint in a row of the page.
struct Cell {
    const PaintRow* row = nullptr;  // none: that system has no such paint
    const std::string* earlier = nullptr;
    std::string system, id, messages;
    Mark mark = Mark::None;
};

// The largest scale (half size at most) at which the row's frames stand
// side by side within the page, each at least as wide as its caption needs.
double RowScale(const std::vector<Cell>& cells) {
    double scale = kMostScale;
    for (int round = 0; round < 4; ++round) {
        int fixed = 0, gaps = 0;
        double scaled = 0;
        for (const Cell& c : cells) {
            if (!c.row) continue;
            const double width = html::ViewOf(*c.row).right;
            if (width * scale < kFigureMin)
                fixed += kFigureMin;
            else
                scaled += width;
            gaps += kGap;
        }
        if (scaled <= 0 || fixed + scaled * scale <= kRoom - gaps + kGap) break;
        scale = std::max(0.01, (kRoom - gaps + kGap - fixed) / scaled);
    }
    return scale;
}

std::string Figure(const Cell& c, double scale) {
    const PaintRow& row = *c.row;
    const int width =
        std::max(kFigureMin, static_cast<int>(std::ceil(html::ViewOf(row).right * scale)));
    const char* cls[] = {"frame", "frame frame-differs", "frame differs"};
    const std::string step = "step " + std::to_string(row.step) + " " + Escape(row.action);
    // The scale to three places, as the layout test reads it.
    const int thousandths = static_cast<int>(std::lround(scale * 1000));
    const std::string at = std::to_string(thousandths / 1000) + "." +
                           std::to_string(1000 + thousandths % 1000).substr(1);
    return "<figure id=\"" + c.id + "\" class=\"" + cls[static_cast<int>(c.mark)] +
           "\" style=\"width:" + std::to_string(width) + "px\" data-scale=\"" + at + "\">" +
           html::Picture(row, *c.earlier, scale) + "<figcaption><span>" + Escape(c.system) +
           "</span>" + step + "<br>count " + std::to_string(row.count) + ", reported " +
           RegionText({row.reported}) + "</figcaption></figure>";
}

// A row: its note, the frames side by side, then each system's messages
// folded beneath them all, so that an opened list moves what follows down.
std::string Row(const std::string& id, const std::string& noteClass, const std::string& note,
                const std::vector<Cell>& cells) {
    const double scale = RowScale(cells);
    std::string frames, logs;
    for (const Cell& c : cells) {
        if (c.row) frames += Figure(c, scale);
        logs += c.messages;
    }
    return "<section class=\"row\" id=\"" + id + "\">" +
           (note.empty() ? "" : "<p class=\"" + noteClass + "\">" + Escape(note) + "</p>") +
           "<div class=\"frames\">" + frames + "</div>" +
           (logs.empty() ? "" : "<div class=\"logs\">" + logs + "</div>") + "</section>\n";
}

// What the reader is warned of at the top: how the systems differ, and what
// was left out of the comparison.
std::string NoteLines(const std::vector<std::string>& differences, const std::string& note) {
    std::string out;
    for (const std::string& line : differences) out += "<p class=\"cut\">" + Escape(line) + "</p>";
    return note.empty() ? out : out + "<p class=\"cut\">" + Escape(note) + "</p>";
}

// The systems' names kept in view as the page scrolls.
std::string Names(const std::vector<std::string>& names, const std::vector<std::string>& labels) {
    std::string out = "<div class=\"names\">";
    for (size_t k = 0; k < names.size(); ++k)
        out += "<span>" + Escape(labels[k] + names[k]) + "</span>";
    return out + "</div>\n";
}

}  // namespace

namespace {

// One side of a two-system comparison, as its rows are drawn.
struct Side {
    const std::vector<PaintRow>& rows;
    const std::vector<MessageRow>* log;  // null where the two are not both logged
    const std::vector<bool>& marked;
    std::string label, name, id;
    std::vector<std::string> earlier;
    std::vector<std::vector<size_t>> byPaint;
    Side(const std::vector<PaintRow>& rows, const std::vector<MessageRow>* log,
         const std::vector<bool>& marked, const char* label, const std::string& name,
         const char* id)
        : rows(rows),
          log(log),
          marked(marked),
          label(label),
          name(name),
          id(id),
          earlier(html::EarlierPaths(rows)),
          byPaint(html::ByPaint(log, rows.size())) {}
    Cell CellOf(int row, const std::string& paint, Mark mark) const {
        return {&rows[row],
                &earlier[row],
                label + name,
                id + paint,
                log ? html::Messages(log, byPaint[row], row + 1, &marked, label) : "",
                mark};
    }
};

// What a row's note says: what differs of the paint and the frame, and the
// step's first differing message beside its first paint.
std::string NoteOf(const AlignedPaint& p, Mark mark, const StepMessages* step) {
    const std::string where =
        "step " + std::to_string(p.step) + ", paint " + std::to_string(p.place) + ": ";
    const std::string message = step ? "messages: " + step->first : "";
    if (mark == Mark::Paint)
        return where + p.paint + (p.frame.empty() ? "" : "; frame: " + p.frame) +
               (step ? "; " + message : "");
    if (mark == Mark::Frame) return where + "frame only: " + p.frame + (step ? "; " + message : "");
    return step ? where + message : "";
}

// Where the paints that differ are, the first few of them.
std::string DifferingLinks(const Comparison& c) {
    constexpr int kLinks = 12;
    std::string links;
    int differing = 0;
    for (size_t i = 0; i < c.paints.size(); ++i) {
        const AlignedPaint& p = c.paints[i];
        if (p.paint.empty() || ++differing > kLinks) continue;
        links += std::string(links.empty() ? "" : ", ") + "<a href=\"#p" + std::to_string(i + 1) +
                 "\">step " + std::to_string(p.step) + " " + Escape(p.action) + ", paint " +
                 std::to_string(p.place) + "</a>";
    }
    if (differing > kLinks) links += " and " + std::to_string(differing - kLinks) + " more";
    return links;
}

// The page's top: the systems and their facts, the answer, and the key.
std::string ComparisonHeader(const Side& a, const Side& b, const Comparison& c,
                             const MessageComparison* mc, const std::vector<SystemFacts>& f,
                             const std::string& cutShortA, const std::string& cutShortB,
                             const std::string& note) {
    const std::string factLines = NoteLines(FactDifferences(f, {a.name, b.name}), note);
    const std::string links = DifferingLinks(c);
    return "<h1>Paint transcripts compared: " + Escape(a.name) + " and " + Escape(b.name) +
           "</h1>" +
           html::FactsTable({"A: " + a.name + " (" + std::to_string(a.rows.size()) + " paints)",
                             "B: " + b.name + " (" + std::to_string(b.rows.size()) + " paints)"},
                            f) +
           factLines + "<p class=\"" + (c.PaintsAgree() ? "same" : "count") + "\"><strong>" +
           Escape(c.PaintSummary()) + "</strong></p><p class=\"frames\">" +
           Escape(c.FrameSummary()) + " (counts and colours are not compared)" +
           (mc ? "; " + Escape(mc->Summary()) : std::string()) + "</p>" +
           (links.empty() ? "" : "<p>Paints that differ: " + links + "</p>") +
           "<p>Each aligned paint is a row, A's frame then B's, at the scale that fits the page; "
           "a paint that differs is outlined in red, one whose window frame alone differs in "
           "dashed orange.</p>" +
           html::CutShort("A ", cutShortA) + html::CutShort("B ", cutShortB);
}

}  // namespace

std::string HtmlComparison(const Recording& a, const Recording& b, const Comparison& c,
                           const MessageComparison* mc, const std::string& note) {
    const MessageComparison none;
    const MessageComparison& m = mc ? *mc : none;
    const Side sideA(a.rows, mc ? &a.log : nullptr, m.markedA, "A: ", a.name, "a");
    const Side sideB(b.rows, mc ? &b.log : nullptr, m.markedB, "B: ", b.name, "b");
    std::string body;
    for (size_t i = 0; i < c.paints.size(); ++i) {
        const AlignedPaint& p = c.paints[i];
        const std::string id = std::to_string(i + 1);
        const Mark mark = !p.paint.empty()   ? Mark::Paint
                          : !p.frame.empty() ? Mark::Frame
                                             : Mark::None;
        // A's frame, then B's, where each has the paint.
        std::vector<Cell> cells(2);
        if (p.a >= 0) cells[0] = sideA.CellOf(p.a, id, mark);
        if (p.b >= 0) cells[1] = sideB.CellOf(p.b, id, mark);
        const StepMessages* step = mc && p.place == 1 ? m.Step(p.step) : nullptr;
        body += Row("p" + id, mark == Mark::Frame ? "note frame-only" : "note",
                    NoteOf(p, mark, step), cells);
    }
    return Page(a.name + " / " + b.name,
                ComparisonHeader(sideA, sideB, c, mc, {a.facts, b.facts}, a.cut, b.cut, note),
                Names({a.name, b.name}, {"A: ", "B: "}) + body, ".names");
}

namespace {

// The many systems' rows as they are drawn: each one's earlier paths and
// messages by paint.
struct Systems {
    const Matrix& m;
    const std::vector<Recording>& systems;
    std::vector<const std::vector<MessageRow>*> logs;
    std::vector<std::vector<std::string>> earlier;
    std::vector<std::vector<std::vector<size_t>>> byPaint;
    Systems(const Matrix& m, const std::vector<Recording>& systems) : m(m), systems(systems) {
        for (const Recording& r : systems) {
            logs.push_back(r.logged ? &r.log : nullptr);
            earlier.push_back(html::EarlierPaths(r.rows));
            byPaint.push_back(html::ByPaint(logs.back(), r.rows.size()));
        }
    }
    // A paint's row in the grid, its cells lettered and coloured by group,
    // and its frames for the row below.
    std::string GridRow(const MatrixPaint& p, const std::string& id,
                        std::vector<Cell>& cells) const {
        const std::string name = "step " + std::to_string(p.step) + " " + Escape(p.action) +
                                 ", paint " + std::to_string(p.place);
        std::string grid =
            "<tr id=\"g" + id + "\"><th><a href=\"#p" + id + "\">" + name + "</a></th>";
        for (size_t k = 0; k < systems.size(); ++k) {
            const int row = p.rows[k];
            if (row < 0) {
                grid += "<td class=\"gn\">no paint</td>";
                continue;
            }
            const int g = p.group[k];
            grid += "<td class=\"g" + std::to_string(std::min(g, 6)) + "\"><a href=\"#p" + id +
                    "\">" + std::string(1, static_cast<char>('A' + std::min(g, 25))) + "</a></td>";
            const std::vector<MessageRow>* log = logs[k];
            cells[k] = {
                &systems[k].rows[row],
                &earlier[k][row],
                m.names[k],
                "m" + id + "-" + std::to_string(k + 1),
                log ? html::Messages(log, byPaint[k][row], row + 1, nullptr, m.names[k] + ": ")
                    : "",
                g ? Mark::Paint : Mark::None};
        }
        return grid + "</tr>";
    }
};

// The matrix page's top: the systems' facts, the answer, each system against
// the first, and the steps that differ.
std::string MatrixHeader(const Matrix& m, const std::vector<SystemFacts>& f,
                         const std::vector<std::string>& cutShort, size_t folded,
                         const std::string& steps, const std::string& note) {
    const size_t n = m.names.size();
    std::string header = "<h1>Paint transcripts of " + std::to_string(n) +
                         " systems compared</h1>" + html::FactsTable(m.names, f);
    header += NoteLines(FactDifferences(f, m.names), note);
    header += "<p><strong>" + Escape(m.Summary()) + "</strong>; the first is the reference";
    if (folded)
        header += "; " + std::to_string(folded) + (folded == 1 ? " paint" : " paints") +
                  " alike on every system not shown";
    header += "</p>";
    for (const std::string& line : m.AgainstFirst()) header += "<p>" + Escape(line) + "</p>";
    for (const std::string& line : m.ChangesBySystem()) header += "<p>" + Escape(line) + "</p>";
    for (size_t k = 0; k < n; ++k)
        header += html::CutShort(m.names[k] + " ", k < cutShort.size() ? cutShort[k] : "");
    if (!steps.empty())
        header += "<p>Steps that differ:" + steps +
                  "</p><p>A row a paint not alike on every system; in each, systems of one "
                  "letter and colour paint it alike, A as the first. A click on a row shows "
                  "its frames.</p>";
    return header;
}

constexpr size_t kPaintsNamed = 4;  // of a pattern's paints, linked by name

// One row for each pattern of difference (which systems paint a paint
// alike), the rarest first, so that a paint where few agree stands at the
// top: its paints linked to their frames, and each system's cell what it
// painted at the first of them.
std::string PatternTable(const Matrix& m, const std::vector<Recording>& systems) {
    std::vector<std::pair<std::vector<int>, std::vector<size_t>>> patterns;  // group, paints
    for (size_t i = 0; i < m.paints.size(); ++i) {
        const MatrixPaint& p = m.paints[i];
        if (p.Alike()) continue;
        std::vector<int> key = p.group;
        for (size_t k = 0; k < key.size(); ++k)
            if (p.rows[k] < 0) key[k] = -1;
        auto at = std::find_if(patterns.begin(), patterns.end(),
                               [&](const auto& known) { return known.first == key; });
        if (at == patterns.end()) at = patterns.insert(patterns.end(), {key, {}});
        at->second.push_back(i);
    }
    if (patterns.empty()) return "";
    std::stable_sort(patterns.begin(), patterns.end(), [](const auto& x, const auto& y) {
        return x.second.size() < y.second.size();
    });
    std::string out =
        "<table class=\"patterns\"><thead><tr><th>each pattern of difference, the "
        "rarest first</th>";
    for (const std::string& name : m.names) out += "<th>" + Escape(name) + "</th>";
    out += "</tr></thead><tbody>";
    for (const auto& [key, paints] : patterns) {
        std::string named;
        for (size_t j = 0; j < paints.size() && j < kPaintsNamed; ++j) {
            const MatrixPaint& p = m.paints[paints[j]];
            named += std::string(j ? ", " : ": ") + "<a href=\"#p" + std::to_string(paints[j] + 1) +
                     "\">step " + std::to_string(p.step) + " " + Escape(p.action) + ", paint " +
                     std::to_string(p.place) + "</a>";
        }
        if (paints.size() > kPaintsNamed)
            named += " and " + std::to_string(paints.size() - kPaintsNamed) + " more";
        out += "<tr><th>" + std::to_string(paints.size()) +
               (paints.size() == 1 ? " paint" : " paints") + named + "</th>";
        const MatrixPaint& first = m.paints[paints.front()];
        const std::string link = "<a href=\"#p" + std::to_string(paints.front() + 1) + "\">";
        for (size_t k = 0; k < key.size(); ++k) {
            if (key[k] < 0) {
                out += "<td class=\"gn\">no paint</td>";
                continue;
            }
            const PaintRow& row = systems[k].rows[static_cast<size_t>(first.rows[k])];
            out += "<td class=\"g" + std::to_string(std::min(key[k], 6)) + "\">" + link +
                   std::string(1, static_cast<char>('A' + std::min(key[k], 25))) + ": " +
                   Escape(row.region.empty() ? "an empty region" : RegionText(row.region)) +
                   "</a></td>";
        }
        out += "</tr>";
    }
    return out + "</tbody></table>";
}

}  // namespace

std::string HtmlMatrix(const Matrix& m, const std::vector<Recording>& systems,
                       const std::string& note) {
    const size_t n = systems.size();
    const Systems drawn(m, systems);
    std::vector<SystemFacts> facts;
    std::vector<std::string> cutShort;
    for (const Recording& r : systems) facts.push_back(r.facts), cutShort.push_back(r.cut);
    // The grid: a row a paint not alike everywhere, a cell a system, lettered
    // and coloured by its group; each row a click from its frames below.
    std::string grid = "<table class=\"grid\"><thead><tr><th>paint</th>";
    for (size_t k = 0; k < n; ++k) grid += "<th>" + Escape(m.names[k]) + "</th>";
    grid += "</tr></thead><tbody>";
    std::string rows, steps;
    int lastStep = -1;
    size_t folded = 0;
    for (size_t i = 0; i < m.paints.size(); ++i) {
        const MatrixPaint& p = m.paints[i];
        if (p.Alike()) {
            ++folded;
            continue;
        }
        const std::string id = std::to_string(i + 1);
        if (p.step != lastStep)
            steps += " <a href=\"#g" + id + "\">" + std::to_string(p.step) + "</a>";
        lastStep = p.step;
        std::vector<Cell> cells(n);
        grid += drawn.GridRow(p, id, cells);
        rows += Row("p" + id, "note", m.GroupText(p), cells);
    }
    grid += "</tbody></table>";
    return Page("matrix of " + std::to_string(n) + " systems",
                MatrixHeader(m, facts, cutShort, folded, steps, note),
                PatternTable(m, systems) + grid + rows, ".grid thead th");
}

}  // namespace transcript
