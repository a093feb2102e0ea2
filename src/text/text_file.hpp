// Output text files that take the place of the old file only when they are complete.
#pragma once

#include <string>

namespace orv {

// An output text file written line by line. The lines go to a file beside the target that has no
// name yet (or, where the file system cannot do that, a hidden temporary name), and Close puts it in
// the target's place only once it is complete, on disk and closed. A run that fails or is
// interrupted before that leaves the previous file as it was and no temporary file behind, and two
// runs writing the same name never mix their lines. The temporary file is always made new, never
// through a link. A target that is not a regular file (a device such as /dev/stdout reached through
// a link) cannot be replaced and is written in place when the file is closed. A regular file is
// never rewritten in place: when no new file can be made in its folder, Open throws
// OutputFileError and the old file stays. A file that cannot be created or written throws
// OutputFileError.
class TextFile {
 public:
  TextFile() = default;
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  // A file still open is abandoned.
  ~TextFile();

  // Prepares the file; an existing target that is a folder or is not writable, or a folder in which
  // nothing can be written, throws OutputFileError at once.
  void Open(const std::string& name);
  // Writes one line and its line end; throws OutputFileError when the write fails.
  void WriteLine(const std::string& line);
  // Writes what is left, flushes it to disk, closes the file and puts it in the target's place;
  // throws OutputFileError when any of that fails, the old file then staying as it was. Closing a
  // closed file does nothing.
  void Close();
  // Drops everything written since Open; the target stays as it was.
  void Abandon();

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Name() const { return name_; }

 private:
  enum class Mode { Unnamed, NamedTemporary, InPlace };

  bool OpenBeside(const std::string& folder);
  void WriteOut();
  void PutInPlace();
  [[noreturn]] void Fail();

  int fd_ = -1;
  Mode mode_ = Mode::Unnamed;
  std::string name_;       // as the run names it; the messages show it
  std::string target_;     // the file that is replaced, links followed
  std::string temporary_;  // the temporary name while there is one
  std::string buffer_;     // lines not yet written
};

}  // namespace orv
