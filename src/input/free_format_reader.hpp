// Free-format reading of text lines: blank/comma/slash separated items, quotes, repeats, null values.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace orv {

enum class ReadStatus { Ok, EndOfFile, Error };

// Reads a quoted text starting at line[pos] (an apostrophe or a quotation mark) up to the matching
// closing mark; a doubled mark inside stands for one mark. On success pos is just after the closing
// mark. Returns false when the line ends before the closing mark (pos is then at the line end).
bool ReadQuotedText(const std::string& line, std::size_t& pos, std::string& text);

// Number forms of the input file. Both return false for any text that is not a complete number of
// the form, for NaN and infinities, and for values that do not fit the target type.
bool ParseInteger(const std::string& text, int& value);  // optionally signed digits, 32 bits
bool ParseReal(const std::string& text, double& value);  // digits, optional point, E or D exponent

// Walks the lines of a file with a line cursor. Every read starts on the line under the cursor,
// skips empty lines and lines of blanks, and leaves the cursor on the line after the last one used,
// so that whatever follows the last value on that line is ignored.
class FreeFormatReader {
 public:
  explicit FreeFormatReader(std::vector<std::string> lines);
  // Reads every line of the stream first (a line end of "\r\n" counts as "\n").
  static FreeFormatReader FromStream(std::istream& in);

  std::size_t Cursor() const { return cursor_; }
  void GoToLine(std::size_t line) { cursor_ = line; }

  // Reads the first item of the next non-empty line as text; itemLine is that line. An empty
  // item (the line starts with a comma or a slash) gives an empty text.
  ReadStatus ReadFirstItem(std::string& item, std::size_t& itemLine);

  // Read `count` values into the targets. A null value or the values left after a slash keep the
  // target's previous content; on an error the targets may be partly written.
  ReadStatus ReadIntegers(int* targets, int count);
  ReadStatus ReadReals(double* targets, int count);

 private:
  struct Item {
    bool isNull = false;  // an empty value: the target keeps its content
    bool quoted = false;  // a quoted text, never a number
    std::string text;
  };
  // Up to `count` items, fewer when a slash ends the read.
  ReadStatus ReadItems(int count, std::vector<Item>& items);

  std::vector<std::string> lines_;
  std::size_t cursor_ = 0;
};

}  // namespace orv
