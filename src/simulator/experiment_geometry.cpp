// Bragg geometry of a scattering vector and the detector acceptance test.
#include "simulator/experiment_geometry.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orv::sim {

Detector SideDetector() {
  Detector d;
  d.name = "side";
  d.normal = {1.0, 0.0, 0.0};
  d.across = {0.0, 0.0, 1.0};
  d.up = {0.0, 1.0, 0.0};
  d.halfWidth = std::tan(50.0 * kDegreesToRadians);
  d.halfHeight = d.halfWidth;
  return d;
}

Detector BackReflectionDetector() {
  Detector d;
  d.name = "back";
  d.normal = {0.0, 0.0, -1.0};
  d.across = {1.0, 0.0, 0.0};
  d.up = {0.0, 1.0, 0.0};
  // The square plate reaches 2theta 110 at the middle of its edges; the lower limit trims its
  // corners so that the recorded range is the same in every direction.
  d.halfWidth = std::tan(70.0 * kDegreesToRadians);
  d.halfHeight = d.halfWidth;
  d.minTwoTheta = 110.0;
  d.maxTwoTheta = 170.0;
  return d;
}

bool DetectorByName(const std::string& name, Detector& detector) {
  if (name == "side") {
    detector = SideDetector();
    return true;
  }
  if (name == "back") {
    detector = BackReflectionDetector();
    return true;
  }
  return false;
}

double SinBraggAngle(const Vec3& unitScatteringVector) { return -Dot(kBeamDirection, unitScatteringVector); }

Vec3 DiffractedDirection(const Vec3& g) {
  const double twice = 2.0 * Dot(kBeamDirection, g);
  return {kBeamDirection[0] - twice * g[0], kBeamDirection[1] - twice * g[1], kBeamDirection[2] - twice * g[2]};
}

double TwoThetaDegrees(const Vec3& diffractedDirection) {
  return ClampedArcCos(Dot(kBeamDirection, diffractedDirection) / VectorNorm(diffractedDirection)) *
         kRadiansToDegrees;
}

bool BeamHitsDetector(const Detector& detector, const Vec3& s) {
  const double towards = Dot(s, detector.normal);
  if (!(towards > 0.0)) return false;
  const double x = Dot(s, detector.across) / towards;
  const double y = Dot(s, detector.up) / towards;
  if (!(std::fabs(x) <= detector.halfWidth && std::fabs(y) <= detector.halfHeight)) return false;
  const double twoTheta = TwoThetaDegrees(s);
  return twoTheta >= detector.minTwoTheta && twoTheta <= detector.maxTwoTheta;
}

Vec3 InPeakListFrame(const Vec3& v) { return {v[2], -v[1], v[0]}; }

bool ScatteringVectorHitsDetector(const Detector& detector, const Vec3& g) {
  if (!(SinBraggAngle(g) > 0.0)) return false;
  return BeamHitsDetector(detector, DiffractedDirection(g));
}

}  // namespace orv::sim
