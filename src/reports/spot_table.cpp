// The spot table of solution 1.
#include "reports/spot_table.hpp"

#include <cstdio>

#include "geometry/index_direction.hpp"
#include "geometry/laue_frame.hpp"
#include "geometry/nearest_integer.hpp"
#include "reports/log_file.hpp"
#include "text/output_file_name.hpp"
#include "reports/results_file.hpp"
#include "text/text_file.hpp"

namespace orv {

namespace {

std::string Real(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

const char* ClassLetter(ReflectionRowKind kind) {
  if (kind == ReflectionRowKind::WithinHalfTolerance) return "H";
  if (kind == ReflectionRowKind::WithinTolerance) return "h";
  return "-";
}

}  // namespace

std::string SpotTableFileName(const std::string& inputFileName) { return OutputFileName(inputFileName, "_kqt_spots.csv"); }

std::string SpotTableText(const RunParameters& parameters, const DirectionStore& directions, const SolutionStore& store,
                          const SolutionOrientations& orientations, const std::vector<std::vector<int>>* grainsOfSpots) {
  std::string text = "spot,x,y,z,two_theta,chi,h_p,k_p,l_p,h,k,l,form_h,form_k,form_l,residual_deg,class";
  text += grainsOfSpots ? ",grains\n" : "\n";
  if (store.NumberOfSolutions < 1) return text;
  const Mat3& m = store(1).SolutionBasis;
  Mat3 r{};
  InverseTranspose(m, r, kBasisSingularity);
  const bool oriented = !orientations.oriented.empty() && orientations.oriented[0];
  for (int j = 1; j <= parameters.NumberOfReflections; ++j) {
    const Vec3& u = directions(j);
    const IndexedDirection indexed = IndexDirection(u, r, m, parameters.MaxAllowedMillerIndex);
    const ReflectionRowKind kind = FormatReflectionRow(j, indexed, parameters.AngularDeviationCriterion).kind;
    const IndexTriple primitive = {Nint(indexed.x[0]), Nint(indexed.x[1]), Nint(indexed.x[2])};
    const DetectorAngles angles = AnglesFromScatteringDirection(u);
    std::string row = std::to_string(j);
    for (double v : u) row += "," + Real(v, 8);
    row += "," + Real(angles.twoTheta, 5) + "," + Real(angles.chi, 5);
    for (long long v : primitive) row += "," + std::to_string(v);
    if (oriented) {
      const ConventionalIndices c = ConventionalIndicesOfRow(primitive, orientations.orientation[0]);
      for (long long v : c.hkl) row += "," + std::to_string(v);
      for (long long v : c.representative) row += "," + std::to_string(v);
    } else {
      row += ",,,,,,";
    }
    row += "," + Real(indexed.theta * kRadiansToDegrees, 5) + "," + ClassLetter(kind);
    if (grainsOfSpots) {
      row += ",";
      const std::size_t k = static_cast<std::size_t>(j - 1);
      if (k < grainsOfSpots->size()) {
        for (std::size_t g = 0; g < (*grainsOfSpots)[k].size(); ++g)
          row += (g > 0 ? " " : "") + std::to_string((*grainsOfSpots)[k][g]);
      }
    }
    text += row + "\n";
  }
  return text;
}

void WriteSpotTable(const std::string& inputFileName, const RunParameters& parameters, const DirectionStore& directions,
                    const SolutionStore& store, const SolutionOrientations& orientations,
                    const std::vector<std::vector<int>>* grainsOfSpots) {
  if (store.NumberOfSolutions < 1) return;
  std::string text = SpotTableText(parameters, directions, store, orientations, grainsOfSpots);
  text.pop_back();  // WriteLine ends the last line
  TextFile file;
  file.Open(SpotTableFileName(inputFileName));
  file.WriteLine(text);
  file.Close();
}

}  // namespace orv
