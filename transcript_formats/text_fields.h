// Small pieces of text, read and written one way wherever they stand:
// numbers, hexadecimal, rectangles, paths, lists, CSV records.
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace transcript {

// What was wrong, in one line, into `error`; false.
bool Mistake(std::string& error, const std::string& what);

// How a whole base-10 number is written, nothing else around it (no blank):
enum class IntForm {
    Strict,  // as a file stores it: an optional minus sign, no leading zero, no "-0"
    Signed,  // with its sign always, + or - ("+10")
    Plain,   // digits alone
    Loose,   // an optional sign, + or - ("+5", "007")
};
// Any that an int32 holds; false for anything else.
bool ParseInt(const std::string& text, int32_t& value, IntForm form = IntForm::Strict);

// A value in hexadecimal, at least `width` digits, lower or upper case.
std::string HexDigits(uint32_t value, int width = 1, bool upper = false);
// "0x1f"
std::string Hex(uint32_t value);
// "0x" and 1 to 8 hexadecimal digits, either case; false for anything else.
bool ParseHex(const std::string& text, uint32_t& value);

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
// "0,377,270,388"
std::string RectText(const Rect& r);

// A path's parts, after its last slash or backslash ("b.csv" of "C:\a\b.csv")
// and before it ("C:\a"; "" where there is none).
std::string BaseName(const std::string& path);
std::string Folder(const std::string& path);

// Two texts with `between` where both are there, else the one that is.
std::string Join(const std::string& a, const std::string& b, const char* between = " ");

// The parts of a text between separators; "" gives one empty part.
std::vector<std::string> Split(const std::string& text, char separator);

// One record of a CSV file: its fields, unquoted, and the line it starts on.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};

// Splits a CSV text from byte `from` into records, as RFC 4180 has it and
// spreadsheets write it: fields quoted or not, "" for a quote inside quotes,
// line breaks inside quotes kept, LF, CRLF or CR between records; at most
// stopAfter records. False with the line of a quote left open or one inside
// an unquoted field.
bool ReadCsvRecords(const std::string& text, size_t from, char separator,
                    std::vector<CsvRecord>& records, std::string& error,
                    size_t stopAfter = SIZE_MAX);

// A record after a CSV file's header, classified: blank (every field empty), a
// comment (a first field starting with "#", the others empty), or a row of
// `columns` fields once a spreadsheet's empty padding is taken off. False,
// with the record's line, for a comment with more fields or a row of
// another width.
enum class CsvKind { Blank, Comment, Row };
bool ClassifyRecord(CsvRecord& record, size_t columns, CsvKind& kind, std::string& error);

// What a table's header check makes of a first record (its trailing empty
// fields, a spreadsheet's padding, taken off): the table's header, another
// text (then the next separator is tried), or its header gone wrong.
enum class HeaderIs { Ours, Other, Wrong };
using HeaderCheck = HeaderIs (*)(const std::vector<std::string>& fields, std::string& error);

// A table of this tool's in CSV, read: after an optional BOM, a header the
// check takes, with the separator a spreadsheet chose (",", ";" or tab);
// then each record sorted against the header's width and handed to `take`,
// blank ones left out. False with the first mistake: the header's
// (`notOurs` where no separator gives one), a record's, or take's.
template <typename Take>
bool ReadCsvTable(const std::string& text, HeaderCheck check, const std::string& notOurs, Take take,
                  std::string& error);

// A field as CSV writes it: quoted where it must be.
std::string CsvField(const std::string& value);

// The names of a table's columns, in order, as the header checks take them.
template <typename Column, size_t N>
std::array<const char*, N> NamesOf(const Column (&columns)[N]) {
    std::array<const char*, N> names{};
    for (size_t i = 0; i < N; ++i) names[i] = columns[i].name;
    return names;
}

// The header check of a table whose columns are `columns`, the first
// `older` of them (widths, narrowest first) an older file's: once the names
// not the table's are taken out, the header must begin as the table does.
// One that then holds such a name anywhere, or stops between the two, is
// wrong, said with the place ("line 1: column 3, \"x\", is not one of a
// paint transcript's ...").
HeaderIs ColumnsHeader(const std::vector<std::string>& fields, const char* const* columns,
                       size_t count, std::initializer_list<size_t> older, const char* whose,
                       std::string& error);

// "line 1: not a message log header (expected step,action,...)"
std::string NotOurHeader(const char* table, const char* const* columns, size_t count);

// The header of a table, its separator and its width; false, said, where
// there is none the check takes.
bool ReadCsvHeader(const std::string& text, size_t from, HeaderCheck check,
                   const std::string& notOurs, char& separator, size_t& columns,
                   std::string& error);

template <typename Take>
bool ReadCsvTable(const std::string& text, HeaderCheck check, const std::string& notOurs, Take take,
                  std::string& error) {
    const size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    char separator = ',';
    size_t columns = 0;
    std::vector<CsvRecord> records;
    if (!ReadCsvHeader(text, start, check, notOurs, separator, columns, error) ||
        !ReadCsvRecords(text, start, separator, records, error))
        return false;
    for (size_t k = 1; k < records.size(); ++k) {
        CsvKind kind;
        if (!ClassifyRecord(records[k], columns, kind, error)) return false;
        if (kind != CsvKind::Blank && !take(records[k], kind, columns, error)) return false;
    }
    return true;
}

}  // namespace transcript
