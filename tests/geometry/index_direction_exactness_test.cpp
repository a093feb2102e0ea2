// The fast integer indexing against the literal scan, bit for bit, on many generated inputs: the
// bases a search meets, skewed ones, exact lattice directions and their near misses, directions
// of other lengths, ties of the rounding, the whole range of index bounds, and broken inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kRounds = 400;
#else
constexpr int kRounds = 10000;
#endif

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

// Uniform doubles from raw 64-bit draws, the same on every platform.
class Draw {
 public:
  explicit Draw(std::uint64_t seed) : engine_(seed) {}
  double Uniform(double low, double high) {
    return low + (high - low) * static_cast<double>(engine_() >> 11) * 0x1.0p-53;
  }
  int Integer(int low, int high) { return low + static_cast<int>(engine_() % static_cast<std::uint64_t>(high - low + 1)); }
  Vec3 UnitVector() {
    for (;;) {
      const Vec3 v = {Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)};
      const double n = VectorNorm(v);
      if (n > 0.1 && n <= 1.0) return {v[0] / n, v[1] / n, v[2] / n};
    }
  }

 private:
  std::mt19937_64 engine_;
};

// A reduced basis of unit volume, as the search scores them; `skew` stretches one axis.
Mat3 CandidateBasis(Draw& draw, double skew) {
  Mat3 m{};
  for (Vec3& row : m) row = {draw.Uniform(-1, 1), draw.Uniform(-1, 1), draw.Uniform(-1, 1)};
  for (double& e : m[0]) e *= skew;
  const double det = Determinant(m);
  if (std::fabs(det) < 1e-6) return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  m = ScaleMatrix(m, std::pow(1.0 / std::fabs(det), kOneThird));
  ReduceBasisGauss(m);
  return m;
}

void ExpectSameIndexing(const Vec3& u, const Mat3& R, const Mat3& D, int bound) {
  const IndexedDirection fast = IndexDirection(u, R, D, bound);
  const IndexedDirection literal = IndexDirectionLiteral(u, R, D, bound);
  const bool same = SameBits(fast.theta, literal.theta) && SameBits(fast.x[0], literal.x[0]) &&
                    SameBits(fast.x[1], literal.x[1]) && SameBits(fast.x[2], literal.x[2]) &&
                    fast.withinBound == literal.withinBound && fast.scale == literal.scale;
  EXPECT_TRUE(same) << "u = " << u[0] << " " << u[1] << " " << u[2] << ", M = " << bound << "\n  fast theta "
                    << fast.theta << " scale " << fast.scale << ", literal theta " << literal.theta << " scale "
                    << literal.scale;
}

TEST(IndexDirectionExactness, FastScanChoosesWhatTheLiteralScanChooses) {
  Draw draw(20240611);
  const int bounds[] = {4, 5, 8, 12, 17, 30, 64, 100};
  int failures = 0;
  for (int round = 0; round < kRounds && failures == 0; ++round) {
    const Mat3 R = CandidateBasis(draw, round % 4 == 0 ? draw.Uniform(2.0, 12.0) : 1.0);
    Mat3 D{};
    ASSERT_EQ(InverseTranspose(R, D, kBasisSingularity), kStatusSuccess);
    const int bound = bounds[round % 8];
    // Exact lattice rows (whose multiples tie), rows off by a hair (near-ties), and random directions.
    const int h[3] = {draw.Integer(-6, 6), draw.Integer(-6, 6), draw.Integer(1, 6)};
    Vec3 g{};
    for (int j = 0; j < 3; ++j) g[j] = h[0] * R[0][j] + h[1] * R[1][j] + h[2] * R[2][j];
    const double n = VectorNorm(g);
    const Vec3 exact = {g[0] / n, g[1] / n, g[2] / n};
    const double hair = draw.Uniform(-1e-9, 1e-9);
    const Vec3 nearMiss = {exact[0] + hair, exact[1] - hair, exact[2]};
    // A row a little longer than a unit vector: several trials get a cosine of 1 or more, angle 0.
    const Vec3 longer = {exact[0] * 1.0000001, exact[1] * 1.0000001, exact[2] * 1.0000001};
    const double length = round % 7 == 0 ? draw.Uniform(0.2, 1.9) : 1.0;
    const Vec3 random = draw.UnitVector();
    const Vec3 scaled = {random[0] * length, random[1] * length, random[2] * length};
    for (const Vec3& u : {exact, nearMiss, longer, random, scaled}) ExpectSameIndexing(u, R, D, bound);
    failures = ::testing::Test::HasFailure() ? 1 : 0;
  }
}

TEST(IndexDirectionExactness, TiesOfTheRoundingAndUnusualInputs) {
  const Mat3 identity = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  // Along the axes and diagonals s w_i / 2.3 meets halves exactly for some scales; lengths and
  // bases beyond what the fast way handles itself go the sequential way; broken ones stay broken.
  const double inf = std::numeric_limits<double>::infinity();
  const Vec3 directions[] = {{1, 0, 0},         {0, -1, 0},      {0.6, 0.8, 0},      {0.6, 0, -0.8},
                             {3, 4, 12},        {1e-3, 0, 0},    {0, 0, 1e6},        {0, 0, 0},
                             {std::nan(""), 0, 1}, {inf, 0, 0}, {0.2, 0.3, 0.9}};
  const Mat3 bases[] = {identity,
                        ScaleMatrix(identity, 2.3),
                        {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1e120}}},
                        {{{1, 0, 0}, {0, 1e-30, 0}, {0, 0, 1}}},
                        {{{1, 1, 0}, {0, 1, 1}, {1, 0, 1}}}};
  for (const Mat3& R : bases) {
    Mat3 D{};
    InverseTranspose(R, D, 1e-300);
    for (const Vec3& u : directions)
      for (const int bound : {4, 12, 100, 150}) ExpectSameIndexing(u, R, D, bound);
  }
}

// NINT as the library rounds, halves away from zero, saturating; NaN gives 0.
int LibraryNint(double x) {
  if (std::isnan(x)) return 0;
  const double r = std::round(x);
  if (r >= 2147483647.0) return std::numeric_limits<int>::max();
  if (r <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

TEST(NearestInteger, CheapRoundingAgreesWithTheLibrary) {
  const double values[] = {0.0,  -0.0, 0.5, -0.5, 1.5, -1.5, 2.5, -2.5, 0.49999999999999994, -0.49999999999999994,
                           1e9, -1e9, 1073741823.5, 1073741824.5, 2147483647.5, -2147483648.5, 1e300, -1e300,
                           std::nextafter(2.5, 0.0), std::nextafter(2.5, 3.0), std::nan(""),
                           std::numeric_limits<double>::infinity()};
  for (const double x : values) EXPECT_EQ(Nint(x), LibraryNint(x)) << x;
  Draw draw(7);
  for (int i = 0; i < 100000; ++i) {
    const double x = draw.Uniform(-200.0, 200.0);
    ASSERT_EQ(Nint(x), LibraryNint(x)) << x;
    const double half = std::floor(x) + 0.5;
    ASSERT_EQ(Nint(half), LibraryNint(half)) << half;
    ASSERT_EQ(Nint(-half), LibraryNint(-half)) << half;
  }
}

}  // namespace
}  // namespace orv
