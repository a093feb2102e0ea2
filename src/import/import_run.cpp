// The import from peak list to input file, with every check before anything is written.
#include "import/import_run.hpp"

#include <cmath>
#include <filesystem>

#include "import/import_error.hpp"
#include "import/known_cell.hpp"
#include "import/kqt_file.hpp"
#include "text/kqt_layout.hpp"
#include "import/peak_list.hpp"
#include "import/peak_selection.hpp"
#include "input/input_file.hpp"
#include "text/printable_text.hpp"
#include "run_data/program_version.hpp"

namespace orv::imp {

namespace {

// A name as it may stand in a comment line: the last path component, without line breaks or
// other control bytes.
std::string CommentName(const std::string& path) {
  return PrintableText(path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1));
}

// Detector angles all within 2 pi in size: a list in radians, which would import as directions
// crowded around the beam.
bool LooksLikeRadians(const PeakList& list) {
  if (!list.layout.HoldsAngles()) return false;
  const double turn = 6.283185307179586;
  for (const Peak& peak : list.peaks)
    if (!(peak.twoTheta <= turn && std::fabs(peak.chi) <= turn)) return false;
  return true;
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

}  // namespace

void RunImport(const ImportOptions& options, std::ostream& out, std::ostream& err) {
  const std::string output = OutputFileName(options);
  if (SameFile(output, options.peakList))
    throw ImportError(options.peakList + ": the input file would replace the peak list; name another with --output");

  // Only a regular file is read, in lines of bounded length: a pipe or a device could block the
  // import or feed it without end.
  InputFile in;
  if (!in.Open(options.peakList)) {
    std::error_code error;
    const bool other = std::filesystem::exists(options.peakList, error) &&
                       !std::filesystem::is_regular_file(options.peakList, error);
    throw ImportError("cannot open " + options.peakList + (other ? ": it is not a regular file" : ""));
  }
  PeakList list;
  try {
    LineSource lines = in.Lines();
    list = ReadPeakList(lines, options.columns);
  } catch (const PeakListError& error) {
    throw ImportError(options.peakList + ": " + error.what());
  }

  const bool byIntensity = list.layout.HoldsIntensity();
  const std::vector<Peak> reflections = SelectPeaks(list.peaks, byIntensity, options.top);
  const std::size_t count = reflections.size();
  if (count < static_cast<std::size_t>(kFewestReflections))
    throw ImportError(options.peakList + ": " + std::to_string(count) + " peaks; the indexer needs at least " +
                      std::to_string(kFewestReflections));
  if (count > static_cast<std::size_t>(kMaxReflections))
    throw ImportError(options.peakList + ": " + std::to_string(count) + " peaks; an input file holds at most " +
                      std::to_string(kMaxReflections) + ": keep the strongest with --top");

  const bool radians = LooksLikeRadians(list);
  const std::string order = byIntensity ? "strongest first" : "in file order";
  const std::string frame = list.layout.HoldsAngles()
                                ? "unit scattering vectors, x along the incident beam, z towards the detector"
                                : "directions of the q vectors as given";
  std::vector<std::string> comments = {
      std::string("Reflections imported by orvanthel-import ") + kProgramVersion + " from " +
          CommentName(options.peakList) + " (columns " + list.layout.Describe() + ")",
      std::to_string(count) + " of " + std::to_string(list.peaks.size()) + " peaks, " + order + "; " + frame,
  };
  if (!options.cell.empty() && options.keywords.volume)
    comments.push_back("_VolumeOfPrimitiveCell from the cell " + options.cell + " with centring " + options.centring +
                       " (" + std::to_string(LatticePointsOfCentring(options.centring)) +
                       " lattice points in the cell)");
  WriteKqtLines(output, KqtLines(comments, reflections, options.keywords));
  out << PrintableText("Read " + std::to_string(list.peaks.size()) + " peaks (" + list.layout.Describe() + ") from " +
                       options.peakList + "; wrote " + std::to_string(count) + " reflections, " + order + ", to " +
                       output)
      << '\n';
  if (radians)
    err << "orvanthel-import: warning: every 2theta and chi of " << PrintableText(options.peakList)
        << " is within 2 pi: the angles look like radians, and the peak list must give degrees\n";
}

}  // namespace orv::imp
