// The memory the paint hook (inside the program) and the transcript tool
// share: the tool says which windows to watch and which step it is on; the
// hook appends one record per WM_PAINT the list view receives.
#pragma once

#include <cstdint>

namespace transcript {

constexpr char kSharedMemoryName[] = "Local\\PaintProbeTranscript";
constexpr int kMaxPaints = 8192;
constexpr int kMaxRegionRects = 32;

struct HookRect {
    int32_t left, top, right, bottom;
};

struct HookPaint {
    int32_t step;
    int32_t outerWidth, outerHeight, clientWidth, clientHeight;
    int32_t viewWidth, viewHeight;  // the list view's client area
    int32_t rectCount;              // more than kMaxRegionRects: only the first are kept
    HookRect rects[kMaxRegionRects];
    char report[128];  // Text1 and Label2 as they stood once the paint was done
    char count[64];
    int32_t colour;  // in the list view inside the region once painted (0x00BBGGRR), or -1
    volatile int32_t complete;
};

struct HookShared {
    uint64_t form, listView, text1, label2;  // window handles, written by the tool
    uint32_t flushMessage;                   // a registered message the tool posts
    volatile int32_t step;
    volatile int32_t paints;   // records begun
    volatile int32_t flushes;  // flush messages seen
    volatile int32_t buttons;  // mouse button messages taken, client and non-client
    volatile int32_t moves;    // mouse move messages taken
    HookPaint records[kMaxPaints];
};

}  // namespace transcript
