// Writers of the simulated input file (".kqt") and of its truth file.
#pragma once

#include <string>

#include "simulator/simulation_options.hpp"
#include "simulator/simulation_run.hpp"

namespace orv::sim {

// The input file: comment lines describing the simulation, _NumberOfReflections, _Reflections
// (unit scattering vectors), _VolumeOfPrimitiveCell, _ExtentOfTheSearch, _AngularDeviationCriterion,
// then the keywords asked for. _TheMainCriterion comes after _AngularDeviationCriterion, which
// would otherwise replace it when the file is read.
void WritePatternFile(const std::string& fileName, const SimulationOptions& options,
                      const SimulatedPattern& pattern);

// The truth: the direct basis in the laboratory frame, and for every written entry whether it is
// true (with h, k, l, harmonic, d-spacing, wavelength, 2theta) or spurious.
void WriteTruthFile(const std::string& fileName, const SimulationOptions& options, const SimulatedPattern& pattern);

// A real in fixed-point notation with the given decimals and no padding.
std::string PlainReal(double value, int decimals);

}  // namespace orv::sim
