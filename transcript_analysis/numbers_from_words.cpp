// A log written before rows kept their numbers: the few the export needs,
// read back once from the words the decoder wrote.
#include "message_decode.h"
#include "message_flags.h"
#include "text_fields.h"

namespace transcript {

namespace {

// "WxH" into two numbers.
bool ParseTimes(const std::string& text, int32_t& a, int32_t& b) {
    const size_t x = text.find('x');
    return x != std::string::npos && ParseInt(text.substr(0, x), a) &&
           ParseInt(text.substr(x + 1), b);
}

// "at X,Y size WxH FLAGS" and what may follow.
bool PositionFromWords(MessageRow& row) {
    const std::vector<std::string> f = Split(row.parameters, ' ');
    if (f.size() < 5 || f[0] != "at" || f[2] != "size") return false;
    const size_t comma = f[1].find(',');
    int32_t x = 0, y = 0, cx = 0, cy = 0;
    if (comma == std::string::npos || !ParseInt(f[1].substr(0, comma), x) ||
        !ParseInt(f[1].substr(comma + 1), y) || !ParseTimes(f[3], cx, cy))
        return false;
    uint32_t bits = 0;
    if (f[4] != "0") {
        for (const std::string& name : Split(f[4], '|')) {
            bool known = false;
            for (const Flag& flag : flags::kSwp)
                if (name == flag.name) bits |= flag.bits, known = true;
            if (!known) return false;
        }
    }
    row.x = x, row.y = y, row.cx = cx, row.cy = cy, row.flags = bits;
    return true;
}

// "SIZE_RESTORED 424x369"
bool SizeFromWords(MessageRow& row) {
    const std::vector<std::string> f = Split(row.parameters, ' ');
    int32_t cx = 0, cy = 0;
    if (f.size() != 2 || !ParseTimes(f[1], cx, cy)) return false;
    for (const Flag& type : flags::kSizeType)
        if (f[0] == type.name) {
            row.wParam = type.bits;
            row.lParam = static_cast<int32_t>(static_cast<uint32_t>(cy & 0xFFFF) << 16 |
                                              static_cast<uint32_t>(cx & 0xFFFF));
            return true;
        }
    return false;
}

}  // namespace

bool NumbersFromWords(MessageRow& row) {
    if (row.number) return true;
    if (row.message.compare(0, 10, "registered") == 0 || row.message == "a registered message")
        return true;  // numbered afresh each session
    const MessageInfo* info = nullptr;
    for (const MessageInfo& m : kMessages)
        if (row.message == m.name) info = &m;
    uint32_t number = 0;
    if (info)
        number = info->number;
    else if (row.message.compare(0, 2, "0x") != 0 || !ParseHex(row.message, number))
        return false;
    row.number = number;
    if (row.message == "WM_WINDOWPOSCHANGING" || row.message == "WM_WINDOWPOSCHANGED")
        return PositionFromWords(row);
    if (row.message == "WM_SIZE") return SizeFromWords(row);
    return true;
}

}  // namespace transcript
