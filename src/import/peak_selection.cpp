// Ordering the peaks by intensity and keeping the strongest.
#include "import/peak_selection.hpp"

#include <algorithm>

namespace orv::imp {

std::vector<Peak> SelectPeaks(std::vector<Peak> peaks, bool byIntensity, std::optional<int> top) {
  if (byIntensity)
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const Peak& a, const Peak& b) { return a.intensity > b.intensity; });
  if (top && *top >= 0 && static_cast<std::size_t>(*top) < peaks.size()) peaks.resize(static_cast<std::size_t>(*top));
  return peaks;
}

}  // namespace orv::imp
