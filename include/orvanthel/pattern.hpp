// A Laue pattern: the directions of its spots, optionally with their detector angles and intensities.
#pragma once

#include <array>
#include <vector>

namespace orvanthel {

using Vector3 = std::array<double, 3>;

// The spots of one pattern, strongest first as far as that is known. A direction is the direction
// of the spot's scattering vector q = k_out - k_in, of any length; it is normalised when indexed.
// The optional columns are either empty or hold one value per spot; they travel with the pattern
// into the spot tables of the result and play no part in the search.
struct Pattern {
  std::vector<Vector3> directions;
  std::vector<double> twoThetaDegrees;
  std::vector<double> chiDegrees;
  std::vector<double> intensities;
};

// The pattern of spots given by their scattering angles 2theta and chi in degrees, in the frame of
// peak lists: x along the incident beam, z towards the detector, y completing a right-handed frame;
// q is along (-sin theta, cos theta sin chi, cos theta cos chi) with theta = 2theta / 2.
// `intensities` may be empty. Throws Error(InvalidPattern) when the lengths differ or 2theta lies
// outside (0, 180].
Pattern PatternFromScatteringAngles(const std::vector<double>& twoThetaDegrees, const std::vector<double>& chiDegrees,
                                    const std::vector<double>& intensities = {});

}  // namespace orvanthel
