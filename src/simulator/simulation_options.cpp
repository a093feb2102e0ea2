// Parsing and checking of the simulator's command line options.
#include "simulator/simulation_options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>

#include <CLI/CLI.hpp>

#include "input/accepted_ranges.hpp"
#include "programs/tool_command_line.hpp"
#include "simulator/simulation_error.hpp"

namespace orv::sim {

namespace {

bool ParseReal(const std::string& text, double& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseInteger(const std::string& text, int& value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno == ERANGE || parsed < -2147483647L || parsed > 2147483647L)
    return false;
  value = static_cast<int>(parsed);
  return true;
}

bool ParseSeed(const std::string& text, std::uint64_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
  errno = 0;
  char* end = nullptr;
  const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno == ERANGE) return false;
  value = static_cast<std::uint64_t>(parsed);
  return true;
}

// Exactly `count` reals separated by commas.
bool ParseRealList(const std::string& text, std::size_t count, std::vector<double>& values) {
  values.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    double v = 0.0;
    if (!ParseReal(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start), v))
      return false;
    values.push_back(v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return values.size() == count;
}

using Handler = std::function<std::string(const std::string&, SimulationOptions&)>;

Handler RealOption(double low, double high, std::function<void(SimulationOptions&, double)> store,
                   const std::string& range) {
  return [=](const std::string& text, SimulationOptions& o) -> std::string {
    double v = 0.0;
    if (!ParseReal(text, v) || v < low || v > high) return "expects a real in " + range;
    store(o, v);
    return "";
  };
}

Handler IntegerOption(int low, int high, std::function<void(SimulationOptions&, int)> store) {
  return [=](const std::string& text, SimulationOptions& o) -> std::string {
    int v = 0;
    if (!ParseInteger(text, v) || v < low || v > high)
      return "expects an integer from " + std::to_string(low) + " to " + std::to_string(high);
    store(o, v);
    return "";
  };
}

std::string ParseCell(const std::string& text, SimulationOptions& o) {
  std::vector<double> v;
  if (!ParseRealList(text, 6, v)) return "expects a,b,c,alpha,beta,gamma";
  CellParameters cell{v[0], v[1], v[2], v[3], v[4], v[5]};
  Mat3 basis;
  if (cell.a > 1000.0 || cell.b > 1000.0 || cell.c > 1000.0 || DirectBasisFromCell(cell, basis) != kStatusSuccess)
    return "does not describe a cell (edges above 0 and at most 1000, angles that close a cell)";
  o.cell = cell;
  return "";
}

std::string ParseEuler(const std::string& text, SimulationOptions& o) {
  std::vector<double> v;
  if (!ParseRealList(text, 3, v)) return "expects phi1,Phi,phi2 in degrees";
  o.eulerAngles = std::array<double, 3>{v[0], v[1], v[2]};
  return "";
}

// "a,b,c,al,be,ga,X,K" or the same followed by ",phi1,Phi,phi2".
std::string ParseGrain(const std::string& text, SimulationOptions& o) {
  const char* const expected = "expects a,b,c,alpha,beta,gamma,centring,spots[,phi1,Phi,phi2]";
  std::vector<std::string> items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    items.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (items.size() != 8 && items.size() != 11) return expected;
  SimulatedGrain grain;
  double v[6] = {};
  for (std::size_t i = 0; i < 6; ++i) {
    if (!ParseReal(items[i], v[i])) return expected;
  }
  grain.cell = CellParameters{v[0], v[1], v[2], v[3], v[4], v[5]};
  Mat3 basis;
  if (grain.cell.a > 1000.0 || grain.cell.b > 1000.0 || grain.cell.c > 1000.0 ||
      DirectBasisFromCell(grain.cell, basis) != kStatusSuccess)
    return "does not describe a cell (edges above 0 and at most 1000, angles that close a cell)";
  if (!ParseCentring(items[6], grain.centring)) return "expects a centring P, I, F, C or R";
  if (!ParseInteger(items[7], grain.spots) || grain.spots < 1 || grain.spots > kMaxSpotsInFile)
    return "expects the grain's spots from 1 to 999";
  if (items.size() == 11) {
    std::array<double, 3> e{};
    for (std::size_t i = 0; i < 3; ++i) {
      if (!ParseReal(items[8 + i], e[i])) return expected;
    }
    grain.eulerAngles = e;
  }
  o.moreGrains.push_back(grain);
  return "";
}

std::string ParseStrain(const std::string& text, SimulationOptions& o) {
  std::vector<double> v;
  if (!ParseRealList(text, 6, v)) return "expects six numbers e11,e22,e33,e23,e13,e12";
  for (double e : v)
    if (!(std::fabs(e) <= 0.1)) return "expects components between -0.1 and 0.1";
  o.strain = std::array<double, 6>{v[0], v[1], v[2], v[3], v[4], v[5]};
  return "";
}

std::string ParseBand(const std::string& text, SimulationOptions& o) {
  std::vector<double> v;
  if (!ParseRealList(text, 2, v) || !(v[0] > 0.0) || !(v[0] < v[1]) || v[1] > 100.0)
    return "expects shortest,longest wavelength with 0 < shortest < longest <= 100";
  o.experiment.minWavelength = v[0];
  o.experiment.maxWavelength = v[1];
  return "";
}

std::string ParseWeights(const std::string& text, SimulationOptions& o) {
  std::vector<double> v;
  if (!ParseRealList(text, 2, v) || v[0] < 0.0 || v[1] < 0.0 || v[0] + v[1] < kSmallestWeightSum)
    return "expects w1,w2, both at least 0 and not both 0";
  o.keywords.WeightsForSortingBases = std::array<double, 2>{v[0], v[1]};
  return "";
}

std::string ParseOutput(const std::string& text, SimulationOptions& o) {
  if (text.size() < 5 || text.compare(text.size() - 4, 4, ".kqt") != 0) return "expects a file name ending in .kqt";
  o.outputFile = text;
  return "";
}

// One command-line option: its name, the placeholder and group of the help text, and its check.
struct OptionSpec {
  const char* name;
  const char* placeholder;
  const char* group;
  const char* description;
  Handler handler;
};

const char* const kFiles = "Files";
const char* const kCrystal = "Crystal";
const char* const kExperiment = "Experiment (incident beam along +z of the laboratory frame)";
const char* const kFlaws = "Flaws of the data";
const char* const kKeywords = "Run parameters written into the file";

std::string ParseName(const std::string& text, std::string& target) {
  if (text.empty()) return "expects a file name";
  target = text;
  return "";
}

const std::vector<OptionSpec>& OptionTable() {
  static const std::vector<OptionSpec> table = {
      {"--output", "FILE.kqt", kFiles, "input file to write (default simulated.kqt)", ParseOutput},
      {"--truth", "FILE", kFiles, "truth file (default: the output stem followed by _truth.txt)",
       [](const std::string& t, SimulationOptions& o) { return ParseName(t, o.truthFile); }},
      {"--peak-list", "FILE", kFiles,
       "also write the pattern as a peak list (2theta chi X Y I) for orvanthel-import:\n"
       "the spots of the input file in its order, I falling with the position (default none)",
       [](const std::string& t, SimulationOptions& o) { return ParseName(t, o.peakListFile); }},
      {"--cell", "a,b,c,al,be,ga", kCrystal, "conventional cell, Angstrom and degrees (default 10,10,10,90,90,90)",
       ParseCell},
      {"--centring", "X", kCrystal, "P, I, F, C or R (R: obverse hexagonal setting) (default P)",
       [](const std::string& t, SimulationOptions& o) -> std::string {
         return ParseCentring(t, o.centring) ? "" : "expects one of P, I, F, C, R";
       }},
      {"--seed", "N", kCrystal, "seed of every random choice (default 1)",
       [](const std::string& t, SimulationOptions& o) -> std::string {
         return ParseSeed(t, o.seed) ? "" : "expects an unsigned 64-bit integer";
       }},
      {"--euler", "phi1,Phi,phi2", kCrystal,
       "orientation as Bunge angles in degrees, R = Rz(phi1) Rx(Phi) Rz(phi2);\n"
       "without it the orientation is drawn uniformly from the seed",
       ParseEuler},
      {"--strain", "e11,e22,e33,e23,e13,e12", kCrystal,
       "strain the crystal by this symmetric tensor in its Busing-Levy frame\n"
       "(a* along x, b* in the xy plane; traceless for a deviatoric strain), each\n"
       "component within 0.1; the truth file then also holds the true U, UB and strain",
       ParseStrain},
      {"--band", "min,max", kExperiment, "wavelength band in Angstrom (default 0.2,1.5)", ParseBand},
      {"--dmin", "d", kExperiment, "smallest d-spacing d_hkl/n in Angstrom (default 0.5)",
       RealOption(0.01, 100.0, [](SimulationOptions& o, double v) { o.experiment.minDSpacing = v; },
                  "[0.01, 100] Angstrom")},
      {"--detector", "side|back", kExperiment,
       "side: flat, centred at 2theta 90 along +x, 2theta about 40 to 140;\n"
       "back: back-reflection plate, 2theta 110 to 170 (default side)",
       [](const std::string& t, SimulationOptions& o) -> std::string {
         return DetectorByName(t, o.experiment.detector) ? "" : "expects side or back";
       }},
      {"--noise", "sigma", kFlaws, "Gaussian angular noise in degrees, on each of two axes (default 0)",
       RealOption(0.0, 10.0, [](SimulationOptions& o, double v) { o.flaws.noiseSigmaDegrees = v; },
                  "[0, 10] degrees")},
      {"--spurious", "f", kFlaws, "fraction of the written spots that are spurious, 0 to 0.9 (default 0)",
       RealOption(0.0, 0.9, [](SimulationOptions& o, double v) { o.flaws.spuriousFraction = v; }, "[0, 0.9]")},
      {"--drop", "f", kFlaws, "fraction of the true spots lost at random, 0 to 0.99 (default 0)",
       RealOption(0.0, 0.99, [](SimulationOptions& o, double v) { o.flaws.dropFraction = v; }, "[0, 0.99]")},
      {"--spots", "K|all", kFlaws,
       "spots written, 4 to 999, strongest first: largest d-spacing of the\n"
       "lowest allowed order of the ray, then the lower harmonic,\n"
       "then h, k, l (default 50)",
       [](const std::string& t, SimulationOptions& o) -> std::string {
         if (t == "all") {
           o.flaws.spotsKept = 0;
           return "";
         }
         int v = 0;
         if (!ParseInteger(t, v) || v < 4 || v > kMaxSpotsInFile) return "expects all or an integer from 4 to 999";
         o.flaws.spotsKept = v;
         return "";
       }},
      {"--volume", "V", kKeywords, "_VolumeOfPrimitiveCell (default: conventional volume / lattice points)",
       RealOption(kSmallestVolume, kLargestVolume,
                  [](SimulationOptions& o, double v) { o.keywords.VolumeOfPrimitiveCell = v; },
                  "[1.1920928955078125e-5, 3.4028234663852885e36]")},
      {"--extent", "n", kKeywords, "_ExtentOfTheSearch, 0 to 9 (default 0)",
       IntegerOption(kSmallestExtent, kLargestExtent, [](SimulationOptions& o, int v) { o.keywords.ExtentOfTheSearch = v; })},
      {"--angular-deviation", "deg", kKeywords, "_AngularDeviationCriterion, 0.1 to 3 (default 1)",
       RealOption(kSmallestTolerance, kLargestTolerance,
                  [](SimulationOptions& o, double v) { o.keywords.AngularDeviationCriterion = v; },
                  "[0.1, 3] degrees")},
      {"--max-index", "n", kKeywords, "_MaxAllowedMillerIndex, 4 to 30",
       IntegerOption(kSmallestMaxIndex, 30, [](SimulationOptions& o, int v) { o.keywords.MaxAllowedMillerIndex = v; })},
      {"--main-criterion", "x", kKeywords, "_TheMainCriterion, 0.03 to 0.3 (written after the angular deviation)",
       RealOption(kSmallestMainCriterion, kLargestMainCriterion,
                  [](SimulationOptions& o, double v) { o.keywords.TheMainCriterion = v; },
                  "[0.03, 0.3]")},
      {"--weights", "w1,w2", kKeywords, "_WeightsForSortingBases", ParseWeights},
      {"--saved-bases", "n", kKeywords, "_MaxNumberOfSavedBases, 1 to 128",
       IntegerOption(1, MaxStoredSolutions, [](SimulationOptions& o, int v) { o.keywords.MaxNumberOfSavedBases = v; })},
      {"--sort-type", "n", kKeywords, "_SortSolutionsByQualityType, 0 or 1",
       IntegerOption(0, 1, [](SimulationOptions& o, int v) { o.keywords.SortSolutionsByQualityType = v; })},
      {"--lepage", "n", kKeywords, "_SaveLePage, 0 to 128",
       IntegerOption(0, MaxStoredSolutions, [](SimulationOptions& o, int v) { o.keywords.SaveLePage = v; })},
      {"--log-file", "n", kKeywords, "_CreateLogFile, 0 or 1",
       IntegerOption(0, 1, [](SimulationOptions& o, int v) { o.keywords.CreateLogFile = v; })},
  };
  return table;
}

// The peak list may not take the place of the input file or of the truth file.
std::string PeakListNameClash(const SimulationOptions& options) {
  if (options.peakListFile.empty()) return "";
  if (options.peakListFile == options.outputFile) return "option --peak-list names the file of --output";
  if (options.peakListFile == TruthFileName(options)) return "option --peak-list names the truth file";
  return "";
}

}  // namespace

