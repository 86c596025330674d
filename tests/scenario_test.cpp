#include <gmock/gmock.h>

#include <algorithm>
#include <climits>

#include "message_catalogue.h"
#include "options.h"
#include "scenario.h"
#include "text_fields.h"

using namespace transcript;
using testing::ElementsAre;
using testing::StartsWith;

namespace {

Step S(Step::Kind kind, const char* where, std::vector<Step::Delta> moves = {}, int width = 0,
       int height = 0) {
    Step s;
    s.kind = kind;
    s.where = where;
    s.moves = moves;
    s.width = width;
    s.height = height;
    return s;
}

Step Outside(Step s) {
    s.outside = true;
    return s;
}

Step Parsed(const std::string& line) {
    std::vector<Step> steps;
    std::string error;
    EXPECT_TRUE(ParseScenario(line, steps, error)) << line << ": " << error;
    return steps.empty() ? Step{} : steps[0];
}

// Each kind of step: what a line reads as, and the line it is written as.
TEST(Scenario, EachKindOfStepReadsAndWritesInOneVocabulary) {
    const struct {
        const char* line;
        Step step;
        const char* written;  // where it is written otherwise than read
    } table[] = {
        {"drag bottom +10 x3", S(Step::Drag, "bottom", {{0, 10}, {0, 10}, {0, 10}}), nullptr},
        {"  drag  top +4 +10   # up", S(Step::Drag, "top", {{0, 4}, {0, 10}}), "drag top +4 +10"},
        {"drag left -5", S(Step::Drag, "left", {{-5, 0}}), nullptr},
        {"drag corner +8,+4 +5", S(Step::Drag, "corner", {{8, 4}, {5, 5}}), nullptr},
        {"double-click header", S(Step::DoubleClick, "header"), nullptr},
        {"restore button", S(Step::Button, "restore"), nullptr},
        {"minimize from outside", S(Step::State, "minimize"), nullptr},
        {"resize corner +3,+0 from outside", S(Step::Resize, "corner", {{3, 0}}), nullptr},
        {"set client width 150", S(Step::ClientWidth, "", {}, 150), nullptr},
        {"set outer size 432x396", S(Step::OuterSize, "", {}, 432, 396), nullptr},
        {"move by +5,-7", S(Step::Move, "", {{5, -7}}), nullptr},
        {"move down 120", S(Step::Move, "", {{0, 120}}), nullptr},
        {"room above 120", S(Step::RoomAbove, "", {}, 0, 120), nullptr},
        {"move  left 3 from  outside", Outside(S(Step::Move, "", {{-3, 0}})),
         "move left 3 from outside"},
        {"room above 90 from outside", Outside(S(Step::RoomAbove, "", {}, 0, 90)), nullptr},
    };
    for (const auto& t : table) {
        const Step s = Parsed(t.line);
        EXPECT_TRUE(s == t.step) << t.line;
        EXPECT_EQ(StepText(s), t.written ? t.written : t.line);
    }
    // A transcript names each move of a drag; room made above is a move down.
    const Step drag = Parsed("drag corner +8,+4 +5");
    EXPECT_EQ(MoveText(drag, 0) + "; " + MoveText(drag, 1), "drag corner +8,+4; drag corner +5");
    EXPECT_EQ(MoveText(Parsed("room above 120"), 0), "move down 120");
    EXPECT_EQ(MoveText(Parsed("room above 120 from outside"), 0), "move down 120 from outside");
}

// Each kind of step is one row of its table, and the parser, the writer,
// --help, the player's press and its change from outside all follow it.
TEST(Scenario, EachKindOfStepIsOneRowThatEveryReaderFollows) {
    const struct {
        const char* line;
        Played played;
        int hit;
        const char* part;
    } table[] = {
        {"drag left -5", Played::ByFrame, steps::kHtLeft, "left edge"},
        {"drag corner +8,+4", Played::ByFrame, steps::kHtBottomRight, "corner"},
        {"double-click header", Played::InList, 0, "list view's header"},
        {"minimize button", Played::ByButton, steps::kHtMinButton, "minimize button"},
        {"restore button", Played::ByButton, steps::kHtMaxButton, "restore button"},
        {"maximize from outside", Played::FromOutside, 0, ""},
        {"resize top +3 from outside", Played::FromOutside, 0, ""},
        {"set client width 150", Played::FromOutside, 0, ""},
        {"set outer size 432x396", Played::FromOutside, 0, ""},
        {"move by +5,-7", Played::ByCaption, steps::kHtCaption, "caption"},
        {"room above 90", Played::ByCaption, steps::kHtCaption, "caption"},
        {"room above 90 from outside", Played::FromOutside, 0, ""},
    };
    const std::string help = Usage();
    std::vector<bool> seen(StepKinds().size());
    for (const auto& t : table) {
        const Step s = Parsed(t.line);
        const StepKind& k = StepKinds()[s.kind];
        seen[s.kind] = true;
        EXPECT_EQ(k.kind, s.kind) << t.line;
        EXPECT_EQ(StepText(s), t.line);
        EXPECT_THAT(std::string(k.first) + "|", testing::HasSubstr(Split(t.line, ' ')[0] + "|"));
        EXPECT_THAT(help, testing::HasSubstr(k.help)) << t.line;
        EXPECT_EQ(PlayedOf(s), t.played) << t.line;
        EXPECT_EQ(HitOf(s), t.hit) << t.line;
        EXPECT_EQ(PressedPart(s), t.part) << t.line;
        EXPECT_EQ(FromOutside({s})[0].kind, k.fromOutside) << t.line;
        EXPECT_EQ(PlayedOf(FromOutside({s})[0]),
                  s.kind == Step::DoubleClick ? Played::InList : Played::FromOutside)
            << t.line;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), false), 0) << "a kind without a line here";
    // Every first word is named where a line names none of them.
    std::vector<Step> steps;
    std::string error;
    EXPECT_FALSE(ParseScenario("fly away", steps, error));
    for (const StepKind& k : StepKinds())
        for (const std::string& first : Split(k.first, '|'))
            EXPECT_THAT(error, testing::HasSubstr(" " + first)) << first;
}

