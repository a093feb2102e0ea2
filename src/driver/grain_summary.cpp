// The grains of a run in the brief summary that a batch tabulates.
#include "driver/grain_summary.hpp"

namespace orv {

void AddGrainsToSummary(const GrainSet& set, RunSummary& summary) {
  summary.grainColumns = true;
  summary.grains = static_cast<int>(set.grains.size());
  summary.spotsOfNoGrain = static_cast<int>(set.spotsOfNoGrain.size());
  if (set.grains.size() < 2) return;
  const Grain& second = set.grains[1];
  summary.grain2Spots = static_cast<int>(second.spots.size());
  summary.grain2Phase = second.phaseName;
  if (second.analysed) {
    summary.grain2Bravais = BravaisSymbol(second.symmetry.type);
    summary.grain2ConventionalLengths = second.symmetry.conventionalCell.lengths;
    summary.grain2ConventionalAngles = second.symmetry.conventionalCell.anglesInDegrees;
  }
}

}  // namespace orv
