// Solution 1's orientation and strain in the brief summary of a run, for the batch summary.
#pragma once

#include "driver/run_summary.hpp"
#include "solutions/solution_orientations.hpp"

namespace orv {

// Marks the summary as one with orientation columns and fills in solution 1's Euler angles and,
// when measured, its deviatoric strain in the frame of the directions and its von Mises equivalent.
void AddOrientationToSummary(const SolutionOrientations& orientations, RunSummary& summary);

}  // namespace orv
