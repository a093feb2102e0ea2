// The deviatoric strain of a crystal against a reference cell, from the least-squares cell of the
// spot directions, with standard uncertainties from that fit.
//
// Definition: F maps the reference conventional basis onto the observed one (both as columns in a
// common frame), scaled to determinant 1 because a Laue pattern fixes the shape of the cell but not
// its size. F = R S with R the rotation of its polar decomposition and S symmetric; in the crystal
// frame (that of the reference cell, Busing and Levy) F is S, and epsilon = (S + S^T)/2 - I;
// the deviatoric strain is epsilon - tr(epsilon)/3 I. In the frame of the directions it is
// R epsilon_dev R^T. The von Mises equivalent strain is sqrt(2/3 epsilon_dev : epsilon_dev).
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "run_data/run_parameters.hpp"
#include "solutions/crystal_orientation.hpp"

namespace orv {

// A conventional cell: edges (any length unit) and angles alpha, beta, gamma in degrees.
struct ReferenceCell {
  Vec3 lengths{};
  Vec3 anglesInDegrees{};
};

// Reads "a,b,c,alpha,beta,gamma" (six numbers separated by commas). Nothing, with the reason in
// `why`, when the text is not six finite numbers or they describe no cell.
std::optional<ReferenceCell> ParseReferenceCell(const std::string& text, std::string& why);

// A reference cell that does not describe the lattice found: the message says how it differs.
struct ReferenceCellMismatch : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The strain tensors of one observed conventional basis against the reference, without uncertainty.
struct StrainTensors {
  Mat3 crystal{};   // deviatoric, crystal frame
  Mat3 sample{};    // deviatoric, frame of the directions
  double vonMises = 0.0;
  Mat3 rotation{};  // R of F = R S
};

// The strain of the observed conventional basis (rows, frame of the directions) against the
// reference basis (rows, crystal frame), the two in matching settings. False for bases without
// volume or of opposite handedness.
bool StrainOfBasis(const Mat3& observed, const Mat3& referenceInCrystalFrame, StrainTensors& strain);

struct DeviatoricStrain {
  StrainTensors tensors;
  // Standard uncertainties of every component and of the equivalent strain.
  Mat3 crystalUncertainty{};
  Mat3 sampleUncertainty{};
  double vonMisesUncertainty = 0.0;
  int reflections = 0;          // reflections in the least-squares fit
  Mat3 fittedBasis{};           // the least-squares direct basis, the solution's setting and volume
  IntMat3 fromDirectBasis{};    // the conventional setting that matches the reference
};

// The strain of the solution's lattice (direct basis rows, frame of the directions; `orientation`
// from OrientSolution) against `reference`. The basis is first refined by least squares to the
// directions it indexes (LeastSquaresBasis); the observed conventional basis is the setting of
// the lattice whose shape is closest to the reference (the orientation's own setting when several
// are equally close). Throws ReferenceCellMismatch when the reference is of another Bravais type, or
// its shape differs by more than the lattice tolerance.
DeviatoricStrain MeasureDeviatoricStrain(const Mat3& directBasis, const CrystalOrientation& orientation,
                                         const ReferenceCell& reference, const LatticeTolerance& tolerance,
                                         const RunParameters& parameters, const DirectionStore& directions);

// The orientation of a solution once its strain against the reference is known: the setting that
// matches the reference, the reference cell brought to the pattern's volume as the cell, its B, and
// as U the rotation R of F = R S, which B and the measured UB give as UB B^-1 = R S^-1. Without a
// reference U turns B of the measured cell onto UB; with one, a strain of the cell's shape no
// longer turns the crystal frame (for a monoclinic cell the two differ by the order of the strain).
CrystalOrientation OrientationOfReference(const CrystalOrientation& orientation, const DeviatoricStrain& strain,
                                          const ReferenceCell& reference);

}  // namespace orv
