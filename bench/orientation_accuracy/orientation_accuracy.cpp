// The accuracy of the orientation and of the deviatoric strain on simulated strained crystals:
// whole runs (--choose-lattice --json --reference-cell) against the simulator's truth, and against
// the floor, the same least-squares refinement started from the true cell. Prints a Markdown table.
//
//   build/orvanthel_orientation_accuracy [--seeds N] [--spots N] [--tolerance DEG]
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/program_entry.hpp"
#include "geometry/constants.hpp"
#include "geometry/crystal_frame.hpp"
#include "geometry/rotation.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "solutions/crystal_orientation.hpp"
#include "solutions/deviatoric_strain.hpp"
#include "solutions/direction_fit_covariance.hpp"
#include "solutions/lattice_rotations.hpp"

namespace orv {
namespace {

constexpr double h = 0.5;

struct Crystal {
  const char* name;
  sim::CellParameters cell;
  sim::Centring centring;
  Mat3 primitiveFromConventional;
};

const std::vector<Crystal>& Crystals() {
  static const std::vector<Crystal> crystals = {
      {"cubic F (5.431)", {5.431, 5.431, 5.431, 90, 90, 90}, sim::Centring::F, {{{0, h, h}, {h, 0, h}, {h, h, 0}}}},
      {"hexagonal P (4.913, 5.405)", {4.913, 4.913, 5.405, 90, 90, 120}, sim::Centring::P, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
      {"orthorhombic P (4.1, 5.3, 7.2)", {4.1, 5.3, 7.2, 90, 90, 90}, sim::Centring::P, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
      {"monoclinic C (9.0, 5.2, 6.1, 104)", {9.0, 5.2, 6.1, 90, 104, 90}, sim::Centring::C, {{{h, h, 0}, {-h, h, 0}, {0, 0, 1}}}},
  };
  return crystals;
}

// A deviatoric strain drawn from the seed, its largest component 5e-3, 3.3e-3 or 1.7e-3.
std::array<double, 6> StrainOfSeed(unsigned seed) {
  unsigned state = seed * 2654435761u + 12345u;
  const auto next = [&]() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 8388608.0 - 1.0;  // [-1, 1)
  };
  std::array<double, 6> e{};
  e[0] = next();
  e[1] = next();
  e[2] = -e[0] - e[1];
  for (int k = 3; k < 6; ++k) e[k] = next();
  double largest = 0.0;
  for (double v : e) largest = std::fmax(largest, std::fabs(v));
  const double size = 5e-3 * ((seed % 3) + 1) / 3.0;
  for (double& v : e) v *= size / largest;
  return e;
}

Mat3 MatrixOf(const nlohmann::json& rows) {
  Mat3 m{};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) m[r][c] = rows[r][c].get<double>();
  return m;
}

double LargestDifference(const Mat3& a, const Mat3& b) {
  double d = 0.0;
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) d = std::fmax(d, std::fabs(a[r][c] - b[r][c]));
  return d;
}

struct Outcome {
  bool indexed = false;
  std::string failure;
  double orientation = 0.0;       // degrees
  double strain = 0.0;            // largest component difference, frame of the directions
  double floorOrientation = 0.0;
  double floorStrain = 0.0;
};

std::string ReferenceText(const sim::CellParameters& c) {
  char text[200];
  std::snprintf(text, sizeof text, "%.6f,%.6f,%.6f,%.6f,%.6f,%.6f", c.a, c.b, c.c, c.alpha, c.beta, c.gamma);
  return text;
}

Outcome RunOne(const Crystal& crystal, double noise, unsigned seed, int spots, double tolerance, const std::string& folder) {
  Outcome outcome;
  sim::SimulationOptions options;
  options.outputFile = folder + "/pattern.kqt";
  options.cell = crystal.cell;
  options.centring = crystal.centring;
  options.seed = seed;
  options.strain = StrainOfSeed(seed);
  options.flaws = sim::FlawSettings{noise, 0.0, 0.0, spots};
  options.keywords.AngularDeviationCriterion = tolerance;
  sim::SimulatedPattern pattern;
  std::string message;
  if (!sim::SimulatePattern(options, pattern, message)) {
    outcome.failure = "simulation: " + message;
    return outcome;
  }
  sim::WritePatternFile(options.outputFile, options, pattern);

  // The crystal's rotations in its Busing-Levy frame, for the misorientation.
  const Mat3 metric = MetricOfCellParameters({crystal.cell.a, crystal.cell.b, crystal.cell.c},
                                             {crystal.cell.alpha, crystal.cell.beta, crystal.cell.gamma});
  Mat3 b{};
  Mat3 crystalBasis{};
  BusingLevyB(metric, b);
  DirectBasisInCrystalFrame(b, crystalBasis);
  const std::vector<Mat3> rotations = CartesianRotations(ProperLatticeRotations(metric), crystalBasis);
  const ReferenceCell reference{{crystal.cell.a, crystal.cell.b, crystal.cell.c},
                                {crystal.cell.alpha, crystal.cell.beta, crystal.cell.gamma}};

  // The floor: the same refinement from the true primitive basis.
  RunParameters parameters;
  DirectionStore directions;
  SetDefaultParameters(parameters, directions);
  parameters.NumberOfReflections = static_cast<int>(pattern.spots.size());
  parameters.AngularDeviationCriterion = tolerance * kDegreesToRadians;
  for (std::size_t j = 0; j < pattern.spots.size(); ++j) directions(static_cast<int>(j) + 1) = pattern.spots[j].direction;
  const Mat3 truePrimitive = MultiplyMatrices(crystal.primitiveFromConventional, pattern.directBasis);
  const LatticeTolerance latticeTolerance = LatticeToleranceForAngularCriterion(parameters.AngularDeviationCriterion);
  LatticeSymmetry symmetry;
  CrystalOrientation floorOrientation;
  if (!AnalyseLatticeSymmetry(truePrimitive, latticeTolerance, symmetry) ||
      !OrientSolution(LeastSquaresBasis(truePrimitive, parameters, directions), symmetry, floorOrientation)) {
    outcome.failure = "floor: no orientation";
    return outcome;
  }
  try {
    const DeviatoricStrain floor =
        MeasureDeviatoricStrain(truePrimitive, floorOrientation, reference, latticeTolerance, parameters, directions);
    outcome.floorStrain = LargestDifference(floor.tensors.sample, pattern.deviatoricLab);
    outcome.floorOrientation =
        MisorientationDegrees(OrientationOfReference(floorOrientation, floor, reference).u, pattern.trueU, rotations);
  } catch (const std::exception& error) {
    outcome.failure = std::string("floor: ") + error.what();
    return outcome;
  }

  std::istringstream in("");
  std::ostringstream out;
  const int status = RunProgram({"--choose-lattice", "--json", "--reference-cell", ReferenceText(crystal.cell), options.outputFile}, in, out);
  if (status != 0) {
    const std::string text = out.str();
    const std::size_t error = text.find("Error");
    outcome.failure = error == std::string::npos ? "run failed" : text.substr(error, text.find('\n', error) - error);
    return outcome;
  }
  std::ifstream file(folder + "/pattern_kqt.json");
  const nlohmann::json document = nlohmann::json::parse(file);
  const nlohmann::json& first = document["solutions"][0];
  if (first["orientation"].is_null() || !first.contains("strain")) {
    outcome.failure = "no orientation or strain";
    return outcome;
  }
  outcome.indexed = true;
  outcome.orientation = MisorientationDegrees(MatrixOf(first["orientation"]["U"]), pattern.trueU, rotations);
  outcome.strain = LargestDifference(MatrixOf(first["strain"]["directionsFrame"]), pattern.deviatoricLab);
  return outcome;
}

double Median(std::vector<double> v) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

double Rms(const std::vector<double>& v) {
  if (v.empty()) return NAN;
  double s = 0.0;
  for (double x : v) s += x * x;
  return std::sqrt(s / v.size());
}

}  // namespace
}  // namespace orv

