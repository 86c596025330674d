// libFuzzer target: any bytes as a transcript file, as two, as a message
// log, and as a scenario file.
// What reads must write back and read again to the same rows or steps; a
// transcript must compare alike with itself; and no text from the file may
// reach a report as markup.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "html_report.h"
#include "message_log.h"
#include "scenario.h"
#include "transcript_rows.h"
#include "paint_compare.h"
#include "message_compare.h"
#include "support/pages.h"

using namespace transcript;

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

size_t Tags(const std::string& page) {
    return static_cast<size_t>(std::count(page.begin(), page.end(), '<'));
}

// The same text with every character that markup is made of taken out.
std::string Plain(std::string text) {
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](char c) { return c == '<' || c == '>' || c == '&' || c == '"'; }),
               text.end());
    return text;
}

}  // namespace

void RoundTrip(const std::vector<Step>& steps) {
    std::vector<Step> again;
    std::string error, lines;
    for (const Step& s : steps) lines += StepText(s) + "\n";
    Require(ParseScenario(lines, again, error) && again == steps);
}

// The same bytes as a scenario file: what reads is written as lines that
// read back to the same steps. Then as a person's gestures, the moves of
// each drag joined as by hand (one gesture per byte), runs of any length.
void Scenario(const std::string& text) {
    std::vector<Step> steps;
    std::string error;
    if (!ParseScenario(text, steps, error)) return Require(!error.empty());
    RoundTrip(steps);
    std::vector<Step> single;  // each move its own step, as the hook names them
    std::vector<int> gestures;
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        const int gesture = static_cast<unsigned char>(text[i % text.size()]) % 3;
        for (size_t m = 0; m < (s.kind == Step::Drag ? s.moves.size() : 1); ++m) {
            Step one = s;
            if (s.kind == Step::Drag) one.moves = {s.moves[m]};
            single.push_back(one);
            gestures.push_back(gesture);
        }
    }
    RoundTrip(JoinGestures(single, gestures));
}

// The bytes as two transcripts, split at the first "\n\n\n": any pair compares
// without fault, both ways, and their page is written. And the header of
// each padded with empty fields, as a spreadsheet pads it, reads the same.
void Pair(const std::string& text) {
    const size_t split = text.find("\n\n\n");
    if (split == std::string::npos) return;
    std::vector<PaintRow> a, b, padded;
    std::string error;
    const std::string first = text.substr(0, split), second = text.substr(split + 3);
    if (ParseCsv(first, a, error)) {
        const size_t end = first.find_first_of("\r\n");
        std::string header = first.substr(0, end),
                    rest = end == std::string::npos ? "" : first.substr(end);
        bool same = false;
        for (char separator : {',', ';', '\t'})
            same = same || (ParseCsv(header + std::string(3, separator) + rest, padded, error) &&
                            padded == a);
        Require(same);
    }
    if (!ParseCsv(second, b, error)) return;
    for (const auto& [x, y] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
        const Comparison c = CompareSystems(*x, *y);
        c.PaintSummary();
        c.FrameSummary();
        c.Listing();
        CompareExact(*x, *y);
        ComparedPage(*x, "a", *y, "b", "", "");
    }
    // And as three systems, the first again last: alike where the two are.
    const Matrix m = CompareMany({a, b, a}, {"a", "b", "<c>"});
    Require(m.Agree() == CompareSystems(a, b).PaintsAgree());
    m.AgainstFirst();
    m.Changes();
    const std::string page = HtmlMatrix(m, {Named(a, "a"), Named(b, "b"), Named(a, "c")});
    Require(page.find("<c>") == std::string::npos);
}

std::vector<MessageRow> PlainLog(std::vector<MessageRow> log) {
    for (MessageRow& m : log)
        for (std::string* field : {&m.action, &m.window, &m.message, &m.parameters, &m.result})
            *field = Plain(*field);
    return log;
}

// The bytes as a message log: what reads writes back and reads the same,
// compares alike with itself and without fault against its own first half,
// and stays text on a page.
void Log(const std::string& text) {
    std::vector<MessageRow> log, again;
    std::string error, cut, full, cutAgain, fullAgain;
    if (!ParseMessagesCsv(text, log, error, &cut, &full)) return Require(!error.empty());
    Require(ParseMessagesCsv(MessagesToCsv(log, cut, full), again, error, &cutAgain, &fullAgain));
    Require(again == log && cutAgain == cut && fullAgain == full);
    Require(CompareMessages(log, log).differing.empty());
    const std::vector<MessageRow> half(log.begin(), log.begin() + log.size() / 2);
    const std::vector<MessageRow>& whole = log;
    for (const auto& [x, y] : {std::pair{&whole, &half}, std::pair{&half, &whole}}) {
        const MessageComparison c = CompareMessages(*x, *y);
        c.Summary();
        c.Listing();
    }
    const std::vector<PaintRow> paints(2);
    const std::vector<MessageRow> plain = PlainLog(log), plainHalf = PlainLog(half);
    Require(Tags(HtmlReport(paints, "t", "", &log)) == Tags(HtmlReport(paints, "t", "", &plain)));
    Require(Tags(ComparedPage(paints, "a", paints, "b", "", "", &log, &half)) ==
            Tags(ComparedPage(paints, "a", paints, "b", "", "", &plain, &plainHalf)));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Scenario(text);
    Pair(text);
    Log(text);
    std::vector<PaintRow> rows;
    std::string error, cut;
    SystemFacts system;
    if (!ParseCsv(text, rows, error, &cut, &system)) {
        Require(!error.empty());
        return 0;
    }
    std::vector<PaintRow> again;
    std::string cutAgain;
    SystemFacts systemAgain;
    Require(ParseCsv(ToCsv(rows, cut, system), again, error, &cutAgain, &systemAgain));
    Require(again == rows && cutAgain == cut && FactList(systemAgain) == FactList(system));

    Require(CompareSystems(rows, rows).PaintsAgree());
    Require(CompareExact(rows, rows).empty());
    FormatTable(rows);

    // Markup in the file stays text: the page has as many tags as the page
    // of the same rows with every markup character taken out.
    std::vector<PaintRow> plain = rows;
    for (PaintRow& r : plain) r.action = Plain(r.action);
    const std::string title = rows.empty() ? "t" : rows[0].action;
    Require(Tags(HtmlReport(rows, title, cut)) ==
            Tags(HtmlReport(plain, Plain(title), Plain(cut))));
    Require(Tags(ComparedPage(rows, title, rows, "b", cut, "")) ==
            Tags(ComparedPage(plain, Plain(title), plain, "b", Plain(cut), "")));
    return 0;
}
