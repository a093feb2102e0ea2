// The columns of a peak list: which one holds 2theta, chi, the intensity or a q-vector component.
#pragma once

#include <string>
#include <vector>

namespace orv::imp {

enum class ColumnRole { TwoTheta, Chi, Intensity, Qx, Qy, Qz, Other };

// Column names, matched without regard to case: 2theta (or twotheta, tth), chi, I (or int,
// intensity), qx, qy, qz; any other name is a column that is read but not used (X, Y, ...).
ColumnRole RoleOfName(const std::string& name);

struct ColumnLayout {
  std::vector<std::string> names;
  std::vector<ColumnRole> roles;

  // The position of the column with this role, or -1.
  int Find(ColumnRole role) const;
  bool HoldsAngles() const { return Find(ColumnRole::TwoTheta) >= 0; }
  bool HoldsIntensity() const { return Find(ColumnRole::Intensity) >= 0; }
  std::size_t Size() const { return roles.size(); }
  // The names joined by blanks, e.g. "2theta chi X Y I".
  std::string Describe() const;
};

// The layout of the named columns. Fails with the reason when the names give neither 2theta and
// chi nor qx, qy and qz, give both, or name a role twice.
bool LayoutFromNames(const std::vector<std::string>& names, ColumnLayout& layout, std::string& problem);

}  // namespace orv::imp
