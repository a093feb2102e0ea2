// Output text files that take the place of the old file only when they are complete.
#include "text/text_file.hpp"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/output_file_error.hpp"

namespace orv {

namespace {

// Lines are handed to the system in pieces of this size.
constexpr std::size_t kWriteBufferSize = 64 * 1024;
// More links than this in a row are taken as a loop.
constexpr int kMostLinksFollowed = 40;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that a write to `name` reaches: links followed, even a link to a file not there yet.
std::string FollowLinks(const std::string& name) {
  std::string path = name;
  for (int i = 0; i < kMostLinksFollowed; ++i) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::string link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 4096) + 1, '\0');
    const ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0 || static_cast<std::size_t>(length) >= link.size()) return path;
    link.resize(static_cast<std::size_t>(length));
    path = (!link.empty() && link[0] == '/') ? link : FolderOf(path) + "/" + link;
  }
  return path;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// The hidden name of the n-th temporary file of this process in a folder.
std::string TemporaryName(const std::string& folder, int n) {
  return folder + "/.orvanthel-" + std::to_string(getpid()) + "-" + std::to_string(n) + ".tmp";
}

}  // namespace

TextFile::~TextFile() { Abandon(); }

void TextFile::Fail() {
  Abandon();
  throw OutputFileError(name_);
}

void TextFile::Abandon() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

bool TextFile::OpenBeside(const std::string& folder) {
#ifdef O_TMPFILE
  // A file without a name vanishes by itself if the process ends before it is named.
  fd_ = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd_ >= 0) {
    if (access(("/proc/self/fd/" + std::to_string(fd_)).c_str(), F_OK) == 0) {
      mode_ = Mode::Unnamed;
      return true;
    }
    close(fd_);  // without /proc the file could not be given its name
    fd_ = -1;
  } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
    return false;
  }
#endif
  for (int n = 0; n < 100 && fd_ < 0; ++n) {
    temporary_ = TemporaryName(folder, n);
    // Made new, never reached through a link someone planted under the same name.
    fd_ = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    temporary_.clear();
    return false;
  }
  mode_ = Mode::NamedTemporary;
  return true;
}

void TextFile::Open(const std::string& name) {
  if (IsOpen()) Close();
  name_ = name;
  target_ = FollowLinks(name);
  buffer_.clear();
  struct stat status {};
  const bool exists = stat(target_.c_str(), &status) == 0;
  if (exists && (S_ISDIR(status.st_mode) || access(target_.c_str(), W_OK) != 0)) Fail();
  if (exists && !S_ISREG(status.st_mode)) {
    // A device or a pipe cannot be replaced; it gets the lines itself. A pipe without a reader
    // fails at once instead of waiting.
    fd_ = open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    const int flags = fd_ >= 0 ? fcntl(fd_, F_GETFL) : -1;
    if (flags < 0 || fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0) Fail();
    mode_ = Mode::InPlace;
    return;
  }
  // A regular file is only ever replaced whole: when no new file can be made beside it, the run
  // fails and the old file stays, since rewriting it in place would lose it to a failed write.
  if (!OpenBeside(FolderOf(target_))) Fail();
  // A replaced file keeps its permissions, as it did when it was overwritten.
  if (exists) fchmod(fd_, status.st_mode & 07777);
}

void TextFile::WriteLine(const std::string& line) {
  if (!IsOpen()) return;
  buffer_ += line;
  buffer_ += '\n';
  if (mode_ != Mode::InPlace && buffer_.size() >= kWriteBufferSize) WriteOut();
}

void TextFile::WriteOut() {
  if (!WriteAll(fd_, buffer_.data(), buffer_.size())) Fail();
  buffer_.clear();
}

void TextFile::PutInPlace() {
  if (mode_ == Mode::Unnamed) {
    // The finished file gets a temporary name first, since a link cannot replace a file.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    const std::string folder = FolderOf(target_);
    for (int n = 0; n < 100 && temporary_.empty(); ++n) {
      const std::string candidate = TemporaryName(folder, n);
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        temporary_ = candidate;
      } else if (errno != EEXIST) {
        break;
      }
    }
    if (temporary_.empty()) Fail();
  }
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0 || rename(temporary_.c_str(), target_.c_str()) != 0) Fail();
  temporary_.clear();
}

void TextFile::Close() {
  if (!IsOpen()) return;
  if (mode_ == Mode::InPlace) {
    // A device or a pipe: what is left goes to it, nothing is replaced.
    WriteOut();
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) Fail();
    return;
  }
  WriteOut();
  if (fsync(fd_) != 0) Fail();
  PutInPlace();
}

}  // namespace orv
