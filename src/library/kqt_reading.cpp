// ReadKqtFile: the spots and options of a ".kqt" input file, read by the program's own reader.
#include <memory>
#include <sstream>

#include "input/input_reader.hpp"
#include "library/run_setup.hpp"
#include "orvanthel/error.hpp"
#include "orvanthel/index.hpp"
#include "run_data/run_errors.hpp"

namespace orvanthel {

KqtInput ReadKqtFile(const std::string& path) {
  auto parameters = std::make_unique<orv::RunParameters>();
  auto directions = std::make_unique<orv::DirectionStore>();
  std::ostringstream echo;  // the parameter echo, which a library does not show
  try {
    orv::SetDefaultParameters(*parameters, *directions);
    orv::ReadInputFile(path, *parameters, *directions, echo);
  } catch (const orv::InputError& error) {
    throw Error(ErrorCode::ReadFailed, orv::MessageOfInputError(error));
  }
  KqtInput input;
  input.options = orv::OptionsOfParameters(*parameters);
  for (int j = 1; j <= parameters->NumberOfReflections; ++j) {
    const orv::Vec3& d = (*directions)(j);
    input.pattern.directions.push_back({d[0], d[1], d[2]});
  }
  return input;
}

}  // namespace orvanthel
