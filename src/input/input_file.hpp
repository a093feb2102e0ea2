// The input file opened for reading only when it is a regular file.
#pragma once

#include <string>

#include "input/line_source.hpp"

namespace orv {

// An open regular file, closed when the object goes. Devices, pipes, sockets and folders are
// refused at once, links being followed, so that a name of one of them cannot block the program or
// feed it without end.
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Opens the named file; false when it is missing, cannot be read or is not a regular file.
  bool Open(const std::string& name);
  // The file's lines; the source reads from this object, which must outlive it.
  LineSource Lines(std::size_t maxLineLength = kMaxInputLineLength);

 private:
  int fd_ = -1;
};

}  // namespace orv
