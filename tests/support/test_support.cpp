// Scratch folders, file helpers and process runs for the tests.
#include "support/test_support.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orv::testing {

std::string MakeScratchDir(const std::string& label) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvanthel-" + label + "-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("cannot create scratch folder");
  return std::string(buffer.data());
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

bool FileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

ProcessResult RunCommand(const std::string& commandLine, const std::string& workingDir) {
  const std::string outputPath = MakeScratchDir("output") + "/out.txt";
  const std::string full = "cd " + ShellQuote(workingDir) + " && " + commandLine + " > " + ShellQuote(outputPath) + " 2>&1";
  const int raw = std::system(full.c_str());
  ProcessResult result;
  result.exitStatus = (raw != -1 && WIFEXITED(raw)) ? WEXITSTATUS(raw) : -1;
  result.output = ReadTextFile(outputPath);
  return result;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ProcessResult RunOrvanthel(const std::vector<std::string>& arguments, const std::string& workingDir,
                           const std::string& stdinText) {
  const std::string inputPath = MakeScratchDir("stdin") + "/in.txt";
  WriteTextFile(inputPath, stdinText);
  std::string command = ShellQuote(ORVANTHEL_EXE);
  for (const std::string& argument : arguments) command += " " + ShellQuote(argument);
  command += " < " + ShellQuote(inputPath);
  return RunCommand(command, workingDir);
}

}  // namespace orv::testing
