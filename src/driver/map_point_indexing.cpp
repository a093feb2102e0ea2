// Seeded or ab initio indexing of one point of a map.
#include "driver/map_point_indexing.hpp"

#include <cmath>
#include <memory>
#include <sstream>

#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "indexing/pattern_indexing.hpp"
#include "input/input_reader.hpp"
#include "maps/grain_setting.hpp"
#include "maps/seed_acceptance.hpp"
#include "text/trim_blanks.hpp"
#include "run_data/run_errors.hpp"
#include "run_data/run_parameters.hpp"
#include "search/search_bases.hpp"
#include "solutions/basis_quality.hpp"
#include "solutions/direction_fit_covariance.hpp"
#include "solutions/solution_lattices.hpp"
#include "solutions/solution_orientations.hpp"
#include "solutions/solution_store.hpp"
#include "solutions/support_keeping_refinement.hpp"

namespace orv {

namespace {

struct PointState {
  RunParameters parameters;
  DirectionStore directions;
  SolutionStore store;
};

void TakeStrain(const StrainTensors& tensors, const IntMat3& setting, MapPointRecord& record) {
  const Mat3& e = tensors.sample;
  record.strained = true;
  record.strain = {e[0][0], e[1][1], e[2][2], e[1][2], e[0][2], e[0][1]};
  record.equivalentStrain = tensors.vonMises;
  record.strainSetting = setting;
}

void TakeOrientation(const CrystalOrientation& orientation, MapPointRecord& record) {
  record.type = orientation.type;
  record.toConventional = orientation.fromDirectBasis;
  record.settingCell = orientation.cell;
  record.conventionalBasis = orientation.conventionalBasis;
  record.u = orientation.u;
  record.eulerDegrees = orientation.eulerDegrees;
}

// The seed's lattice at this point, when it fits.
bool TrySeed(const MapSeed& seed, PointState& state, const MapIndexingContext& context, MapPointRecord& record) {
  const MapPointRecord& from = *seed.second;
  if (!from.Indexed()) return false;
  const double s = VolumeScaleFactor(from.directBasis, state.parameters.VolumeOfPrimitiveCell);
  if (!std::isfinite(s)) return false;
  Mat3 basis = ScaleMatrix(from.directBasis, s);
  const ScoredBasis refined = RefineKeepingSupport(basis, state.parameters, state.directions);
  const PointSupport support{refined.counts.nHalf, refined.counts.nFull, state.parameters.NumberOfReflections};
  if (!SeedFits(support, from.support)) return false;
  const Mat3 fitted = LeastSquaresBasis(basis, state.parameters, state.directions);
  CrystalOrientation orientation;
  if (!OrientInSetting(fitted, from.type, from.settingCell, from.toConventional, orientation)) return false;
  record.status = "indexed";
  record.seeded = true;
  record.seed = seed.first;
  record.directBasis = basis;
  record.support = support;
  TakeOrientation(orientation, record);
  // The strain in the seed's matching setting, of the same least-squares basis that
  // MeasureDeviatoricStrain would fit; the seed's point checked the reference against the lattice.
  // As for a searched point, the orientation is then that of the reference cell: U is the rotation
  // R of F = R S.
  StrainTensors tensors;
  if (context.reference && from.strained &&
      StrainOfBasis(ApplyIntegerMatrix(from.strainSetting, fitted), context.referenceBasis, tensors)) {
    TakeStrain(tensors, from.strainSetting, record);
    record.conventionalBasis = ApplyIntegerMatrix(from.strainSetting, fitted);
    record.u = tensors.rotation;
    record.eulerDegrees = BungeEulerAngles(record.u);
  }
  return true;
}

void SearchAbInitio(PointState& state, const MapIndexingContext& context, MapPointRecord& record) {
  RunObserver quiet;
  IndexingChoices choices;
  choices.search = SearchOptions{1, false};
  choices.chooseLattice = true;
  choices.orient = true;
  choices.reference = context.reference;
  choices.relativeTransforms = &context.relativeTransforms;
  const IndexingOutcome outcome =
      IndexPattern(state.parameters, state.directions, *context.tables, state.store, choices, quiet, quiet);
  record.seeded = false;
  if (state.store.NumberOfSolutions < 1) {
    record.status = "no_solution";
    return;
  }
  const SolutionOrientations& orientations = outcome.orientations;
  if (orientations.oriented.empty() || !orientations.oriented[0]) {
    record.status = "failed";
    record.message = "Solution 1 could not be oriented.";
    return;
  }
  record.status = "indexed";
  record.directBasis = state.store(1).SolutionBasis;
  const SolutionRecord& first = state.store(1);
  record.support = PointSupport{first.SolutionCounts.nHalf, first.SolutionCounts.nFull,
                                state.parameters.NumberOfReflections};
  TakeOrientation(orientations.orientation[0], record);
  if (orientations.strain) TakeStrain(orientations.strain->tensors, orientations.strain->fromDirectBasis, record);
}

}  // namespace

bool SetReferenceBasis(MapIndexingContext& context) {
  if (!context.reference) return true;
  const Mat3 metric = MetricOfCellParameters(context.reference->lengths, context.reference->anglesInDegrees);
  Mat3 b{};
  return BusingLevyB(metric, b) && DirectBasisInCrystalFrame(b, context.referenceBasis);
}

MapPointRecord IndexMapPoint(const std::string& file, const std::vector<MapSeed>& seeds,
                             const MapIndexingContext& context) {
  MapPointRecord record;
  record.file = file;
  try {
    auto state = std::make_unique<PointState>();
    SetDefaultParameters(state->parameters, state->directions);
    std::ostringstream echo;
    ReadInputFile(file, state->parameters, state->directions, echo);
    for (const MapSeed& seed : seeds)
      if (TrySeed(seed, *state, context, record)) return record;
    SearchAbInitio(*state, context, record);
  } catch (const InputError& error) {
    record = MapPointRecord{};
    record.file = file;
    record.status = "failed";
    record.message = "input error";
    for (const std::string& line : error.consoleLines)
      if (!TrimBlanks(line).empty()) {
        record.message = TrimBlanks(line);
        break;
      }
  } catch (const std::exception& error) {
    record = MapPointRecord{};
    record.file = file;
    record.status = "failed";
    record.message = error.what();
  }
  return record;
}

}  // namespace orv
