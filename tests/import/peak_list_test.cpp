// Reading peak lists: the .cor layout, named and plain tables, malformed lines, the strongest kept.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "geometry/laue_frame.hpp"
#include "import/peak_list.hpp"
#include "import/peak_selection.hpp"

namespace orv::imp {
namespace {

PeakList Read(const std::string& text, const std::vector<std::string>& names = {}) {
  std::istringstream in(text);
  return ReadPeakList(in, names);
}

TEST(PeakList, CorLayoutGivesDirectionsIntensitiesAndLines) {
  const PeakList list = Read(
      "\xEF\xBB\xBF"  // a UTF-8 mark before the header
      "2theta chi X Y I\n"
      "58.429200   20.128222   623.12   1657.73   29239.3\n"
      "\n"
      "80.926191\t-0.659485   933.04   1215.44   21725.72\r\n"
      "# Calibration parameters\n"
      "# dd     :   70.77466664577443\n");
  EXPECT_EQ(list.layout.Describe(), "2theta chi X Y I");
  ASSERT_EQ(list.peaks.size(), 2u);
  EXPECT_EQ(list.peaks[1].line, 4);
  EXPECT_EQ(list.peaks[1].intensity, 21725.72);
  const Vec3 expected = ScatteringDirectionFromAngles({80.926191, -0.659485});
  for (int c = 0; c < 3; ++c) EXPECT_EQ(list.peaks[1].direction[c], expected[c]);
  EXPECT_LT(list.peaks[1].direction[1], 0.0);  // the sign of chi is kept
}

TEST(PeakList, QVectorTablesAreNormalisedAndGivenNamesReplaceTheHeader) {
  const PeakList vectors = Read("qx qy qz\n0 3 4\n-2e300 0 0\n1d-300 1D-300 0\n");
  ASSERT_EQ(vectors.peaks.size(), 3u);
  EXPECT_NEAR(vectors.peaks[0].direction[1], 0.6, 1e-15);
  EXPECT_NEAR(vectors.peaks[0].direction[2], 0.8, 1e-15);
  EXPECT_EQ(vectors.peaks[1].direction, (Vec3{-1.0, 0.0, 0.0}));  // no overflow
  EXPECT_NEAR(vectors.peaks[2].direction[1], std::sqrt(0.5), 1e-15);  // no underflow
  const PeakList named = Read("a b c\n0 0 2 7\n", {"qx", "qy", "qz", "I"});
  EXPECT_EQ(named.peaks[0].direction, (Vec3{0.0, 0.0, 1.0}));
  EXPECT_EQ(named.peaks[0].intensity, 7.0);
  EXPECT_EQ(Read("90 0\n60 10\n").layout.Describe(), "2theta chi");  // two plain columns
}

TEST(PeakList, MalformedLinesAreNamedByNumberAndReason) {
  struct Case {
    std::string text;
    int line;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"2theta chi I\n90 0 1\n# note\n91 abc 2\n", 4, "\"abc\" in column chi is not a number"},
      {"2theta chi I\n90 0 1\n91 2\n", 3, "2 values where the columns are 2theta chi I (3)"},
      {"2theta chi I\n90 0 1\n91 2 3 4\n", 3, "4 values"},
      {"2theta chi\n0 5\n", 2, "2theta 0 is outside (0, 180] degrees"},
      {"2theta chi\n90 5\n180.5 5\n", 3, "2theta 180.5 is outside"},
      {"2theta chi\n90 nan\n", 2, "\"nan\" in column chi is not a number"},
      {"2theta chi\n90 0x10\n", 2, "\"0x10\" in column chi"},
      {"90 5\n2theta chi\n", 2, "\"2theta\" in column 2theta is not a number"},
      {"qx qy qz\n0 0 0\n", 2, "the q vector is zero"},
      {"\n# c\n1 2 3\n", 3, "three columns may be 2theta chi I or qx qy qz"},
      {"1 2 3 4\n", 1, "4 columns and no header line"},
      {"X Y I\n1 2 3\n", 1, "header: the columns \"X Y I\" give neither 2theta and chi nor qx, qy and qz"},
      {"2theta chi qz\n", 1, "header: the columns name both detector angles and q-vector components"},
      {"2theta chi I I\n", 1, "header: the column I is named twice"},
      {"# only comments\n\n", 0, "no peak lines"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      Read(c.text);
      ADD_FAILURE() << "read without error";
    } catch (const PeakListError& error) {
      EXPECT_EQ(error.line, c.line);
      EXPECT_EQ(error.reason.rfind(c.reason, 0), 0u) << error.reason;
      if (c.line > 0) {
        EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(c.line) + ": ", 0), 0u);
      }
    }
  }
}

TEST(PeakSelection, TopKeepsTheStrongestAndTiesKeepTheirFileOrder) {
  std::vector<Peak> peaks(6);
  const double intensities[6] = {5.0, 9.0, 1.0, 9.0, 7.0, 3.0};
  for (int i = 0; i < 6; ++i) {
    peaks[static_cast<std::size_t>(i)].intensity = intensities[i];
    peaks[static_cast<std::size_t>(i)].line = i + 1;
  }
  std::vector<int> lines;
  for (const Peak& p : SelectPeaks(peaks, true, 4)) lines.push_back(p.line);
  EXPECT_EQ(lines, (std::vector<int>{2, 4, 5, 1}));
  lines.clear();
  for (const Peak& p : SelectPeaks(peaks, false, 4)) lines.push_back(p.line);  // no intensities: file order
  EXPECT_EQ(lines, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(SelectPeaks(peaks, true, 50).size(), 6u);
}

}  // namespace
}  // namespace orv::imp
