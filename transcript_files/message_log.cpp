#include "message_log.h"

#include <algorithm>

#include "message_table.h"
#include "text_fields.h"

namespace transcript {

namespace {

struct Flag {
    uint32_t bits;
    const char* name;
};

// A format's %d and %x filled with the numbers in turn: one routine for
// every text of numbers here, rather than a chain of additions for each.
std::string Format(const char* format, std::initializer_list<int64_t> numbers) {
    std::string out;
    const int64_t* n = numbers.begin();
    for (const char* f = format; *f; ++f) {
        if (*f != '%' || !f[1]) {
            out += *f;
            continue;
        }
        const int64_t value = n != numbers.end() ? *n++ : 0;
        if (*++f == 'd') {
            out += std::to_string(value);
            continue;
        }
        char digits[8];
        int k = 0;
        for (uint32_t u = static_cast<uint32_t>(value); k == 0 || u; u /= 16)
            digits[k++] = "0123456789abcdef"[u % 16];
        while (k) out += digits[--k];
    }
    return out;
}

std::string Hex(uint32_t value) {
    return Format("0x%x", {value});
}

// A table of flags or values, by name.
struct Names {
    const Flag* begin;
    size_t size;
    template <size_t N>
    Names(const Flag (&names)[N]) : begin(names), size(N) {}
};

// The flags set, by name, "|" between; bits without a name as a number.
std::string Flags(uint32_t value, Names names) {
    std::string out;
    for (const Flag* f = names.begin; f != names.begin + names.size; ++f)
        if (f->bits && (value & f->bits) == f->bits) {
            out += (out.empty() ? "" : "|") + std::string(f->name);
            value &= ~f->bits;
        }
    if (value) out += (out.empty() ? "" : "|") + Hex(value);
    return out.empty() ? "0" : out;
}

// One of several values by name, else the number.
std::string OneOf(int32_t value, Names names) {
    for (const Flag* f = names.begin; f != names.begin + names.size; ++f)
        if (static_cast<int32_t>(f->bits) == value) return f->name;
    return std::to_string(value);
}

const Flag kSwp[] = {
    {0x0001, "SWP_NOSIZE"},        {0x0002, "SWP_NOMOVE"},         {0x0004, "SWP_NOZORDER"},
    {0x0008, "SWP_NOREDRAW"},      {0x0010, "SWP_NOACTIVATE"},     {0x0020, "SWP_FRAMECHANGED"},
    {0x0040, "SWP_SHOWWINDOW"},    {0x0080, "SWP_HIDEWINDOW"},     {0x0100, "SWP_NOCOPYBITS"},
    {0x0200, "SWP_NOOWNERZORDER"}, {0x0400, "SWP_NOSENDCHANGING"}, {0x0800, "SWP_NOCLIENTSIZE"},
    {0x1000, "SWP_NOCLIENTMOVE"},  {0x2000, "SWP_DEFERERASE"},     {0x4000, "SWP_ASYNCWINDOWPOS"},
    {0x8000, "SWP_STATECHANGED"}};
const Flag kWvr[] = {{0x0010, "WVR_ALIGNTOP"},    {0x0020, "WVR_ALIGNLEFT"},
                     {0x0040, "WVR_ALIGNBOTTOM"}, {0x0080, "WVR_ALIGNRIGHT"},
                     {0x0100, "WVR_HREDRAW"},     {0x0200, "WVR_VREDRAW"},
                     {0x0400, "WVR_VALIDRECTS"}};
const Flag kCdds[] = {{0x10000, "CDDS_ITEM"}, {0x20000, "CDDS_SUBITEM"}};
const Flag kCddsStage[] = {
    {1, "CDDS_PREPAINT"}, {2, "CDDS_POSTPAINT"}, {3, "CDDS_PREERASE"}, {4, "CDDS_POSTERASE"}};
const Flag kCdrf[] = {{0x02, "CDRF_NEWFONT"},          {0x04, "CDRF_SKIPDEFAULT"},
                      {0x08, "CDRF_DOERASE"},          {0x10, "CDRF_NOTIFYPOSTPAINT"},
                      {0x20, "CDRF_NOTIFYITEMDRAW"},   {0x40, "CDRF_NOTIFYPOSTERASE"},
                      {0x400000, "CDRF_SKIPPOSTPAINT"}};
const Flag kMk[] = {{0x01, "MK_LBUTTON"}, {0x02, "MK_RBUTTON"}, {0x04, "MK_SHIFT"},
                    {0x08, "MK_CONTROL"}, {0x10, "MK_MBUTTON"}, {0x20, "MK_XBUTTON1"},
                    {0x40, "MK_XBUTTON2"}};
const Flag kSizeType[] = {{0, "SIZE_RESTORED"},
                          {1, "SIZE_MINIMIZED"},
                          {2, "SIZE_MAXIMIZED"},
                          {3, "SIZE_MAXSHOW"},
                          {4, "SIZE_MAXHIDE"}};
const Flag kWmsz[] = {{1, "WMSZ_LEFT"},       {2, "WMSZ_RIGHT"},      {3, "WMSZ_TOP"},
                      {4, "WMSZ_TOPLEFT"},    {5, "WMSZ_TOPRIGHT"},   {6, "WMSZ_BOTTOM"},
                      {7, "WMSZ_BOTTOMLEFT"}, {8, "WMSZ_BOTTOMRIGHT"}};
const Flag kHit[] = {{static_cast<uint32_t>(-2), "HTERROR"},
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
const Flag kSc[] = {
    {0xF000, "SC_SIZE"},      {0xF010, "SC_MOVE"},         {0xF020, "SC_MINIMIZE"},
    {0xF030, "SC_MAXIMIZE"},  {0xF040, "SC_NEXTWINDOW"},   {0xF050, "SC_PREVWINDOW"},
    {0xF060, "SC_CLOSE"},     {0xF070, "SC_VSCROLL"},      {0xF080, "SC_HSCROLL"},
    {0xF090, "SC_MOUSEMENU"}, {0xF100, "SC_KEYMENU"},      {0xF120, "SC_RESTORE"},
    {0xF130, "SC_TASKLIST"},  {0xF140, "SC_SCREENSAVE"},   {0xF150, "SC_HOTKEY"},
    {0xF160, "SC_DEFAULT"},   {0xF170, "SC_MONITORPOWER"}, {0xF180, "SC_CONTEXTHELP"}};
const Flag kShowStatus[] = {
    {1, "SW_PARENTCLOSING"}, {2, "SW_OTHERZOOM"}, {3, "SW_PARENTOPENING"}, {4, "SW_OTHERUNZOOM"}};
const Flag kZOrder[] = {{0, "HWND_TOP"},
                        {1, "HWND_BOTTOM"},
                        {static_cast<uint32_t>(-1), "HWND_TOPMOST"},
                        {static_cast<uint32_t>(-2), "HWND_NOTOPMOST"},
                        {2, "a window"}};
const Flag kStyleIndex[] = {{static_cast<uint32_t>(-16), "GWL_STYLE"},
                            {static_cast<uint32_t>(-20), "GWL_EXSTYLE"}};
const Flag kNotify[] = {{static_cast<uint32_t>(-2), "NM_CLICK"},
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

const char* const kWindowNames[] = {"Form1", "ListView1", "ListView1 header",
                                    "Text1", "Label1",    "Label2"};

int32_t Low(uint64_t v) {
    return static_cast<int16_t>(v & 0xFFFF);
}
int32_t High(uint64_t v) {
    return static_cast<int16_t>((v >> 16) & 0xFFFF);
}
// Parameters are compared across 32- and 64-bit builds: their low 32 bits.
int32_t Word32(uint64_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

std::string RectText(const int32_t* w) {
    return Format("%d,%d,%d,%d", {w[0], w[1], w[2], w[3]});
}

// A parameter as the hook found it.
std::string AsFound(uint64_t value, transcript::Found found, int window) {
    if (!value) return "0";
    switch (found) {
        case Found::Window:
            return WindowName(window);
        case Found::Object:
            return "an object";
        case Found::Memory:
            return "memory";
        case Found::Number:
            break;
    }
    return std::to_string(Word32(value));
}

// A text as it stands in a log line: each message one line, so a line
// break is \r or \n, a tab \t, and a backslash or a quote is escaped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// One parameter as its message's table says it reads; empty if not written.
std::string Param(ParamKind kind, uint64_t value, transcript::Found found, int window,
                  const std::string& text) {
    switch (kind) {
        case ParamKind::Auto:
            return AsFound(value, found, window);
        case ParamKind::None:
        case ParamKind::Hidden:
            return "";
        case ParamKind::Number:
            return std::to_string(Word32(value));
        case ParamKind::Hex:
            return Hex(static_cast<uint32_t>(value));
        case ParamKind::Point:
            return Format("at %d,%d", {Low(value), High(value)});
        case ParamKind::Size:
            return Format("%dx%d", {static_cast<int64_t>(value & 0xFFFF),
                                    static_cast<int64_t>((value >> 16) & 0xFFFF)});
        case ParamKind::SizeType:
            return OneOf(Word32(value), kSizeType);
        case ParamKind::Hit:
            return OneOf(Word32(value), kHit);
        case ParamKind::HitAndMessage: {
            const char* name = MessageName(static_cast<uint32_t>(High(value)) & 0xFFFF);
            return OneOf(Low(value), kHit) + " " +
                   (name ? name : Hex(static_cast<uint32_t>(High(value)) & 0xFFFF));
        }
        case ParamKind::Keys:
            return value & 0xFFFF ? Flags(static_cast<uint32_t>(value) & 0xFFFF, kMk) : "";
        case ParamKind::Text:
            return "\"" + Escaped(text) + "\"";
    }
    return "";
}

std::string Join(const std::string& a, const std::string& b, const char* between = " ") {
    return a.empty() ? b : b.empty() ? a : a + between + b;
}

std::string WindowPos(const int32_t* w) {
    std::string out = Format("at %d,%d size %dx%d ", {w[0], w[1], w[2], w[3]}) +
                      Flags(static_cast<uint32_t>(w[4]), kSwp);
    if (!(w[4] & 0x0004)) out += " after " + OneOf(w[5], kZOrder);
    return out;
}

std::string MinMax(const int32_t* w) {
    return Format("max %dx%d at %d,%d, track %dx%d to %dx%d",
                  {w[2], w[3], w[4], w[5], w[6], w[7], w[8], w[9]});
}

bool Changed(const RawMessage& m, int words) {
    return m.returned && !std::equal(m.before, m.before + words, m.after);
}

std::string Stage(int32_t stage) {
    const std::string flags = Flags(static_cast<uint32_t>(stage) & ~0xFFFFu, kCdds);
    return Join(flags == "0" ? "" : flags, OneOf(stage & 0xFFFF, kCddsStage), "|");
}

}  // namespace

const char* WindowName(int window) {
    return window >= 0 && window < kWatched ? kWindowNames[window] : "a window";
}

bool MessageRow::operator==(const MessageRow& o) const {
    return step == o.step && action == o.action && paint == o.paint && window == o.window &&
           how == o.how && message == o.message && parameters == o.parameters && result == o.result;
}

MessageRow Decode(const RawMessage& m) {
    MessageRow row;
    row.step = m.step;
    row.paint = m.paint;
    row.window = WindowName(m.window);
    row.how = m.sent ? "sent" : "posted";
    const MessageInfo* info = FindMessage(m.message);
    // Registered messages are numbered afresh in every session: by name.
    row.message = info                                      ? info->name
                  : m.message >= 0xC000u && !m.text.empty() ? "registered \"" + m.text + "\""
                  : m.message >= 0xC000u                    ? "a registered message"
                                                            : Hex(m.message);
    std::string params, result;
    const std::string w = info ? Param(info->w, m.wParam, m.wFound, m.wWindow, m.text) : "";
    const std::string l = info ? Param(info->l, m.lParam, m.lFound, m.lWindow, m.text) : "";
    switch (m.message) {
        case 0x0046:  // WM_WINDOWPOSCHANGING
        case 0x0047:  // WM_WINDOWPOSCHANGED
            params = WindowPos(m.before);
            if (m.message == 0x0046 && Changed(m, words::kPosWords))
                result = "changed to " + WindowPos(m.after);
            break;
        case 0x0083:  // WM_NCCALCSIZE
            if (m.wParam) {
                params = "window " + RectText(m.before) + "; was " + RectText(m.before + 4) +
                         "; client was " + RectText(m.before + 8);
                if (m.returned) {
                    const uint32_t wvr = static_cast<uint32_t>(m.result);
                    result = "client " + RectText(m.after) +
                             (wvr ? " " + Flags(wvr, kWvr) : std::string());
                    if (wvr & 0x0400)
                        result +=
                            " valid " + RectText(m.after + 4) + " from " + RectText(m.after + 8);
                }
            } else {
                params = "window " + RectText(m.before);
                if (m.returned) result = "client " + RectText(m.after);
            }
            break;
        case 0x0024:  // WM_GETMINMAXINFO
            params = MinMax(m.before);
            if (Changed(m, 10)) result = MinMax(m.after);
            break;
        case 0x0214:  // WM_SIZING
        case 0x0216:  // WM_MOVING
            // Never the numbers alone: a spreadsheet would take them for one.
            params = Join(m.message == 0x0214 ? OneOf(Word32(m.wParam), kWmsz) : "window",
                          RectText(m.before));
            if (Changed(m, 4)) result = "changed to " + RectText(m.after);
            break;
        case 0x0085:  // WM_NCPAINT
            if (m.wParam == 1)
                params = "1, the whole frame";
            else if (m.before[words::kRegionKind] == 1)
                params = "an empty region";
            else if (m.before[words::kRegionKind])
                params = "region " + RectText(m.before) +
                         (m.before[words::kRegionKind] > 2 ? " (its bounds)" : "");
            else
                params = AsFound(m.wParam, m.wFound, m.wWindow);
            break;
        case 0x0014:  // WM_ERASEBKGND
            if (m.returned) result = m.result ? "erased" : "not erased";
            break;
        case 0x000F:  // WM_PAINT
            if (m.window == kInListView1)
                params = m.region.empty() ? "update empty" : "update " + RegionText(m.region);
            else
                params = "update " + RectText(m.before);
            break;
        case 0x004E:  // WM_NOTIFY
        {
            const int32_t code = m.before[words::kCode];
            params = OneOf(code, kNotify) + " from " +
                     (m.before[words::kFrom] >= 0 ? WindowName(m.before[words::kFrom])
                                                  : "id " + std::to_string(m.before[words::kId]));
            if (code == -12) params += " " + Stage(m.before[words::kStage]);
            if (code == -12 && m.returned)
                result =
                    m.result ? Flags(static_cast<uint32_t>(m.result), kCdrf) : "CDRF_DODEFAULT";
            break;
        }
        case 0x0112:  // WM_SYSCOMMAND
        {
            const uint32_t command = static_cast<uint32_t>(m.wParam) & 0xFFF0;
            params = OneOf(static_cast<int32_t>(command), kSc);
            if (command == 0xF000 && (m.wParam & 0xF))
                params += "+" + OneOf(static_cast<int32_t>(m.wParam & 0xF), kWmsz);
            if (m.lParam) params += " " + l;
            break;
        }
        case 0x007C:  // WM_STYLECHANGING
        case 0x007D:  // WM_STYLECHANGED
            params = OneOf(Word32(m.wParam), kStyleIndex) + " " +
                     Hex(static_cast<uint32_t>(m.before[0])) + " to " +
                     Hex(static_cast<uint32_t>(m.before[1]));
            if (Changed(m, 2)) result = "changed to " + Hex(static_cast<uint32_t>(m.after[1]));
            break;
        case 0x0018:  // WM_SHOWWINDOW
            params = std::string(m.wParam ? "shown" : "hidden") +
                     (m.lParam ? " " + OneOf(Word32(m.lParam), kShowStatus) : "");
            break;
        case 0x0210:  // WM_PARENTNOTIFY: a child's click (where), or its birth or end (which)
        {
            const uint32_t event = static_cast<uint32_t>(m.wParam) & 0xFFFF;
            const char* name = MessageName(event);
            params = (name ? name : Hex(event)) + std::string(" ") +
                     (event >= 0x0201 && event <= 0x020E
                          ? Param(ParamKind::Point, m.lParam, m.lFound, m.lWindow, m.text)
                          : AsFound(m.lParam, m.lFound, m.lWindow));
            break;
        }
        case 0x0084:  // WM_NCHITTEST
            params = l;
            if (m.returned) result = OneOf(static_cast<int32_t>(m.result), kHit);
            break;
        default: {
            // Plain numbers are labelled, and left out when 0.
            const auto part = [](ParamKind kind, const std::string& text, const char* label) {
                if (kind != ParamKind::Auto && kind != ParamKind::Number && kind != ParamKind::Hex)
                    return text;
                return text == "0" || text == "0x0" ? std::string() : label + text;
            };
            const std::string wPart =
                part(info ? info->w : ParamKind::Auto,
                     info ? w : AsFound(m.wParam, m.wFound, m.wWindow), "wParam ");
            const std::string lPart =
                part(info ? info->l : ParamKind::Auto,
                     info ? l : AsFound(m.lParam, m.lFound, m.lWindow), "lParam ");
            const bool labelled =
                !wPart.compare(0, 7, "wParam ") || !lPart.compare(0, 7, "lParam ");
            params = Join(wPart, lPart, labelled ? ", " : " ");
            break;
        }
    }
    if (m.sent && !m.returned) result = "(had not returned)";
    if (m.sent && m.returned && result.empty() && m.message != 0x0046 && m.message != 0x0047 &&
        m.message != 0x0024 && m.message != 0x0214 && m.message != 0x0216 && m.message != 0x007C &&
        m.message != 0x007D)
        result = AsFound(static_cast<uint64_t>(m.result), m.rFound, m.rWindow);
    row.parameters = params;
    row.result = result;
    return row;
}

std::string MessagesPath(const std::string& transcriptPath) {
    const size_t slash = transcriptPath.find_last_of("\\/");
    const size_t dot = transcriptPath.rfind('.');
    const bool ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (ext ? transcriptPath.substr(0, dot) : transcriptPath) + ".messages.csv";
}

std::string MessageLine(const MessageRow& row) {
    return Join(Join(row.window + " " + row.how + " " + row.message, row.parameters),
                row.result.empty() ? "" : "returns " + row.result, "; ");
}

// --- the file ---

namespace {

const char* const kMessageColumns[] = {"step", "action",  "paint",      "window",
                                       "how",  "message", "parameters", "result"};
constexpr size_t kMessageFields = sizeof kMessageColumns / sizeof kMessageColumns[0];

bool Header(const std::string& text, size_t from, char& separator) {
    for (char candidate : {',', ';', '\t'}) {
        std::vector<CsvRecord> header;
        std::string ignored;
        if (!ReadCsvRecords(text, from, candidate, header, ignored, 1) || header.empty()) continue;
        std::vector<std::string>& f = header[0].fields;
        while (!f.empty() && f.back().empty()) f.pop_back();
        if (f.size() == kMessageFields && std::equal(f.begin(), f.end(), kMessageColumns)) {
            separator = candidate;
            return true;
        }
    }
    return false;
}

}  // namespace

std::string MessagesToCsv(const std::vector<MessageRow>& rows, const std::string& cutShort,
                          const std::string& full) {
    std::string out;
    for (size_t i = 0; i < kMessageFields; ++i)
        out += (i ? "," : "") + std::string(kMessageColumns[i]);
    out += '\n';
    for (const MessageRow& r : rows)
        out += std::to_string(r.step) + ',' + CsvField(r.action) + ',' + std::to_string(r.paint) +
               ',' + CsvField(r.window) + ',' + r.how + ',' + CsvField(r.message) + ',' +
               CsvField(r.parameters) + ',' + CsvField(r.result) + '\n';
    if (!full.empty()) out += CsvField("# full: " + full) + '\n';
    if (!cutShort.empty()) out += CsvField("# cut short: " + cutShort) + '\n';
    return out;
}

// A log written before texts were escaped holds their line breaks as they
// were, CR LF, which reading made one: escaped as a log writes them now.
static std::string OnOneLine(const std::string& parameters) {
    std::string out;
    for (char c : parameters) {
        if (c == '\r' || c == '\n' || c == '\t')
            out += c == '\r' ? "\\r" : c == '\n' ? "\\r\\n" : "\\t";
        else
            out += c;
    }
    return out;
}

bool ParseMessagesCsv(const std::string& text, std::vector<MessageRow>& rows, std::string& error,
                      std::string* cutShort, std::string* full) {
    rows.clear();
    if (cutShort) cutShort->clear();
    if (full) full->clear();
    const size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    char separator = ',';
    if (!Header(text, start, separator)) {
        std::string expected;
        for (const char* name : kMessageColumns)
            expected += (expected.empty() ? "" : ",") + std::string(name);
        error = "line 1: not a message log header (expected " + expected + ")";
        return false;
    }
    std::vector<CsvRecord> records;
    if (!ReadCsvRecords(text, start, separator, records, error)) return false;
    for (size_t k = 1; k < records.size(); ++k) {
        std::vector<std::string>& f = records[k].fields;
        const std::string at = "line " + std::to_string(records[k].line) + ": ";
        CsvKind kind;
        if (!SortRecord(records[k], kMessageFields, kind, error)) return false;
        if (kind == CsvKind::Blank) continue;
        if (kind == CsvKind::Comment) {
            const std::string& comment = f[0];
            if (cutShort && !comment.compare(0, 13, "# cut short: "))
                *cutShort = comment.substr(13);
            if (full && !comment.compare(0, 8, "# full: ")) *full = comment.substr(8);
            continue;
        }
        MessageRow r;
        if (!ParseInt(f[0], r.step) || !ParseInt(f[2], r.paint)) {
            error = at + "expected whole numbers for step and paint";
            return false;
        }
        if (f[3].empty() || f[5].empty() || (f[4] != "sent" && f[4] != "posted")) {
            error = at + "expected a window, \"sent\" or \"posted\", and a message";
            return false;
        }
        r.action = f[1];
        r.window = f[3];
        r.how = f[4];
        r.message = f[5];
        r.parameters = OnOneLine(f[6]);
        r.result = f[7];
        rows.push_back(std::move(r));
    }
    return true;
}

// --- two logs compared ---

namespace {

// "window how message": what a message is, whatever its parameters.
std::string Key(const MessageRow& r) {
    return r.window + " " + r.how + " " + r.message;
}
std::string Full(const MessageRow& r) {
    return Key(r) + "\x1F" + r.parameters + "\x1F" + r.result;
}

// "w 1; x 2; y 3" against "w 1; x 4; y 3": "x 2 / x 4", each value whole,
// only those that differ.
std::string FieldsApart(const std::string& a, const std::string& b) {
    const std::vector<std::string> fa = Split(a, ';'), fb = Split(b, ';');
    std::string out;
    for (size_t i = 0; i < fa.size() || i < fb.size(); ++i) {
        auto field = [](const std::vector<std::string>& f, size_t i) {
            const std::string text = i < f.size() ? f[i] : "";
            const size_t start = text.find_first_not_of(' ');
            return start == std::string::npos ? std::string("(none)") : text.substr(start);
        };
        const std::string one = field(fa, i), other = field(fb, i);
        if (one != other) out = Join(out, one + " / " + other, "; ");
    }
    return out;
}

// How two messages of one kind differ.
std::string Apart(const MessageRow& a, const MessageRow& b) {
    std::string out;
    if (a.parameters != b.parameters) out = FieldsApart(a.parameters, b.parameters);
    if (a.result != b.result) out = Join(out, "returned " + FieldsApart(a.result, b.result), "; ");
    return a.window + " " + a.message + ": " + out;
}

// Which of a and b are matched, as the longest common subsequence has them;
// past a size, only a common start and end.
constexpr size_t kLargestTable = 4u << 20;
void Match(const std::vector<std::string>& a, const std::vector<std::string>& b,
           std::vector<bool>& inA, std::vector<bool>& inB) {
    inA = std::vector<bool>(a.size());
    inB = std::vector<bool>(b.size());
    size_t head = 0, tail = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        inA[head] = inB[head] = true, ++head;
    while (tail + head < a.size() && tail + head < b.size() &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        inA[a.size() - 1 - tail] = inB[b.size() - 1 - tail] = true, ++tail;
    const size_t n = a.size() - head - tail, m = b.size() - head - tail;
    if (!n || !m || (n + 1) * (m + 1) > kLargestTable) return;
    std::vector<uint32_t> table((n + 1) * (m + 1), 0);
    auto at = [&](size_t i, size_t j) -> uint32_t& { return table[i * (m + 1) + j]; };
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            at(i, j) = a[head + i] == b[head + j] ? at(i + 1, j + 1) + 1
                                                  : std::max(at(i + 1, j), at(i, j + 1));
    for (size_t i = 0, j = 0; i < n && j < m;) {
        if (a[head + i] == b[head + j]) {
            inA[head + i] = inB[head + j] = true;
            ++i, ++j;
        } else if (at(i + 1, j) >= at(i, j + 1))
            ++i;
        else
            ++j;
    }
}

}  // namespace

MessageComparison CompareMessages(const std::vector<MessageRow>& a,
                                  const std::vector<MessageRow>& b) {
    MessageComparison c;
    c.markedA = std::vector<bool>(a.size());
    c.markedB = std::vector<bool>(b.size());
    // Each step's rows on both sides, in step order.
    struct Rows {
        int step;
        std::string action;
        std::vector<size_t> a, b;
    };
    std::vector<Rows> steps;
    const auto rowsOf = [&](const MessageRow& row) -> Rows& {
        auto at = std::lower_bound(steps.begin(), steps.end(), row.step,
                                   [](const Rows& r, int step) { return r.step < step; });
        if (at == steps.end() || at->step != row.step)
            at = steps.insert(at, Rows{row.step, row.action, {}, {}});
        return *at;
    };
    for (size_t i = 0; i < a.size(); ++i) rowsOf(a[i]).a.push_back(i);
    for (size_t i = 0; i < b.size(); ++i) rowsOf(b[i]).b.push_back(i);
    c.steps = static_cast<int>(steps.size());
    for (const Rows& rows : steps) {
        const int step = rows.step;
        const std::vector<size_t>&ia = rows.a, &ib = rows.b;
        std::vector<std::string> fa, fb;
        for (size_t i : ia) fa.push_back(Full(a[i]));
        for (size_t i : ib) fb.push_back(Full(b[i]));
        if (fa == fb) continue;
        StepMessages s;
        s.step = step;
        s.action = rows.action;
        size_t k = 0;
        while (k < fa.size() && k < fb.size() && fa[k] == fb[k]) ++k;
        if (k < fa.size() && k < fb.size() && Key(a[ia[k]]) == Key(b[ib[k]]))
            s.first = Apart(a[ia[k]], b[ib[k]]);
        else
            s.first = "A: " + (k < fa.size() ? MessageLine(a[ia[k]]) : "nothing more") +
                      " / B: " + (k < fb.size() ? MessageLine(b[ib[k]]) : "nothing more");
        std::vector<bool> inA, inB;
        Match(fa, fb, inA, inB);
        // Unmatched messages of one kind on both sides, in order, are one
        // message whose parameters differ.
        size_t from = 0;
        std::vector<bool> paired(ib.size(), false);
        for (size_t i = 0; i < ia.size(); ++i) {
            if (inA[i]) continue;
            c.markedA[ia[i]] = true;
            size_t j = from;
            while (j < ib.size() && (inB[j] || paired[j] || Key(b[ib[j]]) != Key(a[ia[i]]))) ++j;
            if (j < ib.size()) {
                paired[j] = true;
                from = j + 1;
                s.differ.push_back(Apart(a[ia[i]], b[ib[j]]));
                s.pairs.emplace_back(ia[i], ib[j]);
            } else {
                s.onlyA.push_back(MessageLine(a[ia[i]]));
                s.aloneA.push_back(ia[i]);
            }
        }
        for (size_t j = 0; j < ib.size(); ++j) {
            if (inB[j]) continue;
            c.markedB[ib[j]] = true;
            if (!paired[j]) {
                s.onlyB.push_back(MessageLine(b[ib[j]]));
                s.aloneB.push_back(ib[j]);
            }
        }
        c.differing.push_back(std::move(s));
    }
    return c;
}

std::string MessageComparison::Summary() const {
    return "messages: " + std::to_string(steps - static_cast<int>(differing.size())) + " of " +
           std::to_string(steps) + (steps == 1 ? " step" : " steps") + " alike";
}

std::vector<std::string> MessageComparison::Listing() const {
    constexpr size_t kShown = 10;  // of each kind, a step
    std::vector<std::string> out;
    for (const StepMessages& s : differing) {
        out.push_back("step " + std::to_string(s.step) + " " + s.action + ": " + s.first);
        for (const auto& [label, lines] :
             {std::pair<const char*, const std::vector<std::string>*>{"only in A", &s.onlyA},
              {"only in B", &s.onlyB},
              {"differs", &s.differ}}) {
            for (size_t i = 0; i < lines->size() && i < kShown; ++i)
                out.push_back(std::string("  ") + label + ": " + (*lines)[i]);
            if (lines->size() > kShown)
                out.push_back("  " + std::string(label) + ": and " +
                              std::to_string(lines->size() - kShown) + " more");
        }
    }
    return out;
}

const StepMessages* MessageComparison::Step(int step) const {
    const auto at =
        std::lower_bound(differing.begin(), differing.end(), step,
                         [](const StepMessages& s, int number) { return s.step < number; });
    return at != differing.end() && at->step == step ? &*at : nullptr;
}

}  // namespace transcript
