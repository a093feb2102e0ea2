// The one implementation of the fixed-layout line notation.
#include "text/line_format.hpp"

#include <cmath>
#include <cstdio>
#include <vector>

namespace orv {

namespace {

std::string Asterisks(int width) { return std::string(static_cast<std::size_t>(width > 0 ? width : 0), '*'); }

std::string RightAligned(const std::string& text, int width) {
  if (static_cast<int>(text.size()) > width) return Asterisks(width);
  return Blanks(width - static_cast<int>(text.size())) + text;
}

}  // namespace

std::string FormatInteger(long long value, int width) { return RightAligned(std::to_string(value), width); }

std::string FormatFixed(double value, int width, int decimals) {
  if (std::isnan(value)) return RightAligned("NaN", width);
  if (std::isinf(value)) return RightAligned(value > 0 ? "Inf" : "-Inf", width);
  const int size = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
  std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
  std::string text(buffer.data());
  if (decimals == 0) text += '.';
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  if (static_cast<int>(text.size()) > width) {
    // Drop the optional zero before the decimal point when that makes the value fit.
    if (text.compare(0, 2, "0.") == 0) {
      text.erase(0, 1);
    } else if (text.compare(0, 3, "-0.") == 0) {
      text.erase(1, 1);
    }
  }
  return RightAligned(text, width);
}

std::string FormatText(const std::string& text, int width) {
  if (static_cast<int>(text.size()) >= width) return text.substr(0, static_cast<std::size_t>(width));
  return Blanks(width - static_cast<int>(text.size())) + text;
}

std::string Blanks(int count) { return Repeat(' ', count); }

std::string Repeat(char c, int count) { return std::string(static_cast<std::size_t>(count > 0 ? count : 0), c); }

const std::string& Dashes() {
  static const std::string dashes(56, '-');
  return dashes;
}

const std::string& Equals() {
  static const std::string equals(56, '=');
  return equals;
}

std::string FreeLine(const std::string& text) { return text.empty() ? std::string() : " " + text; }

}  // namespace orv
