// The command line of orvanthel-simulate: the options, their defaults and their checks.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "simulator/crystal_lattice.hpp"
#include "simulator/pattern_flaws.hpp"
#include "simulator/pattern_generation.hpp"

namespace orv::sim {

// Run parameters written into the input file. The first three are always written; the optional
// ones only when asked for. Each value lies in the range the indexing program accepts.
struct RunKeywords {
  std::optional<double> VolumeOfPrimitiveCell;  // default: volume of the primitive cell
  int ExtentOfTheSearch = 0;
  double AngularDeviationCriterion = 1.0;  // degrees
  std::optional<int> MaxAllowedMillerIndex;
  std::optional<double> TheMainCriterion;
  std::optional<std::array<double, 2>> WeightsForSortingBases;
  std::optional<int> MaxNumberOfSavedBases;
  std::optional<int> SortSolutionsByQualityType;
  std::optional<int> SaveLePage;
  std::optional<int> CreateLogFile;
};

// A further grain of a pattern of several: its conventional cell, centring, number of spots kept
// (its share of the pattern) and orientation (absent: drawn from the seed, grain by grain).
struct SimulatedGrain {
  CellParameters cell;
  Centring centring = Centring::P;
  int spots = 30;
  std::optional<std::array<double, 3>> eulerAngles;
};

struct SimulationOptions {
  std::string outputFile = "simulated.kqt";
  std::string truthFile;     // empty: the stem of the output file followed by "_truth.txt"
  std::string peakListFile;  // empty: no peak list
  CellParameters cell;
  Centring centring = Centring::P;
  std::uint64_t seed = 1;
  std::optional<std::array<double, 3>> eulerAngles;  // degrees; absent: a random orientation
  ExperimentSettings experiment;
  FlawSettings flaws{0.0, 0.0, 0.0, 50};
  RunKeywords keywords;
  // Grains beside the one of --cell, --centring, --euler and --spots (which is grain 1); empty for
  // a single crystal.
  std::vector<SimulatedGrain> moreGrains;
  // Strain of the crystal e11, e22, e33, e23, e13, e12 (a symmetric tensor) in its Busing-Levy
  // frame (a* along x, b* in the x-y plane); absent: unstrained, and the truth file as before.
  std::optional<std::array<double, 6>> strain;
};

enum class CommandLineAction { Simulate, ShowHelp, ShowVersion };

// Reads "--name value" pairs, "--help" and "--version" into the options, starting from the
// defaults; a repeated option takes its last value. ShowHelp and ShowVersion give the text to print
// in `message`; a fault throws SimulationOptionError with a one-line message naming the option.
CommandLineAction ParseCommandLine(const std::vector<std::string>& arguments, SimulationOptions& options,
                                   std::string& message);

// The name of the truth file: the one given, or the output stem followed by "_truth.txt".
std::string TruthFileName(const SimulationOptions& options);

}  // namespace orv::sim
