// The events of a search kept for later.
#include "search/recorded_search_events.hpp"

namespace orv {

void RecordedSearchEvents::FirstReflectionStarted(int i, int n) { events_.push_back({Kind::FirstReflection, i, n, {}, 0.0}); }

void RecordedSearchEvents::TripleStarted() {
  if (!events_.empty() && events_.back().kind == Kind::Triples) {
    ++events_.back().a;
    return;
  }
  events_.push_back({Kind::Triples, 1, 0, {}, 0.0});
}

void RecordedSearchEvents::SearchFinished() { events_.push_back({Kind::Finished, 0, 0, {}, 0.0}); }

void RecordedSearchEvents::SimilarToSolution(int j) { events_.push_back({Kind::Similar, j, 0, {}, 0.0}); }

void RecordedSearchEvents::ReplacedSolution(int j) { events_.push_back({Kind::Replaced, j, 0, {}, 0.0}); }

void RecordedSearchEvents::BasisSaved(int record, SupportCounts counts, double quality) {
  events_.push_back({Kind::Saved, record, 0, counts, quality});
}

void RecordedSearchEvents::ReplayTo(RunObserver& events) const {
  for (const Event& event : events_) {
    switch (event.kind) {
      case Kind::FirstReflection: events.FirstReflectionStarted(event.a, event.b); break;
      case Kind::Triples:
        for (int t = 0; t < event.a; ++t) events.TripleStarted();
        break;
      case Kind::Finished: events.SearchFinished(); break;
      case Kind::Similar: events.SimilarToSolution(event.a); break;
      case Kind::Replaced: events.ReplacedSolution(event.a); break;
      case Kind::Saved: events.BasisSaved(event.a, event.counts, event.quality); break;
    }
  }
}

}  // namespace orv
