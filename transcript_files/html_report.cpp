#include "html_report.h"

#include <algorithm>
#include <cmath>

#include "coverage.h"

namespace transcript {

namespace {

// The page's fixed geometry, in CSS pixels: every frame has its own place,
// so that the page looks the same in every browser.
constexpr int kMargin = 16;
constexpr int kHeader = 132;    // title, files, summary, links to the paints that differ
constexpr double kScale = 0.5;  // every frame at half size, so that sizes compare
const char kScaleText[] = "0.5";
constexpr int kCaption = 104;  // six lines of 16 pixels and margins: a step name takes up to three
constexpr int kGap = 16;
constexpr int kPageWidth = 1200;  // frames flow in rows as wide as this
constexpr int kMinWidth = 150;    // room for a caption under a narrow frame
constexpr int kNoteWidth = 300;   // the column of what differs, left of the frames

// Where a frame stands on the page; it maps list view pixels there as
// page x = left + view x * kScale, page y = top + view y * kScale.
struct FrameGeometry {
    int left = 0;
    int top = 0;
};

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

// The list view's client area at this paint; for transcripts that do not
// record it, what the paint itself reached. Kept to a size a page can hold,
// whatever a file says.
constexpr int32_t kLargestView = 20000;
Rect ViewOf(const PaintRow& row) {
    Rect extent = {0, 0, row.viewWidth, row.viewHeight};
    if (row.viewWidth <= 0 || row.viewHeight <= 0) {
        extent = {0, 0, std::max(row.reported.right, 1), std::max(row.reported.bottom, 1)};
        for (const Rect& r : row.region)
            extent = {0, 0, std::max(extent.right, r.right), std::max(extent.bottom, r.bottom)};
    }
    extent.right = std::min(extent.right, kLargestView);
    extent.bottom = std::min(extent.bottom, kLargestView);
    return extent;
}

// A frame's room on the page: the list view at scale, and its caption.
int WidthOf(const PaintRow& row) {
    return std::max(kMinWidth, static_cast<int>(std::ceil(ViewOf(row).right * kScale)));
}
int HeightOf(const PaintRow& row) {
    return static_cast<int>(std::ceil(ViewOf(row).bottom * kScale)) + kCaption;
}

std::string Rects(const std::vector<Rect>& rects, const char* cls, const std::string& fill) {
    std::string out;
    for (const Rect& r : rects) {
        const int64_t width = std::max<int64_t>(0, int64_t{r.right} - r.left);
        const int64_t height = std::max<int64_t>(0, int64_t{r.bottom} - r.top);
        out += "<rect class=\"" + std::string(cls) + "\" x=\"" + std::to_string(r.left) +
               "\" y=\"" + std::to_string(r.top) + "\" width=\"" + std::to_string(width) +
               "\" height=\"" + std::to_string(height) + "\"" +
               (fill.empty() ? "" : " fill=\"" + fill + "\"") + "/>";
    }
    return out;
}

// For each row, the path of what the rows before it covered.
std::vector<std::string> EarlierPaths(const std::vector<PaintRow>& rows) {
    std::vector<std::string> paths(rows.size());
    Coverage covered;
    for (size_t i = 0; i < rows.size(); ++i) {
        paths[i] = covered.Path();
        for (const Rect& r : rows[i].region) covered.Add(r);
    }
    return paths;
}

// How strongly a frame of a comparison is marked: a paint that differs
// strongly, one whose window frame alone differs lightly.
enum class Mark { None, Frame, Paint };

// One frame: the list view, what earlier paints covered faintly, this
// paint's region in its colour, the reported rectangle outlined.
std::string Frame(const PaintRow& row, const std::string& earlier, const FrameGeometry& at,
                  const std::string& id, Mark mark, const std::string& messages) {
    const Rect view = ViewOf(row);
    // Earlier paints only where the list view is now: an inner svg clips.
    const std::string clip = "<svg width=\"" + std::to_string(view.right) + "\" height=\"" +
                             std::to_string(view.bottom) + "\">";
    const int width = static_cast<int>(std::lround(view.right * kScale));
    const int height = static_cast<int>(std::lround(view.bottom * kScale));
    const char* cls[] = {"frame", "frame frame-differs", "frame differs"};
    const std::string step = "step " + std::to_string(row.step) + " " + Escape(row.action);
    return "<figure id=\"" + id + "\" class=\"" + cls[static_cast<int>(mark)] +
           "\" style=\"left:" + std::to_string(at.left) + "px;top:" + std::to_string(at.top) +
           "px;width:" + std::to_string(WidthOf(row)) + "px\" data-scale=\"" + kScaleText +
           "\"><svg width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\" viewBox=\"0 0 " + std::to_string(view.right) + " " + std::to_string(view.bottom) +
           "\">" + Rects({view}, "view", "") +
           (earlier.empty() ? "" : clip + "<path class=\"earlier\" d=\"" + earlier + "\"/></svg>") +
           Rects(row.region, row.colour.empty() ? "region unseen" : "region", row.colour) +
           Rects({row.reported}, "reported", "") + "</svg><figcaption><span title=\"" + step +
           "\">" + step + "</span>count " + std::to_string(row.count) + "<br>reported " +
           RegionText({row.reported}) + messages + "</figcaption></figure>\n";
}

// The messages of each paint, by its place in the rows: those that led to
// it and those of its handling; what came after the last paint goes with it.
std::vector<std::vector<size_t>> ByPaint(const std::vector<MessageRow>* log, size_t paints) {
    std::vector<std::vector<size_t>> out(paints);
    if (!log || !paints) return out;
    for (size_t i = 0; i < log->size(); ++i) {
        const int paint = (*log)[i].paint;
        out[paint >= 1 && static_cast<size_t>(paint) <= paints ? paint - 1 : paints - 1].push_back(
            i);
    }
    return out;
}

// A frame's messages, folded: those not alike on the other side marked.
std::string Messages(const std::vector<MessageRow>* log, const std::vector<size_t>& rows, int paint,
                     const std::vector<bool>* marked) {
    if (!log) return "";
    std::string items;
    int differing = 0;
    bool after = false;
    for (size_t i : rows) {
        const MessageRow& m = (*log)[i];
        if (!after && m.paint > paint) {
            items += "<li class=\"after\">after the last paint:</li>";
            after = true;
        }
        const bool md = marked && i < marked->size() && (*marked)[i];
        differing += md;
        items += std::string(md ? "<li class=\"md\">" : "<li>") + Escape(MessageLine(m)) + "</li>";
    }
    const std::string count =
        std::to_string(rows.size()) + (rows.size() == 1 ? " message" : " messages");
    return "<details><summary" + std::string(differing ? " class=\"md\"" : "") + ">" + count +
           (differing ? ", " + std::to_string(differing) + " differ" : "") + "</summary>" +
           (items.empty() ? "" : "<ol class=\"log\">" + items + "</ol>") + "</details>";
}

const char kStyle[] = R"(<style>
body { margin: 0; position: relative; font: 12px/16px sans-serif; color: #222; background: #fff; }
header { position: absolute; left: 16px; top: 0; right: 16px; height: 132px; overflow: hidden; }
h1 { font-size: 18px; margin: 12px 0 6px; }
header p { margin: 2px 0; }
.frame, .note { position: absolute; margin: 0; }
.frame svg { display: block; overflow: visible; }
.frame svg svg { overflow: hidden; }
.frame figcaption { height: 96px; overflow: hidden; overflow-wrap: anywhere; margin-top: 4px; }
.frame figcaption span { display: -webkit-box; -webkit-box-orient: vertical; -webkit-line-clamp: 3; overflow: hidden; }
.view { fill: #fff; stroke: #555; stroke-width: 1px; vector-effect: non-scaling-stroke; }
.earlier { fill: #000; fill-opacity: 0.12; }
.region.unseen { fill: #bbb; }
.reported { fill: none; stroke: #000; stroke-width: 2px; vector-effect: non-scaling-stroke; }
.differs figcaption, .note { color: #b00000; }
.differs > svg { outline: 3px solid #d00000; outline-offset: 3px; }
.frame-differs > svg { outline: 1px dashed #d08000; outline-offset: 3px; }
.note.frame-only { color: #8a6000; }
.note { width: 300px; white-space: normal; overflow-wrap: anywhere; overflow-y: auto; }
.same { color: #006400; }
.column { position: absolute; margin: 0; font-weight: bold; }
.frame details { margin-top: 0; }
.frame summary { cursor: pointer; white-space: nowrap; overflow: hidden; text-overflow: ellipsis; }
.frame summary.md { color: #b00000; }
.log { position: absolute; z-index: 2; margin: 0; padding: 4px 8px 4px 40px; width: 640px; max-height: 360px; overflow: auto; background: #fff; border: 1px solid #888; font: 11px/14px monospace; color: #222; }
.log li { white-space: pre-wrap; overflow-wrap: anywhere; }
.log .md { color: #b00000; font-weight: bold; }
.log .after { list-style: none; font-style: italic; }
.cut { color: #b00000; font-weight: bold; }
</style>
)";

// A note as tall as its row at most: a long one scrolls within it.
std::string Note(int left, int top, int height, const char* cls, const std::string& text) {
    return "<p class=\"" + std::string(cls) + "\" style=\"left:" + std::to_string(left) +
           "px;top:" + std::to_string(top) + "px;max-height:" + std::to_string(height) + "px\">" +
           Escape(text) + "</p>\n";
}

std::string Page(const std::string& title, const std::string& header, const std::string& body,
                 int width, int height) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
           Escape(title) + "</title>\n" + kStyle +
           "</head>\n<body style=\"width:" + std::to_string(width) +
           "px;height:" + std::to_string(height) + "px\">\n<header>" + header + "</header>\n" +
           body + "</body></html>\n";
}

// A recording that ended before its scenario did, said at the top.
std::string CutShort(const std::string& which, const std::string& why) {
    return why.empty() ? ""
                       : "<p class=\"cut\">" + Escape(which) + "cut short: " + Escape(why) + "</p>";
}

}  // namespace

std::string HtmlReport(const std::vector<PaintRow>& rows, const std::string& title,
                       const std::string& cutShort, const std::vector<MessageRow>* messages) {
    // Frames flow left to right in rows, each row as tall as its tallest.
    const std::vector<std::string> earlier = EarlierPaths(rows);
    const std::vector<std::vector<size_t>> byPaint = ByPaint(messages, rows.size());
    std::string body;
    int x = kMargin, y = kHeader, rowHeight = 0, width = kPageWidth;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (x > kMargin && x + WidthOf(rows[i]) > kPageWidth - kMargin) {
            x = kMargin;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        body += Frame(rows[i], earlier[i], {x, y}, "f" + std::to_string(i + 1), Mark::None,
                      Messages(messages, byPaint[i], static_cast<int>(i + 1), nullptr));
        x += WidthOf(rows[i]) + kGap;
        width = std::max(width, x + kMargin);
        rowHeight = std::max(rowHeight, HeightOf(rows[i]));
    }
    const std::string header = "<h1>Paint transcript: " + Escape(title) + "</h1><p>" +
                               std::to_string(rows.size()) +
                               " paints of the list view, one frame each, at half size: the list "
                               "view's client area, what earlier paints covered (grey; the "
                               "first frame has none before it), this "
                               "paint's update region in the colour it was filled with, and the "
                               "rectangle the program reported (black outline)" +
                               (messages ? "; under each, the messages that led to it" : "") +
                               ".</p>" + CutShort("", cutShort);
    return Page(title, header, body, width, y + rowHeight + kMargin);
}

std::string HtmlComparison(const std::vector<PaintRow>& a, const std::string& nameA,
                           const std::vector<PaintRow>& b, const std::string& nameB,
                           const std::string& cutShortA, const std::string& cutShortB,
                           const std::vector<MessageRow>* messagesA,
                           const std::vector<MessageRow>* messagesB) {
    // One row per aligned paint: what differs, A's frame, B's beside it. The
    // notes come first, so that they stand in view however wide the frames.
    const Comparison c = CompareSystems(a, b);
    const bool logs = messagesA && messagesB;
    const MessageComparison mc =
        logs ? CompareMessages(*messagesA, *messagesB) : MessageComparison();
    const std::vector<std::vector<size_t>> byPaintA = ByPaint(logs ? messagesA : nullptr, a.size());
    const std::vector<std::vector<size_t>> byPaintB = ByPaint(logs ? messagesB : nullptr, b.size());
    bool notes = !mc.differing.empty();
    for (const AlignedPaint& p : c.paints) notes = notes || !p.paint.empty() || !p.frame.empty();
    int widthA = kMinWidth, widthB = kMinWidth;
    for (const PaintRow& row : a) widthA = std::max(widthA, WidthOf(row));
    for (const PaintRow& row : b) widthB = std::max(widthB, WidthOf(row));
    const int xNote = kMargin, xA = kMargin + (notes ? kNoteWidth + kGap : 0);
    const int xB = xA + widthA + kGap;
    const std::vector<std::string> earlierA = EarlierPaths(a), earlierB = EarlierPaths(b);
    std::string body;
    int y = kHeader;
    for (size_t i = 0; i < c.paints.size(); ++i) {
        const AlignedPaint& p = c.paints[i];
        const std::string id = std::to_string(i + 1);
        const Mark mark = !p.paint.empty()   ? Mark::Paint
                          : !p.frame.empty() ? Mark::Frame
                                             : Mark::None;
        int height = 0;
        if (p.a >= 0) {
            body +=
                Frame(a[p.a], earlierA[p.a], {xA, y}, "a" + id, mark,
                      Messages(logs ? messagesA : nullptr, byPaintA[p.a], p.a + 1, &mc.markedA));
            height = HeightOf(a[p.a]);
        }
        if (p.b >= 0) {
            body +=
                Frame(b[p.b], earlierB[p.b], {xB, y}, "b" + id, mark,
                      Messages(logs ? messagesB : nullptr, byPaintB[p.b], p.b + 1, &mc.markedB));
            height = std::max(height, HeightOf(b[p.b]));
        }
        const std::string where =
            "step " + std::to_string(p.step) + ", paint " + std::to_string(p.place) + ": ";
        // A step's first differing message, beside its first paint.
        const StepMessages* step = p.place == 1 ? mc.Step(p.step) : nullptr;
        const std::string message = step ? "messages: " + step->first : "";
        if (mark == Mark::Paint)
            body += Note(xNote, y, height, "note",
                         where + p.paint + (p.frame.empty() ? "" : "; frame: " + p.frame) +
                             (step ? "; " + message : ""));
        else if (mark == Mark::Frame)
            body += Note(xNote, y, height, "note frame-only",
                         where + "frame only: " + p.frame + (step ? "; " + message : ""));
        else if (step)
            body += Note(xNote, y, height, "note", where + message);
        y += height + kGap;
    }
    // Where the paints that differ are, the first few of them.
    constexpr int kLinks = 8;
    std::string links;
    int differing = 0;
    for (size_t i = 0; i < c.paints.size(); ++i) {
        const AlignedPaint& p = c.paints[i];
        if (p.paint.empty() || ++differing > kLinks) continue;
        links += std::string(links.empty() ? "" : ", ") + "<a href=\"#" + (p.a >= 0 ? "a" : "b") +
                 std::to_string(i + 1) + "\">step " + std::to_string(p.step) + " " +
                 Escape(p.action) + ", paint " + std::to_string(p.place) + "</a>";
    }
    if (differing > kLinks) links += " and " + std::to_string(differing - kLinks) + " more";
    const std::string header =
        std::string("<h1>Paint transcripts compared</h1><p>") +
        (notes ? "what differs, then " : "") + "A: " + Escape(nameA) + " (" +
        std::to_string(a.size()) + " paints), and beside it B: " + Escape(nameB) + " (" +
        std::to_string(b.size()) + " paints), aligned step by step</p><p class=\"" +
        (c.PaintsAgree() ? "same" : "count") + "\"><strong>" + Escape(c.PaintSummary()) +
        "</strong></p><p class=\"frames\">" + Escape(c.FrameSummary()) +
        " (counts and colours are not compared)" +
        (logs ? "; " + Escape(mc.Summary()) : std::string()) + "</p>" +
        (links.empty() ? "" : "<p>Paints that differ: " + links + "</p>") +
        CutShort("A ", cutShortA) + CutShort("B ", cutShortB);
    return Page(nameA + " / " + nameB, header, body, xB + widthB + kMargin, y + kMargin);
}

std::string HtmlMatrix(const Matrix& m, const std::vector<std::vector<PaintRow>>& systems,
                       const std::vector<std::string>& cutShort,
                       const std::vector<const std::vector<MessageRow>*>& logs) {
    const size_t n = systems.size();
    std::vector<int> x(n);
    std::vector<std::vector<std::string>> earlier(n);
    std::vector<std::vector<std::vector<size_t>>> byPaint(n);
    int left = kMargin + kNoteWidth + kGap;
    for (size_t k = 0; k < n; ++k) {
        int width = kMinWidth;
        for (const PaintRow& row : systems[k]) width = std::max(width, WidthOf(row));
        x[k] = left;
        left += width + kGap;
        earlier[k] = EarlierPaths(systems[k]);
        byPaint[k] = ByPaint(k < logs.size() ? logs[k] : nullptr, systems[k].size());
    }
    std::string body;
    int y = kHeader + 16 * static_cast<int>(n);
    size_t folded = 0;
    auto fold = [&] {  // the paints alike everywhere just passed, as a count
        if (!folded) return;
        body += Note(kMargin, y, 16, "note same",
                     std::to_string(folded) + (folded == 1 ? " paint" : " paints") +
                         " alike on every system");
        y += 16 + kGap;
        folded = 0;
    };
    for (size_t i = 0; i < m.paints.size(); ++i) {
        const MatrixPaint& p = m.paints[i];
        if (p.Alike()) {
            ++folded;
            continue;
        }
        fold();
        int height = 16;
        for (size_t k = 0; k < n; ++k) {
            if (p.rows[k] < 0) continue;
            const PaintRow& row = systems[k][p.rows[k]];
            body += Frame(row, earlier[k][p.rows[k]], {x[k], y},
                          "m" + std::to_string(i + 1) + "-" + std::to_string(k + 1),
                          p.group[k] ? Mark::Paint : Mark::None,
                          Messages(k < logs.size() ? logs[k] : nullptr, byPaint[k][p.rows[k]],
                                   p.rows[k] + 1, nullptr));
            height = std::max(height, HeightOf(row));
        }
        body += Note(kMargin, y, height, "note", m.GroupText(p));
        y += height + kGap;
    }
    fold();
    std::string header = "<h1>Paint transcripts of " + std::to_string(n) +
                         " systems compared</h1><p><strong>" + Escape(m.Summary()) +
                         "</strong>; the first is the reference; a column a system, a row a "
                         "paint not alike on all of them, those unlike the reference's "
                         "outlined</p>";
    for (const std::string& line : m.AgainstFirst()) header += "<p>" + Escape(line) + "</p>";
    for (size_t k = 0; k < n; ++k)
        header += CutShort(m.names[k] + " ", k < cutShort.size() ? cutShort[k] : "");
    std::string names;
    for (size_t k = 0; k < n; ++k)
        names += "<p class=\"column\" style=\"left:" + std::to_string(x[k]) +
                 "px;top:" + std::to_string(kHeader + 16 * static_cast<int>(n) - 20) +
                 "px;max-height:16px\">" + Escape(m.names[k]) + "</p>";
    return Page("matrix", header, names + body, left + kMargin, y + kMargin);
}

}  // namespace transcript
