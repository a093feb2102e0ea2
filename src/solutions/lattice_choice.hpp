// The optional lattice choice: among commensurate lattices, the one whose shortest rows are the ones seen.
#pragma once

#include <vector>

#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"
#include "run_data/solution_records.hpp"

namespace orv {

// Reorders the kept solutions, scaled to VolumeOfPrimitiveCell, so that the true lattice comes first:
// 1. every kept solution is joined by its commensurate relatives (its direct basis multiplied by each
//    of `relativeTransforms`); each lattice the choice weighs is scored against all reflections;
// 2. solutions that are, or share, a relative form one family of commensurate lattices; families
//    are ranked by the best support of their kept solutions, as the search ranks unrelated lattices;
// 3. within a family the lattice with the largest observed-row share wins (ObservedRowShare, with
//    the family's largest number of supported reflections as the rows counted); for the leading
//    family the relatives of the winner are then tried, round after round, while one does better;
// 4. the report lists each family's winner and then its other kept solutions by share, families in
//    order, at most MaxNumberOfSavedBases in all; each reported basis is refined while the
//    refinement keeps its support (RefineKeepingSupport), brought back to VolumeOfPrimitiveCell,
//    and carries its quality without the parity penalty, which this ranking replaces.
// `places` lowers the number reported further, for a caller that reads the first solutions alone.
void ChooseLattices(const RunParameters& parameters, const DirectionStore& directions,
                    const std::vector<Mat3>& relativeTransforms, SolutionStore& store,
                    int places = MaxStoredSolutions);

}  // namespace orv
