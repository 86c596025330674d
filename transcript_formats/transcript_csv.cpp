// Transcripts as CSV: what the tool writes, and what a spreadsheet gives
// back after opening and saving one.
#include <algorithm>
#include <iterator>
#include <cctype>

#include "text_fields.h"
#include "transcript_rows.h"

namespace transcript {

namespace {

// A transcript's columns in their order, each read and written as its kind
// says: a number (a row's own, or a corner of the reported rectangle), the
// action, the region or the colour.
enum class Kind { Number, Action, Region, Colour };
struct Column {
    const char* name;
    Kind kind;
    int PaintRow::*number = nullptr;
    int32_t Rect::*reported = nullptr;
};
const Column kPaintColumns[] = {
    {"step", Kind::Number, &PaintRow::step},
    {"action", Kind::Action},
    {"outer_width", Kind::Number, &PaintRow::outerWidth},
    {"outer_height", Kind::Number, &PaintRow::outerHeight},
    {"client_width", Kind::Number, &PaintRow::clientWidth},
    {"client_height", Kind::Number, &PaintRow::clientHeight},
    {"count", Kind::Number, &PaintRow::count},
    {"left", Kind::Number, nullptr, &Rect::left},
    {"top", Kind::Number, nullptr, &Rect::top},
    {"right", Kind::Number, nullptr, &Rect::right},
    {"bottom", Kind::Number, nullptr, &Rect::bottom},
    {"region", Kind::Region},
    {"colour", Kind::Colour},
    {"view_width", Kind::Number, &PaintRow::viewWidth},
    {"view_height", Kind::Number, &PaintRow::viewHeight},
};
constexpr size_t kOldColumns = 12;  // before colour and the list view's size
constexpr size_t kAllColumns = std::size(kPaintColumns);

// The names alone, as the header checks take them.
const char* const* ColumnNames() {
    static const auto names = NamesOf(kPaintColumns);
    return names.data();
}

// A row's number in a column: to read (a const row) or to set.
template <typename Row>
auto& NumberOf(const Column& c, Row& r) {
    return c.number ? r.*c.number : r.reported.*c.reported;
}
const char kCutShort[] = "# cut short";

bool Refuse(std::string& error, int line, const char* what) {
    error.assign("line ").append(std::to_string(line)).append(": ").append(what);
    return false;
}

bool IsColourText(std::string& text) {
    if (text.empty()) return true;
    if (text.size() != 7 || text[0] != '#') return false;
    for (size_t i = 1; i < 7; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    }
    return true;
}

// "line 2: region: expected ..., found "338270348"", and false.
bool Refuse(std::string& error, const std::string& at, size_t column, const char* expected,
            const std::string& found) {
    error = at;
    error.append(kPaintColumns[column].name)
        .append(": expected ")
        .append(expected)
        .append(", found ");
    if (found.empty()) return error.append("nothing"), false;
    error.append("\"").append(found, 0, 40).append(found.size() > 40 ? "...\"" : "\"");
    return false;
}

HeaderIs TranscriptHeader(const std::vector<std::string>& f, std::string& error) {
    return ColumnsHeader(f, ColumnNames(), kAllColumns, {kOldColumns}, "a paint transcript's",
                         error);
}

}  // namespace

// Splits a CSV text into records, as RFC 4180 has it and spreadsheets write
// it: fields quoted or not, "" for a quote inside quotes, line breaks inside
// quotes kept, LF, CRLF or CR between records. False with the line of a
// quote left open or one standing inside an unquoted field.
namespace {

// Where a reading of a CSV text stands, and on which line.
struct CsvCursor {
    const std::string& text;
    size_t i;
    int line = 1;

    bool AtLineEnd() const { return i >= text.size() || text[i] == '\n' || text[i] == '\r'; }
    void SkipLineEnd() {
        if (i < text.size() && text[i] == '\r') ++i;
        if (i < text.size() && text[i] == '\n') ++i;
        ++line;
    }

    // A quoted field, "" for a quote inside, its line breaks kept (as LF).
    bool Quoted(char separator, std::string& field, std::string& error) {
        const int opened = line;
        for (++i;;) {
            if (i >= text.size()) return Refuse(error, opened, "a quoted field is not closed");
            if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                i += 2;
            } else if (text[i] == '"') {
                ++i;
                break;
            } else if (text[i] == '\r' || text[i] == '\n') {
                field += '\n';
                SkipLineEnd();
            } else {
                field += text[i++];
            }
        }
        if (!AtLineEnd() && text[i] != separator)
            return Refuse(error, line, "expected a separator after a closing quote");
        return true;
    }

