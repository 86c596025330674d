// Small pieces of text reading shared by the transcript's readers.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>
#include <vector>

namespace transcript {

// How a whole base-10 number is written, nothing else around it (no blank):
enum class IntForm {
    Strict,  // as a file stores it: an optional minus sign, no leading zero, no "-0"
    Signed,  // with its sign always, + or - ("+10")
    Plain,   // digits alone
    Loose,   // an optional sign, + or - ("+5", "007")
};
// Any that an int32 holds; false for anything else.
bool ParseInt(const std::string& text, int32_t& value, IntForm form = IntForm::Strict);

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

// A record after a CSV file's header, sorted: blank (every field empty), a
// comment (a first field starting with "#", the others empty), or a row of
// `columns` fields once a spreadsheet's empty padding is taken off. False,
// with the record's line, for a comment with more fields or a row of
// another width.
enum class CsvKind { Blank, Comment, Row };
bool SortRecord(CsvRecord& record, size_t columns, CsvKind& kind, std::string& error);

// A field as CSV writes it: quoted where it must be.
std::string CsvField(const std::string& value);

}  // namespace transcript
