// Numbers and lists in text, read and written one way wherever they stand.
#include "text_fields.h"

namespace transcript {

bool Mistake(std::string& error, const std::string& what) {
    error = what;
    return false;
}

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

std::string HexDigits(uint32_t value, int width, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    for (; value || width > 0; value >>= 4, --width) out.insert(out.begin(), digits[value & 15]);
    return out;
}

bool ParseHex(const std::string& text, uint32_t& value) {
    if (text.size() < 3 || text.size() > 10 || text.compare(0, 2, "0x") != 0) return false;
    value = 0;
    for (size_t i = 2; i < text.size(); ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return false;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return true;
}

std::string Hex(uint32_t value) {
    return "0x" + HexDigits(value);
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Folder(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

std::string Join(const std::string& a, const std::string& b, const char* between) {
    return a.empty() ? b : b.empty() ? a : a + between + b;
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
