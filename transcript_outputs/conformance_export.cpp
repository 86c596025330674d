// Writes a recording as a conformance test: its opening comment, the tables
// (the window tree, the steps, the layout, the regions expected and those
// also accepted), then the code every exported test shares.
#include "conformance_export.h"

#include <algorithm>
#include <initializer_list>
#include <map>

#include "conformance_body.h"
#include "conformance_comment.h"
#include "conformance_plan.h"
#include "paint_compare.h"
#include "smallest_test.h"

namespace transcript {

namespace {

// A paint as the test's table has it: "{52, "270,0,1126,738", 1126, 984}".
std::string PaintEntry(const PaintRow& r) {
    return "{" + std::to_string(r.step) + ", " + CText(RegionText(r.region)) + ", " +
           Ints({r.viewWidth, r.viewHeight}) + "}";
}

// The paints of each step, as their table entries.
std::map<int, std::vector<std::string>> PaintsByStep(const std::vector<PaintRow>& rows) {
    std::map<int, std::vector<std::string>> out;
    for (const PaintRow& r : rows) out[r.step].push_back(PaintEntry(r));
    return out;
}

// Whether an exported test can be made of these files; where not, why in one line.
bool Exportable(const Recording& reference, const std::vector<Recording>& others,
                const WindowTree& tree, const Plan& plan, std::string& error) {
    const std::string ref = reference.file + ": ";
    if (!tree.Named("Form1") || !tree.Named("ListView1"))
        return Mistake(error, ref +
                                  "it does not say what windows the program made (it was "
                                  "recorded before the tool wrote them): record it again");
    if (tree.windows.front().name != "Form1" || tree.windows[1].name != "ListView1")
        return Mistake(error, ref + "its windows are not Form1 and then ListView1");
    if (reference.log.empty())
        return Mistake(error, ref + "its message log (" + MessagesPath(reference.file) +
                                  ") is needed: it holds each step's changes and the layout");
    std::map<int, std::string> words;
    for (const PlayStep& s : plan.steps) words[s.number] = s.words;
    for (const PaintRow& r : reference.rows)
        if (!words.count(r.step))
            return Mistake(error, ref + "step " + std::to_string(r.step) +
                                      " painted but is not in its message log");
    for (const Recording& other : others)
        for (const PaintRow& r : other.rows)
            if (!words.count(r.step) || words[r.step] != r.action)
                return Mistake(error, other.file + ": step " + std::to_string(r.step) + " " +
                                          r.action + " is not the reference's step " +
                                          std::to_string(r.step) +
                                          ": a system accepted beside it must play its steps");
    for (const auto& [step, regions] : PaintsByStep(reference.rows))
        if (regions.size() > 16)
            return Mistake(error, ref + "step " + std::to_string(step) + " has " +
                                      std::to_string(regions.size()) +
                                      " paints; a test checks at most 16 a step");
    return true;
}

std::string WindowDesign(const TreeWindow& w, bool top) {
    const Rect& p = w.place;
    return "    {" + CText(w.name) + ", " + (top ? "NULL" : CText(w.className)) + ", " +
           std::to_string(w.id) + ", " + Hex8(w.style) + ", " + Hex8(w.exStyle) + ", " +
           Hex8(w.classStyle) + ", " +
           Ints(
               {p.left, p.top, p.right - p.left, p.bottom - p.top, w.clientWidth, w.clientHeight}) +
           "}";
}

std::string TreeTables(const WindowTree& tree, const SystemFacts& facts) {
    std::string out =
        "/* The windows as the recording found them: name, class, id, style, extended\n"
        " * style, class style, place in the parent (Form1's on the screen), client size. */\n"
        "struct window_design\n{\n    const char *name, *class_name;\n    int id;\n"
        "    DWORD style, ex_style, class_style;\n    int x, y, width, height, client_width, "
        "client_height;\n};\n\nstatic const struct window_design form_design =\n" +
        WindowDesign(tree.windows[0], true).substr(3) +
        ";\n\nstatic const struct window_design control_designs[] =\n{\n";
    std::string names;
    for (size_t i = 1; i < tree.windows.size(); ++i) {
        out += WindowDesign(tree.windows[i], false) + ",\n";
        names += (i > 1 ? ", " : "") + ConstantName(tree.windows[i].name);
    }
    out += "};\nenum control { " + names + " };\n\n";
    out += "static const DWORD list_view_extended = " + Hex8(tree.listViewExtended) + ";\n\n";
    out += "static const struct\n{\n    int width;\n    const char *text;\n} columns[] =\n{\n";
    for (const TreeColumn& c : tree.columns)
        out += "    {" + std::to_string(c.width) + ", " + CText(c.text) + "},\n";
    if (tree.columns.empty()) out += "    {0, NULL}, /* none: a list view with no column */\n";
    out += "};\n\n/* The controls' font: " +
           CComment(facts.font.empty() ? "not recorded, the "
                                         "system's own"
                                       : facts.font) +
           ". */\nstatic const char font_face[] = " + CText(facts.fontFace) +
           ";\nstatic const int font_height = " + std::to_string(facts.fontHeight) + ";\n\n";
    return out;
}

std::string ChangeText(const Change& c) {
    switch (c.how) {
        case Change::Client:
            return "{CLIENT, " + Ints({c.width, c.height}) + ", " +
                   (c.left && c.top ? "LEFT_EDGE | TOP_EDGE"
                    : c.left        ? "LEFT_EDGE"
                    : c.top         ? "TOP_EDGE"
                                    : "0") +
                   "}";
        case Change::Move:
            return "{MOVE, " + Ints({c.dx, c.dy, 0}) + "}";
        case Change::Show:
            return "{SHOW, " + c.show + ", 0, 0}";
    }
    return "";
}

// Whether the test checks a step's messages: asked for, and made from outside.
bool Checked(const PlayStep& s, bool messages) {
    return messages && MadeFromOutside(s);
}

std::string StepTable(const Plan& plan, bool messages) {
    size_t most = 1;
    for (const PlayStep& s : plan.steps) most = std::max(most, s.changes.size());
    std::string out =
        "/* Each step as the change it made to Form1: CLIENT, a client size (LEFT_EDGE,\n"
        " * TOP_EDGE: that edge moved, not the opposite one); MOVE, by x and y; SHOW,\n"
        " * a ShowWindow command. check_messages: its messages are checked too. */\n"
        "#define LEFT_EDGE 1\n#define TOP_EDGE 2\n#define MAX_CHANGES " +
        std::to_string(most) +
        "\nenum how { CLIENT, MOVE, SHOW };\nstruct change\n{\n    enum how how;\n"
        "    int a, b, edges;\n};\nstruct step\n{\n    int number;\n    const char *words;\n"
        "    int check_messages;\n    unsigned int count;\n    struct change "
        "changes[MAX_CHANGES];\n"
        "};\n\n"
        "static const struct step steps[] =\n{\n";
    for (const PlayStep& s : plan.steps) {
        std::string changes;
        for (const Change& c : s.changes) changes += (changes.empty() ? "" : ", ") + ChangeText(c);
        out += "    {" + std::to_string(s.number) + ", " + CText(s.words) + ", " +
               (Checked(s, messages) ? "1, " : "0, ") + std::to_string(s.changes.size()) + ", {" +
               changes + "}},\n";
    }
    return out + "};\n\n";
}

std::string FieldText(const Rule::Field& f) {
    return "{" + std::to_string(f.base) + ", " +
           (f.follows == Rule::Width    ? "WIDTH"
            : f.follows == Rule::Height ? "HEIGHT"
                                        : "NONE") +
           "}";
}

std::string LayoutTables(const Plan& plan, const WindowTree& tree) {
    std::string out =
        "/* How the program placed each control on WM_SIZE, read from what it did: x, y,\n"
        " * width and height each a number, plus the client's width (WIDTH) or height\n"
        " * (HEIGHT) where it followed one; then its SetWindowPos flags. */\n"
        "enum follows { NONE, WIDTH, HEIGHT };\nstruct field\n{\n    int base;\n"
        "    enum follows follows;\n};\nstatic const struct rule\n{\n    enum control control;\n"
        "    struct field x, y, width, height;\n    UINT flags;\n} rules[] =\n{\n";
    for (const Rule& r : plan.rules)
        if (tree.Named(r.control))
            out += "    {" + ConstantName(r.control) + ", " + FieldText(r.x) + ", " +
                   FieldText(r.y) + ", " + FieldText(r.width) + ", " + FieldText(r.height) + ", " +
                   r.flags + "},\n";
    if (plan.rules.empty())
        out += "    {" + ConstantName(tree.windows[1].name) +
               ", {0, NONE}, {0, NONE}, {0, NONE}, {0, NONE},\n"
               "     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE}, /* none seen */\n";
    out +=
        "};\n\n/* Where the rule does not give the place the program used, that place, by\n"
        " * client size: client width and height, control, x, y, width, height. */\n"
        "static const struct\n{\n    int client_width, client_height;\n    enum control "
        "control;\n    int x, y, width, height;\n} exceptions[] =\n{\n";
    for (const Place& p : plan.exceptions)
        if (tree.Named(p.control))
            out += "    {" + Ints({p.clientWidth, p.clientHeight}) + ", " +
                   ConstantName(p.control) + ", " + Ints({p.x, p.y, p.width, p.height}) +
                   "}, /* step " + std::to_string(p.step) + " " + CComment(p.words) + " */\n";
    if (plan.exceptions.empty())
        out += "    {-1, -1, " + ConstantName(tree.windows[1].name) + ", 0, 0, 0, 0}, /* none */\n";
    return out + "};\n\n";
}

// The paints of the steps listed, as a table named `name`; a step listed
// with no paint has one entry whose region is NULL.
std::string PaintTable(const std::string& name, const std::map<int, std::vector<std::string>>& by,
                       const std::vector<int>& listed, const Plan& plan) {
    std::map<int, std::string> words;
    for (const PlayStep& s : plan.steps) words[s.number] = s.words;
    std::string out = "static const struct paint " + name + "[] =\n{\n";
    for (const int step : listed) {
        out += "    /* step " + std::to_string(step) + " " + CComment(words[step]) + " */\n";
        const auto found = by.find(step);
        if (found == by.end() || found->second.empty())
            out += "    {" + std::to_string(step) + ", NULL, 0, 0},\n";
        else
            for (const std::string& entry : found->second) out += "    " + entry + ",\n";
    }
    if (listed.empty()) out += "    {0, NULL, 0, 0},\n";
    return out + "};\n\n";
}

std::string PaintTables(const Recording& reference, const std::vector<Recording>& others,
                        const Plan& plan) {
    const auto expected = PaintsByStep(reference.rows);
    std::vector<int> painted;
    for (const auto& [step, regions] : expected) painted.push_back(step);
    std::string out =
        "/* The paints expected at each step: each one's update region in the list\n"
        " * view's client coordinates, and the list view's client size then (0, 0: not\n"
        " * recorded). A step not listed paints nothing. */\n"
        "struct paint\n{\n    int step;\n    const char *region;\n"
        "    int view_width, view_height;\n};\n\n" +
        PaintTable("expected_paints", expected, painted, plan);
    std::string systems;
    for (size_t k = 0; k < others.size(); ++k) {
        const auto theirs = PaintsByStep(others[k].rows);
        std::vector<int> differing;
        for (const PlayStep& s : plan.steps) {
            const auto a = expected.find(s.number), b = theirs.find(s.number);
            const bool noneA = a == expected.end() || a->second.empty();
            const bool noneB = b == theirs.end() || b->second.empty();
            if (!(noneA && noneB) && (noneA != noneB || a->second != b->second))
                differing.push_back(s.number);
        }
        const std::string name = "accepted_" + std::to_string(k + 1);
        out += "/* Also accepted: what " + CComment(SystemOf(others[k])) +
               " painted where it differs. */\n" + PaintTable(name, theirs, differing, plan);
        systems += "    {" + CText(SystemOf(others[k])) + ", " +
                   RoleName(RoleOf(reference, others[k])) + ", " + name + ", ARRAY_SIZE(" + name +
                   ")},\n";
    }
    if (systems.empty()) systems = "    {NULL, ROLE_ALTERNATIVE, NULL, 0}, /* none */\n";
    return out +
           "/* How each is taken where it differs: another Windows as broken(), Wine\n"
           " * as todo_wine, ReactOS as todo_ros, an alternative on every platform. */\n"
           "enum role\n{\n    ROLE_BROKEN,\n    ROLE_TODO_WINE,\n    ROLE_TODO_ROS,\n"
           "    ROLE_ALTERNATIVE\n};\n\n"
           "static const struct\n{\n    const char *name;\n    enum role role;\n"
           "    const struct paint *paints;\n    unsigned int count;\n} accepted[] =\n{\n" +
           systems + "};\n";
}

// The list view's messages expected at each step, and the names of those
// the test watches for; where they are not checked, empty tables.
std::string MessageTables(const Plan& plan, bool messages, bool checked) {
    std::string out =
        "\n/* The list view's messages expected at each step, in order: the message,\n"
        " * posted (1) or sent (0), and a window position's SWP_ flags (~0u for any\n"
        " * other message). The test watches for the messages named below only. */\n"
        "#define CHECK_MESSAGES " +
        std::string(checked ? "1" : "0") +
        "\nstatic const struct expected_message\n{\n    int step;\n    UINT message;\n"
        "    int posted;\n    UINT flags;\n} expected_messages[] =\n{\n";
    std::vector<std::pair<uint32_t, std::string>> names;
    for (const PlayStep& s : plan.steps) {
        if (!Checked(s, messages) || s.messages.empty()) continue;
        out += "    /* step " + std::to_string(s.number) + " " + CComment(s.words) + " */\n";
        for (const ListMessage& m : s.messages) {
            out += "    {" + std::to_string(s.number) + ", " + Hex(m.number) + ", " +
                   (m.posted ? "1" : "0") + ", " + (m.positions ? Hex(m.flags) : "~0u") + "}, /* " +
                   (m.posted ? "posted " : "sent ") + CComment(m.name) + " */\n";
            bool seen = false;
            for (const auto& n : names) seen = seen || n.first == m.number;
            if (!seen) names.emplace_back(m.number, m.name);
        }
    }
    if (names.empty()) out += "    {0, 0, 0, 0},\n";
    out +=
        "};\n\nstatic const struct\n{\n    UINT message;\n    const char *name;\n} "
        "message_names[] =\n{\n";
    for (const auto& [number, name] : names)
        out += "    {" + Hex(number) + ", " + CText(name) + "},\n";
    if (names.empty()) out += "    {0, \"none\"},\n";
    return out + "};\n\n";
}

}  // namespace

bool IsCName(const std::string& name) {
    if (name.empty() || name.size() > 63 || std::isdigit(static_cast<unsigned char>(name[0])))
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
               (c >= '0' && c <= '9');
    });
}

