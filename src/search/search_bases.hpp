// The search over reflection triples and fourth directions that fills the solution store.
#pragma once

#include "run_data/run_events.hpp"
#include "run_data/run_parameters.hpp"
#include "search/sublattice_tables.hpp"
#include "solutions/solution_store.hpp"

namespace orv {

// How the triples are searched: the fast exact search, or the search as it reads (generators with
// list scans, every trial of every reflection, one thread), the reference that every faster way must
// match, which the tests choose.
enum class SearchStrategy { Fast, Literal };

struct SearchOptions {
  // Threads that score candidates; 0 or less takes every core, 1 runs on the calling thread alone.
  int threads = 1;
  // The search as it reads (generators with list scans, every trial of every reflection, one
  // thread): the reference that every faster way must match, kept for the tests.
  bool literal = false;
};

// Runs the whole search. Search type 4 writes its crossings into the working slot N+1 of the
// direction store; nothing else in it changes. The store, the events and their order are the same
// for every number of threads: the events come on the calling thread, in the order of the walk.
void SearchBases(const RunParameters& parameters, DirectionStore& directions, const SublatticeTables& tables,
                 SolutionStore& store, RunObserver& events, const SearchOptions& options = {});

// The two searches SearchBases(parameters, store, events) and SearchBases(lowered, loweredStore,
// loweredEvents) in one walk, where `lowered` differs from `parameters` in its lower first score
// alone (AcceptedCandidateQuality): each store ends as its own search leaves it, bit for bit,
// and each observer hears what its own search tells (`events` as the walk goes, `loweredEvents`
// too, the offers to each store to its own observer). The walk costs about what the search with
// the lower first score costs alone. The literal search walks twice.
void SearchBasesAtTwoScores(const RunParameters& parameters, const RunParameters& lowered,
                            DirectionStore& directions, const SublatticeTables& tables, SolutionStore& store,
                            SolutionStore& loweredStore, RunObserver& events, RunObserver& loweredEvents,
                            const SearchOptions& options = {});

}  // namespace orv
