// PLACEHOLDER: replaced by the geometry kernel work.
#include "geometry/index_direction.hpp"
namespace orv {
IndexedDirection IndexDirection(const Vec3&, const Mat3&, const Mat3&, int) { return {}; }
void ReduceToCoprime(MillerIndices&) {}
bool IsDivisible(int, int) { return false; }
}  // namespace orv
