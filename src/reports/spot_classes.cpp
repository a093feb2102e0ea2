// The class of every spot under one solution, by the rule of the results file's reflection table.
#include "reports/spot_classes.hpp"

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"
#include "reports/results_file.hpp"

namespace orv {

std::vector<ClassifiedSpot> ClassifySpots(const Mat3& basis, const RunParameters& parameters,
                                          const DirectionStore& directions) {
  // The same R as the solution block, so that the picture and the table never disagree.
  Mat3 r{};
  InverseTranspose(basis, r, kBasisSingularity);
  std::vector<ClassifiedSpot> spots;
  spots.reserve(static_cast<std::size_t>(parameters.NumberOfReflections));
  for (int j = 1; j <= parameters.NumberOfReflections; ++j) {
    const IndexedDirection indexed = IndexDirection(directions(j), r, basis, parameters.MaxAllowedMillerIndex);
    const ReflectionRowKind kind = FormatReflectionRow(j, indexed, parameters.AngularDeviationCriterion).kind;
    ClassifiedSpot spot;
    spot.deviation = indexed.theta;
    if (kind == ReflectionRowKind::WithinHalfTolerance || kind == ReflectionRowKind::WithinTolerance) {
      spot.spotClass =
          kind == ReflectionRowKind::WithinHalfTolerance ? SpotClass::WithinHalfTolerance : SpotClass::WithinTolerance;
      spot.hkl = {Nint(indexed.x[0]), Nint(indexed.x[1]), Nint(indexed.x[2])};
    }
    spots.push_back(spot);
  }
  return spots;
}

SpotCounts CountSpots(const std::vector<ClassifiedSpot>& spots) {
  SpotCounts counts;
  for (const ClassifiedSpot& spot : spots) {
    if (spot.spotClass == SpotClass::NotIndexed) continue;
    ++counts.nh;
    if (spot.spotClass == SpotClass::WithinHalfTolerance) ++counts.nH;
  }
  return counts;
}

}  // namespace orv
