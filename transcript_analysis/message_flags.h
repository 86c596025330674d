// The names of the flags and values that messages carry, as the system's
// headers have them, and how a number is named by them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace transcript {

struct Flag {
    uint32_t bits;
    const char* name;
};

// A table of flags or values, by name.
struct Names {
    const Flag* begin;
    size_t size;
    template <size_t N>
    constexpr Names(const Flag (&names)[N]) : begin(names), size(N) {}
};

// The flags set, by name, "|" between; bits without a name as a number.
std::string Flags(uint32_t value, Names names);
// One of several values by name, else the number.
std::string OneOf(int32_t value, Names names);

namespace flags {
inline constexpr Flag kSwp[] = {
    {0x0001, "SWP_NOSIZE"},        {0x0002, "SWP_NOMOVE"},         {0x0004, "SWP_NOZORDER"},
    {0x0008, "SWP_NOREDRAW"},      {0x0010, "SWP_NOACTIVATE"},     {0x0020, "SWP_FRAMECHANGED"},
    {0x0040, "SWP_SHOWWINDOW"},    {0x0080, "SWP_HIDEWINDOW"},     {0x0100, "SWP_NOCOPYBITS"},
    {0x0200, "SWP_NOOWNERZORDER"}, {0x0400, "SWP_NOSENDCHANGING"}, {0x0800, "SWP_NOCLIENTSIZE"},
    {0x1000, "SWP_NOCLIENTMOVE"},  {0x2000, "SWP_DEFERERASE"},     {0x4000, "SWP_ASYNCWINDOWPOS"},
    {0x8000, "SWP_STATECHANGED"}};
inline constexpr Flag kWvr[] = {{0x0010, "WVR_ALIGNTOP"},    {0x0020, "WVR_ALIGNLEFT"},
                                {0x0040, "WVR_ALIGNBOTTOM"}, {0x0080, "WVR_ALIGNRIGHT"},
                                {0x0100, "WVR_HREDRAW"},     {0x0200, "WVR_VREDRAW"},
                                {0x0400, "WVR_VALIDRECTS"}};
inline constexpr Flag kCdds[] = {{0x10000, "CDDS_ITEM"}, {0x20000, "CDDS_SUBITEM"}};
inline constexpr Flag kCddsStage[] = {
    {1, "CDDS_PREPAINT"}, {2, "CDDS_POSTPAINT"}, {3, "CDDS_PREERASE"}, {4, "CDDS_POSTERASE"}};
inline constexpr Flag kCdrf[] = {{0x02, "CDRF_NEWFONT"},          {0x04, "CDRF_SKIPDEFAULT"},
                                 {0x08, "CDRF_DOERASE"},          {0x10, "CDRF_NOTIFYPOSTPAINT"},
                                 {0x20, "CDRF_NOTIFYITEMDRAW"},   {0x40, "CDRF_NOTIFYPOSTERASE"},
                                 {0x400000, "CDRF_SKIPPOSTPAINT"}};
inline constexpr Flag kMk[] = {{0x01, "MK_LBUTTON"}, {0x02, "MK_RBUTTON"}, {0x04, "MK_SHIFT"},
                               {0x08, "MK_CONTROL"}, {0x10, "MK_MBUTTON"}, {0x20, "MK_XBUTTON1"},
                               {0x40, "MK_XBUTTON2"}};
inline constexpr Flag kSizeType[] = {{0, "SIZE_RESTORED"},
                                     {1, "SIZE_MINIMIZED"},
                                     {2, "SIZE_MAXIMIZED"},
                                     {3, "SIZE_MAXSHOW"},
                                     {4, "SIZE_MAXHIDE"}};
inline constexpr Flag kWmsz[] = {{1, "WMSZ_LEFT"},       {2, "WMSZ_RIGHT"},      {3, "WMSZ_TOP"},
                                 {4, "WMSZ_TOPLEFT"},    {5, "WMSZ_TOPRIGHT"},   {6, "WMSZ_BOTTOM"},
                                 {7, "WMSZ_BOTTOMLEFT"}, {8, "WMSZ_BOTTOMRIGHT"}};
inline constexpr Flag kHit[] = {{static_cast<uint32_t>(-2), "HTERROR"},
                                {static_cast<uint32_t>(-1), "HTTRANSPARENT"},
                                {0, "HTNOWHERE"},
                                {1, "HTCLIENT"},
                                {2, "HTCAPTION"},
                                {3, "HTSYSMENU"},
                                {4, "HTGROWBOX"},
                                {5, "HTMENU"},
                                {6, "HTHSCROLL"},
                                {7, "HTVSCROLL"},
                                {8, "HTMINBUTTON"},
                                {9, "HTMAXBUTTON"},
                                {10, "HTLEFT"},
                                {11, "HTRIGHT"},
                                {12, "HTTOP"},
                                {13, "HTTOPLEFT"},
                                {14, "HTTOPRIGHT"},
                                {15, "HTBOTTOM"},
                                {16, "HTBOTTOMLEFT"},
                                {17, "HTBOTTOMRIGHT"},
                                {18, "HTBORDER"},
                                {20, "HTCLOSE"},
                                {21, "HTHELP"}};
inline constexpr Flag kSc[] = {
    {0xF000, "SC_SIZE"},      {0xF010, "SC_MOVE"},         {0xF020, "SC_MINIMIZE"},
    {0xF030, "SC_MAXIMIZE"},  {0xF040, "SC_NEXTWINDOW"},   {0xF050, "SC_PREVWINDOW"},
    {0xF060, "SC_CLOSE"},     {0xF070, "SC_VSCROLL"},      {0xF080, "SC_HSCROLL"},
    {0xF090, "SC_MOUSEMENU"}, {0xF100, "SC_KEYMENU"},      {0xF120, "SC_RESTORE"},
    {0xF130, "SC_TASKLIST"},  {0xF140, "SC_SCREENSAVE"},   {0xF150, "SC_HOTKEY"},
    {0xF160, "SC_DEFAULT"},   {0xF170, "SC_MONITORPOWER"}, {0xF180, "SC_CONTEXTHELP"}};
inline constexpr Flag kShowStatus[] = {
    {1, "SW_PARENTCLOSING"}, {2, "SW_OTHERZOOM"}, {3, "SW_PARENTOPENING"}, {4, "SW_OTHERUNZOOM"}};
inline constexpr Flag kZOrder[] = {{0, "HWND_TOP"},
                                   {1, "HWND_BOTTOM"},
                                   {static_cast<uint32_t>(-1), "HWND_TOPMOST"},
                                   {static_cast<uint32_t>(-2), "HWND_NOTOPMOST"},
                                   {2, "a window"}};
inline constexpr Flag kStyleIndex[] = {{static_cast<uint32_t>(-16), "GWL_STYLE"},
                                       {static_cast<uint32_t>(-20), "GWL_EXSTYLE"}};
inline constexpr Flag kNotify[] = {{static_cast<uint32_t>(-2), "NM_CLICK"},
                                   {static_cast<uint32_t>(-3), "NM_DBLCLK"},
                                   {static_cast<uint32_t>(-4), "NM_RETURN"},
                                   {static_cast<uint32_t>(-5), "NM_RCLICK"},
                                   {static_cast<uint32_t>(-6), "NM_RDBLCLK"},
                                   {static_cast<uint32_t>(-7), "NM_SETFOCUS"},
                                   {static_cast<uint32_t>(-8), "NM_KILLFOCUS"},
                                   {static_cast<uint32_t>(-12), "NM_CUSTOMDRAW"},
                                   {static_cast<uint32_t>(-13), "NM_HOVER"},
                                   {static_cast<uint32_t>(-14), "NM_NCHITTEST"},
                                   {static_cast<uint32_t>(-15), "NM_KEYDOWN"},
                                   {static_cast<uint32_t>(-16), "NM_RELEASEDCAPTURE"},
                                   {static_cast<uint32_t>(-17), "NM_SETCURSOR"},
                                   {static_cast<uint32_t>(-18), "NM_CHAR"},
                                   {static_cast<uint32_t>(-19), "NM_TOOLTIPSCREATED"},
                                   {static_cast<uint32_t>(-20), "NM_LDOWN"},
                                   {static_cast<uint32_t>(-21), "NM_RDOWN"},
                                   {static_cast<uint32_t>(-22), "NM_THEMECHANGED"},
                                   {static_cast<uint32_t>(-100), "LVN_ITEMCHANGING"},
                                   {static_cast<uint32_t>(-101), "LVN_ITEMCHANGED"},
                                   {static_cast<uint32_t>(-102), "LVN_INSERTITEM"},
                                   {static_cast<uint32_t>(-103), "LVN_DELETEITEM"},
                                   {static_cast<uint32_t>(-104), "LVN_DELETEALLITEMS"},
                                   {static_cast<uint32_t>(-105), "LVN_BEGINLABELEDITA"},
                                   {static_cast<uint32_t>(-106), "LVN_ENDLABELEDITA"},
                                   {static_cast<uint32_t>(-108), "LVN_COLUMNCLICK"},
                                   {static_cast<uint32_t>(-109), "LVN_BEGINDRAG"},
                                   {static_cast<uint32_t>(-111), "LVN_BEGINRDRAG"},
                                   {static_cast<uint32_t>(-113), "LVN_ODCACHEHINT"},
                                   {static_cast<uint32_t>(-114), "LVN_ITEMACTIVATE"},
                                   {static_cast<uint32_t>(-115), "LVN_ODSTATECHANGED"},
                                   {static_cast<uint32_t>(-121), "LVN_HOTTRACK"},
                                   {static_cast<uint32_t>(-150), "LVN_GETDISPINFOA"},
                                   {static_cast<uint32_t>(-151), "LVN_SETDISPINFOA"},
                                   {static_cast<uint32_t>(-152), "LVN_ODFINDITEMA"},
                                   {static_cast<uint32_t>(-155), "LVN_KEYDOWN"},
                                   {static_cast<uint32_t>(-156), "LVN_MARQUEEBEGIN"},
                                   {static_cast<uint32_t>(-157), "LVN_GETINFOTIPA"},
                                   {static_cast<uint32_t>(-158), "LVN_GETINFOTIPW"},
                                   {static_cast<uint32_t>(-177), "LVN_GETDISPINFOW"},
                                   {static_cast<uint32_t>(-180), "LVN_BEGINSCROLL"},
                                   {static_cast<uint32_t>(-181), "LVN_ENDSCROLL"},
                                   {static_cast<uint32_t>(-300), "HDN_ITEMCHANGINGA"},
                                   {static_cast<uint32_t>(-301), "HDN_ITEMCHANGEDA"},
                                   {static_cast<uint32_t>(-302), "HDN_ITEMCLICKA"},
                                   {static_cast<uint32_t>(-303), "HDN_ITEMDBLCLICKA"},
                                   {static_cast<uint32_t>(-305), "HDN_DIVIDERDBLCLICKA"},
                                   {static_cast<uint32_t>(-306), "HDN_BEGINTRACKA"},
                                   {static_cast<uint32_t>(-307), "HDN_ENDTRACKA"},
                                   {static_cast<uint32_t>(-308), "HDN_TRACKA"},
                                   {static_cast<uint32_t>(-309), "HDN_GETDISPINFOA"},
                                   {static_cast<uint32_t>(-310), "HDN_BEGINDRAG"},
                                   {static_cast<uint32_t>(-311), "HDN_ENDDRAG"},
                                   {static_cast<uint32_t>(-320), "HDN_ITEMCHANGINGW"},
                                   {static_cast<uint32_t>(-321), "HDN_ITEMCHANGEDW"},
                                   {static_cast<uint32_t>(-322), "HDN_ITEMCLICKW"},
                                   {static_cast<uint32_t>(-323), "HDN_ITEMDBLCLICKW"},
                                   {static_cast<uint32_t>(-325), "HDN_DIVIDERDBLCLICKW"},
                                   {static_cast<uint32_t>(-326), "HDN_BEGINTRACKW"},
                                   {static_cast<uint32_t>(-327), "HDN_ENDTRACKW"},
                                   {static_cast<uint32_t>(-328), "HDN_TRACKW"},
                                   {static_cast<uint32_t>(-329), "HDN_GETDISPINFOW"},
                                   {static_cast<uint32_t>(-520), "TTN_GETDISPINFOA"},
                                   {static_cast<uint32_t>(-521), "TTN_SHOW"},
                                   {static_cast<uint32_t>(-522), "TTN_POP"},
                                   {static_cast<uint32_t>(-530), "TTN_GETDISPINFOW"}};

}  // namespace flags

}  // namespace transcript
