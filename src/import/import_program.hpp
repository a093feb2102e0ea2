// The whole of orvanthel-import, from its arguments to its exit status.
#pragma once

#include <exception>
#include <ostream>
#include <string>
#include <vector>

namespace orv::imp {

// Reads the arguments (without the program name) and imports: the help, the version or the summary
// go to `out`, warnings and the error to `err`. Returns the exit status: 0, or 1 after an error.
int ImportProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The one place where an error that ended the import becomes its message on `err` and its exit
// status: an ImportError its message, an OutputFileError "cannot write" and the name, anything
// else what it says; the status is 1.
int ReportImportFailure(const std::exception_ptr& error, std::ostream& err);

}  // namespace orv::imp
