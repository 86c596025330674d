// The pieces every page draws alike.
#include "html_parts.h"

#include <algorithm>
#include <cmath>

#include "coverage.h"
#include "message_decode.h"

namespace transcript::html {

namespace {

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

}  // namespace

const char kPictureStyle[] = R"(
.view { fill: #fff; stroke: #555; stroke-width: 1px; vector-effect: non-scaling-stroke; }
.earlier { fill: #000; fill-opacity: 0.12; }
.region.unseen { fill: #bbb; }
.reported { fill: none; stroke: #000; stroke-width: 2px; vector-effect: non-scaling-stroke; }
.frame svg { display: block; overflow: visible; }
.frame svg svg { overflow: hidden; }
.log li { white-space: pre-wrap; overflow-wrap: anywhere; }
.log .md { color: #b00000; font-weight: bold; }
.log .after { list-style: none; font-style: italic; }
.cut { color: #b00000; font-weight: bold; }
)";

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

std::vector<std::string> EarlierPaths(const std::vector<PaintRow>& rows) {
    std::vector<std::string> paths(rows.size());
    Coverage covered;
    for (size_t i = 0; i < rows.size(); ++i) {
        paths[i] = covered.Path();
        for (const Rect& r : rows[i].region) covered.Add(r);
    }
    return paths;
}

std::string Picture(const PaintRow& row, const std::string& earlier, double scale) {
    const Rect view = ViewOf(row);
    // Earlier paints only where the list view is now: an inner svg clips.
    const std::string clip = "<svg width=\"" + std::to_string(view.right) + "\" height=\"" +
                             std::to_string(view.bottom) + "\">";
    const int width = static_cast<int>(std::lround(view.right * scale));
    const int height = static_cast<int>(std::lround(view.bottom * scale));
    return "<svg width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\" viewBox=\"0 0 " + std::to_string(view.right) + " " + std::to_string(view.bottom) +
           "\">" + Rects({view}, "view", "") +
           (earlier.empty() ? "" : clip + "<path class=\"earlier\" d=\"" + earlier + "\"/></svg>") +
           Rects(row.region, row.colour.empty() ? "region unseen" : "region", row.colour) +
           Rects({row.reported}, "reported", "") + "</svg>";
}

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

std::string Messages(const std::vector<MessageRow>* log, const std::vector<size_t>& rows, int paint,
                     const std::vector<bool>* marked, const std::string& label) {
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
    return "<details><summary" + std::string(differing ? " class=\"md\"" : "") + ">" +
           Escape(label) + count + (differing ? ", " + std::to_string(differing) + " differ" : "") +
           "</summary>" + (items.empty() ? "" : "<ol class=\"log\">" + items + "</ol>") +
           "</details>";
}

std::string CutShort(const std::string& which, const std::string& why) {
    return why.empty() ? ""
                       : "<p class=\"cut\">" + Escape(which) + "cut short: " + Escape(why) + "</p>";
}

std::string FactsTable(const std::vector<std::string>& names,
                       const std::vector<SystemFacts>& facts) {
    std::vector<std::string> labels;
    for (const SystemFacts& f : facts)
        for (const auto& [label, value] : FactList(f))
            if (label != "system" && std::find(labels.begin(), labels.end(), label) == labels.end())
                labels.push_back(label);
    std::string out = "<table class=\"facts\"><tr><th>system</th>";
    for (const std::string& label : labels) out += "<th>" + Escape(label) + "</th>";
    out += "</tr>";
    for (size_t k = 0; k < facts.size() && k < names.size(); ++k) {
        out += "<tr><th>" + Escape(names[k]) + "</th>";
        const auto mine = FactList(facts[k]), first = FactList(facts[0]);
        for (const std::string& label : labels) {
            std::string value, reference;
            for (const auto& [l, v] : mine) value = l == label ? v : value;
            for (const auto& [l, v] : first) reference = l == label ? v : reference;
            const bool differs =
                k > 0 && !value.empty() && !reference.empty() && value != reference;
            out += std::string(differs ? "<td class=\"fd\">" : "<td>") +
                   (value.empty() ? "not recorded" : Escape(value)) + "</td>";
        }
        out += "</tr>";
    }
    return out + "</table>";
}

}  // namespace transcript::html
