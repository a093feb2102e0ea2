// The search over the triples (i, j, k) of one pair (i, j), kept for handing on in order later.
#include "search/pair_search.hpp"

#include "search/fourth_directions.hpp"

namespace orv {

PairSearch::PairSearch(const RunParameters& parameters, const DirectionStore& directions,
                       const SublatticeTables& tables, const ZoneArcTable& arcs,
                       const std::atomic<double>& offerFloor, double secondNeeded)
    : parameters_(parameters),
      tables_(tables),
      offerFloor_(offerFloor),
      secondNeeded_(secondNeeded),
      directions_(new DirectionStore(directions)),
      fourthSource_(DecodeSearchType(parameters.ExtentOfTheSearch).fourth),
      generators_(arcs, parameters.NumberOfReflections),
      candidates_(new CandidateList) {
  const int n = parameters.NumberOfReflections;
  seen_.Resize(n);
  firstAccepted_.assign(static_cast<std::size_t>(n) + 2, 0);
  acceptedCount_.assign(static_cast<std::size_t>(n) + 2, 0);
  passed_.assign(static_cast<std::size_t>(n) + 2, 0);
}

void PairSearch::Walk(int i, int j, int kFirst, int kLast, int part, int parts, PairOutcome& outcome) {
  outcome.accepted.clear();
  outcome.wroteCrossing = false;
  quadruple_ = 0;
  part_ = part;
  parts_ = parts;
  for (int k = kFirst; k <= kLast; ++k) {
    triple_ = k - kFirst;
    const double d = TripleProduct(*directions_, i, j, k);
    if (!IsUsableTriple(d)) continue;
    if (d > 0.0)
      VisitTriple(i, j, k, outcome);
    else
      VisitTriple(i, k, j, outcome);
  }
}

void PairSearch::VisitTriple(int i, int j, int k, PairOutcome& outcome) {
  switch (fourthSource_) {
    case FourthDirectionSource::ThreeZones:
      generators_.ThreeZoneReflections(i, j, k, fourth_);
      VisitReflections(i, j, k, false, outcome);
      break;
    case FourthDirectionSource::TwoZones:
      generators_.TwoZoneReflections(i, j, k, fourth_);
      VisitReflections(i, j, k, true, outcome);
      break;
    case FourthDirectionSource::ZoneCrossings: {
      generators_.ZoneCrossings(*directions_, i, j, k, crossings_);
      const int slot = parameters_.NumberOfReflections + 1;
      for (const Vec3& crossing : crossings_) {
        (*directions_)(slot) = crossing;
        if (PassesFourthDirectionTest(*directions_, i, j, k, slot)) ScoreAndKeep(i, j, k, slot, outcome);
      }
      if (!crossings_.empty()) {
        outcome.wroteCrossing = true;
        outcome.lastCrossing = crossings_.back();
      }
      break;
    }
    case FourthDirectionSource::InsideCone:
      // The generator has applied the cone test already.
      ConeReflections(*directions_, parameters_.NumberOfReflections, i, j, k, fourth_);
      for (const int l : fourth_) ScoreAndKeep(i, j, k, l, outcome);
      break;
    case FourthDirectionSource::None:
      break;
  }
}

void PairSearch::VisitReflections(int i, int j, int k, bool mayRepeat, PairOutcome& outcome) {
  if (!mayRepeat) {
    for (const int l : fourth_)
      if (PassesFourthDirectionTest(*directions_, i, j, k, l)) ScoreAndKeep(i, j, k, l, outcome);
    return;
  }
  seen_.NewRound();
  for (const int l : fourth_) {
    const std::size_t at = static_cast<std::size_t>(l);
    if (seen_.IsMarked(l)) {
      if (!passed_[at]) continue;  // the test failed the first time and fails again
      // Scoring is a pure function of the quadruple: offer the same bases again.
      for (int a = 0; a < acceptedCount_[at]; ++a) {
        AcceptedBasis again = outcome.accepted[static_cast<std::size_t>(firstAccepted_[at] + a)];
        again.quadruple = quadruple_;
        outcome.accepted.push_back(again);
      }
      ++quadruple_;
      continue;
    }
    seen_.Mark(l);
    firstAccepted_[at] = static_cast<int>(outcome.accepted.size());
    acceptedCount_[at] = 0;
    passed_[at] = PassesFourthDirectionTest(*directions_, i, j, k, l);
    if (!passed_[at]) continue;
    ScoreAndKeep(i, j, k, l, outcome);
    acceptedCount_[at] = static_cast<int>(outcome.accepted.size()) - firstAccepted_[at];
  }
}

void PairSearch::ScoreAndKeep(int i, int j, int k, int l, PairOutcome& outcome) {
  const Mat3 W = BasisFromQuadruple(*directions_, i, j, k, l);
  scored_.clear();
  ScoreQuadruple(W, parameters_, *directions_, tables_, *candidates_, CandidateScoring::Fast,
                 offerFloor_.load(std::memory_order_relaxed), part_, parts_, scored_, secondNeeded_);
  for (const CandidateScore& scored : scored_) outcome.accepted.push_back({triple_, quadruple_, scored});
  ++quadruple_;
}

}  // namespace orv
