// Console notes that keep a first run from misleading: the volume the cells were scaled to, and the
// lattice that the choice of lattice would have put first.
#include "driver/first_run_notes.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

#include "text/line_format.hpp"
#include "text/trim_blanks.hpp"
#include "solutions/lattice_choice.hpp"
#include "solutions/solution_lattices.hpp"

namespace orv {

namespace {

// Conventional cells of one type that differ less than this, relatively, are one lattice.
constexpr double kSameLength = 0.01;

std::string Fixed(double value, int decimals) { return TrimBlanks(FormatFixed(value, 32, decimals)); }

std::string CellText(const RunSummary& summary) {
  const Vec3& l = summary.conventionalLengths;
  const Vec3& g = summary.conventionalAngles;
  return Fixed(l[0], 4) + " " + Fixed(l[1], 4) + " " + Fixed(l[2], 4) + " A  " + Fixed(g[0], 2) + " " +
         Fixed(g[1], 2) + " " + Fixed(g[2], 2);
}

}  // namespace

std::vector<std::string> VolumeNoteLines(const RunParameters& parameters) {
  if (parameters.VolumeOfPrimitiveCellGiven) return {};
  return {FreeLine("Note: the file gives no _VolumeOfPrimitiveCell, so every cell is scaled to the default volume " +
                   Fixed(parameters.VolumeOfPrimitiveCell, 1) + " A^3."),
          FreeLine("      Give the primitive cell's volume: orvanthel-import --cell a[,b,c,al,be,ga] --centring "
                   "P|I|F|C|A|B|R (or --volume V).")};
}

bool AnotherLattice(const RunSummary& shown, const RunSummary& chosen) {
  if (shown.bravaisType != chosen.bravaisType) return true;
  Vec3 a = shown.conventionalLengths;
  Vec3 b = chosen.conventionalLengths;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  for (std::size_t k = 0; k < 3; ++k) {
    if (!(std::fabs(a[k] - b[k]) <= kSameLength * std::max(a[k], b[k]))) return true;
  }
  return false;
}

std::vector<std::string> LatticeHintLines(const RunParameters& parameters, const DirectionStore& directions,
                                          const SolutionStore& store, const RunSummary& shown,
                                          const std::vector<Mat3>& relativeTransforms) {
  if (store.NumberOfSolutions <= 0 || shown.bravaisType.empty()) return {};
  try {
    auto chosenStore = std::make_unique<SolutionStore>(store);
    ChooseLattices(parameters, directions, relativeTransforms, *chosenStore);
    // The hint names the chosen solution 1 alone.
    const SolutionLattices lattices = AnalyseSolutionLattices(*chosenStore, parameters.AngularDeviationCriterion, 1);
    const RunSummary chosen = SummarizeRun(parameters, directions, *chosenStore, lattices);
    if (chosen.numberOfSolutions <= 0 || chosen.bravaisType.empty() || !AnotherLattice(shown, chosen)) return {};
    return {FreeLine("Hint: the lattice choice puts first " + chosen.bravaisType + " " + CellText(chosen) + ", " +
                     std::to_string(chosen.nh) + " of " + std::to_string(chosen.numberOfReflections) + " reflections"),
            FreeLine("      (solution 1 above: " + shown.bravaisType + ", " + std::to_string(shown.nh) +
                     "); run again with --choose-lattice for it and its refined cell.")};
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace orv
