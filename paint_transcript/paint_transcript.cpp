// The tool's recordings (a scenario played with real mouse input, or what a
// person does by hand) and Run, which hands each way of running to its own.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "html_report.h"
#include "message_log.h"
#include "options.h"
#include "own_desktop.h"
#include "player.h"
#include "remote.h"
#include "scenario.h"
#include "stop_request.h"
#include "text_fields.h"
#include "this_system.h"
#include "tool_files.h"
#include "transcript_rows.h"
#include "paint_compare.h"

using transcript::MessageRow;
using transcript::PaintRow;
using transcript::Remote;
using transcript::Step;

namespace {

using transcript::Paints;
using transcript::ReadFile;
using transcript::ReadMessages;
using transcript::ReadTranscript;
using transcript::Say;
using transcript::WriteFile;

using transcript::Mode;
using transcript::Options;
using transcript::Status;

// The messages a recording logged, written beside its transcript, and a
// word if the log filled up; false if it could not be written.
bool WriteMessages(const Options& o, const Remote& remote, const std::vector<PaintRow>& rows,
                   const std::string& cut, std::vector<MessageRow>& log) {
    if (!transcript::MessagesKept(o)) return true;
    log = remote.MessageRows(rows);
    std::string full;
    if (remote.MessagesFull()) {
        full = "the log holds " + std::to_string(o.maxMessages) + " messages; those after step " +
               std::to_string(log.empty() ? 0 : log.back().step) + " were not logged";
        Say(stderr, "paint_transcript: the message log is full: " + full);
    }
    if (o.csv.empty()) return true;
    const std::string path = transcript::MessagesPath(o.csv);
    if (!WriteFile(path, transcript::MessagesToCsv(log, cut, full))) return false;
    Say(stdout, "messages: " + std::to_string(log.size()) + " logged in " + path);
    return true;
}

// The action of each step a reference recorded, from its rows and its
// message log; false, said, where a step has none (a transcript without its
// log keeps no row for a step that painted nothing).
bool ReferenceActions(const std::string& path, const std::vector<PaintRow>& rows,
                      std::vector<std::string>& actions) {
    std::vector<MessageRow> log;
    bool logged = false;
    if (!ReadMessages(path, log, logged)) return false;
    std::vector<std::pair<int, std::string>> taken;
    for (const PaintRow& r : rows) taken.emplace_back(r.step, r.action);
    for (const MessageRow& m : log) taken.emplace_back(m.step, m.action);
    std::sort(taken.begin(), taken.end());
    actions.clear();
    for (const auto& [step, action] : taken) {
        if (step == static_cast<int>(actions.size())) continue;  // that step again
        if (step != static_cast<int>(actions.size()) + 1) {
            Say(stderr, "paint_transcript: " + path + " has no row for step " +
                            std::to_string(actions.size() + 1) +
                            ", so its steps cannot be played from it; give its scenario "
                            "(--scenario NAME or --scenario-file FILE)");
            return false;
        }
        actions.push_back(action);
    }
    return true;
}

// With --check, the steps to play are the reference's: taken from it where
// no scenario is given, or else the scenario's must be the same.
bool CheckSteps(const Options& o, const std::vector<PaintRow>& reference,
                std::vector<Step>& steps) {
    std::vector<std::string> actions;
    if (!ReferenceActions(o.check, reference, actions)) return false;
    std::string error, mine, theirs;
    if (!o.Given("--scenario") && o.scenarioFile.empty()) {
        if (!transcript::StepsFromActions(actions, steps, error) || steps.empty()) {
            Say(stderr, "paint_transcript: " + o.check + ": " +
                            (steps.empty() ? "it holds no step" : error) +
                            "; give its scenario (--scenario NAME or --scenario-file FILE)");
            return false;
        }
        Say(stdout, "check: playing the " + std::to_string(actions.size()) + " steps " + o.check +
                        " recorded");
        return true;
    }
    const int part = transcript::PartingStep(steps, actions, mine, theirs);
    std::string mineOutside, theirsOutside;
    if (part && transcript::PartingStep(transcript::FromOutside(steps), actions, mineOutside,
                                        theirsOutside)) {
        Say(stderr, "paint_transcript: the scenario and " + o.check + " part at step " +
                        std::to_string(part) + ": the scenario has \"" + mine + "\", " + o.check +
                        " \"" + theirs + "\"");
        return false;
    }
    return true;
}

// The steps to play: the scenario's, or the reference's with --check (then
// also read, to compare); false, said, on a mistake.
bool StepsToPlay(const Options& o, std::vector<Step>& steps, std::vector<PaintRow>& reference) {
    steps = transcript::BuiltInSteps(o.scenario, o.steps, o.pixels);
    std::string referenceCut, error;
    if (!o.check.empty() && !ReadTranscript(o.check, reference, referenceCut)) return false;
    if (!o.scenarioFile.empty()) {
        std::string text;
        if (!ReadFile(o.scenarioFile, text)) {
            Say(stderr, "paint_transcript: cannot read " + o.scenarioFile);
            return false;
        }
        if (!transcript::ParseScenario(text, steps, error)) {
            Say(stderr, "paint_transcript: " + o.scenarioFile + ": " + error);
            return false;
        }
        if (steps.empty()) {
            Say(stderr, "paint_transcript: " + o.scenarioFile +
                            ": no steps in it; a scenario needs a line at least "
                            "(paint_transcript --list-scenarios shows some)");
            return false;
        }
    }
    if (!o.check.empty() && !CheckSteps(o, reference, steps)) return false;
    if (o.fromOutside) steps = transcript::FromOutside(steps);
    return true;
}

// Where the program is to run: a display there must be; under Wine on a
// display's own desktop, a scenario that a frame must take plays in a
// virtual desktop of the tool's own. False, said, where that fails.
bool EnterDesktop(const Options& o, const std::vector<Step>& steps, transcript::OwnDesktop& own) {
    if (const std::string none = transcript::NoDisplay(); !none.empty()) {
        Say(stderr, "paint_transcript: " + none);
        return false;
    }
    // Only steps that a frame takes need one: what is made from outside is not.
    const bool framed = transcript::FromOutside(steps) != steps;
    if (o.mode == Mode::ByHand || !framed || o.onThisDesktop || transcript::OnFramingDesktop())
        return true;
    std::string error;
    if (!own.Open(error)) {
        Say(stderr, "paint_transcript: " + error);
        return false;
    }
    Say(stdout,
        "desktop: a Wine virtual desktop of its own, 1280 x 1024, where this tool's "
        "input sizes Form1 as Windows does (--on-this-desktop: this desktop)");
    return true;
}

// Form1 as it stands on screen, as a 32-bit BMP.
bool SaveScreenshot(const Remote& remote, const std::string& path) {
    const transcript::Image image = remote.Capture(remote.form);
    const BITMAPINFOHEADER info = image.Header();
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(image.pixels.size() * 4);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(reinterpret_cast<const char*>(image.pixels.data()), image.pixels.size() * 4);
    return WriteFile(path, bytes);
}

// The system the transcript is recorded on, as a person would name it.
std::string SystemName() {
    return transcript::SystemName(transcript::ThisSystemVersion());
}

// The transcript, its report and (by hand) the scenario of a recording,
// each where one is asked for; false if one could not be written.
bool WriteOutputs(const Options& o, const std::vector<PaintRow>& rows, const std::string& cut,
                  const transcript::SystemFacts& facts, const std::string& title,
                  const std::vector<MessageRow>& log, const std::string& scenario,
                  bool sayWritten) {
    const bool logged = transcript::MessagesKept(o) != 0;
    const std::pair<const std::string*, std::string> files[] = {
        {&o.csv, o.csv.empty() ? "" : transcript::ToCsv(rows, cut, facts)},
        {&o.html, o.html.empty()
                      ? ""
                      : transcript::HtmlReport(rows, title, cut, logged ? &log : nullptr, &facts)},
        {&o.saveScenario, scenario}};
    bool ok = true;
    for (const auto& [path, text] : files) {
        if (path->empty()) continue;
        if (!WriteFile(*path, text))
            ok = false;
        else if (sayWritten)
            Say(stdout, "written: " + *path);
    }
    return ok;
}

// Whether the hook saw as many paints as Label2 counted, said.
bool CountsAgree(const Remote& remote, const std::vector<PaintRow>& rows, int countBefore) {
    int countAfter = 0;
    transcript::ParseCount(remote.Text(remote.label2), countAfter);
    const int counted = ((countAfter - countBefore) % 9999 + 9999) % 9999;
    Say(stdout, Paints(rows, "") + " seen by the hook; Label2 went from " +
                    std::to_string(countBefore) + " to " + std::to_string(countAfter) + " (" +
                    std::to_string(counted) + " paints)");
    if (static_cast<int>(rows.size()) == counted) return true;
    Say(stdout, "MISMATCH: the hook and the program's count disagree");
    return false;
}

// This run against the reference --check names, said row by row; whether
// they are the same.
bool CheckAgainst(const Options& o, const std::vector<PaintRow>& reference,
                  std::vector<PaintRow> rows) {
    // A reference recorded before starts were: its steps only.
    if (!transcript::HasStart(reference) && transcript::HasStart(rows)) {
        transcript::DropStart(rows);
        Say(stdout, "step 0, the program's start, not checked: the reference has none");
    }
    const std::vector<std::string> diff =
        transcript::CompareExact(reference, rows, "reference", "this run");
    for (const std::string& line : diff) Say(stdout, line);
    Say(stdout,
        "this run against the reference " + o.check + ": " + (diff.empty() ? "same" : "DIFFERENT"));
    return diff.empty();
}

// What a person did, as a scenario file that does it again.
std::string ScenarioByHand(const Remote& remote) {
    std::vector<Step> steps;
    std::vector<int> gestures;
    for (const transcript::HandStep& taken : remote.StepsTaken()) {
        steps.push_back(taken.step);
        gestures.push_back(taken.gesture);
    }
    std::string text = "# recorded by hand under " + SystemName() + "\n";
    for (const Step& s : transcript::JoinGestures(steps, gestures))
        text += transcript::StepText(s) + "\n";
    return text;
}

// The system's facts, and how the hook was set where it missed the start.
transcript::SystemFacts FactsOf(const Remote& remote) {
    transcript::SystemFacts facts = transcript::ThisSystem(remote.Facts(), remote.OnOwnDesktop());
    if (!remote.FromStart() && !remote.StartRefused().empty())
        facts.hook =
            "set once Form1 appeared, so the start is not recorded: " + remote.StartRefused();
    return facts;
}

// Records while a person uses the program, until they close Form1.
int RecordByHand(const Options& o, Remote& remote) {
    Say(stdout, "by hand: recording what you do with Form1; close it to end");
    std::fflush(stdout);
    remote.WaitForClose();
    const std::vector<PaintRow> rows = remote.Rows();
    std::string cut;
    const int code = remote.WaitForExit(0);
    // Ctrl-C in a terminal reaches the program too, which may end before
    // this tool's own handler has run.
    const std::string stop = transcript::StopAsked(250);
    if (!stop.empty())
        cut = "interrupted at step " + std::to_string(remote.StepsTaken().size()) + ": " + stop;
    else if (remote.Full())
        cut = "the recording is full: it holds " + std::to_string(o.maxPaints) + " paints and " +
              std::to_string(o.maxMessages) + " messages";
    else if (code != 0 || !remote.Exited())
        cut = remote.Ended();
    if (!o.quiet) std::fputs(transcript::FormatTable(rows).c_str(), stdout);
    const int steps = static_cast<int>(remote.StepsTaken().size());
    Say(stdout, Paints(rows, "") + " in " + std::to_string(steps) +
                    (steps == 1 ? " step" : " steps") + " recorded by hand");
    if (!cut.empty()) Say(stderr, "paint_transcript: cut short: " + cut);
    int status = cut.empty()     ? transcript::kDone
                 : !stop.empty() ? transcript::kInterrupted
                                 : transcript::kCutShort;
    std::vector<MessageRow> log;
    if (!WriteMessages(o, remote, rows, cut, log)) status = transcript::kMistake;
    const transcript::SystemFacts facts = FactsOf(remote);
    const std::string title = "by hand under " + facts.system;
    if (!WriteOutputs(o, rows, cut, facts, title, log, ScenarioByHand(remote), true))
        status = transcript::kMistake;
    return status;
}

// The exit status of a recording that a fault ended.
int FaultStatus(transcript::Fault fault) {
    switch (fault) {
        case transcript::Fault::InputIgnored:
            return transcript::kInputIgnored;
        case transcript::Fault::Interrupted:
            return transcript::kInterrupted;
        case transcript::Fault::OffDesktop:
            return transcript::kMistake;
        default:
            return transcript::kCutShort;
    }
}

// What to do about a recording cut short, said to the person running it.
void SayFault(const Remote& remote) {
    if (remote.fault() == transcript::Fault::Interrupted)
        return Say(stderr, "paint_transcript: " + remote.FaultText() +
                               "; what was recorded up to then is written, marked so");
    Say(stderr, "paint_transcript: cut short at " + remote.FaultText());
    if (remote.fault() == transcript::Fault::InputLost)
        Say(stderr,
            "paint_transcript: this Wine desktop has no window manager to take input: the "
            "window named above took it, or Wine lost it. Run the same command again; if it "
            "comes again, report it with these lines.");
    if (remote.fault() == transcript::Fault::InputIgnored)
        Say(stderr,
            "paint_transcript: on a desktop whose window manager sizes the windows, only "
            "X input reaches it, and on a display with neither a window manager nor "
            "Wine's virtual desktop nothing sizes them. Under Wine, leave out "
            "--on-this-desktop (the tool then runs Form1 in a virtual desktop of its own); "
            "on Windows or ReactOS, run it as it is; with a window manager, play its part "
            "from outside (--from-outside).");
}

// The transcript, message log and report of the steps played; false if
// one could not be written.
bool WritePlayed(const Options& o, const Remote& remote, const std::vector<PaintRow>& rows) {
    const std::string cut = remote.FaultText();
    const transcript::SystemFacts facts = FactsOf(remote);
    std::vector<MessageRow> log;
    const bool logWritten = WriteMessages(o, remote, rows, cut, log);
    const std::string title =
        (!o.scenarioFile.empty() ? "scenario file " + transcript::BaseName(o.scenarioFile)
         : !o.check.empty() && !o.Given("--scenario")
             ? "the steps of " + transcript::BaseName(o.check)
             : "scenario " + o.scenario) +
        " under " + facts.system;
    return WriteOutputs(o, rows, cut, facts, title, log, "", false) && logWritten;
}

// What was recorded up to the end of a step, kept in --csv and its log
// before the next begins, marked as cut short there: a tool ended by what it
// cannot catch (SIGTERM or SIGHUP under Wine, TerminateProcess) leaves these.
// Its end writes them whole.
void KeepSoFar(const Options& o, const Remote& remote, int done, const std::string& action) {
    if (o.csv.empty()) return;
    const std::string cut = "interrupted after step " + std::to_string(done) + ", " + action +
                            ": paint_transcript was ended there, before it wrote more (a "
                            "signal such as SIGTERM, or TerminateProcess)";
    const std::vector<PaintRow> rows = remote.Rows();
    const transcript::SystemFacts facts = FactsOf(remote);
    // The log moved in before the transcript: the pair is kept together,
    // and a transcript that shows a step has its log beside it.
    std::vector<std::pair<std::string, std::string>> files;
    if (transcript::MessagesKept(o))
        files.push_back({transcript::MessagesPath(o.csv),
                         transcript::MessagesToCsv(remote.MessageRows(rows), cut, "")});
    files.push_back({o.csv, transcript::ToCsv(rows, cut, facts)});
    transcript::ReplaceFiles(files);
}

// Plays the steps and writes what the hook saw of them; the remote is
// watching the program, as it was started.
int PlayScenario(const Options& o, Remote& remote, const std::vector<Step>& steps,
                 const std::vector<PaintRow>& reference) {
    remote.stepDone = [&](int done, const std::string& action) {
        KeepSoFar(o, remote, done, action);
    };
    // Counted from nothing where the hook saw the start, whose paint is the first.
    int countBefore = 0;
    if (!remote.FromStart()) transcript::ParseCount(remote.Text(remote.label2), countBefore);
    int step = 0;
    std::string error;
    if (!transcript::FitsDesktop(remote, steps, error)) {
        Say(stderr, "paint_transcript: " + error);
        return transcript::kMistake;
    }
    if (!transcript::PlaySteps(remote, steps, step, error)) {
        Say(stderr, "paint_transcript: " + error);
        return transcript::kMistake;
    }
    remote.Settle();

    const std::vector<PaintRow> rows = remote.Rows();
    if (!o.quiet) std::fputs(transcript::FormatTable(rows).c_str(), stdout);
    int status = transcript::kDone;
    if (remote.Faulted()) {
        Say(stdout, Paints(rows, "") + " seen by the hook before it was cut short");
        SayFault(remote);
        status = FaultStatus(remote.fault());
    } else if (!CountsAgree(remote, rows, countBefore)) {
        status = transcript::kDiffers;
    }
    if (!o.screenshot.empty() && !remote.Faulted()) {
        if (SaveScreenshot(remote, o.screenshot))
            Say(stdout, "screenshot: " + o.screenshot);
        else
            status = transcript::kMistake;
    }
    if (!WritePlayed(o, remote, rows)) status = transcript::kMistake;
    if (!o.check.empty() && !remote.Faulted() && !CheckAgainst(o, reference, rows))
        status = transcript::kDiffers;
    if (remote.Faulted()) return status;

    PostMessageA(remote.form, WM_CLOSE, 0, 0);
    const int exitCode = remote.WaitForExit(10000);
    if (exitCode != 0) {
        Say(stdout, "paintprobe.exe ended with " + std::to_string(exitCode));
        if (status == transcript::kDone) status = transcript::kDiffers;
    }
    return status;
}

// A recording: a scenario played, or what a person does by hand.
int Record(const Options& o) {
    std::vector<Step> steps;
    std::vector<PaintRow> reference;
    if (o.mode != Mode::ByHand && !StepsToPlay(o, steps, reference)) return transcript::kMistake;

    if (!transcript::OnlyRecording()) return transcript::kBusy;

    // From here on, a stop writes what was recorded before the tool ends.
    transcript::TakeStops();
    // Declared before the program's remote: the program ends before its desktop.
    transcript::OwnDesktop own;
    if (!EnterDesktop(o, steps, own)) return transcript::kCutShort;
    Remote remote;
    std::string error;
    const bool byHand = o.mode == Mode::ByHand;
    if (!remote.Start(error, own.Name(),
                      {o.maxPaints, byHand, transcript::MessagesKept(o), o.maxMessages})) {
        Say(stderr, std::string("paint_transcript: ") +
                        (remote.Faulted() ? "cut short at the start: " : "") + error);
        return remote.Faulted() ? FaultStatus(remote.fault()) : transcript::kMistake;
    }
    if (!remote.FromStart() && !remote.StartRefused().empty())
        Say(stderr, "paint_transcript: " + FactsOf(remote).hook);
    return byHand ? RecordByHand(o, remote) : PlayScenario(o, remote, steps, reference);
}

}  // namespace

