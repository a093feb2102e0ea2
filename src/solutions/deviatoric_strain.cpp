// The deviatoric strain of a crystal against a reference cell, with uncertainties from the fit.
#include "solutions/deviatoric_strain.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "solutions/direction_fit_covariance.hpp"
#include "solutions/lattice_rotations.hpp"

namespace orv {

namespace {

constexpr const char* kCellNames[6] = {"a", "b", "c", "alpha", "beta", "gamma"};
// The symmetry of a reference cell: its edges and angles as written, to a part in a thousand and
// five hundredths of a degree.
constexpr LatticeTolerance kReferenceTolerance{1e-3, 0.05};

std::string Number(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string CellText(const LatticeCell& cell) {
  std::string text;
  for (int k = 0; k < 3; ++k) text += (k ? " " : "") + Number(cell.lengths[k], 4);
  for (int k = 0; k < 3; ++k) text += " " + Number(cell.anglesInDegrees[k], 2);
  return text;
}

// How far the cell of `metric`, brought to the volume of the reference, departs from the
// reference: the worst of the length and angle differences as a share of their tolerances, and
// which of the six parameters it is.
struct ShapeMisfit {
  double share = HUGE_VAL;
  int worst = 0;
  double difference = 0.0;
  LatticeCell scaled;
};

ShapeMisfit MisfitOfShape(const Mat3& metric, const LatticeCell& reference, double referenceVolume,
                          const LatticeTolerance& tolerance) {
  ShapeMisfit misfit;
  const double volume = std::sqrt(std::fabs(Determinant(metric)));
  if (!(volume > 0.0) || !std::isfinite(volume)) return misfit;
  const double s = std::cbrt(referenceVolume / volume);
  misfit.scaled = CellOfMetric(ScaleMatrix(metric, s * s));
  const double unitLength = std::cbrt(referenceVolume);
  misfit.share = 0.0;
  for (int k = 0; k < 6; ++k) {
    const double difference = k < 3 ? misfit.scaled.lengths[k] - reference.lengths[k]
                                    : misfit.scaled.anglesInDegrees[k - 3] - reference.anglesInDegrees[k - 3];
    const double share = k < 3 ? std::fabs(difference) / (tolerance.relativeLength * unitLength)
                               : std::fabs(difference) / tolerance.angleDegrees;
    if (share > misfit.share) {
      misfit.share = share;
      misfit.worst = k;
      misfit.difference = difference;
    }
  }
  return misfit;
}

// The setting W * conventional whose shape is closest to the reference; the identity first, so that
// a tie keeps the orientation's setting.
IntMat3 ClosestSetting(const Mat3& conventional, const LatticeCell& reference, double referenceVolume,
                       const LatticeTolerance& tolerance, ShapeMisfit& best) {
  const IntMat3 identity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  IntMat3 chosen = identity;
  best = MisfitOfShape(MetricOfBasis(conventional), reference, referenceVolume, tolerance);
  for (int number = 0; number < kUnitEntryMatrices; ++number) {
    const IntMat3 w = UnitEntryMatrix(number);
    if (IntegerDeterminant(w) != 1) continue;
    const ShapeMisfit misfit =
        MisfitOfShape(MetricOfBasis(ApplyIntegerMatrix(w, conventional)), reference, referenceVolume, tolerance);
    if (misfit.share < best.share - 1e-12) {
      best = misfit;
      chosen = w;
    }
  }
  return chosen;
}

}  // namespace

std::optional<ReferenceCell> ParseReferenceCell(const std::string& text, std::string& why) {
  std::vector<double> values;
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    const char* begin = item.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    while (end != nullptr && (*end == ' ' || *end == '\t')) ++end;
    if (end == begin || end == nullptr || *end != '\0' || !std::isfinite(value)) {
      why = "\"" + item + "\" is not a number";
      return std::nullopt;
    }
    values.push_back(value);
  }
  if (values.size() != 6) {
    why = "give six numbers a,b,c,alpha,beta,gamma (found " + std::to_string(values.size()) + ")";
    return std::nullopt;
  }
  return ReferenceCellOfValues({values[0], values[1], values[2], values[3], values[4], values[5]}, why);
}

std::optional<ReferenceCell> ReferenceCellOfValues(const std::array<double, 6>& values, std::string& why) {
  ReferenceCell cell;
  for (int k = 0; k < 3; ++k) {
    cell.lengths[k] = values[k];
    cell.anglesInDegrees[k] = values[3 + k];
    if (!(values[k] > 0.0) || !std::isfinite(values[k])) {
      why = std::string("the edge ") + kCellNames[k] + " must be positive";
      return std::nullopt;
    }
    if (!(values[3 + k] > 0.0 && values[3 + k] < 180.0)) {
      why = std::string("the angle ") + kCellNames[3 + k] + " must lie between 0 and 180 degrees";
      return std::nullopt;
    }
  }
  Mat3 b{};
  if (!BusingLevyB(MetricOfCellParameters(cell.lengths, cell.anglesInDegrees), b)) {
    why = "these angles make no cell";
    return std::nullopt;
  }
  return cell;
}

bool StrainOfBasis(const Mat3& observed, const Mat3& reference, StrainTensors& strain) {
  // Columns: observed = F reference, so F = observed^T (reference^T)^-1.
  Mat3 inverse{};
  if (InvertMatrix(TransposeMatrix(reference), inverse, kBasisSingularity) != kStatusSuccess) return false;
  Mat3 f = MultiplyMatrices(TransposeMatrix(observed), inverse);
  const double determinant = Determinant(f);
  if (!std::isfinite(determinant) || !(determinant > 0.0)) return false;
  f = ScaleMatrix(f, 1.0 / std::cbrt(determinant));
  StrainTensors result;
  if (!NearestRotation(f, result.rotation)) return false;
  const Mat3 stretch = MultiplyMatrices(TransposeMatrix(result.rotation), f);
  Mat3 epsilon{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) epsilon[r][c] = 0.5 * (stretch[r][c] + stretch[c][r]) - (r == c ? 1.0 : 0.0);
  const double mean = (epsilon[0][0] + epsilon[1][1] + epsilon[2][2]) / 3.0;
  for (int k = 0; k < 3; ++k) epsilon[k][k] -= mean;
  result.crystal = epsilon;
  result.sample = MultiplyMatrices(result.rotation, MultiplyMatrices(epsilon, TransposeMatrix(result.rotation)));
  double square = 0.0;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) square += epsilon[r][c] * epsilon[r][c];
  result.vonMises = std::sqrt(2.0 / 3.0 * square);
  strain = result;
  return true;
}

