// Output text files with their failures turned into a clean end of the run.
#include "reports/text_file.hpp"

#include "run_data/run_errors.hpp"

namespace orv {

void TextFile::Open(const std::string& name) {
  if (open_) Close();
  name_ = name;
  stream_.open(name, std::ios::out | std::ios::trunc);
  if (!stream_) throw OutputFileError(name);
  open_ = true;
}

void TextFile::WriteLine(const std::string& line) {
  if (!open_) return;
  stream_ << line << '\n';
  if (!stream_) throw OutputFileError(name_);
}

void TextFile::Close() {
  if (!open_) return;
  open_ = false;
  stream_.flush();
  const bool good = static_cast<bool>(stream_);
  stream_.close();
  if (!good || stream_.fail()) throw OutputFileError(name_);
}

}  // namespace orv
