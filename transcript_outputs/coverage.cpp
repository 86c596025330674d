// The area a run of rectangles covers together, kept as bands of spans.
#include "coverage.h"

#include <algorithm>

namespace transcript {

Coverage::Spans Coverage::Merged(Spans spans, int32_t left, int32_t right) {
    Spans out;
    out.reserve(spans.size() + 1);
    bool placed = false;
    for (const auto& s : spans) {
        if (s.second < left) {  // wholly before, not touching
            out.push_back(s);
        } else if (s.first > right) {  // wholly after
            if (!placed) out.push_back({left, right}), placed = true;
            out.push_back(s);
        } else {  // overlapping or touching: one span
            left = std::min(left, s.first);
            right = std::max(right, s.second);
        }
    }
    if (!placed) out.push_back({left, right});
    return out;
}

void Coverage::Add(const Rect& r) {
    if (r.left >= r.right || r.top >= r.bottom) return;
    std::vector<Band> out;
    out.reserve(bands_.size() + 3);
    const Spans alone = {{r.left, r.right}};
    int32_t y = r.top;  // where the rectangle is not yet placed from
    for (Band& b : bands_) {
        if (b.bottom <= r.top) {
            out.push_back(std::move(b));
            continue;
        }
        if (b.top >= r.bottom) {
            if (y < r.bottom) out.push_back({y, r.bottom, alone}), y = r.bottom;
            out.push_back(std::move(b));
            continue;
        }
        if (b.top > y) out.push_back({y, b.top, alone});
        if (b.top < r.top) out.push_back({b.top, r.top, b.spans});
        const int32_t top = std::max(b.top, r.top), bottom = std::min(b.bottom, r.bottom);
        out.push_back({top, bottom, Merged(b.spans, r.left, r.right)});
        if (b.bottom > r.bottom) out.push_back({r.bottom, b.bottom, std::move(b.spans)});
        y = bottom;
    }
    if (y < r.bottom) out.push_back({y, r.bottom, alone});
    // Bands that meet and hold the same spans are one.
    bands_.clear();
    for (Band& b : out) {
        if (!bands_.empty() && bands_.back().bottom == b.top && bands_.back().spans == b.spans)
            bands_.back().bottom = b.bottom;
        else
            bands_.push_back(std::move(b));
    }
}

std::vector<Rect> Coverage::Rects() const {
    std::vector<Rect> out;
    for (const Band& b : bands_)
        for (const auto& s : b.spans) out.push_back({s.first, b.top, s.second, b.bottom});
    return out;
}

std::string Coverage::Path() const {
    std::string out;
    for (const Rect& r : Rects())
        out += "M" + std::to_string(r.left) + " " + std::to_string(r.top) + "H" +
               std::to_string(r.right) + "V" + std::to_string(r.bottom) + "H" +
               std::to_string(r.left) + "Z";
    return out;
}

}  // namespace transcript
