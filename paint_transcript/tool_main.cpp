// The tool's start: the one place that catches, so that what goes wrong
// ends with a word rather than a trace.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "options.h"

// Ends with a word rather than a trace: an exception nobody caught (there
// should be none; main catches what it can) or a call of std::terminate. It
// also keeps the runtime's C++ name demangler, a fifth of the tool, out.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::fputs("paint_transcript: internal error: terminate called\n", stderr);
    std::abort();
}
}  // namespace __gnu_cxx

int Run(const std::vector<std::string>& args);

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::bad_alloc&) {
        std::fputs("paint_transcript: out of memory\n", stderr);
    } catch (const std::exception& e) {
        std::fputs(("paint_transcript: internal error: " + std::string(e.what()) + "\n").c_str(),
                   stderr);
    }
    return transcript::kMistake;
}
