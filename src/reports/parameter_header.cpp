// PLACEHOLDER: replaced by the log file work.
#include "reports/parameter_header.hpp"
namespace orv {
void WriteParameterHeader(TextFile&, HeaderTarget, const RunParameters&, int, const LocalDateTime&) {}
}  // namespace orv
