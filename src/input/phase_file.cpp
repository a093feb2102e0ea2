// The file of candidate phases: one phase a line, "name a b c alpha beta gamma centring".
#include "input/phase_file.hpp"

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "text/line_format.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

[[noreturn]] void Refuse(const std::string& fileName, const std::string& reason) {
  throw InputError({FreeLine("Error reading phases " + fileName + "."), FreeLine(" " + reason)});
}

bool IsCentringLetter(const std::string& text) {
  return text.size() == 1 && std::string("PABCIFR").find(text[0]) != std::string::npos;
}

}  // namespace

PhaseList ReadPhases(std::istream& in, const std::string& fileName) {
  PhaseList phases;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (line.size() > (1u << 16)) Refuse(fileName, "line " + std::to_string(number) + ": longer than 64 KiB");
    std::istringstream items(line);
    std::string first;
    if (!(items >> first) || first[0] == '#') continue;
    const std::string where = "line " + std::to_string(number) + ": ";
    Phase phase;
    phase.name = first;
    double values[6] = {};
    for (double& value : values) {
      std::string text;
      if (!(items >> text)) Refuse(fileName, where + "expected a name, six numbers and a centring letter");
      std::size_t used = 0;
      try {
        value = std::stod(text, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used != text.size() || !std::isfinite(value)) Refuse(fileName, where + "'" + text + "' is not a number");
    }
    std::string centring, extra;
    if (!(items >> centring) || !IsCentringLetter(centring))
      Refuse(fileName, where + "the centring must be one of P, A, B, C, I, F, R");
    if (items >> extra) Refuse(fileName, where + "unexpected '" + extra + "' after the centring");
    phase.a = values[0];
    phase.b = values[1];
    phase.c = values[2];
    phase.alpha = values[3];
    phase.beta = values[4];
    phase.gamma = values[5];
    phase.centring = centring[0];
    if (!(phase.a > 0.0 && phase.b > 0.0 && phase.c > 0.0)) Refuse(fileName, where + "the edges must be positive");
    for (double angle : {phase.alpha, phase.beta, phase.gamma}) {
      if (!(angle > 0.0 && angle < 180.0)) Refuse(fileName, where + "the angles must lie between 0 and 180 degrees");
    }
    const double d = 0.017453292519943295;
    const double ca = std::cos(phase.alpha * d), cb = std::cos(phase.beta * d), cg = std::cos(phase.gamma * d);
    if (!(1.0 - ca * ca - cb * cb - cg * cg + 2.0 * ca * cb * cg > 1e-12))
      Refuse(fileName, where + "the three angles span no cell");
    if (phases.size() >= 1000) Refuse(fileName, where + "more than 1000 phases");
    phases.push_back(phase);
  }
  if (phases.empty()) Refuse(fileName, "no phase in the file");
  return phases;
}

PhaseList ReadPhaseFile(const std::string& fileName) {
  std::ifstream in(fileName);
  if (!in) throw InputError({FreeLine("Error: Cannot open phases " + fileName + ".")});
  return ReadPhases(in, fileName);
}

}  // namespace orv
