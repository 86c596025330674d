// What Form1 holds when it is created: its size, its four controls in tab
// order and the list view's columns. Plain data, in pixels at 96 dots per inch.
#pragma once

namespace form1 {

inline constexpr const char* kCaption = "Form1";
inline constexpr int kClientWidth = 424;
inline constexpr int kClientHeight = 359;

enum class Kind { ListView, TextBox, Label, OneLineLabel };

struct ControlDesign {
    const char* name;
    Kind kind;
    int id;
    int left;
    int top;
    int width;
    int height;
};

// Tab order is the order of this table.
inline constexpr ControlDesign kControls[] = {
    {"ListView1", Kind::ListView, 101, 0, 0, 265, 353},
    {"Text1", Kind::TextBox, 102, 288, 8, 121, 81},
    {"Label1", Kind::Label, 103, 288, 96, 123, 165},
    {"Label2", Kind::OneLineLabel, 104, 288, 272, 121, 25},
};
inline constexpr const ControlDesign& kListView1 = kControls[0];
inline constexpr const ControlDesign& kText1 = kControls[1];
inline constexpr const ControlDesign& kLabel1 = kControls[2];
inline constexpr const ControlDesign& kLabel2 = kControls[3];

struct ColumnDesign {
    const char* header;
    int width;
};

// All left-aligned. The last is 1440 pixels (fifteen inches), so the header
// row runs past the list view's right edge at the design size.
inline constexpr ColumnDesign kColumns[] = {
    {"Test1", 100}, {"Test2", 100}, {"Test3", 100}, {"Test4", 100}, {"Test5", 1440},
};

// Label1's caption, written at load.
inline constexpr const char* kInstructions =
    "Drag the Form downward to see the InvalidatedRect. Notice how the Bottom and Top size "
    "doesn't change in ReactOs but in Windows it does."
    "\r\n\r\n"
    " You can double click on the ListView to automatically expand the window by 50 pixels.";

}  // namespace form1
