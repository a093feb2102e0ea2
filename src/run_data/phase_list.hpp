// The candidate phases a user names for the grains of a pattern: name, conventional cell, centring.
#pragma once

#include <string>
#include <vector>

namespace orv {

struct Phase {
  std::string name;
  double a = 0.0, b = 0.0, c = 0.0;              // conventional edges, in the user's length unit
  double alpha = 90.0, beta = 90.0, gamma = 90.0;  // degrees
  // One of P, A, B, C, I, F, R (R: rhombohedral lattice on hexagonal axes, obverse setting).
  char centring = 'P';
};

using PhaseList = std::vector<Phase>;

}  // namespace orv
