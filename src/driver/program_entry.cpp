// The program entry: help words, surplus arguments, the file-name prompt and the one run.
#include "driver/program_entry.hpp"

#include <CLI/CLI.hpp>

#include <array>
#include <exception>
#include <new>
#include <optional>

#include "driver/banner.hpp"
#include "driver/batch_command_line.hpp"
#include "driver/file_name_prompt.hpp"
#include "driver/map_command_line.hpp"
#include "driver/pause_and_stop.hpp"
#include "driver/program_stop.hpp"
#include "driver/run_indexing.hpp"
#include "driver/run_options.hpp"
#include "reports/line_format.hpp"
#include "reports/trim_blanks.hpp"
#include "run_data/program_version.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

bool IsHelpWord(const std::string& argument) {
  static const std::array<std::string, 5> helpWords = {"-h", "--help", "-help", "help", "h"};
  const std::string word = TrimBlanks(argument);
  for (const std::string& help : helpWords) {
    if (word == help) return true;
  }
  return false;
}

[[noreturn]] void ShowHelp(std::istream& in, std::ostream& out) {
  out << FreeLine("") << '\n';
  out << FreeLine("This is a program for indexing of single crystal data.") << '\n';
  out << FreeLine("For a description see the Orvanthel.pdf file.") << '\n';
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

// The options that may come before the file name. Parsing stops at the first item it does not know,
// so the classic forms (a file name, a help word, nothing) reach the classic handling unchanged.
struct ParsedOptions {
  RunOptions run;
  bool showVersion = false;
  bool runBatch = false;
  BatchOptions batch;
  std::vector<std::string> classicArguments;
};

ParsedOptions ParseOptions(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out) {
  ParsedOptions parsed;
  CLI::App app{"Orvanthel: ab initio indexing of Laue patterns", "orvanthel"};
  app.set_help_flag();  // the help words keep their classic meaning
  app.prefix_command();
  app.add_flag("--version", parsed.showVersion, "Print the version and stop");
  app.add_option("--threads", parsed.run.threads, "Threads that score candidates (default: every core)")
      ->check(CLI::Range(1, 1024));
  app.add_flag("--choose-lattice", parsed.run.chooseLattice,
               "Choose the true lattice among commensurate ones and report refined cells");
  app.add_flag("--json", parsed.run.json, "Also write the results as JSON into <stem>_kqt.json");
  app.add_flag("--svg", parsed.run.svg, "Also draw the indexed pattern in <stem>_kqt.svg");
  std::string referenceCellText;
  app.add_flag("--orientation", parsed.run.orientation,
               "Report the orientation (U, UB, Euler angles), conventional indices and the spot table");
  CLI::Option* referenceCell = app.add_option("--reference-cell", referenceCellText,
                                              "Deviatoric strain against the conventional cell a,b,c,alpha,beta,gamma");
  BatchCommandLine batch;
  batch.AddTo(app, parsed.batch);
  MapCommandLine map;
  map.AddTo(app, parsed.batch);
  std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
  try {
    app.parse(reversed);
    batch.Check(app, parsed.batch);
    map.Check(batch.Requested(), parsed.run);
    if (referenceCell->count() > 0) {
      std::string why;
      parsed.run.referenceCell = ParseReferenceCell(referenceCellText, why);
      if (!parsed.run.referenceCell) throw CLI::ValidationError("--reference-cell", why);
      parsed.run.orientation = true;
    }
  } catch (const CLI::ParseError& error) {
    out << FreeLine("Error: " + std::string(error.what())) << '\n';
    PauseAndStop(in, out, 1);
  }
  parsed.runBatch = batch.Requested();
  parsed.batch.run = parsed.run;
  parsed.classicArguments = app.remaining();
  return parsed;
}

int RunEntry(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out) {
  const ParsedOptions options = ParseOptions(arguments, in, out);
  if (options.showVersion) {
    out << FreeLine(std::string("Orvanthel ") + kProgramVersion) << '\n';
    return 0;
  }
  if (options.runBatch) return RunBatch(options.batch, out);
  const std::vector<std::string>& classic = options.classicArguments;
  if (classic.size() >= 2) RefuseSurplusArguments(in, out);
  std::string fileName;
  if (classic.empty()) {
    fileName = FileNameFromPrompt(in, out);
  } else {
    if (IsHelpWord(classic[0])) ShowHelp(in, out);
    fileName = classic[0];
  }
  RunIndexing(fileName, options.run, out);
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
