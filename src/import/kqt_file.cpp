// The imported reflections and keywords in the input file's layout.
#include "import/kqt_file.hpp"

#include "text/kqt_layout.hpp"
#include "text/number_text.hpp"

namespace orv::imp {

std::vector<std::string> KqtLines(const std::vector<std::string>& comments, const std::vector<Peak>& reflections,
                                  const RunKeywords& keywords) {
  KqtLayout layout;
  for (const std::string& comment : comments) layout.Comment(comment);
  std::vector<std::array<double, 3>> directions;
  directions.reserve(reflections.size());
  for (const Peak& p : reflections) directions.push_back(p.direction);
  layout.Reflections(directions);
  if (keywords.volume) layout.Value("_VolumeOfPrimitiveCell", ShortestRealText(*keywords.volume));
  if (keywords.maxIndex) layout.Value("_MaxAllowedMillerIndex", std::to_string(*keywords.maxIndex));
  if (keywords.extent) layout.Value("_ExtentOfTheSearch", std::to_string(*keywords.extent));
  if (keywords.tolerance) layout.Value("_AngularDeviationCriterion", ShortestRealText(*keywords.tolerance));
  if (keywords.log) layout.Value("_CreateLogFile", "1");
  return layout.Lines();
}

}  // namespace orv::imp
