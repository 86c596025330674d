// Two systems' message logs compared step by step, and their differences
// grouped by cause.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "message_log.h"

namespace transcript {

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

}  // namespace transcript
