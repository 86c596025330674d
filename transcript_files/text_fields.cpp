// Numbers and lists in text, read and written one way wherever they stand.
#include "text_fields.h"

namespace transcript {

bool ParseInt(const std::string& text, int32_t& value, IntForm form) {
    const bool sign = !text.empty() && (text[0] == '-' || text[0] == '+');
    if (sign ? form == IntForm::Plain || (form == IntForm::Strict && text[0] == '+')
             : form == IntForm::Signed)
        return false;
    const size_t first = sign ? 1 : 0;
    if (first == text.size() || text.size() - first > 10) return false;
    if (form == IntForm::Strict && text[first] == '0' && (text.size() > first + 1 || sign))
        return false;  // no leading zero, no "-0"
    int64_t v = 0;
    for (size_t i = first; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
    }
    if (text[0] == '-') v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int32_t>(v);
    return true;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace transcript
