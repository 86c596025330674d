// The words of an exported test: its opening comment, and the texts the
// tables' comments share with it.
#pragma once

#include <string>
#include <vector>

#include "conformance_export.h"

namespace transcript {

// A comment's text: nothing in it may end the comment.
std::string CComment(std::string text);
// "Wine 8.0 (wine8.csv)": a system by its name and its file.
std::string SystemOf(const Recording& s);
// What the test tests, the systems it expects, how to add and build it;
// whether the list view's messages were asked for and are checked.
std::string OpeningComment(const Recording& reference, const std::vector<Recording>& others,
                           const std::string& name, bool asked, bool checked);

}  // namespace transcript
