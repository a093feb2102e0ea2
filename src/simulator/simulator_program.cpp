// The simulator's entry: one simulation, and every error turned into a message and an exit status
// here.
#include "simulator/simulator_program.hpp"

#include "simulator/pattern_files.hpp"
#include "simulator/peak_list_file.hpp"
#include "simulator/simulation_error.hpp"
#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"
#include "text/output_file_error.hpp"
#include "text/printable_text.hpp"

namespace orv::sim {

int SimulatorProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  try {
    SimulationOptions options;
    std::string text;
    if (ParseCommandLine(arguments, options, text) != CommandLineAction::Simulate) {
      out << text;
      return 0;
    }
    const SimulatedPattern pattern = SimulatePattern(options);
    const std::string truthName = TruthFileName(options);
    WritePatternFile(options.outputFile, options, pattern);
    WriteTruthFile(truthName, options, pattern);
    if (!options.peakListFile.empty()) WritePeakListFile(options.peakListFile, options, pattern);
    int spurious = 0;
    for (const Spot& s : pattern.spots) spurious += s.spurious ? 1 : 0;
    out << "Wrote " << pattern.spots.size() << " reflections (" << spurious << " spurious, "
        << pattern.trueSpotsOnDetector << " true spots on the detector) to " << options.outputFile << "; truth in "
        << truthName;
    if (!options.peakListFile.empty()) out << "; peak list in " << options.peakListFile;
    out << '\n';
    return 0;
  } catch (...) {
    return ReportSimulationFailure(std::current_exception(), err);
  }
}

int ReportSimulationFailure(const std::exception_ptr& error, std::ostream& err) {
  std::string message = "unknown error";
  int status = 1;
  try {
    std::rethrow_exception(error);
  } catch (const SimulationOptionError& failure) {
    message = failure.what();
    status = 2;
  } catch (const NoPatternError& failure) {
    message = std::string(failure.what()) + "; nothing written";
  } catch (const OutputFileError& failure) {
    message = "cannot write " + failure.fileName;
  } catch (const std::exception& failure) {
    message = failure.what();
  } catch (...) {
  }
  err << "orvanthel-simulate: " << PrintableText(message) << '\n';
  return status;
}

}  // namespace orv::sim
