// How well a lattice explains the reflections with its shortest rows: the share of them that is seen.
#include "solutions/observed_row_share.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

constexpr double kZeta3 = 1.2020569031595942;  // the share of lattice vectors that are primitive is 1/zeta(3)
// Lattice points tried at most for one lattice; a cell so elongated that its shortest rows need
// more is not a plausible choice and gets the share 0.
constexpr double kLargestBox = 4.0e6;
constexpr int kLargestRadiusSteps = 12;

struct PredictedRow {
  double squaredLength;
  bool observed;
};

// The observed rows as integer keys in a small open-addressing table, looked up for every lattice
// point tried (most of which are not observed, and are told so by the first empty slot). Indices
// beyond the key's range are beyond every box of indices tried too, and are left out.
class ObservedKeys {
 public:
  explicit ObservedKeys(const std::vector<MillerIndices>& rows) {
    std::size_t size = 64;
    while (size < 4 * rows.size()) size *= 2;
    slots_.assign(size, kEmpty);
    mask_ = size - 1;
    for (const MillerIndices& row : rows) {
      if (!InRange(row[0]) || !InRange(row[1]) || !InRange(row[2])) continue;
      const std::uint64_t key = Key(row[0], row[1], row[2]);
      std::size_t slot = Slot(key);
      while (slots_[slot] != kEmpty && slots_[slot] != key) slot = (slot + 1) & mask_;
      slots_[slot] = key;
    }
  }
  bool Holds(int h, int k, int l) const {
    const std::uint64_t key = Key(h, k, l);
    for (std::size_t slot = Slot(key);; slot = (slot + 1) & mask_) {
      if (slots_[slot] == key) return true;
      if (slots_[slot] == kEmpty) return false;
    }
  }

 private:
  static constexpr int kOffset = 1 << 20;
  static constexpr std::uint64_t kEmpty = 0;  // no key is 0: every index is offset to at least 1
  static bool InRange(int v) { return v > -kOffset && v < kOffset; }
  static std::uint64_t Key(int h, int k, int l) {
    return (static_cast<std::uint64_t>(h + kOffset) << 42) | (static_cast<std::uint64_t>(k + kOffset) << 21) |
           static_cast<std::uint64_t>(l + kOffset);
  }
  std::size_t Slot(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 40) & mask_;
  }
  std::vector<std::uint64_t> slots_;
  std::size_t mask_ = 0;
};

// Whether (h, k, l), not all zero, has no common divisor above 1; an index of 1 settles it.
bool IsPrimitive(int h, int k, int l) {
  if (h == 1 || h == -1 || k == 1 || k == -1 || l == 1 || l == -1) return true;
  return GreatestCommonDivisor(h, k, l) == 1;
}

// The integers i with |centre + i step|^2 <= radius^2 for some point of the line, widened by one
// on each side and kept within [-bound, bound]; `missed` is |centre x step|^2, the squared distance
// of the line from the origin times |step|^2. The radius is taken a little larger, so that rounding
// can only add integers, never drop one; the callers test every point themselves.
struct IndexRange {
  int first;
  int last;
};

IndexRange RangeWithin(double along, double stepSquared, double missed, double radiusSquared, int bound) {
  const IndexRange whole{-bound, bound};
  if (!(stepSquared > 0.0)) return whole;
  const double discriminant = stepSquared * radiusSquared * (1.0 + 1e-6) - missed;
  if (discriminant < 0.0) return IndexRange{1, 0};
  const double half = std::sqrt(discriminant) / stepSquared;
  const double middle = -along / stepSquared;
  const double low = std::floor(middle - half) - 1.0;
  const double high = std::ceil(middle + half) + 1.0;
  if (!std::isfinite(low) || !std::isfinite(high)) return whole;
  return IndexRange{static_cast<int>(std::max(low, -static_cast<double>(bound))),
                    static_cast<int>(std::min(high, static_cast<double>(bound)))};
}

// The part of v across the unit vector `axis`.
Vec3 Across(const Vec3& v, const Vec3& axis) {
  const double along = Dot(v, axis);
  return {v[0] - along * axis[0], v[1] - along * axis[1], v[2] - along * axis[2]};
}

// Every row with a primitive vector no longer than `radius` that points into the region or is
// observed. False when the box of indices to try is too large. Only the indices whose line of
// lattice points comes within the radius are visited (k for each h, l for each h and k); a point's
// length is then tested as for the whole box, so the rows are those of the box.
bool CollectRows(const Mat3& reciprocal, const Vec3& directLengths, double radius,
                 const ObservedKeys& observedRows, const CoveredRegion& region, std::vector<PredictedRow>& rows) {
  rows.clear();
  // |h_i| = |g . a_i| <= |g| |a_i|: the box holds the whole ball.
  int bound[3];
  double box = 1.0;
  for (int i = 0; i < 3; ++i) {
    const double reach = std::floor(radius * directLengths[i]);
    if (!(reach < 1.0e6)) return false;
    bound[i] = static_cast<int>(reach);
    box *= 2.0 * reach + 1.0;
  }
  if (box > kLargestBox) return false;
  const double limit = radius * radius;
  const Vec3& c = reciprocal[2];
  const double cSquared = Dot(c, c);
  const double cLength = std::sqrt(cSquared);
  const Vec3 cUnit = cLength > 0.0 ? Vec3{c[0] / cLength, c[1] / cLength, c[2] / cLength} : Vec3{0.0, 0.0, 0.0};
  // a* and b* seen along c*: the k of a given h whose line in l comes within the radius.
  const Vec3 aAcross = Across(reciprocal[0], cUnit);
  const Vec3 bAcross = Across(reciprocal[1], cUnit);
  const Vec3 abAcross = CrossProduct(aAcross, bAcross);
  const double bAcrossSquared = Dot(bAcross, bAcross);
  const double abAcrossSquared = Dot(abAcross, abAcross);
  for (int h = -bound[0]; h <= bound[0]; ++h) {
    const IndexRange ks = RangeWithin(h * Dot(aAcross, bAcross), bAcrossSquared,
                                      static_cast<double>(h) * h * abAcrossSquared, limit, bound[1]);
    for (int k = ks.first; k <= ks.last; ++k) {
      Vec3 p;
      for (int e = 0; e < 3; ++e) p[e] = h * reciprocal[0][e] + k * reciprocal[1][e];
      const Vec3 pc = CrossProduct(p, c);
      const IndexRange ls = RangeWithin(Dot(p, c), cSquared, Dot(pc, pc), limit, bound[2]);
      for (int l = ls.first; l <= ls.last; ++l) {
        Vec3 g;
        for (int e = 0; e < 3; ++e) g[e] = h * reciprocal[0][e] + k * reciprocal[1][e] + l * reciprocal[2][e];
        const double squared = Dot(g, g);
        if (squared > limit || squared <= 0.0) continue;
        // Half the points face away from the region: unless observed, they are passed over first.
        const bool observed = observedRows.Holds(h, k, l);
        if (!observed && region.FacesAway(g)) continue;
        if (!IsPrimitive(h, k, l)) continue;
        if (!observed && !region.Contains(g)) continue;
        rows.push_back({squared, observed});
      }
    }
  }
  return true;
}

}  // namespace

