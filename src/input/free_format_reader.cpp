// Free-format reading of the input file's lines: items, null values, repeats, slashes and numbers.
#include "input/free_format_reader.hpp"

#include <stdexcept>
#include <type_traits>
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


std::string ShownInMessage(const std::string& text) {
  constexpr std::size_t kShownLength = 40;
  std::string shown;
  for (std::size_t i = 0; i < text.size() && i < kShownLength; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    shown += (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
  }
  if (text.size() > kShownLength) shown += "...";
  return shown;
}

namespace {

std::string Expected(int count, bool isInteger) {
  if (count == 1) return isInteger ? "expected an integer" : "expected a number";
  return "expected " + std::to_string(count) + (isInteger ? " integers" : " numbers");
}

}  // namespace

FreeFormatReader::FreeFormatReader(LineSource source)
    : source_(std::move(source)), loadedIndex_(std::string::npos), markIndex_(std::string::npos) {}

FreeFormatReader::FreeFormatReader(const std::vector<std::string>& lines)
    : FreeFormatReader(LineSource::FromText([&lines] {
        std::string text;
        for (const std::string& line : lines) text += line + '\n';
        return text;
      }())) {}

ReadStatus FreeFormatReader::LineAt(std::size_t index, const std::string*& text) {
  if (index == markIndex_) {
    text = &mark_;
    return ReadStatus::Ok;
  }
  if (index == loadedIndex_) {
    text = &loaded_;
    return ReadStatus::Ok;
  }
  if (index != nextIndex_) throw std::logic_error("input line " + std::to_string(index + 1) + " was released");
  switch (source_.Next(loaded_)) {
    case LineSource::Result::Line:
      loadedIndex_ = nextIndex_++;
      text = &loaded_;
      return ReadStatus::Ok;
    case LineSource::Result::End:
      loadedIndex_ = std::string::npos;
      problem_ = {source_.LineNumber(), std::string()};
      return ReadStatus::EndOfFile;
    case LineSource::Result::TooLong:
      problem_ = {source_.LineNumber(),
                  "the line is longer than " + std::to_string(source_.MaxLineLength()) + " characters"};
      return ReadStatus::Error;
    case LineSource::Result::Failed:
      break;
  }
  problem_ = {source_.LineNumber(), "the file cannot be read"};
  return ReadStatus::Error;
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
    const std::string* textAt = nullptr;
    const ReadStatus lineStatus = LineAt(line, textAt);
    if (lineStatus != ReadStatus::Ok) {
      cursor_ = line;
      return lineStatus;
    }
    const std::string& text = *textAt;
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
      if (!valueJustEnded) items.push_back(Item{true, false, std::string(), line});
      valueJustEnded = false;
      continue;
    }
    if (c == '\'' || c == '"') {
      std::string quoted;
      if (!ReadQuotedText(text, pos, quoted)) {
        cursor_ = line + 1;
        problem_ = {line + 1, "a quoted text is not closed"};
        return ReadStatus::Error;
      }
      items.push_back(Item{false, true, quoted, line});
    } else {
      const std::size_t start = pos;
      while (pos < text.size() && !EndsItem(text[pos])) ++pos;
      const std::string item = text.substr(start, pos - start);
      const std::size_t repeatLength = RepeatCountLength(item);
      if (repeatLength == 0) {
        items.push_back(Item{false, false, item, line});
      } else {
        int repeat = 0;
        if (!ParseInteger(item.substr(0, repeatLength), repeat) || repeat < 1) {
          cursor_ = line + 1;
          problem_ = {line + 1, "the repeat count of " + ShownInMessage(item) + " is not valid"};
          return ReadStatus::Error;
        }
        const std::string repeated = item.substr(repeatLength + 1);
        for (int i = 0; i < repeat && items.size() < wanted; ++i) {
          items.push_back(Item{repeated.empty(), false, repeated, line});
        }
      }
    }
    valueJustEnded = true;
  }
  cursor_ = line + 1;
  return ReadStatus::Ok;
}

ReadStatus FreeFormatReader::ReadFirstItem(std::string& item, std::size_t& itemLine) {
  for (;;) {
    const std::string* text = nullptr;
    const ReadStatus status = LineAt(cursor_, text);
    if (status != ReadStatus::Ok) return status;
    if (!IsBlankLine(*text)) break;
    ++cursor_;
  }
  itemLine = cursor_;
  if (markIndex_ != itemLine) {
    // The keyword reader comes back to this line; lines before it are no longer needed.
    mark_ = loaded_;
    markIndex_ = itemLine;
  }
  std::vector<Item> items;
  const ReadStatus status = ReadItems(1, items);
  if (status != ReadStatus::Ok) return status;
  item = items.empty() ? std::string() : items[0].text;
  return ReadStatus::Ok;
}

template <typename T>
ReadStatus FreeFormatReader::ReadValues(T* targets, int count, bool isInteger) {
  std::vector<Item> items;
  const ReadStatus status = ReadItems(count, items);
  if (status == ReadStatus::EndOfFile) {
    problem_.reason = Expected(count, isInteger) +
                      (count > 1 ? ", found " + std::to_string(items.size()) : std::string()) +
                      " before the end of the file";
  }
  if (status != ReadStatus::Ok) return status;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    if (item.isNull) continue;
    NumberForm form = NumberForm::Malformed;
    if (!item.quoted) {
      if constexpr (std::is_same_v<T, int>) {
        form = ParseIntegerForm(item.text, targets[i]);
      } else {
        form = ParseRealForm(item.text, targets[i]);
      }
    }
    if (form == NumberForm::Ok) continue;
    const std::string shown = item.quoted ? "'" + ShownInMessage(item.text) + "'" : ShownInMessage(item.text);
    problem_.line = item.line + 1;
    if (form == NumberForm::OutOfRange) {
      problem_.reason = "value " + shown + " is out of range";
    } else {
      problem_.reason = Expected(count, isInteger) + ", found " +
                        (count > 1 && i > 0 ? std::to_string(i) + " and then " : std::string()) + shown;
    }
    return ReadStatus::Error;
  }
  return ReadStatus::Ok;
}

ReadStatus FreeFormatReader::ReadIntegers(int* targets, int count) { return ReadValues(targets, count, true); }

ReadStatus FreeFormatReader::ReadReals(double* targets, int count) { return ReadValues(targets, count, false); }

}  // namespace orv
