// Scattering directions of Laue spots from the detector angles (2theta, chi) and back.
#pragma once

#include "geometry/vector_matrix.hpp"

namespace orv {

// The laboratory frame of peak lists: x along the incident beam, z towards the detector, y
// completing a right-handed frame. A spot at scattering angle 2theta and azimuth chi (degrees) has
// the unit scattering vector q = k_out - k_in along
//   (-sin theta, cos theta sin chi, cos theta cos chi),   theta = 2theta / 2,
// so chi = 0 is the vertical plane through the beam and the detector centre, and chi turns towards +y.
struct DetectorAngles {
  double twoTheta = 0.0;  // degrees
  double chi = 0.0;       // degrees
};

Vec3 ScatteringDirectionFromAngles(const DetectorAngles& angles);

// The angles of a scattering vector of any nonzero length: theta from -x against the yz plane,
// chi = atan2(y, z) in [-180, 180]. A vector along x has chi 0.
DetectorAngles AnglesFromScatteringDirection(const Vec3& direction);

}  // namespace orv
