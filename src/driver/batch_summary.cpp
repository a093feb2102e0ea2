// The batch summary table: one CSV row per pattern, read back to resume and to merge shards.
#include "driver/batch_summary.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "input/input_file.hpp"
#include "text/text_file.hpp"
#include "run_data/run_errors.hpp"

namespace orv {

namespace {

constexpr std::size_t kResultFields = 18;
// Where the fields after the primitive cell and the Bravais type begin.
constexpr std::size_t kConventional = 8;
constexpr std::size_t kCounts = 14;
constexpr std::size_t kColumns = 4 + kResultFields;
constexpr std::size_t kOrientationColumns = 10;
// The longest summary line read back: a row's file name and message stay far below it.
constexpr std::size_t kLongestSummaryLine = 64 * 1024;

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string Quoted(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// Splits a CSV line; nothing when a quote is left open.
std::optional<std::vector<std::string>> SplitCsv(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        fields.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (quoted) return std::nullopt;
  return fields;
}

// The offset just after the last line end of the file, read backwards from its end in pieces;
// nothing when the file holds no line end or cannot be read.
std::optional<std::uintmax_t> EndOfLastLine(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::uintmax_t> end;
  struct stat status {};
  if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    char piece[4096];
    off_t stop = status.st_size;
    while (stop > 0 && !end) {
      const off_t start = stop > static_cast<off_t>(sizeof piece) ? stop - static_cast<off_t>(sizeof piece) : 0;
      const ssize_t count = ::pread(fd, piece, static_cast<std::size_t>(stop - start), start);
      if (count != stop - start) break;
      for (ssize_t k = count; k > 0 && !end; --k)
        if (piece[k - 1] == '\n') end = static_cast<std::uintmax_t>(start + k);
      stop = start;
    }
  }
  ::close(fd);
  return end;
}

}  // namespace

const std::string& SummaryHeader() {
  static const std::string header = "file,status,a,b,c,alpha,beta,gamma,volume,bravais,conv_a,conv_b,conv_c,conv_alpha,conv_beta,conv_gamma,"
      "nh,nH,N,quality,seconds,message";
  return header;
}

const std::string& SummaryHeaderWithOrientation() {
  static const std::string header = SummaryHeader() +
      ",phi1,Phi,phi2,strain_xx,strain_yy,strain_zz,strain_yz,strain_xz,strain_xy,strain_von_mises";
  return header;
}

const std::string& SummaryHeaderOf(bool orientationColumns, bool grainColumns) {
  static const std::string grains =
      ",grains,grain2_bravais,grain2_conv_a,grain2_conv_b,grain2_conv_c,grain2_conv_alpha,grain2_conv_beta,"
      "grain2_conv_gamma,grain2_spots,grain2_phase,spots_of_no_grain";
  static const std::string withGrains = SummaryHeader() + grains;
  static const std::string withBoth = SummaryHeaderWithOrientation() + grains;
  if (grainColumns) return orientationColumns ? withBoth : withGrains;
  return orientationColumns ? SummaryHeaderWithOrientation() : SummaryHeader();
}

std::string SummaryFileName(const Shard& shard) {
  if (shard.count <= 1) return "batch_summary.csv";
  return "batch_summary.shard-" + std::to_string(shard.index) + "-of-" + std::to_string(shard.count) + ".csv";
}

SummaryRow RowOfRun(const std::string& file, const RunSummary& summary, double seconds) {
  SummaryRow row;
  row.file = file;
  row.seconds = Fixed(seconds, 3);
  row.fields.assign(kResultFields, std::string());
  row.fields[kCounts + 2] = std::to_string(summary.numberOfReflections);
  if (summary.orientationColumns) row.orientation.assign(kOrientationColumns, std::string());
  if (summary.numberOfSolutions <= 0) {
    row.status = "no_solution";
    return row;
  }
  row.status = "indexed";
  for (std::size_t k = 0; k < 3; ++k) {
    row.fields[k] = Fixed(summary.lengths[k], 5);
    row.fields[3 + k] = Fixed(summary.anglesInDegrees[k], 4);
  }
  row.fields[6] = Fixed(summary.volume, 4);
  row.fields[7] = summary.bravaisType;
  if (!summary.bravaisType.empty()) {
    for (std::size_t k = 0; k < 3; ++k) {
      row.fields[kConventional + k] = Fixed(summary.conventionalLengths[k], 5);
      row.fields[kConventional + 3 + k] = Fixed(summary.conventionalAngles[k], 4);
    }
  }
  row.fields[kCounts] = std::to_string(summary.nh);
  row.fields[kCounts + 1] = std::to_string(summary.nH);
  row.fields[kCounts + 3] = Fixed(summary.quality, 5);
  if (summary.orientationColumns) {
    row.orientation.assign(kOrientationColumns, std::string());
    if (summary.oriented)
      for (std::size_t k = 0; k < 3; ++k) row.orientation[k] = Fixed(summary.eulerDegrees[k], 4);
    if (summary.strained)
      for (std::size_t k = 0; k < 7; ++k) row.orientation[3 + k] = Fixed(summary.strain[k], 7);
  }
  if (summary.grainColumns) {
    row.grainFields.assign(kGrainColumns, std::string());
    row.grainFields[0] = std::to_string(summary.grains);
    if (summary.grains > 1) {
      row.grainFields[1] = summary.grain2Bravais;
      if (!summary.grain2Bravais.empty()) {
        for (std::size_t k = 0; k < 3; ++k) {
          row.grainFields[2 + k] = Fixed(summary.grain2ConventionalLengths[k], 5);
          row.grainFields[5 + k] = Fixed(summary.grain2ConventionalAngles[k], 4);
        }
      }
      row.grainFields[8] = std::to_string(summary.grain2Spots);
      row.grainFields[9] = summary.grain2Phase;
    }
    row.grainFields[10] = std::to_string(summary.spotsOfNoGrain);
  }
  return row;
}

SummaryRow FailedRow(const std::string& file, const std::string& message, double seconds) {
  SummaryRow row;
  row.file = file;
  row.status = "failed";
  row.fields.assign(kResultFields, std::string());
  row.seconds = Fixed(seconds, 3);
  row.message = message;
  return row;
}

std::string FormatRow(const SummaryRow& row, bool orientationColumns, bool grainColumns) {
  std::string line = Quoted(row.file) + "," + Quoted(row.status);
  for (const std::string& field : row.fields) line += "," + Quoted(field);
  line += "," + Quoted(row.seconds) + "," + Quoted(row.message);
  for (const std::string& field : row.orientation) line += "," + Quoted(field);
  if (orientationColumns && row.orientation.empty()) line += std::string(kOrientationColumns, ',');
  for (const std::string& field : row.grainFields) line += "," + Quoted(field);
  if (grainColumns && row.grainFields.empty()) line += std::string(kGrainColumns, ',');
  return line;
}

std::optional<SummaryRow> ParseRow(const std::string& line) {
  const auto fields = SplitCsv(line);
  if (!fields || (*fields)[0].empty()) return std::nullopt;
  // The number of fields tells the layout: the orientation and the grain columns differ in number.
  const std::size_t extra = fields->size() < kColumns ? 0 : fields->size() - kColumns;
  const bool orientation = extra == kOrientationColumns || extra == kOrientationColumns + kGrainColumns;
  const bool grains = extra == kGrainColumns || extra == kOrientationColumns + kGrainColumns;
  if (fields->size() < kColumns || (extra != 0 && !orientation && !grains)) return std::nullopt;
  SummaryRow row;
  row.file = (*fields)[0];
  row.status = (*fields)[1];
  row.fields.assign(fields->begin() + 2, fields->begin() + 2 + kResultFields);
  row.seconds = (*fields)[kColumns - 2];
  row.message = (*fields)[kColumns - 1];
  const auto orientationEnd = fields->begin() + static_cast<std::ptrdiff_t>(kColumns + (orientation ? kOrientationColumns : 0));
  row.orientation.assign(fields->begin() + static_cast<std::ptrdiff_t>(kColumns), orientationEnd);
  row.grainFields.assign(orientationEnd, fields->end());
  return row;
}

std::map<std::string, SummaryRow> ReadSummaryRows(const std::string& path, bool& foreign, const std::string& header) {
  foreign = false;
  std::map<std::string, SummaryRow> rows;
  InputFile in;
  if (!in.Open(path)) return rows;
  // A line of a summary stays far below this; a longer one ends what is taken from the file.
  LineSource lines = in.Lines(kLongestSummaryLine);
  bool first = true;
  std::string line;
  // Only lines ended by a line end count, so a row cut short by an interruption is never taken; a
  // line end of "\r\n" counts as one.
  while (lines.Next(line) == LineSource::Result::Line && lines.LastLineEnded()) {
    if (first) {
      first = false;
      const bool known = header.empty() ? line == SummaryHeaderOf(false, false) || line == SummaryHeaderOf(true, false) ||
                                              line == SummaryHeaderOf(false, true) || line == SummaryHeaderOf(true, true)
                                        : line == header;
      if (!known) {
        foreign = true;
        return {};
      }
      continue;
    }
    if (auto row = ParseRow(line)) rows[row->file] = *row;
  }
  if (first && lines.LineNumber() > 0) foreign = true;  // a file without a whole header line
  return rows;
}

SummaryJournal::SummaryJournal(const std::string& path, bool fresh, const std::string& header)
    : path_(path),
      orientationColumns_(header == SummaryHeaderOf(true, false) || header == SummaryHeaderOf(true, true)),
      grainColumns_(header == SummaryHeaderOf(false, true) || header == SummaryHeaderOf(true, true)) {
  std::error_code error;
  const bool exists = std::filesystem::exists(path, error);
  bool writeHeader = fresh || !exists;
  if (!writeHeader) {
    // A row cut short by an interruption would run into the next one: drop it.
    const std::optional<std::uintmax_t> lastEnd = EndOfLastLine(path);
    if (!lastEnd) {
      writeHeader = true;
    } else if (*lastEnd != std::filesystem::file_size(path, error)) {
      std::filesystem::resize_file(path, *lastEnd, error);
      if (error) throw BatchError("Cannot write " + path + ".");
    }
  }
  descriptor_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | (writeHeader ? O_TRUNC : 0), 0644);
  if (descriptor_ < 0) throw BatchError("Cannot write " + path + ".");
  if (writeHeader) WriteWhole(header + "\n");
}

SummaryJournal::~SummaryJournal() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

void SummaryJournal::Append(const SummaryRow& row) {
  WriteWhole(FormatRow(row, orientationColumns_, grainColumns_) + "\n");
}

void SummaryJournal::WriteWhole(const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(descriptor_, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw BatchError("Cannot write " + path_ + ".");
    written += static_cast<std::size_t>(n);
  }
}

void WriteSummary(const std::string& path, const std::vector<SummaryRow>& rows) {
  try {
    TextFile file;  // takes the old summary's place only once it is complete
    file.Open(path);
    bool orientationColumns = false;
    bool grainColumns = false;
    for (const SummaryRow& row : rows) {
      orientationColumns = orientationColumns || !row.orientation.empty();
      grainColumns = grainColumns || !row.grainFields.empty();
    }
    file.WriteLine(SummaryHeaderOf(orientationColumns, grainColumns));
    for (const SummaryRow& row : rows) file.WriteLine(FormatRow(row, orientationColumns, grainColumns));
    file.Close();
  } catch (const OutputFileError&) {
    throw BatchError("Cannot write " + path + ".");
  }
}

}  // namespace orv
