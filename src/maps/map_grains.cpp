// Grains of a map by joining neighbours.
#include "maps/map_grains.hpp"

#include <map>
#include <numeric>

#include "geometry/rotation.hpp"
#include "maps/grain_setting.hpp"

namespace orv {

namespace {

struct Joiner {
  std::vector<long> parent;
  explicit Joiner(std::size_t n) : parent(n) { std::iota(parent.begin(), parent.end(), 0L); }
  long Root(long i) {
    while (parent[static_cast<std::size_t>(i)] != i) {
      parent[static_cast<std::size_t>(i)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(i)])];
      i = parent[static_cast<std::size_t>(i)];
    }
    return i;
  }
  void Join(long a, long b) {
    a = Root(a);
    b = Root(b);
    if (a == b) return;
    if (b < a) std::swap(a, b);
    parent[static_cast<std::size_t>(b)] = a;
  }
};

// The rotations of each point's lattice, computed once for each distinct cell.
class RotationCache {
 public:
  const std::vector<Mat3>& Of(const MapPointRecord& record) {
    std::vector<double> key;
    for (double v : record.settingCell.lengths) key.push_back(v);
    for (double v : record.settingCell.anglesInDegrees) key.push_back(v);
    for (const auto& row : record.toConventional)
      for (int v : row) key.push_back(v);
    auto found = cache_.find(key);
    if (found == cache_.end())
      found = cache_.emplace(key, CrystalRotationsOfCell(record.settingCell, record.toConventional)).first;
    return found->second;
  }

 private:
  std::map<std::vector<double>, std::vector<Mat3>> cache_;
};

Mat3 Transposed(const Mat3& m) { return TransposeMatrix(m); }

}  // namespace

MapGrains JoinGrains(const MapLayout& layout, const std::vector<MapPointRecord>& records, double thresholdDegrees) {
  const std::size_t n = records.size();
  MapGrains result;
  result.grainOf.assign(n, 0);
  result.misorientationToMean.assign(n, 0.0);
  result.eulerInGrainSetting.assign(n, Vec3{});
  RotationCache rotations;
  Joiner joiner(n);
  auto tryJoin = [&](long a, long b) {
    if (a < 0 || b < 0) return;
    const MapPointRecord& first = records[static_cast<std::size_t>(a)];
    const MapPointRecord& second = records[static_cast<std::size_t>(b)];
    if (!first.Indexed() || !second.Indexed() || first.type != second.type) return;
    if (MisorientationDegrees(first.u, second.u, rotations.Of(second)) < thresholdDegrees) joiner.Join(a, b);
  };
  for (int row = 0; row < layout.rows; ++row)
    for (int column = 0; column < layout.columns; ++column) {
      const long here = layout.At(column, row);
      if (here < 0) continue;
      tryJoin(here, layout.At(column + 1, row));
      tryJoin(here, layout.At(column, row + 1));
    }

  // Number the grains in row-major order of the map.
  std::map<long, int> numberOfRoot;
  std::vector<std::vector<long>> members;
  for (int row = 0; row < layout.rows; ++row)
    for (int column = 0; column < layout.columns; ++column) {
      const long here = layout.At(column, row);
      if (here < 0 || !records[static_cast<std::size_t>(here)].Indexed()) continue;
      const long root = joiner.Root(here);
      auto found = numberOfRoot.find(root);
      if (found == numberOfRoot.end()) {
        found = numberOfRoot.emplace(root, static_cast<int>(members.size()) + 1).first;
        members.emplace_back();
      }
      members[static_cast<std::size_t>(found->second - 1)].push_back(here);
      result.grainOf[static_cast<std::size_t>(here)] = found->second;
    }

  for (std::size_t g = 0; g < members.size(); ++g) {
    MapGrain grain;
    grain.number = static_cast<int>(g) + 1;
    grain.firstPoint = members[g].front();
    const MapPointRecord& first = records[static_cast<std::size_t>(grain.firstPoint)];
    grain.type = first.type;
    grain.points = static_cast<long>(members[g].size());
    const std::vector<Mat3>& symmetry = rotations.Of(first);
    const Mat3 firstInverse = Transposed(first.u);
    Mat3 sum{};
    for (long member : members[g]) {
      const Mat3& u = records[static_cast<std::size_t>(member)].u;
      // The equivalent u S nearest the first point's orientation.
      Mat3 nearest = u;
      bool turned = false;
      double smallest = RotationAngleDegrees(MultiplyMatrices(firstInverse, u));
      for (const Mat3& s : symmetry) {
        const Mat3 candidate = MultiplyMatrices(u, s);
        const double angle = RotationAngleDegrees(MultiplyMatrices(firstInverse, candidate));
        if (angle < smallest) {
          smallest = angle;
          nearest = candidate;
          turned = true;
        }
      }
      result.eulerInGrainSetting[static_cast<std::size_t>(member)] =
          turned ? BungeEulerAngles(nearest) : records[static_cast<std::size_t>(member)].eulerDegrees;
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) sum[r][c] += nearest[r][c];
    }
    grain.meanU = first.u;
    Mat3 mean{};
    if (NearestRotation(sum, mean)) grain.meanU = mean;
    grain.meanEulerDegrees = BungeEulerAngles(grain.meanU);
    for (long member : members[g]) {
      const double angle = MisorientationDegrees(grain.meanU, records[static_cast<std::size_t>(member)].u, symmetry);
      result.misorientationToMean[static_cast<std::size_t>(member)] = angle;
      if (angle > grain.largestMisorientation) grain.largestMisorientation = angle;
    }
    result.grains.push_back(grain);
  }
  return result;
}

}  // namespace orv
