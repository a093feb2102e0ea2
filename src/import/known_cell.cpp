// The primitive cell volume worked out from a known conventional cell and its centring.
#include "import/known_cell.hpp"

#include <cmath>
#include <vector>

#include "geometry/constants.hpp"
#include "text/number_text.hpp"

namespace orv::imp {

int LatticePointsOfCentring(const std::string& centring) {
  if (centring == "P") return 1;
  if (centring == "I" || centring == "C" || centring == "A" || centring == "B") return 2;
  if (centring == "F") return 4;
  if (centring == "R") return 3;
  return 0;
}

std::string PrimitiveVolumeOfCell(const std::string& cell, const std::string& centring, double& volume) {
  std::vector<double> values;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = cell.find(',', start);
    const std::string item = cell.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    double value = 0.0;
    if (!ParseReal(item, value)) return "expects numbers separated by commas";
    values.push_back(value);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (values.size() == 1) values = {values[0], values[0], values[0]};
  if (values.size() == 3) values.insert(values.end(), {90.0, 90.0, 90.0});
  if (values.size() != 6) return "expects a, a,b,c or a,b,c,alpha,beta,gamma";
  for (std::size_t k = 0; k < 3; ++k)
    if (!(values[k] > 0.0 && values[k] < 1e12)) return "expects lengths above 0";
  double cosines[3];
  for (std::size_t k = 0; k < 3; ++k) {
    if (!(values[3 + k] > 0.0 && values[3 + k] < 180.0)) return "expects angles between 0 and 180 degrees";
    cosines[k] = std::cos(values[3 + k] * kDegreesToRadians);
  }
  const double radicand = 1.0 - cosines[0] * cosines[0] - cosines[1] * cosines[1] - cosines[2] * cosines[2] +
                          2.0 * cosines[0] * cosines[1] * cosines[2];
  if (!(radicand > 1e-12)) return "expects angles that make a cell";
  const int points = LatticePointsOfCentring(centring);
  if (points == 0) return "expects a centring of P, I, F, C, A, B or R";
  volume = values[0] * values[1] * values[2] * std::sqrt(radicand) / points;
  return "";
}

}  // namespace orv::imp
