// Free-format reading of text lines: blank/comma/slash separated items, quotes, repeats, null values.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "input/line_source.hpp"
// The number forms of the file (ParseInteger, ParseReal) are those of the tools that write it.
#include "text/number_text.hpp"

namespace orv {

enum class ReadStatus { Ok, EndOfFile, Error };

// Reads a quoted text starting at line[pos] (an apostrophe or a quotation mark) up to the matching
// closing mark; a doubled mark inside stands for one mark. On success pos is just after the closing
// mark. Returns false when the line ends before the closing mark (pos is then at the line end).
bool ReadQuotedText(const std::string& line, std::size_t& pos, std::string& text);

// A text from the file as a message shows it: control characters become "?", and a text of more
// than 40 characters is cut and ends in "...".
std::string ShownInMessage(const std::string& text);

// Why the last read did not give its values, for the line that follows "Error reading".
struct ReadProblem {
  std::size_t line = 0;  // 1-based line where the read stopped; at the end of the file, its last line
  std::string reason;    // for example "expected 3 numbers, found 2 before the end of the file"
};

// Walks the lines of a file with a line cursor, holding only the line under the cursor and the line
// of the last first item, so that a file of any size is read in bounded memory. Every read starts on
// the line under the cursor, skips empty lines and lines of blanks, and leaves the cursor on the line
// after the last one used, so that whatever follows the last value on that line is ignored.
class FreeFormatReader {
 public:
  explicit FreeFormatReader(LineSource source);
  // The given lines, as a file that holds them.
  explicit FreeFormatReader(const std::vector<std::string>& lines);

  std::size_t Cursor() const { return cursor_; }
  // Moves the cursor forward, or back to the line of the last first item; a read from a line
  // already passed and released throws std::logic_error.
  void GoToLine(std::size_t line) { cursor_ = line; }

  // Reads the first item of the next non-empty line as text; itemLine is that line (0-based). An
  // empty item (the line starts with a comma or a slash) gives an empty text.
  ReadStatus ReadFirstItem(std::string& item, std::size_t& itemLine);

  // Read `count` values into the targets. A null value or the values left after a slash keep the
  // target's previous content; on an error the targets may be partly written.
  ReadStatus ReadIntegers(int* targets, int count);
  ReadStatus ReadReals(double* targets, int count);

  // What stopped the last read that did not return Ok.
  const ReadProblem& Problem() const { return problem_; }

 private:
  struct Item {
    bool isNull = false;  // an empty value: the target keeps its content
    bool quoted = false;  // a quoted text, never a number
    std::string text;
    std::size_t line = 0;  // 0-based line of the item
  };
  // Up to `count` items, fewer when a slash ends the read.
  ReadStatus ReadItems(int count, std::vector<Item>& items);
  // The text of line `index`, loaded forward from the source when needed.
  ReadStatus LineAt(std::size_t index, const std::string*& text);
  template <typename T>
  ReadStatus ReadValues(T* targets, int count, bool isInteger);

  LineSource source_;
  std::size_t cursor_ = 0;
  std::size_t nextIndex_ = 0;  // the line the source gives next
  std::size_t loadedIndex_;    // the line last taken from the source
  std::string loaded_;
  std::size_t markIndex_;  // the line of the last first item
  std::string mark_;
  ReadProblem problem_;
};

}  // namespace orv
