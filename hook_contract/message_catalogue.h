// Every message the tool knows, declared once: its number and name, how
// its two parameters read, what the hook copies of what it points to and
// how it is decoded (its shape), and whether it only asks. The hook, the
// filter of a log and its decoder all read this one table. No window
// system here: both halves of the tool include it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace transcript {

enum class ParamKind : uint8_t {
    Auto,           // as the hook found it: a window, an object, memory, else a number
    None,           // unused: not written
    Number,         // a whole number
    Hex,            // flags, codes: 0x...
    Hidden,         // changes from run to run (a thread's id): not written
    Point,          // x,y in the low and high words
    Size,           // width x height in the low and high words
    SizeType,       // SIZE_RESTORED, ...
    Hit,            // a hit-test code, HTCAPTION, ...
    HitAndMessage,  // a hit-test code and a mouse message
    Keys,           // MK_LBUTTON, ...
    Text,           // the text it points to, as the hook read it
    Dc,             // a device context, whatever else its number is (a window's too, in Wine 5.0)
    Bool,           // a yes or no: TRUE or FALSE
};

// What the hook copies of a message, before it is handled and (where
// `after` says) as its handling returns, and so how it is decoded.
enum class Shape : uint8_t {
    Plain,         // its two parameters, as their kinds say
    PosChanging,   // WINDOWPOS, and what the handling changed of it
    Pos,           // WINDOWPOS
    CalcSize,      // the rectangles of NCCALCSIZE_PARAMS, or the one RECT
    MinMax,        // MINMAXINFO
    Sizing,        // the RECT of a drag, and the edge
    Moving,        // the RECT of a move
    Style,         // STYLESTRUCT
    Notify,        // NMHDR, and a custom draw's stage
    NcPaint,       // the region's bounds and kind
    Paint,         // the update rectangle
    Text,          // the text lParam points to
    Erase,         // whether it erased
    SysCommand,    // the command, and for SC_SIZE the edge
    Show,          // shown or hidden, and why
    ParentNotify,  // a child's click, or its birth or end
    HitTest,       // where, and the answer
};

// Whether the hook reads the structure again as the handling returns.
constexpr bool ReadsAfter(Shape s) {
    return s == Shape::PosChanging || s == Shape::Pos || s == Shape::CalcSize ||
           s == Shape::MinMax || s == Shape::Sizing || s == Shape::Moving || s == Shape::Style;
}

// Whether a message's result is written as a plain value: not where its
// structure, as changed, is the answer.
constexpr bool ResultIsValue(Shape s) {
    return s != Shape::PosChanging && s != Shape::Pos && s != Shape::MinMax && s != Shape::Sizing &&
           s != Shape::Moving && s != Shape::Style;
}

constexpr bool kAsks = true;  // only asks or polls: a log leaves it out unless it keeps all

struct MessageInfo {  // packed: the table is a good part of the tool
    uint16_t number;
    ParamKind w, l;
    const char* name;
    Shape shape = Shape::Plain;
    bool asks = false;
    ParamKind result = ParamKind::Auto;  // how its result reads, where its shape leaves it a value
};

