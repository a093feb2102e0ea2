// Timings of the innermost geometry: one integer indexing (fast and literal) and one Gauss reduction.
#include <benchmark/benchmark.h>

#include <cmath>

#include "geometry/basis_reduction.hpp"
#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "search/candidate_bases.hpp"

namespace orv {
namespace {

Vec3 Unit(const Vec3& v) {
  Vec3 u{};
  double norm;
  NormalizeVector(v, u, norm);
  return u;
}

// A quadruple's candidate of index 5, brought to unit volume as the evaluation does.
Mat3 TypicalCandidate() {
  DirectionStore directions;
  directions(1) = Unit({0.9, 0.1, 0.2});
  directions(2) = Unit({0.2, 0.8, -0.1});
  directions(3) = Unit({0.1, 0.3, 0.9});
  directions(4) = Unit({0.6, 0.55, 0.5});
  SublatticeTables tables;
  BuildSublatticeTables(tables);
  const Mat3 c = MultiplyMatrices(tables.Table(5).back(), BasisFromQuadruple(directions, 1, 2, 3, 4));
  return ScaleMatrix(c, std::pow(1.0 / std::fabs(Determinant(c)), kOneThird));
}

void BM_IndexDirection(benchmark::State& state) {
  Mat3 r = TypicalCandidate();
  ReduceBasisGauss(r);
  Mat3 d{};
  InverseTranspose(r, d, kBasisSingularity);
  const Vec3 u = Unit({0.3, 0.5, 0.81});
  for (auto _ : state) benchmark::DoNotOptimize(IndexDirection(u, r, d, 12));
}
BENCHMARK(BM_IndexDirection);

void BM_IndexDirectionLiteral(benchmark::State& state) {
  Mat3 r = TypicalCandidate();
  ReduceBasisGauss(r);
  Mat3 d{};
  InverseTranspose(r, d, kBasisSingularity);
  const Vec3 u = Unit({0.3, 0.5, 0.81});
  for (auto _ : state) benchmark::DoNotOptimize(IndexDirectionLiteral(u, r, d, 12));
}
BENCHMARK(BM_IndexDirectionLiteral);

void BM_ReduceBasisGauss(benchmark::State& state) {
  const Mat3 candidate = TypicalCandidate();
  for (auto _ : state) {
    Mat3 m = candidate;
    benchmark::DoNotOptimize(ReduceBasisGauss(m));
    benchmark::DoNotOptimize(m);
  }
}
BENCHMARK(BM_ReduceBasisGauss);

}  // namespace
}  // namespace orv
