// Recognising a person's steps: the log replayed in the order the hook saw
// it, each message and each return of one, through a small state machine.
#include "steps_by_hand.h"

#include <algorithm>

#include "scenario.h"

namespace transcript {

namespace {

using namespace steps;

Step Moved(Step::Kind kind, const char* where, int dx, int dy) {
    Step step;
    step.kind = kind;
    step.where = where;
    step.moves = {{dx, dy}};
    return step;
}

// The edge or corner a change from outside moved; false if it is not one of
// those alone.
bool EdgeMoved(const Rect& a, const Rect& b, Step& step) {
    const int top = a.top - b.top, bottom = b.bottom - a.bottom;
    const int left = a.left - b.left, right = b.right - a.right;
    const char* where = !top && !left && !right && bottom   ? "bottom"
                        : !top && !left && right && !bottom ? "right"
                        : top && !left && !right && !bottom ? "top"
                        : !top && left && !right && !bottom ? "left"
                        : !top && !left && right && bottom  ? "corner"
                                                            : nullptr;
    if (where) step = Moved(Step::Resize, where, left ? left : right, top ? top : bottom);
    return where != nullptr;
}

class Recogniser {
  public:
    Recogniser(const std::vector<RawMessage>& log, const FrameState& start)
        : log_(log), from_(start.from), last_(start.frame), lastState_(start.state) {}

    std::vector<HandStep> Run() {
        // The returns of sent messages, each where the log stood as it came
        // back; of those at one place, the innermost first.
        std::vector<std::pair<int, int>> returns;  // (ended, -index)
        for (size_t i = from_; i < log_.size(); ++i)
            if (log_[i].sent && log_[i].returned)
                returns.emplace_back(log_[i].ended, -static_cast<int>(i));
        std::sort(returns.begin(), returns.end());
        size_t r = 0;
        for (size_t i = from_; i < log_.size(); ++i) {
            for (; r < returns.size() && returns[r].first <= static_cast<int>(i); ++r)
                Returned(log_[-returns[r].second]);
            at_ = static_cast<int>(i);
            const RawMessage& m = log_[i];
            if (!m.sent)
                Posted(m);
            else if (m.window == kInForm1)
                Sent(m);
        }
        return steps_;
    }

  private:
    void NewStep(const Step& step, int gesture, int from) {
        steps_.push_back({step, gesture, from, at_});
    }

    void Returned(const RawMessage& m) {
        if (m.window == kInForm1 && m.message == kWmSysCommand) inCommand_ = false;
    }

    void Posted(const RawMessage& m) {
        inDoubleClick_ = false;  // the last message's handling has ended
        if (m.window == kInForm1 &&
            (m.message == kWmNcLButtonDown || m.message == kWmNcLButtonDblClk))
            ncHit_ = static_cast<int>(m.wParam), pressAt_ = at_;
        if (m.message != kWmLButtonDblClk) return;
        Step click;
        click.kind = Step::DoubleClick;
        click.where = m.window == kInListView1 ? "list" : m.window == kInHeader ? "header" : "";
        if (!click.where.empty()) NewStep(click, 0, at_);
        inDoubleClick_ = m.window == kInListView1 || m.window == kInHeader;
    }

    void Sent(const RawMessage& m) {
        switch (m.message) {
            case kWmEnterSizeMove:
                sizing_ = ncHit_;
                ++gesture_;
                gestureBegun_ = true;
                break;
            case kWmExitSizeMove:
                sizing_ = ncHit_ = 0;  // a sizing loop from the keyboard has no press
                break;
            case kWmSysCommand:
                Command(static_cast<uint32_t>(m.wParam) & 0xFFF0);
                break;
            case kWmWindowPosChanged:
                Changed(m);
                sizingSeen_ = false;
                break;
            case kWmSizing:
                changeAt_ = at_, sizingSeen_ = true;
                break;
            case kWmWindowPosChanging:
                if (!sizingSeen_) changeAt_ = at_;
                break;
        }
    }

    void Command(uint32_t command) {
        const char* name = command == kScMaximize   ? "maximize"
                           : command == kScRestore  ? "restore"
                           : command == kScMinimize ? "minimize"
                                                    : nullptr;
        if (!name) return;
        Step step;
        step.kind = ncHit_ == kHtMaxButton || ncHit_ == kHtMinButton ? Step::Button : Step::State;
        step.where = name;
        NewStep(step, 0, step.kind == Step::Button ? pressAt_ : at_);
        ncHit_ = 0;
        inCommand_ = statePending_ = true;
    }

