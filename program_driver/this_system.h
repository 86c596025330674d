// The system this tool runs on, read from the system itself, and what the
// program's hook found of the program's display, comctl32 and font.
#pragma once

#include "hook_shared.h"
#include "system_facts.h"

namespace transcript {

// The system's true version: not the one a program without a manifest is
// told, and ReactOS and Wine by their own names.
SystemVersion ThisSystemVersion();

// The facts a transcript records; those of the program where its hook has
// read them (null: the system's name alone), on a Wine desktop of the
// tool's own or not.
SystemFacts ThisSystem(const HookFacts* program, bool ownDesktop);

// Whether this runs under Wine.
bool UnderWine();

}  // namespace transcript
