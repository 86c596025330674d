// What the hook reads of the program once, at its first flush, into the
// shared memory's facts.
#pragma once

#include <windows.h>

#include <cstdint>

#include "hook_shared.h"

inline HWND Handle(uint64_t value) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

// The display's scale, the comctl32 the list view runs, visual styles, the
// list view's font as asked for and as drawn.
void ReadFacts(transcript::HookShared& s);
// The windows as they stand, and the list view's columns: what a test needs
// to build the same tree without the program.
void ReadTree(transcript::HookShared& s);
