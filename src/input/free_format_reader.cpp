// Free-format reading of the input file's lines: items, null values, repeats, slashes and numbers.
#include "input/free_format_reader.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace orv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool EndsItem(char c) { return IsBlank(c) || c == ',' || c == '/'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsBlankLine(const std::string& line) {
  for (char c : line) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

// Counts the digits starting at text[pos] and moves pos past them.
std::size_t SkipDigits(const std::string& text, std::size_t& pos) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos - start;
}

// The length of the repeat count in "r*value" (digits followed by "*"), or 0 when there is none.
std::size_t RepeatCountLength(const std::string& item) {
  std::size_t pos = 0;
  const std::size_t digits = SkipDigits(item, pos);
  return (digits > 0 && pos < item.size() && item[pos] == '*') ? digits : 0;
}

}  // namespace

bool ReadQuotedText(const std::string& line, std::size_t& pos, std::string& text) {
  const char mark = line[pos];
  text.clear();
  ++pos;
  while (pos < line.size()) {
    if (line[pos] != mark) {
      text += line[pos++];
    } else if (pos + 1 < line.size() && line[pos + 1] == mark) {
      text += mark;
      pos += 2;
    } else {
      ++pos;
      return true;
    }
  }
  return false;
}

bool ParseInteger(const std::string& text, int& value) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const std::size_t signLength = pos;
  if (SkipDigits(text, pos) == 0 || pos != text.size()) return false;
  // from_chars takes a minus sign but no plus sign.
  const char* first = text.data() + (text[0] == '+' ? signLength : 0);
  int parsed = 0;
  const auto result = std::from_chars(first, text.data() + text.size(), parsed);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

bool ParseReal(const std::string& text, double& value) {
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  std::size_t mantissaDigits = SkipDigits(text, pos);
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    mantissaDigits += SkipDigits(text, pos);
  }
  if (mantissaDigits == 0) return false;
  std::string plain = text;
  if (pos < text.size()) {
    const char letter = text[pos];
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return false;
    plain[pos] = 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    if (SkipDigits(text, pos) == 0 || pos != text.size()) return false;
  }
  char* end = nullptr;
  const double parsed = std::strtod(plain.c_str(), &end);
  // Overflow gives an infinity and is refused; underflow gives a tiny value or zero and is kept.
  if (end != plain.c_str() + plain.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

FreeFormatReader::FreeFormatReader(std::vector<std::string> lines) : lines_(std::move(lines)) {}

FreeFormatReader FreeFormatReader::FromStream(std::istream& in) {
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return FreeFormatReader(std::move(lines));
}

ReadStatus FreeFormatReader::ReadItems(int count, std::vector<Item>& items) {
  items.clear();
  const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
  std::size_t line = cursor_;
  std::size_t pos = 0;
  // A comma right after a value (blanks and line ends between them allowed) only separates; any
  // other comma stands for a null value.
  bool valueJustEnded = false;
  while (items.size() < wanted) {
    if (line >= lines_.size()) {
      cursor_ = lines_.size();
      return ReadStatus::EndOfFile;
    }
    const std::string& text = lines_[line];
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos >= text.size()) {
      ++line;
      pos = 0;
      continue;
    }
    const char c = text[pos];
    if (c == '/') break;
    if (c == ',') {
      ++pos;
      if (!valueJustEnded) items.push_back(Item{true, false, std::string()});
      valueJustEnded = false;
      continue;
    }
    if (c == '\'' || c == '"') {
      std::string quoted;
      if (!ReadQuotedText(text, pos, quoted)) {
        cursor_ = line + 1;
        return ReadStatus::Error;
      }
      items.push_back(Item{false, true, quoted});
    } else {
      const std::size_t start = pos;
      while (pos < text.size() && !EndsItem(text[pos])) ++pos;
      const std::string item = text.substr(start, pos - start);
      const std::size_t repeatLength = RepeatCountLength(item);
      if (repeatLength == 0) {
        items.push_back(Item{false, false, item});
      } else {
        int repeat = 0;
        if (!ParseInteger(item.substr(0, repeatLength), repeat) || repeat < 1) {
          cursor_ = line + 1;
          return ReadStatus::Error;
        }
        const std::string repeated = item.substr(repeatLength + 1);
        for (int i = 0; i < repeat && items.size() < wanted; ++i) {
          items.push_back(Item{repeated.empty(), false, repeated});
        }
      }
    }
    valueJustEnded = true;
  }
  cursor_ = line + 1;
  return ReadStatus::Ok;
}

ReadStatus FreeFormatReader::ReadFirstItem(std::string& item, std::size_t& itemLine) {
  while (cursor_ < lines_.size() && IsBlankLine(lines_[cursor_])) ++cursor_;
  if (cursor_ >= lines_.size()) return ReadStatus::EndOfFile;
  itemLine = cursor_;
  std::vector<Item> items;
  const ReadStatus status = ReadItems(1, items);
  if (status != ReadStatus::Ok) return status;
  item = items.empty() ? std::string() : items[0].text;
  return ReadStatus::Ok;
}

ReadStatus FreeFormatReader::ReadIntegers(int* targets, int count) {
  std::vector<Item> items;
  const ReadStatus status = ReadItems(count, items);
  if (status != ReadStatus::Ok) return status;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].isNull) continue;
    if (items[i].quoted || !ParseInteger(items[i].text, targets[i])) return ReadStatus::Error;
  }
  return ReadStatus::Ok;
}

ReadStatus FreeFormatReader::ReadReals(double* targets, int count) {
  std::vector<Item> items;
  const ReadStatus status = ReadItems(count, items);
  if (status != ReadStatus::Ok) return status;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].isNull) continue;
    if (items[i].quoted || !ParseReal(items[i].text, targets[i])) return ReadStatus::Error;
  }
  return ReadStatus::Ok;
}

}  // namespace orv
