// PLACEHOLDER: replaced by the search work.
#include "search/search_bases.hpp"
namespace orv {
void SearchBases(const RunParameters&, DirectionStore&, const SublatticeTables&, SolutionStore&, TextFile&,
                 std::ostream&) {}
}  // namespace orv
