#include "Form1.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "Module1.h"
#include "form1_design.h"
#include "layout.h"
#include "paint_report.h"
#include "random_draws.h"

HWND Form1 = nullptr;
HWND ListView1 = nullptr;
HWND Text1 = nullptr;
HWND Label1 = nullptr;
HWND Label2 = nullptr;

namespace {

constexpr char kClassName[] = "PaintProbeForm1";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;  // title, system menu, min/max/close, sizable
constexpr DWORD kExStyle = WS_EX_APPWINDOW;

// Resize events wait for the first show; unload happens once.
bool Shown = false;
bool Unloaded = false;

// GetDC on construction, ReleaseDC on destruction; with a font selected,
// the one before is put back first, as the block ends in reverse order.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() { ReleaseDC(window_, dc_); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC dc() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

class FontSelected {
  public:
    FontSelected(HDC dc, HFONT font) : dc_(dc), old_(SelectObject(dc, font)) {}
    ~FontSelected() { SelectObject(dc_, old_); }
    FontSelected(const FontSelected&) = delete;
    FontSelected& operator=(const FontSelected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

int DotsPerInch(int index) {
    const int dpi = GetDeviceCaps(WindowDc(nullptr).dc(), index);
    return dpi > 0 ? dpi : 96;
}

// The display's scale, read when Form1 is created: the program is DPI-aware
// and keeps the system's scale for its life, so its pixels are real pixels.
int DpiX = form1::kDesignDpi;
int DpiY = form1::kDesignDpi;

// The controls' font: 8 point MS Sans Serif at the display's scale, or the
// largest smaller size at which every control still shows all it must (a
// font does not grow exactly with the scale). Owned by Form1 for its life.
class ControlFont {
  public:
    template <typename Fits>
    void Create(Fits fits) {
        const int design = MulDiv(8, DpiY, 72);
        for (int height = design; height >= design * 3 / 4; --height) {
            font_ = Make(height);
            if (!font_ || fits(font_)) return;
            DeleteObject(font_);
        }
        font_ = Make(design);  // nothing smaller fits either
    }
    void Release() {
        if (font_) DeleteObject(font_);
        font_ = nullptr;
    }
    HFONT get() const {
        return font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }

  private:
    // MS Sans Serif is a bitmap face of a few sizes only (11, 13, 16 and 32
    // pixels under Wine): where none is near the one asked for, the text
    // would stand small in its large controls. The scalable face of the same
    // design, Microsoft Sans Serif (Windows XP onward), grows with the display.
    static HFONT Make(int height) {
        HFONT font = Face(height, "MS Sans Serif");
        if (font && CharacterHeight(font) + 1 < height) {
            DeleteObject(font);
            font = Face(height, "Microsoft Sans Serif");
        }
        return font;
    }
    static HFONT Face(int height, const char* name) {
        return CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, name);
    }
    static int CharacterHeight(HFONT font) {
        const WindowDc screen(nullptr);
        const FontSelected selected(screen.dc(), font);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(screen.dc(), &metrics);
        return metrics.tmHeight - metrics.tmInternalLeading;
    }
    HFONT font_ = nullptr;
} Font;

HWND CreateControl(HWND parent, const form1::ControlDesign& design) {
    const char* windowClass = "STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (design.kind) {
        case form1::Kind::ListView:
            windowClass = WC_LISTVIEWA;
            style |= WS_TABSTOP | LVS_REPORT;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case form1::Kind::TextBox:
            windowClass = "EDIT";
            style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case form1::Kind::Label:
            style |= SS_LEFT;  // word-wrapped
            break;
        case form1::Kind::OneLineLabel:
            style |= SS_LEFTNOWORDWRAP;
            break;
    }
    using form1::Scaled;
    return CreateWindowExA(exStyle, windowClass, "", style, Scaled(design.left, DpiX),
                           Scaled(design.top, DpiY), Scaled(design.width, DpiX),
                           Scaled(design.height, DpiY), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)),
                           GetWindowInstance(parent), nullptr);
}

