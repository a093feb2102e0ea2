// PLACEHOLDER: replaced by the post-processing work.
#include "solutions/post_process.hpp"
namespace orv {
void PostProcessSolutions(const std::string&, const RunParameters&, const DirectionStore&, SolutionStore&, TextFile&,
                          std::ostream&) {}
}  // namespace orv