int main(int argc, char** argv) {
  using namespace orv;
  int seeds = 6;
  int spots = 60;
  double tolerance = 0.2;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--seeds") seeds = std::atoi(argv[i + 1]);
    if (name == "--spots") spots = std::atoi(argv[i + 1]);
    if (name == "--tolerance") tolerance = std::atof(argv[i + 1]);
  }
  const std::string folder = (std::filesystem::temp_directory_path() / "orvanthel-orientation-accuracy").string();
  std::filesystem::create_directories(folder);
  std::printf("%d spots on the side detector, tolerance %.2f deg, %d orientations (seeds 1-%d) per row, deviatoric strain "
              "up to 5e-3; orientation error = misorientation to the truth (degrees); strain error = largest "
              "component difference in the frame of the directions; floor = the same refinement from the true cell.\n\n",
              spots, tolerance, seeds, seeds);
  std::printf("| crystal | noise [deg] | indexed | orientation median | floor median | largest | strain rms | floor rms | rms / floor |\n");
  std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  std::vector<std::string> failures;
  for (const Crystal& crystal : Crystals()) {
    for (double noise : {0.002, 0.005, 0.01}) {
      std::vector<double> orientation, floorOrientation, strain, floorStrain;
      int indexed = 0;
      for (int seed = 1; seed <= seeds; ++seed) {
        const Outcome o = RunOne(crystal, noise, static_cast<unsigned>(seed), spots, tolerance, folder);
        if (!o.indexed) {
          failures.push_back(std::string(crystal.name) + ", noise " + std::to_string(noise) + ", seed " +
                             std::to_string(seed) + ": " + o.failure);
          continue;
        }
        ++indexed;
        orientation.push_back(o.orientation);
        floorOrientation.push_back(o.floorOrientation);
        strain.push_back(o.strain);
        floorStrain.push_back(o.floorStrain);
      }
      std::printf("| %s | %.3f | %d/%d | %.5f | %.5f | %.5f | %.2e | %.2e | %.3f |\n", crystal.name, noise, indexed, seeds,
                  Median(orientation), Median(floorOrientation),
                  orientation.empty() ? NAN : *std::max_element(orientation.begin(), orientation.end()), Rms(strain),
                  Rms(floorStrain), Rms(strain) / Rms(floorStrain));
      std::fflush(stdout);
    }
  }
  if (!failures.empty()) {
    std::printf("\nRuns without an orientation:\n\n");
    for (const std::string& f : failures) std::printf("- %s\n", f.c_str());
  }
  std::filesystem::remove_all(folder);
  return 0;
}