// The work area a maximized Form1 filled: as the recording says, or as its
// frame at the first maximize shows it (its borders hang off the work area,
// as wide at the bottom as at the sides); 0 where neither tells.
RecordedArea WorkAreaOf(const Recording& reference, const Plan& plan) {
    RecordedArea a;
    if (reference.facts.screenWidth > 0) {
        a.width = reference.facts.workArea[2] - reference.facts.workArea[0];
        a.height = reference.facts.workArea[3] - reference.facts.workArea[1];
        a.whence = "as recorded";
        return a;
    }
    for (const PlayStep& s : plan.steps) {
        const bool maximizes = std::any_of(s.changes.begin(), s.changes.end(), [](const Change& c) {
            return c.how == Change::Show && c.show == "SW_MAXIMIZE";
        });
        const auto row = std::find_if(reference.rows.begin(), reference.rows.end(),
                                      [&](const PaintRow& r) { return r.step == s.number; });
        if (!maximizes || row == reference.rows.end() || !row->clientWidth) continue;
        a.width = row->clientWidth;
        a.height = row->outerHeight - (row->outerWidth - row->clientWidth);
        a.whence = "from Form1's frame at step " + std::to_string(s.number);
        break;
    }
    return a;
}

namespace {

std::string WorkArea(const Recording& reference, const Plan& plan) {
    const RecordedArea a = WorkAreaOf(reference, plan);
    return "/* The work area a maximized Form1 filled (" + (a.width ? a.whence : "not known") +
           "): where\n * this one differs, the paints of a maximized Form1 reach its edges here. "
           "*/\n"
           "#define RECORDED_WORK_WIDTH " +
           std::to_string(a.width) + "\n#define RECORDED_WORK_HEIGHT " + std::to_string(a.height) +
           "\n\n";
}

}  // namespace

