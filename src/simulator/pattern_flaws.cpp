// Dropped spots, the cut to the strongest, angular noise and spurious spots.
#include "simulator/pattern_flaws.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "geometry/constants.hpp"
#include "geometry/nearest_integer.hpp"

namespace orv::sim {

namespace {

// Spurious directions are drawn until one hits the detector; both detectors accept far more
// than one direction in a hundred, so this bound is never reached by a sound detector.
constexpr int kMaxSpuriousDraws = 1000000;

std::vector<Spot> DropRandomSpots(const std::vector<Spot>& spots, double fraction, RandomSource& random) {
  const int total = static_cast<int>(spots.size());
  const int dropCount = std::min(total, std::max(0, Nint(fraction * total)));
  std::vector<int> order(spots.size());
  std::iota(order.begin(), order.end(), 0);
  std::vector<bool> dropped(spots.size(), false);
  // Partial Fisher-Yates: the first dropCount places receive a uniformly random subset.
  for (int i = 0; i < dropCount; ++i) {
    const int j = i + static_cast<int>(random.Below(static_cast<std::uint64_t>(total - i)));
    std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
    dropped[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] = true;
  }
  std::vector<Spot> kept;
  for (std::size_t i = 0; i < spots.size(); ++i)
    if (!dropped[i]) kept.push_back(spots[i]);
  return kept;
}

}  // namespace

void CountWrittenSpots(int available, const FlawSettings& flaws, int& trueCount, int& spuriousCount) {
  // Enough spots in all to keep every available true spot beside the spurious share.
  const double wanted = available / (1.0 - flaws.spuriousFraction);
  const int totalForAvailable = wanted >= kMaxSpotsInFile ? kMaxSpotsInFile : std::max(0, Nint(wanted));
  int total = flaws.spotsKept > 0 ? std::min(flaws.spotsKept, kMaxSpotsInFile) : totalForAvailable;
  // Too few true spots for the requested count: write fewer spots rather than raise the share of
  // spurious ones above the one asked for.
  total = std::min(total, totalForAvailable);
  spuriousCount = std::max(0, std::min(total, Nint(flaws.spuriousFraction * total)));
  trueCount = std::min(available, total - spuriousCount);
}

Vec3 DisplaceDirection(const Vec3& direction, double angleAcross, double angleUp) {
  // Two unit vectors perpendicular to the direction, built on the axis least parallel to it.
  const Vec3 helper = std::fabs(direction[0]) < 0.9 ? Vec3{1.0, 0.0, 0.0} : Vec3{0.0, 1.0, 0.0};
  Vec3 across;
  double norm = 0.0;
  if (NormalizeVector(CrossProduct(direction, helper), across, norm) != kStatusSuccess) return direction;
  const Vec3 up = CrossProduct(direction, across);
  const double angle = std::sqrt(angleAcross * angleAcross + angleUp * angleUp);
  if (!(angle > 0.0)) return direction;
  const double c = std::cos(angle);
  const double s = std::sin(angle) / angle;
  Vec3 turned;
  for (int i = 0; i < 3; ++i) turned[i] = c * direction[i] + s * (angleAcross * across[i] + angleUp * up[i]);
  Vec3 unit;
  if (NormalizeVector(turned, unit, norm) != kStatusSuccess) return direction;
  return unit;
}

Vec3 RandomUnitVector(RandomSource& random) {
  const double z = 2.0 * random.Uniform() - 1.0;
  const double phi = 2.0 * kPi * random.Uniform();
  const double r = std::sqrt(std::max(0.0, 1.0 - z * z));
  return {r * std::cos(phi), r * std::sin(phi), z};
}

std::vector<Spot> ApplyFlaws(const std::vector<Spot>& strongestFirst, const FlawSettings& flaws,
                             const Detector& detector, FlawSeeds& seeds) {
  std::vector<Spot> spots = DropRandomSpots(strongestFirst, flaws.dropFraction, seeds.drop);
  int trueCount = 0;
  int spuriousCount = 0;
  CountWrittenSpots(static_cast<int>(spots.size()), flaws, trueCount, spuriousCount);
  spots.resize(static_cast<std::size_t>(trueCount));

  const double sigma = flaws.noiseSigmaDegrees * kDegreesToRadians;
  if (sigma > 0.0) {
    for (Spot& spot : spots) {
      const double across = sigma * seeds.noise.Gaussian();
      const double up = sigma * seeds.noise.Gaussian();
      spot.direction = DisplaceDirection(spot.direction, across, up);
    }
  }

  for (int i = 0; i < spuriousCount; ++i) {
    Spot spurious;
    spurious.spurious = true;
    bool found = false;
    for (int draw = 0; draw < kMaxSpuriousDraws && !found; ++draw) {
      spurious.direction = RandomUnitVector(seeds.spurious);
      found = ScatteringVectorHitsDetector(detector, spurious.direction);
    }
    if (!found) break;
    spurious.twoTheta = TwoThetaDegrees(DiffractedDirection(spurious.direction));
    const auto place = static_cast<std::ptrdiff_t>(seeds.spurious.Below(spots.size() + 1));
    spots.insert(spots.begin() + place, spurious);
  }
  return spots;
}

}  // namespace orv::sim
