// The number forms of the input file: strict reading and round-trip writing.
#include "text/number_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace orv {

namespace {

// Counts the digits starting at text[pos] and moves pos past them.
std::size_t SkipDigits(const std::string& text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  return pos - start;
}

}  // namespace

NumberForm ParseIntegerForm(const std::string& text, int& value) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const std::size_t signLength = pos;
  if (SkipDigits(text, pos) == 0 || pos != text.size()) return NumberForm::Malformed;
  // from_chars takes a minus sign but no plus sign.
  const char* first = text.data() + (text[0] == '+' ? signLength : 0);
  int parsed = 0;
  const auto result = std::from_chars(first, text.data() + text.size(), parsed);
  if (result.ec == std::errc::result_out_of_range) return NumberForm::OutOfRange;
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return NumberForm::Malformed;
  value = parsed;
  return NumberForm::Ok;
}

NumberForm ParseRealForm(const std::string& text, double& value) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t mantissaDigits = SkipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    mantissaDigits += SkipDigits(text, pos);
  }
  if (mantissaDigits == 0) return NumberForm::Malformed;
  std::string plain = text;
  if (pos < text.size()) {
    const char letter = text[pos];
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return NumberForm::Malformed;
    plain[pos] = 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (SkipDigits(text, pos) == 0 || pos != text.size()) return NumberForm::Malformed;
  }
  char* end = nullptr;
  const double parsed = std::strtod(plain.c_str(), &end);
  if (end != plain.c_str() + plain.size()) return NumberForm::Malformed;
  // Overflow gives an infinity and is refused; underflow gives a tiny value or zero and is kept.
  if (!std::isfinite(parsed)) return NumberForm::OutOfRange;
  value = parsed;
  return NumberForm::Ok;
}

bool ParseInteger(const std::string& text, int& value) { return ParseIntegerForm(text, value) == NumberForm::Ok; }

bool ParseReal(const std::string& text, double& value) { return ParseRealForm(text, value) == NumberForm::Ok; }

std::string ShortestRealText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace orv
