// From the library's pattern and options to the parameters and direction store of a run.
#include "library/run_setup.hpp"

#include <cmath>
#include <string>

#include "geometry/constants.hpp"
#include "input/input_checks.hpp"
#include "input/input_reader.hpp"
#include "orvanthel/error.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

void Check(Keyword keyword, const RunParameters& parameters, orvanthel::ErrorCode code) {
  if (const auto failed = FirstFailedCheck(keyword, parameters))
    throw orvanthel::Error(code, InputMessageText(*failed));
}

// The tolerance in degrees that the reader turned into these radians, so that a ".kqt" file's run
// and the library's run of its options have the very same tolerance to the last bit.
double DegreesGiving(double radians) {
  double degrees = radians * kRadiansToDegrees;
  for (int step = 0; step < 8 && degrees * kDegreesToRadians != radians; ++step) {
    const double up = std::nextafter(degrees, 1e300);
    const double down = std::nextafter(degrees, -1e300);
    if (up * kDegreesToRadians == radians) return up;
    if (down * kDegreesToRadians == radians) return down;
    degrees = (degrees * kDegreesToRadians < radians) ? up : down;
  }
  return degrees;
}

}  // namespace

std::string MessageOfInputError(const InputError& error) {
  std::string text;
  for (const std::string& line : error.consoleLines) {
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) continue;
    if (!text.empty()) text += ' ';
    text += line.substr(start);
  }
  return text;
}

RunParameters ParametersOfOptions(const orvanthel::IndexingOptions& options, int numberOfSpots) {
  using orvanthel::ErrorCode;
  RunParameters p;
  p.NumberOfReflections = numberOfSpots;
  Check(Keyword::NumberOfReflections, p, ErrorCode::InvalidPattern);
  p.VolumeOfPrimitiveCell = options.volumeOfPrimitiveCell;
  Check(Keyword::VolumeOfPrimitiveCell, p, ErrorCode::InvalidOptions);
  p.MaxAllowedMillerIndex = options.maxMillerIndex;
  Check(Keyword::MaxAllowedMillerIndex, p, ErrorCode::InvalidOptions);
  p.ExtentOfTheSearch = options.searchType;
  Check(Keyword::ExtentOfTheSearch, p, ErrorCode::InvalidOptions);
  // The check reads the tolerance in degrees, as the reader holds it while it checks.
  p.AngularDeviationCriterion = options.toleranceDegrees;
  Check(Keyword::AngularDeviationCriterion, p, ErrorCode::InvalidOptions);
  ApplyAngularDeviationCriterion(p, options.toleranceDegrees);
  if (options.mainCriterion) {
    p.TheMainCriterion = *options.mainCriterion;
    Check(Keyword::TheMainCriterion, p, ErrorCode::InvalidOptions);
  }
  p.WeightsForSortingBases_1 = options.weightHalfTolerance;
  p.WeightsForSortingBases_2 = options.weightTolerance;
  Check(Keyword::WeightsForSortingBases, p, ErrorCode::InvalidOptions);
  p.MaxNumberOfSavedBases = options.maxSolutions;
  Check(Keyword::MaxNumberOfSavedBases, p, ErrorCode::InvalidOptions);
  if (options.threads < 0) throw orvanthel::Error(ErrorCode::InvalidOptions, "threads must not be negative.");
  return p;
}

void FillDirectionStore(const orvanthel::Pattern& pattern, const RunParameters& parameters,
                        DirectionStore& directions) {
  const std::size_t n = pattern.directions.size();
  for (const auto* column : {&pattern.twoThetaDegrees, &pattern.chiDegrees, &pattern.intensities}) {
    if (!column->empty() && column->size() != n)
      throw orvanthel::Error(orvanthel::ErrorCode::InvalidPattern,
                             "The optional columns of a pattern must hold one value per spot.");
  }
  for (Vec3& row : directions.rows) row = {0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < n; ++i) {
    Vec3 entry{pattern.directions[i][0], pattern.directions[i][1], pattern.directions[i][2]};
    NormaliseEntry(entry);
    directions.rows[i] = entry;
  }
  try {
    CheckReflectionsGiven(parameters, directions, EntriesRead{parameters.NumberOfReflections});
  } catch (const InputError& error) {
    throw orvanthel::Error(orvanthel::ErrorCode::InvalidPattern, MessageOfInputError(error));
  }
}

ReferenceCell ReferenceCellOfOptions(const std::array<double, 6>& cell) {
  std::string why;
  const std::optional<ReferenceCell> reference = ReferenceCellOfValues(cell, why);
  if (!reference) throw orvanthel::Error(orvanthel::ErrorCode::InvalidOptions, "referenceCell: " + why + ".");
  return *reference;
}

IndexingChoices ChoicesOfOptions(const orvanthel::IndexingOptions& options) {
  using orvanthel::Error;
  using orvanthel::ErrorCode;
  IndexingChoices choices;
  choices.search = SearchOptions{options.threads, false};
  choices.chooseLattice = options.chooseLattice;
  choices.automaticSearch = options.automaticSearch;
  if (options.grains < 1 || options.grains > 16) throw Error(ErrorCode::InvalidOptions, "grains must lie in 1 to 16.");
  if (options.minGrainSpots < 0) throw Error(ErrorCode::InvalidOptions, "minGrainSpots must not be negative.");
  choices.grains.grainsAsked = options.grains;
  choices.grains.minimumGrainSpots = options.minGrainSpots;
  for (const orvanthel::Phase& given : options.phases) {
    std::string why;
    if (!ReferenceCellOfValues(given.cell, why))
      throw Error(ErrorCode::InvalidOptions, "phase " + given.name + ": " + why + ".");
    if (std::string("PABCIFR").find(given.centring) == std::string::npos || given.centring == '\0')
      throw Error(ErrorCode::InvalidOptions, "phase " + given.name + ": the centring must be P, A, B, C, I, F or R.");
    Phase phase;
    phase.name = given.name;
    phase.a = given.cell[0];
    phase.b = given.cell[1];
    phase.c = given.cell[2];
    phase.alpha = given.cell[3];
    phase.beta = given.cell[4];
    phase.gamma = given.cell[5];
    phase.centring = given.centring;
    choices.grains.phases.push_back(phase);
  }
  choices.grains.strain = !choices.grains.phases.empty();
  choices.orient = true;
  if (options.referenceCell) choices.reference = ReferenceCellOfOptions(*options.referenceCell);
  return choices;
}

orvanthel::IndexingOptions OptionsOfParameters(const RunParameters& p) {
  orvanthel::IndexingOptions options;
  options.volumeOfPrimitiveCell = p.VolumeOfPrimitiveCell;
  options.maxMillerIndex = p.MaxAllowedMillerIndex;
  options.searchType = p.ExtentOfTheSearch;
  options.toleranceDegrees = DegreesGiving(p.AngularDeviationCriterion);
  options.mainCriterion = p.TheMainCriterion;
  options.weightHalfTolerance = p.WeightsForSortingBases_1;
  options.weightTolerance = p.WeightsForSortingBases_2;
  options.maxSolutions = p.MaxNumberOfSavedBases;
  options.chooseLattice = false;
  return options;
}

}  // namespace orv
