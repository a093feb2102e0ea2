// Integer 3 x 3 matrices between bases of one lattice.
#include "solutions/integer_matrix.hpp"

namespace orv {

IntMat3 MultiplyIntegerMatrices(const IntMat3& a, const IntMat3& b) {
  IntMat3 p{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) p[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
  return p;
}

int IntegerDeterminant(const IntMat3& m) {
  return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
         m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
}

IntMat3 NegateIntegerMatrix(const IntMat3& m) {
  IntMat3 n{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) n[r][c] = -m[r][c];
  return n;
}

Mat3 IntegerMatrixAsReal(const IntMat3& m) {
  Mat3 real{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) real[r][c] = m[r][c];
  return real;
}

IntMat3 UnitEntryMatrix(int number) {
  IntMat3 w{};
  int rest = number;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      w[r][c] = rest % 3 - 1;
      rest /= 3;
    }
  return w;
}

Mat3 ApplyIntegerMatrix(const IntMat3& m, const Mat3& basis) {
  return MultiplyMatrices(IntegerMatrixAsReal(m), basis);
}

}  // namespace orv
