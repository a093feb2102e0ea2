// The console lines of a run that looked for several grains: one line per grain.
#include "reports/grain_lines.hpp"

#include <algorithm>

#include "reports/lattice_summary.hpp"
#include "text/line_format.hpp"
#include "reports/results_file.hpp"

namespace orv {

std::vector<std::string> GrainConsoleLines(const GrainSet& set) {
  std::vector<std::string> lines;
  lines.push_back(FreeLine("Grains : " + std::to_string(set.grains.size()) + " found, " +
                           std::to_string(set.grainsAsked) + " asked for, at least " +
                           std::to_string(set.minimumGrainSpots) + " spots each"));
  for (std::size_t g = 0; g < set.grains.size(); ++g) {
    const Grain& grain = set.grains[g];
    std::string text;
    if (grain.analysed) {
      // The lattice line of the first solution, with "Grain n" in place of "Lattice".
      text = LatticeLine(grain.symmetry);
      const std::size_t colon = text.find(':');
      text = "    Grain " + std::to_string(g + 1) + " " + text.substr(colon);
    } else {
      const CellParameters cell = CellOfBasis(grain.basis);
      text = Line()
                 .X(4)
                 .Text("Grain " + std::to_string(g + 1) + " : ??")
                 .F(cell.lengths[0], 10, 3)
                 .F(cell.lengths[1], 10, 3)
                 .F(cell.lengths[2], 10, 3)
                 .str();
    }
    int shared = 0;
    for (int spot : grain.spots) {
      if (std::binary_search(set.sharedSpots.begin(), set.sharedSpots.end(), spot)) ++shared;
    }
    text += "   " + std::to_string(grain.spots.size()) + " spots";
    if (shared > 0) text += " (" + std::to_string(shared) + " shared)";
    if (set.phasesGiven) text += grain.phaseName.empty() ? ", no phase fits (volume from the input)" : ", phase " + grain.phaseName;
    lines.push_back(text);
  }
  lines.push_back(FreeLine("Spots of no grain : " + std::to_string(set.spotsOfNoGrain.size())));
  lines.push_back(FreeLine(""));
  return lines;
}

}  // namespace orv
