// Fuzzing a whole run: any input file that the reader accepts and whose search is short runs to its
// end, writing its reports, or ends in an InputError; nothing else may escape. The fuzzer runs in a
// scratch folder: the input file, the reports and "LePage.inp" are written into the current folder.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>

#include "driver/run_indexing.hpp"
#include "driver/run_options.hpp"
#include "input/free_format_reader.hpp"
#include "input/input_reader.hpp"
#include "input/line_source.hpp"
#include "run_data/run_errors.hpp"
#include "run_data/run_parameters.hpp"

namespace {

// The bounds of a short search: the number of triples grows with the cube of the reflections, the
// cone search of types 8 and 9 and the trial scales of the index bound multiply it.
constexpr int kMostReflections = 12;
constexpr int kMostReflectionsForConeSearch = 9;
constexpr int kLargestIndexBound = 30;

bool SearchIsShort(const std::string& text) {
  orv::RunParameters parameters;
  auto directions = std::make_unique<orv::DirectionStore>();
  orv::SetDefaultParameters(parameters, *directions);
  std::ostringstream console;
  try {
    orv::FreeFormatReader reader(orv::LineSource::FromText(text));
    orv::ReadKeywordEntries(reader, "fuzz.kqt", parameters, *directions, console);
  } catch (const orv::InputError&) {
    return true;  // the run ends in the reader
  }
  const int n = parameters.NumberOfReflections;
  return n <= kMostReflections && (parameters.ExtentOfTheSearch < 8 || n <= kMostReflectionsForConeSearch) &&
         parameters.MaxAllowedMillerIndex <= kLargestIndexBound;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (!SearchIsShort(text)) return -1;  // not added to the corpus
  {
    std::ofstream file("fuzz.kqt", std::ios::binary | std::ios::trunc);
    file << text;
  }
  std::ostream console(nullptr);  // the console is not looked at; writes to it do nothing
  orv::RunOptions options;
  options.threads = 1;
  options.json = size % 2 == 1;  // half of the runs write the JSON results as well
  try {
    orv::RunIndexing("fuzz.kqt", options, console);
  } catch (const orv::InputError&) {
  }
  return 0;
}
