// Recognition of the column names of a peak list.
#include "import/peak_columns.hpp"

#include <algorithm>
#include <cctype>

namespace orv::imp {

ColumnRole RoleOfName(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "2theta" || lower == "twotheta" || lower == "tth") return ColumnRole::TwoTheta;
  if (lower == "chi") return ColumnRole::Chi;
  if (lower == "i" || lower == "int" || lower == "intensity") return ColumnRole::Intensity;
  if (lower == "qx") return ColumnRole::Qx;
  if (lower == "qy") return ColumnRole::Qy;
  if (lower == "qz") return ColumnRole::Qz;
  return ColumnRole::Other;
}

int ColumnLayout::Find(ColumnRole role) const {
  const auto at = std::find(roles.begin(), roles.end(), role);
  return at == roles.end() ? -1 : static_cast<int>(at - roles.begin());
}

std::string ColumnLayout::Describe() const {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
  return text;
}

bool LayoutFromNames(const std::vector<std::string>& names, ColumnLayout& layout, std::string& problem) {
  ColumnLayout result;
  result.names = names;
  for (const std::string& name : names) {
    const ColumnRole role = RoleOfName(name);
    if (role != ColumnRole::Other && result.Find(role) >= 0) {
      problem = "the column " + name + " is named twice";
      return false;
    }
    result.roles.push_back(role);
  }
  const bool angles = result.Find(ColumnRole::TwoTheta) >= 0 && result.Find(ColumnRole::Chi) >= 0;
  const bool anyAngle = result.Find(ColumnRole::TwoTheta) >= 0 || result.Find(ColumnRole::Chi) >= 0;
  const bool vectors =
      result.Find(ColumnRole::Qx) >= 0 && result.Find(ColumnRole::Qy) >= 0 && result.Find(ColumnRole::Qz) >= 0;
  const bool anyVector =
      result.Find(ColumnRole::Qx) >= 0 || result.Find(ColumnRole::Qy) >= 0 || result.Find(ColumnRole::Qz) >= 0;
  if (anyAngle && anyVector) {
    problem = "the columns name both detector angles and q-vector components";
    return false;
  }
  if (!angles && !vectors) {
    problem = "the columns \"" + result.Describe() + "\" give neither 2theta and chi nor qx, qy and qz";
    return false;
  }
  layout = result;
  return true;
}

}  // namespace orv::imp
