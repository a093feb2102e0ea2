// Vectors, 3x3 basis matrices (rows are basis vectors) and the primitives that act on them.
#pragma once

#include <array>

namespace orv {

using Vec3 = std::array<double, 3>;
// A basis matrix: row i holds the x, y, z components of basis vector i.
using Mat3 = std::array<Vec3, 3>;

// Status values of the primitives that can fail; on failure the output is left untouched.
constexpr int kStatusSuccess = 0;
constexpr int kStatusFailure = -1;

// Dot product x1*y1 + x2*y2 + x3*y3, summed left to right.
inline double Dot(const Vec3& x, const Vec3& y) { return x[0] * y[0] + x[1] * y[1] + x[2] * y[2]; }

// det M = M11 (M22 M33 - M23 M32) - M12 (M21 M33 - M23 M31) + M13 (M21 M32 - M22 M31).
double Determinant(const Mat3& m);

// M^-1 as the adjugate multiplied by the one reciprocal 1/det. Fails when threshold > |det M|.
int InvertMatrix(const Mat3& m, Mat3& inverse, double threshold);

// M^-T, the dual basis: InvertMatrix followed by a transposition.
int InverseTranspose(const Mat3& m, Mat3& dual, double threshold);

// Unit vector of x; norm is always written. Fails (output untouched) when norm < 1e-23.
int NormalizeVector(const Vec3& x, Vec3& unit, double& norm);

// Unit vector of any finite non-zero x. Components of ordinary size give exactly what
// NormalizeVector gives; when that overflows or falls below its threshold, x is first scaled by the
// power of two that brings its largest component near 1, which keeps the direction. norm is |x| as
// far as a double holds it (infinite or below 1e-23 in the scaled case). Fails (output untouched)
// for a zero vector and for components that are not finite.
int NormalizeVectorScaled(const Vec3& x, Vec3& unit, double& norm);

double VectorNorm(const Vec3& x);

Vec3 CrossProduct(const Vec3& a, const Vec3& b);

// arccos of c clamped to [-1, 1]; NaN gives pi, the worst possible match.
double ClampedArcCos(double c);

// Product of two matrices, A on the left: (AB)(r, c) = A(r,1) B(1,c) + A(r,2) B(2,c) + A(r,3) B(3,c).
Mat3 MultiplyMatrices(const Mat3& a, const Mat3& b);

// Every entry of m multiplied by s.
Mat3 ScaleMatrix(const Mat3& m, double s);

// The factor (volume / |det m|)^(1/3) that brings the cell of basis m to the given volume; not
// finite when the basis has no volume.
double VolumeScaleFactor(const Mat3& m, double volume);

}  // namespace orv
