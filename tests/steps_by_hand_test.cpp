// A person's steps recognised from message sequences, each written as a
// conformance test writes one and taken from real recordings (Wine 8, its
// virtual desktop, and a window manager's resizes): a message a line, "s" for
// one sent whose handling holds the lines below it until its "r", "S" for
// one sent that returns at once, "p" for one posted.
#include <gmock/gmock.h>

#include "steps_by_hand.h"

using namespace transcript;

namespace {

struct Line {
    char how;
    int window;
    const char* message;
    uint64_t wParam;
    std::vector<int32_t> words;
};

constexpr int kForm = kInForm1, kList = kInListView1, kHeader = kInHeader;
constexpr int32_t kNoMove = 0x0002, kNoZOrder = 0x0004, kState = 0x8000 | 0x0020;

std::vector<RawMessage> Log(const std::vector<Line>& lines) {
    std::vector<RawMessage> log;
    std::vector<size_t> open;
    for (const Line& l : lines) {
        if (l.how == 'r') {
            EXPECT_FALSE(open.empty());
            log[open.back()].returned = true;
            log[open.back()].ended = static_cast<int>(log.size());
            open.pop_back();
            continue;
        }
        RawMessage m;
        for (const MessageInfo& info : kMessages)
            if (std::string(info.name) == l.message) m.message = info.number;
        EXPECT_NE(m.message, 0u) << l.message;
        m.window = l.window;
        m.sent = l.how != 'p';
        m.wParam = l.wParam;
        std::copy(l.words.begin(), l.words.end(), m.before);
        if (l.how == 's') open.push_back(log.size());
        if (l.how == 'S') m.returned = true, m.ended = static_cast<int>(log.size()) + 1;
        log.push_back(m);
    }
    return log;
}

// A frame's change from outside or by a sizing loop: what Form1 hears of it.
// Its paints follow, unless another change comes first.
std::vector<Line> Change(int x, int y, int cx, int cy, int32_t flags, int size = 0,
                         bool paints = true) {
    std::vector<Line> lines = {
        {'S', kForm, "WM_WINDOWPOSCHANGING", 0, {x, y, cx, cy, flags}},
        {'s', kForm, "WM_WINDOWPOSCHANGED", 0, {x, y, cx, cy, flags | kNoZOrder}},
        {'S', kForm, "WM_SIZE", static_cast<uint64_t>(size), {}},
        {'r', 0, "", 0, {}}};
    if (paints)
        lines.insert(lines.end(),
                     {{'p', kForm, "WM_PAINT", 0, {}}, {'p', kList, "WM_PAINT", 0, {}}});
    return lines;
}

std::vector<Line> Join(std::initializer_list<std::vector<Line>> parts) {
    std::vector<Line> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<std::string> Actions(const std::vector<Line>& lines, Rect frame = {0, 0, 432, 386},
                                 int state = 0) {
    std::vector<std::string> out;
    for (const HandStep& s : StepsByHand(Log(lines), {frame, state}))
        out.push_back(StepText(s.step) +
                      (s.gesture ? " (gesture " + std::to_string(s.gesture) + ")" : ""));
    return out;
}

const std::vector<Line> kPressBottom = {{'p', kForm, "WM_NCLBUTTONDOWN", 15, {}},
                                        {'s', kForm, "WM_SYSCOMMAND", 0xF006, {}},
                                        {'S', kForm, "WM_ENTERSIZEMOVE", 0, {}}};
const std::vector<Line> kRelease = {{'S', kForm, "WM_EXITSIZEMOVE", 0, {}}, {'r', 0, "", 0, {}}};
const std::vector<Line> kSizing = {{'S', kForm, "WM_SIZING", 6, {}}};

TEST(StepsByHand, EachGestureIsNamedAsTheScenarioLineThatPlaysItAgain) {
    const struct {
        const char* what;
        std::vector<Line> lines;
        std::vector<std::string> actions;
        Rect frame;
    } table[] = {
        {"a drag inside Wine's desktop, a step a move",
         Join({kPressBottom, kSizing, Change(0, 0, 432, 396, kNoMove), kSizing,
               Change(0, 0, 432, 402, kNoMove), kRelease}),
         {"drag bottom +10 (gesture 1)", "drag bottom +6 (gesture 1)"},
         {0, 0, 432, 386}},
        {"a drag that comes back to where it began",
         Join({kPressBottom, kSizing, Change(0, 0, 432, 396, kNoMove), kSizing,
               Change(0, 0, 432, 386, kNoMove), kRelease}),
         {"drag bottom +10 (gesture 1)", "drag bottom -10 (gesture 1)"},
         {0, 0, 432, 386}},
        {"a press on the edge that moves nothing",
         Join({kPressBottom, kRelease}),
         {},
         {0, 0, 432, 386}},
        {"a window manager's resize: the change alone",
         Change(0, 0, 502, 456, kNoMove),
         {"resize right +12 from outside"},
         {0, 0, 490, 456}},
        {"a window manager's move and resize at once",
         Change(10, 20, 502, 466, 0),
         {"set outer size 502x466"},
         {0, 0, 490, 456}},
        {"the maximize button, then the restore button",
         Join({{{'p', kForm, "WM_NCLBUTTONDOWN", 9, {}}, {'s', kForm, "WM_SYSCOMMAND", 0xF030, {}}},
               Change(-4, -4, 1288, 1032, kState, 2),
               {{'r', 0, "", 0, {}},
                {'p', kForm, "WM_NCLBUTTONDOWN", 9, {}},
                {'s', kForm, "WM_SYSCOMMAND", 0xF120, {}}},
               Change(0, 0, 490, 456, kState, 0),
               {{'r', 0, "", 0, {}}}}),
         {"maximize button", "restore button"},
         {0, 0, 490, 456}},
        {"a maximize and a restore from outside (a taskbar, a window manager)",
         Join({Change(-4, -4, 1288, 1032, kState, 2), Change(0, 0, 490, 456, kState, 0)}),
         {"maximize from outside", "restore from outside"},
         {0, 0, 490, 456}},
        {"a double-click on the list, which grows Form1 twice",
         Join({{{'p', kList, "WM_LBUTTONDBLCLK", 1, {}}},
               Change(0, 0, 440, 456, kNoMove, 0, false),
               Change(0, 0, 490, 456, kNoMove)}),
         {"double-click list"},
         {0, 0, 432, 396}},
        {"a double-click on the header, which grows nothing",
         {{'p', kHeader, "WM_LBUTTONDBLCLK", 1, {}}},
         {"double-click header"},
         {0, 0, 432, 396}},
    };
    for (const auto& c : table)
        EXPECT_THAT(Actions(c.lines, c.frame), testing::ElementsAreArray(c.actions)) << c.what;
}

// A step's messages begin at the press that began it; a paint is the step's
// that was named before it began.
TEST(StepsByHand, MessagesFromThePressPaintsFromTheChange) {
    const std::vector<RawMessage> log =
        Log(Join({kPressBottom, kSizing, Change(0, 0, 432, 396, kNoMove), kSizing,
                  Change(0, 0, 432, 402, kNoMove), kRelease}));
    const std::vector<HandStep> steps = StepsByHand(log, {{0, 0, 432, 386}, 0});
    ASSERT_EQ(steps.size(), 2u);
    std::vector<int> ofMessages;
    for (size_t i = 0; i < log.size(); ++i)
        ofMessages.push_back(StepOfMessage(steps, static_cast<int>(i)));
    // press, command, enter, sizing, changing, changed, size, 2 paints;
    // sizing, changing, changed, size, 2 paints; exit.
    EXPECT_THAT(ofMessages, testing::ElementsAre(1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2));
    EXPECT_EQ(StepOfPaint(steps, 5), 0) << "a paint begun before the change was named";
    EXPECT_EQ(StepOfPaint(steps, 7), 1);
    EXPECT_EQ(StepOfPaint(steps, 14), 2);

    // The program's start, before the person found Form1, is no step.
    const std::vector<Line> start = Join({Change(0, 0, 200, 100, 0), Change(0, 0, 432, 386, 0)});
    const std::vector<RawMessage> started =
        Log(Join({start, kPressBottom, kSizing, Change(0, 0, 432, 396, kNoMove), kRelease}));
    const int from = static_cast<int>(Log(start).size());
    const std::vector<HandStep> after = StepsByHand(started, {{0, 0, 432, 386}, 0, from});
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(StepText(after[0].step), "drag bottom +10");
    EXPECT_EQ(StepOfMessage(after, from - 1), 0);
    EXPECT_EQ(StepOfMessage(after, from), 1);
}

}  // namespace
