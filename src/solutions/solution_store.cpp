// PLACEHOLDER: replaced by the solution store work.
#include "solutions/solution_store.hpp"
namespace orv {
void SaveBasis(SolutionStore&, const Mat3&, SupportCounts, double, TextFile&) {}
bool MergeIfSimilar(SolutionStore&, const Mat3&, SupportCounts, double, TextFile&) { return false; }
void FindWorstSolution(SolutionStore&) {}
}  // namespace orv
