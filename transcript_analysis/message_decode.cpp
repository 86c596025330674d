// A message as the hook saw it (numbers), decoded for people: each shape
// of the catalogue a function of its own, the rest by its parameters' kinds.
#include <algorithm>
#include <iterator>

#include "message_flags.h"
#include "message_decode.h"
#include "text_fields.h"

namespace transcript {

namespace {

// The few numbers a decoding tests, named as the system's headers name them.
constexpr uint32_t kSwpNoZOrder = 0x0004;
constexpr uint32_t kWvrValidRects = 0x0400;
constexpr int32_t kNmCustomDraw = -12;
constexpr uint32_t kScSize = 0xF000;
constexpr uint32_t kWmMouseFirst = 0x0201, kWmMouseLast = 0x020E;  // a child's click

// A format's %d filled with the numbers in turn: one routine for every text
// of numbers here, rather than a chain of additions for each.
std::string Format(const char* format, std::initializer_list<int64_t> numbers) {
    std::string out;
    const int64_t* n = numbers.begin();
    for (const char* f = format; *f; ++f) {
        if (*f == '%' && f[1] == 'd') {
            out += std::to_string(n != numbers.end() ? *n++ : 0);
            ++f;
        } else {
            out += *f;
        }
    }
    return out;
}

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
    return transcript::RectText(Rect{w[0], w[1], w[2], w[3]});
}

// A parameter as the hook found it.
std::string AsFound(uint64_t value, transcript::Found found, int window) {
    if (!value) return "0";
    if (found == Found::Window) return WindowName(window);
    const char* name = FoundName(found);
    return name ? name : std::to_string(Word32(value));
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
            return OneOf(Word32(value), flags::kSizeType);
        case ParamKind::Hit:
            return OneOf(Word32(value), flags::kHit);
        case ParamKind::HitAndMessage: {
            const char* name = MessageName(static_cast<uint32_t>(High(value)) & 0xFFFF);
            return OneOf(Low(value), flags::kHit) + " " +
                   (name ? name : Hex(static_cast<uint32_t>(High(value)) & 0xFFFF));
        }
        case ParamKind::Keys:
            return value & 0xFFFF ? Flags(static_cast<uint32_t>(value) & 0xFFFF, flags::kMk) : "";
        case ParamKind::Text:
            return "\"" + Escaped(text) + "\"";
        case ParamKind::Dc:
            return value ? "a device context" : "0";
        case ParamKind::Bool:
            return value ? "TRUE" : "FALSE";
    }
    return "";
}

std::string WindowPos(const int32_t* w) {
    std::string out = Format("at %d,%d size %dx%d ", {w[0], w[1], w[2], w[3]}) +
                      Flags(static_cast<uint32_t>(w[4]), flags::kSwp);
    if (!(w[words::kFlags] & kSwpNoZOrder))
        out += " after " + OneOf(w[words::kAfter], flags::kZOrder);
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
    const std::string flags = Flags(static_cast<uint32_t>(stage) & ~0xFFFFu, flags::kCdds);
    return Join(flags == "0" ? "" : flags, OneOf(stage & 0xFFFF, flags::kCddsStage), "|");
}

// What a message's shape makes of it: its parameters, and its result where
// the structure's change is the answer.
struct Decoded {
    std::string params, result;
};
using Decoder = Decoded (*)(const RawMessage& m, const std::string& l);

Decoded Pos(const RawMessage& m, const std::string&) {
    return {WindowPos(m.before), ""};
}

Decoded PosChanging(const RawMessage& m, const std::string&) {
    return {WindowPos(m.before),
            Changed(m, words::kPosWords) ? "changed to " + WindowPos(m.after) : ""};
}

Decoded CalcSize(const RawMessage& m, const std::string&) {
    if (!m.wParam)
        return {"window " + RectText(m.before), m.returned ? "client " + RectText(m.after) : ""};
    Decoded d{"window " + RectText(m.before) + "; was " + RectText(m.before + 4) + "; client was " +
                  RectText(m.before + 8),
              ""};
    if (!m.returned) return d;
    const uint32_t wvr = static_cast<uint32_t>(m.result);
    d.result = "client " + RectText(m.after) + (wvr ? " " + Flags(wvr, flags::kWvr) : "");
    if (wvr & kWvrValidRects)
        d.result += " valid " + RectText(m.after + 4) + " from " + RectText(m.after + 8);
    return d;
}

Decoded MinMaxInfo(const RawMessage& m, const std::string&) {
    return {MinMax(m.before), Changed(m, 10) ? MinMax(m.after) : ""};
}

// Never the numbers alone: a spreadsheet would take them for one.
Decoded Sizing(const RawMessage& m, const std::string&) {
    return {Join(OneOf(Word32(m.wParam), flags::kWmsz), RectText(m.before)),
            Changed(m, 4) ? "changed to " + RectText(m.after) : ""};
}

