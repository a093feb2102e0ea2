// The store of at most 128 distinct accepted direct bases with their quality and support counts.
#pragma once

#include <array>

#include "geometry/vector_matrix.hpp"

namespace orv {

class TextFile;

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

// Offers one accepted direct basis to the store; logs to `log` when it is open.
void SaveBasis(SolutionStore& store, const Mat3& basis, SupportCounts counts, double quality, TextFile& log);

// True when the basis is similar to a stored solution (which it then replaced or left alone).
bool MergeIfSimilar(SolutionStore& store, const Mat3& basis, SupportCounts counts, double quality, TextFile& log);

// Sets WorstSolutionIndex to the highest-numbered record among those of lowest quality.
void FindWorstSolution(SolutionStore& store);

}  // namespace orv