// "A", "A and B", "A, B and C".
std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return out;
}

// "step 52", "steps 47 and 50", "steps 3, 7 and 9 to 12": runs of three or
// more as their ends.
std::string StepsWords(const std::vector<int>& steps) {
    std::vector<std::string> parts;
    for (size_t i = 0; i < steps.size();) {
        size_t end = i;
        while (end + 1 < steps.size() && steps[end + 1] == steps[end] + 1) ++end;
        if (end - i >= 2) {
            parts.push_back(std::to_string(steps[i]) + " to " + std::to_string(steps[end]));
            i = end + 1;
        } else {
            parts.push_back(std::to_string(steps[i++]));
        }
    }
    return (steps.size() == 1 ? "step " : "steps ") + Joined(parts);
}

// The tree without the controls named, said after the words; where one is
// not a control of the tree, or is Form1 or ListView1, that in one line.
bool LeaveOut(const std::vector<std::string>& names, WindowTree& tree, std::string& words,
              std::string& error) {
    if (names.empty()) return true;
    for (const std::string& n : names) {
        const auto found = std::find_if(tree.windows.begin() + 2, tree.windows.end(),
                                        [&](const TreeWindow& w) { return w.name == n; });
        if (found == tree.windows.end()) {
            std::string controls;
            for (size_t i = 2; i < tree.windows.size(); ++i)
                controls += (i > 2 ? ", " : "") + tree.windows[i].name;
            return Mistake(error, "--without " + n + ": the controls a test may leave out are " +
                                      (controls.empty() ? "none" : controls));
        }
        tree.windows.erase(found);
    }
    words += ", without " + Joined(names);
    return true;
}

