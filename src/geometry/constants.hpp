// Numerical constants shared by the whole program: angles, exponents and singularity thresholds.
#pragma once

namespace orv {

constexpr double kPi = 3.141592653589793;
constexpr double kDegreesToRadians = 0.017453292519943295;  // pi/180, used when parameters are read
constexpr double kRadiansToDegrees = 57.29577951308232;     // 180/pi, used in every report
constexpr double kOneThird = 0.3333333333333333;            // exponent of every cube root

// Singularity thresholds of InvertMatrix.
constexpr double kBasisSingularity = 2.2250738585072014e-305;       // candidate and stored bases
constexpr double kRefinementSingularity = 2.2250738585072014e-306;  // refined bases
constexpr double kNormalMatrixSingularity = 2.220446049250313e-16;  // least-squares normal matrix

}  // namespace orv
