// The windows a recording found the program to have made, and its list
// view's columns: a comment line each in a transcript, so that a test can
// build the same tree without the program.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text_fields.h"

namespace transcript {

struct TreeWindow {
    std::string name;  // "Form1", "ListView1", ...
    std::string className;
    int32_t id = 0;
    uint32_t style = 0, exStyle = 0, classStyle = 0;
    Rect place;  // in its parent's client area; a top-level window's on the screen
    int32_t clientWidth = 0, clientHeight = 0;
};

struct TreeColumn {
    int32_t width = 0;
    std::string text;
};

struct WindowTree {
    std::vector<TreeWindow> windows;  // Form1 first, then its children
    uint32_t listViewExtended = 0;    // LVS_EX_ styles
    std::vector<TreeColumn> columns;
    // The window of that name, or null.
    const TreeWindow* Named(const std::string& name) const;
};

// "ListView1 SysListView32 id 101 style 0x50010001 exstyle 0x00000200
// class style 0x00000008 at 0,0 274x359 client 270x338"
std::string WindowLine(const TreeWindow& w);
// "100 Test1": its width, then its text.
std::string ColumnLine(const TreeColumn& c);

// The lines as a transcript keeps them (SystemFacts::windows, columns and
// listView), read back; false, with the line that is wrong, for any that
// is not as written.
bool ReadTree(const std::vector<std::string>& windows, const std::vector<std::string>& columns,
              const std::string& listView, WindowTree& tree, std::string& error);

}  // namespace transcript
