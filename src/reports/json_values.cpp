// The pieces every JSON document of the program is made of.
#include "reports/json_values.hpp"

namespace orv {

Json MatrixJson(const Mat3& m) {
  Json rows = Json::array();
  for (const Vec3& row : m) rows.push_back({row[0], row[1], row[2]});
  return rows;
}

Json IntegerMatrixJson(const IntMat3& m) {
  Json rows = Json::array();
  for (const auto& row : m) rows.push_back({row[0], row[1], row[2]});
  return rows;
}

Json CellJson(const Vec3& lengths, const Vec3& anglesInDegrees, std::optional<double> volume) {
  Json cell;
  cell["a"] = lengths[0];
  cell["b"] = lengths[1];
  cell["c"] = lengths[2];
  cell["alpha"] = anglesInDegrees[0];
  cell["beta"] = anglesInDegrees[1];
  cell["gamma"] = anglesInDegrees[2];
  if (volume) cell["volume"] = *volume;
  return cell;
}

}  // namespace orv
