// Reading the input file name typed at the prompt.
#include "driver/file_name_prompt.hpp"

#include "input/free_format_reader.hpp"

namespace orv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<std::string> ReadFileNameAtPrompt(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (pos == line.size()) continue;

    std::string name;
    if (line[pos] == '\'' || line[pos] == '"') {
      // A quote left open takes the rest of the line.
      ReadQuotedText(line, pos, name);
    } else {
      const std::size_t start = pos;
      while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != ',') ++pos;
      name = line.substr(start, pos - start);
    }
    return name;
  }
  return std::nullopt;
}

}  // namespace orv
