// When a lattice found at a neighbouring point is taken for a pattern instead of a search.
#pragma once

namespace orv {

// The support of a lattice at one point: reflections within half the tolerance, within the
// tolerance, and all reflections of the pattern.
struct PointSupport {
  int nHalf = 0;
  int nFull = 0;
  int reflections = 0;
};

// How much smaller a share of supported reflections may be at the point than at the seed.
constexpr double kSeedShareMargin = 0.10;

// The seed's lattice, refined at the point, fits when it indexes at least a quarter of the
// point's reflections (and at least 4) within the tolerance, and both its shares, nFull/N and
// nHalf/N, are at least the seed's own shares at its point less kSeedShareMargin. A pattern that
// holds the spots of a second grain, or of another grain altogether, falls below and is searched.
bool SeedFits(const PointSupport& atPoint, const PointSupport& atSeed);

}  // namespace orv
