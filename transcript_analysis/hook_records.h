// What the hook recorded in the memory it shares with the tool, read out as
// paint rows and raw messages, each named with its step and action.
#pragma once

#include <string>
#include <vector>

#include "hook_shared.h"
#include "message_log.h"
#include "steps_by_hand.h"
#include "transcript_rows.h"

namespace transcript {

// How a recording's steps are known: the actions of the steps the tool
// played (by step number, 0 the start), or a person's steps by hand.
struct StepNames {
    std::vector<std::string> played;
    const std::vector<HandStep>* byHand = nullptr;
    std::string Action(int step) const;
};

// The paints recorded, as rows; a paint not finished has no count, report
// or colour (-1, none).
std::vector<PaintRow> PaintRows(const HookShared& s, const StepNames& names);

// The messages logged, as numbers; each list view WM_PAINT takes its region
// from its paint's row.
std::vector<RawMessage> RawMessages(const HookShared& s, const std::vector<PaintRow>& paints,
                                    const StepNames& names);

// The messages logged, decoded, each with its step's action.
std::vector<MessageRow> MessageRows(const std::vector<RawMessage>& log, const StepNames& names);

}  // namespace transcript
