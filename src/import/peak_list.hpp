// Reading a peak list: a header or given column names, then one peak per line.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "geometry/vector_matrix.hpp"
#include "import/import_error.hpp"
#include "import/peak_columns.hpp"
#include "input/line_source.hpp"

namespace orv::imp {

struct Peak {
  Vec3 direction{};        // unit scattering vector
  double intensity = 0.0;  // 0 when the list has no intensity column
  int line = 0;            // line of the peak list, from 1
  double twoTheta = 0.0;   // the detector angles as read, degrees; 0 for q vectors
  double chi = 0.0;
};

struct PeakList {
  ColumnLayout layout;
  std::vector<Peak> peaks;  // in file order
};

// A peak list that cannot be read; line is 0 when the fault belongs to the file as a whole.
struct PeakListError : ImportError {
  PeakListError(int lineNumber, const std::string& why);
  int line;
  std::string reason;
};

// Reads the peak list. Empty lines and lines whose first item starts with "#" are skipped anywhere
// (the .cor layout keeps its detector calibration there); items are separated by blanks, tabs or
// commas. A first line that does not start with a number is the header naming the columns; the
// given names, when there are any, replace it. Without either, a table of two columns is 2theta
// chi; other tables must be named, since three columns may be 2theta chi I or qx qy qz.
// Every peak line holds one number per column. Detector angles give the direction of the frame
// of peak lists (geometry/laue_frame.hpp), 2theta in (0, 180] degrees; q components are normalised
// and may not all be zero. A value too large for a double (1e400) is out of range. A line longer
// than the source allows, or a file that cannot be read to its end, is a fault of its own. Throws
// PeakListError on the first fault.
PeakList ReadPeakList(LineSource& lines, const std::vector<std::string>& givenNames);
// The same from a stream held whole in memory.
PeakList ReadPeakList(std::istream& in, const std::vector<std::string>& givenNames);

}  // namespace orv::imp
