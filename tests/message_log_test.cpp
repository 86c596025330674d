#include <algorithm>
#include <gmock/gmock.h>

#include <iterator>

#include "message_log.h"
#include "message_decode.h"
#include "message_compare.h"

using namespace transcript;
using testing::ElementsAre;

namespace {

// A message as the hook records it, built by name: M("WM_SIZE").W(2)...
struct M {
    RawMessage m;
    explicit M(const char* name, int window = kInForm1) {
        for (const MessageInfo& info : kMessages)  // an unknown name decodes as WM_NULL
            if (std::string(info.name) == name) m.message = info.number;
        m.window = window;
        m.sent = m.returned = true;
    }
    explicit M(uint32_t number, int window) {
        m.message = number;
        m.window = window;
        m.sent = m.returned = true;
    }
    M& W(uint64_t v, Found f = Found::Number) { return m.wParam = v, m.wFound = f, *this; }
    M& L(uint64_t v, Found f = Found::Number) { return m.lParam = v, m.lFound = f, *this; }
    M& Returns(int64_t v, Found f = Found::Number) { return m.result = v, m.rFound = f, *this; }
    M& Before(std::initializer_list<int32_t> w) {
        return std::copy(w.begin(), w.end(), m.before), *this;
    }
    M& After(std::initializer_list<int32_t> w) {
        return std::copy(w.begin(), w.end(), m.after), *this;
    }
    M& Posted() { return m.sent = m.returned = false, *this; }
    M& Unreturned() { return m.returned = false, *this; }
    M& Text(const char* text) { return m.text = text, *this; }
    M& Region(std::vector<Rect> r) { return m.region = r, *this; }
};

// Each shape of message, and the line it is decoded as: what decides a
// repaint named, and no handle or pointer written as a number.
constexpr int kWpFlags = 0x8000 | 0x0020 | 0x0004 | 0x0001 | 0x40000;
const struct {
    M message;
    const char* line;
} kDecoded[] = {
    {M("WM_WINDOWPOSCHANGED").Before({-4, -4, 1288, 1032, kWpFlags, 0}),
     "Form1 sent WM_WINDOWPOSCHANGED at -4,-4 size 1288x1032 "
     "SWP_NOSIZE|SWP_NOZORDER|SWP_FRAMECHANGED|SWP_STATECHANGED|0x40000"},
    {M("WM_WINDOWPOSCHANGING", kInText1)  // changed on its way: said so
         .Before({10, 20, 30, 40, 0x0002, 0})
         .After({10, 20, 35, 40, 0x0002, 0}),
     "Text1 sent WM_WINDOWPOSCHANGING at 10,20 size 30x40 SWP_NOMOVE after HWND_TOP; "
     "returns changed to at 10,20 size 35x40 SWP_NOMOVE after HWND_TOP"},
    {M("WM_NCCALCSIZE")
         .W(1)
         .Before({0, 0, 640, 480, 0, 0, 600, 400, 4, 30, 596, 396})
         .After({4, 30, 636, 476, 1, 2, 3, 4, 5, 6, 7, 8}),
     "Form1 sent WM_NCCALCSIZE window 0,0,640,480; was 0,0,600,400; client was "
     "4,30,596,396; returns client 4,30,636,476"},
    {M("WM_NCCALCSIZE")
         .W(1)
         .After({4, 30, 636, 476, 1, 2, 3, 4, 5, 6, 7, 8})
         .Returns(0x0400 | 0x0300),
     "Form1 sent WM_NCCALCSIZE window 0,0,0,0; was 0,0,0,0; client was 0,0,0,0; returns "
     "client 4,30,636,476 WVR_HREDRAW|WVR_VREDRAW|WVR_VALIDRECTS valid 1,2,3,4 from 5,6,7,8"},
    {M("WM_NCCALCSIZE").Before({0, 0, 640, 480}).After({4, 30, 636, 476}),
     "Form1 sent WM_NCCALCSIZE window 0,0,640,480; returns client 4,30,636,476"},
    {M("WM_NOTIFY")
         .L(0x12345678, Found::Memory)
         .Before({1, -12, kInListView1, 0x10001})
         .Returns(0x20),
     "Form1 sent WM_NOTIFY NM_CUSTOMDRAW from ListView1 CDDS_ITEM|CDDS_PREPAINT; returns "
     "CDRF_NOTIFYITEMDRAW"},
    {M("WM_GETMINMAXINFO")
         .Before({0, 0, 1, 2, 3, 4, 5, 6, 7, 8})
         .After({0, 0, 1, 2, 3, 4, 5, 6, 7, 8}),
     "Form1 sent WM_GETMINMAXINFO max 1x2 at 3,4, track 5x6 to 7x8"},
    {M("WM_SIZING").W(6).Before({1, 2, 3, 4}).After({1, 2, 3, 9}),
     "Form1 sent WM_SIZING WMSZ_BOTTOM 1,2,3,4; returns changed to 1,2,3,9"},
    {M("WM_MOVING").Before({1, 2, 3, 4}).After({1, 2, 3, 4}),
     "Form1 sent WM_MOVING window 1,2,3,4"},
    {M("WM_STYLECHANGED").W(static_cast<uint64_t>(-16)).Before({0x10, 0x30}).After({0x10, 0x30}),
     "Form1 sent WM_STYLECHANGED GWL_STYLE 0x10 to 0x30"},
    {M("WM_NCPAINT").W(1), "Form1 sent WM_NCPAINT 1, the whole frame; returns 0"},
    {M("WM_NCPAINT").W(0x1234, Found::Object).Before({0, 0, 8, 30, 3}),
     "Form1 sent WM_NCPAINT region 0,0,8,30 (its bounds); returns 0"},
    {M("WM_SHOWWINDOW").W(1).L(3), "Form1 sent WM_SHOWWINDOW shown SW_PARENTOPENING; returns 0"},
    {M("WM_NCHITTEST").L((20 << 16) | 10).Returns(17),
     "Form1 sent WM_NCHITTEST at 10,20; returns HTBOTTOMRIGHT"},
    // Unknown: by number, its parameters as the hook found them.
    {M(0x0499, kInLabel2).W(7).L(0xDEAD0000, Found::Memory).Returns(0x00C0FFEE, Found::Object),
     "Label2 sent 0x499 wParam 7, lParam memory; returns an object"},
    // The system's drawing objects by their kind.
    {M("WM_CTLCOLORSTATIC").W(0x01010055, Found::DeviceContext).Returns(0x1900a0, Found::Brush),
     "Form1 sent WM_CTLCOLORSTATIC wParam a device context; returns a brush"},
    // A device context whose number is a window's too is still one.
    {M("WM_CTLCOLOREDIT").W(0x00010055, Found::Window).L(0x20066, Found::Window),
     "Form1 sent WM_CTLCOLOREDIT wParam a device context, lParam a window; returns 0"},
    {M(0x0499, kInLabel2).W(0x04040001, Found::Region).L(0x0a0a0002, Found::Font),
     "Label2 sent 0x499 wParam a region, lParam a font; returns 0"},
    {M(0x0499, kInLabel2).W(0x05050001, Found::Bitmap).L(0x0b0b0002, Found::Pen),
     "Label2 sent 0x499 wParam a bitmap, lParam a pen; returns 0"},
    // Registered: numbered afresh each session, so by name.
    {M(0xC123, kInLabel2).W(7).L(0xDEAD0000, Found::Memory).Text("MSWHEEL_ROLLMSG").Posted(),
     "Label2 posted registered \"MSWHEEL_ROLLMSG\" wParam 7, lParam memory"},
    {M("WM_SIZE", kInListView1).W(2).L((998 << 16) | 1280),
     "ListView1 sent WM_SIZE SIZE_MAXIMIZED 1280x998; returns 0"},
    {M("WM_SETTEXT", kInText1).L(0x1000000, Found::Memory).Text("a\r\n\"b\""),
     "Text1 sent WM_SETTEXT \"a\\r\\n\\\"b\\\"\"; returns 0"},
    // The list view's paint: its whole region.
    {M("WM_PAINT", kInListView1).Posted().Region({{0, 0, 10, 10}, {0, 10, 20, 20}}),
     "ListView1 posted WM_PAINT update 0,0,10,10 0,10,20,20"},
    {M("WM_PAINT").Posted().Before({1, 2, 3, 4}), "Form1 posted WM_PAINT update 1,2,3,4"},
    // Its DC is not written.
    {M("WM_ERASEBKGND").W(0x01010055, Found::Object).Returns(1),
     "Form1 sent WM_ERASEBKGND; returns erased"},
    // A yes or no: a difference in it is a cause of its own, not a number.
    {M("WM_NCCREATE").L(0x12345678, Found::Memory).Returns(1),
     "Form1 sent WM_NCCREATE lParam memory; returns TRUE"},
    {M("WM_NCCREATE").Returns(0), "Form1 sent WM_NCCREATE; returns FALSE"},
    {M("WM_SYSCOMMAND").W(0xF032).Unreturned(),
     "Form1 sent WM_SYSCOMMAND SC_MAXIMIZE; returns (had not returned)"},
    {M("WM_SYSCOMMAND").W(0xF006), "Form1 sent WM_SYSCOMMAND SC_SIZE+WMSZ_BOTTOM; returns 0"},
    // A child's click says where, whatever the number happens to be.
    {M("WM_PARENTNOTIFY").W(0x0201).L((427 << 16) | 414, Found::Memory),
     "Form1 sent WM_PARENTNOTIFY WM_LBUTTONDOWN at 414,427; returns 0"},
};

TEST(MessageDecoding, EachShapeReadsAsPeopleNameIt) {
    for (const auto& c : kDecoded) EXPECT_EQ(MessageLine(Decode(c.message.m)), c.line);
}

// The catalogue is sorted (a search relies on it), each shape is decoded by
// a message of it, and those that only ask are the ones a log leaves out.
// The numbers a row keeps beside its words, by column: "lparam 35651904 ...".
std::string NumbersOf(const MessageRow& r) {
    const std::pair<const char*, const MessageRow::Number*> kept[] = {
        {"number", &r.number},   {"wparam", &r.wParam}, {"lparam", &r.lParam},
        {"lresult", &r.lResult}, {"x", &r.x},           {"y", &r.y},
        {"cx", &r.cx},           {"cy", &r.cy},         {"flags", &r.flags},
        {"left", &r.left},       {"top", &r.top},       {"right", &r.right},
        {"bottom", &r.bottom}};
    std::string out;
    for (const auto& [name, value] : kept)
        if (*value)
            out += (out.empty() ? "" : " ") + std::string(name) + " " + std::to_string(**value);
    return out;
}

// The numbers the words are made of, kept as numbers: plain parameters and
// results, never a handle or pointer; a window position; the first rectangle.
TEST(MessageDecoding, KeepsTheNumbersBesideTheWords) {
    const struct {
        M message;
        const char* numbers;
    } kCases[] = {
        {M("WM_SIZE").L(539 << 16 | 636).Returns(0), "number 5 wparam 0 lparam 35324540 lresult 0"},
        {M("WM_WINDOWPOSCHANGING").L(0x1234, Found::Memory).Before({10, 20, 30, 40, 2, 0}),
         "number 70 wparam 0 lresult 0 x 10 y 20 cx 30 cy 40 flags 2"},
        {M("WM_NCCALCSIZE").W(1).L(0x1234, Found::Memory).Before({0, 0, 640, 480}).Returns(0x400),
         "number 131 wparam 1 lresult 1024 left 0 top 0 right 640 bottom 480"},
        {M("WM_SIZING").W(6).L(0x1234, Found::Memory).Before({1, 2, 3, 4}).Returns(1),
         "number 532 wparam 6 lresult 1 left 1 top 2 right 3 bottom 4"},
        // A device context, a thread's id and a registered message: no number.
        {M("WM_ERASEBKGND").W(0x5a010203, Found::DeviceContext).Returns(1),
         "number 20 lparam 0 lresult 1"},
        {M(0xC123, kInForm1).Posted(), "wparam 0 lparam 0"},
        {M("WM_PAINT", kInListView1).Region({{0, 0, 10, 5}, {0, 5, 270, 8}}).Returns(0),
         "number 15 wparam 0 lparam 0 lresult 0 left 0 top 0 right 270 bottom 8"},
        {M("WM_NCPAINT").W(1).Returns(0), "number 133 wparam 1 lparam 0 lresult 0"},
        {M("WM_SETTEXT", kInText1).L(0x1234, Found::Memory).Text("x").Unreturned(),
         "number 12 wparam 0"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(NumbersOf(Decode(c.message.m)), c.numbers) << MessageLine(Decode(c.message.m));
}

TEST(MessageCatalogue, SortedEachShapeUsedAndQueriesMarked) {
    static_assert(MessagesSorted(), "the catalogue is sorted by number, each number once");
    for (int shape = 0; shape <= static_cast<int>(Shape::HitTest); ++shape)
        EXPECT_TRUE(
            std::any_of(std::begin(kMessages), std::end(kMessages),
                        [&](const MessageInfo& m) { return static_cast<int>(m.shape) == shape; }))
            << "shape " << shape;
    for (const MessageInfo& m : kMessages)
        EXPECT_FALSE(m.asks && ReadsAfter(m.shape)) << m.name << ": it asks, yet changes";
    EXPECT_TRUE(IsQuery(0x000D));   // WM_GETTEXT
    EXPECT_TRUE(IsQuery(0x0084));   // WM_NCHITTEST
    EXPECT_FALSE(IsQuery(0x0024));  // WM_GETMINMAXINFO decides a size
    EXPECT_FALSE(IsQuery(0x02A3));  // WM_MOUSELEAVE: a hot item repaints
    EXPECT_FALSE(IsQuery(0x0499));
}

MessageRow Row(int step, const std::string& message, const std::string& parameters = "",
               const std::string& result = "") {
    return {step, "step " + std::to_string(step), 1, "Form1", "sent", message, parameters, result,
            -1};
}

// Two steps of a log, as the comparisons below change them.
std::vector<MessageRow> TwoSteps() {
    return {Row(1, "WM_SIZE", "SIZE_RESTORED 10x10"), Row(2, "WM_WINDOWPOSCHANGING"),
            Row(2, "WM_NCCALCSIZE", "window 0,0,9,9", "client 0,0,1280,1005"),
            Row(2, "WM_ERASEBKGND"), Row(2, "WM_SIZE")};
}

TEST(MessageComparison, NamesTheFirstDifferenceAndWhatIsOnlyOnOneSide) {
    const std::vector<MessageRow> a = TwoSteps();
    std::vector<MessageRow> b = a;
    EXPECT_EQ(CompareMessages(a, b).Summary(), "messages: 2 of 2 steps alike");
    EXPECT_TRUE(CompareMessages(a, b).Listing().empty());

    b[2].result = "client 0,0,1280,998";       // a parameter changed
    b.erase(b.begin() + 3);                    // one missing
    b.push_back(Row(2, "WM_MOVE", "at 1,1"));  // one inserted
    const MessageComparison c = CompareMessages(a, b);
    EXPECT_EQ(c.Summary(), "messages: 1 of 2 steps alike");
    EXPECT_THAT(c.Listing(),
                ElementsAre("step 2 step 2: Form1 WM_NCCALCSIZE: returned client 0,0,1280,1005 / "
                            "client 0,0,1280,998",
                            "  only in A: Form1 sent WM_ERASEBKGND",
                            "  only in B: Form1 sent WM_MOVE at 1,1",
                            "  differs: Form1 WM_NCCALCSIZE: returned client 0,0,1280,1005 / "
                            "client 0,0,1280,998"));
    EXPECT_THAT(c.markedA, ElementsAre(false, false, true, true, false));
    EXPECT_THAT(c.markedB, ElementsAre(false, false, true, false, true));
    EXPECT_EQ(c.Step(1), nullptr);
    ASSERT_NE(c.Step(2), nullptr);

    // Another message where one was expected, and a side that ends early.
    std::vector<MessageRow> other = a;
    other[1].message = "WM_SHOWWINDOW";
    EXPECT_EQ(CompareMessages(a, other).differing.at(0).first,
              "A: Form1 sent WM_WINDOWPOSCHANGING / B: Form1 sent WM_SHOWWINDOW");
    EXPECT_EQ(CompareMessages(a, {a.begin(), a.end() - 1}).differing.at(0).first,
              "A: Form1 sent WM_SIZE / B: nothing more");
    // A step one side never took.
    EXPECT_EQ(CompareMessages(a, {a[0]}).Summary(), "messages: 1 of 2 steps alike");
}

TEST(MessageComparison, DepthsAndKindsCountWhereBothLogsKeepThem) {
    const std::vector<MessageRow> a = TwoSteps();
    // A message handled inside another on one side: differing. Against a
    // log recorded before depths were, depths do not count.
    std::vector<MessageRow> deep = a, deeper = a, undated = a;
    for (MessageRow& r : deep) r.depth = 0;
    for (MessageRow& r : deeper) r.depth = 0;
    deeper[1].depth = 1;
    for (MessageRow& r : undated) r.depth = -1;
    EXPECT_EQ(CompareMessages(deep, deeper).differing.at(0).first,
              "Form1 WM_WINDOWPOSCHANGING: depth 0 / 1");
    EXPECT_THAT(CompareMessages(deeper, undated).differing, testing::IsEmpty());
    // An empty log against one without depths, either way (it recursed
    // until the stack ran out).
    EXPECT_EQ(CompareMessages({}, undated).Summary(), "messages: 0 of 2 steps alike");
    EXPECT_EQ(CompareMessages(undated, {}).Summary(), "messages: 0 of 2 steps alike");

    // A brush against another kind differs; against a log that named every
    // drawing object "an object", it does not.
    std::vector<MessageRow> brush = a, font = a, object = a;
    brush[4].result = "a brush", font[4].result = "a font", object[4].result = "an object";
    EXPECT_EQ(CompareMessages(brush, font).differing.size(), 1u);
    EXPECT_THAT(CompareMessages(brush, object).differing, testing::IsEmpty());

    // Without the start, to compare with a log recorded before starts were:
    // each message still beside its paint, numbered as the paints left.
    std::vector<MessageRow> started = {Row(0, "WM_CREATE"), Row(1, "WM_SIZE")};
    started[1].paint = 2;
    DropStart(started, 1);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].message, "WM_SIZE");
    EXPECT_EQ(started[0].paint, 1);
}

TEST(MessageLogCsv, ReadsBackWhatItWritesAndWhatASpreadsheetSaves) {
    std::vector<MessageRow> rows = {Row(0, "WM_SETTEXT", "\"Left: 0\\r\\nTop: 1\"", "1"),
                                    Row(52, "WM_NCCALCSIZE", "window 0,0,9,9", "client 0,0,1,1")};
    rows[1].action = "maximize button";
    rows[1].paint = 49;
    rows[1].how = "posted";
    rows[0].depth = 0, rows[1].depth = 2;
    rows[1].number = 0x83, rows[1].wParam = 1, rows[1].lResult = -1;
    rows[1].left = -4, rows[1].top = 0, rows[1].right = 2147483647, rows[1].bottom = 9;
    rows[1].x = rows[1].y = rows[1].cx = rows[1].cy = 0, rows[1].flags = 0xFFFFFFFF;
    const std::string csv = MessagesToCsv(rows, "step 52: paintprobe.exe ended", "the log holds 9");
    std::vector<MessageRow> back;
    std::string error, cut, full;
    ASSERT_TRUE(ParseMessagesCsv(csv, back, error, &cut, &full)) << error;
    EXPECT_EQ(back, rows);
    EXPECT_EQ(cut, "step 52: paintprobe.exe ended");
    EXPECT_EQ(full, "the log holds 9");
    // A message a line, its text's line breaks escaped; an older log's read so.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
    rows[0].parameters = "\"Left: 0\r\nTop: 1\"";
    ASSERT_TRUE(ParseMessagesCsv(MessagesToCsv(rows), back, error)) << error;
    MessageRow text = Row(0, "WM_SETTEXT", "\"Left: 0\\r\\nTop: 1\"", "1");
    text.depth = 0;
    EXPECT_EQ(back.at(0), text);

    // Semicolons, quoted header, a byte-order mark, CRLF, padding fields.
    std::string sheet =
        "\xEF\xBB\xBF\"step\";\"action\";\"paint\";\"window\";\"how\";\"message\";"
        "\"parameters\";\"result\";;\r\n"
        "52;maximize button;49;Form1;posted;WM_NCCALCSIZE;window 0,0,9,9;"
        "client 0,0,1,1;;\r\n";
    // A log from before depths were recorded: each depth not known; a yes
    // or no it wrote as a number reads as one is written now.
    sheet += "0;start;1;Form1;sent;WM_NCCREATE;;1;;\r\n";
    MessageRow made = Row(0, "WM_NCCREATE", "", "TRUE");
    made.action = "start";
    made.paint = 1;
    ASSERT_TRUE(ParseMessagesCsv(sheet, back, error)) << error;
    MessageRow undated = rows[1];
    undated = Row(52, "WM_NCCALCSIZE", "window 0,0,9,9", "client 0,0,1,1");
    undated.action = "maximize button", undated.paint = 49, undated.how = "posted";
    EXPECT_THAT(back, ElementsAre(undated, made));
    // One with depths but before the numbers: none known.
    ASSERT_TRUE(
        ParseMessagesCsv("step,action,paint,window,how,message,parameters,result,depth\n"
                         "0,start,1,Form1,sent,WM_NCCREATE,,TRUE,0\n",
                         back, error))
        << error;
    made.depth = 0;
    EXPECT_THAT(back, ElementsAre(made));

    EXPECT_EQ(MessagesPath("docs/transcript-wine-all.csv"),
              "docs/transcript-wine-all.messages.csv");
    EXPECT_EQ(MessagesPath("out.d/run"), "out.d/run.messages.csv");
}

// What is not a message log, or a row it cannot hold, is named with its line.
TEST(MessageLogCsv, RefusesWhatIsNotALogWithItsLine) {
    std::vector<MessageRow> back;
    std::string error;
    EXPECT_FALSE(ParseMessagesCsv("step,action,paint\n", back, error));
    EXPECT_EQ(error,
              "line 1: not a message log header (expected "
              "step,action,paint,window,how,message,parameters,result,depth,number,wparam,"
              "lparam,lresult,x,y,cx,cy,flags,left,top,right,bottom)");
    EXPECT_FALSE(ParseMessagesCsv(
        "step,action,paint,window,how,message,parameters,result,depth,number,wparam\n", back,
        error));
    EXPECT_EQ(error,
              "line 1: the header stops at wparam; expected it to end at result, depth or bottom");
    EXPECT_FALSE(ParseMessagesCsv(
        "step,action,paint,window,note,how,message,parameters,result,depth\n", back, error));
    EXPECT_EQ(error,
              "line 1: column 5, \"note\", is not one of a message log's (delete it, or save "
              "the sheet without it)");
    const std::string old = "step,action,paint,window,how,message,parameters,result,depth\n";
    EXPECT_FALSE(ParseMessagesCsv(old + "x,a,1,Form1,sent,WM_SIZE,,,0\n", back, error));
    EXPECT_EQ(error, "line 2: expected whole numbers for step and paint");
    EXPECT_FALSE(ParseMessagesCsv(old + "1,a,1,Form1,sent,WM_SIZE,,,deep\n", back, error));
    EXPECT_EQ(error, "line 2: expected a depth from 0 to 255, or nothing");
    const std::string numbered = "1,a,1,Form1,sent,WM_SIZE,,,0,0x5,";
    EXPECT_FALSE(ParseMessagesCsv(MessagesToCsv({}) + numbered + "1.5,,,,,,,,,,,\n", back, error));
    EXPECT_EQ(error, "line 2: expected a whole number, or nothing");
    EXPECT_FALSE(ParseMessagesCsv(
        MessagesToCsv({}) + "1,a,1,Form1,sent,WM_SIZE,,,0,5,,,,,,,,,,,,\n", back, error));
    EXPECT_EQ(error, "line 2: expected a number as 0x and hexadecimal digits, or nothing");
    EXPECT_FALSE(
        ParseMessagesCsv(MessagesToCsv({}) + "1,a,1,Form1,mailed,WM_SIZE,,\n", back, error));
}

}  // namespace
