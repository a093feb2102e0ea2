// PLACEHOLDER: replaced by the driver work.
#include "driver/program_entry.hpp"
namespace orv {
int RunProgram(const std::vector<std::string>&, std::istream&, std::ostream&) { return 0; }
}  // namespace orv
