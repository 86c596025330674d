// One row per paint of the list view, and the ways to print and store them.
// No window system here: rows are plain numbers and text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text_fields.h"

#include "system_facts.h"

namespace transcript {

struct PaintRow {
    int step = 0;
    std::string action;
    int outerWidth = 0, outerHeight = 0;
    int clientWidth = 0, clientHeight = 0;
    int count = 0;                      // as Label2 showed it after this paint
    Rect reported;                      // as Text1 showed it after this paint
    std::vector<Rect> region;           // the update region, rectangle by rectangle
    std::string colour;                 // "#rrggbb" the region was filled with; empty if unseen
    int viewWidth = 0, viewHeight = 0;  // the list view's client area; 0 if not known
    bool operator==(const PaintRow& o) const;
};

// "#rrggbb" of a COLORREF (0x00BBGGRR); empty for a negative value.
std::string ColourText(int32_t colorref);

// Reads "Left: l\r\nTop: t\r\nRight: r\r\nBottom: b" exactly; false for
// anything else (extra blanks, a missing line, a trailing line break).
bool ParseReport(const std::string& text, Rect& rect);

// Reads "WM_PAINT Count: n" exactly; false otherwise.
bool ParseCount(const std::string& text, int& count);

// "l,t,r,b l,t,r,b ...", for people.
std::string RegionText(const std::vector<Rect>& region);
// "[l,t,r,b] [l,t,r,b] ...", for files: brackets, so that no spreadsheet takes
// a one-rectangle region for a number with thousands separators.
std::string RegionField(const std::vector<Rect>& region);
// Reads either form.
bool ParseRegion(const std::string& text, std::vector<Rect>& region);

// An aligned table for the terminal.
std::string FormatTable(const std::vector<PaintRow>& rows);

// CSV with a header line. A recording cut short says so (why, and at which
// step) in a last line of its own, a comment starting with "# cut short".
// ParseCsv reads what ToCsv writes; transcripts written before the colour
// and list view size columns, or before regions were bracketed; and what a
// spreadsheet writes back: quoted fields and header, a UTF-8 byte-order mark,
// semicolons or tabs for commas, CRLF or CR line ends, padding empty fields.
// Anything else is refused with its line number and what was expected there.
// The system it was recorded on and what decides its paints stand in
// comment lines of their own, "# system: Wine 8.0", "# display scale: ...".
std::string ToCsv(const std::vector<PaintRow>& rows, const std::string& cutShort = "",
                  const SystemFacts& facts = SystemFacts());
bool ParseCsv(const std::string& text, std::vector<PaintRow>& rows, std::string& error,
              std::string* cutShort = nullptr, SystemFacts* facts = nullptr);

// Whether a recording holds the program's start, its step 0: one made
// before starts were recorded does not. DropStart takes step 0 out, so that
// such a recording and a newer one compare step by step; the paints it took.
bool HasStart(const std::vector<PaintRow>& rows);
int DropStart(std::vector<PaintRow>& rows);

}  // namespace transcript
