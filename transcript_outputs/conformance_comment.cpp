// The opening comment of an exported test: what it tests, on which systems
// each expectation was recorded, and how to add it to Wine's or ReactOS's
// tests or build it alone.
#include "conformance_comment.h"

#include <cctype>

#include "text_fields.h"

namespace transcript {

// A comment's text: nothing in it may end the comment.
std::string CComment(std::string text) {
    for (size_t at; (at = text.find("*/")) != std::string::npos;) text.replace(at, 2, "* /");
    return text;
}

// A C string literal of any text.
std::string CText(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += '\\', out += c;
        else if (u >= 32 && u < 127)
            out += c;
        else
            out += "\\" + std::string(1, static_cast<char>('0' + (u >> 6))) +
                   static_cast<char>('0' + ((u >> 3) & 7)) + static_cast<char>('0' + (u & 7));
    }
    return out + "\"";
}

// "0x14cf0000": a style as the tables write it.
std::string Hex8(uint32_t value) {
    return "0x" + HexDigits(value, 8);
}

// "1, 2, 3": numbers as a C initializer lists them.
std::string Ints(std::initializer_list<int> numbers) {
    std::string out;
    for (const int n : numbers) out += (out.empty() ? "" : ", ") + std::to_string(n);
    return out;
}

// "LISTVIEW1" of "ListView1": the control's index in the test's tables.
std::string ConstantName(const std::string& name) {
    std::string out;
    for (const char c : name)
        out +=
            std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::toupper(c)) : '_';
    return out;
}

// A C comment of the text, its words wrapped within 80 columns.
std::string CommentLines(const std::string& text, const std::string& first) {
    std::string out, line = first;
    for (const std::string& word : Split(CComment(text), ' ')) {
        if (line.size() + 1 + word.size() > 76) out += line + "\n", line = " *";
        line += " " + word;
    }
    return out + line + "\n";
}

std::string CommentBlock(const std::string& text) {
    std::string out = CommentLines(text, "/*");
    out.pop_back();
    return out + " */\n";
}

std::string SystemOf(const Recording& s) {
    std::string out = s.facts.system.empty() ? "a system the file does not name" : s.facts.system;
    return out + " (" + BaseName(s.file) + ")";
}

namespace {

enum class Kind { Windows, ReactOS, Wine, Unknown };

// By the name SystemName gives.
Kind KindOf(const Recording& r) {
    const std::string& name = r.facts.system;
    if (name.compare(0, 5, "Wine ") == 0) return Kind::Wine;
    if (name.compare(0, 7, "ReactOS") == 0) return Kind::ReactOS;
    if (name.compare(0, 7, "Windows") == 0) return Kind::Windows;
    return Kind::Unknown;
}

// Each role as the test's table names it, and as the comment introduces a
// system taken in it; in AcceptedAs's order.
const struct {
    const char *name, *words;
} kRoles[] = {
    {"ROLE_BROKEN", "Also accepted, as broken() (another Windows)"},
    {"ROLE_TODO_WINE", "Marked todo_wine, as Wine paints"},
    {"ROLE_TODO_ROS", "Marked todo_ros, as ReactOS paints"},
    {"ROLE_ALTERNATIVE", "Also accepted on every platform"},
};

}  // namespace

AcceptedAs RoleOf(const Recording& reference, const Recording& other) {
    const Kind expected = KindOf(reference), kind = KindOf(other);
    if (kind == Kind::Windows) return AcceptedAs::Broken;
    if (kind == Kind::Wine && (expected == Kind::Windows || expected == Kind::ReactOS))
        return AcceptedAs::TodoWine;
    if (kind == Kind::ReactOS && expected == Kind::Windows) return AcceptedAs::TodoRos;
    return AcceptedAs::Alternative;
}

const char* RoleName(AcceptedAs role) {
    return kRoles[static_cast<int>(role)].name;
}

namespace {

const char* RoleWords(AcceptedAs role) {
    return kRoles[static_cast<int>(role)].words;
}

}  // namespace

// Whether the expectations are Windows', or a regression test's between
// systems that are not Windows.
std::string WhoseExpectations(const Recording& reference) {
    if (KindOf(reference) == Kind::Windows) return " *   (Windows: what the others are held to)\n";
    return " *   (not Windows: a regression test between the systems named here, not a\n"
           " *   test of what Windows does)\n";
}

