#include <algorithm>
#include <gmock/gmock.h>

#include "message_log.h"
#include "message_table.h"

using namespace transcript;
using testing::ElementsAre;

namespace {

RawMessage Sent(uint32_t message, int window = kInForm1) {
    RawMessage m;
    m.message = message;
    m.window = window;
    m.sent = m.returned = true;
    return m;
}

void Words(int32_t* to, std::initializer_list<int32_t> values) {
    std::copy(values.begin(), values.end(), to);
}

std::string Text(const RawMessage& m) {
    return MessageLine(Decode(m));
}

TEST(MessageDecoding, NamesWhatDecidesARepaintAndNoHandleOrPointerAsANumber) {
    ASSERT_TRUE(MessagesSorted());

    RawMessage pos = Sent(0x0047);  // WM_WINDOWPOSCHANGED
    Words(pos.before, {-4, -4, 1288, 1032, 0x8000 | 0x0020 | 0x0004 | 0x0001 | 0x40000, 0});
    EXPECT_EQ(Text(pos),
              "Form1 sent WM_WINDOWPOSCHANGED at -4,-4 size 1288x1032 "
              "SWP_NOSIZE|SWP_NOZORDER|SWP_FRAMECHANGED|SWP_STATECHANGED|0x40000");
    RawMessage changing = Sent(0x0046, kInText1);  // changed on its way: said so
    Words(changing.before, {10, 20, 30, 40, 0x0002, 0});
    Words(changing.after, {10, 20, 35, 40, 0x0002, 0});
    EXPECT_EQ(Text(changing),
              "Text1 sent WM_WINDOWPOSCHANGING at 10,20 size 30x40 SWP_NOMOVE after HWND_TOP; "
              "returns changed to at 10,20 size 35x40 SWP_NOMOVE after HWND_TOP");

    RawMessage calc = Sent(0x0083);  // WM_NCCALCSIZE, with and without WVR_ flags
    calc.wParam = 1;
    Words(calc.before, {0, 0, 640, 480, 0, 0, 600, 400, 4, 30, 596, 396});
    Words(calc.after, {4, 30, 636, 476, 1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(Decode(calc).parameters,
              "window 0,0,640,480; was 0,0,600,400; client was 4,30,596,396");
    EXPECT_EQ(Decode(calc).result, "client 4,30,636,476");
    calc.result = 0x0400 | 0x0300;
    EXPECT_EQ(
        Decode(calc).result,
        "client 4,30,636,476 WVR_HREDRAW|WVR_VREDRAW|WVR_VALIDRECTS valid 1,2,3,4 from 5,6,7,8");
    calc.wParam = 0;
    EXPECT_EQ(Text(calc),
              "Form1 sent WM_NCCALCSIZE window 0,0,640,480; returns client 4,30,636,476");

    RawMessage notify = Sent(0x004E);  // WM_NOTIFY from the list view, code by name
    notify.lParam = 0x12345678;
    notify.lFound = Found::Memory;
    Words(notify.before, {1, -12, kInListView1, 0x10001});
    notify.result = 0x20;
    EXPECT_EQ(Text(notify),
              "Form1 sent WM_NOTIFY NM_CUSTOMDRAW from ListView1 "
              "CDDS_ITEM|CDDS_PREPAINT; returns CDRF_NOTIFYITEMDRAW");

    // Unknown: by number, its parameters as the hook found them.
    RawMessage unknown = Sent(0x0499, kInLabel2);
    unknown.wParam = 7;
    unknown.lParam = 0xDEAD0000;
    unknown.lFound = Found::Memory;
    unknown.result = 0x00C0FFEE;
    unknown.rFound = Found::Object;
    EXPECT_EQ(Text(unknown), "Label2 sent 0x499 wParam 7, lParam memory; returns an object");
    unknown.message = 0xC123;  // registered: numbered afresh each session
    unknown.text = "MSWHEEL_ROLLMSG";
    unknown.sent = false;
    EXPECT_EQ(Text(unknown),
              "Label2 posted registered \"MSWHEEL_ROLLMSG\" wParam 7, lParam memory");

    RawMessage size = Sent(0x0005, kInListView1);  // WM_SIZE
    size.wParam = 2;
    size.lParam = (998 << 16) | 1280;
    EXPECT_EQ(Text(size), "ListView1 sent WM_SIZE SIZE_MAXIMIZED 1280x998; returns 0");
    RawMessage paint;  // the list view's: its whole region
    paint.message = 0x000F;
    paint.window = kInListView1;
    paint.region = {{0, 0, 10, 10}, {0, 10, 20, 20}};
    EXPECT_EQ(Text(paint), "ListView1 posted WM_PAINT update 0,0,10,10 0,10,20,20");
    RawMessage erase = Sent(0x0014);  // WM_ERASEBKGND: its DC is not written
    erase.wParam = 0x01010055;
    erase.wFound = Found::Object;
    erase.result = 1;
    EXPECT_EQ(Text(erase), "Form1 sent WM_ERASEBKGND; returns erased");
    RawMessage unfinished = Sent(0x0112);  // WM_SYSCOMMAND, cut short inside it
    unfinished.wParam = 0xF032;
    unfinished.returned = false;
    EXPECT_EQ(Text(unfinished), "Form1 sent WM_SYSCOMMAND SC_MAXIMIZE; returns (had not returned)");

    // A child's click says where, whatever the number happens to be.
    RawMessage click = Sent(0x0210);  // WM_PARENTNOTIFY
    click.wParam = 0x0201;
    click.lParam = (427 << 16) | 414;
    click.lFound = Found::Memory;
    EXPECT_EQ(Decode(click).parameters, "WM_LBUTTONDOWN at 414,427");

    EXPECT_TRUE(IsQuery(0x000D));   // WM_GETTEXT
    EXPECT_TRUE(IsQuery(0x0084));   // WM_NCHITTEST
    EXPECT_FALSE(IsQuery(0x0024));  // WM_GETMINMAXINFO decides a size
    EXPECT_FALSE(IsQuery(0x02A3));  // WM_MOUSELEAVE: a hot item repaints
    EXPECT_FALSE(IsQuery(0x0499));
}

MessageRow Row(int step, const std::string& message, const std::string& parameters = "",
               const std::string& result = "") {
    return {step, "step " + std::to_string(step), 1, "Form1", "sent", message, parameters, result};
}

TEST(MessageComparison, NamesTheFirstDifferenceAndWhatIsOnlyOnOneSide) {
    const std::vector<MessageRow> a = {
        Row(1, "WM_SIZE", "SIZE_RESTORED 10x10"), Row(2, "WM_WINDOWPOSCHANGING"),
        Row(2, "WM_NCCALCSIZE", "window 0,0,9,9", "client 0,0,1280,1005"), Row(2, "WM_ERASEBKGND"),
        Row(2, "WM_SIZE")};
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

TEST(MessageLogCsv, ReadsBackWhatItWritesAndWhatASpreadsheetSaves) {
    std::vector<MessageRow> rows = {Row(0, "WM_SETTEXT", "\"Left: 0\\r\\nTop: 1\"", "1"),
                                    Row(52, "WM_NCCALCSIZE", "window 0,0,9,9", "client 0,0,1,1")};
    rows[1].action = "maximize button";
    rows[1].paint = 49;
    rows[1].how = "posted";
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
    EXPECT_EQ(back.at(0), Row(0, "WM_SETTEXT", "\"Left: 0\\r\\nTop: 1\"", "1"));

    // Semicolons, quoted header, a byte-order mark, CRLF, padding fields.
    std::string sheet =
        "\xEF\xBB\xBF\"step\";\"action\";\"paint\";\"window\";\"how\";\"message\";"
        "\"parameters\";\"result\";;\r\n"
        "52;maximize button;49;Form1;posted;WM_NCCALCSIZE;window 0,0,9,9;"
        "client 0,0,1,1;;\r\n";
    ASSERT_TRUE(ParseMessagesCsv(sheet, back, error)) << error;
    EXPECT_THAT(back, ElementsAre(rows[1]));

    EXPECT_FALSE(ParseMessagesCsv("step,action,paint\n", back, error));
    EXPECT_EQ(error.substr(0, 39), "line 1: not a message log header (expec");
    EXPECT_FALSE(ParseMessagesCsv(MessagesToCsv({}) + "x,a,1,Form1,sent,WM_SIZE,,\n", back, error));
    EXPECT_EQ(error, "line 2: expected whole numbers for step and paint");
    EXPECT_FALSE(
        ParseMessagesCsv(MessagesToCsv({}) + "1,a,1,Form1,mailed,WM_SIZE,,\n", back, error));

    EXPECT_EQ(MessagesPath("docs/transcript-wine-all.csv"),
              "docs/transcript-wine-all.messages.csv");
    EXPECT_EQ(MessagesPath("out.d/run"), "out.d/run.messages.csv");
}

}  // namespace
