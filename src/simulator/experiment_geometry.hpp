// The experiment: the incident beam, the Bragg angle of a scattering vector and the detectors.
#pragma once

#include <string>

#include "geometry/vector_matrix.hpp"

namespace orv::sim {

// The incident beam travels along +z of the laboratory frame.
constexpr Vec3 kBeamDirection = {0.0, 0.0, 1.0};

// A direction of the laboratory frame seen in the frame of peak lists (geometry/laue_frame.hpp:
// beam along +x, detector along +z): the side detector's +x becomes +z, the beam's +z becomes +x,
// and y turns to -y so that the frame stays right-handed. Only components move and change sign, so
// the result is exact.
Vec3 InPeakListFrame(const Vec3& laboratoryDirection);

// A flat detector seen from the crystal. Its plane is perpendicular to `normal` (the direction from
// the crystal to the detector centre); `across` and `up` are unit vectors in that plane. A beam along
// s hits it when s.normal > 0 and the point where it meets the plane at unit distance,
// (s.across, s.up) / (s.normal), lies within the half-sizes (in units of the distance); in
// addition its scattering angle 2theta must lie between the two limits (a beam stop or hole).
struct Detector {
  std::string name;
  Vec3 normal{};
  Vec3 across{};
  Vec3 up{};
  double halfWidth = 0.0;
  double halfHeight = 0.0;
  double minTwoTheta = 0.0;    // degrees
  double maxTwoTheta = 180.0;  // degrees
};

// Flat detector centred at 2theta 90 degrees along +x, a square reaching 2theta 40 to 140 degrees
// along its middle line (half-size tan 50 degrees).
Detector SideDetector();
// Back-reflection plate facing the source (normal -z) with a hole for the incident beam: it
// records 2theta from 110 to 170 degrees.
Detector BackReflectionDetector();
// "side" or "back".
bool DetectorByName(const std::string& name, Detector& detector);

// sin(theta) of the reflection whose scattering vector has unit direction g: the beam meets the
// lattice planes at theta with sin(theta) = -beam.g; only a positive value can diffract.
double SinBraggAngle(const Vec3& unitScatteringVector);

// Direction of the diffracted beam: the incident beam mirrored in the lattice planes.
Vec3 DiffractedDirection(const Vec3& unitScatteringVector);

// Scattering angle 2theta in degrees of a diffracted beam direction.
double TwoThetaDegrees(const Vec3& diffractedDirection);

bool BeamHitsDetector(const Detector& detector, const Vec3& diffractedDirection);

// A scattering vector whose reflection diffracts (sin theta > 0) onto the detector.
bool ScatteringVectorHitsDetector(const Detector& detector, const Vec3& unitScatteringVector);

}  // namespace orv::sim
