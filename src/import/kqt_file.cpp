// Writing the imported reflections and keywords through the line notation, replacing files whole.
#include "import/kqt_file.hpp"

#include "import/number_text.hpp"
#include "text/line_format.hpp"
#include "text/text_file.hpp"

namespace orv::imp {

namespace {

void AddValue(std::vector<std::string>& lines, const std::string& keyword, const std::string& value) {
  lines.push_back(keyword);
  lines.push_back(Line().X(2).Text(value).str());
}

}  // namespace

std::vector<std::string> KqtLines(const std::vector<std::string>& comments, const std::vector<Peak>& reflections,
                                  const RunKeywords& keywords) {
  std::vector<std::string> lines;
  for (const std::string& comment : comments) lines.push_back("# " + comment);
  lines.push_back("_NumberOfReflections");
  lines.push_back(Line().I(static_cast<long long>(reflections.size()), 6).str());
  lines.push_back("_Reflections");
  const int w = kDirectionDecimals + 4;
  for (const Peak& p : reflections)
    lines.push_back(Line()
                        .F(p.direction[0], w, kDirectionDecimals)
                        .F(p.direction[1], w, kDirectionDecimals)
                        .F(p.direction[2], w, kDirectionDecimals)
                        .str());
  if (keywords.volume) AddValue(lines, "_VolumeOfPrimitiveCell", ShortestRealText(*keywords.volume));
  if (keywords.maxIndex) AddValue(lines, "_MaxAllowedMillerIndex", std::to_string(*keywords.maxIndex));
  if (keywords.extent) AddValue(lines, "_ExtentOfTheSearch", std::to_string(*keywords.extent));
  if (keywords.tolerance) AddValue(lines, "_AngularDeviationCriterion", ShortestRealText(*keywords.tolerance));
  if (keywords.log) AddValue(lines, "_CreateLogFile", "1");
  return lines;
}

void WriteWholeFile(const std::string& fileName, const std::vector<std::string>& lines) {
  TextFile file;
  file.Open(fileName);
  for (const std::string& line : lines) file.WriteLine(line);
  file.Close();
}

}  // namespace orv::imp