// Whether, in this font, Text1 shows the widest report a large display can
// give (four-digit edges) on four whole lines, Label1 the whole instruction
// text as it wraps it, and Label2 the longest count.
bool ContentFits(HFONT font) {
    for (HWND control : {Text1, Label1, Label2})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const WindowDc form(Form1);
    const HDC dc = form.dc();
    const FontSelected selected(dc, font);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    auto width = [dc](const std::string& text) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    int digit = '0';
    for (int d = '1'; d <= '9'; ++d)
        if (width(std::string(1, static_cast<char>(d))) >
            width(std::string(1, static_cast<char>(digit))))
            digit = d;
    const int32_t widest = (digit - '0') * 1111;

    RECT text = {};
    SendMessageA(Text1, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    const std::string report = probe::PaintReportText({widest, widest, widest, widest});
    bool fits = 4 * metrics.tmHeight <= text.bottom - text.top;
    for (size_t start = 0, end = 0; start <= report.size(); start = end + 2) {
        end = std::min(report.find("\r\n", start), report.size());
        fits = fits && width(report.substr(start, end - start)) <= text.right - text.left;
    }

    RECT label, need;
    GetClientRect(Label1, &label);
    need = label;
    DrawTextA(dc, form1::kInstructions, -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    fits = fits && need.bottom <= label.bottom && need.right <= label.right;

    GetClientRect(Label2, &label);
    fits = fits && width(probe::PaintCountText(9999)) <= label.right &&
           metrics.tmHeight <= label.bottom;
    return fits;
}

void AddColumns(HWND listView) {
    int index = 0;
    for (const form1::ColumnDesign& design : form1::kColumns) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = form1::Scaled(design.width, DpiX);
        column.pszText = const_cast<char*>(design.header);
        ListView_InsertColumn(listView, index++, &column);
    }
}

// A child's place in its parent's client pixels.
RECT PlaceOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int ListView1Width() {
    const RECT place = PlaceOf(ListView1);
    return place.right - place.left;
}

// The control draws itself anew at its new place: the pixels the system would
// carry over from the old one may be stale (covered, or off the client area,
// when the window was narrow).
void SetLeft(HWND control, int left) {
    SetWindowPos(control, nullptr, left, PlaceOf(control).top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void Unload() {
    if (Unloaded) return;
    Unloaded = true;
    int16_t Cancel = 0;
    Form_Unload(Cancel);
}

// Message handlers: each turns a window message into the window's events.

BOOL OnCreate(HWND hwnd, LPCREATESTRUCT) {
    Form1 = hwnd;
    ListView1 = CreateControl(hwnd, form1::kListView1);
    Text1 = CreateControl(hwnd, form1::kText1);
    Label1 = CreateControl(hwnd, form1::kLabel1);
    Label2 = CreateControl(hwnd, form1::kLabel2);
    if (!ListView1 || !Text1 || !Label1 || !Label2) return FALSE;
    Font.Create(ContentFits);
    for (HWND control : {ListView1, Text1, Label1, Label2})
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font.get()), FALSE);
    AddColumns(ListView1);
    Form_Load();
    return TRUE;
}

// The size Form_Resize last ran for. The first show raises the event; a
// WM_SIZE raises it again only for a real change (Windows and Wine also send
// one at the first show, with the size unchanged).
struct SizeSeen {
    UINT state;
    int width;
    int height;
    bool operator==(const SizeSeen& o) const {
        return state == o.state && width == o.width && height == o.height;
    }
} LastSize = {};

void RaiseResize(const SizeSeen& size) {
    LastSize = size;
    Form_Resize();
}

void OnShowWindow(HWND hwnd, BOOL show, UINT) {
    if (!show || Shown) return;
    Shown = true;
    RECT client;
    GetClientRect(hwnd, &client);
    const UINT state = IsIconic(hwnd)   ? SIZE_MINIMIZED
                       : IsZoomed(hwnd) ? SIZE_MAXIMIZED
                                        : SIZE_RESTORED;
    RaiseResize({state, client.right, client.bottom});
}

void OnSize(HWND, UINT state, int width, int height) {
    const SizeSeen size = {state, width, height};
    if (Shown && !(size == LastSize)) RaiseResize(size);
}

// Whether a point of the list view's client area is in its item area, below
// its header: a double-click on the header is not one on the list.
bool InItemArea(POINT p) {
    RECT client, header;
    GetClientRect(ListView1, &client);
    GetWindowRect(ListView_GetHeader(ListView1), &header);
    MapWindowPoints(HWND_DESKTOP, ListView1, reinterpret_cast<POINT*>(&header), 2);
    return PtInRect(&client, p) && !PtInRect(&header, p);
}

LRESULT OnNotify(HWND, int, NMHDR* header) {
    if (header->hwndFrom == ListView1 && header->code == NM_DBLCLK &&
        InItemArea(reinterpret_cast<NMITEMACTIVATE*>(header)->ptAction))
        ListView1_DblClick();
    return 0;
}

HBRUSH OnCtlColorStatic(HWND, HDC dc, HWND, int) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void OnClose(HWND hwnd) {
    Unload();
    DestroyWindow(hwnd);
}

BOOL OnQueryEndSession(HWND) {
    return TRUE;
}

void OnEndSession(HWND hwnd, BOOL ending) {
    // The session ends without a WM_CLOSE; unload and go while we may.
    if (ending) DestroyWindow(hwnd);
}

void OnDestroy(HWND) {
    // Before the controls go: WM_DESTROY reaches the parent first.
    Unload();
    PostQuitMessage(0);
}

void OnNcDestroy(HWND) {
    Font.Release();  // the controls that used it are gone by now
    Form1 = ListView1 = Text1 = Label1 = Label2 = nullptr;
}

LRESULT CALLBACK Form1Proc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        HANDLE_MSG(hwnd, WM_CREATE, OnCreate);
        HANDLE_MSG(hwnd, WM_SHOWWINDOW, OnShowWindow);
        HANDLE_MSG(hwnd, WM_SIZE, OnSize);
        HANDLE_MSG(hwnd, WM_NOTIFY, OnNotify);
        HANDLE_MSG(hwnd, WM_CTLCOLORSTATIC, OnCtlColorStatic);
        HANDLE_MSG(hwnd, WM_CLOSE, OnClose);
        HANDLE_MSG(hwnd, WM_QUERYENDSESSION, OnQueryEndSession);
        HANDLE_MSG(hwnd, WM_ENDSESSION, OnEndSession);
        HANDLE_MSG(hwnd, WM_DESTROY, OnDestroy);
        HANDLE_MSG(hwnd, WM_NCDESTROY, OnNcDestroy);
    }
    return DefWindowProcA(hwnd, uMsg, wParam, lParam);
}

}  // namespace

