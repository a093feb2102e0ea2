// Which peaks become reflections, and in what order.
#pragma once

#include <optional>
#include <vector>

#include "import/peak_list.hpp"

namespace orv::imp {

// The peaks strongest first when the list has intensities (equal intensities keep their file
// order), in file order otherwise; then the first `top` of them when a number is given.
std::vector<Peak> SelectPeaks(std::vector<Peak> peaks, bool byIntensity, std::optional<int> top);

}  // namespace orv::imp
