// The program entry: help words, surplus arguments, the file-name prompt and the one run.
#include "driver/program_entry.hpp"

#include <CLI/CLI.hpp>

#include <exception>
#include <new>
#include <optional>

#include "driver/banner.hpp"
#include "driver/batch_command_line.hpp"
#include "driver/command_line_scan.hpp"
#include "driver/file_name_prompt.hpp"
#include "driver/map_command_line.hpp"
#include "driver/pause_and_stop.hpp"
#include "driver/program_stop.hpp"
#include "driver/run_indexing.hpp"
#include "driver/run_options.hpp"
#include "text/line_format.hpp"
#include "text/printable_text.hpp"
#include "text/trim_blanks.hpp"
#include "programs/version_line.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

// The manual shipped with the program; the help names it.
constexpr char kManual[] = "README.md and the docs folder beside the program's sources";

const std::vector<std::string>& HelpWords() {
  static const std::vector<std::string> helpWords = {"-h", "--help", "-help", "help", "h"};
  return helpWords;
}

bool IsHelpWord(const std::string& argument) {
  const std::string word = TrimBlanks(argument);
  for (const std::string& help : HelpWords()) {
    if (word == help) return true;
  }
  return false;
}

// The classic help line, the manual that exists beside the program, and every option, one a line.
[[noreturn]] void ShowHelp(const std::vector<std::string>& optionLines, std::istream& in, std::ostream& out) {
  out << FreeLine("") << '\n';
  out << FreeLine("This is a program for indexing of single crystal data.") << '\n';
  out << FreeLine("For a description see " + std::string(kManual) + ".") << '\n';
  out << FreeLine("") << '\n';
  out << FreeLine("Usage: orvanthel [options] [filename.kqt]   (options may also follow the file name)") << '\n';
  for (const std::string& line : optionLines) out << FreeLine(line) << '\n';
  out << FreeLine("A peak list (such as a .cor file) becomes an input file with orvanthel-import;") << '\n';
  out << FreeLine("orvanthel-import -h lists its options.") << '\n';
  out << FreeLine("") << '\n';
  PauseAndStop(in, out, 0);
}

[[noreturn]] void RefuseSurplusArguments(std::istream& in, std::ostream& out) {
  out << FreeLine("Error: Too many command line arguments.") << '\n';
  out << FreeLine("       use    Orvanthel") << '\n';
  out << FreeLine("       or     Orvanthel -h") << '\n';
  out << FreeLine("       or     Orvanthel filename.kqt") << '\n';
  PauseAndStop(in, out, 1);
}

std::string FileNameFromPrompt(std::istream& in, std::ostream& out) {
  PrintBanner(out);
  out << " Enter filename : " << std::flush;
  const std::optional<std::string> name = ReadFileNameAtPrompt(in);
  if (!name) {
    out << '\n' << FreeLine("Error: No file name was given.") << '\n';
    PauseAndStop(in, out, 1);
  }
  return *name;
}

// The options, before or after the file name. What is not an option (a file name, a help word,
// surplus items, nothing) reaches the classic handling unchanged.
struct ParsedOptions {
  RunOptions run;
  bool showVersion = false;
  bool forceProgress = false;
  bool runBatch = false;
  BatchOptions batch;
  std::vector<std::string> classicArguments;
  std::vector<std::string> optionLines;  // the help's list of options
};

// The text that stands for an option's value in the help.
void NameValue(CLI::App& app, const char* option, const char* value) {
  if (CLI::Option* found = app.get_option_no_throw(option)) found->option_text(value);
}

