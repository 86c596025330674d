// Two message logs' differences grouped by what caused them, so that one
// cause seen at hundreds of messages reads as one line.
#include <algorithm>
#include <cctype>

#include "message_compare.h"
#include "text_fields.h"

namespace transcript {

namespace {

// A text cut into its numbers and what stands between them.
struct Pattern {
    std::string words;  // the text with each number as "#"
    std::vector<long long> numbers;
};

Pattern PatternOf(const std::string& text) {
    Pattern s;
    for (size_t i = 0; i < text.size();) {
        const bool sign = text[i] == '-' && i + 1 < text.size() &&
                          std::isdigit(static_cast<unsigned char>(text[i + 1])) &&
                          (i == 0 || !std::isalnum(static_cast<unsigned char>(text[i - 1])));
        if (!sign && !std::isdigit(static_cast<unsigned char>(text[i]))) {
            s.words += text[i++];
            continue;
        }
        // A number inside a name (0x0401, LVN_2) is a word; a size's height
        // (640x480) is a number.
        const bool size =
            i > 1 && text[i - 1] == 'x' && std::isdigit(static_cast<unsigned char>(text[i - 2]));
        if (!size && i > 0 &&
            (std::isalpha(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '_')) {
            s.words += text[i++];
            continue;
        }
        size_t end = i + (sign ? 1 : 0);
        long long n = 0;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) &&
               n < (1LL << 40))
            n = n * 10 + (text[end++] - '0');
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
        s.numbers.push_back(sign ? -n : n);
        s.words += '#';
        i = end;
    }
    return s;
}

// The words of a text that the other does not have, in order.
std::string WordsNotIn(const std::string& text, const std::string& other) {
    std::vector<std::string> there;
    auto words = [](const std::string& t) {
        std::vector<std::string> out;
        std::string word;
        for (char c : t + " ") {
            if (c == ' ' || c == ';' || c == '|' || c == ',') {
                if (!word.empty() && !std::isdigit(static_cast<unsigned char>(word.back())))
                    out.push_back(word);
                word.clear();
            } else
                word += c;
        }
        return out;
    };
    there = words(other);
    std::string out;
    for (const std::string& w : words(text)) {
        const auto found = std::find(there.begin(), there.end(), w);
        if (found != there.end())
            there.erase(found);  // each word of the other once
        else
            out += (out.empty() ? "" : " ") + w;
    }
    return out.empty() ? "(none)" : out;
}

std::string Signed(long long n) {
    return (n > 0 ? "+" : "") + std::to_string(n);
}

// What made two messages of one kind differ: the amounts by which their
// numbers differ, where nothing else does; else the words each has alone.
std::string CauseOf(const MessageRow& a, const MessageRow& b) {
    const std::string ta = a.parameters + "|" + a.result, tb = b.parameters + "|" + b.result;
    const Pattern sa = PatternOf(ta), sb = PatternOf(tb);
    if (sa.words == sb.words && sa.numbers.size() == sb.numbers.size()) {
        std::vector<long long> amounts;
        for (size_t i = 0; i < sa.numbers.size(); ++i) {
            const long long d = sb.numbers[i] - sa.numbers[i];
            if (d && std::find(amounts.begin(), amounts.end(), d) == amounts.end())
                amounts.push_back(d);
        }
        std::sort(amounts.begin(), amounts.end());
        std::string by;
        for (long long d : amounts) by += (by.empty() ? "" : " and ") + Signed(d);
        return a.window + ": differ only by " + by + " in B's numbers";
    }
    return a.window + " " + a.message + ": " + WordsNotIn(ta, tb) + " / " + WordsNotIn(tb, ta);
}

struct Cause {
    std::string text;
    int messages = 0, steps = 0, lastStep = -1;
    int firstStep = 0;
    std::string firstAction, example;
};

}  // namespace

std::vector<std::string> MessageCauses(const std::vector<MessageRow>& a,
                                       const std::vector<MessageRow>& b,
                                       const MessageComparison& c) {
    // Few causes, however many messages: a search along them is enough.
    std::vector<Cause> causes;
    auto count = [&](const std::string& text, const StepMessages& s, const std::string& example) {
        auto at = std::find_if(causes.begin(), causes.end(),
                               [&](const Cause& c) { return c.text == text; });
        if (at == causes.end())
            at = causes.insert(causes.end(), {text, 0, 0, -1, s.step, s.action, example});
        Cause& cause = *at;
        ++cause.messages;
        if (cause.lastStep != s.step) ++cause.steps, cause.lastStep = s.step;
    };
    for (const StepMessages& s : c.differing) {
        for (size_t i = 0; i < s.pairs.size(); ++i)
            count(CauseOf(a[s.pairs[i].first], b[s.pairs[i].second]), s, s.differ[i]);
        for (size_t i = 0; i < s.aloneA.size(); ++i) {
            const MessageRow& r = a[s.aloneA[i]];
            count("only in A: " + r.window + " " + r.how + " " + r.message, s, s.onlyA[i]);
        }
        for (size_t i = 0; i < s.aloneB.size(); ++i) {
            const MessageRow& r = b[s.aloneB[i]];
            count("only in B: " + r.window + " " + r.how + " " + r.message, s, s.onlyB[i]);
        }
    }
    std::vector<std::string> out;
    for (const Cause& k : causes) {
        std::string line = k.text + ": " + std::to_string(k.messages) +
                           (k.messages == 1 ? " message" : " messages");
        if (k.steps > 1) line += " in " + std::to_string(k.steps) + " steps";
        line += ", first at step " + std::to_string(k.firstStep) + " " + k.firstAction;
        if (k.messages > 1 || k.text.compare(0, 5, "only ") != 0) line += " (" + k.example + ")";
        out.push_back(line);
    }
    return out;
}

}  // namespace transcript
