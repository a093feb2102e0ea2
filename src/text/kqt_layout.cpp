// The input file's layout, written through the line notation and the safe file writer.
#include "text/kqt_layout.hpp"

#include "text/line_format.hpp"
#include "text/text_file.hpp"

namespace orv {

void KqtLayout::Comment(const std::string& text) { lines_.push_back("# " + text); }

void KqtLayout::Reflections(const std::vector<std::array<double, 3>>& directions) {
  lines_.push_back("_NumberOfReflections");
  lines_.push_back(Line().I(static_cast<long long>(directions.size()), 6).str());
  lines_.push_back("_Reflections");
  const int w = kKqtDirectionDecimals + 4;
  for (const std::array<double, 3>& d : directions)
    lines_.push_back(Line()
                         .F(d[0], w, kKqtDirectionDecimals)
                         .F(d[1], w, kKqtDirectionDecimals)
                         .F(d[2], w, kKqtDirectionDecimals)
                         .str());
}

void KqtLayout::Value(const std::string& keyword, const std::string& value) {
  lines_.push_back(keyword);
  lines_.push_back(Line().X(2).Text(value).str());
}

void WriteKqtLines(const std::string& fileName, const std::vector<std::string>& lines) {
  TextFile file;
  file.Open(fileName);
  for (const std::string& line : lines) file.WriteLine(line);
  file.Close();
}

}  // namespace orv
