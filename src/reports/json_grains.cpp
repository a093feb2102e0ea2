// The "grains" member of the JSON results of a run that looked for several grains.
#include "reports/json_grains.hpp"
#include "reports/json_values.hpp"

#include <cmath>

#include "geometry/constants.hpp"
#include "geometry/index_direction.hpp"
#include "geometry/nearest_integer.hpp"
#include "reports/results_file.hpp"

namespace orv {

namespace {

Json GrainJson(std::size_t number, const Grain& grain, const GrainSet& set, const RunParameters& parameters,
               const DirectionStore& directions) {
  Json out;
  out["grain"] = number;
  if (!set.phasesGiven) {
    out["phase"] = nullptr;
  } else if (grain.phaseName.empty()) {
    out["phase"] = {{"matched", false}, {"note", "no phase fits; the volume is the input's"}};
  } else {
    out["phase"] = {{"matched", true},
                    {"name", grain.phaseName},
                    {"lengthMisfit", grain.phase.lengthMisfit},
                    {"angleMisfitDegrees", grain.phase.angleMisfitDegrees}};
  }
  const CellParameters cell = CellOfBasis(grain.basis);
  out["primitiveCell"] = CellJson(cell.lengths, cell.anglesInDegrees, std::fabs(Determinant(grain.basis)));
  out["directBasis"] = MatrixJson(grain.basis);
  Mat3 reciprocal{};
  InverseTranspose(grain.basis, reciprocal, kBasisSingularity);
  out["reciprocalBasis"] = MatrixJson(reciprocal);
  if (grain.analysed) {
    const LatticeSymmetry& s = grain.symmetry;
    out["lattice"] = {{"bravaisType", BravaisSymbol(s.type)},
                      {"conventionalCell", CellJson(s.conventionalCell.lengths, s.conventionalCell.anglesInDegrees,
                                                std::fabs(Determinant(s.conventionalBasis)))},
                      {"conventionalBasis", MatrixJson(s.conventionalBasis)},
                      {"niggliCell", CellJson(s.niggliCell.lengths, s.niggliCell.anglesInDegrees,
                                          std::fabs(Determinant(s.niggliBasis)))}};
  } else {
    out["lattice"] = nullptr;
  }
  if (grain.orientation.oriented) {
    const GrainOrientation& o = grain.orientation;
    Json orientation;
    orientation["cellHeld"] = CellJson(o.orientation.cell.lengths, o.orientation.cell.anglesInDegrees,
                                   std::fabs(Determinant(o.orientation.conventionalBasis)));
    orientation["B"] = MatrixJson(o.orientation.b);
    orientation["U"] = MatrixJson(o.u);
    orientation["UB"] = MatrixJson(o.ub);
    orientation["eulerDegrees"] = {o.eulerDegrees[0], o.eulerDegrees[1], o.eulerDegrees[2]};
    orientation["spotsFitted"] = o.spotsFitted;
    orientation["rmsMisfitDegrees"] = o.rmsMisfitDegrees;
    if (grain.misorientationToFirstDegrees >= 0.0)
      orientation["misorientationToGrain1Degrees"] = grain.misorientationToFirstDegrees;
    else
      orientation["misorientationToGrain1Degrees"] = nullptr;
    out["orientation"] = std::move(orientation);
  } else {
    out["orientation"] = nullptr;
  }
  if (set.strainAsked) {
    if (grain.strain) {
      const DeviatoricStrain& e = *grain.strain;
      out["strain"] = {{"againstPhase", grain.phaseName},
                       {"crystalFrame", MatrixJson(e.tensors.crystal)},
                       {"crystalFrameUncertainty", MatrixJson(e.crystalUncertainty)},
                       {"sampleFrame", MatrixJson(e.tensors.sample)},
                       {"sampleFrameUncertainty", MatrixJson(e.sampleUncertainty)},
                       {"vonMises", e.tensors.vonMises},
                       {"vonMisesUncertainty", e.vonMisesUncertainty},
                       {"reflections", e.reflections}};
    } else {
      out["strain"] = nullptr;
    }
  }
  out["round"] = {{"spotsSearched", grain.spotsGiven},
                  {"spotsIndexed", grain.spotsIndexedInRound},
                  {"solutions", grain.solutionsInRound}};
  Json spots = Json::array();
  for (int j : grain.spots) {
    const IndexedDirection indexed = IndexDirection(directions(j), reciprocal, grain.basis, parameters.MaxAllowedMillerIndex);
    MillerIndices hkl = {Nint(indexed.x[0]), Nint(indexed.x[1]), Nint(indexed.x[2])};
    if (grain.analysed) {
      const IntMat3& t = grain.symmetry.toConventional;
      MillerIndices c{};
      for (std::size_t r = 0; r < 3; ++r) c[r] = t[r][0] * hkl[0] + t[r][1] * hkl[1] + t[r][2] * hkl[2];
      hkl = c;
    }
    spots.push_back({{"number", j},
                     {"hkl", {hkl[0], hkl[1], hkl[2]}},
                     {"deviationDegrees", indexed.theta * kRadiansToDegrees},
                     {"shared", set.grainsOfSpots[static_cast<std::size_t>(j - 1)].size() > 1}});
  }
  out["numberOfSpots"] = grain.spots.size();
  out["spots"] = std::move(spots);
  return out;
}

}  // namespace

nlohmann::ordered_json GrainsJson(const GrainSet& set, const RunParameters& parameters,
                                  const DirectionStore& directions) {
  Json out;
  out["grainsAsked"] = set.grainsAsked;
  out["minimumGrainSpots"] = set.minimumGrainSpots;
  out["numberOfGrains"] = set.grains.size();
  Json grains = Json::array();
  for (std::size_t g = 0; g < set.grains.size(); ++g)
    grains.push_back(GrainJson(g + 1, set.grains[g], set, parameters, directions));
  out["grains"] = std::move(grains);
  out["sharedSpots"] = set.sharedSpots;
  out["spotsOfNoGrain"] = set.spotsOfNoGrain;
  out["grainsOfSpots"] = set.grainsOfSpots;
  return out;
}

}  // namespace orv
