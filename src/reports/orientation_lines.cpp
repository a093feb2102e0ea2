// The console lines on the orientation and strain of the first solution.
#include "reports/orientation_lines.hpp"

#include <cstdio>

#include "text/line_format.hpp"

namespace orv {

namespace {

// A strain component in units of 1e-4 with two decimals, in as many columns as it needs.
std::string InUnitsOf1e4(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value * 1e4);
  return text;
}

}  // namespace

std::string OrientationLine(const CrystalOrientation& orientation) {
  const Vec3& e = orientation.eulerDegrees;
  return Line()
      .X(4)
      .Text("Orientation : phi1 =")
      .F(e[0], 8, 3)
      .Text("  Phi =")
      .F(e[1], 8, 3)
      .Text("  phi2 =")
      .F(e[2], 8, 3)
      .Text("  (Bunge, degrees)")
      .str();
}

std::string StrainLine(const DeviatoricStrain& strain) {
  const Mat3& s = strain.tensors.sample;
  const Mat3& u = strain.sampleUncertainty;
  const int rows[6] = {0, 1, 2, 1, 0, 0};
  const int cols[6] = {0, 1, 2, 2, 2, 1};
  std::string components;
  for (int k = 0; k < 6; ++k)
    components += " " + InUnitsOf1e4(s[rows[k]][cols[k]]) + "(" + InUnitsOf1e4(u[rows[k]][cols[k]]) + ")";
  return Line()
      .X(4)
      .Text("Strain  : von Mises " + InUnitsOf1e4(strain.tensors.vonMises) + "(" + InUnitsOf1e4(strain.vonMisesUncertainty) +
            ");  xx yy zz yz xz xy =" + components + "  (deviatoric, frame of the directions, 1e-4)")
      .str();
}

std::vector<std::string> WithOrientationLines(std::vector<std::string> lines, const SolutionOrientations& orientations) {
  if (lines.empty() || orientations.oriented.empty() || !orientations.oriented[0]) return lines;
  std::vector<std::string> added{OrientationLine(orientations.orientation[0])};
  if (orientations.strain) added.push_back(StrainLine(*orientations.strain));
  lines.insert(lines.begin() + 1, added.begin(), added.end());
  return lines;
}

}  // namespace orv
