// A small deterministic random generator, identical on every machine for the same seed.
#pragma once

#include <array>
#include <cstdint>

namespace orv::sim {

// xoshiro256** seeded through splitmix64. Uniform and Gaussian values are derived here rather than
// by the standard library distributions, whose output differs between library implementations.
class RandomSource {
 public:
  // One independent stream per (seed, stream) pair, so that the orientation does not change when
  // the flaws of the data are changed.
  RandomSource(std::uint64_t seed, std::uint64_t stream);

  std::uint64_t Next();
  // Uniform in [0, 1), from the top 53 bits.
  double Uniform();
  // Uniform integer in [0, count); count must be at least 1. Unbiased (rejection).
  std::uint64_t Below(std::uint64_t count);
  // Standard normal deviate by the Box-Muller transform; the second value of a pair is kept.
  double Gaussian();

 private:
  std::array<std::uint64_t, 4> state_{};
  bool hasSpare_ = false;
  double spare_ = 0.0;
};

// Stream numbers of the parts of a simulation that draw random values.
constexpr std::uint64_t kOrientationStream = 1;
constexpr std::uint64_t kDropStream = 2;
constexpr std::uint64_t kNoiseStream = 3;
constexpr std::uint64_t kSpuriousStream = 4;

}  // namespace orv::sim
