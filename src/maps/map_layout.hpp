// Where each pattern of a map was taken: positions from a file of file,x,y rows or a grid filled in
// list order, and the cell of the map's grid that each position falls in.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orv {

// A map that cannot be laid out: a positions file that cannot be read or has a bad row, a grid
// that does not match the list. The message names the file and the row.
struct MapError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct MapPoint {
  double x = 0.0;
  double y = 0.0;
  int column = 0;  // from 0, in increasing x
  int row = 0;     // from 0, in increasing y
};

struct MapLayout {
  int columns = 0;
  int rows = 0;
  std::vector<MapPoint> points;  // by list position
  // The list position at each cell (row * columns + column), -1 where no pattern was taken.
  std::vector<long> cells;

  long At(int column, int row) const {
    if (column < 0 || row < 0 || column >= columns || row >= rows) return -1;
    return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) + static_cast<std::size_t>(column)];
  }
};

// "COLSxROWS", both from 1 to 100000; nothing when the text is not of that form.
std::optional<std::pair<int, int>> ParseGridSize(const std::string& text);

// The patterns in list order fill the grid row by row (x = column, y = row). Throws MapError
// unless the list has exactly columns * rows patterns.
MapLayout GridLayout(int columns, int rows, std::size_t patterns);

// One row of a positions file.
struct PositionRow {
  int line = 0;  // line number in the file, from 1
  std::string file;
  double x = 0.0;
  double y = 0.0;
};

// Reads "file,x,y" rows (blank lines and lines starting with '#' skipped; a first line
// "file,x,y" is a header). Throws MapError naming the line for a row without three fields, a
// position that is not a finite number, or an empty file name.
std::vector<PositionRow> ParsePositions(const std::string& text, const std::string& sourceName);

// Lays out the listed files by their rows: the distinct x values in increasing order are the
// columns, the distinct y values the rows, so positions must lie on a rectangular grid (equal x
// within a column). A file name matches a listed file when both name the same path (relative ones
// from the current folder). Throws MapError naming the line for a file that is not listed, a file
// given twice, two files at one position, and naming the file for a listed file without a row.
MapLayout PositionsLayout(const std::vector<PositionRow>& positions, const std::vector<std::string>& files,
                          const std::string& sourceName);

}  // namespace orv