// The start and the first step where `against` paints otherwise, from the
// state before it (or before the earlier steps asked for): the plan and the
// reference's paints cut to them.
bool CutToFirstDifference(Smallest& smallest, Recording& reference, Plan& plan,
                          std::string& error) {
    const Recording& against = *smallest.against;
    const Comparison c = CompareSystems(reference.rows, against.rows);
    const auto first = std::find_if(c.paints.begin(), c.paints.end(),
                                    [](const AlignedPaint& p) { return !p.paint.empty(); });
    if (first == c.paints.end())
        return Mistake(error, against.file + " paints as " + reference.file +
                                  " does: no test shows a difference");
    std::vector<int> earlier = smallest.earlier;
    std::sort(earlier.begin(), earlier.end());
    earlier.erase(std::unique(earlier.begin(), earlier.end()), earlier.end());
    for (const int n : earlier)
        if (n <= 0 || n >= first->step ||
            std::none_of(plan.steps.begin(), plan.steps.end(),
                         [&](const PlayStep& s) { return s.number == n; }))
            return Mistake(error, "--with-steps " + std::to_string(n) +
                                      ": the steps played before the one that differs (step " +
                                      std::to_string(first->step) + ") are among 1 to " +
                                      std::to_string(first->step - 1));
    const size_t steps = plan.steps.size();
    plan = StartAndStep(plan, first->step, earlier);
    if (plan.steps.empty())
        return Mistake(error, MessagesPath(reference.file) + " has no step " +
                                  std::to_string(first->step) + " to play");
    std::vector<PaintRow> kept;
    for (const PaintRow& r : reference.rows)
        if (r.step == 0 || r.step == first->step) kept.push_back(r);
    reference.rows = kept;
    const std::string of = ", of " + std::to_string(steps) + " steps";
    smallest.step = first->step;
    smallest.words = !first->step ? "the start alone" + of
                     : earlier.empty()
                         ? "the start and step " + std::to_string(first->step) + " " +
                               first->action + ", from the state before it" + of
                         : "the start, " + StepsWords(earlier) + " from the state before " +
                               StepsWords({earlier.front()}) + ", then step " +
                               std::to_string(first->step) + " " + first->action + of;
    return true;
}

