// Drives paintprobe.exe from another process, only as a user or another
// program could: it starts it, finds its windows, sends real mouse input,
// reads what the window shows, and watches every paint through a hook
// (remote.cpp the process, remote_hook.cpp the hook, remote_input.cpp the
// mouse and settling, remote_places.cpp where to press, remote_screen.cpp
// what the windows show).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "held.h"
#include "hook_records.h"
#include "hook_shared.h"
#include "message_log.h"
#include "steps_by_hand.h"
#include "transcript_rows.h"

namespace transcript {

constexpr DWORD kTimeoutMs = 10000;  // for the program to go quiet, a window to draw
constexpr DWORD kAnswerMs = 5000;    // for a message to be answered, input to be taken

// Pixels of the screen, top row first, each 0x00RRGGBB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Image& o) const {
        return width == o.width && height == o.height && pixels == o.pixels;
    }
    // How a DIB or a BMP file describes these pixels.
    BITMAPINFOHEADER Header() const;
};

// What ended a recording before its scenario did.
enum class Fault {
    None,
    Ended,         // the program is gone
    NotAnswering,  // the program takes no message within seconds
    InputIgnored,  // input from this tool changed nothing it should have
    Full,          // more paints than the recording holds
    Interrupted,   // a person stopped the tool (Ctrl-C, the console closed)
    OffDesktop,    // a drag would take the cursor, and an edge, past the desktop
    InputLost,     // under Wine's own desktop, where nothing else takes it, input never came
};

// What the hook records: at most maxPaints paints (no more than
// kMaxPaints), and the messages the program's windows take: none (0),
// all but those that only ask (1), or all (2), at most maxMessages of
// them; by hand, at least (1), for the steps a person takes are known
// from them.
struct Watching {
    int maxPaints = kMaxPaints;
    bool byHand = false;
    int messagesKept = 0;
    int maxMessages = kMaxMessages;
};

class Remote {
  public:
    Remote() = default;
    ~Remote();
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;

    // Starts the program (found beside this executable or one folder up),
    // on the named desktop where one is given, with the hook on its thread
    // before it makes a window: its start is step 0. Waits for Form1 to be
    // shown and quiet. False, with a reason, on failure; a program that ends
    // or never shows Form1 is also a fault.
    bool Start(std::string& error, const std::string& desktop = "", const Watching& w = Watching());
    // Whether the hook saw the program's start: the program's thread hooked
    // itself as it began. Where that failed, the hook came after Form1.
    bool FromStart() const { return fromStart_; }
    // Why the hook did not see the start, where it did not.
    const std::string& StartRefused() const { return startRefused_; }
    bool HookedFromOutside() const { return static_cast<bool>(hook_); }
    // Whether it was started on a desktop of the tool's own.
    bool OnOwnDesktop() const { return ownDesktop_; }
    // Whether Form1 was the window in front once it was shown and watched.
    bool InFront() const { return inFront_; }
    // Takes hold of a Form1 that a recording by hand started and watches, to
    // drive it as a person would (its hook tells when it has settled). That
    // recording names the steps and ends the program, not this remote.
    bool Attach(std::string& error);
    // By hand: waits until the program has ended, as a person closed it, or
    // the recording is full (Full() then says so); then names the steps the
    // person took.
    void WaitForClose();
    // By hand: the steps taken, once WaitForClose has named them.
    const std::vector<HandStep>& StepsTaken() const { return hand_; }

    // Waits until the program has painted all it has to and handled all
    // input. Within seconds in any case: a program that has ended, stops
    // answering, takes none of the input sent, or fills the recording is a
    // fault, after which every input below does nothing.
    void Settle();
    // The hook's word at the last flush message the program took: whether
    // it then had nothing left to paint in any window, nor to handle.
    int Flushes() const { return shared_ ? shared_->flushes : 0; }
    bool Idle() const { return shared_ && shared_->idle; }
    Fault fault() const { return fault_; }
    bool Faulted() const { return fault_ != Fault::None; }
    // "step 3, drag bottom +10: paintprobe.exe ended (exit code 1)"
    const std::string& FaultText() const { return faultText_; }
    // The scenario saw its input change nothing: says so, as a fault.
    void InputIgnored(const std::string& what) { SetFault(Fault::InputIgnored, what); }
    // Whether a drag of what lies at that hit-test code may take the cursor
    // there; else a fault that names the desktop's edge, its size, and what
    // to do. The system stops the cursor, and so the edge, at the desktop.
    bool OnDesktop(POINT to, int hit);

