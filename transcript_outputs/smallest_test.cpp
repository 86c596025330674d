// Writes the smallest test of a difference as a Wine developer writes a
// test that shows a bug: the windows made, the few steps played in order,
// the differing step checked, and no code the steps kept do not need.
#include "smallest_test.h"

#include <algorithm>

#include "conformance_comment.h"
#include "conformance_export.h"
#include "paint_compare.h"
#include "text_fields.h"

namespace transcript {

namespace {

// Whether a step kept makes a change of that kind.
bool Plays(const Plan& plan, Change::How how) {
    for (const PlayStep& s : plan.steps)
        for (const Change& c : s.changes)
            if (c.how == how) return true;
    return false;
}

std::string Opening(const Recording& reference, const Recording& against, const Kept& kept,
                    const std::string& name) {
    const bool windows = reference.facts.system.compare(0, 7, "Windows") == 0;
    return CommentLines("The smallest test that shows where " + against.facts.system +
                            " paints a list view otherwise than " + reference.facts.system + ": " +
                            kept.words + ". It checks the list view's paints at that step.",
                        "/*") +
           " *\n" +
           CommentLines("Written by paint_transcript --export-test from " +
                        BaseName(reference.file) + " --against " + BaseName(against.file) + ".") +
           CommentLines("Expected: as recorded on " + reference.facts.system +
                        (windows ? ", Windows: what the other is held to;"
                                 : ", not Windows: a regression test between the two, not a "
                                   "test of what Windows does;")) +
           FactsOf(reference.facts) + kNotYetRun +
           " *\n"
           " * Build it as the tests beside it in Wine's dlls/comctl32/tests or ReactOS's\n"
           " *   modules/rostests/apitests/comctl32, or alone with a testlist.c naming\n"
           " *   func_" +
           name +
           " (#define STANDALONE, #include \"wine/test.h\"):\n *   i686-w64-mingw32-gcc -I "
           "INCLUDE " +
           name +
           ".c testlist.c -lcomctl32 -lgdi32\n"
           " */\n\n#include <stdio.h>\n#include <string.h>\n#include <windows.h>\n"
           "#include <commctrl.h>\n\n#include \"wine/test.h\"\n\n";
}

constexpr char kProbe[] = R"C(static HWND form, controls[CONTROLS];
static WNDPROC list_view_proc;
static char got[MAX_PAINTS][512];
static SIZE got_size[MAX_PAINTS];
static int got_count;

/* Takes each WM_PAINT's update region ("l,t,r,b l,t,r,b"), then paints it
 * in a BeginPaint of its own before the list view's, as the program did. */
static LRESULT CALLBACK probe_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)
{
    char buffer[sizeof(RGNDATAHEADER) + 64 * sizeof(RECT)];
    RGNDATA *data = (RGNDATA *)buffer;
    int n = got_count % MAX_PAINTS, used = 0;
    PAINTSTRUCT paint;
    HRGN region;
    DWORD i;

    if (message != WM_PAINT) return CallWindowProcA(list_view_proc, hwnd, message, wparam, lparam);
    got_count++;
    GetClientRect(hwnd, &paint.rcPaint);
    got_size[n].cx = paint.rcPaint.right;
    got_size[n].cy = paint.rcPaint.bottom;
    region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hwnd, region, FALSE);
    got[n][0] = 0;
    if (!GetRegionData(region, sizeof(buffer), data)) strcpy(got[n], "(over 64 rectangles)");
    for (i = 0; got[n][0] != '(' && i < data->rdh.nCount && used < (int)sizeof(got[n]); i++)
    {
        const RECT *r = (const RECT *)data->Buffer + i;
        used += snprintf(got[n] + used, sizeof(got[n]) - used, "%s%ld,%ld,%ld,%ld", i ? " " : "",
                         (long)r->left, (long)r->top, (long)r->right, (long)r->bottom);
    }
    DeleteObject(region);
    BeginPaint(hwnd, &paint);
    EndPaint(hwnd, &paint);
    return CallWindowProcA(list_view_proc, hwnd, message, wparam, lparam);
}

)C";

