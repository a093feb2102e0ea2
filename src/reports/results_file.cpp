// The results file: title block and header, one block per kept solution, and the console summary.
#include "reports/results_file.hpp"

#include <cmath>
#include <sstream>

#include "run_data/clock.hpp"
#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"
#include "text/line_format.hpp"
#include "reports/log_file.hpp"
#include "text/output_file_name.hpp"
#include "reports/parameter_header.hpp"
#include "text/text_file.hpp"
#include "text/trim_blanks.hpp"
#include "reports/relationships_section.hpp"
#include "solutions/refine_and_sort.hpp"

namespace orv {

namespace {

double AngleInDegrees(const Vec3& u, const Vec3& v) {
  return std::acos(Dot(u, v) / (VectorNorm(u) * VectorNorm(v))) * kRadiansToDegrees;
}

// The counts that a solution block gathers over its reflection rows.
struct BlockCounts {
  int nh = 0;
  int nH = 0;
  std::array<int, 3> odd{};
};

void AddOddFlags(BlockCounts& counts, const Vec3& x) {
  const std::array<int, 3> flags = OddIndexFlags(Nint(x[0]), Nint(x[1]), Nint(x[2]));
  for (std::size_t k = 0; k < 3; ++k) counts.odd[k] += flags[k];
}

// Writes the block of solution i and returns its counts.
BlockCounts WriteSolutionBlock(TextFile& results, int i, const SolutionStore& store, const RunParameters& parameters,
                               const DirectionStore& directions) {
  const Mat3& m = store(i).SolutionBasis;
  const double volume = std::fabs(Determinant(m));
  // A basis that cannot be inverted keeps R at zero.
  Mat3 r{};
  InverseTranspose(m, r, kBasisSingularity);
  const Mat3 unitVolume = ScaleMatrix(m, VolumeScaleFactor(m, 1.0));

  results.WriteLine(FreeLine(Dashes()));
  results.WriteLine(
      Line().X(2).Text("Solution nr ").I(i, 3).Text(" out of ").I(store.NumberOfSolutions, 3).Text(".").str());
  results.WriteLine(std::string());
  results.WriteLine(FreeLine("  Direct basis vectors (in rows) = inverse of UB matrix;"));
  results.WriteLine(FreeLine("  transforms RL vectors to Miller indices :"));
  for (const Vec3& row : unitVolume) {
    results.WriteLine(Line().X(10).F(row[0], 14, 8).F(row[1], 14, 8).F(row[2], 14, 8).str());
  }
  results.WriteLine(std::string());
  results.WriteLine(FreeLine("        |   h   k   l |      Real (hkl)       |  Error"));
  results.WriteLine(FreeLine(Dashes()));

  BlockCounts counts;
  for (int j = 1; j <= parameters.NumberOfReflections; ++j) {
    const IndexedDirection indexed = IndexDirection(directions(j), r, m, parameters.MaxAllowedMillerIndex);
    const ReflectionRow row = FormatReflectionRow(j, indexed, parameters.AngularDeviationCriterion);
    if (row.kind == ReflectionRowKind::WithinHalfTolerance) {
      ++counts.nH;
      ++counts.nh;
      AddOddFlags(counts, indexed.x);
    } else if (row.kind == ReflectionRowKind::WithinTolerance) {
      ++counts.nh;
      AddOddFlags(counts, indexed.x);
    }
    results.WriteLine(row.text);
  }

  results.WriteLine(FreeLine(Dashes()));
  results.WriteLine(OddPercentageLine(counts.odd, counts.nh, counts.nH));
  results.WriteLine(FreeLine(Dashes()));
  const double weights = parameters.WeightsForSortingBases_1 + parameters.WeightsForSortingBases_2;
  const double relativeQuality = store(i).SolutionQuality / (weights * parameters.NumberOfReflections);
  results.WriteLine(Line()
                        .X(1)
                        .I(counts.nh, 4)
                        .Text("h")
                        .Text(" and")
                        .I(counts.nH, 4)
                        .Text("H ")
                        .Text("vectors out of")
                        .X(1)
                        .I(parameters.NumberOfReflections, 3)
                        .Text(".")
                        .X(4)
                        .Text("Quality :")
                        .F(relativeQuality, 6, 3)
                        .str());
  results.WriteLine(std::string());
  results.WriteLine(Line().X(2).Text("Primitive cell :").str());
  const CellParameters cell = CellOfBasis(m);
  results.WriteLine(
      Line().X(23).F(cell.lengths[0], 9, 3).F(cell.lengths[1], 9, 3).F(cell.lengths[2], 9, 3).str());
  results.WriteLine(Line()
                        .X(22)
                        .F(cell.anglesInDegrees[0], 9, 2)
                        .F(cell.anglesInDegrees[1], 9, 2)
                        .F(cell.anglesInDegrees[2], 9, 2)
                        .str());
  results.WriteLine(std::string());
  results.WriteLine(Line().X(2).Text("Volume of the cell  :").F(volume, 12, 2).str());
  results.WriteLine(std::string());
  return counts;
}

void WriteFirstSolutionSummary(std::ostream& console, const Mat3& basis, const BlockCounts& counts,
                               const std::vector<std::string>& moreLines) {
  console << Line().X(1).Text("The first solution :").str() << '\n';
  console << Line().X(1).Text("   Cell volume :").X(16).F(std::fabs(Determinant(basis)), 12, 2).str() << '\n';
  console << Line()
                 .X(1)
                 .Text("   Supporting reflections : h -")
                 .I(counts.nh, 4)
                 .Text(", H -")
                 .I(counts.nH, 4)
                 .str()
          << '\n';
  for (const std::string& line : moreLines) console << line << '\n';
  console << FreeLine(std::string()) << '\n';
}

}  // namespace

std::string ResultsFileName(const std::string& inputFileName) { return OutputFileName(inputFileName, "_kqt.res"); }

void OpenResultsFile(TextFile& results, const std::string& inputFileName, const RunParameters& parameters,
                     int numberOfSolutions, const HeaderNotes& notes) {
  results.Open(ResultsFileName(inputFileName));
  results.WriteLine(FreeLine(Equals()));
  results.WriteLine(FreeLine(Dashes()));
  results.WriteLine(std::string());
  results.WriteLine(FreeLine("Orvanthel (v. 1.0): Solutions for " + TrimBlanks(inputFileName)));
  results.WriteLine(std::string());
  results.WriteLine(FreeLine(Dashes()));
  results.WriteLine(FreeLine(Equals()));
  WriteParameterHeader(results, HeaderTarget::ResultsFile, parameters, numberOfSolutions, ReadLocalDateTime(), notes);
}

void WriteSolutionReports(TextFile& results, const SolutionStore& store, const RunParameters& parameters,
                          const DirectionStore& directions, bool writeFirstSolutionSummary, std::ostream& console,
                          const std::vector<std::string>& moreSummaryLines) {
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    const BlockCounts counts = WriteSolutionBlock(results, i, store, parameters, directions);
    if (i == 1 && writeFirstSolutionSummary)
      WriteFirstSolutionSummary(console, store(i).SolutionBasis, counts, moreSummaryLines);
  }
}

