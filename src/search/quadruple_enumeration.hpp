// The walk over reflection triples and their fourth directions, in the order bases reach the store.
#pragma once

#include <vector>

#include "run_data/run_events.hpp"
#include "run_data/run_parameters.hpp"
#include "search/fourth_directions.hpp"

namespace orv {

// Receives every quadruple that passed the tests, in enumeration order.
class QuadrupleVisitor {
 public:
  virtual ~QuadrupleVisitor() = default;
  // (i, j, k) is the oriented triple; l is a reflection number or, for type 4, the working slot
  // N+1 that holds the current crossing.
  virtual void Visit(const DirectionStore& directions, int i, int j, int k, int l) = 0;
};

// Lists owned by the search and reused for every triple.
struct EnumerationBuffers {
  ZoneArcCache arcs;  // reset at the start of every walk
  std::vector<int> fourth;
  std::vector<Vec3> crossings;
};

// Hands on the quadruples of one oriented triple for the search type. Type 4 writes each crossing
// into slot N+1 before testing it; the slot keeps the last crossing afterwards. The arc cache in
// `buffers` must have been reset for the n reflections.
void VisitTripleQuadruples(int searchType, int n, int i, int j, int k, DirectionStore& directions,
                           EnumerationBuffers& buffers, QuadrupleVisitor& visitor);

// Walks every triple i < j < k: an event for every first reflection i and for every triple, the triple test, the orientation, and the quadruples of the oriented triple.
void EnumerateQuadruples(const RunParameters& parameters, DirectionStore& directions, EnumerationBuffers& buffers,
                         QuadrupleVisitor& visitor, RunObserver& events);

}  // namespace orv
