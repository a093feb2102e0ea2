// Candidate cells built from the zone axes of a pattern, offered to the solution store.
#pragma once

#include "run_data/run_events.hpp"
#include "run_data/run_parameters.hpp"
#include "search/zone_axes.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

// What the zone-axis search saw and did.
struct ZoneAxisSearchCounts {
  int zones = 0;          // zones found (at most the limit)
  long long cells = 0;    // candidate cells scored
  long long offered = 0;  // of them accepted and offered to the store
};

// Every four zones a, b, c, e whose axes are independent three by three fix a cell: the axes are
// direct-lattice rows, and the one linear relation s_a a + s_b b + s_c c + s_e e = 0 between them
// gives the rows' lengths when the four shortest lattice vectors along them add up to zero (a + b +
// c = e for a primitive basis and the row of its body diagonal, up to signs). The cell with rows
// s_a a, s_b b, s_c c is scored like every search candidate (unit volume, reduction, the acceptance
// test at half the reflections, the quality of the reduced direct basis) and an accepted one is
// offered to the store; once the store is full, a candidate sure to fall below its worst quality is
// left unscored, which changes nothing the store does. The zones are those of FindZoneAxes at
// limits.toleranceShare of the angular tolerance; the sets of four are taken in increasing order of
// the zones' ranks, so the result depends only on the input and the store. Unlike the triples of reflections, the zones need no spot at the sums of the basis rows and
// no bound on the width of the pattern, so sparse patterns of strong low-index spots are found.
ZoneAxisSearchCounts OfferZoneAxisBases(const RunParameters& parameters, const DirectionStore& directions,
                                        SolutionStore& store, RunObserver& events,
                                        const ZoneSearchLimits& limits = {});

// The cell of four zone axes as above (rows s_a a, s_b b, s_c c), or false when three of them are
// nearly coplanar or a row would be more than 20 times longer than another.
bool CellFromFourAxes(const Vec3& a, const Vec3& b, const Vec3& c, const Vec3& e, Mat3& cell);

}  // namespace orv
