// One recording as a page: a frame a paint, drawn to scale.
#include "html_report.h"

#include <algorithm>
#include <cmath>

#include "html_parts.h"

namespace transcript {

namespace {

using html::Escape;
using html::ViewOf;

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

// Where a frame stands on the page; it maps list view pixels there as
// page x = left + view x * kScale, page y = top + view y * kScale.
struct FrameGeometry {
    int left = 0;
    int top = 0;
};

// A frame's room on the page: the list view at scale, and its caption.
int WidthOf(const PaintRow& row) {
    return std::max(kMinWidth, static_cast<int>(std::ceil(ViewOf(row).right * kScale)));
}
int HeightOf(const PaintRow& row) {
    return static_cast<int>(std::ceil(ViewOf(row).bottom * kScale)) + kCaption;
}

// One frame: the picture at half size, and its caption beneath.
std::string Frame(const PaintRow& row, const std::string& earlier, const FrameGeometry& at,
                  const std::string& id, const std::string& messages) {
    const std::string step = "step " + std::to_string(row.step) + " " + Escape(row.action);
    return "<figure id=\"" + id + "\" class=\"frame\" style=\"left:" + std::to_string(at.left) +
           "px;top:" + std::to_string(at.top) + "px;width:" + std::to_string(WidthOf(row)) +
           "px\" data-scale=\"" + kScaleText + "\">" + html::Picture(row, earlier, kScale) +
           "<figcaption><span title=\"" + step + "\">" + step + "</span>count " +
           std::to_string(row.count) + "<br>reported " + RegionText({row.reported}) + messages +
           "</figcaption></figure>\n";
}

const char kStyle[] = R"(
body { margin: 0; position: relative; font: 12px/16px sans-serif; color: #222; background: #fff; }
header { position: absolute; left: 16px; top: 0; right: 16px; height: 132px; overflow: hidden; }
h1 { font-size: 18px; margin: 12px 0 6px; }
header p { margin: 2px 0; }
.frame { position: absolute; margin: 0; }
.frame figcaption { height: 96px; overflow: hidden; overflow-wrap: anywhere; margin-top: 4px; }
.frame figcaption span { display: -webkit-box; -webkit-box-orient: vertical; -webkit-line-clamp: 3; overflow: hidden; }
.messages { position: absolute; left: 16px; right: 16px; }
.messages h2 { font-size: 15px; margin: 0 0 4px; }
.messages summary { cursor: pointer; }
.messages summary.md { color: #b00000; }
.log { margin: 2px 0; padding: 4px 8px 4px 40px; max-height: 360px; overflow: auto; border: 1px solid #888; font: 11px/14px monospace; }
)";

std::string Page(const std::string& title, const std::string& header, const std::string& body,
                 int width, int height) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" +
           Escape(title) + "</title>\n" + "<style>" + html::kPictureStyle + kStyle + "</style>\n" +
           "</head>\n<body style=\"width:" + std::to_string(width) +
           "px;height:" + std::to_string(height) + "px\">\n<header>" + header + "</header>\n" +
           body + "</body></html>\n";
}

// What the recording knows of its system, in a line.
std::string FactsLine(const SystemFacts* facts) {
    std::string line;
    for (const auto& [label, value] : facts ? FactList(*facts) : decltype(FactList({})){})
        line += (line.empty() ? "" : "; ") + label + ": " + value;
    return line.empty() ? "" : "<p class=\"facts\">" + Escape(line) + "</p>";
}

}  // namespace

std::string HtmlReport(const std::vector<PaintRow>& rows, const std::string& title,
                       const std::string& cutShort, const std::vector<MessageRow>* messages,
                       const SystemFacts* facts) {
    // Frames flow left to right in rows, each row as tall as its tallest.
    const std::vector<std::string> earlier = html::EarlierPaths(rows);
    const std::vector<std::vector<size_t>> byPaint = html::ByPaint(messages, rows.size());
    std::string body, lists;
    int x = kMargin, y = kHeader, rowHeight = 0, width = kPageWidth;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (x > kMargin && x + WidthOf(rows[i]) > kPageWidth - kMargin) {
            x = kMargin;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        // Each frame links to its messages, listed below all the frames: an
        // opened list there moves nothing over a frame.
        const std::string id = std::to_string(i + 1);
        std::string link;
        if (messages) {
            const size_t n = byPaint[i].size();
            link = "<br><a href=\"#m" + id + "\">" + std::to_string(n) +
                   (n == 1 ? " message" : " messages") + "</a>";
            lists += "<div id=\"m" + id + "\">" +
                     html::Messages(messages, byPaint[i], static_cast<int>(i + 1), nullptr,
                                    "step " + std::to_string(rows[i].step) + " " + rows[i].action +
                                        ", paint " + id + ": ") +
                     "</div>\n";
        }
        body += Frame(rows[i], earlier[i], {x, y}, "f" + id, link);
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
                               (messages ? "; under each, a link to the messages that led to it, "
                                           "listed below the frames"
                                         : "") +
                               ".</p>" + FactsLine(facts) + html::CutShort("", cutShort);
    const int bottom = y + rowHeight + kMargin;
    if (!lists.empty())
        body += "<section class=\"messages\" style=\"top:" + std::to_string(bottom) +
                "px\"><h2>Messages, a paint at a time</h2>\n" + lists + "</section>\n";
    return Page(title, header, body, width, bottom);
}

}  // namespace transcript