void WriteResultsFile(const std::string& inputFileName, const RunParameters& parameters,
                      const DirectionStore& directions, const SolutionStore& store, std::ostream& console,
                      const std::vector<std::string>& moreSummaryLines, const HeaderNotes& notes) {
  TextFile results;
  OpenResultsFile(results, inputFileName, parameters, store.NumberOfSolutions, notes);
  // The summary waits until the file is in place, so that nothing is announced that was not saved.
  std::ostringstream summary;
  const int type = parameters.SortSolutionsByQualityType;
  if (type == 0 || type == 1) {
    results.WriteLine(FreeLine("            Solutions ordered by quality                "));
    WriteSolutionReports(results, store, parameters, directions, true, summary, moreSummaryLines);
  }
  if (type == 1) {
    results.WriteLine(std::string());
    results.WriteLine(std::string());
    results.WriteLine(FreeLine(Equals()));
    results.WriteLine(FreeLine("                     Relationships"));
    WriteRelationships(results, store);
  }
  results.Close();
  console << FreeLine("Results saved in file : " + results.Name()) << '\n' << summary.str();
  if (store.NumberOfSolutions == 0) console << NoSolutionLine() << '\n';
}

std::string NoSolutionLine() {
  return FreeLine(
      "No solution was found; try more reflections, a higher _ExtentOfTheSearch or another "
      "_AngularDeviationCriterion.");
}

double IndexResidualNorm(const Vec3& x) {
  double sum = 0.0;
  for (double value : x) {
    const double residual = value - static_cast<double>(Nint(value));
    sum += residual * residual;
  }
  return std::sqrt(sum);
}

ReflectionRow FormatReflectionRow(int number, const IndexedDirection& indexed, double angularCriterion) {
  const double dev = indexed.theta;
  const Vec3& x = indexed.x;
  ReflectionRow row;
  // Written so that a deviation that is not a number falls into the first case.
  if (!(dev < 2.0 * angularCriterion)) {
    row.kind = ReflectionRowKind::NumberOnly;
    row.text = Line().I(number, 4).str();
    return row;
  }
  Line line;
  line.I(number, 4);
  if (indexed.withinBound && dev < angularCriterion / 2.0) {
    row.kind = ReflectionRowKind::WithinHalfTolerance;
    line.X(2).Text("H-").X(1).Text("|").I(Nint(x[0]), 4).I(Nint(x[1]), 4).I(Nint(x[2]), 4).X(1);
  } else if (indexed.withinBound && dev < angularCriterion) {
    row.kind = ReflectionRowKind::WithinTolerance;
    line.X(2).Text("-h").X(1).Text("|").I(Nint(x[0]), 4).I(Nint(x[1]), 4).I(Nint(x[2]), 4).X(1);
  } else {
    row.kind = ReflectionRowKind::WithoutIndices;
    line.X(5).Text("|").X(13);
  }
  line.Text("|").F(x[0], 7, 2).F(x[1], 7, 2).F(x[2], 7, 2).X(2).Text("|").X(2).F(IndexResidualNorm(x), 5, 3);
  row.text = line.str();
  return row;
}

std::string OddPercentageLine(const std::array<int, 3>& oddCounts, int nh, int nH) {
  Line line;
  line.X(1).Text("Odd [%] |");
  const int total = nh + nH;
  if (total == 0) {
    line.Text(Repeat('*', 4)).Text(Repeat('*', 4)).Text(Repeat('*', 4));
  } else {
    const double t = 1.0 / static_cast<double>(total);
    for (int count : oddCounts) line.I(Nint(count * t * 100.0), 4);
  }
  return line.Text(" |").str();
}

CellParameters CellOfBasis(const Mat3& basis) {
  const Vec3& a = basis[0];
  const Vec3& b = basis[1];
  const Vec3& c = basis[2];
  CellParameters cell;
  cell.lengths = {VectorNorm(a), VectorNorm(b), VectorNorm(c)};
  cell.anglesInDegrees = {AngleInDegrees(b, c), AngleInDegrees(c, a), AngleInDegrees(a, b)};
  return cell;
}

}  // namespace orv
