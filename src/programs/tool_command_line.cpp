// The tools' shared command-line conventions on CLI11.
#include "programs/tool_command_line.hpp"

#include "programs/option_suggestion.hpp"
#include "programs/version_line.hpp"
#include "run_data/program_version.hpp"

namespace orv {

const char* const kManualLine = "The manual: README.md and the docs folder beside the program's sources.";

void SetUpToolCommandLine(CLI::App& app, std::size_t descriptionColumn) {
  app.get_formatter()->column_width(descriptionColumn);
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.set_help_flag("-h,--help", "this text");
  app.set_version_flag("--version", std::string(kProgramVersion), "the version of the program");
}

ToolRequest ReadToolCommandLine(CLI::App& app, const std::vector<std::string>& arguments, const std::string& program,
                                std::string& text) {
  if (const std::optional<std::string> unknown = FirstUnknownLongOption(arguments, app)) {
    const std::string suggestion = SuggestionFor(*unknown, app);
    text = "unknown option " + *unknown + " (see --help)" + (suggestion.empty() ? "" : "." + suggestion);
    return ToolRequest::Fault;
  }
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());  // CLI11 takes them last first
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    text = app.help();
    return ToolRequest::ShowHelp;
  } catch (const CLI::CallForVersion&) {
    text = VersionLine(program) + "\n";
    return ToolRequest::ShowVersion;
  } catch (const CLI::ParseError& error) {
    text = error.what();
    return ToolRequest::Fault;
  }
  return ToolRequest::Run;
}

}  // namespace orv
