// A person's stop: Ctrl-C or Ctrl-Break (SIGINT under Wine), or the console
// closed, a log-off or a shutdown. The console asks on a thread of its own;
// the recording takes it at its next wait, writes what it has and ends.
#pragma once

#include <windows.h>

#include <string>

namespace transcript {

// Takes the console's stop events from now on, for the rest of the process.
void TakeStops();
// What stopped the recording ("Ctrl-C"), waiting at most ms for it; empty
// while nobody has.
std::string StopAsked(DWORD ms = 0);
// The recording has written what it had: a console being closed, whose
// process ends as soon as its handler returns, was waiting for that.
void StopHandled();

// Makes a process the tool started (the program, a desktop of its own) end
// with the tool, however the tool ends: they share a job that the system
// ends once the tool's handle to it, held for the tool's life, is gone. A
// system that refuses (a tool already in a job that allows no other)
// leaves them to the tool's own ending.
void EndsWithTool(HANDLE process);

}  // namespace transcript
