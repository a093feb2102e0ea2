// Simulated Laue patterns with their truth, as orvanthel-simulate makes them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "orvanthel/pattern.hpp"
#include "orvanthel/result.hpp"

namespace orvanthel {

// A further crystal in the same pattern.
struct SimulatedGrainSettings {
  std::array<double, 6> cell{10, 10, 10, 90, 90, 90};
  char centring = 'P';
  int spots = 30;
  std::optional<std::array<double, 3>> eulerDegrees;  // absent: drawn from the seed
};

// The crystal, the experiment and the flaws of the data. The simulator's frame has the incident
// beam along +z and the side detector along +x.
struct SimulationSettings {
  std::array<double, 6> cell{10, 10, 10, 90, 90, 90};  // conventional: a, b, c (Angstrom), angles
  char centring = 'P';                                 // P, I, F, C or R (hexagonal axes)
  std::uint64_t seed = 1;
  std::optional<std::array<double, 3>> eulerDegrees;   // Bunge; absent: uniform from the seed
  std::optional<std::array<double, 6>> strain;         // e11 e22 e33 e23 e13 e12, crystal frame
  double minWavelength = 0.2, maxWavelength = 1.5;     // Angstrom
  double minDSpacing = 0.5;                            // Angstrom
  bool backReflection = false;                         // the back-reflection plate, else the side detector
  double noiseDegrees = 0;                             // Gaussian, on each of two axes
  double spuriousFraction = 0;
  double dropFraction = 0;
  int spots = 50;                                      // strongest first; 0: every spot
  std::vector<SimulatedGrainSettings> moreGrains;
};

struct SimulatedSpot {
  bool spurious = false;
  Indices hkl{};      // on the conventional cell, coprime; zero for a spurious spot
  int harmonic = 0;
  double wavelength = 0;
  int grain = 0;      // in a pattern of several grains, from 1
};

struct Simulation {
  Pattern pattern;             // the spot directions in the simulator's frame, strongest first
  std::vector<SimulatedSpot> spots;
  Matrix3 rotation{};          // crystal frame to the simulator's frame
  Matrix3 directBasis{};       // rows a, b, c of the conventional cell in the simulator's frame
  double primitiveVolume = 0;  // the volume to index with
};

// Throws Error(InvalidOptions) with the simulator's message when the settings give no pattern.
Simulation Simulate(const SimulationSettings& settings);

}  // namespace orvanthel
