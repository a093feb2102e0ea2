// The results file: title block and header, one block per kept solution, and the console summary.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "run_data/run_parameters.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/vector_matrix.hpp"
#include "reports/parameter_header.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

class TextFile;

// The name of the results file: the input name without blanks around it and without its ".kqt",
// followed by "_kqt.res".
std::string ResultsFileName(const std::string& inputFileName);

// Creates the results file and writes the title block and the parameter header with the number of
// kept solutions.
void OpenResultsFile(TextFile& results, const std::string& inputFileName, const RunParameters& parameters,
                     int numberOfSolutions, const HeaderNotes& notes = {});

// The whole results file of a run whose solutions are ranked: head, the solution blocks and, for
// SortSolutionsByQualityType 1, the relationships. Once the file is in place the console shows
// "Results saved in file : " with its name, then the summary of the first solution (ending with
// moreSummaryLines), or the line that says no solution was found.
void WriteResultsFile(const std::string& inputFileName, const RunParameters& parameters,
                      const DirectionStore& directions, const SolutionStore& store, std::ostream& console,
                      const std::vector<std::string>& moreSummaryLines = {}, const HeaderNotes& notes = {});

// The console line of a run that found no solution, with what to try.
std::string NoSolutionLine();

// One block per kept solution; with writeFirstSolutionSummary the first one is summarised on the
// console as well, moreSummaryLines just before the empty line that ends the summary.
void WriteSolutionReports(TextFile& results, const SolutionStore& store, const RunParameters& parameters,
                          const DirectionStore& directions, bool writeFirstSolutionSummary, std::ostream& console,
                          const std::vector<std::string>& moreSummaryLines = {});

// sqrt of the sum of the squared distances of the three real indices from their nearest integers.
double IndexResidualNorm(const Vec3& x);

// How one reflection is shown in a solution block and what it counts towards.
enum class ReflectionRowKind {
  NumberOnly,           // deviation at least twice the tolerance, or not a number
  WithoutIndices,       // beyond the index bound, or between the tolerance and twice it
  WithinTolerance,      // an "h" reflection
  WithinHalfTolerance,  // an "H" reflection, which is an "h" reflection as well
};

struct ReflectionRow {
  ReflectionRowKind kind = ReflectionRowKind::NumberOnly;
  std::string text;
};

// The row of reflection `number` indexed as `indexed` under a tolerance of `angularCriterion`
// radians.
ReflectionRow FormatReflectionRow(int number, const IndexedDirection& indexed, double angularCriterion);

// The "Odd [%]" line: each odd count as a percentage of nh + nH, or asterisks when that sum is 0.
std::string OddPercentageLine(const std::array<int, 3>& oddCounts, int nh, int nH);

// Lengths |a|, |b|, |c| of the rows of a basis and the angles alpha = (b, c), beta = (c, a),
// gamma = (a, b) in degrees, as both the results file and the Le Page file show them.
struct CellParameters {
  Vec3 lengths{};
  Vec3 anglesInDegrees{};
};

CellParameters CellOfBasis(const Mat3& basis);

}  // namespace orv
