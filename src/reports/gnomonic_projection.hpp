// The gnomonic projection of spot directions: from the crystal onto the plane tangent to the unit
// sphere at a pole, so that every zone (a great circle) becomes a straight line.
#pragma once

#include <optional>
#include <vector>

#include "geometry/vector_matrix.hpp"

namespace orv {

// The pole and the two axes of the plane; right x up points back towards the crystal, so the
// picture shows the spots as seen from the crystal looking along the pole.
struct GnomonicFrame {
  Vec3 pole{0.0, 0.0, 1.0};
  Vec3 right{1.0, 0.0, 0.0};
  Vec3 up{0.0, -1.0, 0.0};
  int rightLabAxis = 0;  // the laboratory axis (0 x, 1 y, 2 z) whose projection is `right`
};

// The pole is the mean of the directions (the first direction when they cancel out); `right` is
// the projection of the laboratory axis most nearly perpendicular to the pole.
GnomonicFrame FrameAboutMeanDirection(const std::vector<Vec3>& directions);

struct PlanePoint {
  double x = 0.0;
  double y = 0.0;
};

// Spots farther than this from the pole are left out: they would run off towards infinity.
constexpr double kLargestAngleFromPoleDegrees = 80.0;

// The point of direction u on the plane, or nothing when u is too far from the pole.
std::optional<PlanePoint> ProjectDirection(const GnomonicFrame& frame, const Vec3& u);

// The straight line a x + b y + c = 0 on which every direction perpendicular to the zone axis lies.
struct PlaneLine {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
};

PlaneLine ZoneLine(const GnomonicFrame& frame, const Vec3& zoneAxis);

// The part of a line inside the rectangle [x0, x1] x [y0, y1], as its two ends; nothing when the
// line misses the rectangle.
std::optional<std::pair<PlanePoint, PlanePoint>> ClipLine(const PlaneLine& line, double x0, double x1, double y0,
                                                          double y1);

}  // namespace orv
