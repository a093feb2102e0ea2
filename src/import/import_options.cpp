// Parsing and checking of the importer's command line with CLI11.
#include "import/import_options.hpp"

#include <functional>

#include <CLI/CLI.hpp>

#include "import/import_error.hpp"
#include "import/known_cell.hpp"
#include "text/number_text.hpp"
#include "import/peak_columns.hpp"
#include "programs/tool_command_line.hpp"

namespace orv::imp {

namespace {

// An option's value check: the problem in words, empty when the value is taken.
using Check = std::function<std::string(const std::string&)>;

Check RealIn(double low, double high, std::function<void(double)> store) {
  return [=](const std::string& text) -> std::string {
    double v = 0.0;
    if (!ParseReal(text, v) || v < low || v > high)
      return "expects a real from " + ShortestRealText(low) + " to " + ShortestRealText(high);
    store(v);
    return "";
  };
}

Check IntegerIn(int low, int high, std::function<void(int)> store) {
  return [=](const std::string& text) -> std::string {
    int v = 0;
    if (!ParseInteger(text, v) || v < low || v > high)
      return "expects an integer from " + std::to_string(low) + " to " + std::to_string(high);
    store(v);
    return "";
  };
}

CLI::Option* AddChecked(CLI::App& app, const std::string& names, const std::string& placeholder,
                        const std::string& description, Check check) {
  const std::string name = names.substr(names.find_last_of(',') + 1);  // the long name, for messages
  return app
      .add_option_function<std::string>(
          names,
          [name, check](const std::string& value) {
            const std::string problem = check(value);
            if (!problem.empty())
              throw CLI::ValidationError("option " + name + " " + problem + ", got \"" + value + "\"");
          },
          description)
      ->type_name(placeholder);
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

bool EndsWithKqt(const std::string& name) { return name.size() >= 5 && name.compare(name.size() - 4, 4, ".kqt") == 0; }

}  // namespace

ImportAction ParseImportCommandLine(const std::vector<std::string>& arguments, ImportOptions& options,
                                    std::string& message) {
  CLI::App app{"orvanthel-import: writes an input file for orvanthel from a peak list of a Laue pattern.",
               "orvanthel-import"};
  SetUpToolCommandLine(app, 24);
  app.add_option("PEAKLIST", options.peakList,
                 "the peak list: a .cor file (header 2theta chi X Y I, # lines of calibration),\n"
                 "or a table of 2theta chi [I] or of qx qy qz [I]; one peak a line")
      ->required()
      ->type_name("FILE");

  AddChecked(app, "-o,--output", "FILE.kqt", "input file to write (default: the peak list's name with .kqt)",
             [&options](const std::string& t) -> std::string {
               if (!EndsWithKqt(t)) return "expects a file name ending in .kqt";
               options.outputFile = t;
               return "";
             });
  AddChecked(app, "--columns", "NAMES",
             "names of the columns, comma separated, replacing a header line: 2theta, chi,\n"
             "I, qx, qy, qz; other names are read and not used (e.g. 2theta,chi,X,Y,I)",
             [&options](const std::string& t) -> std::string {
               ColumnLayout layout;
               std::string problem;
               const std::vector<std::string> names = SplitCommas(t);
               for (const std::string& name : names)
                 if (name.empty()) return "expects names separated by single commas";
               if (!LayoutFromNames(names, layout, problem)) return "finds " + problem;
               options.columns = names;
               return "";
             });
  AddChecked(app, "--top", "N",
             "keep the N strongest peaks, 4 to 999 (the first N when there is no intensity)",
             IntegerIn(kFewestReflections, kMaxReflections, [&options](int v) { options.top = v; }));
  const std::string group = "Run parameters written into the file (the indexer's defaults otherwise)";
  AddChecked(app, "--volume", "V", "_VolumeOfPrimitiveCell, the primitive cell volume in your length unit cubed",
             RealIn(kSmallestVolume, kLargestVolume, [&options](double v) { options.keywords.volume = v; }))
      ->group(group);
  AddChecked(app, "--tolerance", "DEG", "_AngularDeviationCriterion in degrees, 0.1 to 3",
             RealIn(kSmallestTolerance, kLargestTolerance, [&options](double v) { options.keywords.tolerance = v; }))
      ->group(group);
  AddChecked(app, "--extent", "N", "_ExtentOfTheSearch, the search type, 0 to 9",
             IntegerIn(kSmallestExtent, kLargestExtent, [&options](int v) { options.keywords.extent = v; }))
      ->group(group);
  AddChecked(app, "--max-index", "N", "_MaxAllowedMillerIndex, 4 to 100",
             IntegerIn(kSmallestMaxIndex, kLargestMaxIndex, [&options](int v) { options.keywords.maxIndex = v; }))
      ->group(group);
  AddChecked(app, "--cell", "a[,b,c,al,be,ga]",
             "the known conventional cell (lengths in your unit, angles in degrees; a alone is\n"
             "cubic, a,b,c has right angles): with --centring, _VolumeOfPrimitiveCell is worked out",
             [&options](const std::string& t) -> std::string {
               options.cell = t;
               return "";
             })
      ->group(group);
  AddChecked(app, "--centring", "P|I|F|C|A|B|R", "the centring of the --cell (R: its hexagonal setting)",
             [&options](const std::string& t) -> std::string {
               if (LatticePointsOfCentring(t) == 0) return "expects one of P, I, F, C, A, B or R";
               options.centring = t;
               return "";
             })
      ->group(group);
  app.add_flag_callback("--log", [&options]() { options.keywords.log = true; }, "_CreateLogFile 1: the indexer writes its log")
      ->group(group);
  app.footer(
      "Detector angles give unit scattering vectors q = k_out - k_in in the frame with x along the\n"
      "incident beam and z towards the detector: q = (-sin t, cos t sin chi, cos t cos chi), t = 2theta/2.\n" +
      std::string(kManualLine));

  if (ParseToolCommandLine<ImportError>(app, arguments, "orvanthel-import", message) != ToolRequest::Run)
    return ImportAction::ShowText;
  // The volume of a known cell: the conventional cell alone would give a volume too large by the
  // lattice points of its centring, so both are needed, and --volume says it otherwise.
  if (options.cell.empty() != options.centring.empty()) {
    throw ImportError("options --cell and --centring go together: the primitive volume needs both");
  }
  if (!options.cell.empty()) {
    if (options.keywords.volume) {
      throw ImportError("give the volume either with --volume or with --cell and --centring, not both");
    }
    double volume = 0.0;
    const std::string problem = PrimitiveVolumeOfCell(options.cell, options.centring, volume);
    if (!problem.empty()) {
      throw ImportError("option --cell " + problem + ", got \"" + options.cell + "\"");
    }
    if (!(volume >= kSmallestVolume && volume <= kLargestVolume)) {
      throw ImportError("option --cell gives a primitive volume of " + ShortestRealText(volume) + ", outside " +
                        ShortestRealText(kSmallestVolume) + " to " + ShortestRealText(kLargestVolume));
    }
    options.keywords.volume = volume;
  }
  return ImportAction::Import;
}

std::string OutputFileName(const ImportOptions& options) {
  if (!options.outputFile.empty()) return options.outputFile;
  const std::string& name = options.peakList;
  const std::size_t slash = name.find_last_of('/');
  const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = name.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot > base;  // ".cor" alone is a name
  return (hasExtension ? name.substr(0, dot) : name) + ".kqt";
}

}  // namespace orv::imp
