// The search over reflection triples and fourth directions that fills the solution store.
#include "search/search_bases.hpp"

#include <memory>

#include "search/candidate_bases.hpp"
#include "search/quadruple_enumeration.hpp"
#include "search/quadruple_evaluation.hpp"

namespace orv {
namespace {

// Builds the basis of every quadruple handed on and evaluates its candidates.
class EvaluatingVisitor final : public QuadrupleVisitor {
 public:
  EvaluatingVisitor(const RunParameters& parameters, const SublatticeTables& tables, SolutionStore& store,
                    RunObserver& events)
      : parameters_(parameters), tables_(tables), store_(store), events_(events), candidates_(new CandidateList) {}

  void Visit(const DirectionStore& directions, int i, int j, int k, int l) override {
    const Mat3 W = BasisFromQuadruple(directions, i, j, k, l);
    EvaluateQuadruple(W, parameters_, directions, tables_, *candidates_, store_, events_);
  }

 private:
  const RunParameters& parameters_;
  const SublatticeTables& tables_;
  SolutionStore& store_;
  RunObserver& events_;
  std::unique_ptr<CandidateList> candidates_;  // 651 matrices, reused for every quadruple
};

}  // namespace

void SearchBases(const RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                 SolutionStore& store, RunObserver& events) {
  EnumerationBuffers buffers;
  EvaluatingVisitor visitor(parameters, tables, store, events);
  EnumerateQuadruples(parameters, directions, buffers, visitor, events);
}

}  // namespace orv
