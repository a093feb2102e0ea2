// The part of the sphere of directions that the reflections cover: where a lattice row could be seen.
#include "solutions/covered_region.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/constants.hpp"

namespace orv {

namespace {

// A hull is drawn only when every reflection lies within this angle of the mean direction; beyond
// it the projection stretches too much and the cap is used instead.
constexpr double kLargestHullRadius = 75.0 * kDegreesToRadians;

double Cross(const std::array<double, 2>& o, const std::array<double, 2>& a, const std::array<double, 2>& b) {
  return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0]);
}

// Andrew's monotone chain: the hull counter-clockwise, without collinear points.
std::vector<std::array<double, 2>> ConvexHull(std::vector<std::array<double, 2>> points) {
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  if (points.size() < 3) return points;
  std::vector<std::array<double, 2>> hull(2 * points.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0.0) --k;
    hull[k++] = points[i];
  }
  for (std::size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0.0) --k;
    hull[k++] = points[i - 1];
  }
  hull.resize(k - 1);
  return hull;
}

Vec3 Unit(const Vec3& v) {
  const double n = VectorNorm(v);
  return {v[0] / n, v[1] / n, v[2] / n};
}

// The area of a convex spherical polygon with the given unit vertices in order: its angle excess.
double SphericalPolygonArea(const std::vector<Vec3>& vertices) {
  const std::size_t n = vertices.size();
  double angles = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const Vec3& v = vertices[i];
    const Vec3& previous = vertices[(i + n - 1) % n];
    const Vec3& next = vertices[(i + 1) % n];
    const double dp = Dot(previous, v);
    const double dn = Dot(next, v);
    const Vec3 toPrevious = {previous[0] - dp * v[0], previous[1] - dp * v[1], previous[2] - dp * v[2]};
    const Vec3 toNext = {next[0] - dn * v[0], next[1] - dn * v[1], next[2] - dn * v[2]};
    const double np = VectorNorm(toPrevious);
    const double nn = VectorNorm(toNext);
    if (np <= 0.0 || nn <= 0.0) continue;
    angles += ClampedArcCos(Dot(toPrevious, toNext) / (np * nn));
  }
  return angles - (static_cast<double>(n) - 2.0) * kPi;
}

}  // namespace

CoveredRegion::Point CoveredRegion::Project(const Vec3& v, bool& inFront) const {
  const double along = Dot(v, centre_);
  inFront = along > 0.0;
  if (!inFront) return {0.0, 0.0};
  return {Dot(v, across_) / along, Dot(v, up_) / along};
}

CoveredRegion CoveredRegion::FromDirections(const RunParameters& parameters, const DirectionStore& directions) {
  CoveredRegion region;
  const int n = std::min(parameters.NumberOfReflections, kMaxReflections);
  std::vector<Vec3> units;
  Vec3 sum = {0.0, 0.0, 0.0};
  for (int j = 1; j <= n; ++j) {
    const double length = VectorNorm(directions(j));
    if (!(length > 0.0) || !std::isfinite(length)) continue;
    units.push_back(Unit(directions(j)));
    for (int c = 0; c < 3; ++c) sum[c] += units.back()[c];
  }
  const double sumLength = VectorNorm(sum);
  if (units.empty() || !(sumLength > 1e-9 * static_cast<double>(units.size()))) return region;
  region.centre_ = Unit(sum);
  double widest = 1.0;
  for (const Vec3& u : units) widest = std::min(widest, Dot(u, region.centre_));
  region.shape_ = Shape::Cap;
  region.capCosine_ = std::max(-1.0, widest);
  region.sphereFraction_ = 0.5 * (1.0 - region.capCosine_);
  if (ClampedArcCos(widest) > kLargestHullRadius) return region;

  // Two directions across the centre: the laboratory axis least aligned with it, made orthogonal.
  std::size_t least = 0;
  for (std::size_t k = 1; k < 3; ++k)
    if (std::fabs(region.centre_[k]) < std::fabs(region.centre_[least])) least = k;
  Vec3 axis = {0.0, 0.0, 0.0};
  axis[least] = 1.0;
  region.across_ = Unit(CrossProduct(region.centre_, axis));
  region.up_ = CrossProduct(region.centre_, region.across_);

  std::vector<Point> projected;
  for (const Vec3& u : units) {
    bool inFront = false;
    projected.push_back(region.Project(u, inFront));
  }
  std::vector<Point> hull = ConvexHull(projected);
  if (hull.size() < 3) return region;
  std::vector<Vec3> corners;
  for (const Point& p : hull) {
    corners.push_back(Unit({region.centre_[0] + p[0] * region.across_[0] + p[1] * region.up_[0],
                            region.centre_[1] + p[0] * region.across_[1] + p[1] * region.up_[1],
                            region.centre_[2] + p[0] * region.across_[2] + p[1] * region.up_[2]}));
  }
  const double fraction = SphericalPolygonArea(corners) / (4.0 * kPi);
  if (!(fraction > 0.0)) return region;
  region.shape_ = Shape::Hull;
  region.hull_ = std::move(hull);
  region.sphereFraction_ = fraction;
  return region;
}

bool CoveredRegion::Contains(const Vec3& direction) const {
  switch (shape_) {
    case Shape::WholeSphere:
      return true;
    case Shape::Cap: {
      const double length = VectorNorm(direction);
      return length > 0.0 && Dot(direction, centre_) >= capCosine_ * length * (1.0 - 1e-12);
    }
    case Shape::Hull: {
      bool inFront = false;
      const Point p = Project(direction, inFront);
      if (!inFront) return false;
      const std::size_t n = hull_.size();
      for (std::size_t i = 0; i < n; ++i)
        if (Cross(hull_[i], hull_[i + 1 < n ? i + 1 : 0], p) < -1e-12) return false;
      return true;
    }
  }
  return false;
}

}  // namespace orv
