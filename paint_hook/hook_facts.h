// What the hook reads of the program into the shared memory: its windows as
// it makes them, and its facts once, at its first flush.
#pragma once

#include <windows.h>

#include <cstdint>

#include "hook_shared.h"

inline HWND Handle(uint64_t value) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

// A window as the program makes it (its WM_NCCREATE), where the tool
// started the program with the hook in place: Form1 by its caption, its
// controls in the order they are made (their tab order), the list view's
// header as its child.
void Learn(transcript::HookShared& s, const CWPSTRUCT& m);
// The display's scale, the comctl32 the list view runs, visual styles, the
// list view's font as asked for and as drawn.
void ReadFacts(transcript::HookShared& s);
// The windows as they stand, and the list view's columns: what a test needs
// to build the same tree without the program.
void ReadTree(transcript::HookShared& s);
