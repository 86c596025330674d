// What a recording knows of the system it ran on: the system's true name,
// from the version numbers it gives, and the facts beside it that decide a
// list view's paints (display scale, visual styles, comctl32, font).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace transcript {

// The numbers a system gives of itself, read where the recording runs.
struct SystemVersion {
    unsigned major = 0, minor = 0, build = 0;
    bool server = false;      // a server product rather than a workstation
    std::string servicePack;  // "Service Pack 3", or empty
    std::string reactos;      // what ReactOS adds after the service pack ("ReactOS 0.4.15")
    std::string wine;         // Wine's own version ("8.0"), or empty
    std::string wineBuild;    // Wine's build ("wine-8.0 (Debian 8.0~repack-4)"), or empty
};

// "Windows 11 (10.0 build 22631)", "Windows XP Service Pack 3 (5.1 build
// 2600)", "ReactOS 0.4.15", "Wine 10.0 (Debian 10.0~repack-6)".
std::string SystemName(const SystemVersion& v);

// "96 dpi (100 %)", "144 dpi (150 %)".
std::string ScaleText(int dpi);

// comctl32 as the DLL gives its version, and where it was loaded from:
// "5.81 build 2919 (side by side 6.0.2600.2982)", "5.82 build 7601 (system32)".
std::string Comctl32Text(unsigned major, unsigned minor, unsigned build, const std::string& path);
// A font as asked for (its LOGFONT face and height) and as drawn (the face
// the system chose, its pixel height): "MS Sans Serif 8 pt drawn as Tahoma
// (13 px)"; "Tahoma 8 pt (13 px)" where it drew the face asked for.
std::string FontText(const std::string& face, int logHeight, const std::string& drawn,
                     int pixelHeight, int dpi);

// The monitor Form1 was on, and where a maximize puts it: "1280x1024 with
// work area 0,0,1280,994"; on a Wine desktop of the tool's own, "1280x1024
// (a Wine desktop of the tool's own) with work area 0,0,1280,1024".
std::string ScreenText(int width, int height, const int (&workArea)[4], bool ownDesktop);

// What a transcript records of its system, a comment line each
// ("# system: Wine 8.0"); empty where it was not recorded.
struct SystemFacts {
    std::string system;
    std::string scale;     // ScaleText
    std::string styles;    // visual styles: "on", "off"
    std::string comctl32;  // the version the program loaded: "6.0 build 2600"
    std::string font;      // its controls': "MS Sans Serif 8 pt drawn as Tahoma (13 px)"
    std::string screen;    // ScreenText
    std::string hook;      // only where it missed the start: how it was set, and why
    // The numbers within them, as measured where the program ran here, and
    // taken from their words once where a file is read; 0 and "" unknown.
    int dpi = 0;
    std::string fontFace;  // as the program asked for it, "MS Sans Serif"
    int fontHeight = 0;    // its LOGFONT height: negative for the character's
    int screenWidth = 0, screenHeight = 0;
    int workArea[4] = {};  // left, top, right, bottom
    // The program's windows and its list view's columns (WindowLine,
    // ColumnLine), and the list view's extended styles ("0x00000000"): how
    // a test builds the same tree. Not facts of the system, so never compared.
    std::vector<std::string> windows, columns;
    std::string listView;
};

// The facts as (label, value), in the order they are written and shown.
std::vector<std::pair<std::string, std::string>> FactList(const SystemFacts& f);
// The comment lines a transcript carries, without their line breaks.
std::vector<std::string> FactLines(const SystemFacts& f);
// Takes one comment ("# font: ...") into the facts; false if it is none.
bool ReadFactComment(const std::string& comment, SystemFacts& f);
// The screen fact, its words and its numbers, from the numbers.
void SetScreen(SystemFacts& f, int width, int height, const int (&workArea)[4], bool ownDesktop);

// Which facts differ between systems, a line each ("display scale: 96 dpi
// (100 %) on A, 144 dpi (150 %) on B"); none where they all agree. Facts a
// file does not hold are left out.
std::vector<std::string> FactDifferences(const std::vector<SystemFacts>& systems,
                                         const std::vector<std::string>& names);

// Where none differ, the facts every system holds, as a line: "display
// scale, visual styles, comctl32, font and screen: alike"; empty where
// they hold none in common.
std::string FactsAlike(const std::vector<SystemFacts>& systems);

// The names systems go by in a comparison: each system's own name, or the
// file's where it has none; two with one name are told apart by their
// files ("Wine 10.0 (trixie.csv)"). `note` says so when that happened.
std::vector<std::string> DistinctNames(const std::vector<std::string>& systems,
                                       const std::vector<std::string>& files, std::string& note);

}  // namespace transcript
