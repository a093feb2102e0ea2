// The command-line conventions of the tools beside the indexer (orvanthel-import and
// orvanthel-simulate): the help and version options, the closing line of the help, an option given
// again taking its last value, and unknown options named with the closest known one.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace orv {

// The last line of every tool's help.
extern const char* const kManualLine;

// Sets up the tool's app: -h/--help "this text", --version, options that take their last value
// when given again, and the column of the descriptions in the help.
void SetUpToolCommandLine(CLI::App& app, std::size_t descriptionColumn);

enum class ToolRequest { Run, ShowHelp, ShowVersion, Fault };

// Parses the arguments (without the program name). ShowHelp gives the help, ShowVersion "<program>
// <version>" and a line end in `text`; Fault gives a one-line message in `text`: an unknown long
// option is "unknown option --name (see --help)" with the closest known one when one is near, any
// other fault CLI11's message naming the option.
ToolRequest ReadToolCommandLine(CLI::App& app, const std::vector<std::string>& arguments, const std::string& program,
                                std::string& text);

// The same, throwing the program's own error (constructed from the message) instead of Fault.
template <typename Fault>
ToolRequest ParseToolCommandLine(CLI::App& app, const std::vector<std::string>& arguments, const std::string& program,
                                 std::string& text) {
  const ToolRequest request = ReadToolCommandLine(app, arguments, program, text);
  if (request == ToolRequest::Fault) throw Fault(text);
  return request;
}

}  // namespace orv