    // Paints recorded since the start of watching, as rows; each row takes
    // the step number and action current when its paint happened.
    std::vector<PaintRow> Rows() const;
    int PaintsSeen() const { return shared_ ? shared_->paints : 0; }
    // The messages logged since the start of watching, decoded; each
    // list view WM_PAINT takes its region from the paint rows.
    std::vector<MessageRow> MessageRows(const std::vector<PaintRow>& paints) const;
    // What the hook found of the program's display, comctl32 and font; null
    // until it has.
    const HookFacts* Facts() const {
        return shared_ && shared_->facts.dpi ? &shared_->facts : nullptr;
    }
    bool MessagesFull() const { return shared_ && shared_->messagesFull; }
    // By hand, a full log is a full recording: the steps after it are not known.
    bool Full() const { return shared_ && (shared_->full || (byHand_ && shared_->messagesFull)); }
    void BeginStep(int step, const std::string& action);
    // Called as each step after the start begins, with the one just done
    // and its action: what was recorded can be kept from there on.
    std::function<void(int done, const std::string& action)> stepDone;

    // Real mouse input, in screen coordinates.
    // Settle waits for the program to take the move, unless it may go to
    // another window (taken: false).
    void MoveMouse(POINT to, bool taken = true);
    // Puts the cursor where nothing tracks it, Form1's caption (see
    // remote_input.cpp), and settles.
    void RestMouse();
    void Press() { Button(MOUSEEVENTF_LEFTDOWN); }
    void Release() { Button(MOUSEEVENTF_LEFTUP); }
    void DoubleClick(POINT at);
    void Click(POINT at);
    // Where Form1's frame answers this hit-test code (HTBOTTOM, HTRIGHT,
    // HTBOTTOMRIGHT, HTTOP, HTLEFT, HTCAPTION, HTMAXBUTTON, HTMINBUTTON,
    // HTCLOSE), on screen: the
    // middle of that edge or button; {-1, -1} if it answers it nowhere,
    // {-2, -2} if only off the screen.
    POINT FindHit(int hit) const;
    // A drag of what lies at that hit-test code: pressed there, then each
    // move in turn (pixels on screen), each followed by a settle and a call
    // of afterMove(move index), then released. False if the frame has no
    // such place.
    template <typename F>
    bool DragFrame(int hit, const std::vector<POINT>& moves, F afterMove);
    // Sets Form1's client width as another program can, keeping its height;
    // its outer place and size; its state (SW_MAXIMIZE, SW_RESTORE,
    // SW_MINIMIZE), as a taskbar does.
    void SetClientWidth(int width);
    void SetOuterRect(const RECT& r);
    void ShowState(int command);
    // The middle of the first column's header, on screen.
    POINT HeaderPoint() const;

    // What the window shows.
    std::string Text(HWND window) const;
    RECT OuterRect() const;
    RECT ClientRect() const;         // of Form1, in its client pixels
    RECT ListViewClient() const;     // of the list view, in its client pixels
    RECT Place(HWND control) const;  // a control's rectangle in Form1's client pixels
    POINT ListViewToScreen(POINT p) const;
    COLORREF ScreenPixel(POINT screen) const;
    // What a window shows on screen, frame included, and what Form1 shows.
    Image Capture(HWND window) const;
    // Has a window draw itself afresh, frame included; returns once it has.
    void Redraw(HWND window);

    // Whether it exited of itself, as a program does when closed.
    bool Exited() const { return shared_ && shared_->exited; }
    // How the program ended, once it has: "paintprobe.exe ended (exit code 1)".
    std::string Ended() const;
    // Waits up to ms for the program to end (asking nothing of it): its exit
    // code, or -1 if it had not ended by then.
    int WaitForExit(DWORD ms);
    DWORD ProcessId() const { return process_.id; }

    HWND form = nullptr, listView = nullptr, text1 = nullptr, label1 = nullptr, label2 = nullptr;