int Run(const std::vector<std::string>& args) {
    Options o;
    std::string error;
    if (!transcript::ParseOptions(args, o, error)) {
        Say(stderr, "paint_transcript: " + error);
        Say(stderr, "(paint_transcript --help shows how to use it)");
        return transcript::kMistake;
    }
    if (o.mode == Mode::Help) {
        std::fputs(transcript::Usage().c_str(), stdout);
        return transcript::kDone;
    }
    if (!transcript::CheckOutputs(o, error)) {
        Say(stderr, "paint_transcript: " + error);
        return transcript::kMistake;
    }
    switch (o.mode) {
        case Mode::Compare:
            return transcript::CompareFiles(o);
        case Mode::From:
            return transcript::ConvertFile(o);
        case Mode::Export:
            return transcript::ExportFile(o);
        case Mode::List:
            std::fputs(transcript::BuiltInText(o.steps, o.pixels).c_str(), stdout);
            return transcript::kDone;
        default: {
            const int status = o.mode == Mode::SelfTest ? transcript::SelfTest(o) : Record(o);
            // Every file written, the program ended, and what was said out:
            // a session that is ending may end the tool as soon as it hears.
            std::fflush(stdout);
            std::fflush(stderr);
            transcript::StopHandled();
            return status;
        }
    }
}
