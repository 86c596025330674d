// The messages behind the paints: every message the program's windows took
// while a scenario or a person acted, as the hook saw it (plain numbers),
// decoded for people, stored as CSV beside a transcript, and two systems'
// logs compared step by step. No window system here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hook_shared.h"
#include "message_catalogue.h"
#include "transcript_rows.h"

namespace transcript {

// The name of a watched window (WatchedWindow): "Form1", "ListView1", "ListView1 header", ...; "a
// window" for any other.
const char* WindowName(int window);
// "a brush", "memory": what a parameter the hook found is; null for a
// number, and for a window, named by WindowName.
const char* FoundName(Found found);

// What the hook saw of one message: the numbers, and the structures its
// parameters point to as they were when it came and when it returned.
struct RawMessage {
    static constexpr int kWords = 12;
    int step = 0;
    int paint = 0;  // the paint it came before, or whose handling it is part of (from 1)
    int window = 0;
    bool sent = false;      // sent rather than posted
    bool returned = false;  // a sent one whose handling has returned: result and after are set
    uint32_t message = 0;
    uint64_t wParam = 0, lParam = 0;
    int64_t result = 0;
    Found wFound = Found::Number, lFound = Found::Number, rFound = Found::Number;
    int wWindow = -1, lWindow = -1, rWindow = -1;  // which watched window, where one is
    int32_t before[kWords] = {}, after[kWords] = {};
    int ended = 0;             // a sent one that returned: the messages logged by then
    int depth = 0;             // the sent messages under way when it came
    std::string text;          // WM_SETTEXT's text; a registered message's name
    std::vector<Rect> region;  // the list view's update region at its WM_PAINT
};

// One row of a message log, as people read it and the file stores it.
struct MessageRow {
    int step = 0;
    std::string action;
    int paint = 0;
    std::string window;      // "Form1"
    std::string how;         // "sent" or "posted"
    std::string message;     // "WM_NCCALCSIZE", or "0x0401" where it has no name
    std::string parameters;  // "window 0,0,1288,1032; was 0,0,...": no handles, no pointers
    std::string result;      // of a sent one
    int depth = -1;          // in which sent messages' handling it came; -1: not recorded
    bool operator==(const MessageRow& o) const;
};

MessageRow Decode(const RawMessage& m);

// The log without the program's start, step 0, as DropStart of its paints,
// which took `paints` paints: the rest of its rows are numbered as those left.
void DropStart(std::vector<MessageRow>& log, int paints);

// A file beside a transcript: "X.csv" (or any other name) to "X" + ending.
std::string BesideTranscript(const std::string& transcriptPath, const std::string& ending);
// "X.messages.csv" beside "X.csv".
std::string MessagesPath(const std::string& transcriptPath);

// CSV with a header line; a log cut short, or one that filled, says so in a
// last line of its own, a comment ("# cut short: ...", "# full: ..."). What
// a spreadsheet writes back reads as ParseCsv reads it.
std::string MessagesToCsv(const std::vector<MessageRow>& rows, const std::string& cutShort = "",
                          const std::string& full = "");
bool ParseMessagesCsv(const std::string& text, std::vector<MessageRow>& rows, std::string& error,
                      std::string* cutShort = nullptr, std::string* full = nullptr);

// Two systems' logs compared step by step, as a sequence of messages each.
struct StepMessages {
    int step = 0;
    std::string action;
    std::string first;  // "Form1 WM_NCCALCSIZE: returned client 0,0,1280,1005 / 0,0,1280,998"
    std::vector<std::string> onlyA, onlyB, differ;
    // The same, as rows of each log: pairs of one kind that differ, and rows alone.
    std::vector<std::pair<size_t, size_t>> pairs;
    std::vector<size_t> aloneA, aloneB;
};
struct MessageComparison {
    int steps = 0;  // in either log
    std::vector<StepMessages> differing;
    std::vector<bool> markedA, markedB;  // rows that are not matched on the other side
    std::string Summary() const;         // "messages: 51 of 56 steps alike"
    std::vector<std::string> Listing() const;
    // The first differing message of a step, or empty.
    const StepMessages* Step(int step) const;
};
MessageComparison CompareMessages(const std::vector<MessageRow>& a,
                                  const std::vector<MessageRow>& b);

// The differences of two logs grouped by cause, a line a cause, in the order
// first seen: messages of one window whose numbers differ by the same amounts
// ("Form1: 480 messages in 55 steps differ only by +7 in B's numbers"); one
// message whose words differ the same way ("ListView1 WM_WINDOWPOSCHANGING:
// SWP_NOZORDER / (none)"); one kind of message found on one side only. Each
// with its count and the first step it is seen at.
std::vector<std::string> MessageCauses(const std::vector<MessageRow>& a,
                                       const std::vector<MessageRow>& b,
                                       const MessageComparison& c);

// A message as one line: "Form1 sent WM_SIZE SIZE_RESTORED 636x539".
std::string MessageLine(const MessageRow& row);

}  // namespace transcript
