// The library's view of the ranked solutions of a run.
#include "library/solution_results.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "reports/results_file.hpp"
#include "reports/spot_classes.hpp"

namespace orv {

namespace {

orvanthel::Matrix3 PublicMatrix(const Mat3& m) { return {{{m[0][0], m[0][1], m[0][2]}, {m[1][0], m[1][1], m[1][2]}, {m[2][0], m[2][1], m[2][2]}}}; }

orvanthel::Cell PublicCell(const Vec3& lengths, const Vec3& angles, double volume) {
  return {lengths[0], lengths[1], lengths[2], angles[0], angles[1], angles[2], volume};
}

orvanthel::Indices PublicIndices(const IndexTriple& h) {
  return {static_cast<int>(h[0]), static_cast<int>(h[1]), static_cast<int>(h[2])};
}

orvanthel::Orientation PublicOrientation(const CrystalOrientation& o) {
  orvanthel::Orientation out;
  out.u = PublicMatrix(o.u);
  out.b = PublicMatrix(o.b);
  out.ub = PublicMatrix(o.ub);
  out.eulerDegrees = o.eulerDegrees;
  out.conventionalBasis = PublicMatrix(o.conventionalBasis);
  out.toConventional = o.fromDirectBasis;
  out.cell = PublicCell(o.cell.lengths, o.cell.anglesInDegrees, std::fabs(Determinant(o.conventionalBasis)));
  return out;
}

orvanthel::Strain PublicStrain(const DeviatoricStrain& s) {
  orvanthel::Strain out;
  out.crystal = PublicMatrix(s.tensors.crystal);
  out.sample = PublicMatrix(s.tensors.sample);
  out.crystalUncertainty = PublicMatrix(s.crystalUncertainty);
  out.sampleUncertainty = PublicMatrix(s.sampleUncertainty);
  out.vonMises = s.tensors.vonMises;
  out.vonMisesUncertainty = s.vonMisesUncertainty;
  out.reflections = s.reflections;
  return out;
}

orvanthel::SpotClass PublicClass(SpotClass spotClass) {
  if (spotClass == SpotClass::WithinHalfTolerance) return orvanthel::SpotClass::WithinHalfTolerance;
  if (spotClass == SpotClass::WithinTolerance) return orvanthel::SpotClass::WithinTolerance;
  return orvanthel::SpotClass::NotIndexed;
}

}  // namespace

std::vector<orvanthel::Solution> SolutionsOfRun(const RunParameters& parameters, const DirectionStore& directions,
                                                const SolutionStore& store, const SolutionLattices& lattices,
                                                const SolutionOrientations& orientations) {
  std::vector<orvanthel::Solution> solutions;
  const double largestQuality = (parameters.WeightsForSortingBases_1 + parameters.WeightsForSortingBases_2) *
                                parameters.NumberOfReflections;
  for (int i = 1; i <= store.NumberOfSolutions; ++i) {
    const SolutionRecord& record = store(i);
    const Mat3& m = record.SolutionBasis;
    orvanthel::Solution solution;
    solution.rank = i;
    solution.directBasis = PublicMatrix(m);
    Mat3 reciprocal{};
    InverseTranspose(m, reciprocal, kBasisSingularity);
    solution.reciprocalBasis = PublicMatrix(reciprocal);
    const CellParameters cell = CellOfBasis(m);
    solution.primitiveCell = PublicCell(cell.lengths, cell.anglesInDegrees, std::fabs(Determinant(m)));
    solution.quality = record.SolutionQuality / largestQuality;
    const std::vector<ClassifiedSpot> spots = ClassifySpots(m, parameters, directions);
    const SpotCounts counts = CountSpots(spots);
    solution.withinTolerance = counts.nh;
    solution.withinHalfTolerance = counts.nH;
    const std::size_t index = static_cast<std::size_t>(i - 1);
    solution.oriented = index < orientations.oriented.size() && orientations.oriented[index];
    for (const ClassifiedSpot& spot : spots) {
      orvanthel::SpotIndexing row{spot.hkl, spot.deviation * kRadiansToDegrees, PublicClass(spot.spotClass), {}, {}};
      if (solution.oriented && spot.spotClass != SpotClass::NotIndexed) {
        const ConventionalIndices c =
            ConventionalIndicesOfRow({spot.hkl[0], spot.hkl[1], spot.hkl[2]}, orientations.orientation[index]);
        row.conventionalHkl = PublicIndices(c.hkl);
        row.conventionalForm = PublicIndices(c.representative);
      }
      solution.spots.push_back(row);
    }
    if (solution.oriented) solution.orientation = PublicOrientation(orientations.orientation[index]);
    if (i == 1 && orientations.strain) {
      solution.strained = true;
      solution.strain = PublicStrain(*orientations.strain);
    }
    if (index < lattices.analysed.size() && lattices.analysed[index]) {
      const LatticeSymmetry& symmetry = lattices.symmetry[index];
      solution.bravaisType = BravaisSymbol(symmetry.type);
      solution.conventionalCell = PublicCell(symmetry.conventionalCell.lengths, symmetry.conventionalCell.anglesInDegrees,
                                             std::fabs(Determinant(symmetry.conventionalBasis)));
      solution.conventionalBasis = PublicMatrix(symmetry.conventionalBasis);
      solution.toConventional = symmetry.toConventional;
    }
    solutions.push_back(std::move(solution));
  }
  return solutions;
}

void AddGrainsOfRun(const GrainSet& set, orvanthel::IndexingResult& result) {
  for (const Grain& grain : set.grains) {
    orvanthel::Grain out;
    out.directBasis = PublicMatrix(grain.basis);
    if (grain.analysed) {
      out.bravaisType = BravaisSymbol(grain.symmetry.type);
      out.conventionalCell =
          PublicCell(grain.symmetry.conventionalCell.lengths, grain.symmetry.conventionalCell.anglesInDegrees,
                     std::fabs(Determinant(grain.symmetry.conventionalBasis)));
    }
    out.spots = grain.spots;
    out.phase = grain.phaseName;
    out.oriented = grain.orientation.oriented;
    if (out.oriented) {
      out.u = PublicMatrix(grain.orientation.u);
      out.eulerDegrees = grain.orientation.eulerDegrees;
    }
    out.misorientationToFirstDegrees = grain.misorientationToFirstDegrees;
    if (grain.strain) {
      out.strained = true;
      out.strain = PublicStrain(*grain.strain);
    }
    result.grains.push_back(std::move(out));
  }
  result.sharedSpots = set.sharedSpots;
  result.spotsOfNoGrain = set.spotsOfNoGrain;
}

}  // namespace orv
