// Entry point of build/orvanthel-simulate-map: a simulated map of a few grains and its truth.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "run_data/run_errors.hpp"
#include "simulator/map_simulation.hpp"

namespace {

const char* kHelp =
    "orvanthel-simulate-map --out FOLDER [--columns 40] [--rows 40] [--grains 3] [--seed 1] [--spots 60]\n"
    "  [--noise 0.01] [--spurious 0.05] [--rotation-per-step 0.01] [--strain-gradient 2e-3] [--cell 5.658]\n"
    "  [--centring F] [--tolerance 0.2] [--type 0]\n"
    "Writes FOLDER/point_RRRR_CCCC.kqt for every point of the grid, FOLDER/list.txt, FOLDER/positions.csv\n"
    "and FOLDER/map_truth.csv (grain, second grain of a boundary point, Euler angles, strain of each point).\n";

bool ReadNumber(const std::string& text, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orv::sim;
  MapSimulationOptions options;
  options.pattern.cell = CellParameters{5.658, 5.658, 5.658, 90.0, 90.0, 90.0};
  options.pattern.centring = Centring::F;
  options.pattern.flaws = FlawSettings{0.01, 0.05, 0.0, 60};
  options.pattern.keywords.AngularDeviationCriterion = 0.2;
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      std::cout << kHelp;
      return 0;
    }
    if (i + 1 >= argc) {
      std::cerr << "orvanthel-simulate-map: " << name << " needs a value\n" << kHelp;
      return 2;
    }
    const std::string text = argv[++i];
    double v = 0.0;
    if (name == "--out") {
      folder = text;
      continue;
    }
    if (name == "--centring") {
      if (!ParseCentring(text, options.pattern.centring)) {
        std::cerr << "orvanthel-simulate-map: --centring takes P, I, F, C or R\n";
        return 2;
      }
      continue;
    }
    if (!ReadNumber(text, v)) {
      std::cerr << "orvanthel-simulate-map: " << name << " takes a number, not " << text << '\n';
      return 2;
    }
    if (name == "--columns" && v >= 1 && v <= 2000) options.columns = static_cast<int>(v);
    else if (name == "--rows" && v >= 1 && v <= 2000) options.rows = static_cast<int>(v);
    else if (name == "--grains" && v >= 1 && v <= 100) options.grains = static_cast<int>(v);
    else if (name == "--seed" && v >= 0) options.seed = static_cast<std::uint64_t>(v);
    else if (name == "--spots" && v >= 8 && v <= 999) options.pattern.flaws.spotsKept = static_cast<int>(v);
    else if (name == "--noise" && v >= 0 && v <= 5) options.pattern.flaws.noiseSigmaDegrees = v;
    else if (name == "--spurious" && v >= 0 && v < 0.9) options.pattern.flaws.spuriousFraction = v;
    else if (name == "--rotation-per-step" && v >= 0 && v <= 10) options.rotationPerStep = v;
    else if (name == "--strain-gradient" && v >= 0 && v <= 0.05) options.strainGradient = v;
    else if (name == "--cell" && v > 0.5 && v < 100) options.pattern.cell = CellParameters{v, v, v, 90.0, 90.0, 90.0};
    else if (name == "--tolerance" && v >= 0.1 && v <= 3) options.pattern.keywords.AngularDeviationCriterion = v;
    else if (name == "--type" && v >= 0 && v <= 9) options.pattern.keywords.ExtentOfTheSearch = static_cast<int>(v);
    else {
      std::cerr << "orvanthel-simulate-map: " << name << " " << text << " is not an option or out of range\n" << kHelp;
      return 2;
    }
  }
  if (folder.empty()) {
    std::cerr << "orvanthel-simulate-map: give --out FOLDER\n" << kHelp;
    return 2;
  }
  std::string message;
  try {
    if (!WriteSimulatedMap(options, folder, message)) {
      std::cerr << "orvanthel-simulate-map: " << message << '\n';
      return 1;
    }
  } catch (const orv::OutputFileError& error) {
    std::cerr << "orvanthel-simulate-map: cannot write " << error.fileName << '\n';
    return 1;
  }
  std::cout << "Wrote " << options.columns * options.rows << " patterns of " << options.grains << " grains into "
            << folder << '\n';
  return 0;
}
