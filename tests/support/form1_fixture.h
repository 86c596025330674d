// Form1 in this process, shown as the program's start does, named in the log.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Form1.h"
#include "Module1.h"
#include "support/platform_log.h"
#include "support/pump.h"

inline std::string Form1Name(HWND window) {
    const HWND windows[] = {Form1, ListView1, Text1, Label1, Label2, nullptr};
    const char* names[] = {"Form1", "ListView1", "Text1", "Label1", "Label2", "null"};
    for (int i = 0; i < 6; ++i)
        if (windows[i] == window) return names[i];
    return "other";
}

inline RECT PlaceOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class Form1Test : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterForm1(GetModuleHandleA(nullptr)));
        Module1::PaintCount = 0;
        NameWindowsBy(Form1Name);
        Name(reinterpret_cast<WNDPROC>(&Module1::ListViewProc), "ListViewProc");
    }

    // Creates and shows Form1, logging the calls named.
    void Start(std::initializer_list<const char*> calls = {}) {
        StartLog(calls);
        ASSERT_TRUE(CreateForm1(GetModuleHandleA(nullptr)));
        Name(reinterpret_cast<WNDPROC>(Module1::OldProc), "OldProc");
        Log("ShowWindow");
        ShowWindow(Form1, SW_SHOWNORMAL);
        UpdateWindow(Form1);
        PumpUntilIdle();
        started_ = StopLog();
    }

    void TearDown() override {
        StopLog();
        if (Form1) {
            DestroyWindow(Form1);
            PumpUntilIdle(true);
        }
    }

    std::vector<std::string> started_;
};
