// What the program's windows show, read from outside: texts, places on the
// screen, pixels.
#include "held.h"
#include "remote.h"

namespace transcript {

std::string Remote::Text(HWND window) const {
    // Watched, the program reads its own controls' texts for this tool: a
    // flush message through its loop, and they are in the shared memory.
    const HWND shown[] = {text1, label1, label2};
    for (int i = 0; shared_ && window && i < 3; ++i) {
        if (window != shown[i]) continue;
        return Flush(kAnswerMs) ? std::string(shared_->texts[i]) : std::string();
    }
    char text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, kAnswerMs, &copied);
    return text;
}

RECT Remote::OuterRect() const {
    RECT r = {};
    GetWindowRect(form, &r);
    return r;
}

RECT Remote::ClientRect() const {
    RECT r = {};
    GetClientRect(form, &r);
    return r;
}

RECT Remote::ListViewClient() const {
    RECT r = {};
    GetClientRect(listView, &r);
    return r;
}

RECT Remote::Place(HWND control) const {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT Remote::ListViewToScreen(POINT p) const {
    ClientToScreen(listView, &p);
    return p;
}

COLORREF Remote::ScreenPixel(POINT screen) const {
    const WindowDc dc(nullptr);
    return GetPixel(dc.get(), screen.x, screen.y);
}

BITMAPINFOHEADER Image::Header() const {
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // top row first
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    return info;
}

Image Remote::Capture(HWND window) const {
    RECT r = {};
    GetWindowRect(window, &r);
    Image image;
    image.width = r.right - r.left;
    image.height = r.bottom - r.top;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    BITMAPINFOHEADER info = image.Header();
    const WindowDc screen(nullptr);
    const HeldMemoryDc memory(CreateCompatibleDC(screen.get()));
    const HeldBitmap bitmap(CreateCompatibleBitmap(screen.get(), image.width, image.height));
    {
        const Selection into(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, image.width, image.height, screen.get(), r.left, r.top, SRCCOPY);
    }  // GetDIBits wants the bitmap selected into no device context
    GetDIBits(memory.get(), bitmap.get(), 0, image.height, image.pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    for (uint32_t& p : image.pixels) p &= 0xFFFFFF;
    return image;
}

void Remote::Redraw(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    RECT update;
    for (DWORD start = GetTickCount();
         GetUpdateRect(window, &update, FALSE) && GetTickCount() - start < kTimeoutMs;)
        Sleep(2);
    // Handled only once the paint that emptied the update region has returned.
    DWORD_PTR result;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kTimeoutMs, &result);
    if (shared_) Settle();  // and then what it drew is on the screen
}

}  // namespace transcript