IndexedRows IndexRows(const Mat3& direct, const RunParameters& parameters, const DirectionStore& directions) {
  IndexedRows indexed;
  IndexRowsWhileReachable(direct, parameters, directions, [](int) { return true; }, indexed);
  return indexed;
}

bool IndexRowsWhileReachable(const Mat3& direct, const RunParameters& parameters, const DirectionStore& directions,
                             const std::function<bool(int)>& reachable, IndexedRows& indexed) {
  indexed = IndexedRows{};
  Mat3 reciprocal{};
  if (InverseTranspose(direct, reciprocal, kBasisSingularity) != kStatusSuccess) return reachable(0);
  const double tolerance = parameters.AngularDeviationCriterion;
  const AngleLimit half(0.5 * tolerance);
  const AngleLimit full(tolerance);
  const int n = std::min(parameters.NumberOfReflections, kMaxReflections);
  for (int j = 1; j <= n; ++j) {
    if (!reachable(indexed.counts.nFull + (n - j + 1))) return false;
    const ScannedDirection row = ScanIndexDirection(directions(j), reciprocal, direct, parameters.MaxAllowedMillerIndex);
    if (!row.withinBound) continue;
    if (half.Holds(row.cosine)) ++indexed.counts.nHalf;
    if (!full.Holds(row.cosine)) continue;
    ++indexed.counts.nFull;
    indexed.rows.push_back({Nint(row.x[0]), Nint(row.x[1]), Nint(row.x[2])});
  }
  std::sort(indexed.rows.begin(), indexed.rows.end());
  indexed.rows.erase(std::unique(indexed.rows.begin(), indexed.rows.end()), indexed.rows.end());
  return true;
}

double ObservedRowShare(const Mat3& direct, const std::vector<MillerIndices>& observedRows,
                        const CoveredRegion& region, int rowsCounted) {
  if (rowsCounted <= 0) return 0.0;
  Mat3 reciprocal{};
  if (InverseTranspose(direct, reciprocal, kBasisSingularity) != kStatusSuccess) return 0.0;
  const Vec3 directLengths = {VectorNorm(direct[0]), VectorNorm(direct[1]), VectorNorm(direct[2])};
  const double reciprocalVolume = std::fabs(Determinant(reciprocal));
  const double fraction = std::max(region.SphereFraction(), 1.0e-3);
  const int wanted = rowsCounted;

  // A ball of radius r holds about (4 pi / 3) r^3 / (V* zeta(3)) primitive vectors; start a little
  // beyond the radius that should hold the wanted rows inside the region, and widen as needed.
  double radius = std::cbrt(1.3 * 3.0 * wanted * kZeta3 * reciprocalVolume / (4.0 * kPi * fraction));
  const ObservedKeys observed(observedRows);
  std::vector<PredictedRow> rows;
  for (int step = 0; step < kLargestRadiusSteps; ++step) {
    if (!CollectRows(reciprocal, directLengths, radius, observed, region, rows)) return 0.0;
    if (static_cast<int>(rows.size()) >= wanted) break;
    const double found = std::max<double>(1.0, static_cast<double>(rows.size()));
    radius *= std::max(1.15, 1.1 * std::cbrt(wanted / found));
  }
  if (rows.empty()) return 0.0;
  std::sort(rows.begin(), rows.end(),
            [](const PredictedRow& a, const PredictedRow& b) { return a.squaredLength < b.squaredLength; });
  const std::size_t last = std::min(rows.size(), static_cast<std::size_t>(wanted)) - 1;
  const double edge = rows[last].squaredLength;
  const double tie = edge * 1.0e-9;
  double seen = 0.0;
  int tiedSeen = 0;
  int tied = 0;
  std::size_t shorter = 0;
  for (const PredictedRow& row : rows) {
    if (row.squaredLength < edge - tie) {
      ++shorter;
      if (row.observed) seen += 1.0;
    } else if (row.squaredLength <= edge + tie) {
      ++tied;
      if (row.observed) ++tiedSeen;
    }
  }
  // The rows tied at the end share the places left.
  const double placesLeft = static_cast<double>(last + 1 - shorter);
  if (tied > 0) seen += placesLeft * tiedSeen / tied;
  return seen / wanted;
}

}  // namespace orv