Decoded Moving(const RawMessage& m, const std::string&) {
    return {Join("window", RectText(m.before)),
            Changed(m, 4) ? "changed to " + RectText(m.after) : ""};
}

Decoded NcPaint(const RawMessage& m, const std::string&) {
    const int32_t kind = m.before[words::kRegionKind];
    if (m.wParam == 1) return {"1, the whole frame", ""};
    if (kind == 1) return {"an empty region", ""};
    if (kind) return {"region " + RectText(m.before) + (kind > 2 ? " (its bounds)" : ""), ""};
    return {AsFound(m.wParam, m.wFound, m.wWindow), ""};
}

Decoded Erase(const RawMessage& m, const std::string&) {
    return {"", m.returned ? (m.result ? "erased" : "not erased") : ""};
}

Decoded Paint(const RawMessage& m, const std::string&) {
    if (m.window != kInListView1) return {"update " + RectText(m.before), ""};
    return {m.region.empty() ? "update empty" : "update " + RegionText(m.region), ""};
}

Decoded Notify(const RawMessage& m, const std::string&) {
    using namespace words;
    const int32_t code = m.before[kCode];
    Decoded d{OneOf(code, flags::kNotify) + " from " +
                  (m.before[kFrom] >= 0 ? WindowName(m.before[kFrom])
                                        : "id " + std::to_string(m.before[kId])),
              ""};
    if (code != kNmCustomDraw) return d;
    d.params += " " + Stage(m.before[kStage]);
    if (m.returned)
        d.result =
            m.result ? Flags(static_cast<uint32_t>(m.result), flags::kCdrf) : "CDRF_DODEFAULT";
    return d;
}

Decoded SysCommand(const RawMessage& m, const std::string& l) {
    const uint32_t command = static_cast<uint32_t>(m.wParam) & 0xFFF0;
    std::string params = OneOf(static_cast<int32_t>(command), flags::kSc);
    if (command == kScSize && (m.wParam & 0xF))
        params += "+" + OneOf(static_cast<int32_t>(m.wParam & 0xF), flags::kWmsz);
    if (m.lParam) params += " " + l;
    return {params, ""};
}

Decoded Style(const RawMessage& m, const std::string&) {
    return {OneOf(Word32(m.wParam), flags::kStyleIndex) + " " +
                Hex(static_cast<uint32_t>(m.before[0])) + " to " +
                Hex(static_cast<uint32_t>(m.before[1])),
            Changed(m, 2) ? "changed to " + Hex(static_cast<uint32_t>(m.after[1])) : ""};
}

Decoded Show(const RawMessage& m, const std::string&) {
    return {std::string(m.wParam ? "shown" : "hidden") +
                (m.lParam ? " " + OneOf(Word32(m.lParam), flags::kShowStatus) : ""),
            ""};
}

// A child's click (where), or its birth or end (which).
Decoded ParentNotify(const RawMessage& m, const std::string&) {
    const uint32_t event = static_cast<uint32_t>(m.wParam) & 0xFFFF;
    const char* name = MessageName(event);
    return {(name ? name : Hex(event)) + std::string(" ") +
                (event >= kWmMouseFirst && event <= kWmMouseLast
                     ? Param(ParamKind::Point, m.lParam, m.lFound, m.lWindow, m.text)
                     : AsFound(m.lParam, m.lFound, m.lWindow)),
            ""};
}

Decoded HitTest(const RawMessage& m, const std::string& l) {
    return {l, m.returned ? OneOf(static_cast<int32_t>(m.result), flags::kHit) : ""};
}

// Plain numbers are labelled, and left out when 0.
Decoded Plain(const RawMessage& m, const MessageInfo* info) {
    const auto part = [&](ParamKind kind, uint64_t value, Found found, int window,
                          const char* label) {
        const std::string text =
            info ? Param(kind, value, found, window, m.text) : AsFound(value, found, window);
        if (kind != ParamKind::Auto && kind != ParamKind::Number && kind != ParamKind::Hex &&
            kind != ParamKind::Dc)
            return text;
        return text == "0" || text == "0x0" ? std::string() : label + text;
    };
    const std::string w =
        part(info ? info->w : ParamKind::Auto, m.wParam, m.wFound, m.wWindow, "wParam ");
    const std::string l =
        part(info ? info->l : ParamKind::Auto, m.lParam, m.lFound, m.lWindow, "lParam ");
    const bool labelled = !w.compare(0, 7, "wParam ") || !l.compare(0, 7, "lParam ");
    return {Join(w, l, labelled ? ", " : " "), ""};
}