DeviatoricStrain MeasureDeviatoricStrain(const Mat3& directBasis, const CrystalOrientation& orientation,
                                         const ReferenceCell& reference, const LatticeTolerance& tolerance,
                                         const RunParameters& parameters, const DirectionStore& directions) {
  const LatticeCell referenceCell{reference.lengths, reference.anglesInDegrees};
  const Mat3 referenceMetric = MetricOfCellParameters(reference.lengths, reference.anglesInDegrees);
  Mat3 b{};
  Mat3 referenceBasis{};
  if (!BusingLevyB(referenceMetric, b) || !DirectBasisInCrystalFrame(b, referenceBasis))
    throw ReferenceCellMismatch("The reference cell " + CellText(referenceCell) + " is not a cell.");
  const double referenceVolume = std::fabs(Determinant(referenceBasis));

  // The shape: the setting of the found lattice closest to the reference.
  ShapeMisfit misfit;
  const IntMat3 w = ClosestSetting(orientation.conventionalBasis, referenceCell, referenceVolume, tolerance, misfit);
  const IntMat3 setting = MultiplyIntegerMatrices(w, orientation.fromDirectBasis);
  if (!(misfit.share <= 1.0)) {
    const int k = misfit.worst;
    const std::string unit = k < 3 ? " " : " degrees ";
    throw ReferenceCellMismatch(
        "The reference cell " + CellText(referenceCell) + " does not match the pattern's " +
        BravaisSymbol(orientation.type) + " cell " + CellText(misfit.scaled) +
        " (at the reference's volume): " + kCellNames[k] + " differs by " + Number(misfit.difference, k < 3 ? 4 : 2) +
        unit + "(tolerance " +
        (k < 3 ? Number(tolerance.relativeLength * 100.0, 2) + " % of the cube root of the volume"
               : Number(tolerance.angleDegrees, 2) + " degrees") +
        ").");
  }
  // The type: the reference cell, centred as the found lattice is, must be a lattice of its type. A
  // reference is an ideal cell, written to a few decimals: it is analysed at a tight tolerance.
  Mat3 settingInverse{};
  LatticeSymmetry referenceSymmetry;
  if (InvertMatrix(IntegerMatrixAsReal(setting), settingInverse, kBasisSingularity) != kStatusSuccess ||
      !AnalyseLatticeSymmetry(MultiplyMatrices(settingInverse, referenceBasis), kReferenceTolerance, referenceSymmetry))
    throw ReferenceCellMismatch("The reference cell " + CellText(referenceCell) + " cannot be analysed.");
  if (referenceSymmetry.type != orientation.type)
    throw ReferenceCellMismatch("The reference cell " + CellText(referenceCell) + " with the pattern's centring is a " +
                                BravaisSymbol(referenceSymmetry.type) + " lattice; the pattern's lattice is " +
                                BravaisSymbol(orientation.type) + ".");

  DeviatoricStrain result;
  result.fromDirectBasis = setting;
  result.fittedBasis = LeastSquaresBasis(directBasis, parameters, directions);
  const std::vector<DirectionObservation> observations =
      SupportedObservations(result.fittedBasis, parameters, directions);
  result.reflections = static_cast<int>(observations.size());

  const Mat3 settingReal = IntegerMatrixAsReal(setting);
  // Every reported number as a function of the reciprocal basis of the fit.
  const auto outputs = [&](const Mat3& reciprocal, std::vector<double>& values) {
    Mat3 direct{};
    StrainTensors strain;
    if (InverseTranspose(reciprocal, direct, kBasisSingularity) != kStatusSuccess ||
        !StrainOfBasis(MultiplyMatrices(settingReal, direct), referenceBasis, strain))
      return false;
    values.clear();
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) values.push_back(strain.crystal[r][c]);
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) values.push_back(strain.sample[r][c]);
    values.push_back(strain.vonMises);
    return true;
  };
  Mat3 reciprocal{};
  if (InverseTranspose(result.fittedBasis, reciprocal, kBasisSingularity) != kStatusSuccess ||
      !StrainOfBasis(ApplyIntegerMatrix(setting, result.fittedBasis), referenceBasis, result.tensors))
    throw ReferenceCellMismatch("The pattern's cell has no volume.");
  std::vector<double> sigma;
  if (StandardUncertainties(observations, reciprocal, outputs, sigma) && sigma.size() == 19) {
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) {
        result.crystalUncertainty[r][c] = sigma[static_cast<std::size_t>(3 * r + c)];
        result.sampleUncertainty[r][c] = sigma[static_cast<std::size_t>(9 + 3 * r + c)];
      }
    result.vonMisesUncertainty = sigma[18];
  }
  return result;
}

