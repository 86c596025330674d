// A log of what happens, in order, while a test listens: the platform calls
// this executable makes (each import named goes through a stand-in that notes
// it) and lines of the test's own, to compare with what must happen.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// How windows and window procedures are named in the log: windows by the
// test's namer, procedures by the names given; "other" for the rest.
void NameWindowsBy(std::string (*namer)(HWND));
void Name(WNDPROC proc, const std::string& name);

// Starts the log of these calls, any of: BeginPaint, EndPaint,
// CreateSolidBrush, DeleteObject, SetWindowTextA, CallWindowProcA,
// SetWindowLong (the window-procedure exchange), MoveWindow, SetWindowPos.
void StartLog(std::initializer_list<const char*> calls);
std::vector<std::string> StopLog();
void Log(const std::string& line);

// CR and LF spelled out, so that a text reads on one line of the log.
std::string Escaped(const char* text);

// The last brush CreateSolidBrush made while logging.
HBRUSH LastBrush();