// By shape, in the order the catalogue declares the shapes; null where
// the parameters' kinds say it all.
const Decoder kDecoders[] = {
    nullptr,  // Plain
    PosChanging, Pos,        CalcSize, MinMaxInfo,   Sizing,  Moving, Style, Notify, NcPaint, Paint,
    nullptr,  // Text
    Erase,       SysCommand, Show,     ParentNotify, HitTest,
};
static_assert(std::size(kDecoders) == static_cast<size_t>(Shape::HitTest) + 1,
              "a decoder for every shape");

// A parameter as a number, where it is one the same on every run: not a
// handle or pointer the hook found, nor a kind that changes (a thread's id)
// or points to its text.
MessageRow::Number PlainNumber(uint64_t value, Found found, ParamKind kind) {
    if (found != Found::Number || kind == ParamKind::None || kind == ParamKind::Hidden ||
        kind == ParamKind::Text || kind == ParamKind::Dc)
        return std::nullopt;
    return Word32(value);
}

Rect Bounds(const std::vector<Rect>& region) {
    Rect b = region.front();
    for (const Rect& r : region)
        b = {std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right),
             std::max(b.bottom, r.bottom)};
    return b;
}

void SetRect(MessageRow& row, const Rect& r) {
    row.left = r.left, row.top = r.top, row.right = r.right, row.bottom = r.bottom;
}

// The numbers the words are made of, as the log keeps them beside them.
void SetNumbers(MessageRow& row, const RawMessage& m, const MessageInfo* info) {
    if (m.message < kFirstRegistered) row.number = m.message;
    row.wParam = PlainNumber(m.wParam, m.wFound, info ? info->w : ParamKind::Auto);
    row.lParam = PlainNumber(m.lParam, m.lFound, info ? info->l : ParamKind::Auto);
    if (m.sent && m.returned)
        row.lResult = PlainNumber(static_cast<uint64_t>(m.result), m.rFound,
                                  info ? info->result : ParamKind::Auto);
    const int32_t* w = m.before;
    switch (info ? info->shape : Shape::Plain) {
        case Shape::PosChanging:
        case Shape::Pos:
            using namespace words;
            row.x = w[kX], row.y = w[kY], row.cx = w[kWidth], row.cy = w[kHeight];
            row.flags = static_cast<uint32_t>(w[kFlags]);
            break;
        case Shape::CalcSize:
        case Shape::Sizing:
        case Shape::Moving:
            SetRect(row, Rect{w[0], w[1], w[2], w[3]});
            break;
        case Shape::NcPaint:
            if (m.wParam != 1 && w[words::kRegionKind] > 1)
                SetRect(row, Rect{w[0], w[1], w[2], w[3]});
            break;
        case Shape::Paint:
            if (m.window != kInListView1)
                SetRect(row, Rect{w[0], w[1], w[2], w[3]});
            else if (!m.region.empty())
                SetRect(row, Bounds(m.region));
            break;
        default:
            break;
    }
}

}  // namespace

const char* FoundName(Found found) {
    // In the order the hook's Found declares them.
    static const char* const kNames[] = {
        nullptr,   nullptr,    "an object", "memory",   "a device context",
        "a brush", "a region", "a font",    "a bitmap", "a pen"};
    static_assert(std::size(kNames) == static_cast<size_t>(Found::Pen) + 1, "a name each");
    const auto i = static_cast<size_t>(found);
    return i < std::size(kNames) ? kNames[i] : nullptr;
}

const char* WindowName(int window) {
    return window >= 0 && window < kWatched ? kWindowNames[window] : "a window";
}

MessageRow Decode(const RawMessage& m) {
    MessageRow row;
    row.step = m.step;
    row.paint = m.paint;
    row.window = WindowName(m.window);
    row.how = m.sent ? "sent" : "posted";
    row.depth = m.depth;
    const MessageInfo* info = FindMessage(m.message);
    // Registered messages are numbered afresh in every session: by name.
    const bool registered = m.message >= kFirstRegistered;
    row.message = info                            ? info->name
                  : registered && !m.text.empty() ? "registered \"" + m.text + "\""
                  : registered                    ? "a registered message"
                                                  : Hex(m.message);
    const Shape shape = info ? info->shape : Shape::Plain;
    const Decoder decode = kDecoders[static_cast<int>(shape)];
    const Decoded d =
        decode ? decode(m, info ? Param(info->l, m.lParam, m.lFound, m.lWindow, m.text) : "")
               : Plain(m, info);
    row.parameters = d.params;
    row.result = d.result;
    if (m.sent && !m.returned) row.result = "(had not returned)";
    if (m.sent && m.returned && row.result.empty() && ResultIsValue(shape))
        row.result = Param(info ? info->result : ParamKind::Auto, static_cast<uint64_t>(m.result),
                           m.rFound, m.rWindow, "");
    SetNumbers(row, m, info);
    return row;
}

std::string MessageLine(const MessageRow& row) {
    return Join(Join(row.window + " " + row.how + " " + row.message, row.parameters),
                row.result.empty() ? "" : "returns " + row.result, "; ");
}

}  // namespace transcript
