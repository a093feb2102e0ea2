// The command line of orvanthel-import: the peak list, the output, the selection and the keywords.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/run_keywords.hpp"

namespace orv::imp {

struct ImportOptions {
  std::string peakList;
  std::string outputFile;            // empty: the peak list's name with its extension replaced by .kqt
  std::vector<std::string> columns;  // empty: from the header line, or 2theta chi for two columns
  std::optional<int> top;            // the number of strongest peaks kept
  RunKeywords keywords;
  std::string cell;      // --cell as given; with centring it sets keywords.volume
  std::string centring;  // --centring as given
};

enum class ImportAction { Import, ShowText };

// Reads the arguments (without the program name). ShowText gives the help or version text in
// `message`; a fault throws ImportError with a one-line message naming the option. Every value is
// checked here, against the ranges the indexer accepts for the keywords.
ImportAction ParseImportCommandLine(const std::vector<std::string>& arguments, ImportOptions& options,
                                    std::string& message);

// The file to write: --output, or the peak list's name with its extension (the part after the
// last dot of the last path component) replaced by ".kqt", or with ".kqt" added when it has none.
std::string OutputFileName(const ImportOptions& options);

}  // namespace orv::imp
