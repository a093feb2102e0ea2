// The records of accepted solutions: a direct basis with its quality and support counts.
#pragma once

#include <array>

#include "geometry/vector_matrix.hpp"

namespace orv {

constexpr int MaxStoredSolutions = 128;

// nHalf: reflections indexed within half the angular tolerance; nFull: within the tolerance.
struct SupportCounts {
  int nHalf = 0;
  int nFull = 0;
};

struct SolutionRecord {
  Mat3 SolutionBasis{};  // direct basis, rows a, b, c
  double SolutionQuality = 0.0;
  SupportCounts SolutionCounts;
};

struct SolutionStore {
  std::array<SolutionRecord, MaxStoredSolutions> records{};
  int NumberOfSolutions = 0;
  int WorstSolutionIndex = 0;

  // Record j, numbered from 1.
  SolutionRecord& operator()(int j) { return records[static_cast<std::size_t>(j - 1)]; }
  const SolutionRecord& operator()(int j) const { return records[static_cast<std::size_t>(j - 1)]; }
};

}  // namespace orv
