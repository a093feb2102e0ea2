// Fuzzing the input reader: any bytes as an input file end in parameters or in an InputError, and
// the outcome does not depend on how the bytes arrive.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "input/free_format_reader.hpp"
#include "input/input_reader.hpp"
#include "input/line_source.hpp"
#include "run_data/run_errors.hpp"
#include "run_data/run_parameters.hpp"

namespace {

// What a reading produced: the console text with the error lines, and the values read.
struct Outcome {
  std::string console;
  orv::RunParameters parameters;
  std::unique_ptr<orv::DirectionStore> directions = std::make_unique<orv::DirectionStore>();
};

Outcome Read(orv::LineSource source) {
  Outcome outcome;
  orv::SetDefaultParameters(outcome.parameters, *outcome.directions);
  std::ostringstream console;
  try {
    orv::FreeFormatReader reader(std::move(source));
    const orv::EntriesRead entries =
        orv::ReadKeywordEntries(reader, "fuzz.kqt", outcome.parameters, *outcome.directions, console);
    orv::CheckReflectionsGiven(outcome.parameters, *outcome.directions, entries);
  } catch (const orv::InputError& error) {
    for (const std::string& line : error.consoleLines) console << line << '\n';
  }
  outcome.console = console.str();
  return outcome;
}

// Equal as bits, so that two NaN values count as equal.
bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameValues(const Outcome& a, const Outcome& b) {
  const orv::RunParameters& p = a.parameters;
  const orv::RunParameters& q = b.parameters;
  if (p.NumberOfReflections != q.NumberOfReflections || !Same(p.VolumeOfPrimitiveCell, q.VolumeOfPrimitiveCell) ||
      p.MaxAllowedMillerIndex != q.MaxAllowedMillerIndex || p.ExtentOfTheSearch != q.ExtentOfTheSearch ||
      !Same(p.AngularDeviationCriterion, q.AngularDeviationCriterion) || !Same(p.TheMainCriterion, q.TheMainCriterion) ||
      !Same(p.WeightsForSortingBases_1, q.WeightsForSortingBases_1) ||
      !Same(p.WeightsForSortingBases_2, q.WeightsForSortingBases_2) || p.MaxNumberOfSavedBases != q.MaxNumberOfSavedBases ||
      p.SortSolutionsByQualityType != q.SortSolutionsByQualityType || p.SaveLePage != q.SaveLePage ||
      p.CreateLogFile != q.CreateLogFile) {
    return false;
  }
  for (std::size_t i = 0; i < a.directions->rows.size(); ++i) {
    for (std::size_t k = 0; k < 3; ++k) {
      if (!Same(a.directions->rows[i][k], b.directions->rows[i][k])) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Outcome whole = Read(orv::LineSource::FromText(text));

  // The same bytes handed out a few at a time.
  std::size_t offset = 0;
  const std::size_t piece = 1 + size % 7;
  const Outcome pieces = Read(orv::LineSource([&](char* buffer, std::size_t room) -> long {
    const std::size_t count = std::min({room, piece, text.size() - offset});
    std::memcpy(buffer, text.data() + offset, count);
    offset += count;
    return static_cast<long>(count);
  }));
  if (whole.console != pieces.console || !SameValues(whole, pieces)) std::abort();
  return 0;
}
