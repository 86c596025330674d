// Names systems from their version numbers, and writes and reads the facts
// a transcript records of its system.
#include "system_facts.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "text_fields.h"

namespace transcript {

namespace {

// Windows by the version it gives once its manifest lists it: the
// workstation and server products, the newest build that still goes by a
// name first (Windows 11 is 10.0 from build 22000).
struct Product {
    unsigned major, minor, fromBuild;
    const char* workstation;
    const char* server;
};
const Product kProducts[] = {
    {10, 0, 26100, "Windows 11", "Windows Server 2025"},
    {10, 0, 22000, "Windows 11", "Windows Server 2022"},
    {10, 0, 20348, "Windows 10", "Windows Server 2022"},
    {10, 0, 17763, "Windows 10", "Windows Server 2019"},
    {10, 0, 0, "Windows 10", "Windows Server 2016"},
    {6, 3, 0, "Windows 8.1", "Windows Server 2012 R2"},
    {6, 2, 0, "Windows 8", "Windows Server 2012"},
    {6, 1, 0, "Windows 7", "Windows Server 2008 R2"},
    {6, 0, 0, "Windows Vista", "Windows Server 2008"},
    {5, 2, 0, "Windows XP Professional x64", "Windows Server 2003"},
    {5, 1, 0, "Windows XP", "Windows XP"},
    {5, 0, 0, "Windows 2000", "Windows 2000 Server"},
};

std::string WindowsName(const SystemVersion& v) {
    std::string name;
    for (const Product& p : kProducts)
        if (v.major == p.major && v.minor == p.minor && v.build >= p.fromBuild) {
            name = v.server ? p.server : p.workstation;
            break;
        }
    if (name.empty()) name = "Windows";
    if (!v.servicePack.empty()) name += " " + v.servicePack;
    return name + " (" + std::to_string(v.major) + "." + std::to_string(v.minor) + " build " +
           std::to_string(v.build) + ")";
}

// "wine-10.0 (Debian 10.0~repack-6)" -> "(Debian 10.0~repack-6)": what a
// distribution adds, which tells two builds of one version apart.
std::string WineBuildNote(const SystemVersion& v) {
    const size_t open = v.wineBuild.find(" (");
    if (open == std::string::npos || v.wineBuild.back() != ')') return "";
    return v.wineBuild.substr(open + 1);
}

// The facts, each with its label and where it is kept.
struct FactField {
    const char* label;
    std::string SystemFacts::*value;
};
// The tree's lines, beside the facts but not among them.
const char* const kWindow = "# window: ";
const char* const kColumn = "# column: ";
const char* const kListView = "# list view extended style: ";

const FactField kFields[] = {
    {"system", &SystemFacts::system},
    {"display scale", &SystemFacts::scale},
    {"visual styles", &SystemFacts::styles},
    {"comctl32", &SystemFacts::comctl32},
    {"font", &SystemFacts::font},
    {"screen", &SystemFacts::screen},
    {"hook", &SystemFacts::hook},
};

// "1280x1024 ... with work area 0,0,1280,994": all or none of its numbers.
void ScreenFromWords(SystemFacts& f) {
    f.screenWidth = f.screenHeight = 0;
    std::fill(std::begin(f.workArea), std::end(f.workArea), 0);
    const std::string size = f.screen.substr(0, f.screen.find(" "));
    const size_t x = size.find('x');
    const char* const kWork = "work area ";
    const size_t work = f.screen.find(kWork);
    const std::vector<std::string> edges =
        work == std::string::npos ? std::vector<std::string>()
                                  : Split(f.screen.substr(work + std::strlen(kWork)), ',');
    int32_t n[6] = {};
    if (x == std::string::npos || edges.size() != 4 || !ParseInt(size.substr(0, x), n[0]) ||
        !ParseInt(size.substr(x + 1), n[1]))
        return;
    for (size_t i = 0; i < 4; ++i)
        if (!ParseInt(edges[i], n[2 + i])) return;
    f.screenWidth = n[0], f.screenHeight = n[1];
    std::copy(n + 2, n + 6, f.workArea);
}

// The numbers in the scale's and the font's words ("144 dpi (150 %)",
// "MS Sans Serif 8 pt drawn as Tahoma (13 px)"), the font's point size at
// the scale (96 dpi where none is given).
void NumbersFromWords(SystemFacts& f) {
    ScreenFromWords(f);
    int32_t dpi = 0;
    f.dpi = ParseInt(f.scale.substr(0, f.scale.find(' ')), dpi) ? dpi : 0;
    f.fontFace.clear();
    f.fontHeight = 0;
    const std::vector<std::string> words = Split(f.font, ' ');
    for (size_t i = 1; i + 1 < words.size(); ++i) {
        int32_t size = 0;
        if ((words[i + 1] != "pt" && words[i + 1] != "units") || !ParseInt(words[i], size))
            continue;
        const int at = f.dpi ? f.dpi : 96;
        f.fontHeight = words[i + 1] == "pt" ? -((size * at + 36) / 72) : size;
        for (size_t k = 0; k < i; ++k) f.fontFace += (k ? " " : "") + words[k];
        return;
    }
}

}  // namespace

std::string SystemName(const SystemVersion& v) {
    if (!v.wine.empty()) {
        const std::string note = WineBuildNote(v);
        return "Wine " + v.wine + (note.empty() ? "" : " " + note);
    }
    if (v.reactos.compare(0, 8, "ReactOS ") == 0 || v.reactos == "ReactOS") return v.reactos;
    return WindowsName(v);
}

std::string ScaleText(int dpi) {
    return std::to_string(dpi) + " dpi (" + std::to_string((dpi * 100 + 48) / 96) + " %)";
}

std::string ScreenText(int width, int height, const int (&workArea)[4], bool ownDesktop) {
    return std::to_string(width) + "x" + std::to_string(height) +
           (ownDesktop ? " (a Wine desktop of the tool's own)" : "") + " with work area " +
           std::to_string(workArea[0]) + "," + std::to_string(workArea[1]) + "," +
           std::to_string(workArea[2]) + "," + std::to_string(workArea[3]);
}

void SetScreen(SystemFacts& f, int width, int height, const int (&workArea)[4], bool ownDesktop) {
    f.screen = ScreenText(width, height, workArea, ownDesktop);
    f.screenWidth = width, f.screenHeight = height;
    std::copy(std::begin(workArea), std::end(workArea), f.workArea);
}

std::string Comctl32Text(unsigned major, unsigned minor, unsigned build, const std::string& path) {
    std::string out = major ? std::to_string(major) + "." + std::to_string(minor) + " build " +
                                  std::to_string(build)
                            : "version not given";
    // A side-by-side assembly's folder: arch_name_key_version_language_hash.
    const size_t sxs = path.find("common-controls_");
    if (sxs != std::string::npos) {
        const size_t key = path.find('_', sxs + 16);
        const size_t end = key == std::string::npos ? key : path.find('_', key + 1);
        if (end != std::string::npos)
            return out + " (side by side " + path.substr(key + 1, end - key - 1) + ")";
    }
    const size_t file = path.find_last_of("\\/");
    const size_t folder = file == std::string::npos || file == 0
                              ? std::string::npos
                              : path.find_last_of("\\/", file - 1);
    if (file != std::string::npos)
        out += " (" + path.substr(folder == std::string::npos ? 0 : folder + 1, file - folder - 1) +
               ")";
    return out;
}

std::string FontText(const std::string& face, int logHeight, const std::string& drawn,
                     int pixelHeight, int dpi) {
    // A negative height is the character height, a positive one the cell's.
    std::string size;
    if (logHeight < 0 && dpi > 0)
        size = std::to_string((-logHeight * 72 + dpi / 2) / dpi) + " pt";
    else
        size = std::to_string(logHeight) + " units";
    const std::string px = " (" + std::to_string(pixelHeight) + " px)";
    if (drawn.empty() || drawn == face) return face + " " + size + px;
    return face + " " + size + " drawn as " + drawn + px;
}

std::vector<std::pair<std::string, std::string>> FactList(const SystemFacts& f) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const FactField& field : kFields)
        if (!(f.*field.value).empty()) out.emplace_back(field.label, f.*field.value);
    return out;
}

