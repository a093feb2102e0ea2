// The importer's entry: one run, and every error turned into a message and an exit status here.
#include "import/import_program.hpp"

#include "import/import_options.hpp"
#include "import/import_run.hpp"
#include "text/output_file_error.hpp"
#include "text/printable_text.hpp"

namespace orv::imp {

int ImportProgram(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  try {
    ImportOptions options;
    std::string text;
    if (ParseImportCommandLine(arguments, options, text) == ImportAction::ShowText) {
      out << text;
      return 0;
    }
    RunImport(options, out, err);
    return 0;
  } catch (...) {
    return ReportImportFailure(std::current_exception(), err);
  }
}

int ReportImportFailure(const std::exception_ptr& error, std::ostream& err) {
  std::string message = "unknown error";
  try {
    std::rethrow_exception(error);
  } catch (const OutputFileError& failure) {
    message = "cannot write " + failure.fileName;
  } catch (const std::exception& failure) {
    message = failure.what();
  } catch (...) {
  }
  err << "orvanthel-import: " << PrintableText(message) << '\n';
  return 1;
}

}  // namespace orv::imp
