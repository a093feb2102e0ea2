// The acceptance rule of a seed.
#include "maps/seed_acceptance.hpp"

#include <algorithm>

namespace orv {

bool SeedFits(const PointSupport& atPoint, const PointSupport& atSeed) {
  if (atPoint.reflections <= 0 || atSeed.reflections <= 0) return false;
  const double n = atPoint.reflections;
  const double seedN = atSeed.reflections;
  if (atPoint.nFull < 4 || 4.0 * atPoint.nFull < n) return false;
  const bool full = atPoint.nFull / n >= atSeed.nFull / seedN - kSeedShareMargin;
  const bool half = atPoint.nHalf / n >= atSeed.nHalf / seedN - kSeedShareMargin;
  return full && half;
}

}  // namespace orv
