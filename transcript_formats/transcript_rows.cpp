// Paint rows read and printed: the fields a paint is shown in, a table.
#include "transcript_rows.h"

#include <algorithm>

#include "text_fields.h"

namespace transcript {

bool PaintRow::operator==(const PaintRow& o) const {
    return step == o.step && action == o.action && outerWidth == o.outerWidth &&
           outerHeight == o.outerHeight && clientWidth == o.clientWidth &&
           clientHeight == o.clientHeight && count == o.count && reported == o.reported &&
           region == o.region && colour == o.colour && viewWidth == o.viewWidth &&
           viewHeight == o.viewHeight;
}

std::string ColourText(int32_t colorref) {
    if (colorref < 0) return "";
    std::string text = "#";
    for (int shift : {0, 8, 16})  // red, green, blue
        text += HexDigits(colorref >> shift & 0xFF, 2);
    return text;
}

namespace {

bool TakePrefixed(const std::string& line, const std::string& prefix, int32_t& value) {
    return line.compare(0, prefix.size(), prefix) == 0 &&
           ParseInt(line.substr(prefix.size()), value);
}

}  // namespace

bool ParseReport(const std::string& text, Rect& rect) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines.size() == 4 && TakePrefixed(lines[0], "Left: ", rect.left) &&
           TakePrefixed(lines[1], "Top: ", rect.top) &&
           TakePrefixed(lines[2], "Right: ", rect.right) &&
           TakePrefixed(lines[3], "Bottom: ", rect.bottom);
}

bool ParseCount(const std::string& text, int& count) {
    int32_t value = 0;
    if (!TakePrefixed(text, "WM_PAINT Count: ", value) || value < 1 || value > 9999) return false;
    count = value;
    return true;
}

std::string RegionText(const std::vector<Rect>& region) {
    std::string out;
    for (const Rect& r : region) out += (out.empty() ? "" : " ") + RectText(r);
    return out;
}

std::string RegionField(const std::vector<Rect>& region) {
    std::string out;
    for (const Rect& r : region) out += (out.empty() ? "[" : " [") + RectText(r) + "]";
    return out;
}

bool ParseRegion(const std::string& text, std::vector<Rect>& region) {
    region.clear();
    if (text.empty()) return true;
    const bool bracketed = text[0] == '[';
    for (std::string part : Split(text, ' ')) {
        if (bracketed) {
            if (part.size() < 2 || part.front() != '[' || part.back() != ']') return false;
            part = part.substr(1, part.size() - 2);
        }
        const std::vector<std::string> n = Split(part, ',');
        Rect r;
        if (n.size() != 4 || !ParseInt(n[0], r.left) || !ParseInt(n[1], r.top) ||
            !ParseInt(n[2], r.right) || !ParseInt(n[3], r.bottom))
            return false;
        region.push_back(r);
    }
    return true;
}

std::string FormatTable(const std::vector<PaintRow>& rows) {
    std::vector<std::vector<std::string>> cells = {{"step", "action", "outer", "client", "count",
                                                    "left", "top", "right", "bottom", "colour",
                                                    "update region"}};
    for (const PaintRow& r : rows) {
        cells.push_back({std::to_string(r.step), r.action,
                         std::to_string(r.outerWidth) + "x" + std::to_string(r.outerHeight),
                         std::to_string(r.clientWidth) + "x" + std::to_string(r.clientHeight),
                         std::to_string(r.count), std::to_string(r.reported.left),
                         std::to_string(r.reported.top), std::to_string(r.reported.right),
                         std::to_string(r.reported.bottom), r.colour, RegionText(r.region)});
    }
    std::vector<size_t> widths(cells[0].size(), 0);
    for (const auto& line : cells)
        for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
    std::string out;
    for (const auto& line : cells) {
        std::string text;
        for (size_t i = 0; i < line.size(); ++i) {
            const bool numeric = i == 0 || (i >= 4 && i <= 8);
            const std::string pad(widths[i] - line[i].size(), ' ');
            if (i > 0) text += "  ";
            text += numeric ? pad + line[i] : (i + 1 < line.size() ? line[i] + pad : line[i]);
        }
        out += text + "\n";
    }
    return out;
}

bool HasStart(const std::vector<PaintRow>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const PaintRow& r) { return r.step == 0; });
}

int DropStart(std::vector<PaintRow>& rows) {
    const size_t before = rows.size();
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [](const PaintRow& r) { return r.step == 0; }),
        rows.end());
    return static_cast<int>(before - rows.size());
}

}  // namespace transcript