// "width - 150", "8", "height": a place as C, of the client's size.
std::string FieldC(const Rule::Field& f) {
    const std::string follows = f.follows == Rule::Width    ? "width"
                                : f.follows == Rule::Height ? "height"
                                                            : "";
    if (follows.empty()) return std::to_string(f.base);
    if (!f.base) return follows;
    return follows + (f.base < 0 ? " - " : " + ") + std::to_string(std::abs(f.base));
}

std::string SetPos(const std::string& control, const std::string& x, const std::string& y,
                   const std::string& w, const std::string& h, const std::string& flags,
                   const std::string& indent) {
    return indent + "SetWindowPos(controls[" + control + "], NULL, " + x + ", " + y + ", " + w +
           ", " + h + ",\n" + indent + "             " + flags + ");\n";
}

// Whether the test reaches that client size: set up, or set by a step.
bool Reaches(const Plan& plan, const WindowTree& tree, int width, int height) {
    if (tree.windows[0].clientWidth == width && tree.windows[0].clientHeight == height) return true;
    for (const PlayStep& s : plan.steps)
        for (const Change& c : s.changes)
            if (c.how == Change::Client && c.width == width && c.height == height) return true;
    return false;
}

std::string Layout(const Plan& plan, const WindowTree& tree) {
    std::string calls;
    for (const Rule& r : plan.rules) {
        if (!tree.Named(r.control)) continue;
        const std::string name = ConstantName(r.control);
        std::string indent = "        ";
        for (const Place& p : plan.exceptions)
            if (p.control == r.control && Reaches(plan, tree, p.clientWidth, p.clientHeight)) {
                calls +=
                    "        if (width == " + std::to_string(p.clientWidth) +
                    " && height == " + std::to_string(p.clientHeight) + ") /* as at step " +
                    std::to_string(p.step) + " " + CComment(p.words) + " */\n" +
                    SetPos(name, std::to_string(p.x), std::to_string(p.y), std::to_string(p.width),
                           std::to_string(p.height), r.flags, "            ") +
                    "        else\n";
                indent = "            ";
                break;
            }
        calls += SetPos(name, FieldC(r.x), FieldC(r.y), FieldC(r.width), FieldC(r.height), r.flags,
                        indent);
    }
    const bool width = calls.find("width") != std::string::npos;
    const bool height = calls.find("height") != std::string::npos;
    std::string declared = width && height
                               ? "    int width = LOWORD(lparam), height = HIWORD(lparam);\n\n"
                           : width  ? "    int width = LOWORD(lparam);\n\n"
                           : height ? "    int height = HIWORD(lparam);\n\n"
                                    : "";
    return "/* Lays Form1 out on WM_SIZE as the program did. */\n"
           "static LRESULT CALLBACK form_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM "
           "lparam)\n{\n" +
           declared + "    if (message == WM_SIZE && controls[CONTROLS - 1])\n    {\n" + calls +
           "    }\n    return DefWindowProcA(hwnd, message, wparam, lparam);\n}\n\n";
}

constexpr char kPlaying[] =
    R"C(/* Dispatches until a while passes quiet and nothing is left to paint. */
static void flush_events(void)
{
    DWORD quiet = GetTickCount();
    MSG msg;

    while (GetTickCount() - quiet < 150 || GetUpdateRect(controls[0], NULL, FALSE))
    {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 30, QS_ALLINPUT);
        for (; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE); quiet = GetTickCount())
            DispatchMessageA(&msg);
    }
}

