// The gnomonic projection of spot directions onto the plane tangent to the unit sphere at a pole.
#include "reports/gnomonic_projection.hpp"

#include <cmath>

#include "geometry/constants.hpp"

namespace orv {

namespace {

Vec3 Scaled(const Vec3& v, double s) { return {v[0] * s, v[1] * s, v[2] * s}; }

Vec3 Unit(const Vec3& v) {
  Vec3 unit = v;
  double norm = 0.0;
  NormalizeVector(v, unit, norm);
  return unit;
}

}  // namespace

GnomonicFrame FrameAboutMeanDirection(const std::vector<Vec3>& directions) {
  GnomonicFrame frame;
  Vec3 sum{0.0, 0.0, 0.0};
  for (const Vec3& u : directions) {
    const Vec3 unit = Unit(u);
    for (int k = 0; k < 3; ++k) sum[k] += unit[k];
  }
  if (VectorNorm(sum) > 1e-6 * static_cast<double>(directions.size())) {
    frame.pole = Unit(sum);
  } else if (!directions.empty() && VectorNorm(directions.front()) > 0.0) {
    frame.pole = Unit(directions.front());
  }
  int axis = 0;
  for (int k = 1; k < 3; ++k) {
    if (std::fabs(frame.pole[k]) < std::fabs(frame.pole[axis])) axis = k;
  }
  Vec3 lab{0.0, 0.0, 0.0};
  lab[axis] = 1.0;
  const Vec3 along = Scaled(frame.pole, Dot(lab, frame.pole));
  frame.right = Unit({lab[0] - along[0], lab[1] - along[1], lab[2] - along[2]});
  frame.up = CrossProduct(frame.right, frame.pole);
  frame.rightLabAxis = axis;
  return frame;
}

std::optional<PlanePoint> ProjectDirection(const GnomonicFrame& frame, const Vec3& u) {
  const double norm = VectorNorm(u);
  const double along = Dot(u, frame.pole);
  if (!(norm > 0.0) || !(along > norm * std::cos(kLargestAngleFromPoleDegrees * kDegreesToRadians))) {
    return std::nullopt;
  }
  return PlanePoint{Dot(u, frame.right) / along, Dot(u, frame.up) / along};
}

PlaneLine ZoneLine(const GnomonicFrame& frame, const Vec3& zoneAxis) {
  // A point (x, y) is the direction pole + x right + y up; it lies on the zone when it is
  // perpendicular to the axis.
  return PlaneLine{Dot(zoneAxis, frame.right), Dot(zoneAxis, frame.up), Dot(zoneAxis, frame.pole)};
}

std::optional<std::pair<PlanePoint, PlanePoint>> ClipLine(const PlaneLine& line, double x0, double x1, double y0,
                                                          double y1) {
  const double slack = 1e-9 * std::max(x1 - x0, y1 - y0);
  std::vector<PlanePoint> ends;
  auto keep = [&](double x, double y) {
    if (x >= x0 - slack && x <= x1 + slack && y >= y0 - slack && y <= y1 + slack) ends.push_back({x, y});
  };
  if (std::fabs(line.b) > 0.0) {
    keep(x0, -(line.a * x0 + line.c) / line.b);
    keep(x1, -(line.a * x1 + line.c) / line.b);
  }
  if (std::fabs(line.a) > 0.0) {
    keep(-(line.b * y0 + line.c) / line.a, y0);
    keep(-(line.b * y1 + line.c) / line.a, y1);
  }
  if (ends.size() < 2) return std::nullopt;
  // The two ends farthest apart (a line through a corner meets two edges at the same point).
  std::pair<PlanePoint, PlanePoint> best{ends[0], ends[1]};
  double longest = -1.0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    for (std::size_t j = i + 1; j < ends.size(); ++j) {
      const double d = std::hypot(ends[i].x - ends[j].x, ends[i].y - ends[j].y);
      if (d > longest) {
        longest = d;
        best = {ends[i], ends[j]};
      }
    }
  }
  if (!(longest > slack)) return std::nullopt;
  return best;
}

}  // namespace orv
