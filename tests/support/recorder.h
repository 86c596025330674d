// A log of what happened, in order, while a test listens: the test's stand-ins
// for platform calls and its hooks write to it, and the test compares it with
// a table of what must happen.
#pragma once

#include <string>
#include <vector>

void StartRecording();
std::vector<std::string> StopRecording();
bool Recording();
void Record(const std::string& event);

// CR and LF spelled out, so a logged text reads on one line.
std::string Escaped(const char* text);
