// Under Wine on a display's own desktop, no input of this tool moves a
// window's frame (a window manager takes only X input, and without one
// nothing does). A Wine virtual desktop of the tool's own sizes windows as
// Windows does; this opens one and moves the tool onto it.
#pragma once

#include <windows.h>

#include <string>

#include "held.h"

namespace transcript {

// Whether the program would run where input from this tool moves frames:
// not under Wine, or inside one of Wine's virtual desktops.
bool OnFramingDesktop();

// Under Wine, what is wrong with the display ("no display: ..."), or empty.
std::string NoDisplay();

class OwnDesktop {
  public:
    OwnDesktop() = default;
    ~OwnDesktop();
    OwnDesktop(const OwnDesktop&) = delete;
    OwnDesktop& operator=(const OwnDesktop&) = delete;
    // Starts a virtual desktop of 1280 x 1024 named after this process and
    // puts this thread on it (before it has any window or hook). False,
    // with the reason, if that could not be done.
    bool Open(std::string& error);
    // Its name, for a program started on it; empty until opened.
    const std::string& Name() const { return name_; }

  private:
    std::string name_;
    HeldProcess explorer_;
    // Given back with the rest; while this thread is still on the desktop
    // the system keeps it open until the tool's process ends.
    HeldDesktop desktop_;
};

}  // namespace transcript
