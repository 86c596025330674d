// A message log as a file: CSV beside its transcript, written and read.
#include <algorithm>

#include "message_log.h"
#include "text_fields.h"

namespace transcript {

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

// A log from before depths were recorded has all but the last column.
const char* const kMessageColumns[] = {"step",    "action",     "paint",  "window", "how",
                                       "message", "parameters", "result", "depth"};
constexpr size_t kMessageFields = sizeof kMessageColumns / sizeof kMessageColumns[0];

// A log from before depths were kept ends at result.
HeaderIs LogHeader(const std::vector<std::string>& f, std::string& error) {
    return ColumnsHeader(f, kMessageColumns, kMessageFields, kMessageFields - 1, "a message log's",
                         error);
}

// A yes or no that a log from before wrote as a number, as one is written now.
std::string YesOrNo(const std::string& message, const std::string& result) {
    if (result != "0" && result != "1") return result;
    for (const MessageInfo& info : kMessages)
        if (info.result == ParamKind::Bool && message == info.name)
            return result == "1" ? "TRUE" : "FALSE";
    return result;
}

}  // namespace

std::string MessagesToCsv(const std::vector<MessageRow>& rows, const std::string& cutShort,
                          const std::string& full) {
    std::string out;
    for (size_t i = 0; i < kMessageFields; ++i)
        out += (i ? "," : "") + std::string(kMessageColumns[i]);
    out += '\n';
    for (const MessageRow& r : rows)
        out += std::to_string(r.step) + ',' + CsvField(r.action) + ',' + std::to_string(r.paint) +
               ',' + CsvField(r.window) + ',' + r.how + ',' + CsvField(r.message) + ',' +
               CsvField(r.parameters) + ',' + CsvField(r.result) + ',' +
               (r.depth >= 0 ? std::to_string(r.depth) : "") + '\n';
    if (!full.empty()) out += CsvField("# full: " + full) + '\n';
    if (!cutShort.empty()) out += CsvField("# cut short: " + cutShort) + '\n';
    return out;
}

// A log written before texts were escaped holds their line breaks as they
// were, CR LF, which reading made one: escaped as a log writes them now.
static std::string OnOneLine(const std::string& parameters) {
    std::string out;
    for (char c : parameters) {
        if (c == '\r' || c == '\n' || c == '\t')
            out += c == '\r' ? "\\r" : c == '\n' ? "\\r\\n" : "\\t";
        else
            out += c;
    }
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
        const std::string at = "line " + std::to_string(record.line) + ": ";
        MessageRow r;
        if (!ParseInt(f[0], r.step) || !ParseInt(f[2], r.paint))
            return Mistake(error, at + "expected whole numbers for step and paint");
        if (f[3].empty() || f[5].empty() || (f[4] != "sent" && f[4] != "posted"))
            return Mistake(error, at + "expected a window, \"sent\" or \"posted\", and a message");
        r.action = f[1];
        r.window = f[3];
        r.how = f[4];
        r.message = f[5];
        r.parameters = OnOneLine(f[6]);
        r.result = YesOrNo(r.message, f[7]);
        if (columns == kMessageFields && !f[8].empty() &&
            (!ParseInt(f[8], r.depth, IntForm::Plain) || r.depth > 255))
            return Mistake(error, at + "expected a depth from 0 to 255, or nothing");
        rows.push_back(std::move(r));
        return true;
    };
    return ReadCsvTable(text, LogHeader,
                        NotOurHeader("message log", kMessageColumns, kMessageFields), take, error);
}

}  // namespace transcript
