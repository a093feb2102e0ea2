// xoshiro256** with splitmix64 seeding, uniform and Box-Muller Gaussian deviates.
#include "simulator/random_source.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orv::sim {

namespace {

std::uint64_t SplitMix64(std::uint64_t& x) {
  x += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = x;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t RotateLeft(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

RandomSource::RandomSource(std::uint64_t seed, std::uint64_t stream) {
  std::uint64_t x = seed ^ (stream * 0xD1B54A32D192ED03ULL);
  for (auto& word : state_) word = SplitMix64(x);
}

std::uint64_t RandomSource::Next() {
  const std::uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
  const std::uint64_t t = state_[1] << 17;
  state_[2] ^= state_[0];
  state_[3] ^= state_[1];
  state_[1] ^= state_[2];
  state_[0] ^= state_[3];
  state_[2] ^= t;
  state_[3] = RotateLeft(state_[3], 45);
  return result;
}

double RandomSource::Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

std::uint64_t RandomSource::Below(std::uint64_t count) {
  if (count <= 1) return 0;
  // Reject the top partial block so that every residue is equally likely.
  const std::uint64_t limit = (~std::uint64_t{0}) - (~std::uint64_t{0}) % count;
  std::uint64_t x = Next();
  while (x >= limit) x = Next();
  return x % count;
}

double RandomSource::Gaussian() {
  if (hasSpare_) {
    hasSpare_ = false;
    return spare_;
  }
  const double u1 = 1.0 - Uniform();  // in (0, 1], so the logarithm is finite
  const double u2 = Uniform();
  const double radius = std::sqrt(-2.0 * std::log(u1));
  const double angle = 2.0 * kPi * u2;
  spare_ = radius * std::sin(angle);
  hasSpare_ = true;
  return radius * std::cos(angle);
}

}  // namespace orv::sim