bool RegisterForm1(HINSTANCE instance) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Form1Proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    return GetClassInfoExA(instance, kClassName, &existing) || RegisterClassExA(&wc) != 0;
}

HWND CreateForm1(HINSTANCE instance) {
    Shown = false;
    Unloaded = false;
    DpiX = DotsPerInch(LOGPIXELSX);
    DpiY = DotsPerInch(LOGPIXELSY);
    RECT outer = {0, 0, form1::Scaled(form1::kClientWidth, DpiX),
                  form1::Scaled(form1::kClientHeight, DpiY)};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    return CreateWindowExA(kExStyle, kClassName, form1::kCaption, kStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                           nullptr, nullptr, instance, nullptr);
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Tab and Shift+Tab move between the controls in their tab order.
        if (Form1 && IsDialogMessageA(Form1, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void Form_Load() {
    Module1::ConnectOutputs(Text1, Label2);
    Module1::OldProc =
        Module1::ExchangeWindowProc(ListView1, Module1::AddressOf(&Module1::ListViewProc));
    SetWindowTextA(Label1, form1::kInstructions);
    probe::SeedDrawsFromTimeOfDay();
}

void Form_Resize() {
    RECT client;
    GetClientRect(Form1, &client);
    const form1::Box box = form1::ListViewBox(client.right, client.bottom, ListView1Width(), DpiX);
    MoveWindow(ListView1, box.left, box.top, box.width, box.height, TRUE);

    // Each reads the list view's width afresh: the column follows the width
    // the list view really has.
    SetLeft(Text1, form1::ColumnLeft(ListView1Width(), DpiX));
    SetLeft(Label1, form1::ColumnLeft(ListView1Width(), DpiX));
    SetLeft(Label2, form1::ColumnLeft(ListView1Width(), DpiX));
}

void Form_Unload(int16_t& Cancel) {
    Module1::ExchangeWindowProc(ListView1, Module1::OldProc);
    (void)Cancel;  // left at 0: the window always closes
}

void ListView1_DblClick() {
    // A maximized or minimized window cannot take a new size; the click is
    // let go, as the system would refuse the change anyway.
    if (IsZoomed(Form1) || IsIconic(Form1)) return;
    const UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    RECT outer;
    GetWindowRect(Form1, &outer);
    const int height = form1::GrownPixels(outer.bottom - outer.top, DpiY);
    SetWindowPos(Form1, nullptr, 0, 0, outer.right - outer.left, height, keep);
    GetWindowRect(Form1, &outer);
    const int width = form1::GrownPixels(outer.right - outer.left, DpiX);
    SetWindowPos(Form1, nullptr, 0, 0, width, outer.bottom - outer.top, keep);
}