    bool Unquoted(char separator, std::string& field, std::string& error) {
        const size_t start = i;
        while (!AtLineEnd() && text[i] != separator) ++i;
        field.assign(text, start, i - start);
        if (field.find('"') != std::string::npos)
            return Refuse(error, line, "a quote inside an unquoted field");
        return true;
    }
};

}  // namespace

bool ReadCsvRecords(const std::string& text, size_t from, char separator,
                    std::vector<CsvRecord>& records, std::string& error, size_t stopAfter) {
    CsvCursor at{text, from};
    while (at.i < text.size() && records.size() < stopAfter) {
        CsvRecord record;
        record.line = at.line;
        for (;;) {
            std::string field;
            const bool quoted = at.i < text.size() && text[at.i] == '"';
            if (!(quoted ? at.Quoted(separator, field, error)
                         : at.Unquoted(separator, field, error)))
                return false;
            record.fields.push_back(std::move(field));
            if (at.i < text.size() && text[at.i] == separator) {
                ++at.i;
                continue;
            }
            at.SkipLineEnd();
            break;
        }
        records.push_back(std::move(record));
    }
    return true;
}

bool ClassifyRecord(CsvRecord& record, size_t columns, CsvKind& kind, std::string& error) {
    std::vector<std::string>& f = record.fields;
    const std::string at = "line " + std::to_string(record.line) + ": ";
    const auto blank = [](const std::string& field) { return field.empty(); };
    kind = std::all_of(f.begin(), f.end(), blank) ? CsvKind::Blank
           : f[0].compare(0, 1, "#") == 0         ? CsvKind::Comment
                                                  : CsvKind::Row;
    if (kind == CsvKind::Comment && !std::all_of(f.begin() + 1, f.end(), blank)) {
        error = at + "expected a comment in one field";
        return false;
    }
    if (kind != CsvKind::Row) return true;
    while (f.size() > columns && f.back().empty()) f.pop_back();  // a spreadsheet's padding
    if (f.size() == columns) return true;
    error =
        at + "expected " + std::to_string(columns) + " fields, found " + std::to_string(f.size());
    return false;
}

HeaderIs ColumnsHeader(const std::vector<std::string>& f, const char* const* columns, size_t count,
                       std::initializer_list<size_t> older, const char* whose, std::string& error) {
    const size_t oldCount = *older.begin();
    const auto ours = [&](const std::string& name) {
        return std::find(columns, columns + count, name) != columns + count;
    };
    std::vector<std::string> known;
    size_t stranger = f.size();  // the first name that is not the table's
    for (size_t i = 0; i < f.size(); ++i) {
        if (ours(f[i]))
            known.push_back(f[i]);
        else if (stranger == f.size())
            stranger = i;
    }
    const size_t same = std::min(known.size(), count);
    if (same < oldCount || !std::equal(known.begin(), known.begin() + same, columns))
        return HeaderIs::Other;
    if (stranger < f.size()) {
        error = "line 1: column " + std::to_string(stranger + 1) + ", \"" +
                f[stranger].substr(0, 40) + "\", is not one of " + whose +
                " (delete it, or save the sheet without it)";
        return HeaderIs::Wrong;
    }
    if (known.size() != count &&
        std::find(older.begin(), older.end(), known.size()) == older.end()) {
        error = "line 1: the header stops at " + f.back() + "; expected it to end at ";
        for (size_t width : older)
            error.append(columns[width - 1]).append(width == *(older.end() - 1) ? " or " : ", ");
        error += columns[count - 1];
        return HeaderIs::Wrong;
    }
    return HeaderIs::Ours;
}

std::string NotOurHeader(const char* table, const char* const* columns, size_t count) {
    std::string expected;
    for (size_t i = 0; i < count; ++i) expected += (i ? "," : "") + std::string(columns[i]);
    return "line 1: not a " + std::string(table) + " header (expected " + expected + ")";
}

