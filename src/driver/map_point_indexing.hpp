// One point of a map: its pattern indexed with a seed from a neighbouring point when one fits,
// else searched ab initio with the lattice choice.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "maps/map_point_record.hpp"
#include "search/sublattice_tables.hpp"
#include "solutions/deviatoric_strain.hpp"

namespace orv {

// What every point of a map shares; made once, before the workers start.
struct MapIndexingContext {
  const SublatticeTables* tables = nullptr;
  std::vector<Mat3> relativeTransforms;  // the lattice choice's commensurate relatives
  std::optional<ReferenceCell> reference;
  // The reference's conventional basis in its crystal frame (rows), when there is a reference.
  Mat3 referenceBasis{};
};

// The context's reference basis from its reference cell; false when the cell gives none.
bool SetReferenceBasis(MapIndexingContext& context);

// A seed: its list position and its record.
using MapSeed = std::pair<long, const MapPointRecord*>;

// Reads the pattern, then tries the seeds in the order given: the seed's direct basis, at this
// pattern's cell volume, is refined with RefineKeepingSupport and taken when SeedFits its support
// against the seed's; the point then keeps the seed's conventional setting and lattice type. When
// no seed fits, the pattern is searched single-threaded as a run with --choose-lattice would, and
// solution 1 is taken in its own setting. The orientation is that of the least-squares basis of
// the directions; with a reference cell the deviatoric strain as well (a searched point checks the
// reference against its lattice and chooses the matching setting, which seeded points keep). Writes no file. An input
// that cannot be read, or any other error, gives a failed record with the message.
MapPointRecord IndexMapPoint(const std::string& file, const std::vector<MapSeed>& seeds,
                             const MapIndexingContext& context);

}  // namespace orv
