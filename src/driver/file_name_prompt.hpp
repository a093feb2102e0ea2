// The input file name: from the command line or typed at the prompt.
#pragma once

#include <istream>
#include <optional>
#include <string>

namespace orv {

// The first item of the first non-empty line of `in`: a run of characters ended by a blank, a tab,
// a comma or the line end (a slash belongs to the name), or a quoted text that may hold blanks.
// Nothing when the input ends before a non-empty line. The name is not cut: the reader refuses one
// longer than the system takes.
std::optional<std::string> ReadFileNameAtPrompt(std::istream& in);

}  // namespace orv
