// The program's windows and columns as a transcript's comment lines, both ways.
#include "window_tree.h"

#include <iterator>

namespace transcript {

namespace {

std::string Hex8(uint32_t value) {
    return "0x" + HexDigits(value, 8);
}

// "a,b" or "axb" into two numbers.
bool ParsePair(const std::string& text, char between, int32_t& a, int32_t& b) {
    const size_t at = text.find(between);
    return at != std::string::npos && ParseInt(text.substr(0, at), a) &&
           ParseInt(text.substr(at + 1), b);
}

bool ParseWindowLine(const std::string& line, TreeWindow& w) {
    // NAME CLASS id N style S exstyle E class style C at X,Y WxH client WxH
    const std::vector<std::string> f = Split(line, ' ');
    const char* const words[] = {nullptr,   nullptr, "id",     nullptr, "style", nullptr,
                                 "exstyle", nullptr, "class",  "style", nullptr, "at",
                                 nullptr,   nullptr, "client", nullptr};
    if (f.size() != std::size(words)) return false;
    for (size_t i = 0; i < f.size(); ++i)
        if (words[i] ? f[i] != words[i] : f[i].empty()) return false;
    int32_t x = 0, y = 0, width = 0, height = 0;
    w.name = f[0];
    w.className = f[1];
    if (!ParseInt(f[3], w.id) || !ParseHex(f[5], w.style) || !ParseHex(f[7], w.exStyle) ||
        !ParseHex(f[10], w.classStyle) || !ParsePair(f[12], ',', x, y) ||
        !ParsePair(f[13], 'x', width, height) ||
        !ParsePair(f[15], 'x', w.clientWidth, w.clientHeight))
        return false;
    w.place = {x, y, x + width, y + height};
    return true;
}

}  // namespace

const TreeWindow* WindowTree::Named(const std::string& name) const {
    for (const TreeWindow& w : windows)
        if (w.name == name) return &w;
    return nullptr;
}

std::string WindowLine(const TreeWindow& w) {
    return w.name + " " + w.className + " id " + std::to_string(w.id) + " style " + Hex8(w.style) +
           " exstyle " + Hex8(w.exStyle) + " class style " + Hex8(w.classStyle) + " at " +
           std::to_string(w.place.left) + "," + std::to_string(w.place.top) + " " +
           std::to_string(w.place.right - w.place.left) + "x" +
           std::to_string(w.place.bottom - w.place.top) + " client " +
           std::to_string(w.clientWidth) + "x" + std::to_string(w.clientHeight);
}

std::string ColumnLine(const TreeColumn& c) {
    return std::to_string(c.width) + " " + c.text;
}

bool ReadTree(const std::vector<std::string>& windows, const std::vector<std::string>& columns,
              const std::string& listView, WindowTree& tree, std::string& error) {
    tree = WindowTree();
    for (const std::string& line : windows) {
        TreeWindow w;
        if (!ParseWindowLine(line, w))
            return Mistake(error,
                           "window: expected NAME CLASS id N style 0x.. exstyle 0x.. "
                           "class style 0x.. at X,Y WxH client WxH, found \"" +
                               line + "\"");
        tree.windows.push_back(std::move(w));
    }
    for (const std::string& line : columns) {
        const size_t blank = line.find(' ');
        TreeColumn c;
        if (!ParseInt(line.substr(0, blank), c.width) || c.width < 0)
            return Mistake(error,
                           "column: expected its width, then its text, found \"" + line + "\"");
        c.text = blank == std::string::npos ? "" : line.substr(blank + 1);
        tree.columns.push_back(std::move(c));
    }
    if (!listView.empty() && !ParseHex(listView, tree.listViewExtended))
        return Mistake(error,
                       "list view extended style: expected 0x and up to 8 hexadecimal "
                       "digits, found \"" +
                           listView + "\"");
    return true;
}

}  // namespace transcript