namespace table {
using K = ParamKind;
using S = Shape;

// Sorted by number. A mouse leaving is kept, though nothing asks: it
// changes what a window shows (a header's hot item), and is why it repaints.
inline constexpr MessageInfo kMessages[] = {
    {0x0000, K::Auto, K::Auto, "WM_NULL", S::Plain, kAsks},  // "are you there?"
    {0x0001, K::Auto, K::Auto, "WM_CREATE"},
    {0x0002, K::Auto, K::Auto, "WM_DESTROY"},
    {0x0003, K::None, K::Point, "WM_MOVE"},
    {0x0005, K::SizeType, K::Size, "WM_SIZE"},
    {0x0006, K::Number, K::Auto, "WM_ACTIVATE"},
    {0x0007, K::Auto, K::Auto, "WM_SETFOCUS"},
    {0x0008, K::Auto, K::Auto, "WM_KILLFOCUS"},
    {0x000A, K::Number, K::Auto, "WM_ENABLE"},
    {0x000B, K::Number, K::Auto, "WM_SETREDRAW"},
    {0x000C, K::Auto, K::Text, "WM_SETTEXT", S::Text},
    {0x000D, K::Number, K::Auto, "WM_GETTEXT", S::Plain, kAsks},
    {0x000E, K::Auto, K::Auto, "WM_GETTEXTLENGTH", S::Plain, kAsks},
    {0x000F, K::Auto, K::Auto, "WM_PAINT", S::Paint},
    {0x0010, K::Auto, K::Auto, "WM_CLOSE"},
    {0x0011, K::Auto, K::Hex, "WM_QUERYENDSESSION"},
    {0x0012, K::Number, K::Auto, "WM_QUIT"},
    {0x0013, K::Auto, K::Auto, "WM_QUERYOPEN", S::Plain, kAsks},
    {0x0014, K::Auto, K::Auto, "WM_ERASEBKGND", S::Erase},
    {0x0015, K::Auto, K::Auto, "WM_SYSCOLORCHANGE"},
    {0x0016, K::Number, K::Hex, "WM_ENDSESSION"},
    {0x0018, K::Number, K::Number, "WM_SHOWWINDOW", S::Show},
    {0x001A, K::Number, K::Auto, "WM_SETTINGCHANGE"},
    {0x001C, K::Number, K::Hidden, "WM_ACTIVATEAPP"},
    {0x001D, K::Auto, K::Auto, "WM_FONTCHANGE"},
    {0x001F, K::Auto, K::Auto, "WM_CANCELMODE"},
    {0x0020, K::Auto, K::HitAndMessage, "WM_SETCURSOR", S::Plain, kAsks},
    {0x0021, K::Auto, K::HitAndMessage, "WM_MOUSEACTIVATE"},
    {0x0022, K::Auto, K::Auto, "WM_CHILDACTIVATE"},
    {0x0024, K::Auto, K::Auto, "WM_GETMINMAXINFO", S::MinMax},
    {0x0026, K::Auto, K::Auto, "WM_PAINTICON"},
    {0x0027, K::Auto, K::Auto, "WM_ICONERASEBKGND"},
    {0x0028, K::Auto, K::Auto, "WM_NEXTDLGCTL"},
    {0x002B, K::Number, K::Auto, "WM_DRAWITEM"},
    {0x002C, K::Number, K::Auto, "WM_MEASUREITEM"},
    {0x002D, K::Number, K::Auto, "WM_DELETEITEM"},
    {0x0030, K::Auto, K::Number, "WM_SETFONT"},
    {0x0031, K::Auto, K::Auto, "WM_GETFONT", S::Plain, kAsks},
    {0x0037, K::Auto, K::Auto, "WM_QUERYDRAGICON", S::Plain, kAsks},
    {0x003D, K::Auto, K::Number, "WM_GETOBJECT", S::Plain, kAsks},
    {0x0046, K::Auto, K::Auto, "WM_WINDOWPOSCHANGING", S::PosChanging},
    {0x0047, K::Auto, K::Auto, "WM_WINDOWPOSCHANGED", S::Pos},
    {0x004A, K::Auto, K::Auto, "WM_COPYDATA"},
    {0x004E, K::Number, K::Auto, "WM_NOTIFY", S::Notify},
    {0x0050, K::Number, K::Hex, "WM_INPUTLANGCHANGEREQUEST"},
    {0x0051, K::Number, K::Hex, "WM_INPUTLANGCHANGE"},
    {0x0053, K::Auto, K::Auto, "WM_HELP"},
    {0x0055, K::Auto, K::Number, "WM_NOTIFYFORMAT"},
    {0x007B, K::Auto, K::Point, "WM_CONTEXTMENU"},
    {0x007C, K::Number, K::Auto, "WM_STYLECHANGING", S::Style},
    {0x007D, K::Number, K::Auto, "WM_STYLECHANGED", S::Style},
    {0x007E, K::Number, K::Size, "WM_DISPLAYCHANGE"},
    {0x007F, K::Number, K::Auto, "WM_GETICON", S::Plain, kAsks},
    {0x0080, K::Number, K::Auto, "WM_SETICON"},
    {0x0081, K::Auto, K::Auto, "WM_NCCREATE", S::Plain, false, K::Bool},  // FALSE: not made
    {0x0082, K::Auto, K::Auto, "WM_NCDESTROY"},
    {0x0083, K::Number, K::Auto, "WM_NCCALCSIZE", S::CalcSize},
    {0x0084, K::None, K::Point, "WM_NCHITTEST", S::HitTest, kAsks},
    {0x0085, K::Auto, K::Auto, "WM_NCPAINT", S::NcPaint},
    {0x0086, K::Number, K::Auto, "WM_NCACTIVATE"},
    {0x0087, K::Auto, K::Auto, "WM_GETDLGCODE", S::Plain, kAsks},
    {0x0088, K::Auto, K::Auto, "WM_SYNCPAINT"},
    {0x00A0, K::Hit, K::Point, "WM_NCMOUSEMOVE", S::Plain, kAsks},
    {0x00A1, K::Hit, K::Point, "WM_NCLBUTTONDOWN"},
    {0x00A2, K::Hit, K::Point, "WM_NCLBUTTONUP"},
    {0x00A3, K::Hit, K::Point, "WM_NCLBUTTONDBLCLK"},
    {0x00A4, K::Hit, K::Point, "WM_NCRBUTTONDOWN"},
    {0x00A5, K::Hit, K::Point, "WM_NCRBUTTONUP"},
    {0x00A6, K::Hit, K::Point, "WM_NCRBUTTONDBLCLK"},
    {0x00A7, K::Hit, K::Point, "WM_NCMBUTTONDOWN"},
    {0x00A8, K::Hit, K::Point, "WM_NCMBUTTONUP"},
    {0x00A9, K::Hit, K::Point, "WM_NCMBUTTONDBLCLK"},
    {0x00B0, K::Auto, K::Auto, "EM_GETSEL", S::Plain, kAsks},
    {0x00B1, K::Number, K::Number, "EM_SETSEL"},
    {0x00B2, K::Auto, K::Auto, "EM_GETRECT", S::Plain, kAsks},
    {0x00B3, K::Number, K::Auto, "EM_SETRECT"},
    {0x00B4, K::Number, K::Auto, "EM_SETRECTNP"},
    {0x00B5, K::Number, K::Auto, "EM_SCROLL"},
    {0x00B6, K::Number, K::Number, "EM_LINESCROLL"},
    {0x00B7, K::Auto, K::Auto, "EM_SCROLLCARET"},
    {0x00B8, K::Auto, K::Auto, "EM_GETMODIFY", S::Plain, kAsks},
    {0x00B9, K::Number, K::Auto, "EM_SETMODIFY"},
    {0x00BA, K::Auto, K::Auto, "EM_GETLINECOUNT", S::Plain, kAsks},
    {0x00BB, K::Number, K::Auto, "EM_LINEINDEX", S::Plain, kAsks},
    {0x00BD, K::Auto, K::Auto, "EM_GETHANDLE", S::Plain, kAsks},
    {0x00BE, K::Auto, K::Auto, "EM_GETTHUMB", S::Plain, kAsks},
    {0x00C1, K::Number, K::Auto, "EM_LINELENGTH", S::Plain, kAsks},
    {0x00C2, K::Number, K::Text, "EM_REPLACESEL", S::Text},
    {0x00C4, K::Number, K::Auto, "EM_GETLINE", S::Plain, kAsks},
    {0x00C5, K::Number, K::Auto, "EM_LIMITTEXT"},
    {0x00C6, K::Auto, K::Auto, "EM_CANUNDO", S::Plain, kAsks},
    {0x00C7, K::Auto, K::Auto, "EM_UNDO"},
    {0x00C8, K::Number, K::Auto, "EM_FMTLINES"},
    {0x00C9, K::Number, K::Auto, "EM_LINEFROMCHAR", S::Plain, kAsks},
    {0x00CB, K::Number, K::Auto, "EM_SETTABSTOPS"},
    {0x00CC, K::Number, K::Auto, "EM_SETPASSWORDCHAR"},
    {0x00CD, K::Auto, K::Auto, "EM_EMPTYUNDOBUFFER"},
    {0x00CE, K::Auto, K::Auto, "EM_GETFIRSTVISIBLELINE", S::Plain, kAsks},
    {0x00CF, K::Number, K::Auto, "EM_SETREADONLY"},
    {0x00D0, K::Auto, K::Auto, "EM_SETWORDBREAKPROC"},
    {0x00D1, K::Auto, K::Auto, "EM_GETWORDBREAKPROC", S::Plain, kAsks},
    {0x00D2, K::Auto, K::Auto, "EM_GETPASSWORDCHAR", S::Plain, kAsks},
    {0x00D3, K::Hex, K::Hex, "EM_SETMARGINS"},
    {0x00D4, K::Auto, K::Auto, "EM_GETMARGINS", S::Plain, kAsks},
    {0x00D5, K::Auto, K::Auto, "EM_GETLIMITTEXT", S::Plain, kAsks},
    {0x00D6, K::Number, K::Auto, "EM_POSFROMCHAR", S::Plain, kAsks},
    {0x00D7, K::Auto, K::Point, "EM_CHARFROMPOS", S::Plain, kAsks},
    {0x00FF, K::Number, K::Auto, "WM_INPUT"},
    {0x0100, K::Hex, K::Hex, "WM_KEYDOWN"},
    {0x0101, K::Hex, K::Hex, "WM_KEYUP"},
    {0x0102, K::Hex, K::Hex, "WM_CHAR"},
    {0x0103, K::Hex, K::Hex, "WM_DEADCHAR"},
    {0x0104, K::Hex, K::Hex, "WM_SYSKEYDOWN"},
    {0x0105, K::Hex, K::Hex, "WM_SYSKEYUP"},
    {0x0106, K::Hex, K::Hex, "WM_SYSCHAR"},
    {0x0107, K::Hex, K::Hex, "WM_SYSDEADCHAR"},
    {0x010D, K::Auto, K::Auto, "WM_IME_STARTCOMPOSITION"},
    {0x010E, K::Auto, K::Auto, "WM_IME_ENDCOMPOSITION"},
    {0x010F, K::Hex, K::Hex, "WM_IME_COMPOSITION"},
    {0x0110, K::Auto, K::Auto, "WM_INITDIALOG"},
    {0x0111, K::Hex, K::Auto, "WM_COMMAND"},
    {0x0112, K::Auto, K::Point, "WM_SYSCOMMAND", S::SysCommand},
    {0x0113, K::Number, K::Auto, "WM_TIMER"},
    {0x0114, K::Hex, K::Auto, "WM_HSCROLL"},
    {0x0115, K::Hex, K::Auto, "WM_VSCROLL"},
    {0x0116, K::Auto, K::Auto, "WM_INITMENU"},
    {0x0117, K::Auto, K::Hex, "WM_INITMENUPOPUP"},
    {0x0118, K::Hex, K::Auto, "WM_SYSTIMER", S::Plain,
     kAsks},  // the system's own timers: caret, mouse tracking
    {0x011F, K::Hex, K::Auto, "WM_MENUSELECT"},
    {0x0120, K::Hex, K::Auto, "WM_MENUCHAR"},
    {0x0121, K::Number, K::Auto, "WM_ENTERIDLE", S::Plain, kAsks},
    {0x0125, K::Auto, K::Hex, "WM_UNINITMENUPOPUP"},
    {0x0127, K::Hex, K::Auto, "WM_CHANGEUISTATE"},
    {0x0128, K::Hex, K::Auto, "WM_UPDATEUISTATE"},
    {0x0129, K::Auto, K::Auto, "WM_QUERYUISTATE", S::Plain, kAsks},
    {0x0132, K::Dc, K::Auto, "WM_CTLCOLORMSGBOX"},
    {0x0133, K::Dc, K::Auto, "WM_CTLCOLOREDIT"},
    {0x0134, K::Dc, K::Auto, "WM_CTLCOLORLISTBOX"},
    {0x0135, K::Dc, K::Auto, "WM_CTLCOLORBTN"},
    {0x0136, K::Dc, K::Auto, "WM_CTLCOLORDLG"},
    {0x0137, K::Dc, K::Auto, "WM_CTLCOLORSCROLLBAR"},
    {0x0138, K::Dc, K::Auto, "WM_CTLCOLORSTATIC"},
    {0x0200, K::Keys, K::Point, "WM_MOUSEMOVE", S::Plain, kAsks},
    {0x0201, K::Keys, K::Point, "WM_LBUTTONDOWN"},
    {0x0202, K::Keys, K::Point, "WM_LBUTTONUP"},
    {0x0203, K::Keys, K::Point, "WM_LBUTTONDBLCLK"},
    {0x0204, K::Keys, K::Point, "WM_RBUTTONDOWN"},
    {0x0205, K::Keys, K::Point, "WM_RBUTTONUP"},
    {0x0206, K::Keys, K::Point, "WM_RBUTTONDBLCLK"},
    {0x0207, K::Keys, K::Point, "WM_MBUTTONDOWN"},
    {0x0208, K::Keys, K::Point, "WM_MBUTTONUP"},
    {0x0209, K::Keys, K::Point, "WM_MBUTTONDBLCLK"},
    {0x020A, K::Hex, K::Point, "WM_MOUSEWHEEL"},
    {0x0210, K::Hex, K::Auto, "WM_PARENTNOTIFY", S::ParentNotify},
    {0x0211, K::Number, K::Auto, "WM_ENTERMENULOOP"},
    {0x0212, K::Number, K::Auto, "WM_EXITMENULOOP"},
    {0x0214, K::Auto, K::Auto, "WM_SIZING", S::Sizing},
    {0x0215, K::Auto, K::Auto, "WM_CAPTURECHANGED"},
    {0x0216, K::Auto, K::Auto, "WM_MOVING", S::Moving},
    {0x0218, K::Number, K::Auto, "WM_POWERBROADCAST"},
    {0x0219, K::Hex, K::Auto, "WM_DEVICECHANGE"},
    {0x0231, K::Auto, K::Auto, "WM_ENTERSIZEMOVE"},
    {0x0232, K::Auto, K::Auto, "WM_EXITSIZEMOVE"},
    {0x0233, K::Auto, K::Auto, "WM_DROPFILES"},
    {0x0281, K::Number, K::Hex, "WM_IME_SETCONTEXT"},
    {0x0282, K::Hex, K::Hex, "WM_IME_NOTIFY"},
    {0x0283, K::Hex, K::Auto, "WM_IME_CONTROL"},
    {0x0285, K::Number, K::Hidden, "WM_IME_SELECT"},
    {0x0286, K::Hex, K::Hex, "WM_IME_CHAR"},
    {0x0288, K::Hex, K::Auto, "WM_IME_REQUEST"},
    {0x0290, K::Hex, K::Hex, "WM_IME_KEYDOWN"},
    {0x0291, K::Hex, K::Hex, "WM_IME_KEYUP"},
    {0x02A0, K::Hit, K::Point, "WM_NCMOUSEHOVER", S::Plain, kAsks},
    {0x02A1, K::Keys, K::Point, "WM_MOUSEHOVER", S::Plain, kAsks},
    {0x02A2, K::Auto, K::Auto, "WM_NCMOUSELEAVE"},
    {0x02A3, K::Auto, K::Auto, "WM_MOUSELEAVE"},
    {0x02B1, K::Number, K::Number, "WM_WTSSESSION_CHANGE"},
    {0x02E0, K::Hex, K::Auto, "WM_DPICHANGED"},
    {0x0300, K::Auto, K::Auto, "WM_CUT"},
    {0x0301, K::Auto, K::Auto, "WM_COPY"},
    {0x0302, K::Auto, K::Auto, "WM_PASTE"},
    {0x0303, K::Auto, K::Auto, "WM_CLEAR"},
    {0x0304, K::Auto, K::Auto, "WM_UNDO"},
    {0x030F, K::Auto, K::Auto, "WM_QUERYNEWPALETTE"},
    {0x0310, K::Auto, K::Auto, "WM_PALETTEISCHANGING"},
    {0x0311, K::Auto, K::Auto, "WM_PALETTECHANGED"},
    {0x0312, K::Number, K::Hex, "WM_HOTKEY"},
    {0x0317, K::Auto, K::Hex, "WM_PRINT"},
    {0x0318, K::Dc, K::Hex, "WM_PRINTCLIENT"},
    {0x031A, K::Auto, K::Auto, "WM_THEMECHANGED"},
    {0x031D, K::Auto, K::Auto, "WM_CLIPBOARDUPDATE"},
    {0x031E, K::Auto, K::Auto, "WM_DWMCOMPOSITIONCHANGED"},
    {0x0320, K::Hex, K::Auto, "WM_DWMCOLORIZATIONCOLORCHANGED"},
    {0x1000, K::Auto, K::Auto, "LVM_GETBKCOLOR", S::Plain, kAsks},
    {0x1001, K::Auto, K::Hex, "LVM_SETBKCOLOR"},
    {0x1002, K::Number, K::Auto, "LVM_GETIMAGELIST", S::Plain, kAsks},
    {0x1003, K::Number, K::Auto, "LVM_SETIMAGELIST"},
    {0x1004, K::Auto, K::Auto, "LVM_GETITEMCOUNT", S::Plain, kAsks},
    {0x1005, K::Auto, K::Auto, "LVM_GETITEMA", S::Plain, kAsks},
    {0x1006, K::Auto, K::Auto, "LVM_SETITEMA"},
    {0x1007, K::Auto, K::Auto, "LVM_INSERTITEMA"},
    {0x1008, K::Number, K::Auto, "LVM_DELETEITEM"},
    {0x1009, K::Auto, K::Auto, "LVM_DELETEALLITEMS"},
    {0x100C, K::Number, K::Hex, "LVM_GETNEXTITEM", S::Plain, kAsks},
    {0x100E, K::Number, K::Auto, "LVM_GETITEMRECT", S::Plain, kAsks},
    {0x1010, K::Number, K::Auto, "LVM_GETITEMPOSITION", S::Plain, kAsks},
    {0x1012, K::Auto, K::Auto, "LVM_HITTEST", S::Plain, kAsks},
    {0x1013, K::Number, K::Number, "LVM_ENSUREVISIBLE"},
    {0x1014, K::Number, K::Number, "LVM_SCROLL"},
    {0x1015, K::Number, K::Number, "LVM_REDRAWITEMS"},
    {0x1016, K::Number, K::Auto, "LVM_ARRANGE"},
    {0x1019, K::Number, K::Auto, "LVM_GETCOLUMNA", S::Plain, kAsks},
    {0x101A, K::Number, K::Auto, "LVM_SETCOLUMNA"},
    {0x101B, K::Number, K::Auto, "LVM_INSERTCOLUMNA"},
    {0x101C, K::Number, K::Auto, "LVM_DELETECOLUMN"},
    {0x101D, K::Number, K::Auto, "LVM_GETCOLUMNWIDTH", S::Plain, kAsks},
    {0x101E, K::Number, K::Number, "LVM_SETCOLUMNWIDTH"},
    {0x101F, K::Auto, K::Auto, "LVM_GETHEADER", S::Plain, kAsks},
    {0x1022, K::Auto, K::Auto, "LVM_GETVIEWRECT", S::Plain, kAsks},
    {0x1023, K::Auto, K::Auto, "LVM_GETTEXTCOLOR", S::Plain, kAsks},
    {0x1024, K::Auto, K::Hex, "LVM_SETTEXTCOLOR"},
    {0x1025, K::Auto, K::Auto, "LVM_GETTEXTBKCOLOR", S::Plain, kAsks},
    {0x1026, K::Auto, K::Hex, "LVM_SETTEXTBKCOLOR"},
    {0x1027, K::Auto, K::Auto, "LVM_GETTOPINDEX", S::Plain, kAsks},
    {0x1028, K::Auto, K::Auto, "LVM_GETCOUNTPERPAGE", S::Plain, kAsks},
    {0x1029, K::Auto, K::Auto, "LVM_GETORIGIN", S::Plain, kAsks},
    {0x102A, K::Number, K::Auto, "LVM_UPDATE"},
    {0x102B, K::Number, K::Auto, "LVM_SETITEMSTATE"},
    {0x102C, K::Number, K::Hex, "LVM_GETITEMSTATE", S::Plain, kAsks},
    {0x102F, K::Number, K::Hex, "LVM_SETITEMCOUNT"},
    {0x1032, K::Auto, K::Auto, "LVM_GETSELECTEDCOUNT", S::Plain, kAsks},
    {0x1036, K::Hex, K::Hex, "LVM_SETEXTENDEDLISTVIEWSTYLE"},
    {0x1037, K::Auto, K::Auto, "LVM_GETEXTENDEDLISTVIEWSTYLE", S::Plain, kAsks},
    {0x1038, K::Number, K::Auto, "LVM_GETSUBITEMRECT", S::Plain, kAsks},
    {0x1039, K::Auto, K::Auto, "LVM_SUBITEMHITTEST", S::Plain, kAsks},
    {0x103C, K::Number, K::Auto, "LVM_SETHOTITEM"},
    {0x103D, K::Auto, K::Auto, "LVM_GETHOTITEM", S::Plain, kAsks},
    {0x1042, K::Auto, K::Auto, "LVM_GETSELECTIONMARK", S::Plain, kAsks},
    {0x1047, K::Auto, K::Number, "LVM_SETHOVERTIME"},
    {0x1048, K::Auto, K::Auto, "LVM_GETHOVERTIME", S::Plain, kAsks},
    {0x104E, K::Auto, K::Auto, "LVM_GETTOOLTIPS", S::Plain, kAsks},
    {0x105F, K::Number, K::Auto, "LVM_GETCOLUMNW", S::Plain, kAsks},
    {0x1060, K::Number, K::Auto, "LVM_SETCOLUMNW"},
    {0x1061, K::Number, K::Auto, "LVM_INSERTCOLUMNW"},
    {0x108E, K::Number, K::Auto, "LVM_SETVIEW"},
    {0x108F, K::Auto, K::Auto, "LVM_GETVIEW", S::Plain, kAsks},
    {0x1200, K::Auto, K::Auto, "HDM_GETITEMCOUNT", S::Plain, kAsks},
    {0x1201, K::Number, K::Auto, "HDM_INSERTITEMA"},
    {0x1202, K::Number, K::Auto, "HDM_DELETEITEM"},
    {0x1203, K::Number, K::Auto, "HDM_GETITEMA", S::Plain, kAsks},
    {0x1204, K::Number, K::Auto, "HDM_SETITEMA"},
    {0x1205, K::Auto, K::Auto, "HDM_LAYOUT"},
    {0x1206, K::Auto, K::Auto, "HDM_HITTEST", S::Plain, kAsks},
    {0x1207, K::Number, K::Auto, "HDM_GETITEMRECT", S::Plain, kAsks},
    {0x1208, K::Number, K::Auto, "HDM_SETIMAGELIST"},
    {0x1209, K::Number, K::Auto, "HDM_GETIMAGELIST", S::Plain, kAsks},
    {0x120A, K::Number, K::Auto, "HDM_INSERTITEMW"},
    {0x120B, K::Number, K::Auto, "HDM_GETITEMW", S::Plain, kAsks},
    {0x120C, K::Number, K::Auto, "HDM_SETITEMW"},
    {0x120F, K::Number, K::Auto, "HDM_ORDERTOINDEX", S::Plain, kAsks},
    {0x1211, K::Number, K::Auto, "HDM_GETORDERARRAY", S::Plain, kAsks},
    {0x1212, K::Number, K::Auto, "HDM_SETORDERARRAY"},
    {0x1213, K::Number, K::Number, "HDM_SETHOTDIVIDER"},
    {0x2001, K::Auto, K::Hex, "CCM_SETBKCOLOR"},
    {0x2005, K::Number, K::Auto, "CCM_SETUNICODEFORMAT"},
    {0x2006, K::Auto, K::Auto, "CCM_GETUNICODEFORMAT", S::Plain, kAsks},
    {0x2007, K::Number, K::Auto, "CCM_SETVERSION"},
    {0x2008, K::Auto, K::Auto, "CCM_GETVERSION", S::Plain, kAsks},
    {0x2009, K::Auto, K::Auto, "CCM_SETNOTIFYWINDOW"},
    {0x200B, K::Auto, K::Auto, "CCM_SETWINDOWTHEME"},
};
}  // namespace table
using table::kMessages;

