// Helpers shared by the tests: scratch folders, files, and runs of the real executable.
#pragma once

#include <string>
#include <vector>

namespace orv::testing {

// A new empty folder under the system's temporary folder.
std::string MakeScratchDir(const std::string& label);

std::string ReadTextFile(const std::string& path);
void WriteTextFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);

struct ProcessResult {
  int exitStatus = -1;
  std::string output;  // standard output and standard error together
};

// Runs build/orvanthel in workingDir with the given arguments, feeding stdinText (empty by
// default, so that every pause ends at once) as its standard input.
ProcessResult RunOrvanthel(const std::vector<std::string>& arguments, const std::string& workingDir,
                           const std::string& stdinText = "");

// Runs any command line through the shell in workingDir, standard input from /dev/null.
ProcessResult RunCommand(const std::string& commandLine, const std::string& workingDir);

// The lines of a text, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);

// Quotes a text for the shell.
std::string ShellQuote(const std::string& text);

}  // namespace orv::testing