CrystalOrientation OrientationOfReference(const CrystalOrientation& orientation, const DeviatoricStrain& strain,
                                          const ReferenceCell& reference) {
  CrystalOrientation result = orientation;
  const Mat3 conventional = ApplyIntegerMatrix(strain.fromDirectBasis, strain.fittedBasis);
  const Mat3 metric = MetricOfCellParameters(reference.lengths, reference.anglesInDegrees);
  Mat3 b{};
  Mat3 crystalBasis{};
  Mat3 reciprocal{};
  if (!BusingLevyB(metric, b) || !DirectBasisInCrystalFrame(b, crystalBasis) ||
      InverseTranspose(conventional, reciprocal, kBasisSingularity) != kStatusSuccess)
    return result;
  // Lengths of the reference times this factor are lengths at the pattern's volume.
  const double scale = std::cbrt(std::fabs(Determinant(conventional)) / std::fabs(Determinant(crystalBasis)));
  if (!std::isfinite(scale) || !(scale > 0.0)) return result;
  result.fromDirectBasis = strain.fromDirectBasis;
  result.conventionalBasis = conventional;
  result.cell = CellOfMetric(ScaleMatrix(metric, scale * scale));
  result.b = ScaleMatrix(b, 1.0 / scale);
  result.ub = UBOfReciprocalRows(reciprocal);
  result.u = strain.tensors.rotation;
  result.eulerDegrees = BungeEulerAngles(result.u);
  result.latticeRotations = RotationsKeepingLattice(ProperLatticeRotations(metric), strain.fromDirectBasis);
  result.crystalRotations = CartesianRotations(result.latticeRotations, crystalBasis);
  return result;
}

}  // namespace orv