  private:
    void Button(DWORD flag);
    // False, a fault said, where a key that would change a press stays held.
    bool KeysLetGo();
    // Whether the press last sent has reached the window it was aimed at,
    // with the cursor where it was sent (or none is waited for).
    bool PressSeen();
    bool MoveTaken() const;
    // Why the press sent is not seen: where the hook's last press went.
    std::string PressAstray() const;
    std::string InputLostText() const;
    // Settling's first part: waits until the program has taken every button
    // message and the last move sent (messages posted or sent to it are
    // handled before input, so nothing else can tell that input is done);
    // false once it has ended.
    bool InputTaken();
    POINT FindHitIn(const RECT& outer, int hit) const;
    void SetFault(Fault fault, const std::string& what);
    // Posts a flush message and waits, at most ms, until the hook has taken
    // it: it has then read the texts and its idleness. False if it did not.
    bool Flush(DWORD ms) const;
    bool CheckProgram();  // false, with the fault set, once it has ended or filled up
    StepNames Names() const;
    bool FindControls(std::string& error);
    // Waits for the started program to show Form1; a fault, said, if it ends
    // or does not show it in time.
    bool WaitForForm(std::string& error);
    // The memory shared with the hook, set for what it is to record.
    bool Share(std::string& error, const Watching& w);
    // Loads paint_hook.dll and hooks the thread with it; its sent messages
    // too where they are logged or the windows are yet to be made.
    bool Hook(std::string& error, DWORD thread, bool sent);
    bool HookAtStart(std::string& refused);
    void Unhook();
    // Once Form1 is shown: the windows watched, and the hook's first flush.
    bool Watch(std::string& error);
    bool attached_ = false;
    bool fromStart_ = false;
    bool ownDesktop_ = false;
    bool inFront_ = false;
    std::string startRefused_;   // why the hook did not take the start
    void* startPath_ = nullptr;  // the hook DLL's path, in the program's memory

    Fault fault_ = Fault::None;
    std::string faultText_;
    int step_ = 0;
    // Given back in the reverse order: hooks, the view, the mapping, the DLL,
    // the program's handles.
    HeldProcess process_;
    HeldModule hookDll_;
    HeldHandle mapping_;
    MappedView<HookShared> shared_;
    HeldHook hook_, sentHook_, returnHook_;
    std::vector<std::string> actions_;
    bool byHand_ = false;
    FrameState start_;  // by hand: Form1 as the person found it
    std::vector<HandStep> hand_;
    int buttonsSent_ = 0;  // left button presses and releases sent
    int pressFrom_ = -1;   // the hook's count of presses as a press was sent; -1: none waited for
    POINT aimed_ = {-1, -1};  // where the last move sent the cursor
    HWND aimedAt_ = nullptr;  // the window there as the last press was sent
    bool moved_ = false;      // a move was sent that the program has not taken yet
    int movesSeen_ = 0;       // the moves the hook had seen when it was sent
};

template <typename F>
bool Remote::DragFrame(int hit, const std::vector<POINT>& moves, F afterMove) {
    POINT at = FindHit(hit);
    if (at.x < 0 || Faulted()) return false;
    const POINT pressed = at;
    const RECT before = OuterRect();
    MoveMouse(at);
    Settle();
    Press();
    Settle();
    for (size_t i = 0; i < moves.size() && !Faulted(); ++i) {
        at = {at.x + moves[i].x, at.y + moves[i].y};
        if (!OnDesktop(at, hit)) break;
        MoveMouse(at);
        Settle();
        // On a busy system the first move can come before the system's
        // sizing loop takes the mouse: back to the press and out again,
        // which sizes nothing more if it was lost and repeats it if not.
        const RECT now = OuterRect();
        if (i == 0 && !Faulted() && now.left == before.left && now.top == before.top &&
            now.right == before.right && now.bottom == before.bottom) {
            MoveMouse(pressed);
            Settle();
            MoveMouse(at);
            Settle();
        }
        afterMove(i);
    }
    Release();
    Settle();
    return true;
}

// Why a drag of what lies at that hit-test code cannot take the cursor
// there, past the desktop's edge: the words, with its size and what to do;
// empty where it can.
std::string OffDesktop(POINT to, int hit);

// Makes this process see real pixels, as the program does: a system that
// scales programs that do not say so would otherwise hand this one scaled
// window places and sizes, and take its mouse input scaled. Start calls it.
void BecomeDpiAware();

// A visible top-level window of this process, with this title if one is
// given; null if there is none (yet).
HWND FindVisibleWindow(DWORD processId, const char* title);

// The path of an executable beside this one, or one folder up.
std::string FindBeside(const char* name);

}  // namespace transcript
