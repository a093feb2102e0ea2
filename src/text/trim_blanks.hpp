// Removal of the blanks before and after a text, as every user of a file name or keyword needs it.
#pragma once

#include <string>

namespace orv {

inline std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace orv
