// The tool's files and output, shared by its ways of running: lines said,
// files read and written, and the outputs checked before anything starts.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "message_log.h"
#include "options.h"
#include "recording.h"
#include "transcript_rows.h"

namespace transcript {

// A line of output. No printf: its formatting code would be a tenth of the tool.
void Say(FILE* to, const std::string& line);
// "49 paints", and why a transcript was cut short if it was.
std::string Paints(const std::vector<PaintRow>& rows, const std::string& cutShort);

bool ReadFile(const std::string& path, std::string& text);
// False, said, where it cannot be read or is no transcript.
bool ReadTranscript(const std::string& path, std::vector<PaintRow>& rows, std::string& cutShort,
                    SystemFacts* system = nullptr);
// The message log beside a transcript, if it has one; false, said, only
// when one is there and cannot be read.
bool ReadMessages(const std::string& transcriptPath, std::vector<MessageRow>& rows, bool& found);
// A recording read once: its transcript, the message log and the
// self-test kept beside it. False, said, as the two above.
bool ReadRecording(const std::string& path, Recording& recording);
// False, said, where it cannot be written.
bool WriteFile(const std::string& path, const std::string& text);
// Each written whole or not at all (the old file left as it was), all
// beside first, then moved over in turn: false, unsaid, where one could not be.
bool ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& files);

// Every file named is checked before anything is played or written: each
// output can be written, and none is an input or another output.
bool CheckOutputs(const Options& o, std::string& error);

// One recording at a time in a session, for the mouse is shared: false,
// said, where another is recording.
bool OnlyRecording();
// --self-test: what recordings need of this system, checked and said.
int SelfTest(const Options& o);

// --compare: two systems paint by paint and message by message, or many
// against the first. --from: a transcript read and written again.
int CompareFiles(const Options& o);
int ConvertFile(const Options& o);
// --export-test: a transcript, and others also accepted, as a conformance test.
int ExportFile(const Options& o);

}  // namespace transcript
