// --self-test: a short recording on the system at hand, one small drag,
// read for what every recording needs of the system; said a line a need.
#include <windows.h>

#include "own_desktop.h"
#include "player.h"
#include "remote.h"
#include "self_test.h"
#include "stop_request.h"
#include "this_system.h"
#include "tool_files.h"

namespace transcript {

namespace {

constexpr int kPixels = 10;

int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Form1 started where recordings start it, and one drag of its bottom edge.
void Try(const Options& o, SelfTestFindings& f) {
    OwnDesktop own;  // before the remote: the program ends before its desktop
    if (f.underWine && !f.framing && !o.onThisDesktop) {
        f.ownDesktop = own.Open(f.desktopError);
        if (!f.ownDesktop) return;
    }
    // The screen as this tool sees it (the desktop's own, where one was
    // opened), where the program does not say.
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int area[4] = {work.left, work.top, work.right, work.bottom};
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    SetScreen(f.facts, width, height, area, f.ownDesktop);
    Remote remote;
    if (!remote.Start(f.startError, own.Name())) {
        if (remote.Faulted()) f.startError = remote.FaultText();
        return;
    }
    f.facts = ThisSystem(remote.Facts(), remote.OnOwnDesktop());
    if (f.facts.screen.empty()) SetScreen(f.facts, width, height, area, f.ownDesktop);
    f.fromStart = remote.FromStart();
    f.hookRefused = remote.StartRefused();
    f.inFront = remote.InFront();
    for (const PaintRow& r : remote.Rows()) f.startPaints += r.step == 0;

    std::vector<Step> drag;
    std::string error;
    ParseScenario("drag bottom +" + std::to_string(kPixels) + "\n", drag, error);
    f.heightBefore = Height(remote.OuterRect());
    int step = 0;
    if (!FitsDesktop(remote, drag, error) || !PlaySteps(remote, drag, step, error))
        f.inputFault = error;
    remote.Settle();
    if (remote.Faulted()) f.inputFault = remote.FaultText();
    f.heightAfter = Height(remote.OuterRect());
    for (const PaintRow& r : remote.Rows()) {
        ++f.paints;
        f.coloured += !r.colour.empty();
    }
    if (!remote.Faulted()) PostMessageA(remote.form, WM_CLOSE, 0, 0);
    remote.WaitForExit(kAnswerMs);
}

}  // namespace

int SelfTest(const Options& o) {
    if (!OnlyRecording()) return kBusy;
    if (const std::string none = NoDisplay(); !none.empty()) {
        Say(stderr, "paint_transcript: " + none);
        return kCutShort;
    }
    TakeStops();
    SelfTestFindings f;
    f.facts.system = SystemName(ThisSystemVersion());
    f.underWine = UnderWine();
    f.framing = OnFramingDesktop();
    f.pixels = kPixels;
    Try(o, f);
    if (const std::string stop = StopAsked(); !stop.empty()) {
        Say(stderr, "paint_transcript: the self-test was stopped: " + stop);
        return kInterrupted;
    }
    const std::string report = SelfTestReport(f);
    std::fputs(report.c_str(), stdout);
    if (!o.selfTestFile.empty() && !WriteFile(o.selfTestFile, report)) return kMistake;
    return AllHeld(SelfTestLines(f)) ? kDone : kNeedFails;
}

}  // namespace transcript
