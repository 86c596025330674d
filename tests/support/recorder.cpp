#include "recorder.h"

namespace {
bool Listening = false;
std::vector<std::string> Log;
}  // namespace

void StartRecording() {
    Log.clear();
    Listening = true;
}

std::vector<std::string> StopRecording() {
    Listening = false;
    return std::move(Log);
}

bool Recording() {
    return Listening;
}

void Record(const std::string& event) {
    if (Listening) Log.push_back(event);
}

std::string Escaped(const char* text) {
    std::string out;
    for (; *text; ++text) {
        if (*text == '\r')
            out += "\\r";
        else if (*text == '\n')
            out += "\\n";
        else
            out += *text;
    }
    return out;
}
