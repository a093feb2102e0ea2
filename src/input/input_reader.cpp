// PLACEHOLDER: replaced by the input work.
#include "input/input_reader.hpp"
namespace orv {
void ReadInputFile(const std::string&, RunParameters&, DirectionStore&, std::ostream&) {}
}  // namespace orv
