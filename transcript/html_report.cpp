#include "html_report.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace transcript {

namespace {

// The page's fixed geometry, in CSS pixels: every frame has its own place,
// so that the page looks the same in every browser.
constexpr int kMargin = 16;
constexpr int kHeader = 132;    // title, files, summary, links to the paints that differ
constexpr double kScale = 0.5;  // every frame at half size, so that sizes compare
constexpr int kCaption = 64;
constexpr int kGap = 16;
constexpr int kPageWidth = 1200;  // frames flow in rows as wide as this
constexpr int kMinWidth = 150;    // room for a caption beside a narrow frame

// Where a frame stands on the page and how it maps list view pixels there:
// page x = left + view x * scale, page y = top + view y * scale.
struct FrameGeometry {
    int left = 0;
    int top = 0;
    double scale = 1;
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
// record it, what the paint itself reached.
Rect ViewOf(const PaintRow& row) {
    if (row.viewWidth > 0 && row.viewHeight > 0) return {0, 0, row.viewWidth, row.viewHeight};
    Rect extent = {0, 0, std::max(row.reported.right, 1), std::max(row.reported.bottom, 1)};
    for (const Rect& r : row.region)
        extent = {0, 0, std::max(extent.right, r.right), std::max(extent.bottom, r.bottom)};
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
    for (const Rect& r : rects)
        out += "<rect class=\"" + std::string(cls) + "\" x=\"" + std::to_string(r.left) +
               "\" y=\"" + std::to_string(r.top) + "\" width=\"" +
               std::to_string(r.right - r.left) + "\" height=\"" +
               std::to_string(r.bottom - r.top) + "\"" +
               (fill.empty() ? "" : " fill=\"" + fill + "\"") + "/>";
    return out;
}

// How strongly a frame of a comparison is marked: a paint that differs
// strongly, one whose window frame alone differs lightly.
enum class Mark { None, Frame, Paint };

// One frame on one line: the list view, earlier paints faintly, this
// paint's region in its colour, the reported rectangle outlined.
std::string Frame(const std::vector<PaintRow>& rows, size_t i, const FrameGeometry& at,
                  const std::string& id, Mark mark) {
    const PaintRow& row = rows[i];
    const Rect view = ViewOf(row);
    std::string earlier;
    for (size_t k = 0; k < i; ++k)
        for (const Rect& r : rows[k].region)
            earlier += "M" + std::to_string(r.left) + " " + std::to_string(r.top) + "H" +
                       std::to_string(r.right) + "V" + std::to_string(r.bottom) + "H" +
                       std::to_string(r.left) + "Z";
    // Earlier paints only where the list view is now: an inner svg clips.
    const std::string clip = "<svg width=\"" + std::to_string(view.right) + "\" height=\"" +
                             std::to_string(view.bottom) + "\">";
    const int width = static_cast<int>(std::lround(view.right * at.scale));
    const int height = static_cast<int>(std::lround(view.bottom * at.scale));
    std::ostringstream out;
    const char* cls[] = {"frame", "frame frame-differs", "frame differs"};
    out << "<figure id=\"" << id << "\" class=\"" << cls[static_cast<int>(mark)]
        << "\" style=\"left:" << at.left << "px;top:" << at.top << "px\" data-scale=\"" << at.scale
        << "\"><svg width=\"" << width << "\" height=\"" << height << "\" viewBox=\"0 0 "
        << view.right << " " << view.bottom << "\">" << Rects({view}, "view", "")
        << (earlier.empty() ? "" : clip + "<path class=\"earlier\" d=\"" + earlier + "\"/></svg>")
        << Rects(row.region, row.colour.empty() ? "region unseen" : "region", row.colour)
        << Rects({row.reported}, "reported", "") << "</svg><figcaption>step " << row.step << " "
        << Escape(row.action) << "<br>count " << row.count << "<br>reported "
        << RegionText({row.reported}) << "</figcaption></figure>\n";
    return out.str();
}

const char kStyle[] = R"(<style>
body { margin: 0; position: relative; font: 12px/16px sans-serif; color: #222; background: #fff; }
header { position: absolute; left: 16px; top: 0; right: 16px; height: 132px; overflow: hidden; }
h1 { font-size: 18px; margin: 12px 0 6px; }
header p { margin: 2px 0; }
.frame, .note { position: absolute; margin: 0; }
.frame svg { display: block; overflow: visible; }
.frame svg svg { overflow: hidden; }
.frame figcaption { height: 48px; overflow: hidden; white-space: nowrap; margin-top: 4px; }
.view { fill: #fff; stroke: #555; stroke-width: 1px; vector-effect: non-scaling-stroke; }
.earlier { fill: #000; fill-opacity: 0.12; }
.region.unseen { fill: #bbb; }
.reported { fill: none; stroke: #000; stroke-width: 2px; vector-effect: non-scaling-stroke; }
.differs figcaption, .note { color: #b00000; }
.differs svg { outline: 3px solid #d00000; outline-offset: 3px; }
.frame-differs svg { outline: 1px dashed #d08000; outline-offset: 3px; }
.note.frame-only { color: #8a6000; }
.note { width: 300px; white-space: normal; }
.same { color: #006400; }
</style>
)";

std::string Note(int left, int top, const char* cls, const std::string& text) {
    return "<p class=\"" + std::string(cls) + "\" style=\"left:" + std::to_string(left) +
           "px;top:" + std::to_string(top) + "px\">" + Escape(text) + "</p>\n";
}

std::string Page(const std::string& title, const std::string& header, const std::string& body,
                 int width, int height) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
           Escape(title) + "</title>\n" + kStyle +
           "</head>\n<body style=\"width:" + std::to_string(width) +
           "px;height:" + std::to_string(height) + "px\">\n<header>" + header + "</header>\n" +
           body + "</body></html>\n";
}

}  // namespace

std::string HtmlReport(const std::vector<PaintRow>& rows, const std::string& title) {
    // Frames flow left to right in rows, each row as tall as its tallest.
    std::string body;
    int x = kMargin, y = kHeader, rowHeight = 0, width = kPageWidth;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (x > kMargin && x + WidthOf(rows[i]) > kPageWidth - kMargin) {
            x = kMargin;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        body += Frame(rows, i, {x, y, kScale}, "f" + std::to_string(i + 1), Mark::None);
        x += WidthOf(rows[i]) + kGap;
        width = std::max(width, x + kMargin);
        rowHeight = std::max(rowHeight, HeightOf(rows[i]));
    }
    const std::string header = "<h1>Paint transcript: " + Escape(title) + "</h1><p>" +
                               std::to_string(rows.size()) +
                               " paints of the list view, one frame each, at half size: the list "
                               "view's client area, what earlier paints covered (grey), this "
                               "paint's update region in the colour it was filled with, and the "
                               "rectangle the program reported (black outline).</p>";
    return Page(title, header, body, width, y + rowHeight + kMargin);
}

std::string HtmlComparison(const std::vector<PaintRow>& a, const std::string& nameA,
                           const std::vector<PaintRow>& b, const std::string& nameB) {
    // One row per aligned paint: A's frame, B's beside it, then what differs.
    int widthA = kMinWidth, widthB = kMinWidth;
    for (const PaintRow& row : a) widthA = std::max(widthA, WidthOf(row));
    for (const PaintRow& row : b) widthB = std::max(widthB, WidthOf(row));
    const int xB = kMargin + widthA + kGap, xNote = xB + widthB + kGap;
    const Comparison c = CompareSystems(a, b);
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
            body += Frame(a, p.a, {kMargin, y, kScale}, "a" + id, mark);
            height = HeightOf(a[p.a]);
        }
        if (p.b >= 0) {
            body += Frame(b, p.b, {xB, y, kScale}, "b" + id, mark);
            height = std::max(height, HeightOf(b[p.b]));
        }
        const std::string where =
            "step " + std::to_string(p.step) + ", paint " + std::to_string(p.place) + ": ";
        if (mark == Mark::Paint)
            body += Note(xNote, y, "note",
                         where + p.paint + (p.frame.empty() ? "" : "; frame: " + p.frame));
        else if (mark == Mark::Frame)
            body += Note(xNote, y, "note frame-only", where + "frame only: " + p.frame);
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
        "<h1>Paint transcripts compared</h1><p>left (A): " + Escape(nameA) + " (" +
        std::to_string(a.size()) + " paints); right (B): " + Escape(nameB) + " (" +
        std::to_string(b.size()) + " paints), aligned step by step</p><p class=\"" +
        (c.PaintsAgree() ? "same" : "count") + "\"><strong>" + Escape(c.PaintSummary()) +
        "</strong></p><p class=\"frames\">" + Escape(c.FrameSummary()) +
        " (counts and colours are not compared)</p>" +
        (links.empty() ? "" : "<p>Paints that differ: " + links + "</p>");
    return Page(nameA + " / " + nameB, header, body, xNote + 300 + kMargin, y + kMargin);
}

}  // namespace transcript
