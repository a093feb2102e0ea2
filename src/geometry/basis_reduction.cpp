// The Gauss and the stepwise reduction of a basis: ordering, sign normalisation, shortening steps.
#include "geometry/basis_reduction.hpp"

#include <cmath>

#include "geometry/nearest_integer.hpp"

namespace orv {

namespace {

// The three vectors of a reduction with their cached squared lengths and scalar products:
// A = a.a, B = b.b, C = c.c, X = b.c, Y = a.c, Z = a.b.
struct ReductionState {
  Vec3 a, b, c;
  double A, B, C, X, Y, Z;
};

ReductionState LoadState(const Mat3& basis) {
  ReductionState st;
  st.a = basis[0];
  st.b = basis[1];
  st.c = basis[2];
  st.A = Dot(st.a, st.a);
  st.B = Dot(st.b, st.b);
  st.C = Dot(st.c, st.c);
  st.X = Dot(st.b, st.c);
  st.Y = Dot(st.a, st.c);
  st.Z = Dot(st.a, st.b);
  return st;
}

void StoreState(const ReductionState& st, Mat3& basis) {
  basis[0] = st.a;
  basis[1] = st.b;
  basis[2] = st.c;
}

template <typename T>
void Exchange(T& x, T& y) {
  const T t = x;
  x = y;
  y = t;
}

// Exchanging a and b swaps A with B and X with Y; exchanging b and c swaps B with C and Y with Z.
enum class VectorPair { AB, BC };

void SwapVectors(ReductionState& st, VectorPair pair) {
  if (pair == VectorPair::AB) {
    Exchange(st.a, st.b);
    Exchange(st.A, st.B);
    Exchange(st.X, st.Y);
  } else {
    Exchange(st.b, st.c);
    Exchange(st.B, st.C);
    Exchange(st.Y, st.Z);
  }
}

void Negate(Vec3& v, double& product1, double& product2) {
  v = {-v[0], -v[1], -v[2]};
  product1 = -product1;
  product2 = -product2;
}

// Orders the vectors by length (A <= B <= C), with the tie-breaks on the scalar products.
void OrderVectors(ReductionState& st) {
  if (st.A > st.B) SwapVectors(st, VectorPair::AB);
  if (st.B > st.C) SwapVectors(st, VectorPair::BC);
  if (st.A > st.B) SwapVectors(st, VectorPair::AB);
  if (st.A == st.B && std::fabs(st.X) > std::fabs(st.Y)) SwapVectors(st, VectorPair::AB);
  if (st.B == st.C && std::fabs(st.Y) > std::fabs(st.Z)) SwapVectors(st, VectorPair::BC);
}

// Makes the three scalar products all positive, or all zero or negative.
void NormaliseSigns(ReductionState& st) {
  const double q = st.X * st.Y * st.Z;
  if (q > 0) {
    if (st.Z < 0 && st.X < 0) Negate(st.b, st.Z, st.X);
    if (st.X < 0 && st.Y < 0) Negate(st.c, st.X, st.Y);
    if (st.Y < 0 && st.Z < 0) Negate(st.a, st.Y, st.Z);
  } else {
    if (st.Z >= 0 && st.X >= 0 && (st.Z > 0 || st.X > 0)) Negate(st.b, st.Z, st.X);
    if (st.Y >= 0 && st.X >= 0 && (st.Y > 0 || st.X > 0)) Negate(st.c, st.X, st.Y);
    if (st.Z >= 0 && st.Y >= 0 && (st.Z > 0 || st.Y > 0)) Negate(st.a, st.Y, st.Z);
  }
}

// One Gauss step when a pair is out of reduced position; false when none is.
bool GaussStep(ReductionState& st) {
  if (2.0 * std::fabs(st.X) > st.B) {
    SubtractNearestMultiple(st.b, st.c, st.X, st.B);
  } else if (2.0 * std::fabs(st.Y) > st.A) {
    SubtractNearestMultiple(st.a, st.c, st.Y, st.A);
  } else if (2.0 * std::fabs(st.Z) > st.A) {
    SubtractNearestMultiple(st.a, st.b, st.Z, st.A);
    st.B = Dot(st.b, st.b);
    st.Z = Dot(st.a, st.b);
    st.X = Dot(st.b, st.c);
    return true;
  } else {
    return false;
  }
  st.C = Dot(st.c, st.c);
  st.X = Dot(st.b, st.c);
  st.Y = Dot(st.a, st.c);
  return true;
}

// One unit step, or the sum-vector step when c + a + b is shorter than c; false when none applies.
bool UnitStep(ReductionState& st) {
  if (2.0 * std::fabs(st.X) > st.B) {
    SubtractSignedVector(st.b, st.c);
  } else if (2.0 * std::fabs(st.Y) > st.A) {
    SubtractSignedVector(st.a, st.c);
  } else if (2.0 * std::fabs(st.Z) > st.A) {
    SubtractSignedVector(st.a, st.b);
  } else {
    const Vec3 s = {st.a[0] + st.b[0], st.a[1] + st.b[1], st.a[2] + st.b[2]};
    const double t = (2.0 * st.c[0] + s[0]) * s[0] + (2.0 * st.c[1] + s[1]) * s[1] +
                     (2.0 * st.c[2] + s[2]) * s[2];
    if (!(t < 0)) return false;
    SubtractSignedVector(s, st.c);
  }
  return true;
}

}  // namespace

void SubtractNearestMultiple(const Vec3& p, Vec3& q, double s, double t) {
  const int n = Nint(s / t);
  q = {q[0] - n * p[0], q[1] - n * p[1], q[2] - n * p[2]};
}

void SubtractSignedVector(const Vec3& p, Vec3& q) {
  if (Dot(p, q) >= 0) {
    q = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
  } else {
    q = {q[0] + p[0], q[1] + p[1], q[2] + p[2]};
  }
}

int ReduceBasisGauss(Mat3& basis) {
  ReductionState st = LoadState(basis);
  int passes = 0;
  while (passes < kMaxReductionPasses) {
    ++passes;
    OrderVectors(st);
    NormaliseSigns(st);
    if (!GaussStep(st)) break;
  }
  StoreState(st, basis);
  return passes;
}

int ReduceBasisStepwise(Mat3& basis) {
  int passes = 0;
  while (passes < kMaxReductionPasses) {
    ++passes;
    // Every pass starts from scalars computed afresh from the vectors.
    ReductionState st = LoadState(basis);
    OrderVectors(st);
    NormaliseSigns(st);
    const bool stepped = UnitStep(st);
    StoreState(st, basis);
    if (!stepped) break;
  }
  return passes;
}

}  // namespace orv
