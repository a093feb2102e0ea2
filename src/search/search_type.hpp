// What a search type (`_ExtentOfTheSearch`, 0 to 9) means: where the fourth direction of a triple
// comes from, and how many sublattice indices each quadruple tries.
#pragma once

namespace orv {

enum class FourthDirectionSource {
  ThreeZones,     // types 0-3: reflections on the three zone arcs between the triple
  TwoZones,       // types 5-7: reflections where two of the arcs' zones hold them
  ZoneCrossings,  // type 4: crossings of zone circles, put into the working slot N+1
  InsideCone,     // types 8-9: reflections inside the cone of the triple
  None,           // any other number: no quadruple at all
};

struct SearchType {
  FourthDirectionSource fourth = FourthDirectionSource::None;
  int sublatticeIndices = 1;  // candidates of index 1 .. this are tried for each quadruple
};

// The one place where a search type number is decoded.
SearchType DecodeSearchType(int extentOfTheSearch);

}  // namespace orv
