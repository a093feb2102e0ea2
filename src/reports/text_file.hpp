// An output text file written line by line; a file that cannot be created or written ends the run.
#pragma once

#include <fstream>
#include <string>

namespace orv {

class TextFile {
 public:
  // Creates or overwrites the file; throws OutputFileError when it cannot be created.
  void Open(const std::string& name);
  // Writes one line and its line end; throws OutputFileError when the write fails.
  void WriteLine(const std::string& line);
  // Flushes and closes; throws OutputFileError when the last writes fail. Closing a closed file
  // does nothing.
  void Close();
  bool IsOpen() const { return open_; }
  const std::string& Name() const { return name_; }

 private:
  std::ofstream stream_;
  std::string name_;
  bool open_ = false;
};

}  // namespace orv
