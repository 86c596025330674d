// The memory the paint hook (inside the program) and the transcript tool
// share: the tool says which windows to watch and which step it is on; the
// hook appends one record per WM_PAINT the list view receives. Each run of
// the program has its own, named after its process id, so two recordings
// never write into one.
#pragma once

#include <cstdint>

namespace transcript {

constexpr int kMaxPaints = 8192;
constexpr int kMaxRects = 8 * kMaxPaints;  // of all regions together
constexpr int kMaxSteps = 4096;            // recorded by hand

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

struct HookPaint {
    int32_t step;
    int32_t outerWidth, outerHeight, clientWidth, clientHeight;
    int32_t viewWidth, viewHeight;  // the list view's client area
    int32_t firstRect, rectCount;   // the region, in HookShared::rects
    char report[128];               // Text1 and Label2 as they stood once the paint was done
    char count[64];
    int32_t colour;  // in the list view inside the region once painted (0x00BBGGRR), or -1
    volatile int32_t complete;
};

// A step a person took, recorded by hand: its action as a scenario line, and
// the gesture it belongs to (the moves of one drag share one; 0 for none).
struct HookStep {
    int32_t gesture;
    char action[60];
};

struct HookShared {
    uint64_t form, listView, text1, label2;  // window handles, written by the tool
    uint32_t flushMessage;                   // a registered message the tool posts
    int32_t maxPaints;                       // at most kMaxPaints, set by the tool
    int32_t byHand;                          // the hook names the steps as they come
    volatile int32_t step;
    volatile int32_t paints;      // records begun
    volatile int32_t rectsUsed;   // of rects
    volatile int32_t full;        // a paint came that there was no room left for
    volatile int32_t flushes;     // flush messages seen
    volatile int32_t idle;        // the last one found nothing left to do, its pixels shown
    volatile int32_t buttons;     // mouse button messages taken, client and non-client
    volatile int32_t moves;       // mouse move messages taken
    volatile int32_t stepsTaken;  // by hand: steps begun, numbered from 1
    HookStep steps[kMaxSteps];
    HookPaint records[kMaxPaints];
    HookRect rects[kMaxRects];
};

}  // namespace transcript
