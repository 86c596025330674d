// The words of an exported test: its opening comment, the texts the
// tables' comments share with it, and C literals of them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "conformance_export.h"

namespace transcript {

// A comment's text: nothing in it may end the comment.
std::string CComment(std::string text);
// A C string literal of any text.
std::string CText(const std::string& text);
// A C comment of the text, its words wrapped within 80 columns; its lines
// alone (the first begun with `first`, none closing it) for a longer one.
std::string CommentBlock(const std::string& text);
std::string CommentLines(const std::string& text, const std::string& first = " *");
// "0x14cf0000": a style as the tables write it.
std::string Hex8(uint32_t value);
// "1, 2, 3": numbers as a C initializer lists them.
std::string Ints(std::initializer_list<int> numbers);
// "LISTVIEW1" of "ListView1": the control's name as a C constant.
std::string ConstantName(const std::string& name);
// "Wine 8.0 (wine8.csv)": a system by its name and its file.
std::string SystemOf(const Recording& s);
// How a test that expects one system's paints takes another's where they
// differ, in the terms of the harness that runs it: another Windows as
// broken(); Wine, where the expectations are Windows' or ReactOS's, as
// todo_wine; ReactOS, where they are Windows', as todo_ros; otherwise (the
// expectations another Wine's, say) as an alternative that holds on every
// platform. broken() is never a system that is not Windows.
enum class AcceptedAs { Broken, TodoWine, TodoRos, Alternative };
AcceptedAs RoleOf(const Recording& reference, const Recording& other);
// The role as the test's table names it: "ROLE_TODO_WINE".
const char* RoleName(AcceptedAs role);

// Whether the expectations are Windows', or a regression test's between
// systems that are not Windows: comment lines.
std::string WhoseExpectations(const Recording& reference);
// The facts a comment line each: " *   display scale: 96 dpi (100 %)".
std::string FactsOf(const SystemFacts& f);

// What the test tests, the systems it expects, how to add and build it;
// whether the list view's messages were asked for and are checked.
std::string OpeningComment(const Recording& reference, const std::vector<Recording>& others,
                           const std::string& name, bool asked, bool checked);

}  // namespace transcript
