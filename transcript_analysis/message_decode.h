// A message as the hook saw it, decoded for people: its window, its name and
// its parameters in words and numbers.
#pragma once

#include <string>

#include "message_log.h"

namespace transcript {

// The name of a watched window (WatchedWindow): "Form1", "ListView1", "ListView1 header", ...; "a
// window" for any other.
const char* WindowName(int window);
// "a brush", "memory": what a parameter the hook found is; null for a
// number, and for a window, named by WindowName.
const char* FoundName(Found found);

MessageRow Decode(const RawMessage& m);

// A row read from a log written before rows kept their numbers, given
// those the export reads, taken back from its words: the message's number,
// a window position's, WM_SIZE's parameters. A row that has them, and a
// registered message, are left as they are; false for words not as the
// decoder writes them.
bool NumbersFromWords(MessageRow& row);

// A message as one line: "Form1 sent WM_SIZE SIZE_RESTORED 636x539".
std::string MessageLine(const MessageRow& row);

}  // namespace transcript
