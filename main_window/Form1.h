// The program's one window and its four controls.
#pragma once

#include <windows.h>

#include <cstdint>

// The windows of Form1, valid from its creation until it is destroyed.
extern HWND Form1;
extern HWND ListView1;
extern HWND Text1;
extern HWND Label1;
extern HWND Label2;

// Registers Form1's window class; returns false if the system refuses it.
bool RegisterForm1(HINSTANCE instance);

// Creates Form1 and its controls, hidden; Form_Load has run when it returns.
HWND CreateForm1(HINSTANCE instance);

// Runs the message loop until Form1 is gone; returns the exit code.
int RunMessageLoop();

// The window's events.
void Form_Load();
void Form_Resize();
void Form_Unload(int16_t& Cancel);
void ListView1_DblClick();