std::vector<std::string> FactLines(const SystemFacts& f) {
    std::vector<std::string> out;
    for (const auto& [label, value] : FactList(f)) out.push_back("# " + label + ": " + value);
    for (const std::string& w : f.windows) out.push_back(kWindow + w);
    if (!f.listView.empty()) out.push_back(kListView + f.listView);
    for (const std::string& c : f.columns) out.push_back(kColumn + c);
    return out;
}

bool ReadFactComment(const std::string& comment, SystemFacts& f) {
    const auto after = [&](const char* start) {
        return comment.compare(0, std::strlen(start), start) == 0;
    };
    if (after(kWindow)) {
        f.windows.push_back(comment.substr(std::strlen(kWindow)));
        return true;
    }
    if (after(kColumn)) {
        f.columns.push_back(comment.substr(std::strlen(kColumn)));
        return true;
    }
    if (after(kListView)) {
        f.listView = comment.substr(std::strlen(kListView));
        return true;
    }
    for (const FactField& field : kFields) {
        const std::string start = std::string("# ") + field.label + ": ";
        if (comment.compare(0, start.size(), start) == 0) {
            f.*field.value = comment.substr(start.size());
            NumbersFromWords(f);
            return true;
        }
    }
    return false;
}

std::vector<std::string> FactDifferences(const std::vector<SystemFacts>& systems,
                                         const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const FactField& field : kFields) {
        if (field.value == &SystemFacts::system) continue;  // the names say that
        std::string line, first;
        bool differs = false, seen = false;
        for (size_t k = 0; k < systems.size(); ++k) {
            const std::string& value = systems[k].*field.value;
            if (value.empty()) continue;
            differs = differs || (seen && value != first);
            if (!seen) first = value, seen = true;
            line += std::string(line.empty() ? "" : ", ") + value + " on " + names[k];
        }
        if (differs) out.push_back(std::string(field.label) + " differs: " + line);
    }
    return out;
}

