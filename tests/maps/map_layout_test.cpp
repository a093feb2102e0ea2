// Positions of a map: the grid, and positions files with the faults a user makes, each refused
// with a message that names the line.
#include <gtest/gtest.h>

#include "maps/map_layout.hpp"

namespace orv {
namespace {

std::string ErrorOf(const std::string& text, const std::vector<std::string>& files) {
  try {
    PositionsLayout(ParsePositions(text, "pos.csv"), files, "pos.csv");
  } catch (const MapError& error) {
    return error.what();
  }
  return "";
}

TEST(MapLayout, AGridFillsRowByRowAndMustMatchTheList) {
  ASSERT_EQ(ParseGridSize("3x2"), std::make_pair(3, 2));
  for (const char* bad : {"3", "x2", "3x", "0x2", "3x-2", "3 x 2", "1000000x2", "3x2x1"})
    EXPECT_FALSE(ParseGridSize(bad)) << bad;
  const MapLayout layout = GridLayout(3, 2, 6);
  EXPECT_EQ(layout.points[4].column, 1);
  EXPECT_EQ(layout.points[4].row, 1);
  EXPECT_EQ(layout.At(2, 1), 5);
  EXPECT_EQ(layout.At(3, 1), -1);
  EXPECT_THROW(GridLayout(3, 2, 7), MapError);
}

TEST(MapLayout, PositionsFileLaysOutTheListedFilesOnTheirGrid) {
  const std::vector<std::string> files = {"a.kqt", "b.kqt", "c.kqt", "./d.kqt"};
  const std::string text = "file,x,y\n# scan\n\nd.kqt, 0.5, 2.0\na.kqt,0,1\nb.kqt,0.5,1\nc.kqt,0,2.0\n";
  const MapLayout layout = PositionsLayout(ParsePositions(text, "pos.csv"), files, "pos.csv");
  EXPECT_EQ(layout.columns, 2);
  EXPECT_EQ(layout.rows, 2);
  EXPECT_EQ(layout.points[3].column, 1);  // "./d.kqt" in the list is the file "d.kqt" of the row
  EXPECT_EQ(layout.points[3].row, 1);
  EXPECT_EQ(layout.At(0, 1), 2);
  EXPECT_DOUBLE_EQ(layout.points[1].x, 0.5);
}

TEST(MapLayout, BadRowsAreRefusedNamingTheLine) {
  const std::vector<std::string> files = {"a.kqt", "b.kqt"};
  EXPECT_EQ(ErrorOf("a.kqt,0,0\nb.kqt,1\n", files), "pos.csv, line 2: expected file,x,y, found 2 fields.");
  EXPECT_EQ(ErrorOf("a.kqt,0,0\nb.kqt,1,zero\n", files), "pos.csv, line 2: y \"zero\" is not a finite number.");
  EXPECT_EQ(ErrorOf("a.kqt,nan,0\nb.kqt,1,0\n", files), "pos.csv, line 1: x \"nan\" is not a finite number.");
  EXPECT_EQ(ErrorOf("a.kqt,1e999,0\n", files), "pos.csv, line 1: x \"1e999\" is not a finite number.");
  EXPECT_EQ(ErrorOf(",0,0\n", files), "pos.csv, line 1: the file name is empty.");
  EXPECT_EQ(ErrorOf("a.kqt,0,0\nc.kqt,1,0\n", files), "pos.csv, line 2: c.kqt is not in the list of patterns.");
  EXPECT_EQ(ErrorOf("a.kqt,0,0\n\na.kqt,1,0\n", files), "pos.csv, line 3: a.kqt was given a position before, on line 1.");
  EXPECT_EQ(ErrorOf("a.kqt,0,0\nb.kqt,0,0\n", files), "pos.csv, line 2: b.kqt lies at the position of a.kqt (line 1).");
  EXPECT_EQ(ErrorOf("a.kqt,0,0\n", files), "pos.csv gives no position for b.kqt.");
}

}  // namespace
}  // namespace orv
