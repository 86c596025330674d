#include "layout.h"

#include <cstdint>

namespace form1 {

namespace {
// a * b / c rounded to nearest, halves away from zero; c > 0.
int ScaleRounded(int a, int b, int c) {
    const int64_t product = static_cast<int64_t>(a) * b;
    const int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}
}  // namespace

Box ListViewBox(int clientWidth, int clientHeight, int currentListViewWidth, int dotsPerInch) {
    const int width = clientWidth - Scaled(kColumnWidth, dotsPerInch);
    return {0, 0, width >= 0 ? width : currentListViewWidth, clientHeight};
}

int ColumnLeft(int listViewWidth, int dotsPerInch) {
    return listViewWidth + Scaled(kColumnGap, dotsPerInch);
}

int Scaled(int designPixels, int dotsPerInch) {
    return ScaleRounded(designPixels, dotsPerInch, kDesignDpi);
}

int TwipsFromPixels(int pixels, int dotsPerInch) {
    return ScaleRounded(pixels, kTwipsPerInch, dotsPerInch);
}

int PixelsFromTwips(int twips, int dotsPerInch) {
    return ScaleRounded(twips, dotsPerInch, kTwipsPerInch);
}

int GrownPixels(int pixels, int dotsPerInch) {
    return PixelsFromTwips(TwipsFromPixels(pixels, dotsPerInch) + kGrowthTwips, dotsPerInch);
}

}  // namespace form1
