// The one console line that shows how far the search has come, rewritten in place.
#include "driver/progress_display.hpp"

#include "text/line_format.hpp"

namespace orv {

void WriteProgressRecord(std::ostream& console, int i, int n) {
  // The carriage return stands for the "+" control character: the record overwrites the line.
  console << '\r' << Line().X(1).Text("Progress : ").X(26).I(i, 6).Text(" -->").I(n, 6).X(2).str() << std::flush;
}

void ClearProgressLine(std::ostream& console) { console << '\r' << Blanks(61) << '\r' << std::flush; }

}  // namespace orv
