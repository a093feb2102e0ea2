// Entry point of build/orvanthel-simulate: options in, a simulated input file and its truth out.
#include <iostream>
#include <string>
#include <vector>

#include "text/printable_text.hpp"
#include "run_data/run_errors.hpp"
#include "simulator/pattern_files.hpp"
#include "simulator/peak_list_file.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"

int main(int argc, char** argv) {
  using namespace orv::sim;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

  SimulationOptions options;
  std::string message;
  switch (ParseCommandLine(arguments, options, message)) {
    case CommandLineAction::ShowHelp:
    case CommandLineAction::ShowVersion:
      std::cout << message;
      return 0;
    case CommandLineAction::Fail:
      std::cerr << "orvanthel-simulate: " << orv::PrintableText(message) << '\n';
      return 2;
    case CommandLineAction::Simulate:
      break;
  }

  SimulatedPattern pattern;
  if (!SimulatePattern(options, pattern, message)) {
    std::cerr << "orvanthel-simulate: " << message << "; nothing written\n";
    return 1;
  }
  const std::string truthName = TruthFileName(options);
  try {
    WritePatternFile(options.outputFile, options, pattern);
    WriteTruthFile(truthName, options, pattern);
    if (!options.peakListFile.empty()) WritePeakListFile(options.peakListFile, options, pattern);
  } catch (const orv::OutputFileError& error) {
    std::cerr << "orvanthel-simulate: cannot write " << error.fileName << '\n';
    return 1;
  }
  int spurious = 0;
  for (const Spot& s : pattern.spots) spurious += s.spurious ? 1 : 0;
  std::cout << "Wrote " << pattern.spots.size() << " reflections (" << spurious << " spurious, "
            << pattern.trueSpotsOnDetector << " true spots on the detector) to " << options.outputFile
            << "; truth in " << truthName;
  if (!options.peakListFile.empty()) std::cout << "; peak list in " << options.peakListFile;
  std::cout << '\n';
  return 0;
}