bool ReadCsvHeader(const std::string& text, size_t from, HeaderCheck check,
                   const std::string& notOurs, char& separator, size_t& columns,
                   std::string& error) {
    for (char candidate : {',', ';', '\t'}) {
        std::vector<CsvRecord> header;
        std::string ignored;
        if (!ReadCsvRecords(text, from, candidate, header, ignored, 1) || header.empty()) continue;
        std::vector<std::string>& f = header[0].fields;
        while (!f.empty() && f.back().empty()) f.pop_back();  // a spreadsheet's padding
        const HeaderIs is = check(f, error);
        if (is == HeaderIs::Wrong) return false;
        if (is == HeaderIs::Other) continue;
        separator = candidate;
        columns = f.size();
        return true;
    }
    error = notOurs;
    return false;
}

std::string CsvField(const std::string& value) {
    if (value.find_first_of(",;\t\"\r\n") == std::string::npos &&
        (value.empty() || (value.front() != ' ' && value.back() != ' ')))
        return value;
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string ToCsv(const std::vector<PaintRow>& rows, const std::string& cutShort,
                  const SystemFacts& facts) {
    std::string out;
    for (size_t i = 0; i < kAllColumns; ++i)
        out += (i ? "," : "") + std::string(kPaintColumns[i].name);
    out += '\n';
    for (const PaintRow& r : rows) {
        for (size_t i = 0; i < kAllColumns; ++i) {
            const Column& c = kPaintColumns[i];
            out += i ? "," : "";
            switch (c.kind) {
                case Kind::Number:
                    out += std::to_string(NumberOf(c, r));
                    break;
                case Kind::Action:
                    out += CsvField(r.action);
                    break;
                case Kind::Region:
                    out += "\"" + RegionField(r.region) + "\"";
                    break;
                case Kind::Colour:
                    out += r.colour;
                    break;
            }
        }
        out += '\n';
    }
    for (const std::string& line : FactLines(facts)) out += CsvField(line) + '\n';
    if (!cutShort.empty()) out += CsvField(std::string(kCutShort) + ": " + cutShort) + '\n';
    return out;
}

namespace {

// A transcript's row; false, said with its line and column, where a field
// is not what its column holds.
bool ParseRow(const CsvRecord& record, size_t columns, PaintRow& r, std::string& error) {
    const std::string at = "line " + std::to_string(record.line) + ": ";
    for (size_t i = 0; i < columns; ++i) {
        const std::string& f = record.fields[i];
        const Column& c = kPaintColumns[i];
        switch (c.kind) {
            case Kind::Number:
                if (!ParseInt(f, NumberOf(c, r))) return Refuse(error, at, i, "a whole number", f);
                break;
            case Kind::Action:
                if (f.empty()) return Refuse(error, at, i, "the step's action", f);
                r.action = f;
                break;
            case Kind::Region:
                if (!ParseRegion(f, r.region))
                    return Refuse(error, at, i,
                                  "rectangles [left,top,right,bottom] apart by blanks", f);
                break;
            case Kind::Colour:
                r.colour = f;
                if (!IsColourText(r.colour)) return Refuse(error, at, i, "#rrggbb or nothing", f);
                break;
        }
    }
    return true;
}

}  // namespace

bool ParseCsv(const std::string& text, std::vector<PaintRow>& rows, std::string& error,
              std::string* cutShort, SystemFacts* facts) {
    rows.clear();
    if (cutShort) cutShort->clear();
    if (facts) *facts = SystemFacts();
    if (text.find_first_not_of("\r\n", text.compare(0, 3, "\xEF\xBB\xBF") ? 0 : 3) ==
        std::string::npos) {
        error = "empty file";
        return false;
    }
    const auto take = [&](const CsvRecord& record, CsvKind kind, size_t columns,
                          std::string& error) {
        const std::vector<std::string>& f = record.fields;
        if (kind == CsvKind::Comment) {
            if (cutShort && f[0].compare(0, sizeof kCutShort - 1, kCutShort) == 0)
                *cutShort = f[0].substr(std::min(f[0].size(), sizeof kCutShort + 1));
            if (facts) ReadFactComment(f[0], *facts);
            return true;
        }
        PaintRow r;
        if (!ParseRow(record, columns, r, error)) return false;
        rows.push_back(std::move(r));
        return true;
    };
    return ReadCsvTable(text, TranscriptHeader,
                        NotOurHeader("paint transcript", ColumnNames(), kAllColumns), take, error);
}

}  // namespace transcript
