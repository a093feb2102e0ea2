// The console lines on the orientation and strain of the first solution.
#pragma once

#include <string>
#include <vector>

#include "solutions/solution_orientations.hpp"

namespace orv {

// "    Orientation : phi1 =  82.528  Phi =  44.071  phi2 = 175.319  (Bunge, degrees)"
std::string OrientationLine(const CrystalOrientation& orientation);

// "    Strain  : von Mises 1.23e-04 +- 0.2e-04;  xx yy zz yz xz xy = ... (deviatoric, frame of the
// directions, 1e-4)"
std::string StrainLine(const DeviatoricStrain& strain);

// The lattice lines of solution 1 with the orientation line after the "Lattice" line, and the
// strain line after it when there is a strain.
std::vector<std::string> WithOrientationLines(std::vector<std::string> latticeLines, const SolutionOrientations& orientations);

}  // namespace orv
