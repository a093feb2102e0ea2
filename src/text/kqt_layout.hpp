// The layout of an input file (".kqt") as the tools write it: comments, the reflections, keywords.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace orv {

// Decimals of every written direction component.
constexpr int kKqtDirectionDecimals = 10;

// The lines of an input file, built in the order they are written: comment lines ("# " and the
// text), _NumberOfReflections with the count, _Reflections with one direction a line (three fixed
// reals of kKqtDirectionDecimals decimals), then keywords, each value on the line after its keyword,
// indented by two blanks. A keyword that the reader meets twice keeps its last value, so the caller
// chooses the order.
class KqtLayout {
 public:
  void Comment(const std::string& text);
  void Reflections(const std::vector<std::array<double, 3>>& directions);
  void Value(const std::string& keyword, const std::string& value);

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// Writes the lines through the programs' one output file writer, so that an existing file is
// replaced whole or not at all. Throws OutputFileError naming the target.
void WriteKqtLines(const std::string& fileName, const std::vector<std::string>& lines);

}  // namespace orv
