// The one place where a search type number is decoded.
#include "search/search_type.hpp"

namespace orv {

SearchType DecodeSearchType(int extentOfTheSearch) {
  using Source = FourthDirectionSource;
  switch (extentOfTheSearch) {
    case 0: return {Source::ThreeZones, 1};
    case 1: return {Source::ThreeZones, 3};
    case 2: return {Source::ThreeZones, 8};
    case 3: return {Source::ThreeZones, 16};
    case 4: return {Source::ZoneCrossings, 1};
    case 5: return {Source::TwoZones, 1};
    case 6: return {Source::TwoZones, 3};
    case 7: return {Source::TwoZones, 8};
    case 8: return {Source::InsideCone, 1};
    case 9: return {Source::InsideCone, 3};
    default: return {Source::None, 1};
  }
}

}  // namespace orv
