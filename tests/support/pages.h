// Pages made from rows, as the tool makes them from recordings: each
// comparison made once, then handed to the page.
#pragma once

#include <string>
#include <vector>

#include "html_report.h"

namespace transcript {

inline Recording Named(const std::vector<PaintRow>& rows, const std::string& name,
                       const std::string& cut = "", const std::vector<MessageRow>* log = nullptr) {
    Recording r;
    r.rows = rows, r.name = name, r.cut = cut;
    if (log) r.log = *log, r.logged = true;
    return r;
}

// Two systems' page; their messages compared where both have a log.
inline std::string ComparedPage(const std::vector<PaintRow>& a, const std::string& nameA,
                                const std::vector<PaintRow>& b, const std::string& nameB,
                                const std::string& cutA = "", const std::string& cutB = "",
                                const std::vector<MessageRow>* logA = nullptr,
                                const std::vector<MessageRow>* logB = nullptr) {
    const MessageComparison m = logA && logB ? CompareMessages(*logA, *logB) : MessageComparison();
    return HtmlComparison(Named(a, nameA, cutA, logA), Named(b, nameB, cutB, logB),
                          CompareSystems(a, b), logA && logB ? &m : nullptr);
}

}  // namespace transcript
