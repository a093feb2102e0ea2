// The program entry: help words, surplus arguments, the file-name prompt and the one run.
#include "driver/program_entry.hpp"

#include <array>
#include <optional>

#include "driver/banner.hpp"
#include "driver/file_name_prompt.hpp"
#include "driver/pause_and_stop.hpp"
#include "driver/program_stop.hpp"
#include "driver/run_indexing.hpp"
#include "reports/line_format.hpp"
#include "reports/trim_blanks.hpp"

namespace orv {

namespace {

bool IsHelpWord(const std::string& argument) {
  static const std::array<std::string, 5> helpWords = {"-h", "--help", "-help", "help", "h"};
  const std::string word = TrimBlanks(argument);
  for (const std::string& help : helpWords) {
    if (word == help) return true;
  }
  return false;
}

[[noreturn]] void ShowHelp(std::istream& in, std::ostream& out) {
  out << FreeLine("") << '\n';
  out << FreeLine("This is a program for indexing of single crystal data.") << '\n';
  out << FreeLine("For a description see the Orvanthel.pdf file.") << '\n';
  out << FreeLine("") << '\n';
  PauseAndStop(in, out, 0);
}

[[noreturn]] void RefuseSurplusArguments(std::istream& in, std::ostream& out) {
  out << FreeLine("Error: Too many command line arguments.") << '\n';
  out << FreeLine("       use    Orvanthel") << '\n';
  out << FreeLine("       or     Orvanthel -h") << '\n';
  out << FreeLine("       or     Orvanthel filename.kqt") << '\n';
  PauseAndStop(in, out, 1);
}

std::string FileNameFromPrompt(std::istream& in, std::ostream& out) {
  PrintBanner(out);
  out << " Enter filename : " << std::flush;
  const std::optional<std::string> name = ReadFileNameAtPrompt(in);
  if (!name) {
    out << '\n' << FreeLine("Error: No file name was given.") << '\n';
    PauseAndStop(in, out, 1);
  }
  return *name;
}

int RunEntry(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out) {
  if (arguments.size() >= 2) RefuseSurplusArguments(in, out);
  std::string fileName;
  if (arguments.empty()) {
    fileName = FileNameFromPrompt(in, out);
  } else {
    if (IsHelpWord(arguments[0])) ShowHelp(in, out);
    fileName = arguments[0].substr(0, kFileNameLength);
  }
  RunIndexing(fileName, in, out);
  out.flush();
  return 0;
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out) {
  try {
    try {
      return RunEntry(arguments, in, out);
    } catch (const OutputFileError& error) {
      out << FreeLine("Error: Cannot write " + error.fileName + ".") << '\n';
      PauseAndStop(in, out, 1);
    }
  } catch (const ProgramStop& stop) {
    out.flush();
    return stop.exitStatus;
  }
}

}  // namespace orv
