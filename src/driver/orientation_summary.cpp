// Solution 1's orientation and strain in the brief summary of a run.
#include "driver/orientation_summary.hpp"

namespace orv {

void AddOrientationToSummary(const SolutionOrientations& orientations, RunSummary& summary) {
  summary.orientationColumns = true;
  if (summary.numberOfSolutions <= 0 || orientations.oriented.empty() || !orientations.oriented[0]) return;
  summary.oriented = true;
  summary.eulerDegrees = orientations.orientation[0].eulerDegrees;
  if (!orientations.strain) return;
  const Mat3& s = orientations.strain->tensors.sample;
  summary.strained = true;
  summary.strain = {s[0][0], s[1][1], s[2][2], s[1][2], s[0][2], s[0][1], orientations.strain->tensors.vonMises};
}

}  // namespace orv
