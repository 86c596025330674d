// Two systems' message logs compared step by step.
#include <algorithm>

#include "message_compare.h"
#include "text_fields.h"
#include "message_decode.h"

namespace transcript {

namespace {

// "window how message": what a message is, whatever its parameters.
std::string Key(const MessageRow& r) {
    return r.window + " " + r.how + " " + r.message;
}
std::string Full(const MessageRow& r) {
    return Key(r) + "\x1F" + r.parameters + "\x1F" + r.result + "\x1F" + std::to_string(r.depth);
}

// "w 1; x 2; y 3" against "w 1; x 4; y 3": "x 2 / x 4", each value whole,
// only those that differ.
std::string FieldsApart(const std::string& a, const std::string& b) {
    const std::vector<std::string> fa = Split(a, ';'), fb = Split(b, ';');
    std::string out;
    for (size_t i = 0; i < fa.size() || i < fb.size(); ++i) {
        auto field = [](const std::vector<std::string>& f, size_t i) {
            const std::string text = i < f.size() ? f[i] : "";
            const size_t start = text.find_first_not_of(' ');
            return start == std::string::npos ? std::string("(none)") : text.substr(start);
        };
        const std::string one = field(fa, i), other = field(fb, i);
        if (one != other) out = Join(out, one + " / " + other, "; ");
    }
    return out;
}

// How two messages of one kind differ.
std::string Apart(const MessageRow& a, const MessageRow& b) {
    std::string out;
    if (a.parameters != b.parameters) out = FieldsApart(a.parameters, b.parameters);
    if (a.result != b.result) out = Join(out, "returned " + FieldsApart(a.result, b.result), "; ");
    if (a.depth != b.depth)
        out = Join(out, "depth " + std::to_string(a.depth) + " / " + std::to_string(b.depth), "; ");
    return a.window + " " + a.message + ": " + out;
}

// Which of a and b are matched, as the longest common subsequence has them;
// past a size, only a common start and end.
constexpr size_t kLargestTable = 4u << 20;
void Match(const std::vector<std::string>& a, const std::vector<std::string>& b,
           std::vector<bool>& inA, std::vector<bool>& inB) {
    inA = std::vector<bool>(a.size());
    inB = std::vector<bool>(b.size());
    size_t head = 0, tail = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        inA[head] = inB[head] = true, ++head;
    while (tail + head < a.size() && tail + head < b.size() &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        inA[a.size() - 1 - tail] = inB[b.size() - 1 - tail] = true, ++tail;
    const size_t n = a.size() - head - tail, m = b.size() - head - tail;
    if (!n || !m || (n + 1) * (m + 1) > kLargestTable) return;
    std::vector<uint32_t> table((n + 1) * (m + 1), 0);
    auto at = [&](size_t i, size_t j) -> uint32_t& { return table[i * (m + 1) + j]; };
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            at(i, j) = a[head + i] == b[head + j] ? at(i + 1, j + 1) + 1
                                                  : std::max(at(i + 1, j), at(i, j + 1));
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (a[head + i] == b[head + j]) {
            inA[head + i] = inB[head + j] = true;
            ++i, ++j;
        } else if (at(i + 1, j) >= at(i, j + 1))
            ++i;
        else
            ++j;
    }
}

}  // namespace

namespace {

// One step's rows on both sides.
struct StepRows {
    int step;
    std::string action;
    std::vector<size_t> a, b;
};

// Each step's rows on both sides, in step order.
std::vector<StepRows> ByStep(const std::vector<MessageRow>& a, const std::vector<MessageRow>& b) {
    std::vector<StepRows> steps;
    const auto rowsOf = [&](const MessageRow& row) -> StepRows& {
        auto at = std::lower_bound(steps.begin(), steps.end(), row.step,
                                   [](const StepRows& r, int step) { return r.step < step; });
        if (at == steps.end() || at->step != row.step)
            at = steps.insert(at, StepRows{row.step, row.action, {}, {}});
        return *at;
    };
    for (size_t i = 0; i < a.size(); ++i) rowsOf(a[i]).a.push_back(i);
    for (size_t i = 0; i < b.size(); ++i) rowsOf(b[i]).b.push_back(i);
    return steps;
}

// The first message of a step where the sides part.
std::string FirstApart(const std::vector<MessageRow>& a, const std::vector<MessageRow>& b,
                       const StepRows& rows, const std::vector<std::string>& fa,
                       const std::vector<std::string>& fb) {
    size_t k = 0;
    while (k < fa.size() && k < fb.size() && fa[k] == fb[k]) ++k;
    if (k < fa.size() && k < fb.size() && Key(a[rows.a[k]]) == Key(b[rows.b[k]]))
        return Apart(a[rows.a[k]], b[rows.b[k]]);
    return "A: " + (k < fa.size() ? MessageLine(a[rows.a[k]]) : "nothing more") +
           " / B: " + (k < fb.size() ? MessageLine(b[rows.b[k]]) : "nothing more");
}

// The messages of a step left unmatched: those of one kind on both sides, in
// order, are one message whose parameters differ; the rest stand alone.
void PairUnmatched(const std::vector<MessageRow>& a, const std::vector<MessageRow>& b,
                   const StepRows& rows, const std::vector<bool>& inA, const std::vector<bool>& inB,
                   StepMessages& s, MessageComparison& c) {
    const std::vector<size_t>&ia = rows.a, &ib = rows.b;
    size_t from = 0;
    std::vector<bool> paired(ib.size(), false);
    for (size_t i = 0; i < ia.size(); ++i) {
        if (inA[i]) continue;
        c.markedA[ia[i]] = true;
        size_t j = from;
        while (j < ib.size() && (inB[j] || paired[j] || Key(b[ib[j]]) != Key(a[ia[i]]))) ++j;
        if (j < ib.size()) {
            paired[j] = true;
            from = j + 1;
            s.differ.push_back(Apart(a[ia[i]], b[ib[j]]));
            s.pairs.emplace_back(ia[i], ib[j]);
        } else {
            s.onlyA.push_back(MessageLine(a[ia[i]]));
            s.aloneA.push_back(ia[i]);
        }
    }
    for (size_t j = 0; j < ib.size(); ++j) {
        if (inB[j]) continue;
        c.markedB[ib[j]] = true;
        if (!paired[j]) {
            s.onlyB.push_back(MessageLine(b[ib[j]]));
            s.aloneB.push_back(ib[j]);
        }
    }
}

// The logs as they compare: where one was recorded before depths were,
// neither's depths count.
std::vector<MessageRow> WithoutDepths(std::vector<MessageRow> rows) {
    for (MessageRow& r : rows) r.depth = -1;
    return rows;
}

// An empty log has none: else one against a log without depths would be
// stripped of them forever.
bool HasDepths(const std::vector<MessageRow>& rows) {
    return !rows.empty() &&
           std::none_of(rows.begin(), rows.end(), [](const MessageRow& r) { return r.depth < 0; });
}

// Where one was recorded before the system's drawing objects were named by
// their kind, each is "an object" in both.
std::string AnObject(std::string text) {
    for (Found f : {Found::DeviceContext, Found::Brush, Found::Region, Found::Font, Found::Bitmap,
                    Found::Pen}) {
        const std::string kind = FoundName(f);
        for (size_t at = text.find(kind); at != std::string::npos; at = text.find(kind, at))
            text.replace(at, kind.size(), "an object");
    }
    return text;
}

bool NamesKinds(const std::vector<MessageRow>& rows) {
    return std::any_of(rows.begin(), rows.end(), [](const MessageRow& r) {
        return AnObject(r.parameters) != r.parameters || AnObject(r.result) != r.result;
    });
}

std::vector<MessageRow> WithoutKinds(std::vector<MessageRow> rows) {
    for (MessageRow& r : rows) r.parameters = AnObject(r.parameters), r.result = AnObject(r.result);
    return rows;
}

}  // namespace

MessageComparison CompareMessages(const std::vector<MessageRow>& a,
                                  const std::vector<MessageRow>& b) {
    if (HasDepths(a) != HasDepths(b)) return CompareMessages(WithoutDepths(a), WithoutDepths(b));
    if (NamesKinds(a) != NamesKinds(b)) return CompareMessages(WithoutKinds(a), WithoutKinds(b));
    MessageComparison c;
    c.markedA = std::vector<bool>(a.size());
    c.markedB = std::vector<bool>(b.size());
    const std::vector<StepRows> steps = ByStep(a, b);
    c.steps = static_cast<int>(steps.size());
    for (const StepRows& rows : steps) {
        std::vector<std::string> fa, fb;
        for (size_t i : rows.a) fa.push_back(Full(a[i]));
        for (size_t i : rows.b) fb.push_back(Full(b[i]));
        if (fa == fb) continue;
        StepMessages s;
        s.step = rows.step;
        s.action = rows.action;
        s.first = FirstApart(a, b, rows, fa, fb);
        std::vector<bool> inA, inB;
        Match(fa, fb, inA, inB);
        PairUnmatched(a, b, rows, inA, inB, s, c);
        c.differing.push_back(std::move(s));
    }
    return c;
}

std::string MessageComparison::Summary() const {
    return "messages: " + std::to_string(steps - static_cast<int>(differing.size())) + " of " +
           std::to_string(steps) + (steps == 1 ? " step" : " steps") + " alike";
}

std::vector<std::string> MessageComparison::Listing() const {
    constexpr size_t kShown = 10;  // of each kind, a step
    std::vector<std::string> out;
    for (const StepMessages& s : differing) {
        out.push_back("step " + std::to_string(s.step) + " " + s.action + ": " + s.first);
        for (const auto& [label, lines] :
             {std::pair<const char*, const std::vector<std::string>*>{"only in A", &s.onlyA},
              {"only in B", &s.onlyB},
              {"differs", &s.differ}}) {
            for (size_t i = 0; i < lines->size() && i < kShown; ++i)
                out.push_back(std::string("  ") + label + ": " + (*lines)[i]);
            if (lines->size() > kShown)
                out.push_back("  " + std::string(label) + ": and " +
                              std::to_string(lines->size() - kShown) + " more");
        }
    }
    return out;
}

const StepMessages* MessageComparison::Step(int step) const {
    const auto at =
        std::lower_bound(differing.begin(), differing.end(), step,
                         [](const StepMessages& s, int number) { return s.step < number; });
    return at != differing.end() && at->step == step ? &*at : nullptr;
}

}  // namespace transcript
