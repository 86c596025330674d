// Small owners of what the tool and its hook take from the system: each
// gives back what it holds as it goes out of scope. Declared one after
// another, they give back in the reverse order, which is the order a device
// context, an object selected into it and a bitmap need.
#pragma once

#include <windows.h>

#include <utility>

namespace transcript {

// A handle of one kind, given back by Release (CloseHandle, FreeLibrary,
// DeleteDC, DeleteObject, UnhookWindowsHookEx, CloseDesktop...).
template <typename T, auto Release>
class Held {
  public:
    Held() = default;
    explicit Held(T value) : value_(value) {}
    ~Held() { reset(); }
    Held(Held&& other) noexcept : value_(other.release()) {}
    Held& operator=(Held&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;

    T get() const { return value_; }
    explicit operator bool() const { return value_ != T{}; }
    T release() { return std::exchange(value_, T{}); }
    void reset(T value = T{}) {
        if (value_) Release(value_);
        value_ = value;
    }

  private:
    T value_ = T{};
};

using HeldHandle = Held<HANDLE, &CloseHandle>;
using HeldModule = Held<HMODULE, &FreeLibrary>;
using HeldHook = Held<HHOOK, &UnhookWindowsHookEx>;
using HeldMemoryDc = Held<HDC, &DeleteDC>;
using HeldBitmap = Held<HBITMAP, &DeleteObject>;
using HeldDesktop = Held<HDESK, &CloseDesktop>;

// A window's device context (the screen's, for no window): GetDC, ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context, the one before put back.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, old_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// A view of a file mapping, unmapped as it goes.
template <typename T>
class MappedView {
  public:
    MappedView() = default;
    explicit MappedView(HANDLE mapping)
        : view_(static_cast<T*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0))) {}
    ~MappedView() { reset(); }
    MappedView(MappedView&& other) noexcept : view_(std::exchange(other.view_, nullptr)) {}
    MappedView& operator=(MappedView&& other) noexcept {
        if (this != &other) {
            reset();
            view_ = std::exchange(other.view_, nullptr);
        }
        return *this;
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;

    T* get() const { return view_; }
    T* operator->() const { return view_; }
    T& operator*() const { return *view_; }
    explicit operator bool() const { return view_ != nullptr; }
    void reset() {
        if (view_) UnmapViewOfFile(view_);
        view_ = nullptr;
    }

  private:
    T* view_ = nullptr;
};

// A process started or opened, its handles closed as it goes (it is not
// ended: who holds it decides that first).
struct HeldProcess {
    HeldHandle process, thread;
    DWORD id = 0;

    void Take(const PROCESS_INFORMATION& started) {
        process.reset(started.hProcess);
        thread.reset(started.hThread);
        id = started.dwProcessId;
    }
};

}  // namespace transcript