    // Form1's frame and state once this WM_WINDOWPOSCHANGED is handled: its
    // state as the WM_SIZE sent within it says.
    FrameState After(const RawMessage& m) const {
        FrameState now{last_, lastState_};
        const int32_t* w = m.before;
        if (!(w[words::kFlags] & kSwpNoMove)) {
            now.frame.right += w[words::kX] - now.frame.left;
            now.frame.bottom += w[words::kY] - now.frame.top;
            now.frame.left = w[words::kX], now.frame.top = w[words::kY];
        }
        if (!(w[words::kFlags] & kSwpNoSize)) {
            now.frame.right = now.frame.left + w[words::kWidth];
            now.frame.bottom = now.frame.top + w[words::kHeight];
        }
        const int end = m.returned ? m.ended : static_cast<int>(log_.size());
        for (int i = at_ + 1; i < end; ++i) {
            const RawMessage& size = log_[i];
            if (size.window != kInForm1 || !size.sent || size.message != kWmSize) continue;
            now.state = size.wParam == kSizeMaximized ? 1 : size.wParam == kSizeMinimized ? 2 : 0;
            break;
        }
        return now;
    }

    void Changed(const RawMessage& m) {
        const FrameState now = After(m);
        const Rect before = last_;
        const bool resized = now.frame.right - now.frame.left != before.right - before.left ||
                             now.frame.bottom - now.frame.top != before.bottom - before.top;
        last_ = now.frame;
        if (now.state != lastState_) {
            lastState_ = now.state;
            if (inCommand_ || statePending_ || inDoubleClick_) {
                statePending_ = false;
                return;
            }
            const char* names[] = {"restore", "maximize", "minimize"};
            Step step;
            step.kind = Step::State;
            step.where = names[now.state];
            NewStep(step, 0, changeAt_);
            return;
        }
        if (!resized || inCommand_ || inDoubleClick_ || now.state != 0) return;
        if (const char* grip = EdgeOfHit(sizing_)) {  // one move of a drag
            const int dx =
                sizing_ == kHtLeft ? before.left - last_.left : last_.right - before.right;
            const int dy =
                sizing_ == kHtTop ? before.top - last_.top : last_.bottom - before.bottom;
            NewStep(Moved(Step::Drag, grip, dx, dy), gesture_,
                    gestureBegun_ ? pressAt_ : changeAt_);
            gestureBegun_ = false;
            return;
        }
        Step step;
        if (!EdgeMoved(before, last_, step)) {
            step.kind = Step::OuterSize;
            step.width = last_.right - last_.left;
            step.height = last_.bottom - last_.top;
        }
        NewStep(step, 0, changeAt_);
    }

    const std::vector<RawMessage>& log_;
    const size_t from_;
    std::vector<HandStep> steps_;
    int at_ = 0;                  // the message being replayed
    int ncHit_ = 0;               // where the last non-client press on Form1 was
    int sizing_ = 0;              // the sizing loop's hit-test code; 0 outside one
    int gesture_ = 0;             // the number of the last gesture
    bool inCommand_ = false;      // inside a WM_SYSCOMMAND of a step already named
    bool inDoubleClick_ = false;  // a double-click's growth is under way
    bool statePending_ = false;   // a state step whose change may come later
    Rect last_;                   // Form1's frame, as last seen
    int pressAt_ = 0;             // Form1's last press on its frame
    int changeAt_ = 0;            // the WM_SIZING or WM_WINDOWPOSCHANGING of the last change
    bool sizingSeen_ = false;     // a WM_SIZING began the change under way
    bool gestureBegun_ = false;   // a sizing loop has begun and named no step yet
    int lastState_ = 0;           // 0 normal, 1 maximized, 2 minimized
};

}  // namespace

std::vector<HandStep> StepsByHand(const std::vector<RawMessage>& log, const FrameState& start) {
    return Recogniser(log, start).Run();
}

int StepOfMessage(const std::vector<HandStep>& steps, int index) {
    int step = 0;
    for (size_t n = 0; n < steps.size(); ++n)
        if (steps[n].from <= index) step = static_cast<int>(n) + 1;
    return step;
}

int StepOfPaint(const std::vector<HandStep>& steps, int index) {
    int step = 0;
    for (size_t n = 0; n < steps.size(); ++n)
        if (steps[n].at < index) step = static_cast<int>(n) + 1;
    return step;
}

}  // namespace transcript
