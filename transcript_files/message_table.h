// The table behind MessageName: each message's number, name, and how its
// two parameters read when nothing more is known of them.
#pragma once

#include <cstdint>

namespace transcript {

enum class ParamKind : uint8_t {
    Auto,           // as the hook found it: a window, an object, memory, else a number
    None,           // unused: not written
    Number,         // a whole number
    Hex,            // flags, codes: 0x...
    Hidden,         // changes from run to run (a thread's id): not written
    Point,          // x,y in the low and high words
    Size,           // width x height in the low and high words
    SizeType,       // SIZE_RESTORED, ...
    Hit,            // a hit-test code, HTCAPTION, ...
    HitAndMessage,  // a hit-test code and a mouse message
    Keys,           // MK_LBUTTON, ...
    Text,           // the text it points to, as the hook read it
};

struct MessageInfo {  // packed: the table is a good part of the tool
    uint16_t number;
    ParamKind w, l;
    const char* name;
};

// Null for a message the table does not hold.
const MessageInfo* FindMessage(uint32_t message);
// Whether the table is sorted by number, each number once, and so is the
// list of queries, each of them named.
bool MessagesSorted();

}  // namespace transcript
