// libFuzzer target: any bytes as a transcript file and as a scenario file.
// What reads must write back and read again to the same rows or steps; a
// transcript must compare alike with itself; and no text from the file may
// reach a report as markup.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "html_report.h"
#include "scenario.h"
#include "transcript_rows.h"

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

// The same bytes as a scenario file: what reads is written as lines that
// read back to the same steps.
void Scenario(const std::string& text) {
    std::vector<Step> steps, again;
    std::string error, lines;
    if (!ParseScenario(text, steps, error)) return Require(!error.empty());
    for (const Step& s : steps) lines += StepText(s) + "\n";
    Require(ParseScenario(lines, again, error) && again == steps);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Scenario(text);
    std::vector<PaintRow> rows;
    std::string error, cut;
    if (!ParseCsv(text, rows, error, &cut)) {
        Require(!error.empty());
        return 0;
    }
    std::vector<PaintRow> again;
    std::string cutAgain;
    Require(ParseCsv(ToCsv(rows, cut), again, error, &cutAgain));
    Require(again == rows && cutAgain == cut);

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
    Require(Tags(HtmlComparison(rows, title, rows, "b", cut, "")) ==
            Tags(HtmlComparison(plain, Plain(title), plain, "b", Plain(cut), "")));
    return 0;
}
