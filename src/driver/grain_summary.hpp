// The grains of a run in the brief summary that a batch tabulates.
#pragma once

#include "driver/run_summary.hpp"
#include "solutions/grain_set.hpp"

namespace orv {

// Asks for the grain columns and sets the number of grains, the lattice, cell, spots and phase of
// grain 2 (when there is one) and the spots of no grain.
void AddGrainsToSummary(const GrainSet& set, RunSummary& summary);

}  // namespace orv
