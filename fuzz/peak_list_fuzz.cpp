// Fuzzing the importer's peak-list reader: any bytes as a peak list end in peaks or in a
// PeakListError; every peak is a finite unit vector, and the outcome does not depend on how the
// bytes arrive or on the line-length bound, as long as no line reaches it.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "import/peak_list.hpp"
#include "input/line_source.hpp"

namespace {

struct Outcome {
  std::string error;
  orv::imp::PeakList list;
};

Outcome Read(orv::LineSource source, const std::vector<std::string>& names) {
  Outcome outcome;
  try {
    outcome.list = orv::imp::ReadPeakList(source, names);
  } catch (const orv::imp::PeakListError& error) {
    outcome.error = error.what();
  }
  return outcome;
}

bool Same(const Outcome& a, const Outcome& b) {
  if (a.error != b.error || a.list.peaks.size() != b.list.peaks.size()) return false;
  for (std::size_t i = 0; i < a.list.peaks.size(); ++i) {
    const orv::imp::Peak& p = a.list.peaks[i];
    const orv::imp::Peak& q = b.list.peaks[i];
    if (std::memcmp(&p.direction, &q.direction, sizeof p.direction) != 0 || p.line != q.line) return false;
  }
  return true;
}

// The column names a run may give instead of a header, chosen by the first byte.
const std::vector<std::vector<std::string>> kGivenNames = {
    {}, {"2theta", "chi"}, {"2theta", "chi", "X", "Y", "I"}, {"qx", "qy", "qz"}, {"qx", "qy", "qz", "I"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<std::string>& names = kGivenNames[data[0] % kGivenNames.size()];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const Outcome whole = Read(orv::LineSource::FromText(text), names);
  for (const orv::imp::Peak& peak : whole.list.peaks) {
    const double length = std::sqrt(peak.direction[0] * peak.direction[0] + peak.direction[1] * peak.direction[1] +
                                    peak.direction[2] * peak.direction[2]);
    if (!(std::fabs(length - 1.0) < 1e-12) || !std::isfinite(peak.intensity)) std::abort();
  }

  // The same bytes handed out a few at a time.
  std::size_t offset = 0;
  const std::size_t piece = 1 + size % 7;
  const Outcome pieces = Read(orv::LineSource([&](char* buffer, std::size_t room) -> long {
                                const std::size_t count = std::min({room, piece, text.size() - offset});
                                std::memcpy(buffer, text.data() + offset, count);
                                offset += count;
                                return static_cast<long>(count);
                              }),
                              names);
  if (!Same(whole, pieces)) std::abort();

  // A bound of 64 characters changes nothing unless a line reaches it.
  const Outcome bounded = Read(orv::LineSource::FromText(text, 64), names);
  if (bounded.error.find("is longer than 64 characters") == std::string::npos && !Same(whole, bounded)) std::abort();

  // The stream form reads the same.
  std::istringstream stream(text);
  Outcome streamed;
  try {
    streamed.list = orv::imp::ReadPeakList(stream, names);
  } catch (const orv::imp::PeakListError& error) {
    streamed.error = error.what();
  }
  if (!Same(whole, streamed)) std::abort();
  return 0;
}
