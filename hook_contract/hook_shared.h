// The memory the paint hook (inside the program) and the transcript tool
// share, its layout declared once: the tool says which windows to watch and
// which step it is on; the hook appends a record per WM_PAINT the list view
// receives and one per message the watched windows take, as numbers. Each
// run of the program has its own, named after its process id, so two
// recordings never write into one.
#pragma once

#include <cstdint>

namespace transcript {

constexpr int kMaxPaints = 8192;
constexpr int kMaxRects = 8 * kMaxPaints;  // of all regions together
constexpr int kMaxMessages = 65536;

// The windows watched, in the order a record numbers them.
enum WatchedWindow { kInForm1, kInListView1, kInHeader, kInText1, kInLabel1, kInLabel2, kWatched };

// What the hook made of a parameter the message's own decoding does not
// explain: a window, an object of the system's drawing by its kind (another
// of its objects), memory of the program, or a plain number.
enum class Found : uint8_t {
    Number,
    Window,
    Object,
    Memory,
    DeviceContext,
    Brush,
    Region,
    Font,
    Bitmap,
    Pen
};

struct SharedName {
    char text[64] = "Local\\PaintProbeTranscript-";
    explicit SharedName(uint32_t processId) {
        char digits[16];
        int n = 0;
        do digits[n++] = static_cast<char>('0' + processId % 10);
        while (processId /= 10);
        char* at = text + sizeof "Local\\PaintProbeTranscript-" - 1;
        while (n) *at++ = digits[--n];
        *at = 0;
    }
};

struct HookRect {
    int32_t left, top, right, bottom;
};

// A press a window of the program took (a button down or a double-click):
// the window, and where on the screen the cursor stood for it. The system
// may make presses of its own, so the tool looks for its press among the
// last few.
struct HookPress {
    uint64_t window;
    int32_t x, y;
};
constexpr int kPressLog = 32;

// Form1 as the hook found it at the first flush, before anyone else could
// take hold of it: a person may press on it while the tool still waits for
// the start to settle.
struct HookStart {
    int32_t left, top, right, bottom;
    int32_t state;     // 0 normal, 1 maximized, 2 minimized
    int32_t messages;  // records of messageLog written by then
    int32_t presses;
};

struct HookPaint {
    int32_t step;
    int32_t outerWidth, outerHeight, clientWidth, clientHeight;
    int32_t viewWidth, viewHeight;  // the list view's client area
    int32_t firstRect, rectCount;   // the region, in HookShared::rects
    char report[128];               // Text1 and Label2 as they stood once the paint was done
    char count[64];
    int32_t colour;   // in the list view inside the region once painted (0x00BBGGRR), or -1
    int32_t message;  // the messages logged before it began
    volatile int32_t complete;
};

// A message a window of the program took, as numbers; what its parameters
// point to, where that decides a repaint, in before and after. Its window
// and any window among its parameters are handles: which of the watched
// windows they are is known only once all have been made.
struct HookMessage {
    int32_t step, paint;
    uint32_t message;
    uint8_t sent, returned;
    uint8_t wFound, lFound, rFound;  // how each was found: number, window, object, memory
    uint8_t depth;  // the sent messages under way when it came: their handling it is part of
    uint8_t unused[2];
    uint64_t window;
    uint64_t wParam, lParam;
    int64_t result;
    int32_t before[12], after[12];
    int32_t ended;  // a sent one: the messages logged by the time it returned
    char text[48];
};

// A window of the program as it stood at the first flush, for a test to
// build the same tree: its class, styles and place.
struct HookWindow {
    char className[32];
    uint32_t style, exStyle, classStyle;
    int32_t id;
    int32_t x, y, width, height;  // in its parent's client area; Form1's on the screen
    int32_t clientWidth, clientHeight;
};

struct HookColumn {
    int32_t width;
    char text[28];
};
constexpr int kMaxColumns = 16;

// What decides the program's paints beside the system, read inside it once,
// at the first flush: its display's scale, the comctl32 it loaded, whether
// visual styles are on, and the font its list view uses, as asked for and
// as the system drew it.
struct HookFacts {
    int32_t dpi;           // 0 until read
    uint32_t comctl32[3];  // major, minor, build; 0 where comctl32 does not say
    int32_t themed;
    int32_t fontHeight, drawnHeight;  // the font's lfHeight; the drawn one's pixel height
    // Form1's monitor: its size and its work area (where a maximize puts
    // the frame), left, top, right, bottom.
    int32_t screen[2], workArea[4];
    char fontFace[32], drawnFace[32];
    char comctl32Path[200];
    HookWindow windows[kWatched];
    uint32_t listViewExtended;  // LVS_EX_ styles
    int32_t columns;
    HookColumn column[kMaxColumns];
};

struct HookShared {
    // Handles: written by the tool, or, where it starts the program with the
    // hook in place, by the hook as the program makes them. Until Form1 is
    // known the hook logs the messages of every window of the thread.
    uint64_t windows[kWatched];
    uint32_t flushMessage;  // a registered message the tool posts
    int32_t maxPaints;      // at most kMaxPaints, set by the tool
    volatile int32_t step;
    volatile int32_t paints;        // records begun
    volatile int32_t rectsUsed;     // of rects
    volatile int32_t full;          // a paint came that there was no room left for
    volatile int32_t flushes;       // flush messages seen
    volatile int32_t idle;          // the last one found nothing left to do, its pixels shown
    volatile int32_t buttons;       // mouse button messages taken, client and non-client
    volatile int32_t presses;       // of them, presses and double-clicks
    HookPress pressLog[kPressLog];  // the last presses, each at its number modulo kPressLog
    volatile int32_t moves;         // mouse move messages taken
    volatile int32_t exited;        // the program exited, rather than being killed
    HookStart start;
    // What Text1, Label1 and Label2 show, read inside the program at each
    // flush message: a system may answer WM_GETTEXT from another process
    // with less than the text (Wine 5.0 gives its first character).
    char texts[3][256];
    HookFacts facts;
    int32_t messagesKept;  // 0 none, 1 all but those that only ask, 2 all
    // Set by the tool before the program runs: the hook DLL, loaded by the
    // program's main thread at its start, hooks that thread itself.
    int32_t hookItsThread;
    volatile int32_t threadHooked;  // 1 once it has; -1 if it could not
    volatile uint32_t hookError;    // then, the system's error code
    int32_t maxMessages;            // at most kMaxMessages, set by the tool
    volatile int32_t messages;      // records of messageLog written
    volatile int32_t messagesFull;
    HookPaint records[kMaxPaints];
    HookRect rects[kMaxRects];
    HookMessage messageLog[kMaxMessages];
};

}  // namespace transcript
