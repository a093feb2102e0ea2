// Simulated maps of a few grains.
#include "simulator/map_simulation.hpp"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "geometry/rotation.hpp"
#include "simulator/orientation.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/random_source.hpp"
#include "simulator/simulation_run.hpp"

namespace orv::sim {

namespace {

constexpr std::uint64_t kMapStream = 11;
constexpr double kPi = 3.14159265358979323846;

struct GrainPlan {
  double x = 0.0;
  double y = 0.0;
  Mat3 rotation{};
  Vec3 axisX{};  // axis of the turn along x
  Vec3 axisY{};  // and along y
};

Vec3 RandomAxis(RandomSource& random) {
  const double z = 2.0 * random.Uniform() - 1.0;
  const double t = 2.0 * kPi * random.Uniform();
  const double r = std::sqrt(std::max(0.0, 1.0 - z * z));
  return {r * std::cos(t), r * std::sin(t), z};
}

// The rotation by `degrees` about the unit axis (Rodrigues).
Mat3 AxisRotation(const Vec3& axis, double degrees) {
  const double a = degrees * kPi / 180.0;
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double t = 1.0 - c;
  const double x = axis[0], y = axis[1], z = axis[2];
  return Mat3{{{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
               {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
               {t * x * z - s * y, t * y * z + s * x, t * z * z + c}}};
}

std::vector<GrainPlan> PlanGrains(const MapSimulationOptions& options) {
  RandomSource random(options.seed, kMapStream);
  std::vector<GrainPlan> grains;
  // Centres apart by at least this, so that every grain has room (within a hundred tries).
  const double apart = 0.5 * std::max(options.columns, options.rows) / std::sqrt(static_cast<double>(options.grains));
  for (int g = 0; g < options.grains; ++g) {
    GrainPlan plan;
    for (int attempt = 0; attempt < 100; ++attempt) {
      plan.x = random.Uniform() * options.columns;
      plan.y = random.Uniform() * options.rows;
      bool roomy = true;
      for (const GrainPlan& other : grains) roomy = roomy && std::hypot(plan.x - other.x, plan.y - other.y) >= apart;
      if (roomy) break;
    }
    plan.rotation = RandomRotation(random);
    plan.axisX = RandomAxis(random);
    plan.axisY = RandomAxis(random);
    grains.push_back(plan);
  }
  return grains;
}

std::string PointName(int column, int row) {
  char name[40];
  std::snprintf(name, sizeof name, "point_%04d_%04d.kqt", row, column);
  return name;
}

}  // namespace

std::vector<MapPointTruth> PlanMap(const MapSimulationOptions& options) {
  const std::vector<GrainPlan> grains = PlanGrains(options);
  std::vector<MapPointTruth> points;
  const double width = std::max(1, options.columns - 1);
  const double height = std::max(1, options.rows - 1);
  for (int row = 0; row < options.rows; ++row)
    for (int column = 0; column < options.columns; ++column) {
      MapPointTruth truth;
      truth.file = PointName(column, row);
      truth.column = column;
      truth.row = row;
      // The nearest grain centre, and the second nearest when the point lies within boundaryWidth
      // of the line that halves the two (the distance is (d2^2 - d1^2) / 2D for centres D apart).
      double nearest = 1e300;
      double second = 1e300;
      int secondGrain = 0;
      for (int g = 0; g < options.grains; ++g) {
        const double d = std::hypot(column - grains[g].x, row - grains[g].y);
        if (d < nearest) {
          second = nearest;
          secondGrain = truth.grain;
          nearest = d;
          truth.grain = g + 1;
        } else if (d < second) {
          second = d;
          secondGrain = g + 1;
        }
      }
      if (secondGrain != 0) {
        const GrainPlan& a = grains[static_cast<std::size_t>(truth.grain - 1)];
        const GrainPlan& b = grains[static_cast<std::size_t>(secondGrain - 1)];
        const double apart = std::hypot(a.x - b.x, a.y - b.y);
        if (apart > 0.0 && (second * second - nearest * nearest) / (2.0 * apart) < options.boundaryWidth)
          truth.otherGrain = secondGrain;
      }
      const GrainPlan& plan = grains[static_cast<std::size_t>(truth.grain - 1)];
      const Mat3 turn = MultiplyMatrices(AxisRotation(plan.axisX, options.rotationPerStep * column),
                                         AxisRotation(plan.axisY, options.rotationPerStep * row));
      const Vec3 euler = BungeEulerAngles(MultiplyMatrices(turn, plan.rotation));
      truth.eulerDegrees = {euler[0], euler[1], euler[2]};
      const double s = options.strainGradient;
      truth.strain = {s * column / width, -s * row / height, 0.5 * s * (row / height - column / width),
                      0.0, 0.25 * s * column / width, 0.5 * s * row / height};
      points.push_back(truth);
    }
  return points;
}

bool WriteSimulatedMap(const MapSimulationOptions& options, const std::string& folder, std::string& message) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::create_directories(folder, error);
  std::vector<MapPointTruth> points = PlanMap(options);
  std::ofstream list(folder + "/list.txt");
  std::ofstream positions(folder + "/positions.csv");
  std::ofstream truthFile(folder + "/map_truth.csv");
  if (!list || !positions || !truthFile) {
    message = "cannot write into " + folder;
    return false;
  }
  positions << "file,x,y\n";
  truthFile << "file,x,y,grain,other_grain,phi1,Phi,phi2,e11,e22,e33,e23,e13,e12\n";
  const int spots = options.pattern.flaws.spotsKept > 0 ? options.pattern.flaws.spotsKept : 60;
  std::size_t index = 0;
  for (MapPointTruth& truth : points) {
    ++index;
    SimulationOptions one = options.pattern;
    one.seed = options.seed * 1000003ULL + index;
    one.eulerAngles = truth.eulerDegrees;
    one.strain = truth.strain;
    SimulatedPattern pattern;
    if (truth.otherGrain != 0) {
      one.flaws.spotsKept = spots - static_cast<int>(std::lround(options.boundaryShare * spots));
    } else {
      one.flaws.spotsKept = spots;
    }
    if (!SimulatePattern(one, pattern, message)) {
      message = truth.file + ": " + message;
      return false;
    }
    if (truth.otherGrain != 0) {
      // The second grain: its orientation continued to this point.
      const std::vector<GrainPlan> grains = PlanGrains(options);
      const GrainPlan& plan = grains[static_cast<std::size_t>(truth.otherGrain - 1)];
      const Mat3 turn = MultiplyMatrices(AxisRotation(plan.axisX, options.rotationPerStep * truth.column),
                                         AxisRotation(plan.axisY, options.rotationPerStep * truth.row));
      const Vec3 euler = BungeEulerAngles(MultiplyMatrices(turn, plan.rotation));
      SimulationOptions second = one;
      second.seed = one.seed + 7777777ULL;
      second.eulerAngles = std::array<double, 3>{euler[0], euler[1], euler[2]};
      second.flaws.spotsKept = spots - one.flaws.spotsKept;
      second.flaws.spuriousFraction = 0.0;
      SimulatedPattern secondPattern;
      if (!SimulatePattern(second, secondPattern, message)) {
        message = truth.file + " (second grain): " + message;
        return false;
      }
      // Interleaved, so that the strongest spots of both grains come first.
      std::vector<Spot> joined;
      const std::size_t n = std::max(pattern.spots.size(), secondPattern.spots.size());
      for (std::size_t i = 0; i < n; ++i) {
        if (i < pattern.spots.size()) joined.push_back(pattern.spots[i]);
        if (i < secondPattern.spots.size()) joined.push_back(secondPattern.spots[i]);
      }
      pattern.spots = joined;
    }
    truth.spots = static_cast<int>(pattern.spots.size());
    WritePatternFile(folder + "/" + truth.file, one, pattern);
    list << folder << "/" << truth.file << '\n';
    positions << folder << "/" << truth.file << "," << truth.column << "," << truth.row << '\n';
    truthFile << truth.file << "," << truth.column << "," << truth.row << "," << truth.grain << "," << truth.otherGrain;
    char number[40];
    for (double v : truth.eulerDegrees) {
      std::snprintf(number, sizeof number, ",%.6f", v);
      truthFile << number;
    }
    for (double v : truth.strain) {
      std::snprintf(number, sizeof number, ",%.6e", v);
      truthFile << number;
    }
    truthFile << '\n';
  }
  if (!list || !positions || !truthFile) {
    message = "cannot write into " + folder;
    return false;
  }
  return true;
}

}  // namespace orv::sim
