// Numbers named by the tables of flags and values.
#include "message_flags.h"

#include "text_fields.h"

namespace transcript {

// The flags set, by name, "|" between; bits without a name as a number.
std::string Flags(uint32_t value, Names names) {
    std::string out;
    for (const Flag* f = names.begin; f != names.begin + names.size; ++f)
        if (f->bits && (value & f->bits) == f->bits) {
            out += (out.empty() ? "" : "|") + std::string(f->name);
            value &= ~f->bits;
        }
    if (value) out += (out.empty() ? "" : "|") + Hex(value);
    return out.empty() ? "0" : out;
}

// One of several values by name, else the number.
std::string OneOf(int32_t value, Names names) {
    for (const Flag* f = names.begin; f != names.begin + names.size; ++f)
        if (static_cast<int32_t>(f->bits) == value) return f->name;
    return std::to_string(value);
}

}  // namespace transcript
