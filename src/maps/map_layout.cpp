// Positions of the patterns of a map and the grid they lie on.
#include "maps/map_layout.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

namespace orv {

namespace {

constexpr long kLargestSide = 100000;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, ',')) fields.push_back(Trimmed(field));
  if (!line.empty() && line.back() == ',') fields.push_back("");
  return fields;
}

bool ReadNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && errno == 0 && std::isfinite(value);
}

std::string PathKey(const std::string& file) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(file, error);
  return (error ? std::filesystem::path(file) : absolute).lexically_normal().string();
}

MapLayout EmptyLayout(int columns, int rows, std::size_t patterns) {
  MapLayout layout;
  layout.columns = columns;
  layout.rows = rows;
  layout.points.resize(patterns);
  layout.cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), -1);
  return layout;
}

}  // namespace

std::optional<std::pair<int, int>> ParseGridSize(const std::string& text) {
  const auto cross = text.find('x');
  if (cross == std::string::npos || cross == 0 || cross + 1 >= text.size()) return std::nullopt;
  const std::string left = text.substr(0, cross);
  const std::string right = text.substr(cross + 1);
  auto side = [](const std::string& digits) -> long {
    if (digits.empty() || digits.size() > 6 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      return -1;
    return std::stol(digits);
  };
  const long columns = side(left);
  const long rows = side(right);
  if (columns < 1 || rows < 1 || columns > kLargestSide || rows > kLargestSide) return std::nullopt;
  return std::make_pair(static_cast<int>(columns), static_cast<int>(rows));
}

MapLayout GridLayout(int columns, int rows, std::size_t patterns) {
  const std::size_t cells = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
  if (cells != patterns)
    throw MapError("The grid " + std::to_string(columns) + "x" + std::to_string(rows) + " has " +
                   std::to_string(cells) + " points, but the list has " + std::to_string(patterns) + " patterns.");
  MapLayout layout = EmptyLayout(columns, rows, patterns);
  for (std::size_t position = 0; position < patterns; ++position) {
    MapPoint& point = layout.points[position];
    point.column = static_cast<int>(position % static_cast<std::size_t>(columns));
    point.row = static_cast<int>(position / static_cast<std::size_t>(columns));
    point.x = point.column;
    point.y = point.row;
    layout.cells[position] = static_cast<long>(position);
  }
  return layout;
}

std::vector<PositionRow> ParsePositions(const std::string& text, const std::string& sourceName) {
  std::vector<PositionRow> rows;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    const std::vector<std::string> fields = SplitFields(trimmed);
    if (rows.empty() && number == 1 && fields.size() == 3 && fields[0] == "file" && fields[1] == "x" && fields[2] == "y")
      continue;
    const std::string where = sourceName + ", line " + std::to_string(number) + ": ";
    if (fields.size() != 3)
      throw MapError(where + "expected file,x,y, found " + std::to_string(fields.size()) +
                     (fields.size() == 1 ? " field." : " fields."));
    PositionRow row;
    row.line = number;
    row.file = fields[0];
    if (row.file.empty()) throw MapError(where + "the file name is empty.");
    if (!ReadNumber(fields[1], row.x)) throw MapError(where + "x \"" + fields[1] + "\" is not a finite number.");
    if (!ReadNumber(fields[2], row.y)) throw MapError(where + "y \"" + fields[2] + "\" is not a finite number.");
    rows.push_back(row);
  }
  return rows;
}

MapLayout PositionsLayout(const std::vector<PositionRow>& positions, const std::vector<std::string>& files,
                          const std::string& sourceName) {
  std::map<std::string, std::size_t> listed;
  for (std::size_t i = 0; i < files.size(); ++i) listed.emplace(PathKey(files[i]), i);
  std::vector<const PositionRow*> rowOf(files.size(), nullptr);
  for (const PositionRow& row : positions) {
    const std::string where = sourceName + ", line " + std::to_string(row.line) + ": ";
    const auto found = listed.find(PathKey(row.file));
    if (found == listed.end()) throw MapError(where + row.file + " is not in the list of patterns.");
    if (rowOf[found->second] != nullptr)
      throw MapError(where + row.file + " was given a position before, on line " +
                     std::to_string(rowOf[found->second]->line) + ".");
    rowOf[found->second] = &row;
  }
  std::vector<double> xs;
  std::vector<double> ys;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (rowOf[i] == nullptr) throw MapError(sourceName + " gives no position for " + files[i] + ".");
    xs.push_back(rowOf[i]->x);
    ys.push_back(rowOf[i]->y);
  }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  if (xs.size() > static_cast<std::size_t>(kLargestSide) || ys.size() > static_cast<std::size_t>(kLargestSide))
    throw MapError(sourceName + ": the positions do not lie on a grid of at most 100000 x 100000 points.");
  const std::size_t cellCount = xs.size() * ys.size();
  if (files.size() > 0 && cellCount > 16 * files.size() + 1024)
    throw MapError(sourceName + ": the positions do not lie on a rectangular grid (" + std::to_string(xs.size()) +
                   " distinct x and " + std::to_string(ys.size()) + " distinct y for " +
                   std::to_string(files.size()) + " patterns).");
  MapLayout layout = EmptyLayout(static_cast<int>(xs.size()), static_cast<int>(ys.size()), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    MapPoint& point = layout.points[i];
    point.x = rowOf[i]->x;
    point.y = rowOf[i]->y;
    point.column = static_cast<int>(std::lower_bound(xs.begin(), xs.end(), point.x) - xs.begin());
    point.row = static_cast<int>(std::lower_bound(ys.begin(), ys.end(), point.y) - ys.begin());
    long& cell = layout.cells[static_cast<std::size_t>(point.row) * xs.size() + static_cast<std::size_t>(point.column)];
    if (cell >= 0)
      throw MapError(sourceName + ", line " + std::to_string(rowOf[i]->line) + ": " + files[i] +
                     " lies at the position of " + files[static_cast<std::size_t>(cell)] + " (line " +
                     std::to_string(rowOf[static_cast<std::size_t>(cell)]->line) + ").");
    cell = static_cast<long>(i);
  }
  return layout;
}

}  // namespace orv
