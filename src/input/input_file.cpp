// The input file opened for reading only when it is a regular file.
#include "input/input_file.hpp"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

InputFile::~InputFile() {
  if (fd_ >= 0) close(fd_);
}

bool InputFile::Open(const std::string& name) {
  // Without O_NONBLOCK, opening a pipe that has no writer would wait forever; the kind of file is
  // checked on what was opened, so a name swapped in between cannot slip through.
  const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  const int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || flags < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return false;
  }
  if (fd_ >= 0) close(fd_);
  fd_ = fd;
  return true;
}

LineSource InputFile::Lines(std::size_t maxLineLength) {
  const int fd = fd_;
  return LineSource(
      [fd](char* buffer, std::size_t size) -> long {
        for (;;) {
          const ssize_t count = read(fd, buffer, size);
          if (count >= 0 || errno != EINTR) return static_cast<long>(count);
        }
      },
      maxLineLength);
}

}  // namespace orv
