// The lines of an input file, read one at a time in bounded memory.
#include "input/line_source.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace orv {

namespace {

constexpr std::size_t kReadBufferSize = 64 * 1024;
const char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

LineSource::LineSource(ByteReader read, std::size_t maxLineLength)
    : read_(std::move(read)), maxLineLength_(maxLineLength), buffer_(kReadBufferSize) {}

LineSource LineSource::FromText(std::string text, std::size_t maxLineLength) {
  auto owned = std::make_shared<std::string>(std::move(text));
  auto offset = std::make_shared<std::size_t>(0);
  return LineSource(
      [owned, offset](char* buffer, std::size_t size) -> long {
        const std::size_t count = std::min(size, owned->size() - *offset);
        std::memcpy(buffer, owned->data() + *offset, count);
        *offset += count;
        return static_cast<long>(count);
      },
      maxLineLength);
}

bool LineSource::Refill() {
  const long count = read_(buffer_.data(), buffer_.size());
  if (count <= 0) {
    finished_ = count == 0 ? Result::End : Result::Failed;
    return false;
  }
  begin_ = 0;
  end_ = static_cast<std::size_t>(count);
  return true;
}

LineSource::Result LineSource::Next(std::string& line) {
  line.clear();
  lastLineEnded_ = false;
  if (finished_ != Result::Line) return finished_;
  bool anyByte = false;
  // One byte more than the limit may be a carriage return before the line end.
  const std::size_t hardLimit = maxLineLength_ + 1;
  for (;;) {
    if (begin_ == end_ && !Refill()) {
      if (finished_ == Result::Failed) {
        ++lineNumber_;
        return finished_;
      }
      if (!anyByte) return Result::End;
      break;  // a last line without line end
    }
    anyByte = true;
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const void* found = std::memchr(start, '\n', available);
    const std::size_t take = found ? static_cast<std::size_t>(static_cast<const char*>(found) - start) : available;
    if (line.size() + take > hardLimit) {
      ++lineNumber_;
      finished_ = Result::TooLong;
      line.clear();
      return finished_;
    }
    line.append(start, take);
    begin_ += take;
    if (found) {
      ++begin_;  // the line end itself
      lastLineEnded_ = true;
      break;
    }
  }
  ++lineNumber_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (lineNumber_ == 1 && line.compare(0, 3, kByteOrderMark) == 0) line.erase(0, 3);
  if (line.size() > maxLineLength_) {
    finished_ = Result::TooLong;
    line.clear();
    return finished_;
  }
  return Result::Line;
}

}  // namespace orv
