// The pieces every JSON document of the program is made of: matrices as rows, cells by name.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>

#include "geometry/vector_matrix.hpp"
#include "solutions/lattice_symmetry.hpp"

namespace orv {

// Fields keep the order in which they are written, so that a document reads like the results file.
using Json = nlohmann::ordered_json;

// [[m11, m12, m13], [m21, ...], ...]: one array per row.
Json MatrixJson(const Mat3& m);
Json IntegerMatrixJson(const IntMat3& m);

// {"a", "b", "c", "alpha", "beta", "gamma"} and, when given, "volume".
Json CellJson(const Vec3& lengths, const Vec3& anglesInDegrees, std::optional<double> volume = std::nullopt);

}  // namespace orv
