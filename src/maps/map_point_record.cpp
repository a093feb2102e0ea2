// One point of a map as a line of text and back.
#include "maps/map_point_record.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace orv {

namespace {

constexpr std::size_t kFields = 4 + 1 + 9 + 9 + 6 + 9 + 9 + 3 + 3 + 1 + 6 + 1 + 9 + 1;

std::string Quoted(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    if (c == '\n' || c == '\r') c = ' ';
    quoted += c;
  }
  return quoted + "\"";
}

bool SplitCsv(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  if (quoted) return false;
  fields.push_back(field);
  return true;
}

class Reader {
 public:
  explicit Reader(const std::vector<std::string>& fields) : fields_(fields) {}
  bool Number(double& value) {
    if (next_ >= fields_.size()) return false;
    const std::string& text = fields_[next_++];
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
  }
  bool Integer(long& value) {
    if (next_ >= fields_.size()) return false;
    const std::string& text = fields_[next_++];
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() + text.size() && errno == 0;
  }
  bool Matrix(Mat3& m) {
    for (auto& row : m)
      for (double& v : row)
        if (!Number(v)) return false;
    return true;
  }
  const std::string& Text() { return fields_[next_++]; }

 private:
  const std::vector<std::string>& fields_;
  std::size_t next_ = 0;
};

bool ReadIntegerMatrix(Reader& in, IntMat3& m) {
  for (auto& row : m)
    for (int& v : row) {
      long value = 0;
      if (!in.Integer(value) || value < -1000 || value > 1000) return false;
      v = static_cast<int>(value);
    }
  return true;
}

void AppendMatrix(std::string& line, const Mat3& m) {
  for (const auto& row : m)
    for (double v : row) line += "," + ExactNumber(v);
}

}  // namespace

std::string ExactNumber(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value == 0.0 ? 0.0 : value);
  return text;
}

bool BravaisTypeOfSymbol(const std::string& symbol, BravaisType& type) {
  for (int t = 0; t <= static_cast<int>(BravaisType::cF); ++t) {
    if (symbol == BravaisSymbol(static_cast<BravaisType>(t))) {
      type = static_cast<BravaisType>(t);
      return true;
    }
  }
  return false;
}

const std::string& PointRecordHeader() {
  static const std::string header = [] {
    std::string h = "file,status,how,seed,bravais";
    for (const char* name : {"d", "t", "cell", "conv", "u", "euler", "support", "strained", "strain", "equivalent", "strain_setting"}) {
      h += ",";
      h += name;
    }
    return h + ",message";
  }();
  return header;
}

std::string FormatPointRecord(const MapPointRecord& r) {
  std::string line = Quoted(r.file) + "," + r.status + "," + (r.seeded ? "seeded" : "ab_initio") + "," +
                     std::to_string(r.seed) + "," + BravaisSymbol(r.type);
  AppendMatrix(line, r.directBasis);
  for (const auto& row : r.toConventional)
    for (int v : row) line += "," + std::to_string(v);
  for (double v : r.settingCell.lengths) line += "," + ExactNumber(v);
  for (double v : r.settingCell.anglesInDegrees) line += "," + ExactNumber(v);
  AppendMatrix(line, r.conventionalBasis);
  AppendMatrix(line, r.u);
  for (double v : r.eulerDegrees) line += "," + ExactNumber(v);
  line += "," + std::to_string(r.support.nHalf) + "," + std::to_string(r.support.nFull) + "," +
          std::to_string(r.support.reflections) + "," + (r.strained ? "1" : "0");
  for (double v : r.strain) line += "," + ExactNumber(v);
  line += "," + ExactNumber(r.equivalentStrain);
  for (const auto& row : r.strainSetting)
    for (int v : row) line += "," + std::to_string(v);
  line += "," + Quoted(r.message);
  return line;
}

std::optional<MapPointRecord> ParsePointRecord(const std::string& line) {
  std::vector<std::string> fields;
  if (!SplitCsv(line, fields) || fields.size() != kFields) return std::nullopt;
  MapPointRecord r;
  Reader in(fields);
  r.file = in.Text();
  r.status = in.Text();
  if (r.status != "indexed" && r.status != "no_solution" && r.status != "failed") return std::nullopt;
  const std::string how = in.Text();
  if (how != "seeded" && how != "ab_initio") return std::nullopt;
  r.seeded = how == "seeded";
  if (!in.Integer(r.seed)) return std::nullopt;
  if (!BravaisTypeOfSymbol(in.Text(), r.type)) return std::nullopt;
  if (!in.Matrix(r.directBasis)) return std::nullopt;
  if (!ReadIntegerMatrix(in, r.toConventional)) return std::nullopt;
  for (double& v : r.settingCell.lengths)
    if (!in.Number(v)) return std::nullopt;
  for (double& v : r.settingCell.anglesInDegrees)
    if (!in.Number(v)) return std::nullopt;
  if (!in.Matrix(r.conventionalBasis) || !in.Matrix(r.u)) return std::nullopt;
  for (double& v : r.eulerDegrees)
    if (!in.Number(v)) return std::nullopt;
  long counts[4] = {0, 0, 0, 0};
  for (long& c : counts)
    if (!in.Integer(c) || c < 0 || c > 1000000) return std::nullopt;
  r.support = PointSupport{static_cast<int>(counts[0]), static_cast<int>(counts[1]), static_cast<int>(counts[2])};
  r.strained = counts[3] != 0;
  for (double& v : r.strain)
    if (!in.Number(v)) return std::nullopt;
  if (!in.Number(r.equivalentStrain) || !ReadIntegerMatrix(in, r.strainSetting)) return std::nullopt;
  r.message = in.Text();
  return r;
}

}  // namespace orv
