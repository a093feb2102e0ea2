// The import from peak list to input file, with every check before anything is written.
#include "import/import_run.hpp"

#include <filesystem>

#include "run_data/run_errors.hpp"
#include "import/kqt_file.hpp"
#include "import/peak_list.hpp"
#include "import/peak_selection.hpp"
#include "input/input_file.hpp"
#include "reports/printable_text.hpp"
#include "run_data/program_version.hpp"

namespace orv::imp {

namespace {

// A name as it may stand in a comment line: the last path component, without line breaks or
// other control bytes.
std::string CommentName(const std::string& path) {
  return PrintableText(path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1));
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

}  // namespace

int RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err) {
  const std::string output = OutputFileName(options);
  auto fail = [&err](const std::string& message) {
    err << "orvanthel-import: " << PrintableText(message) << '\n';
    return 1;
  };
  if (SameFile(output, options.peakList))
    return fail(options.peakList + ": the input file would replace the peak list; name another with --output");

  // Only a regular file is read, in lines of bounded length: a pipe or a device could block the
  // import or feed it without end.
  InputFile in;
  if (!in.Open(options.peakList)) {
    std::error_code error;
    const bool other = std::filesystem::exists(options.peakList, error) &&
                       !std::filesystem::is_regular_file(options.peakList, error);
    return fail("cannot open " + options.peakList + (other ? ": it is not a regular file" : ""));
  }
  PeakList list;
  try {
    LineSource lines = in.Lines();
    list = ReadPeakList(lines, options.columns);
  } catch (const PeakListError& error) {
    return fail(options.peakList + ": " + error.what());
  }

  const bool byIntensity = list.layout.HoldsIntensity();
  const std::vector<Peak> reflections = SelectPeaks(list.peaks, byIntensity, options.top);
  const std::size_t count = reflections.size();
  if (count < static_cast<std::size_t>(kFewestReflections))
    return fail(options.peakList + ": " + std::to_string(count) + " peaks; the indexer needs at least " +
                std::to_string(kFewestReflections));
  if (count > static_cast<std::size_t>(kMostReflections))
    return fail(options.peakList + ": " + std::to_string(count) + " peaks; an input file holds at most " +
                std::to_string(kMostReflections) + ": keep the strongest with --top");

  const std::string order = byIntensity ? "strongest first" : "in file order";
  const std::string frame = list.layout.HoldsAngles()
                                ? "unit scattering vectors, x along the incident beam, z towards the detector"
                                : "directions of the q vectors as given";
  const std::vector<std::string> comments = {
      std::string("Reflections imported by orvanthel-import ") + kProgramVersion + " from " +
          CommentName(options.peakList) + " (columns " + list.layout.Describe() + ")",
      std::to_string(count) + " of " + std::to_string(list.peaks.size()) + " peaks, " + order + "; " + frame,
  };
  try {
    WriteWholeFile(output, KqtLines(comments, reflections, options.keywords));
  } catch (const OutputFileError& error) {
    return fail("cannot write " + error.fileName);
  }
  out << PrintableText("Read " + std::to_string(list.peaks.size()) + " peaks (" + list.layout.Describe() + ") from " +
                       options.peakList + "; wrote " + std::to_string(count) + " reflections, " + order + ", to " +
                       output)
      << '\n';
  return 0;
}

}  // namespace orv::imp
