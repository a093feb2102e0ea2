// The reflections a least-squares fit of directions uses, and the standard uncertainties of
// quantities computed from the fitted basis.
#pragma once

#include <functional>
#include <vector>

#include "geometry/index_direction.hpp"
#include "run_data/run_parameters.hpp"
#include "solutions/direction_fit.hpp"

namespace orv {

// The reflections the direct basis indexes within the bound and the angular tolerance, each with
// its integer indices, its unit direction and the weight 1/|h R|^2 that makes its term of the fit
// its squared angular misfit; those whose misfit exceeds four times the median are left out, as the
// refinement leaves them out.
std::vector<DirectionObservation> SupportedObservations(const Mat3& directBasis, const RunParameters& parameters,
                                                        const DirectionStore& directions);
// The same from the basis's ScanReflections, bit for bit.
std::vector<DirectionObservation> SupportedObservationsOfScans(const Mat3& directBasis,
                                                               const std::vector<ScannedDirection>& scans,
                                                               const RunParameters& parameters,
                                                               const DirectionStore& directions);

// The least-squares basis of the directions: the direct basis refitted (FitBasisToDirections) to
// SupportedObservations, with the reflections taken afresh after each pass, until it settles (at
// most six passes). It keeps the setting and the cell volume of the basis it starts from; a basis
// that cannot be fitted (fewer than four reflections, say) comes back unchanged.
Mat3 LeastSquaresBasis(const Mat3& directBasis, const RunParameters& parameters, const DirectionStore& directions);

// Quantities computed from a reciprocal basis R; false when they cannot be.
using BasisFunction = std::function<bool(const Mat3& reciprocal, std::vector<double>& values)>;

// Standard uncertainties of f(R) at the least-squares basis R of the observations: the residuals
// of the fit are (h R) x u / |h R|, the angular misfit vectors; their covariance is
// s^2 (J^T J)^+ with s^2 = sum |r|^2 / (2 n - 8) (two components per reflection, eight parameters
// once the arbitrary scale of R is left out), carried to f by its derivatives (central
// differences). False when there are too few reflections or f fails near R.
bool StandardUncertainties(const std::vector<DirectionObservation>& observations, const Mat3& reciprocal,
                           const BasisFunction& f, std::vector<double>& sigma);

}  // namespace orv