std::string FactsAlike(const std::vector<SystemFacts>& systems) {
    std::vector<std::string> held;
    for (const FactField& field : kFields) {
        if (field.value == &SystemFacts::system || field.value == &SystemFacts::hook) continue;
        if (!systems.empty() &&
            std::none_of(systems.begin(), systems.end(),
                         [&](const SystemFacts& f) { return (f.*field.value).empty(); }))
            held.push_back(field.label);
    }
    std::string line;
    for (size_t i = 0; i < held.size(); ++i)
        line += (i == 0 ? "" : i + 1 == held.size() ? " and " : ", ") + held[i];
    return line.empty() ? line : line + ": alike";
}

std::vector<std::string> DistinctNames(const std::vector<std::string>& systems,
                                       const std::vector<std::string>& files, std::string& note) {
    note.clear();
    std::vector<std::string> names;
    for (size_t k = 0; k < files.size(); ++k)
        names.push_back(k < systems.size() && !systems[k].empty() ? systems[k] : files[k]);
    const std::vector<std::string> given = names;
    for (size_t k = 0; k < names.size(); ++k) {
        if (std::count(given.begin(), given.end(), given[k]) < 2 || names[k] == files[k]) continue;
        if (note.empty()) note = "recorded on systems of one name, told apart by their files:";
        note += " " + names[k] + " (" + files[k] + ")";
        names[k] += " (" + files[k] + ")";
    }
    return names;
}

}  // namespace transcript
