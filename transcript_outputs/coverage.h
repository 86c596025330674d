// The area that a run of rectangles covers together, kept as horizontal
// bands of spans: it grows with the shape of that area, not with the number
// of rectangles, so a report can show "what earlier paints covered" at every
// one of thousands of paints without drawing them all again each time.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "transcript_rows.h"

namespace transcript {

class Coverage {
  public:
    void Add(const Rect& r);
    // The area as disjoint rectangles, band by band, top to bottom.
    std::vector<Rect> Rects() const;
    // The same as an SVG path: "M l t H r V b H l Z" for each rectangle.
    std::string Path() const;

  private:
    using Spans = std::vector<std::pair<int32_t, int32_t>>;  // [left, right), sorted, apart
    struct Band {
        int32_t top, bottom;
        Spans spans;
    };
    static Spans Merged(Spans spans, int32_t left, int32_t right);
    std::vector<Band> bands_;  // sorted, apart, none empty
};

}  // namespace transcript
