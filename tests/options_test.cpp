// Command lines and what they read as, or their one-line mistake.
#include <gmock/gmock.h>

#include "options.h"
#include "text_fields.h"

using namespace transcript;

namespace {

// A command line as typed, its words apart by blanks.
std::vector<std::string> Words(const std::string& line) {
    return line.empty() ? std::vector<std::string>() : Split(line, ' ');
}

std::string MistakeIn(const std::string& line) {
    Options o;
    std::string error;
    return ParseOptions(Words(line), o, error) ? "" : error;
}

Options Read(const std::string& line) {
    Options o;
    std::string error;
    EXPECT_TRUE(ParseOptions(Words(line), o, error)) << line << ": " << error;
    return o;
}

TEST(Options, EachMistakeIsNamedInOneLine) {
    const struct {
        const char* line;
        const char* mistake;
    } table[] = {
        {"--bogus", "there is no option \"--bogus\""},
        {"stray", "unexpected \"stray\""},
        {"--scenario nosuch",
         "there is no scenario \"nosuch\"; there are drag, right, corner, top, grow, narrow, "
         "maxrestore, and all"},
        {"--steps 0", "--steps takes a whole number from 1 to 100, not \"0\""},
        {"--pixels -5", "--pixels takes a whole number from 1 to 100, not \"-5\""},
        {"--steps abc", "--steps takes a whole number from 1 to 100, not \"abc\""},
        {"--max-paints 8193", "--max-paints takes a whole number from 1 to 8192, not \"8193\""},
        {"--csv", "--csv needs a file after it"},
        {"--check", "--check needs a reference transcript after it"},
        {"--csv a --csv b", "--csv is given twice"},
        {"--compare one.csv", "--compare needs two transcripts or more after it, A and B ..."},
        {"--compare a.csv b.csv c.csv --names x,y", "--names gives 2 names for 3 transcripts"},
        {"--compare a.csv b.csv --names x,y,z", "--names gives 3 names for 2 transcripts"},
        {"--all", "--all does not apply to a scenario"},
        {"--scenario-file f --steps 3", "--steps does not apply to a scenario file"},
        {"--scenario grow --steps 3", "--steps does not apply to scenario grow: it has no drags"},
        {"--by-hand --pixels 3", "--pixels does not apply to --by-hand"},
        {"--compare a b --csv c", "--csv does not apply to --compare"},
        {"--from a --no-messages", "--no-messages does not apply to --from"},
        {"--list-scenarios --csv x", "--csv does not apply to --list-scenarios"},
        {"--by-hand --compare a b", "--compare and --by-hand do not go together"},
        {"--scenario drag --scenario-file f", "--scenario and --scenario-file do not go together"},
        {"--no-messages --messages all", "--no-messages and --messages do not go together"},
        {"--messages some", "--messages takes \"all\", not \"some\""},
        {"--export-test t.c",
         "--export-test needs the C file to write, then the transcript it "
         "expects (OUT.c REFERENCE.csv)"},
        {"--export-test a.csv b.csv",
         "--export-test writes C: name the file to write first (OUT.c "
         "REFERENCE.csv), not a.csv"},
        {"--compare a b --name x", "--name does not apply to --compare"},
        {"--export-test t.c a.csv --all", "--all does not apply to --export-test"},
        {"--compare a b c --bug-report r.md", "--bug-report compares two transcripts, not 3"},
        {"--export-test t.c a.csv b.csv --against c.csv",
         "--against shows where one transcript differs: it takes no systems accepted beside the "
         "reference"},
        {"--compare a b --against c.csv", "--against does not apply to --compare"},
        {"--export-test t.c a.csv --against b.csv --messages all",
         "--against writes the smallest test of a paint; the list view's messages are checked in "
         "the whole recording's test (leave out --against)"},
        {"--export-test t.c a.csv --with-steps 3",
         "--with-steps adds steps to the smallest test: "
         "it needs --against"},
        {"--export-test t.c a.csv --against b.csv --with-steps 3,x",
         "--with-steps takes step numbers from 1 up, each after a comma (47,50), not \"3,x\""},
        {"--export-test t.c a.csv --without Text1",
         "--without leaves controls out of the smallest test: it needs --against"},
        {"--compare a b --attach t.c",
         "--attach names the test a bug report attaches: it needs "
         "--bug-report"},
    };
    for (const auto& c : table) EXPECT_EQ(MistakeIn(c.line), c.mistake) << c.line;
}

TEST(Options, EachWayOfRunningTakesItsOwnOptions) {
    Options o = Read("");
    EXPECT_EQ(o.mode, Mode::Scenario);
    EXPECT_EQ(o.scenario, "drag");
    EXPECT_EQ(o.steps, 10);
    EXPECT_EQ(MessagesKept(o), 0) << "nothing written, nothing logged";

    o = Read("--scenario right --steps +5 --pixels 007 --csv t.csv --messages all --quiet");
    EXPECT_EQ(o.scenario, "right");
    EXPECT_EQ(o.steps, 5);
    EXPECT_EQ(o.pixels, 7);
    EXPECT_TRUE(o.quiet);
    EXPECT_EQ(MessagesKept(o), 2);
    EXPECT_EQ(MessagesKept(Read("--html r.html")), 1);
    EXPECT_EQ(MessagesKept(Read("--csv t.csv --no-messages")), 0);

    o = Read("--compare a.csv b.csv c.csv --names A,B,C --all");
    EXPECT_EQ(o.mode, Mode::Compare);
    EXPECT_THAT(o.compare, testing::ElementsAre("a.csv", "b.csv", "c.csv"));
    EXPECT_EQ(o.names, "A,B,C");

    EXPECT_EQ(Read("--scenario-file s.txt --from-outside").mode, Mode::ScenarioFile);
    EXPECT_EQ(Read("--by-hand --save-scenario s.txt").mode, Mode::ByHand);
    EXPECT_EQ(Read("--from t.csv --html r.html").mode, Mode::From);
    EXPECT_EQ(Read("--list-scenarios --steps 3").mode, Mode::List);
    o = Read("--export-test t.c a.csv b.csv --name paints");
    EXPECT_EQ(o.mode, Mode::Export);
    EXPECT_EQ(o.exportTest, "t.c");
    EXPECT_THAT(o.exported, testing::ElementsAre("a.csv", "b.csv"));
    EXPECT_EQ(o.testName, "paints");
    EXPECT_EQ(Read("--by-hand /?").mode, Mode::Help) << "help, whatever else is asked";
}

// The files a command line names, each read or written, with the message
// logs that come with them: what the tool checks before it writes anything.
TEST(Options, EveryFileNamedIsReadOrWritten) {
    const struct {
        const char* line;
        const char* files;  // "option path r|w", apart by "; "
    } table[] = {
        {"--scenario-file s.txt --check ref.csv --csv t.csv --screenshot f.bmp",
         "--scenario-file s.txt r; --csv t.csv w; --check ref.csv r; --screenshot f.bmp w; "
         "--csv's message log t.messages.csv w"},
        {"--csv t.csv --no-messages", "--csv t.csv w"},
        {"--from a.csv --html a.html",
         "--from a.csv r; --html a.html w; --from's message log a.messages.csv r"},
        {"--compare a.csv b.csv --bug-report r.md",
         "--compare a.csv r; --compare b.csv r; --bug-report r.md w; "
         "--compare's message log a.messages.csv r; --compare's message log b.messages.csv r"},
        {"--export-test t.c a.csv",
         "--export-test t.c w; --export-test a.csv r; --export-test's message log a.messages.csv "
         "r"},
        {"--self-test --self-test-file s.txt", "--self-test-file s.txt w"},
        {"--by-hand --save-scenario s.txt", "--save-scenario s.txt w"},
    };
    for (const auto& c : table) {
        std::string files;
        for (const NamedFile& f : FilesNamed(Read(c.line)))
            files +=
                (files.empty() ? "" : "; ") + f.option + " " + f.path + (f.written ? " w" : " r");
        EXPECT_EQ(files, c.files) << c.line;
    }
}

// --help lists every option the parser takes, in lines a terminal shows whole.
TEST(Options, HelpNamesEveryOptionWithinEightyColumns) {
    const std::string usage = Usage();
    for (const std::string& line : Split(usage, '\n')) EXPECT_LE(line.size(), 79u) << line;
    for (const char* option : {"--scenario NAME",
                               "--scenario-file FILE",
                               "--steps N",
                               "--pixels M",
                               "--by-hand",
                               "--compare A.csv B.csv",
                               "--from FILE.csv",
                               "--list-scenarios",
                               "--csv FILE",
                               "--html FILE",
                               "--check REFERENCE.csv",
                               "--screenshot FILE.bmp",
                               "--save-scenario FILE",
                               "--max-paints N",
                               "--quiet",
                               "--no-messages",
                               "--messages all",
                               "--max-messages N",
                               "--from-outside",
                               "--on-this-desktop",
                               "--names A,B,C",
                               "--all",
                               "--export-test OUT.c REF.csv",
                               "--name NAME",
                               "--bug-report FILE.md",
                               "--help"})
        EXPECT_NE(usage.find("\n  " + std::string(option) + " "), std::string::npos) << option;
    for (int status = kDone; status <= kBusy; ++status)
        EXPECT_NE(usage.find("\n  " + std::to_string(status) + "  "), std::string::npos);
}

}  // namespace