// What a window manager takes, played from outside: each move of a drag a
// resize, a caption button its state change, a move by the caption a move
// from outside; what reaches the program itself stays as it was.
TEST(Scenario, FromOutsideEveryChangeAWindowManagerTakesIsMadeByAnotherProgram) {
    std::vector<Step> steps;
    std::string error;
    ASSERT_TRUE(
        ParseScenario("room above 40\ndrag top +10 x2\ndrag corner +8,+4\n"
                      "maximize button\nrestore from outside\ndouble-click list\n"
                      "move by +5,-7\nset client width 150\n",
                      steps, error));
    std::vector<std::string> lines;
    for (const Step& s : FromOutside(steps)) lines.push_back(StepText(s));
    EXPECT_THAT(lines,
                ElementsAre("room above 40 from outside", "resize top +10 from outside",
                            "resize top +10 from outside", "resize corner +8,+4 from outside",
                            "maximize from outside", "restore from outside", "double-click list",
                            "move by +5,-7 from outside", "set client width 150"));
}

TEST(Scenario, TheBuiltInScenariosPrintedReadBackAsTheSameSteps) {
    std::vector<Step> steps;
    std::string error;
    ASSERT_TRUE(ParseScenario(BuiltInText(4, 7), steps, error)) << error;
    EXPECT_TRUE(steps == BuiltInSteps("all", 4, 7));
    std::vector<Step> each;  // "all" is every one of them, in turn
    for (const BuiltIn& b : BuiltInScenarios()) {
        const std::vector<Step> one = BuiltInSteps(b.name, 4, 7);
        each.insert(each.end(), one.begin(), one.end());
    }
    EXPECT_TRUE(each == steps);
    // As an editor on Windows saves them: a byte-order mark, CRLF.
    std::string saved = "\xEF\xBB\xBF" + BuiltInText(4, 7);
    for (size_t at = 0; (at = saved.find('\n', at)) != std::string::npos; at += 2)
        saved.insert(at, "\r");
    ASSERT_TRUE(ParseScenario(saved, each, error)) << error;
    EXPECT_TRUE(each == steps);
    EXPECT_THAT(
        BuiltInText(1, 7),
        StartsWith("# scenario drag: the bottom edge down, N moves of M pixels (default 10 of 10)\n"
                   "drag bottom +7\n"));
    std::vector<std::string> top;
    for (const Step& s : BuiltInSteps("top", 10, 10)) top.push_back(StepText(s));
    EXPECT_THAT(top, ElementsAre("room above 120", "drag top +10 x10"));
    EXPECT_TRUE(BuiltInSteps("nonesuch", 10, 10).empty());
}

TEST(Scenario, ABadLineIsRefusedWithItsNumberAndNothingIsPlayed) {
    const struct {
        const char* text;
        const char* error;
    } bad[] = {
        {"drag bottom +10\n\nfly away", "line 3: expected a step: drag, double-click, maximize"},
        {"drag botom +10",
         "line 1: expected an edge or corner (bottom, right, top, left or "
         "corner), found \"drag botom +10\""},
        {"drag bottom 10", "line 1: expected pixels as +N, found"},
        {"drag bottom", "line 1: expected pixels as +N after the edge"},
        {"drag bottom +3,+4", "line 1: expected pixels as +N, found"},
        {"drag bottom x3", "line 1: expected pixels as +N before a repeat count, found"},
        {"drag bottom +10 x0", "line 1: expected a repeat count from x1 to x1000, found"},
        {"drag bottom +10 x1001", "line 1: expected a repeat count from x1 to x1000, found"},
        {"drag bottom +2147483648", "line 1: expected pixels as +N, found"},
        {"# a comment\r\ndouble-click",
         "line 2: expected double-click list or double-click header"},
        {"resize bottom +10", "line 1: expected resize EDGE +N from outside"},
        {"maximize", "line 1: expected \"button\" or \"from outside\" after it"},
        {"set client width -3", "line 1: expected set client width N or set outer size WxH"},
        {"set outer size 432", "line 1: expected set client width N or set outer size WxH"},
        {"move sideways 3", "line 1: expected move by +X,+Y or move down/up/right/left N"},
        {"room above", "line 1: expected room above N"},
        {"room above from outside", "line 1: expected room above N from outside"},
        {"move by from outside", "line 1: expected move by +X,+Y or move down/up/right/left N"},
        {"double-click list from outside", "line 1: expected double-click list or"},
    };
    for (const auto& b : bad) {
        std::vector<Step> steps;
        std::string error;
        EXPECT_FALSE(ParseScenario(b.text, steps, error)) << b.text;
        EXPECT_THAT(error, StartsWith(b.error)) << b.text;
        EXPECT_TRUE(steps.empty()) << b.text;
    }
}

