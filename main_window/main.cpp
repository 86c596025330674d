#include <windows.h>

#include "Form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!RegisterForm1(instance)) return 1;
    HWND form = CreateForm1(instance);
    if (!form) return 1;
    ShowWindow(form, showCommand);
    UpdateWindow(form);
    return RunMessageLoop();
}
