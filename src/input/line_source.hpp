// The lines of an input file, read one at a time in bounded memory.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace orv {

// The longest line an input file may have, line end not counted; no keyword file comes near it.
constexpr std::size_t kMaxInputLineLength = std::size_t{1} << 20;

// Hands out the lines of a byte stream one by one: a line end of "\r\n" counts as "\n", a last line
// without line end is a line, and a UTF-8 byte-order mark at the start of the stream is dropped.
// Memory stays bounded by the longest line allowed and one read buffer, whatever the stream's size.
class LineSource {
 public:
  // Fills up to `size` bytes of `buffer`; returns the number of bytes, 0 at the end of the
  // stream, a negative number when the stream cannot be read.
  using ByteReader = std::function<long(char* buffer, std::size_t size)>;

  enum class Result { Line, End, TooLong, Failed };

  explicit LineSource(ByteReader read, std::size_t maxLineLength = kMaxInputLineLength);
  // The lines of a text held in memory.
  static LineSource FromText(std::string text, std::size_t maxLineLength = kMaxInputLineLength);

  // The next line into `line`. After End, TooLong or Failed every later call gives the same result.
  Result Next(std::string& line);
  // The 1-based number of the line last handed out, or of the line that was too long or could not
  // be read; at the end, the number of lines of the stream.
  std::size_t LineNumber() const { return lineNumber_; }
  std::size_t MaxLineLength() const { return maxLineLength_; }
  // Whether the line last handed out was ended by a line end (false for a last line without one).
  bool LastLineEnded() const { return lastLineEnded_; }

 private:
  bool Refill();  // false at the end of the stream or on a read error (finished_ then set)

  ByteReader read_;
  std::size_t maxLineLength_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t lineNumber_ = 0;
  Result finished_ = Result::Line;  // Line while lines remain
  bool lastLineEnded_ = false;
};

}  // namespace orv
