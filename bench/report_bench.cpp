// Figures for reports of long recordings: bytes a paint and time to write
// the HTML report at 50, 1,000 and 8,192 paints (the recorded `all`
// scenario played over and over), the comparison page of 8,192 paints with
// itself, and the alignment of 16,000 one-paint steps; with the transcript's
// message log beside it, the log's CSV, its comparison with another system's
// and the comparison page with both logs. Never fails on time.
// usage: report_bench TRANSCRIPT.csv [OTHER.csv]
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "html_report.h"
#include "message_log.h"
#include "transcript_rows.h"
#include "paint_compare.h"
#include "message_compare.h"
#include "support/pages.h"

using namespace transcript;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The recording played again and again, steps numbered on.
std::vector<PaintRow> Repeated(const std::vector<PaintRow>& once, size_t paints) {
    std::vector<PaintRow> rows;
    int offset = 0;
    while (rows.size() < paints) {
        for (size_t i = 0; i < once.size() && rows.size() < paints; ++i) {
            rows.push_back(once[i]);
            rows.back().step += offset;
        }
        offset = rows.back().step;
    }
    return rows;
}

std::string Read(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

// The log played again and again as Repeated plays the paints.
std::vector<MessageRow> RepeatedLog(const std::vector<MessageRow>& once, int paints, int steps,
                                    size_t rounds) {
    std::vector<MessageRow> log;
    for (size_t k = 0; k < rounds; ++k)
        for (MessageRow m : once) {
            m.step += static_cast<int>(k) * steps;
            m.paint += static_cast<int>(k) * paints;
            log.push_back(std::move(m));
        }
    return log;
}

// The logs of two systems, played over as many rounds as 8,192 paints take.
void Logs(const std::string& a, const std::string& b, const std::vector<PaintRow>& once) {
    std::vector<MessageRow> logA, logB;
    std::vector<PaintRow> onceB;
    std::string error;
    if (!ParseMessagesCsv(Read(MessagesPath(a)), logA, error) ||
        !ParseMessagesCsv(Read(MessagesPath(b)), logB, error) || !ParseCsv(Read(b), onceB, error))
        return;
    const size_t rounds = 8192 / once.size();
    const int steps = once.back().step;
    const std::vector<MessageRow> manyA =
        RepeatedLog(logA, static_cast<int>(once.size()), steps, rounds);
    const std::vector<MessageRow> manyB =
        RepeatedLog(logB, static_cast<int>(onceB.size()), steps, rounds);
    auto start = std::chrono::steady_clock::now();
    const std::string csv = MessagesToCsv(manyA);
    ParseMessagesCsv(csv, logA, error);
    std::printf("message log: %zu messages: CSV %.0f bytes a message, written and read in %.3f s\n",
                manyA.size(), double(csv.size()) / manyA.size(), Seconds(start));
    start = std::chrono::steady_clock::now();
    const MessageComparison c = CompareMessages(manyA, manyB);
    std::printf("messages compared: %zu against %zu in %.3f s (%s)\n", manyA.size(), manyB.size(),
                Seconds(start), c.Summary().c_str());
    std::vector<PaintRow> rowsA, rowsB;
    for (size_t k = 0; k < rounds; ++k) {
        rowsA.insert(rowsA.end(), once.begin(), once.end());
        rowsB.insert(rowsB.end(), onceB.begin(), onceB.end());
    }
    start = std::chrono::steady_clock::now();
    const size_t bytes = ComparedPage(rowsA, "a", rowsB, "b", "", "", &manyA, &manyB).size();
    std::printf(
        "comparison page with both logs: %zu paints each side: %zu bytes, %.0f bytes a "
        "message, %.3f s\n",
        rowsA.size(), bytes, double(bytes) / double(manyA.size() + manyB.size()), Seconds(start));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: report_bench TRANSCRIPT.csv [OTHER.csv]\n");
        return 2;
    }
    const std::string text = Read(argv[1]);
    std::vector<PaintRow> once, all;
    std::string error;
    if (!ParseCsv(text, once, error) || once.empty()) {
        std::fprintf(stderr, "report_bench: %s: %s\n", argv[1], error.c_str());
        return 2;
    }
    for (size_t paints : {50, 1000, 8192}) {
        const std::vector<PaintRow> rows = Repeated(once, paints);
        auto start = std::chrono::steady_clock::now();
        const size_t bytes = HtmlReport(rows, "bench").size();
        const double report = Seconds(start);
        start = std::chrono::steady_clock::now();
        const size_t csv = ToCsv(rows).size();
        ParseCsv(ToCsv(rows), all, error);
        const double csvTime = Seconds(start);
        std::printf(
            "report: %5zu paints: %8zu bytes, %4.0f bytes a paint, written in %.3f s; "
            "CSV %4.0f bytes a paint, written and read in %.3f s\n",
            paints, bytes, double(bytes) / paints, report, double(csv) / paints, csvTime);
    }
    const std::vector<PaintRow> rows = Repeated(once, 8192);
    auto start = std::chrono::steady_clock::now();
    const size_t bytes = ComparedPage(rows, "a", rows, "b").size();
    std::printf("comparison page: 8192 paints each side: %zu bytes, %.0f bytes a paint, %.3f s\n",
                bytes, double(bytes) / 8192, Seconds(start));

    // The worst case: a third system one pixel lower at every paint (as Wine
    // 5.0 against 8.0), so that no row folds away.
    std::vector<PaintRow> lower = rows;
    for (PaintRow& r : lower) ++r.reported.bottom;
    start = std::chrono::steady_clock::now();
    const Matrix matrix = CompareMany({rows, rows, lower}, {"a", "b", "c"});
    const size_t matrixBytes =
        HtmlMatrix(matrix, {Named(rows, "a"), Named(rows, "b"), Named(lower, "c")}).size();
    std::printf(
        "matrix of 3 systems: 8192 paints each: %zu bytes, %.0f bytes a paint a system, "
        "%.3f s\n",
        matrixBytes, double(matrixBytes) / (3 * 8192), Seconds(start));

    std::vector<PaintRow> steps;
    for (int step = 1; step <= 16000; ++step) {
        const Rect strip = {0, step, 9, step + 1};
        steps.push_back({step, "drag bottom +1", 1, 1, 1, 1, 1, strip, {strip}, "", 9, 99});
    }
    start = std::chrono::steady_clock::now();
    const Comparison c = CompareSystems(steps, steps);
    std::printf("alignment: 16000 one-paint steps in %.1f ms (%s)\n", Seconds(start) * 1000,
                c.PaintSummary().c_str());
    if (argc == 3) Logs(argv[1], argv[2], once);
    return 0;
}