/* Form1's client size, with this system's frame; left, top: that edge moves. */
static void set_client_size(int width, int height, BOOL left, BOOL top)
{
    RECT outer, client;
    int w, h;

    GetWindowRect(form, &outer);
    GetClientRect(form, &client);
    w = width + (outer.right - outer.left) - client.right;
    h = height + (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(form, NULL, left ? outer.right - w : outer.left,
                 top ? outer.bottom - h : outer.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

)C";

constexpr char kMove[] = R"C(static void move_by(int dx, int dy)
{
    RECT outer;

    GetWindowRect(form, &outer);
    SetWindowPos(form, NULL, outer.left + dx, outer.top + dy, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

)C";

constexpr char kCheck[] =
    R"C(/* Paint i: its update region and the list view's client size (0, 0: not recorded). */
static void check_paint(int i, const char *region, int width, int height)
{
    if (i >= got_count || i >= MAX_PAINTS) return;
    ok(!strcmp(got[i], region), "paint %d: expected %s, got %s\n", i + 1,
       region[0] ? region : "nothing", got[i][0] ? got[i] : "nothing");
    ok((!width && !height) || (got_size[i].cx == width && got_size[i].cy == height),
       "paint %d: the list view's client area: expected %dx%d, got %ldx%ld\n", i + 1, width,
       height, (long)got_size[i].cx, (long)got_size[i].cy);
}

)C";

std::string Words(const PlayStep& s) {
    return s.number == kSetUp ? s.words : "step " + std::to_string(s.number) + " " + s.words;
}
// A maximized Form1 fills the work area: each of the list view's right and
// bottom edges in a paint, and its size, as the work area's width or height
// and a number; "%d" and the argument.
struct Follows {
    std::string format, arguments;
};
Follows FollowingWorkArea(const PaintRow& r, int viewWidth, int viewHeight) {
    Follows out;
    for (const Rect& c : r.region) {
        out.format += (out.format.empty() ? "" : " ");
        const int edges[] = {c.left, c.top, c.right, c.bottom};
        for (int k = 0; k < 4; ++k) {
            const bool x = k % 2 == 0;
            const bool follows = edges[k] == (x ? viewWidth : viewHeight) && edges[k];
            out.format += (k ? "," : "") + (follows ? "%d" : std::to_string(edges[k]));
            if (follows) out.arguments += x ? ", width" : ", height";
        }
    }
    return out;
}

// The checks of the step that differs: its number of paints, then each.
std::string Checks(const Recording& reference, const Plan& plan, const PlayStep& s,
                   bool maximized) {
    std::vector<PaintRow> paints;
    for (const PaintRow& r : reference.rows)
        if (r.step == s.number) paints.push_back(r);
    const std::string n = std::to_string(paints.size());
    std::string out = "    winetest_push_context(" + CText(Words(s)) + ");\n";
    const RecordedArea area = maximized ? WorkAreaOf(reference, plan) : RecordedArea{};
    if (maximized && !area.width)
        return out +
               "    skip(\"maximized, and the recording does not say its work area\\n\");\n"
               "    winetest_pop_context();\n";
    if (maximized && !paints.empty()) {
        const PaintRow& first = paints.front();
        out += "    /* Maximized, Form1 fills the work area (" + std::to_string(area.width) + "x" +
               std::to_string(area.height) +
               " recorded): the list view follows it. */\n"
               "    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);\n"
               "    width = work.right - work.left - " +
               std::to_string(area.width - first.viewWidth) + "; /* " +
               std::to_string(first.viewWidth) + " */\n    height = work.bottom - work.top - " +
               std::to_string(area.height - first.viewHeight) + "; /* " +
               std::to_string(first.viewHeight) + " */\n";
    }
    out += "    ok(got_count == " + n + ", \"expected " + n +
           (paints.size() == 1 ? " paint" : " paints") + ", got %d\\n\", got_count);\n";
    for (size_t i = 0; i < paints.size(); ++i) {
        const PaintRow& r = paints[i];
        const std::string at = std::to_string(i);
        if (!maximized) {
            out += "    check_paint(" + at + ", " + CText(RegionText(r.region)) + ", " +
                   Ints({r.viewWidth, r.viewHeight}) + ");\n";
            continue;
        }
        const PaintRow& first = paints.front();
        const Follows f = FollowingWorkArea(r, first.viewWidth, first.viewHeight);
        const std::string w =
            r.viewWidth && r.viewWidth == first.viewWidth ? "width" : std::to_string(r.viewWidth);
        const std::string h = r.viewHeight && r.viewHeight == first.viewHeight
                                  ? "height"
                                  : std::to_string(r.viewHeight);
        out += f.arguments.empty()
                   ? "    check_paint(" + at + ", " + CText(f.format) + ", " + w + ", " + h + ");\n"
                   : "    sprintf(region, " + CText(f.format) + f.arguments +
                         ");\n    check_paint(" + at + ", region, " + w + ", " + h + ");\n";
    }
    return out + "    winetest_pop_context();\n";
}

// The step's changes, a call each.
std::string Played(const PlayStep& s) {
    std::string out;
    for (const Change& c : s.changes) switch (c.how) {
            case Change::Client:
                out += "    set_client_size(" + Ints({c.width, c.height}) + ", " +
                       (c.left ? "TRUE" : "FALSE") + ", " + (c.top ? "TRUE" : "FALSE") + ");\n";
                break;
            case Change::Move:
                out += "    move_by(" + Ints({c.dx, c.dy}) + ");\n";
                break;
            case Change::Show:
                out += "    ShowWindow(form, " + c.show + ");\n";
                break;
        }
    return out;
}

// "    controls[TEXT1] = CreateWindowExA(0x00000200, "Edit", "", 0x50011044, 294, 8,\n ..."
std::string MakeControl(const TreeWindow& w) {
    const std::string call = "    controls[" + ConstantName(w.name) + "] = CreateWindowExA(";
    return call + Hex8(w.exStyle) + ", " + CText(w.className) + ", \"\", " + Hex8(w.style) + ",\n" +
           std::string(call.size(), ' ') +
           Ints({w.place.left, w.place.top, w.place.right - w.place.left,
                 w.place.bottom - w.place.top}) +
           ", form, (HMENU)" + std::to_string(w.id) + ", class.hInstance, NULL);\n";
}

// The list view's columns as a table, wrapped within 100 columns.
std::string ColumnTable(const WindowTree& tree) {
    if (tree.columns.empty()) return "";
    std::string columns, line = "        {";
    for (size_t i = 0; i < tree.columns.size(); ++i) {
        const std::string item = "{" + std::to_string(tree.columns[i].width) + ", " +
                                 CText(tree.columns[i].text) + "}" +
                                 (i + 1 < tree.columns.size() ? "," : "};");
        if (line.size() + 1 + item.size() > 96) columns += line + "\n", line = "        ";
        line += (line.back() == '{' || line.back() == ' ' ? "" : " ") + item;
    }
    return "    static const struct { int width; const char *text; } columns[] =\n" + columns +
           line + "\n";
}

// The windows made as the recording found them, the list view's own
// procedure taken over.
std::string Start(const Recording& reference, const WindowTree& tree, const std::string& name,
                  const std::string& steps) {
    const TreeWindow& f = tree.windows[0];
    const SystemFacts& facts = reference.facts;
    std::string out = "START_TEST(" + name + ")\n{\n" + ColumnTable(tree);
    out += "    WNDCLASSA class = {" + Hex8(f.classStyle) +
           ", form_proc, 0, 0, NULL, NULL, NULL,\n"
           "                       (HBRUSH)(COLOR_BTNFACE + 1), NULL, \"" +
           name +
           "_form\"};\n    HDC screen = GetDC(NULL);\n    int i, dpi = GetDeviceCaps(screen, "
           "LOGPIXELSY);\n";
    // The work area's, where the checks use them.
    if (steps.find("SystemParametersInfoA") != std::string::npos)
        out += "    int width, height;\n    RECT work;\n";
    if (steps.find("sprintf(region") != std::string::npos) out += "    char region[512];\n";
    if (!facts.fontFace.empty()) out += "    HFONT font;\n";
    out += "\n    ReleaseDC(NULL, screen);\n";
    if (facts.dpi)
        out += "    if (dpi != " + std::to_string(facts.dpi) +
               ")\n    {\n        skip(\"recorded at " + std::to_string(facts.dpi) +
               " dpi, this display is at %d dpi\\n\", dpi);\n        return;\n    }\n";
    out +=
        "    InitCommonControls();\n    class.hInstance = GetModuleHandleA(NULL);\n"
        "    RegisterClassA(&class);\n    form = CreateWindowExA(" +
        Hex8(f.exStyle) + ", class.lpszClassName, " + CText(f.name) + ", " + Hex8(f.style) +
        " & ~WS_VISIBLE,\n                           " +
        Ints({f.place.left, f.place.top, f.place.right - f.place.left,
              f.place.bottom - f.place.top}) +
        ", NULL, NULL, class.hInstance, NULL);\n    set_client_size(" +
        Ints({f.clientWidth, f.clientHeight}) + ", FALSE, FALSE);\n";
    for (size_t i = 1; i < tree.windows.size(); ++i) out += MakeControl(tree.windows[i]);
    if (!facts.fontFace.empty())
        out += "    font = CreateFontA(" + std::to_string(facts.fontHeight) +
               ", 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,\n"
               "                       " +
               CText(facts.fontFace) +
               ");\n    for (i = 0; i < CONTROLS; i++) SendMessageA(controls[i], WM_SETFONT, "
               "(WPARAM)font, FALSE);\n";
    out += "    SendMessageA(controls[0], LVM_SETEXTENDEDLISTVIEWSTYLE, 0, " +
           Hex8(tree.listViewExtended) + ");\n";
    if (!tree.columns.empty())
        out +=
            "    for (i = 0; i < (int)(sizeof(columns) / sizeof(columns[0])); i++)\n    {\n"
            "        LVCOLUMNA column = {.mask = LVCF_WIDTH | LVCF_TEXT, .cx = columns[i].width,\n"
            "                            .pszText = (char *)columns[i].text};\n"
            "        SendMessageA(controls[0], LVM_INSERTCOLUMNA, i, (LPARAM)&column);\n    }\n";
    return out +
           "    list_view_proc = (WNDPROC)SetWindowLongPtrA(controls[0], GWLP_WNDPROC, "
           "(LONG_PTR)probe_proc);\n";
}

}  // namespace

std::string SmallestSource(const Recording& reference, const Recording& against,
                           const WindowTree& tree, const Plan& plan, const Kept& kept,
                           const std::string& name) {
    bool maximized = false;
    std::string steps =
        "\n    /* step 0 start: the windows shown */\n"
        "    ShowWindow(form, SW_SHOWNORMAL);\n    UpdateWindow(form);\n    flush_events();\n";
    for (const PlayStep& s : plan.steps) {
        const bool checked = s.number == kept.step;
        if (s.number) {
            steps += "\n    /* " + CComment(Words(s)) +
                     (s.number == kSetUp ? ", as the steps before left it"
                      : checked          ? ": the step that differs"
                                         : ": played, not checked") +
                     " */\n" + (checked ? "    got_count = 0;\n" : "") + Played(s) +
                     "    flush_events();\n";
            for (const Change& c : s.changes)
                if (c.how == Change::Show) maximized = c.show == "SW_MAXIMIZE";
        }
        if (checked) steps += Checks(reference, plan, s, maximized);
    }
    std::string names;
    for (size_t i = 1; i < tree.windows.size(); ++i)
        names += ConstantName(tree.windows[i].name) + ", ";
    return Opening(reference, against, kept, name) + "enum control { " + names +
           "CONTROLS };\n#define MAX_PAINTS 16\n" + kProbe + Layout(plan, tree) + kPlaying +
           (Plays(plan, Change::Move) ? kMove : "") + kCheck + Start(reference, tree, name, steps) +
           steps + "\n    DestroyWindow(form);\n" +
           (reference.facts.fontFace.empty() ? "" : "    DeleteObject(font);\n") + "}\n";
}

}  // namespace transcript
