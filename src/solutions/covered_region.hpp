// The part of the sphere of directions that the reflections cover: where a lattice row could be seen.
#pragma once

#include <array>
#include <vector>

#include "geometry/vector_matrix.hpp"
#include "run_data/run_parameters.hpp"

namespace orv {

// The smallest convex region of the sphere that holds every reflection direction: the convex hull
// of the directions seen from their mean direction (a gnomonic projection, which keeps great
// circles straight). Reflections spread over more than about a hemisphere, or too few to span a
// hull, give the spherical cap about the mean direction that reaches the farthest reflection.
class CoveredRegion {
 public:
  // From reflections 1..NumberOfReflections of the direction store.
  static CoveredRegion FromDirections(const RunParameters& parameters, const DirectionStore& directions);

  // Whether a direction (of any positive length) lies inside the region, its border included.
  bool Contains(const Vec3& direction) const;
  // A cheap test that is true only for directions that Contains refuses: those that point away from
  // the region's centre, for a region within a hemisphere.
  bool FacesAway(const Vec3& direction) const {
    return shape_ != Shape::WholeSphere && (shape_ == Shape::Hull || capCosine_ >= 0.0) &&
           !(Dot(direction, centre_) > 0.0);
  }

  // The region's share of the whole sphere, between 0 and 1.
  double SphereFraction() const { return sphereFraction_; }

 private:
  enum class Shape { WholeSphere, Cap, Hull };
  using Point = std::array<double, 2>;

  Point Project(const Vec3& unitOrNot, bool& inFront) const;

  Shape shape_ = Shape::WholeSphere;
  Vec3 centre_{};
  Vec3 across_{};
  Vec3 up_{};
  double capCosine_ = -1.0;
  std::vector<Point> hull_;  // counter-clockwise in the projection plane
  double sphereFraction_ = 1.0;
};

}  // namespace orv
