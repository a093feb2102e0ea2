// Options the programs do not know, named with the closest known one when it is a slip of the
// keyboard: the same for the indexer, the importer and the simulator.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace orv {

// The number of single-character insertions, deletions and substitutions that turn a into b.
std::size_t EditDistance(const std::string& a, const std::string& b);

// The known name closest to `name` when it is close enough to be a slip of the keyboard: at most
// a third of its letters differ, at least two; the first of equally close names.
std::optional<std::string> ClosestName(const std::string& name, const std::vector<std::string>& known);

// "--name" for every long name and "-n" for every short one of the app's options.
std::vector<std::string> OptionNames(const CLI::App& app);

// The first item that is written as a long option ("--name" or "--name=value") and names none of
// the app's options; items after a lone "--" are never options. Nothing when every one is known.
std::optional<std::string> FirstUnknownLongOption(const std::vector<std::string>& arguments, const CLI::App& app);

// " Did you mean --name?" for the known option closest to `name`, or nothing when none is near.
std::string SuggestionFor(const std::string& name, const CLI::App& app);

}  // namespace orv
