#include "paint_report.h"

#include <cmath>

namespace probe {

namespace {
constexpr int32_t kLastCount = 9999;
}

std::string PaintReportText(const PaintRect& rect) {
    return "Left: " + std::to_string(rect.left) + "\r\n" +    //
           "Top: " + std::to_string(rect.top) + "\r\n" +      //
           "Right: " + std::to_string(rect.right) + "\r\n" +  //
           "Bottom: " + std::to_string(rect.bottom);
}

int32_t NextPaintCount(int32_t count) {
    // 10000 is never shown and the count never returns to 0. A count outside
    // 0..9999 (state overwritten from outside) restarts at 1 rather than
    // overflowing.
    if (count < 0 || count >= kLastCount) return 1;
    return count + 1;
}

std::string PaintCountText(int32_t count) {
    return "WM_PAINT Count: " + std::to_string(count);
}

int ChannelFromDraw(double draw) {
    const double scaled = draw * 255.0;
    if (!(scaled > 0.0)) return 0;  // also catches NaN
    if (scaled >= 255.0) return 255;
    const double floor = std::floor(scaled);
    const double fraction = scaled - floor;
    int channel = static_cast<int>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && channel % 2 == 1)) ++channel;
    return channel;
}

uint32_t ColourFromDraws(double red, double green, double blue) {
    return static_cast<uint32_t>(ChannelFromDraw(red)) |
           static_cast<uint32_t>(ChannelFromDraw(green)) << 8 |
           static_cast<uint32_t>(ChannelFromDraw(blue)) << 16;
}

}  // namespace probe