CommandLineAction ParseCommandLine(const std::vector<std::string>& arguments, SimulationOptions& options,
                                   std::string& message) {
  CLI::App app{"orvanthel-simulate: writes a simulated Laue pattern as an input file for orvanthel, and its truth.",
               "orvanthel-simulate"};
  SetUpToolCommandLine(app, 27);
  app.get_formatter()->label("OPTIONS", "--name value...");
  app.allow_extras();
  app.footer(kManualLine);
  for (const OptionSpec& entry : OptionTable()) {
    const std::string name = entry.name;
    const Handler handler = entry.handler;
    app.add_option_function<std::string>(
           name,
           [name, handler, &options](const std::string& value) {
             const std::string problem = handler(value, options);
             if (!problem.empty())
               throw CLI::ValidationError("option " + name + " " + problem + ", got \"" + value + "\"");
           },
           entry.description)
        ->type_name(entry.placeholder)
        ->group(entry.group);
  }

  // Each --add-grain adds a grain, in the order given (the option is repeated, not replaced).
  app.add_option_function<std::vector<std::string>>(
         "--add-grain",
         [&options](const std::vector<std::string>& values) {
           for (const std::string& value : values) {
             const std::string problem = ParseGrain(value, options);
             if (!problem.empty())
               throw CLI::ValidationError("option --add-grain " + problem + ", got \"" + value + "\"");
           }
         },
         "a further grain of the pattern (repeat for more): its conventional cell, centring,\n"
         "spots kept and optionally Bunge angles (else drawn from the seed); grain 1 is the\n"
         "crystal of --cell, --centring, --euler with --spots spots, and --noise, --drop,\n"
         "--spurious apply to the whole pattern")
      ->type_name("a,b,c,al,be,ga,X,K[,p1,P,p2]")
      ->group(kCrystal)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

  switch (ParseToolCommandLine<SimulationOptionError>(app, arguments, "orvanthel-simulate", message)) {
    case ToolRequest::ShowHelp:
      return CommandLineAction::ShowHelp;
    case ToolRequest::ShowVersion:
      return CommandLineAction::ShowVersion;
    case ToolRequest::Run:
    case ToolRequest::Fault:
      break;
  }
  const std::vector<std::string> extras = app.remaining();
  if (!extras.empty()) {
    throw SimulationOptionError("unknown option " + extras.front() + " (see --help)");
  }
  const std::string clash = PeakListNameClash(options);
  if (!clash.empty()) throw SimulationOptionError(clash);
  return CommandLineAction::Simulate;
}

std::string TruthFileName(const SimulationOptions& options) {
  if (!options.truthFile.empty()) return options.truthFile;
  return options.outputFile.substr(0, options.outputFile.size() - 4) + "_truth.txt";
}

}  // namespace orv::sim
