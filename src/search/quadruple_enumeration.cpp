// The walk over reflection triples and their fourth directions, in the order bases reach the store.
#include "search/quadruple_enumeration.hpp"

#include "search/search_type.hpp"


namespace orv {
namespace {

void VisitTestedReflections(const std::vector<int>& fourth, int i, int j, int k, DirectionStore& directions,
                            QuadrupleVisitor& visitor) {
  for (const int l : fourth)
    if (PassesFourthDirectionTest(directions, i, j, k, l)) visitor.Visit(directions, i, j, k, l);
}

}  // namespace

void VisitTripleQuadruples(int searchType, int n, int i, int j, int k, DirectionStore& directions,
                           EnumerationBuffers& buffers, QuadrupleVisitor& visitor) {
  switch (DecodeSearchType(searchType).fourth) {
    case FourthDirectionSource::ThreeZones:
      ThreeZoneReflections(directions, i, j, k, buffers.arcs, buffers.fourth);
      VisitTestedReflections(buffers.fourth, i, j, k, directions, visitor);
      break;
    case FourthDirectionSource::TwoZones:
      TwoZoneReflections(directions, i, j, k, buffers.arcs, buffers.fourth);
      VisitTestedReflections(buffers.fourth, i, j, k, directions, visitor);
      break;
    case FourthDirectionSource::ZoneCrossings: {
      ZoneCrossings(directions, i, j, k, buffers.arcs, buffers.crossings);
      const int slot = n + 1;
      for (const Vec3& crossing : buffers.crossings) {
        directions(slot) = crossing;
        if (PassesFourthDirectionTest(directions, i, j, k, slot)) visitor.Visit(directions, i, j, k, slot);
      }
      break;
    }
    case FourthDirectionSource::InsideCone:
      // The generator has applied the cone test already.
      ConeReflections(directions, n, i, j, k, buffers.fourth);
      for (const int l : buffers.fourth) visitor.Visit(directions, i, j, k, l);
      break;
    case FourthDirectionSource::None:
      break;
  }
}

void EnumerateQuadruples(const RunParameters& parameters, DirectionStore& directions, EnumerationBuffers& buffers,
                         QuadrupleVisitor& visitor, RunObserver& events) {
  const int n = parameters.NumberOfReflections;
  const int searchType = parameters.ExtentOfTheSearch;
  buffers.arcs.Reset(n);
  for (int i = 1; i <= n - 2; ++i) {
    events.FirstReflectionStarted(i, n);
    for (int j = i + 1; j <= n - 1; ++j) {
      for (int k = j + 1; k <= n; ++k) {
        events.TripleStarted();
        const double d = TripleProduct(directions, i, j, k);
        if (!IsUsableTriple(d)) continue;
        if (d > 0.0)
          VisitTripleQuadruples(searchType, n, i, j, k, directions, buffers, visitor);
        else
          VisitTripleQuadruples(searchType, n, i, k, j, directions, buffers, visitor);
      }
    }
  }
  events.SearchFinished();
}

}  // namespace orv
