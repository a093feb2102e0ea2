// "LePage.inp": the cells of the best solutions as a command file for a lattice-symmetry program.
#include "reports/lepage_file.hpp"

#include <algorithm>

#include "text/line_format.hpp"
#include "reports/results_file.hpp"
#include "text/text_file.hpp"

namespace orv {

void WriteLePageFile(const SolutionStore& store, const RunParameters& parameters, const std::string& fileName) {
  // Without a request the file is not even created, so an older one stays as it was.
  if (parameters.SaveLePage <= 0) return;
  TextFile file;
  file.Open(fileName);
  const int count = std::min(store.NumberOfSolutions, parameters.SaveLePage);
  for (int i = 1; i <= count; ++i) {
    const CellParameters cell = CellOfBasis(store(i).SolutionBasis);
    file.WriteLine(Line().X(2).Text("NOSCREEN").str());
    file.WriteLine(Line().X(2).Text("METR      0.3").str());
    file.WriteLine(Line()
                       .X(2)
                       .Text("CELL")
                       .X(2)
                       .F(cell.lengths[0], 12, 6)
                       .F(cell.lengths[1], 12, 6)
                       .F(cell.lengths[2], 12, 6)
                       .X(3)
                       .F(cell.anglesInDegrees[0], 10, 4)
                       .F(cell.anglesInDegrees[1], 10, 4)
                       .F(cell.anglesInDegrees[2], 10, 4)
                       .X(2)
                       .Text("P")
                       .str());
    file.WriteLine(Line().X(2).Text("CALC").str());
    file.WriteLine(Line().X(2).Text("QUIT").str());
  }
  file.Close();
}

}  // namespace orv