// The facts a comment line each: " *   display scale: 96 dpi (100 %)".
std::string FactsOf(const SystemFacts& f) {
    std::string out;
    for (const auto& [label, value] : FactList(f))
        if (label != "system") out += " *   " + CComment(label + ": " + value) + "\n";
    return out.empty() ? " *   (nothing more recorded)\n" : out;
}

namespace {

// Why a test checks paints alone, or that it checks messages too.
std::string MessagesWord(bool asked, bool checked) {
    if (checked)
        return " * Then it checks the list view's messages of each step as a sequence (the\n"
               " * message, sent or posted, a window position's SWP_ flags), where the\n"
               " * recording made the step from outside, as this test does; a step made\n"
               " * with real input (a drag, a click) has messages this test does not make.\n";
    return asked ? " * It checks paints only: the recording made its steps with real input (a\n"
                   " * drag, a click), whose messages this test, playing each step as its\n"
                   " * change, does not make; one made with --from-outside checks them too.\n"
                 : " * It checks paints only: the list view's messages are checked where\n"
                   " * asked (--messages all), of a recording made with --from-outside.\n";
}

// How to add it to Wine's or ReactOS's tests, and how to build it alone.
std::string HowToAdd(const std::string& name) {
    return " * Wine: copy it to dlls/comctl32/tests/" + name + ".c, and add " + name +
           ".c\n"
           " *   to SOURCES in that folder's Makefile.in; make test there runs it.\n"
           " * ReactOS: copy it to modules/rostests/apitests/comctl32/, add it to the\n"
           " *   list of sources in CMakeLists.txt there, and to testlist.c:\n"
           " *   extern void func_" +
           name + "(void);\n *   and { \"" + name + "\", func_" + name +
           " } in the table.\n"
           " * Alone: next to it, a testlist.c of\n"
           " *     #include <windows.h>\n"
           " *     #define STANDALONE\n"
           " *     #include \"wine/test.h\"\n"
           " *     extern void func_" +
           name +
           "(void);\n"
           " *     const struct test winetest_testlist[] =\n"
           " *         {{\"" +
           name + "\", func_" + name +
           "}, {0, 0}};\n"
           " *   then, with INCLUDE the folder that holds wine/test.h (Wine's include/,\n"
           " *   or the stand-in that comes with paint_transcript; with Wine's, link\n"
           " *   against Wine's ntdll, which has what its header calls):\n"
           " *     i686-w64-mingw32-gcc -Wall -Wextra -I INCLUDE " +
           name + ".c testlist.c\n *         -o " + name +
           ".exe -lcomctl32 -lgdi32\n"
           " *   It exits with the number of checks that failed.\n"
           " */\n";
}

}  // namespace

std::string OpeningComment(const Recording& reference, const std::vector<Recording>& others,
                           const std::string& name, bool asked, bool checked) {
    std::string out =
        "/* Conformance test: the update region of each WM_PAINT a list view takes while its\n"
        " * parent window is resized, maximized and restored, step by step.\n"
        " *\n"
        " * Written by paint_transcript --export-test from " +
        CComment(BaseName(reference.file)) +
        ".\n"
        " * Expected: as recorded on " +
        CComment(SystemOf(reference)) + ",\n" + WhoseExpectations(reference) +
        FactsOf(reference.facts);
    for (const Recording& other : others)
        out += std::string(" * ") + RoleWords(RoleOf(reference, other)) +
               ", where it differs: " + CComment(SystemOf(other)) + ",\n" + FactsOf(other.facts);
    out +=
        " *\n"
        " * It builds the window tree the recording found (Form1, a list view with its\n"
        " * styles and columns, the other controls) and lays it out on WM_SIZE as the\n"
        " * program did; step 0 is the start, the windows shown. It plays each other\n"
        " * step as the change the step made, from another program's side: a new\n"
        " * client size (this system's frame added, the edges that moved moving), a\n"
        " * move, or ShowWindow for a caption button. It pumps messages until\n"
        " * nothing is left to paint, then checks the number of paints\n"
        " * and each one's region, and the list view's client size, against the tables.\n" +
        MessagesWord(asked, checked) +
        " * A display at another scale than the recording's skips the test; a maximized\n"
        " * Form1 in another work area is taken back to the recording's, its paints'\n"
        " * edges at the list view's right and bottom moved by the difference.\n"
        " *\n" +
        HowToAdd(name);
    return out;
}

}  // namespace transcript
