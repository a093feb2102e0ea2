// After the search: refine, sort, cut, scale to the user's volume, and write the results file.
#include "solutions/post_process.hpp"

#include <algorithm>
#include <cmath>

#include "reports/line_format.hpp"
#include "reports/results_file.hpp"
#include "reports/text_file.hpp"
#include "solutions/refine_and_sort.hpp"
#include "solutions/relationships.hpp"

namespace orv {

namespace {

// Brings every kept basis to the given cell volume, keeping the sign of its determinant. A basis of
// zero volume has no scale factor and is left as it is.
void ScaleToCellVolume(SolutionStore& store, double volume) {
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    Mat3& basis = store(i).SolutionBasis;
    const double s = VolumeScaleFactor(basis, volume);
    if (!std::isfinite(s)) continue;
    basis = ScaleMatrix(basis, s);
  }
}

}  // namespace

void PostProcessSolutions(const std::string& inputFileName, const RunParameters& parameters,
                          const DirectionStore& directions, SolutionStore& store, TextFile& log,
                          std::ostream& console) {
  if (parameters.CreateLogFile >= 1) {
    log.WriteLine(FreeLine(std::string()));
    log.WriteLine(FreeLine(Repeat('=', 50)));
    log.WriteLine(FreeLine("Saving results"));
    log.WriteLine(FreeLine(std::string()));
  }

  RefineAndSortSolutions(store, parameters, directions, log);
  store.NumberOfSolutions = std::min(store.NumberOfSolutions, parameters.MaxNumberOfSavedBases);
  ScaleToCellVolume(store, parameters.VolumeOfPrimitiveCell);

  TextFile results;
  OpenResultsFile(results, inputFileName, parameters, store.NumberOfSolutions, console);
  const int type = parameters.SortSolutionsByQualityType;
  if (type == 0 || type == 1) {
    results.WriteLine(FreeLine("            Solutions ordered by quality                "));
    ApplyParityPenalty(store, parameters, directions);
    ResortSolutions(store, log);
    WriteSolutionReports(results, store, parameters, directions, true, console);
  }
  if (type == 1) {
    results.WriteLine(std::string());
    results.WriteLine(std::string());
    results.WriteLine(FreeLine(Equals()));
    results.WriteLine(FreeLine("                     Relationships"));
    WriteRelationships(results, store);
  }
  results.Close();
}

}  // namespace orv
