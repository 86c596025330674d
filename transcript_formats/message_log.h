// The messages behind the paints: every message the program's windows took
// while a scenario or a person acted, as the hook saw it (plain numbers) and
// as people read it, stored as CSV beside a transcript. No window system here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hook_shared.h"
#include "message_catalogue.h"
#include "transcript_rows.h"

namespace transcript {

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
    // The numbers the words are made of, where the log holds them (one
    // written before kept none): the message's number (none for a
    // registered one, numbered afresh each session); wParam, lParam and a
    // returned result where they are plain numbers (never handles or
    // pointers), their low 32 bits; a window position's as sent; the first
    // rectangle the message carries (the window's for WM_NCCALCSIZE, the
    // dragged one for WM_SIZING and WM_MOVING, the update's bounds for
    // WM_PAINT and WM_NCPAINT).
    using Number = std::optional<int64_t>;
    Number number = {}, wParam = {}, lParam = {}, lResult = {};
    Number x = {}, y = {}, cx = {}, cy = {}, flags = {};
    Number left = {}, top = {}, right = {}, bottom = {};
    bool operator==(const MessageRow& o) const;
};

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

}  // namespace transcript
