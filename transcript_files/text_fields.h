// Small pieces of text reading shared by the transcript's readers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace transcript {

// A whole base-10 int32 with an optional minus sign, nothing else: no blank,
// no plus sign, no leading zero, no "-0".
bool ParseInt(const std::string& text, int32_t& value);

// The parts of a text between separators; "" gives one empty part.
std::vector<std::string> Split(const std::string& text, char separator);

}  // namespace transcript