ParsedOptions ParseOptions(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out) {
  ParsedOptions parsed;
  CLI::App app{"Orvanthel: ab initio indexing of Laue patterns", "orvanthel"};
  app.set_help_flag();  // the help words keep their classic meaning
  app.add_flag("--version", parsed.showVersion, "Print the version and stop");
  app.add_option("--threads", parsed.run.threads, "Threads that score candidates (default: every core)")
      ->check(CLI::Range(1, 1024));
  app.add_flag("--choose-lattice", parsed.run.chooseLattice,
               "Choose the true lattice among commensurate ones and report refined cells");
  app.add_flag("--json", parsed.run.json, "Also write the results as JSON into <stem>_kqt.json");
  app.add_flag("--svg", parsed.run.svg, "Also draw the indexed pattern in <stem>_kqt.svg");
  app.add_option("--grains", parsed.run.grains, "Grains to look for in the pattern, one after the other (default 1)")
      ->check(CLI::Range(1, 100));
  app.add_option("--min-grain-spots", parsed.run.minGrainSpots,
                 "Spots a further grain must index (default: 8 or a tenth of the spots)")
      ->check(CLI::Range(4, 999));
  app.add_option("--phases", parsed.run.phasesFile, "File of candidate phases the grains are compared with");
  std::string referenceCellText;
  app.add_flag("--orientation", parsed.run.orientation,
               "Report the orientation (U, UB, Euler angles), conventional indices and the spot table");
  CLI::Option* referenceCell = app.add_option("--reference-cell", referenceCellText,
                                              "Deviatoric strain against the conventional cell a,b,c,alpha,beta,gamma");
  app.add_flag("--auto-search", parsed.run.automaticSearch,
               "Search deeper (types 5 and 8, zone-axis cells, larger indices) until 90 % of the spots are indexed");
  BatchCommandLine batch;
  batch.AddTo(app, parsed.batch);
  MapCommandLine map;
  map.AddTo(app, parsed.batch);
  app.add_flag("--progress", parsed.forceProgress,
               "Show the progress line even when the output is not a terminal (a file or a pipe)");
  NameValue(app, "--threads", "N");
  NameValue(app, "--batch", "LIST");
  NameValue(app, "--shard", "I/N");
  NameValue(app, "--workers", "N");
  NameValue(app, "--reference-cell", "A,B,C,AL,BE,GA");
  NameValue(app, "--map", "FILE");
  NameValue(app, "--grains", "N");
  NameValue(app, "--min-grain-spots", "K");
  NameValue(app, "--phases", "FILE");
  NameValue(app, "--grid", "COLSxROWS");
  NameValue(app, "--grain-angle", "DEG");
  parsed.optionLines = OptionLines(app);
  try {
    const ScannedArguments scanned = ScanArguments(arguments, app, HelpWords());
    std::vector<std::string> reversed(scanned.options.rbegin(), scanned.options.rend());
    app.parse(reversed);
    batch.Check(app, parsed.batch);
    map.Check(batch.Requested(), parsed.run);
    if (referenceCell->count() > 0) {
      std::string why;
      parsed.run.referenceCell = ParseReferenceCell(referenceCellText, why);
      if (!parsed.run.referenceCell) throw CLI::ValidationError("--reference-cell", why);
      parsed.run.orientation = true;
    }
    if (batch.Requested() && !scanned.plain.empty())
      throw CLI::ValidationError("--batch", "it takes the patterns from LIST, not a file name after it");
    parsed.classicArguments = scanned.plain;
  } catch (const CLI::ParseError& error) {
    out << FreeLine("Error: " + PrintableText(error.what())) << '\n';
    PauseAndStop(in, out, 1);
  } catch (const UnknownOption& error) {
    out << FreeLine("Error: " + std::string(error.what())) << '\n';
    out << FreeLine("       orvanthel -h lists the options.") << '\n';
    PauseAndStop(in, out, 1);
  }
  parsed.runBatch = batch.Requested();
  parsed.batch.run = parsed.run;
  return parsed;
}

int RunEntry(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out) {
  const ParsedOptions options = ParseOptions(arguments, in, out);
  if (options.showVersion) {
    out << FreeLine(VersionLine("Orvanthel")) << '\n';
    return 0;
  }
  if (options.runBatch) return RunBatch(options.batch, out);
  RunOptions run = options.run;
  if (options.forceProgress) run.progress = ProgressShown::Always;
  const std::vector<std::string>& classic = options.classicArguments;
  if (classic.size() >= 2) RefuseSurplusArguments(in, out);
  std::string fileName;
  if (classic.empty()) {
    fileName = FileNameFromPrompt(in, out);
  } else {
    if (IsHelpWord(classic[0])) ShowHelp(options.optionLines, in, out);
    fileName = classic[0];
  }
  RunIndexing(fileName, run, out);
  out.flush();
  return 0;
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out) {
  try {
    try {
      return RunEntry(arguments, in, out);
    } catch (const InputError& error) {
      for (const std::string& line : error.consoleLines) out << line << '\n';
      PauseAndStop(in, out, 1);
    } catch (const OutputFileError& error) {
      out << FreeLine("Error: Cannot write " + error.fileName + ".") << '\n';
      PauseAndStop(in, out, 1);
    } catch (const std::bad_alloc&) {
      out << FreeLine("Error: Not enough memory for this run.") << '\n';
      PauseAndStop(in, out, 1);
    } catch (const std::exception& error) {
      out << FreeLine("Error: " + std::string(error.what())) << '\n';
      PauseAndStop(in, out, 1);
    }
  } catch (const ProgramStop& stop) {
    out.flush();
    return stop.exitStatus;
  } catch (...) {
    // The error ending itself failed (the pause could not read, say): end without it.
    out.flush();
    return 1;
  }
}

}  // namespace orv
