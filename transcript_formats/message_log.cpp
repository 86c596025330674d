// A message log as a file: CSV beside its transcript, written and read.
#include <algorithm>
#include <iterator>

#include "message_log.h"
#include "text_fields.h"

namespace transcript {

bool MessageRow::operator==(const MessageRow& o) const {
    return step == o.step && action == o.action && paint == o.paint && window == o.window &&
           how == o.how && message == o.message && parameters == o.parameters &&
           result == o.result && depth == o.depth && number == o.number && wParam == o.wParam &&
           lParam == o.lParam && lResult == o.lResult && x == o.x && y == o.y && cx == o.cx &&
           cy == o.cy && flags == o.flags && left == o.left && top == o.top && right == o.right &&
           bottom == o.bottom;
}

void DropStart(std::vector<MessageRow>& log, int paints) {
    log.erase(
        std::remove_if(log.begin(), log.end(), [](const MessageRow& r) { return r.step == 0; }),
        log.end());
    for (MessageRow& r : log) r.paint -= paints;
}

std::string BesideTranscript(const std::string& transcriptPath, const std::string& ending) {
    const std::string name = BaseName(transcriptPath);
    const size_t dot = name.rfind('.');
    return transcriptPath.substr(0, transcriptPath.size() - name.size()) +
           (dot == std::string::npos ? name : name.substr(0, dot)) + ending;
}

std::string MessagesPath(const std::string& transcriptPath) {
    return BesideTranscript(transcriptPath, ".messages.csv");
}

namespace {

// A log's columns, in order: each how it is written and read, and which
// field of the row it is. Logs written before end at result (no depth) or
// at depth (no numbers).
enum class Kind { Number, Text, Window, How, Message, Parameters, Result, Depth, Value, Hex };
struct Column {
    const char* name;
    Kind kind;
    int MessageRow::*number = nullptr;
    std::string MessageRow::*text = nullptr;
    MessageRow::Number MessageRow::*value = nullptr;
};
const Column kMessageColumns[] = {
    {"step", Kind::Number, &MessageRow::step},
    {"action", Kind::Text, nullptr, &MessageRow::action},
    {"paint", Kind::Number, &MessageRow::paint},
    {"window", Kind::Window, nullptr, &MessageRow::window},
    {"how", Kind::How, nullptr, &MessageRow::how},
    {"message", Kind::Message, nullptr, &MessageRow::message},
    {"parameters", Kind::Parameters, nullptr, &MessageRow::parameters},
    {"result", Kind::Result, nullptr, &MessageRow::result},
    {"depth", Kind::Depth, &MessageRow::depth},
    {"number", Kind::Hex, nullptr, nullptr, &MessageRow::number},
    {"wparam", Kind::Value, nullptr, nullptr, &MessageRow::wParam},
    {"lparam", Kind::Value, nullptr, nullptr, &MessageRow::lParam},
    {"lresult", Kind::Value, nullptr, nullptr, &MessageRow::lResult},
    {"x", Kind::Value, nullptr, nullptr, &MessageRow::x},
    {"y", Kind::Value, nullptr, nullptr, &MessageRow::y},
    {"cx", Kind::Value, nullptr, nullptr, &MessageRow::cx},
    {"cy", Kind::Value, nullptr, nullptr, &MessageRow::cy},
    {"flags", Kind::Hex, nullptr, nullptr, &MessageRow::flags},
    {"left", Kind::Value, nullptr, nullptr, &MessageRow::left},
    {"top", Kind::Value, nullptr, nullptr, &MessageRow::top},
    {"right", Kind::Value, nullptr, nullptr, &MessageRow::right},
    {"bottom", Kind::Value, nullptr, nullptr, &MessageRow::bottom},
};
constexpr size_t kMessageFields = std::size(kMessageColumns);
constexpr size_t kBeforeDepths = 8, kBeforeNumbers = 9;

const char* const* ColumnNames() {
    static const auto names = NamesOf(kMessageColumns);
    return names.data();
}

HeaderIs LogHeader(const std::vector<std::string>& f, std::string& error) {
    return ColumnsHeader(f, ColumnNames(), kMessageFields, {kBeforeDepths, kBeforeNumbers},
                         "a message log's", error);
}

// A yes or no that a log from before wrote as a number, as one is written now.
std::string YesOrNo(const std::string& message, const std::string& result) {
    if (result != "0" && result != "1") return result;
    for (const MessageInfo& info : kMessages)
        if (info.result == ParamKind::Bool && message == info.name)
            return result == "1" ? "TRUE" : "FALSE";
    return result;
}

// A log written before texts were escaped holds their line breaks as they
// were, CR LF, which reading made one: escaped as a log writes them now.
std::string OnOneLine(const std::string& parameters) {
    std::string out;
    for (char c : parameters) {
        if (c == '\r' || c == '\n' || c == '\t')
            out += c == '\r' ? "\\r" : c == '\n' ? "\\r\\n" : "\\t";
        else
            out += c;
    }
    return out;
}

std::string Field(const Column& c, const MessageRow& r) {
    switch (c.kind) {
        case Kind::Number:
            return std::to_string(r.*c.number);
        case Kind::Depth:
            return r.depth >= 0 ? std::to_string(r.depth) : "";
        case Kind::How:
            return r.how;
        case Kind::Value:
            return r.*c.value ? std::to_string(*(r.*c.value)) : "";
        case Kind::Hex:
            return r.*c.value ? Hex(static_cast<uint32_t>(*(r.*c.value))) : "";
        default:
            return CsvField(r.*c.text);
    }
}

// One field into its row; what was wrong with it, or null.
const char* Take(const Column& c, const std::string& f, MessageRow& r) {
    int32_t value = 0;
    uint32_t hex = 0;
    switch (c.kind) {
        case Kind::Number:
            return ParseInt(f, r.*c.number) ? nullptr : "expected whole numbers for step and paint";
        case Kind::Window:
        case Kind::Message:
            if (f.empty()) return "expected a window, \"sent\" or \"posted\", and a message";
            break;
        case Kind::How:
            if (f != "sent" && f != "posted")
                return "expected a window, \"sent\" or \"posted\", and a message";
            break;
        case Kind::Depth:
            if (!f.empty() && (!ParseInt(f, r.depth, IntForm::Plain) || r.depth > 255))
                return "expected a depth from 0 to 255, or nothing";
            return nullptr;
        case Kind::Value:
            if (f.empty()) return nullptr;
            if (!ParseInt(f, value)) return "expected a whole number, or nothing";
            r.*c.value = value;
            return nullptr;
        case Kind::Hex:
            if (f.empty()) return nullptr;
            if (!ParseHex(f, hex))
                return "expected a number as 0x and hexadecimal digits, or nothing";
            r.*c.value = hex;
            return nullptr;
        default:
            break;
    }
    r.*c.text = c.kind == Kind::Parameters ? OnOneLine(f)
                : c.kind == Kind::Result   ? YesOrNo(r.message, f)
                                           : f;
    return nullptr;
}

}  // namespace

std::string MessagesToCsv(const std::vector<MessageRow>& rows, const std::string& cutShort,
                          const std::string& full) {
    std::string out;
    for (const Column& c : kMessageColumns)
        out.append(&c == kMessageColumns ? "" : ",").append(c.name);
    out += '\n';
    for (const MessageRow& r : rows) {
        for (const Column& c : kMessageColumns)
            out.append(&c == kMessageColumns ? "" : ",").append(Field(c, r));
        out += '\n';
    }
    if (!full.empty()) out += CsvField("# full: " + full) + '\n';
    if (!cutShort.empty()) out += CsvField("# cut short: " + cutShort) + '\n';
    return out;
}

bool ParseMessagesCsv(const std::string& text, std::vector<MessageRow>& rows, std::string& error,
                      std::string* cutShort, std::string* full) {
    rows.clear();
    if (cutShort) cutShort->clear();
    if (full) full->clear();
    const auto take = [&](const CsvRecord& record, CsvKind kind, size_t columns,
                          std::string& error) {
        const std::vector<std::string>& f = record.fields;
        if (kind == CsvKind::Comment) {
            if (cutShort && !f[0].compare(0, 13, "# cut short: ")) *cutShort = f[0].substr(13);
            if (full && !f[0].compare(0, 8, "# full: ")) *full = f[0].substr(8);
            return true;
        }
        MessageRow r;
        for (size_t i = 0; i < columns; ++i)
            if (const char* wrong = Take(kMessageColumns[i], f[i], r))
                return Mistake(error, "line " + std::to_string(record.line) + ": " + wrong);
        rows.push_back(std::move(r));
        return true;
    };
    return ReadCsvTable(text, LogHeader, NotOurHeader("message log", ColumnNames(), kMessageFields),
                        take, error);
}

}  // namespace transcript
