// One recording as it was read: its transcript, its facts and its message
// log. The terminal, the pages, the export and the bug report all take it.
#pragma once

#include <string>
#include <vector>

#include "message_log.h"
#include "system_facts.h"
#include "transcript_rows.h"

namespace transcript {

struct Recording {
    std::string file;
    std::string name;  // as a comparison names it; empty until named
    std::vector<PaintRow> rows;
    std::string cut;  // why it was cut short; empty where whole
    SystemFacts facts;
    std::vector<MessageRow> log;
    bool logged = false;   // it has a message log beside it
    std::string selfTest;  // --self-test's lines on its system, where kept beside it
};

}  // namespace transcript
