// The self-test's lines: a need each, what was found of it, and what to do
// where it did not hold, from the numbers the run found.
#include "self_test.h"

#include "message_log.h"

namespace transcript {

namespace {

const char kReport[] = "report it to the tool's developers with all of these lines, as they stand";

SelfTestLine Desktop(const SelfTestFindings& f) {
    if (!f.desktopError.empty())
        return {false, "desktop", "no Wine virtual desktop of the tool's own: " + f.desktopError,
                "check that Wine's explorer.exe runs in this prefix (wine explorer "
                "/desktop=test,640x480 notepad), or run inside a virtual desktop of Wine's "
                "own (winecfg, Graphics)"};
    if (!f.underWine)
        return {true, "desktop",
                "this system's own, where the tool's input sizes Form1 as a "
                "person's does",
                ""};
    if (f.ownDesktop)
        return {true, "desktop",
                "a Wine virtual desktop of the tool's own, 1280 x 1024 (as "
                "every recording whose steps a frame takes)",
                ""};
    if (f.framing)
        return {true, "desktop", "a Wine virtual desktop, where the tool's input sizes Form1", ""};
    return {true, "desktop",
            "the display's own (--on-this-desktop): a window manager, or nothing, sizes Form1 "
            "there",
            ""};
}

SelfTestLine Start(const SelfTestFindings& f) {
    if (!f.startError.empty())
        return {false, "the start", "paintprobe.exe did not show Form1: " + f.startError,
                "check that paintprobe.exe and paint_hook.dll stand beside this tool, from the "
                "same build; then " +
                    std::string(kReport)};
    if (!f.fromStart)
        return {false, "the start",
                "the hook was set only once Form1 appeared, so recordings here leave out step 0: " +
                    f.hookRefused,
                kReport};
    if (f.startPaints == 0)
        return {false, "the start", "the hook was on from the start, but saw no paint there",
                kReport};
    return {true, "the start",
            "the hook was on before Form1 was made: step 0's first paint seen (" +
                std::to_string(f.startPaints) + (f.startPaints == 1 ? " paint" : " paints") +
                " in it)",
            ""};
}

SelfTestLine Front(const SelfTestFindings& f) {
    if (f.inFront) return {true, "the front", "Form1 was brought to the front as it showed", ""};
    return {false, "the front",
            "another window stayed in front of Form1 (Windows lets a program take the front only "
            "where the one in front let it): the first press of every recording here then "
            "activates Form1 as well, in its step 1",
            "start the tool from the window in front (the console you typed in), and touch "
            "nothing until it ends"};
}

std::string InputTodo(const SelfTestFindings& f) {
    if (f.underWine && !f.framing && !f.ownDesktop)
        return "leave out --on-this-desktop: the tool then runs Form1 in a Wine virtual desktop "
               "of its own, where its input sizes frames as on Windows";
    if (f.underWine) return "run it again; if it comes again, " + std::string(kReport);
    return "leave the mouse and keys alone while it runs, with nothing above Form1, in the "
           "signed-in desktop (not a locked screen, a service or a remote session minimized); "
           "then run it again";
}

SelfTestLine Input(const SelfTestFindings& f) {
    const std::string asked =
        "a drag of Form1's bottom edge by +" + std::to_string(f.pixels) + " pixels";
    const int grew = f.heightAfter - f.heightBefore;
    if (f.inputFault.empty() && grew == f.pixels)
        return {true, "input",
                asked + " reached Form1 and resized it (its height " +
                    std::to_string(f.heightBefore) + " to " + std::to_string(f.heightAfter) + ")",
                ""};
    std::string found = asked + " did not resize Form1 as asked (its height " +
                        std::to_string(f.heightBefore) + " to " + std::to_string(f.heightAfter) +
                        ")";
    if (!f.inputFault.empty()) found += ": " + f.inputFault;
    return {false, "input", found, InputTodo(f)};
}

SelfTestLine Colours(const SelfTestFindings& f) {
    const std::string of =
        std::to_string(f.paints) + (f.paints == 1 ? " paint" : " paints") + " seen";
    if (f.paints > 0 && f.coloured == f.paints)
        return {true, "colours", "read back from the list view for every one of the " + of, ""};
    return {false, "colours",
            "read back from the list view for " + std::to_string(f.coloured) + " of the " + of +
                "; transcripts here leave the others' colour empty (comparisons do not need "
                "it)",
            kReport};
}

using Need = SelfTestLine (*)(const SelfTestFindings&);
const Need kNeeds[] = {Desktop, Start, Front, Input, Colours};

}  // namespace

std::vector<SelfTestLine> SelfTestLines(const SelfTestFindings& f) {
    std::vector<SelfTestLine> lines;
    for (Need need : kNeeds) lines.push_back(need(f));
    // Without Form1 the rest was not tried.
    if (!f.startError.empty()) lines.resize(2);
    return lines;
}

bool AllHeld(const std::vector<SelfTestLine>& lines) {
    for (const SelfTestLine& l : lines)
        if (!l.held) return false;
    return true;
}

std::string SelfTestReport(const SelfTestFindings& f) {
    std::string text = "self-test of paint_transcript";
    if (!f.facts.system.empty()) text += " on " + f.facts.system;
    text += "\n";
    for (const auto& [label, value] : FactList(f.facts))
        if (value != f.facts.system) text += "  " + label + ": " + value + "\n";
    const std::vector<SelfTestLine> lines = SelfTestLines(f);
    int held = 0;
    for (const SelfTestLine& l : lines) {
        held += l.held;
        text += std::string(l.held ? "ok      " : "FAILED  ") + l.need + ": " + l.found + "\n";
        if (!l.held) text += "        what to do: " + l.todo + "\n";
    }
    text += "self-test: " +
            (AllHeld(lines) ? "all " + std::to_string(held) + " needs hold"
                            : std::to_string(held) + " of " + std::to_string(lines.size()) +
                                  " needs hold; do what each FAILED line says, and attach all "
                                  "of these lines to any report") +
            (f.startError.empty() ? "" : " (the rest was not tried without Form1)") + "\n";
    return text;
}

std::string SelfTestPath(const std::string& transcriptPath) {
    return BesideTranscript(transcriptPath, ".self-test.txt");
}

}  // namespace transcript
