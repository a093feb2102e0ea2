// Defaults of the run parameters and the values derived from the angular tolerance.
#include "run_data/run_parameters.hpp"

#include "geometry/constants.hpp"

namespace orv {

void SetDefaultParameters(RunParameters& parameters, DirectionStore& directions) {
  parameters = RunParameters{};
  for (Vec3& row : directions.rows) row = {0.0, 0.0, 0.0};
}

void ApplyAngularDeviationCriterion(RunParameters& parameters, double degrees) {
  const double c = 0.030303030303030304;
  parameters.TheMainCriterion = (6.0 - degrees) * degrees * c + c;
  parameters.AngularDeviationCriterion = degrees * kDegreesToRadians;
}

}  // namespace orv
