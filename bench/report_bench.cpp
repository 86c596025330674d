// Figures for reports of long recordings: bytes a paint and time to write
// the HTML report at 50, 1,000 and 8,192 paints (the recorded `all`
// scenario played over and over), the comparison page of 8,192 paints with
// itself, and the alignment of 16,000 one-paint steps. Never fails on time.
// usage: report_bench TRANSCRIPT.csv
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "html_report.h"
#include "transcript_rows.h"

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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: report_bench TRANSCRIPT.csv\n");
        return 2;
    }
    std::string text;
    if (FILE* f = std::fopen(argv[1], "rb")) {
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
    }
    std::vector<PaintRow> once;
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
        ParseCsv(ToCsv(rows), once, error);
        const double csvTime = Seconds(start);
        std::printf(
            "report: %5zu paints: %8zu bytes, %4.0f bytes a paint, written in %.3f s; "
            "CSV %4.0f bytes a paint, written and read in %.3f s\n",
            paints, bytes, double(bytes) / paints, report, double(csv) / paints, csvTime);
    }
    const std::vector<PaintRow> rows = Repeated(once, 8192);
    auto start = std::chrono::steady_clock::now();
    const size_t bytes = HtmlComparison(rows, "a", rows, "b").size();
    std::printf("comparison page: 8192 paints each side: %zu bytes, %.0f bytes a paint, %.3f s\n",
                bytes, double(bytes) / 8192, Seconds(start));

    std::vector<PaintRow> steps;
    for (int step = 1; step <= 16000; ++step) {
        const Rect strip = {0, step, 9, step + 1};
        steps.push_back({step, "drag bottom +1", 1, 1, 1, 1, 1, strip, {strip}, "", 9, 99});
    }
    start = std::chrono::steady_clock::now();
    const Comparison c = CompareSystems(steps, steps);
    std::printf("alignment: 16000 one-paint steps in %.1f ms (%s)\n", Seconds(start) * 1000,
                c.PaintSummary().c_str());
    return 0;
}
