// A transcript, or two side by side, as one self-contained HTML page: inline
// SVG and CSS, no script, nothing loaded from elsewhere. No window system.
#pragma once

#include <string>
#include <vector>

#include "transcript_rows.h"

namespace transcript {

// Where a frame stands on the page and how it maps list view pixels there:
// page x = left + view x * scale, page y = top + view y * scale.
struct FrameGeometry {
    int left = 0;
    int top = 0;
    double scale = 1;
};

// One frame per paint, drawn to scale: the list view's client area as an
// outline, what earlier paints covered faintly, this paint's update region
// filled with the colour it was painted, and the reported rectangle outlined.
std::string HtmlReport(const std::vector<PaintRow>& rows, const std::string& title);

// Two transcripts step by step, side by side, labelled with their names;
// rows that differ are marked and say what differs.
std::string HtmlComparison(const std::vector<PaintRow>& a, const std::string& nameA,
                           const std::vector<PaintRow>& b, const std::string& nameB);

// Where the page puts row i's frame (of file 0 or 1 in a comparison).
FrameGeometry FrameOf(const std::vector<PaintRow>& rows, size_t i);
FrameGeometry FrameOf(const std::vector<PaintRow>& a, const std::vector<PaintRow>& b, size_t i,
                      int file);

// What differs between two rows, field by field ("count 4 / 5; ..."); empty
// when they agree (colours are random and never differ).
std::string Differences(const PaintRow& a, const PaintRow& b);

}  // namespace transcript
