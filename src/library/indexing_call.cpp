// Index: one run of the search, the post-processing and the lattice analysis, with nothing written.
#include <memory>
#include <new>

#include "input/input_reader.hpp"
#include "library/run_setup.hpp"
#include "library/solution_results.hpp"
#include "orvanthel/error.hpp"
#include "orvanthel/index.hpp"
#include "run_data/program_version.hpp"
#include "run_data/run_errors.hpp"
#include "indexing/pattern_indexing.hpp"
#include "search/sublattice_tables.hpp"

namespace orvanthel {

namespace {

// Everything one run owns; kept on the heap because the tables are large.
struct RunState {
  orv::RunParameters parameters;
  orv::DirectionStore directions;
  orv::SublatticeTables tables;
  orv::SolutionStore store;
};

// Hands the search's progress to the caller's observer and stops the search when asked: the
// exception leaves the walk on the calling thread, which stops and joins the workers.
class ObserverBridge : public orv::RunObserver {
 public:
  explicit ObserverBridge(IndexingObserver* observer) : observer_(observer) {}
  void FirstReflectionStarted(int i, int n) override {
    if (observer_ == nullptr) return;
    observer_->Progress(i, n);
    StopIfAsked();
  }
  void TripleStarted() override {
    if (observer_ != nullptr && ++triples_ % kTriplesBetweenAsks == 0) StopIfAsked();
  }

 private:
  static constexpr long long kTriplesBetweenAsks = 256;
  void StopIfAsked() {
    if (observer_->StopRequested()) throw Error(ErrorCode::Cancelled, "The search was stopped.");
  }
  IndexingObserver* observer_;
  long long triples_ = 0;
};

}  // namespace

IndexingResult Index(const Pattern& pattern, const IndexingOptions& options, IndexingObserver* observer) {
  try {
    auto run = std::make_unique<RunState>();
    run->parameters = orv::ParametersOfOptions(options, static_cast<int>(pattern.directions.size()));
    orv::FillDirectionStore(pattern, run->parameters, run->directions);
    orv::BuildSublatticeTables(run->tables);
    ObserverBridge events(observer);
    orv::IndexingChoices choices = orv::ChoicesOfOptions(options);
    const orv::IndexingOutcome outcome =
        orv::IndexPattern(run->parameters, run->directions, run->tables, run->store, choices, events, events);
    IndexingResult result;
    result.options = options;
    result.numberOfSpots = run->parameters.NumberOfReflections;
    result.searchTypeUsed = run->parameters.ExtentOfTheSearch;
    result.maxMillerIndexUsed = run->parameters.MaxAllowedMillerIndex;
    result.solutions = orv::SolutionsOfRun(run->parameters, run->directions, run->store, outcome.lattices,
                                           outcome.orientations);
    if (outcome.grains) orv::AddGrainsOfRun(*outcome.grains, result);
    return result;
  } catch (const Error&) {
    throw;
  } catch (const orv::ReferenceCellMismatch& mismatch) {
    throw Error(ErrorCode::ReferenceMismatch, mismatch.what());
  } catch (const std::bad_alloc&) {
    throw Error(ErrorCode::OutOfMemory, "Not enough memory for this run.");
  } catch (const std::exception& error) {
    throw Error(ErrorCode::Internal, error.what());
  }
}

const char* Version() { return orv::kProgramVersion; }

}  // namespace orvanthel