// Null for a message the table does not hold.
constexpr const MessageInfo* FindMessage(uint32_t message) {
    size_t low = 0, high = sizeof kMessages / sizeof kMessages[0];
    while (low < high) {
        const size_t mid = (low + high) / 2;
        if (kMessages[mid].number < message)
            low = mid + 1;
        else
            high = mid;
    }
    return low < sizeof kMessages / sizeof kMessages[0] && kMessages[low].number == message
               ? &kMessages[low]
               : nullptr;
}

// "WM_SIZE", "LVM_SCROLL"; null for one the table does not hold.
constexpr const char* MessageName(uint32_t message) {
    const MessageInfo* info = FindMessage(message);
    return info ? info->name : nullptr;
}

// Whether the table is sorted by number, each number once: FindMessage
// relies on it.
constexpr bool MessagesSorted() {
    for (size_t i = 1; i < sizeof kMessages / sizeof kMessages[0]; ++i)
        if (kMessages[i - 1].number >= kMessages[i].number) return false;
    return true;
}

// WM_GETTEXT, WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NULL, ...
constexpr bool IsQuery(uint32_t message) {
    const MessageInfo* info = FindMessage(message);
    return info && info->asks;
}

constexpr Shape ShapeOf(uint32_t message) {
    const MessageInfo* info = FindMessage(message);
    return info ? info->shape : Shape::Plain;
}