// Whatever the writer is given, its line reads back as the same step: a
// slow drag by hand is a run of equal moves longer than one repeat holds,
// and numbers reach the ends of their range.
TEST(Scenario, EveryLineTheWriterWritesReadsBackAsTheSameStep) {
    std::vector<Step::Delta> slow(2500, {0, 1});
    slow.push_back({0, 2});
    const Step steps[] = {
        S(Step::Drag, "bottom", slow),
        S(Step::Drag, "bottom", std::vector<Step::Delta>(1001, {0, 1})),
        S(Step::Drag, "left", {{INT_MIN, 0}, {INT_MAX, 0}}),
        S(Step::Drag, "corner", {{INT_MIN, INT_MAX}}),
        S(Step::Move, "", {{0, INT_MIN}}),
        S(Step::Move, "", {{INT_MIN, 0}}),
        S(Step::Move, "", {{INT_MIN, INT_MIN}}),
        S(Step::OuterSize, "", {}, INT_MAX, 0),
    };
    for (const Step& s : steps) {
        std::vector<Step> again;
        std::string error;
        EXPECT_TRUE(ParseScenario(StepText(s), again, error)) << StepText(s) << ": " << error;
        EXPECT_TRUE(again.size() == 1 && again[0] == s) << StepText(s);
    }
    EXPECT_EQ(StepText(steps[0]), "drag bottom +1 x1000 +1 x1000 +1 x500 +2");
    EXPECT_EQ(StepText(steps[1]), "drag bottom +1 x1000 +1");
}

// What a person did: the moves of one drag, one line; two drags, two.
TEST(Scenario, GesturesByHandJoinIntoTheLinesThatPlayThemAgain) {
    std::vector<Step> steps;
    std::string error;
    ASSERT_TRUE(
        ParseScenario("drag bottom +3\ndrag bottom +4\ndrag bottom +5\ndouble-click list\n"
                      "resize bottom +2 from outside\nresize bottom +2 from outside\n",
                      steps, error));
    std::vector<std::string> lines;
    for (const Step& s : JoinGestures(steps, {7, 7, 8, 0, 0, 0})) lines.push_back(StepText(s));
    EXPECT_THAT(lines,
                ElementsAre("drag bottom +3 +4", "drag bottom +5", "double-click list",
                            "resize bottom +2 from outside", "resize bottom +2 from outside"));
}

}  // namespace

// A reference's actions, a step each, played again; and where a scenario
// and a reference part.
TEST(Scenario, AReferencesActionsAreTheStepsThatPlayItAgain) {
    std::vector<Step> steps;
    std::string error;
    ASSERT_TRUE(StepsFromActions({"drag bottom +10", "drag bottom +10", "drag right +10",
                                  "move down 120", "double-click list", "maximize button"},
                                 steps, error))
        << error;
    EXPECT_THAT(steps, ElementsAre(S(Step::Drag, "bottom", {{0, 10}, {0, 10}}),
                                   S(Step::Drag, "right", {{10, 0}}), S(Step::Move, "", {{0, 120}}),
                                   S(Step::DoubleClick, "list"), S(Step::Button, "maximize")));
    EXPECT_FALSE(StepsFromActions({"drag bottom +10", "wave"}, steps, error));
    EXPECT_THAT(error, StartsWith("step 2: expected a step, found \"wave\""));

    const std::vector<Step> all = BuiltInSteps("all", 10, 10);
    std::vector<std::string> actions;
    for (const Step& s : all)
        for (size_t m = 0; m < (s.kind == Step::Drag ? s.moves.size() : 1); ++m)
            actions.push_back(MoveText(s, m));
    std::string mine, theirs;
    EXPECT_EQ(PartingStep(all, actions, mine, theirs), 0);
    // A room above the recording did not need, it did not make.
    std::vector<std::string> noRoom = actions;
    noRoom.erase(std::find(noRoom.begin(), noRoom.end(), "move down 120"));
    EXPECT_EQ(PartingStep(all, noRoom, mine, theirs), 0);
    EXPECT_EQ(PartingStep(BuiltInSteps("drag", 10, 10), actions, mine, theirs), 11);
    EXPECT_EQ(mine + " / " + theirs, "nothing more / drag right +10");
    EXPECT_EQ(PartingStep(BuiltInSteps("drag", 10, 5), actions, mine, theirs), 1);
    EXPECT_EQ(mine + " / " + theirs, "drag bottom +5 / drag bottom +10");
}
