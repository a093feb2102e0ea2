// The command line split into options and plain items, before the options are parsed.
#pragma once

#include <CLI/CLI.hpp>

#include "programs/option_suggestion.hpp"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv {

// An item that looks like an option but names none of the program's options.
struct UnknownOption : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ScannedArguments {
  std::vector<std::string> options;  // the options with their values, in their order
  std::vector<std::string> plain;    // everything else: the file name, a help word, surplus items
};

// Splits the arguments, so that options may stand before or after the file name. An item is an
// option when it is not a help word, does not end in ".kqt" and either starts with "--" or is a
// short option the app knows (so "-H" stays a file name, as it always was); an option that
// takes a value takes the next item as well, unless it is written "--name=value". An option the
// app does not know throws UnknownOption naming it, with the closest known option when one is
// near ("Did you mean --choose-lattice?").
ScannedArguments ScanArguments(const std::vector<std::string>& arguments, const CLI::App& app,
                               const std::vector<std::string>& helpWords);

// One line per option of the app, "  --name VALUE   what it does", in the order they were added.
std::vector<std::string> OptionLines(const CLI::App& app);

}  // namespace orv
