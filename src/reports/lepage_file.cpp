// PLACEHOLDER: replaced by the post-processing work.
#include "reports/lepage_file.hpp"
namespace orv {
void WriteLePageFile(const SolutionStore&, const RunParameters&, const std::string&) {}
}  // namespace orv
