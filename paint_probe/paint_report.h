// What one paint of the list view turns into: the report text, the count and
// the fill colour. Pure arithmetic and text, so it can be read and tested
// without a window system.
#pragma once

#include <cstdint>
#include <string>

namespace probe {

// An update rectangle in the list view's client pixels.
struct PaintRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// "Left: ", "Top: ", "Right: ", "Bottom: " with the edges, CR LF between the
// lines and none after the last.
std::string PaintReportText(const PaintRect& rect);

// The paint count after one more paint: 1, 2, ..., 9999, then 1 again.
int32_t NextPaintCount(int32_t count);

// "WM_PAINT Count: " and the count.
std::string PaintCountText(int32_t count);

// One colour channel from one draw in [0, 1): draw * 255 rounded to the
// nearest integer, a tie going to the even one.
int ChannelFromDraw(double draw);

// The COLORREF (red + 256 * green + 65536 * blue) of three draws.
uint32_t ColourFromDraws(double red, double green, double blue);

}  // namespace probe