bool ExportTest(const Recording& recorded, const std::vector<Recording>& others,
                const std::string& name, bool messages, std::string& source, std::string& error,
                bool* messagesChecked, Smallest* smallest) {
    Recording reference = recorded;
    if (!IsCName(name))
        return Mistake(error, "--name " + name +
                                  ": a test's name must be a C name (letters, digits and _, "
                                  "not starting with a digit)");
    WindowTree tree;
    Plan plan;
    if (!ReadTree(reference.facts.windows, reference.facts.columns, reference.facts.listView, tree,
                  error))
        return Mistake(error, reference.file + ": " + error);
    if (!PlanFromLog(reference.log, tree, plan, error))
        return Mistake(error, MessagesPath(reference.file) + ": " + error);
    if (!Exportable(reference, others, tree, plan, error)) return false;
    if (messagesChecked) *messagesChecked = false;
    if (smallest && smallest->against) {
        if (!CutToFirstDifference(*smallest, reference, plan, error) ||
            !LeaveOut(smallest->without, tree, smallest->words, error))
            return false;
        source = SmallestSource(reference, *smallest->against, tree, plan,
                                Kept{smallest->step, smallest->words}, name);
        return true;
    }

    std::string body = kTestBody;
    const std::string start = "START_TEST(TEST_NAME)";
    body.replace(body.find(start), start.size(), "START_TEST(" + name + ")");
    bool checked = false;
    for (const PlayStep& s : plan.steps) checked = checked || Checked(s, messages);
    if (messagesChecked) *messagesChecked = checked;
    source = OpeningComment(reference, others, name, messages, checked) +
             "\n#include <stdio.h>\n#include <string.h>\n\n#include <windows.h>\n"
             "#include <commctrl.h>\n\n#include \"wine/test.h\"\n\n"
             "#ifndef ARRAY_SIZE\n#define ARRAY_SIZE(a) (sizeof(a) / sizeof((a)[0]))\n#endif\n\n"
             "/* The display scale it was recorded at, in dots per inch; 0: not recorded. */\n"
             "#define RECORDED_DPI " +
             std::to_string(reference.facts.dpi) + "\n\n" + WorkArea(reference, plan) +
             TreeTables(tree, reference.facts) + StepTable(plan, messages) +
             LayoutTables(plan, tree) + PaintTables(reference, others, plan) +
             MessageTables(plan, messages, checked) + body;
    return true;
}

}  // namespace transcript
