// Simulate: a pattern and its truth from the simulator's own code.
#include <string>

#include "orvanthel/error.hpp"
#include "orvanthel/simulation.hpp"
#include "simulator/simulation_error.hpp"
#include "simulator/simulation_run.hpp"

namespace orvanthel {

namespace {

orv::sim::CellParameters CellOf(const std::array<double, 6>& c) { return {c[0], c[1], c[2], c[3], c[4], c[5]}; }

orv::sim::Centring CentringOf(char letter) {
  orv::sim::Centring centring = orv::sim::Centring::P;
  if (!orv::sim::ParseCentring(std::string(1, letter), centring))
    throw Error(ErrorCode::InvalidOptions, "The centring must be P, I, F, C or R.");
  return centring;
}

Matrix3 PublicMatrix(const orv::Mat3& m) { return {m[0], m[1], m[2]}; }

}  // namespace

Simulation Simulate(const SimulationSettings& settings) {
  orv::sim::SimulationOptions options;
  options.cell = CellOf(settings.cell);
  options.centring = CentringOf(settings.centring);
  options.seed = settings.seed;
  options.eulerAngles = settings.eulerDegrees;
  options.strain = settings.strain;
  options.experiment.minWavelength = settings.minWavelength;
  options.experiment.maxWavelength = settings.maxWavelength;
  options.experiment.minDSpacing = settings.minDSpacing;
  options.experiment.detector = settings.backReflection ? orv::sim::BackReflectionDetector() : orv::sim::SideDetector();
  options.flaws = {settings.noiseDegrees, settings.spuriousFraction, settings.dropFraction, settings.spots};
  for (const SimulatedGrainSettings& grain : settings.moreGrains)
    options.moreGrains.push_back({CellOf(grain.cell), CentringOf(grain.centring), grain.spots, grain.eulerDegrees});
  orv::sim::SimulatedPattern simulated;
  try {
    simulated = orv::sim::SimulatePattern(options);
  } catch (const orv::sim::SimulationError& error) {
    throw Error(ErrorCode::InvalidOptions, error.what());
  }
  Simulation out;
  for (const orv::sim::Spot& spot : simulated.spots) {
    out.pattern.directions.push_back(spot.direction);
    out.spots.push_back({spot.spurious, {spot.h, spot.k, spot.l}, spot.harmonic, spot.wavelength, spot.grain});
  }
  out.rotation = PublicMatrix(simulated.rotation);
  out.directBasis = PublicMatrix(simulated.directBasis);
  out.primitiveVolume = simulated.primitiveVolume;
  return out;
}

}  // namespace orvanthel
