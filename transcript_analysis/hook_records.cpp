// Reading the hook's records: numbers into rows, steps into names.
#include "hook_records.h"
#include "message_decode.h"

#include <algorithm>
#include <cstring>

namespace transcript {

std::string StepNames::Action(int step) const {
    if (byHand)
        return step > 0 && step <= static_cast<int>(byHand->size())
                   ? StepText((*byHand)[step - 1].step)
                   : "start";
    return step >= 0 && static_cast<size_t>(step) < played.size() ? played[step] : "";
}

std::vector<PaintRow> PaintRows(const HookShared& s, const StepNames& names) {
    std::vector<PaintRow> rows;
    const int n = std::min<int>(int{s.paints}, kMaxPaints);
    for (int i = 0; i < n; ++i) {
        const HookPaint& p = s.records[i];
        PaintRow row;
        row.step = names.byHand ? StepOfPaint(*names.byHand, p.message) : p.step;
        row.action = names.Action(row.step);
        row.outerWidth = p.outerWidth, row.outerHeight = p.outerHeight;
        row.clientWidth = p.clientWidth, row.clientHeight = p.clientHeight;
        row.viewWidth = p.viewWidth, row.viewHeight = p.viewHeight;
        if (!p.complete || !ParseCount(p.count, row.count)) row.count = -1;
        if (!p.complete || !ParseReport(p.report, row.reported)) row.reported = {-1, -1, -1, -1};
        if (p.complete) row.colour = ColourText(p.colour);
        for (int k = p.firstRect; k < p.firstRect + p.rectCount && k < kMaxRects; ++k) {
            const HookRect& r = s.rects[k];
            row.region.push_back({r.left, r.top, r.right, r.bottom});
        }
        rows.push_back(row);
    }
    return rows;
}

namespace {

// Which watched window a handle is, as the windows finally stood; kWatched
// for another window of the program (and -1 for a parameter).
int WatchedOf(const HookShared& s, uint64_t handle) {
    for (int i = 0; i < kWatched; ++i)
        if (handle && s.windows[i] == handle) return i;
    return kWatched;
}

int WindowParam(const HookShared& s, uint64_t value, Found found) {
    const int watched = found == Found::Window ? WatchedOf(s, value) : kWatched;
    return watched < kWatched ? watched : -1;
}

}  // namespace

std::vector<RawMessage> RawMessages(const HookShared& s, const std::vector<PaintRow>& paints,
                                    const StepNames& names) {
    std::vector<RawMessage> out;
    const int n = std::min<int>(int{s.messages}, kMaxMessages);
    for (int i = 0; i < n; ++i) {
        const HookMessage& h = s.messageLog[i];
        RawMessage m;
        m.step = h.step, m.paint = h.paint, m.window = WatchedOf(s, h.window);
        m.sent = h.sent, m.returned = h.returned, m.ended = h.ended;
        m.depth = h.depth;
        m.message = h.message, m.wParam = h.wParam, m.lParam = h.lParam, m.result = h.result;
        m.wFound = static_cast<Found>(h.wFound), m.lFound = static_cast<Found>(h.lFound);
        m.rFound = static_cast<Found>(h.rFound);
        m.wWindow = WindowParam(s, h.wParam, m.wFound);
        m.lWindow = WindowParam(s, h.lParam, m.lFound);
        m.rWindow = WindowParam(s, static_cast<uint64_t>(h.result), m.rFound);
        std::copy(h.before, h.before + RawMessage::kWords, m.before);
        std::copy(h.after, h.after + RawMessage::kWords, m.after);
        m.text.assign(h.text, strnlen(h.text, sizeof h.text));
        if (h.message == steps::kWmPaint && m.window == kInListView1 && h.paint >= 1 &&
            static_cast<size_t>(h.paint) <= paints.size())
            m.region = paints[h.paint - 1].region;
        out.push_back(std::move(m));
    }
    if (names.byHand)
        for (size_t i = 0; i < out.size(); ++i)
            out[i].step = StepOfMessage(*names.byHand, static_cast<int>(i));
    return out;
}

std::vector<MessageRow> MessageRows(const std::vector<RawMessage>& log, const StepNames& names) {
    std::vector<MessageRow> rows;
    for (const RawMessage& m : log) {
        if (m.window >= kWatched) continue;  // a window the program made beside its own
        rows.push_back(Decode(m));
        rows.back().action = names.Action(m.step);
    }
    return rows;
}

}  // namespace transcript
