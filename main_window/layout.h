// The arithmetic of Form1's layout and growth, apart from the window system.
#pragma once

namespace form1 {

// The design is in pixels at 96 dots per inch; on a display of another scale
// every design size, the column's width and its gap included, is scaled by
// dpi / 96 and rounded as MulDiv rounds (halves away from zero).
constexpr int kDesignDpi = 96;
constexpr int kColumnWidth = 150;  // right-hand column the list view leaves free
constexpr int kColumnGap = 20;     // list view's right edge to the column's controls
constexpr int kGrowthTwips = 750;  // added to outer height, then width, on a double-click
constexpr int kTwipsPerInch = 1440;

struct Box {
    int left;
    int top;
    int width;
    int height;
};

// Where the list view goes for a client area of this size. A client narrower
// than the column would give a negative width: the list view then keeps the
// width it has, but still takes the new client height, so that it goes on
// filling the window from top to bottom.
Box ListViewBox(int clientWidth, int clientHeight, int currentListViewWidth, int dotsPerInch);

// Left of Text1, Label1 and Label2 for the list view's actual width.
int ColumnLeft(int listViewWidth, int dotsPerInch);

// A design size in pixels at 96 dots per inch, at this many.
int Scaled(int designPixels, int dotsPerInch);

// Twips are converted with the display's own twips per pixel (1440 / dots
// per inch): 15 at 96 dpi, so 750 twips are 50 pixels there. Pixels to
// twips and back round to the nearest whole pixel.
int TwipsFromPixels(int pixels, int dotsPerInch);
int PixelsFromTwips(int twips, int dotsPerInch);

// An outer size in pixels after adding the growth in twips.
int GrownPixels(int pixels, int dotsPerInch);

}  // namespace form1
