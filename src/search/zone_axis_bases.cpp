// Candidate cells built from the zone axes of a pattern, offered to the solution store.
#include "search/zone_axis_bases.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "geometry/constants.hpp"
#include "search/quadruple_evaluation.hpp"

namespace orv {
namespace {

// Three unit axes whose triple product is smaller than this are taken as coplanar.
constexpr double kMinAxisVolume = 0.01;
// Rows whose lengths differ by more than this factor are not tried: the cell would need indices
// far beyond any bound the program accepts in practice.
constexpr double kMaxRowLengthRatio = 20.0;

bool Independent(const Vec3& a, const Vec3& b, const Vec3& c) {
  return std::fabs(Determinant(Mat3{a, b, c})) >= kMinAxisVolume;
}

}  // namespace

bool CellFromFourAxes(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& e, Mat3& cell) {
  const Mat3 rows{a, b, c};
  if (!Independent(a, b, c) || !Independent(a, b, e) || !Independent(a, c, e) || !Independent(b, c, e))
    return false;
  Mat3 inverse{};
  if (InvertMatrix(rows, inverse, kBasisSingularity) != kStatusSuccess) return false;
  // e = s_a a + s_b b + s_c c, i.e. the row vector s = e M^-1.
  Vec3 s{};
  for (int j = 0; j < 3; ++j) s[j] = e[0] * inverse[0][j] + e[1] * inverse[1][j] + e[2] * inverse[2][j];
  const double largest = std::max({std::fabs(s[0]), std::fabs(s[1]), std::fabs(s[2])});
  const double smallest = std::min({std::fabs(s[0]), std::fabs(s[1]), std::fabs(s[2])});
  if (!(smallest * kMaxRowLengthRatio >= largest)) return false;
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 3; ++k) cell[r][k] = s[r] * rows[r][k];
  return true;
}

ZoneAxisSearchCounts OfferZoneAxisBases(const RunParameters& parameters, const DirectionStore& directions,
                                        SolutionStore& store, RunObserver& events, const ZoneSearchLimits& limits) {
  ZoneAxisSearchCounts counts;
  const int n = parameters.NumberOfReflections;
  const std::vector<ZoneAxis> zones =
      FindZoneAxes(directions, n, limits.toleranceShare * parameters.AngularDeviationCriterion, limits);
  counts.zones = static_cast<int>(zones.size());
  const int z = counts.zones;
  double floor = OfferFloor(store);
  for (int a = 0; a < z; ++a)
    for (int b = a + 1; b < z; ++b)
      for (int c = b + 1; c < z; ++c)
        for (int e = c + 1; e < z; ++e) {
          Mat3 cell{};
          if (!CellFromFourAxes(zones[static_cast<std::size_t>(a)].axis, zones[static_cast<std::size_t>(b)].axis,
                                zones[static_cast<std::size_t>(c)].axis, zones[static_cast<std::size_t>(e)].axis,
                                cell))
            continue;
          Mat3 reciprocal{};
          if (InverseTranspose(cell, reciprocal, kBasisSingularity) != kStatusSuccess) continue;
          ++counts.cells;
          const CandidateScore scored =
              ScoreCandidate(reciprocal, parameters, directions, CandidateScoring::Fast, floor);
          if (!scored.accepted) continue;
          ++counts.offered;
          SaveBasis(store, scored.basis, scored.score.counts, scored.score.quality, events);
          floor = OfferFloor(store);
        }
  return counts;
}

}  // namespace orv
