// Entry point of build/orvanthel-import: a peak list in, an input file for orvanthel out.
#include <iostream>
#include <string>
#include <vector>

#include "import/import_options.hpp"
#include "import/import_run.hpp"
#include "text/printable_text.hpp"

int main(int argc, char** argv) {
  using namespace orv::imp;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

  ImportOptions options;
  std::string message;
  switch (ParseImportCommandLine(arguments, options, message)) {
    case ImportAction::ShowText:
      std::cout << message;
      return 0;
    case ImportAction::Fail:
      std::cerr << "orvanthel-import: " << orv::PrintableText(message) << '\n';
      return 1;
    case ImportAction::Import:
      break;
  }
  return RunImport(options, std::cout, std::cerr);
}
