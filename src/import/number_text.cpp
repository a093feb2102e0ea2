// Strict number reading and round-trip number writing for the importer.
#include "import/number_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace orv::imp {

namespace {

std::size_t SkipDigits(const std::string& text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  return pos - start;
}

}  // namespace

bool ParseDecimalReal(const std::string& text, double& value) {
  return ReadDecimalReal(text, value) == RealReading::Valid;
}

RealReading ReadDecimalReal(const std::string& text, double& value) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t mantissaDigits = SkipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    mantissaDigits += SkipDigits(text, pos);
  }
  if (mantissaDigits == 0) return RealReading::NotANumber;
  std::string plain = text;
  if (pos < text.size()) {
    const char letter = text[pos];
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return RealReading::NotANumber;
    plain[pos] = 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (SkipDigits(text, pos) == 0 || pos != text.size()) return RealReading::NotANumber;
  }
  char* end = nullptr;
  const double parsed = std::strtod(plain.c_str(), &end);
  if (end != plain.c_str() + plain.size()) return RealReading::NotANumber;
  if (!std::isfinite(parsed)) return RealReading::OutOfRange;
  value = parsed;
  return RealReading::Valid;
}

bool ParseDecimalInteger(const std::string& text, int& value) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  if (SkipDigits(text, pos) == 0 || pos != text.size()) return false;
  // from_chars takes a minus sign but no plus sign.
  const char* first = text.data() + (text[0] == '+' ? 1 : 0);
  int parsed = 0;
  const auto result = std::from_chars(first, text.data() + text.size(), parsed);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

std::string ShortestRealText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace orv::imp
