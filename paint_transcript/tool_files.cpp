// The tool's files: read, written, and checked before anything is played
// or written; and its lines of output.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tool_files.h"

#include "self_test.h"

namespace transcript {

// A line of output. No printf: its formatting code would be a tenth of the tool.
void Say(FILE* to, const std::string& line) {
    std::fputs((line + "\n").c_str(), to);
}

// "49 paints", and why a transcript was cut short if it was.
std::string Paints(const std::vector<PaintRow>& rows, const std::string& cutShort) {
    return std::to_string(rows.size()) + (rows.size() == 1 ? " paint" : " paints") +
           (cutShort.empty() ? "" : ", cut short: " + cutShort);
}

bool ReadFile(const std::string& path, std::string& text) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool ReadTranscript(const std::string& path, std::vector<PaintRow>& rows, std::string& cutShort,
                    transcript::SystemFacts* system) {
    std::string text, error;
    if (!ReadFile(path, text)) {
        Say(stderr, "paint_transcript: cannot read " + path);
        return false;
    }
    if (!transcript::ParseCsv(text, rows, error, &cutShort, system)) {
        Say(stderr, "paint_transcript: " + path + ": " + error);
        return false;
    }
    return true;
}

// Whether two names are one file: the same full path, or, for files that
// exist, the same file on the same volume (another spelling, a link).
bool SameFile(const std::string& a, const std::string& b) {
    char fullA[MAX_PATH], fullB[MAX_PATH];
    if (GetFullPathNameA(a.c_str(), MAX_PATH, fullA, nullptr) &&
        GetFullPathNameA(b.c_str(), MAX_PATH, fullB, nullptr) && lstrcmpiA(fullA, fullB) == 0)
        return true;
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    int found = 0;
    for (const std::string* path : {&a, &b}) {
        HANDLE file = CreateFileA(path->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        found += GetFileInformationByHandle(file, &info[found]) != 0;
        CloseHandle(file);
    }
    return found == 2 && info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// Whether a file can be written, found out without changing it: one that
// is not there yet is made and taken away again.
bool CanWrite(const std::string& path, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Mistake(error, "cannot write " + path + ": it is a folder");
    FILE* file = std::fopen(path.c_str(), "ab");
    if (!file)
        return Mistake(
            error, "cannot write " + path + ": " +
                       (attributes == INVALID_FILE_ATTRIBUTES ? "no such folder, or no permission"
                                                              : "no permission, or it is in use"));
    std::fclose(file);
    if (attributes == INVALID_FILE_ATTRIBUTES) DeleteFileA(path.c_str());
    return true;
}

// Every file named is checked before anything is played or written: each
// output can be written, and none is an input or another output.
bool CheckOutputs(const Options& o, std::string& error) {
    const std::vector<transcript::NamedFile> files = transcript::FilesNamed(o);
    for (size_t i = 0; i < files.size(); ++i) {
        const transcript::NamedFile& out = files[i];
        if (!out.written) continue;
        for (const transcript::NamedFile& in : files)
            if (!in.written && SameFile(out.path, in.path))
                return Mistake(error, out.option + " " + out.path +
                                          " would overwrite the file it reads (" + in.option + ")");
        for (size_t k = 0; k < i; ++k)
            if (files[k].written && SameFile(out.path, files[k].path))
                return Mistake(error, files[k].option + " and " + out.option +
                                          " name the same file, " + out.path);
        if (!CanWrite(out.path, error)) return false;
    }
    return true;
}

namespace {

bool Put(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file) ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

bool WriteFile(const std::string& path, const std::string& text) {
    const bool ok = Put(path, text);
    if (!ok) Say(stderr, "paint_transcript: cannot write " + path);
    return ok;
}

bool ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& files) {
    // Each beside its file first, then over them in moves back to back, the
    // last named last: a tool ended half-way through leaves each old file
    // whole, and ended between the moves, only that short a moment apart.
    bool ok = true;
    for (const auto& [path, text] : files) ok = ok && Put(path + ".part", text);
    for (const auto& [path, text] : files) {
        const std::string part = path + ".part";
        ok = ok && MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        if (!ok) DeleteFileA(part.c_str());
    }
    return ok;
}

bool OnlyRecording() {
    // Held until the process ends.
    HANDLE recording = CreateMutexA(nullptr, FALSE, "Local\\PaintProbeTranscriptRecording");
    if (!recording || GetLastError() != ERROR_ALREADY_EXISTS) return true;
    Say(stderr,
        "paint_transcript: another paint_transcript is recording in this session; "
        "two at once would mix their mouse input. Wait for it to end.");
    return false;
}

// The message log beside a transcript, if it has one; false only when one
// is there and cannot be read.
bool ReadMessages(const std::string& transcriptPath, std::vector<MessageRow>& rows, bool& found) {
    const std::string path = transcript::MessagesPath(transcriptPath);
    found = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::string text, error;
    if (!found) return true;
    if (!ReadFile(path, text)) {
        Say(stderr, "paint_transcript: cannot read " + path);
        return false;
    }
    if (!transcript::ParseMessagesCsv(text, rows, error)) {
        Say(stderr, "paint_transcript: " + path + ": " + error);
        return false;
    }
    return true;
}

bool ReadRecording(const std::string& path, Recording& r) {
    r.file = path;
    if (!ReadTranscript(path, r.rows, r.cut, &r.facts) || !ReadMessages(path, r.log, r.logged))
        return false;
    // A self-test kept beside a transcript was run on its system; as a
    // console wrote it, where the output was kept by redirecting it.
    if (ReadFile(SelfTestPath(path), r.selfTest))
        r.selfTest.erase(std::remove(r.selfTest.begin(), r.selfTest.end(), '\r'), r.selfTest.end());
    return true;
}

}  // namespace transcript
