// Every zone arc of a run, computed up front (on several threads) and then only read.
#include "search/zone_arc_table.hpp"

#include <cmath>
#include <cstddef>

#include "search/ordered_work.hpp"

namespace orv {
namespace {

// A relative bound far above the rounding of either way of forming the triple product (a few
// units of 1e-16 of |d_p| |d_q| |d_r|).
constexpr double kTripleProductScreenMargin = 1e-12;

}  // namespace

void ScreenedZoneArc(const DirectionStore& directions, const std::vector<double>& norms, int n, int p, int q,
                     std::vector<int>& arc) {
  arc.clear();
  const Vec3& dp = directions(p);
  const Vec3& dq = directions(q);
  const Vec3 normal = CrossProduct(dp, dq);
  const double pairScale = kTripleProductScreenMargin * norms[static_cast<std::size_t>(p - 1)] *
                           norms[static_cast<std::size_t>(q - 1)];
  const double theta = ClampedArcCos(Dot(dp, dq));
  for (int r = 1; r <= n; ++r) {
    const Vec3& dr = directions(r);
    // Clearly off the zone circle; a NaN screen takes the exact tests.
    if (std::fabs(Dot(normal, dr)) > kZoneFlatness + pairScale * norms[static_cast<std::size_t>(r - 1)]) continue;
    if (r == p || r == q) continue;
    if (!(std::fabs(TripleProduct(directions, p, q, r)) <= kZoneFlatness)) continue;
    if (std::fabs(ClampedArcCos(Dot(dq, dr)) + ClampedArcCos(Dot(dr, dp)) - theta) <= kArcAngleTolerance)
      arc.push_back(r);
  }
}

void ZoneArcTable::Build(const DirectionStore& directions, int n, int threads) {
  rows_.assign(static_cast<std::size_t>(n < 0 ? 0 : n), Row{});
  std::vector<double> norms(static_cast<std::size_t>(n < 0 ? 0 : n));
  for (int r = 1; r <= n; ++r) norms[static_cast<std::size_t>(r - 1)] = VectorNorm(directions(r));
  struct Scratch {
    std::vector<int> arc;
  };
  std::vector<Scratch> scratch(static_cast<std::size_t>(threads < 1 ? 1 : threads));
  // Each row is written by the one worker that computes it.
  ProduceInOrder<char>(
      threads, n, 4LL * threads,
      [&](long long index, int worker, char&) {
        Row& row = rows_[static_cast<std::size_t>(index)];
        std::vector<int>& arc = scratch[static_cast<std::size_t>(worker)].arc;
        const int p = static_cast<int>(index) + 1;
        row.starts.assign(static_cast<std::size_t>(n) + 1, 0);
        row.entries.clear();
        for (int q = 1; q <= n; ++q) {
          ScreenedZoneArc(directions, norms, n, p, q, arc);
          row.entries.insert(row.entries.end(), arc.begin(), arc.end());
          row.starts[static_cast<std::size_t>(q)] = static_cast<int>(row.entries.size());
        }
        row.entries.shrink_to_fit();
      },
      [](long long, char&) {});
}

}  // namespace orv