// Messages a system registers by name, numbered afresh in each session.
constexpr uint32_t kFirstRegistered = 0xC000;

// The messages and codes a person's steps are recognised by (and a paint's
// own message known by), named as the system's headers name them. Numbers,
// not the table: a name looked up would bring the table's texts along.
namespace steps {
constexpr uint32_t kWmSize = 0x0005, kWmPaint = 0x000F, kWmWindowPosChanging = 0x0046,
                   kWmWindowPosChanged = 0x0047;
constexpr uint32_t kWmNcLButtonDown = 0x00A1, kWmNcLButtonDblClk = 0x00A3;
constexpr uint32_t kWmSysCommand = 0x0112, kWmLButtonDblClk = 0x0203, kWmSizing = 0x0214;
constexpr uint32_t kWmEnterSizeMove = 0x0231, kWmExitSizeMove = 0x0232;
constexpr uint32_t kScMinimize = 0xF020, kScMaximize = 0xF030, kScRestore = 0xF120;
constexpr int32_t kSwpNoSize = 0x0001, kSwpNoMove = 0x0002;
constexpr int kSizeMinimized = 1, kSizeMaximized = 2;
// Hit-test codes: where on a frame a press is.
constexpr int kHtCaption = 2, kHtMinButton = 8, kHtMaxButton = 9, kHtLeft = 10, kHtRight = 11;
constexpr int kHtTop = 12, kHtBottom = 15, kHtBottomRight = 17, kHtClose = 20;
}  // namespace steps

// The hook's layout of what it copies, for the shapes it copies more than
// a rectangle of.
namespace words {
// WINDOWPOS: x, y, cx, cy, flags, and where in the z-order (0 top, 1
// bottom, -1 topmost, -2 not topmost, 2 after a window).
enum Pos { kX, kY, kWidth, kHeight, kFlags, kAfter, kPosWords };
// NMHDR: idFrom, code, the sender (a watched window or -1), and for
// NM_CUSTOMDRAW its drawing stage.
enum Notify { kId, kCode, kFrom, kStage };
// NcPaint: the region's bounds, and its kind (1 empty, 2 one rectangle, 3
// more); 0 when it could not be read.
constexpr int kRegionKind = 4;
}  // namespace words

}  // namespace transcript
