// The names of the files a run writes beside its input file.
#include "text/output_file_name.hpp"

#include "text/trim_blanks.hpp"

namespace orv {

std::string OutputFileName(const std::string& inputFileName, const std::string& suffix) {
  const std::string name = TrimBlanks(inputFileName);
  // The reader admits only names ending in ".kqt"; a shorter name loses what it has.
  const std::size_t stemLength = name.size() > 4 ? name.size() - 4 : 0;
  return name.substr(0, stemLength) + suffix;
}

}  // namespace orv
