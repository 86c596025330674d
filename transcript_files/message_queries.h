// The messages that only ask or poll: a message log leaves them out unless
// it keeps all. Alone in a header, so that the hook filters with no names.
// A mouse leaving is kept: it changes what a window shows (a header's hot
// item), and is why it repaints.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace transcript {

// Sorted by number.
constexpr uint32_t kQueryMessages[] = {
    0x0000,  // WM_NULL
    0x000D,  // WM_GETTEXT
    0x000E,  // WM_GETTEXTLENGTH
    0x0013,  // WM_QUERYOPEN
    0x0020,  // WM_SETCURSOR
    0x0031,  // WM_GETFONT
    0x0037,  // WM_QUERYDRAGICON
    0x003D,  // WM_GETOBJECT
    0x007F,  // WM_GETICON
    0x0084,  // WM_NCHITTEST
    0x0087,  // WM_GETDLGCODE
    0x00A0,  // WM_NCMOUSEMOVE
    0x00B0,  // EM_GETSEL
    0x00B2,  // EM_GETRECT
    0x00B8,  // EM_GETMODIFY
    0x00BA,  // EM_GETLINECOUNT
    0x00BB,  // EM_LINEINDEX
    0x00BD,  // EM_GETHANDLE
    0x00BE,  // EM_GETTHUMB
    0x00C1,  // EM_LINELENGTH
    0x00C4,  // EM_GETLINE
    0x00C6,  // EM_CANUNDO
    0x00C9,  // EM_LINEFROMCHAR
    0x00CE,  // EM_GETFIRSTVISIBLELINE
    0x00D1,  // EM_GETWORDBREAKPROC
    0x00D2,  // EM_GETPASSWORDCHAR
    0x00D4,  // EM_GETMARGINS
    0x00D5,  // EM_GETLIMITTEXT
    0x00D6,  // EM_POSFROMCHAR
    0x00D7,  // EM_CHARFROMPOS
    0x0118,  // WM_SYSTIMER: a caret's blink, the mouse's hover, as time passes
    0x0121,  // WM_ENTERIDLE
    0x0129,  // WM_QUERYUISTATE
    0x0200,  // WM_MOUSEMOVE
    0x02A0,  // WM_NCMOUSEHOVER
    0x02A1,  // WM_MOUSEHOVER
    0x1000,  // LVM_GETBKCOLOR
    0x1002,  // LVM_GETIMAGELIST
    0x1004,  // LVM_GETITEMCOUNT
    0x1005,  // LVM_GETITEMA
    0x100C,  // LVM_GETNEXTITEM
    0x100E,  // LVM_GETITEMRECT
    0x1010,  // LVM_GETITEMPOSITION
    0x1012,  // LVM_HITTEST
    0x1019,  // LVM_GETCOLUMNA
    0x101D,  // LVM_GETCOLUMNWIDTH
    0x101F,  // LVM_GETHEADER
    0x1022,  // LVM_GETVIEWRECT
    0x1023,  // LVM_GETTEXTCOLOR
    0x1025,  // LVM_GETTEXTBKCOLOR
    0x1027,  // LVM_GETTOPINDEX
    0x1028,  // LVM_GETCOUNTPERPAGE
    0x1029,  // LVM_GETORIGIN
    0x102C,  // LVM_GETITEMSTATE
    0x1032,  // LVM_GETSELECTEDCOUNT
    0x1037,  // LVM_GETEXTENDEDLISTVIEWSTYLE
    0x1038,  // LVM_GETSUBITEMRECT
    0x1039,  // LVM_SUBITEMHITTEST
    0x103D,  // LVM_GETHOTITEM
    0x1042,  // LVM_GETSELECTIONMARK
    0x1048,  // LVM_GETHOVERTIME
    0x104E,  // LVM_GETTOOLTIPS
    0x105F,  // LVM_GETCOLUMNW
    0x108F,  // LVM_GETVIEW
    0x1200,  // HDM_GETITEMCOUNT
    0x1203,  // HDM_GETITEMA
    0x1206,  // HDM_HITTEST
    0x1207,  // HDM_GETITEMRECT
    0x1209,  // HDM_GETIMAGELIST
    0x120B,  // HDM_GETITEMW
    0x120F,  // HDM_ORDERTOINDEX
    0x1211,  // HDM_GETORDERARRAY
    0x2006,  // CCM_GETUNICODEFORMAT
    0x2008,  // CCM_GETVERSION
};

// WM_GETTEXT, WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NULL, ...
inline bool IsQuery(uint32_t message) {
    return std::binary_search(std::begin(kQueryMessages), std::end(kQueryMessages), message);
}

}  // namespace transcript
