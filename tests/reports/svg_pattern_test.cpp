// The picture of an indexed pattern: projection and zone lines, the main zones, and a real render.
#include "reports/svg_pattern.hpp"

#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>

#include "reports/gnomonic_projection.hpp"
#include "reports/spot_classes.hpp"
#include "reports/zone_selection.hpp"
#include "support/lattice_patterns.hpp"
#include "support/test_support.hpp"

namespace orv {
namespace {

// The direction u turned by `degrees` towards the direction `towards`.
Vec3 TurnedTowards(const Vec3& u, const Vec3& towards, double degrees) {
  const double along = Dot(towards, u);
  Vec3 w{towards[0] - along * u[0], towards[1] - along * u[1], towards[2] - along * u[2]};
  const double norm = VectorNorm(w);
  const double t = degrees * kDegreesToRadians;
  Vec3 out{};
  for (std::size_t k = 0; k < 3; ++k) out[k] = std::cos(t) * u[k] + std::sin(t) * w[k] / norm;
  return out;
}

TEST(GnomonicProjection, ZonesOfTheSolutionAreStraightLinesThroughTheirSpots) {
  const testing::LatticePattern pattern = testing::BuildLatticePattern(testing::TriclinicDirectBasis(), 36);
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(pattern, parameters, directions);

  const GnomonicFrame frame = FrameAboutMeanDirection(pattern.directions);
  // Seen from the crystal: right x up points back along the pole.
  const Vec3 back = CrossProduct(frame.right, frame.up);
  for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(back[k], -frame.pole[k], 1e-12);
  EXPECT_NEAR(Dot(frame.right, frame.pole), 0.0, 1e-12);
  EXPECT_GT(frame.pole[2], 0.9);  // the pattern lies in a cone about +z

  const std::vector<ClassifiedSpot> spots = ClassifySpots(pattern.direct, parameters, directions);
  ASSERT_EQ(CountSpots(spots).nH, 36);
  const std::vector<Zone> zones = MainZones(spots, 8, 3);
  ASSERT_GE(zones.size(), 4u);
  for (const Zone& zone : zones) {
    Vec3 axis{};
    for (std::size_t k = 0; k < 3; ++k) {
      axis[k] = zone.axis[0] * pattern.direct[0][k] + zone.axis[1] * pattern.direct[1][k] + zone.axis[2] * pattern.direct[2][k];
    }
    const PlaneLine line = ZoneLine(frame, axis);
    int onLine = 0;
    for (std::size_t j = 0; j < spots.size(); ++j) {
      const auto p = ProjectDirection(frame, pattern.directions[j]);
      ASSERT_TRUE(p);
      const double distance = std::fabs(line.a * p->x + line.b * p->y + line.c) / std::hypot(line.a, line.b);
      const MillerIndices& h = spots[j].hkl;
      if (h[0] * zone.axis[0] + h[1] * zone.axis[1] + h[2] * zone.axis[2] == 0) {
        EXPECT_LT(distance, 1e-9);
        ++onLine;
      } else {
        EXPECT_GT(distance, 1e-6);
      }
    }
    EXPECT_EQ(onLine, zone.spots);
  }
  // A direction beyond 80 degrees from the pole has no point.
  EXPECT_FALSE(ProjectDirection(frame, TurnedTowards(frame.pole, frame.right, 85.0)));
  EXPECT_TRUE(ProjectDirection(frame, TurnedTowards(frame.pole, frame.right, 75.0)));
}

TEST(GnomonicProjection, LinesAreCutToTheFrame) {
  const auto across = ClipLine(PlaneLine{0.0, 1.0, -0.5}, 0.0, 1.0, 0.0, 1.0);
  ASSERT_TRUE(across);
  EXPECT_DOUBLE_EQ(std::fabs(across->first.x - across->second.x), 1.0);
  EXPECT_DOUBLE_EQ(across->first.y, 0.5);
  // A line that only touches a corner, and one that misses.
  EXPECT_FALSE(ClipLine(PlaneLine{1.0, 1.0, 0.0}, 0.0, 1.0, 0.0, 1.0));
  EXPECT_FALSE(ClipLine(PlaneLine{1.0, 0.0, -2.0}, 0.0, 1.0, 0.0, 1.0));
  // The diagonal runs corner to corner.
  const auto diagonal = ClipLine(PlaneLine{1.0, -1.0, 0.0}, 0.0, 1.0, 0.0, 1.0);
  ASSERT_TRUE(diagonal);
  EXPECT_NEAR(std::hypot(diagonal->first.x - diagonal->second.x, diagonal->first.y - diagonal->second.y),
              std::sqrt(2.0), 1e-12);
}

TEST(MainZones, MostSpotsFirstWithCanonicalAxes) {
  auto indexed = [](int h, int k, int l) { return ClassifiedSpot{SpotClass::WithinHalfTolerance, {h, k, l}}; };
  const std::vector<ClassifiedSpot> spots = {indexed(1, 0, 0), indexed(0, 1, 0),  indexed(1, 1, 0),
                                             indexed(1, -1, 0), indexed(0, 0, 1), indexed(1, 0, 1),
                                             ClassifiedSpot{SpotClass::NotIndexed, {0, 0, 7}}};
  const std::vector<Zone> zones = MainZones(spots, 8, 3);
  ASSERT_EQ(zones.size(), 2u);
  EXPECT_EQ(zones[0].axis, (MillerIndices{0, 0, 1}));
  EXPECT_EQ(zones[0].spots, 4);
  EXPECT_EQ(zones[1].axis, (MillerIndices{0, 1, 0}));
  EXPECT_EQ(zones[1].spots, 3);
  EXPECT_EQ(MainZones(spots, 1, 3).size(), 1u);
}

// Pixels of a PNG as RGBA, row by row.
struct Image {
  unsigned width = 0, height = 0;
  std::vector<unsigned char> rgba;
};

bool ReadPng(const std::string& path, Image& image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGBA;
  image.width = png.width;
  image.height = png.height;
  image.rgba.resize(PNG_IMAGE_SIZE(png));
  return png_image_finish_read(&png, nullptr, image.rgba.data(), 0, nullptr) != 0;
}

TEST(PatternPicture, RendersWithEveryClassOfSpot) {
  if (testing::RunCommand("command -v rsvg-convert", ".").exitStatus != 0) {
    GTEST_SKIP() << "rsvg-convert (Debian librsvg2-bin) is not installed";
  }
  testing::LatticePattern pattern = testing::BuildLatticePattern(testing::OrthorhombicDirectBasis(), 36);
  // One spot 0.7 degree off its row (within the tolerance only), one 6 degrees off (not indexed).
  pattern.directions[10] = TurnedTowards(pattern.directions[10], pattern.directions[1], 0.7);
  pattern.directions[30] = TurnedTowards(pattern.directions[30], pattern.directions[1], 6.0);
  RunParameters parameters;
  DirectionStore directions;
  testing::LoadPattern(pattern, parameters, directions);
  SolutionStore store;
  store.NumberOfSolutions = 1;
  store(1).SolutionBasis = pattern.direct;
  const std::vector<ClassifiedSpot> spots = ClassifySpots(pattern.direct, parameters, directions);
  ASSERT_EQ(spots[10].spotClass, SpotClass::WithinTolerance);
  ASSERT_EQ(spots[30].spotClass, SpotClass::NotIndexed);

  // A name that must be escaped in the title.
  const std::string dir = testing::MakeScratchDir("picture");
  const std::string input = dir + "/grain <7> & co.kqt";
  WritePatternPicture(input, parameters, directions, store,
                      AnalyseSolutionLattices(store, parameters.AngularDeviationCriterion));
  ASSERT_EQ(PictureFileName(input), dir + "/grain <7> & co_kqt.svg");
  const std::string svg = testing::ReadTextFile(PictureFileName(input));
  EXPECT_NE(svg.find("grain &lt;7&gt; &amp; co.kqt: solution 1 of 1"), std::string::npos);
  EXPECT_NE(svg.find("35 of 36 spots indexed"), std::string::npos);
  EXPECT_NE(svg.find("Lattice oP:"), std::string::npos);

  const testing::ProcessResult render = testing::RunCommand(
      "rsvg-convert " + testing::ShellQuote(PictureFileName(input)) + " -o picture.png", dir);
  ASSERT_EQ(render.exitStatus, 0) << render.output;
  Image image;
  ASSERT_TRUE(ReadPng(dir + "/picture.png", image));
  EXPECT_EQ(image.width, 760u);
  // Inside the plot: dark markers of the 34 spots within half the tolerance, and the red ring.
  int dark = 0, red = 0;
  for (unsigned y = 110; y + 10 < image.height - 80; ++y) {
    for (unsigned x = 40; x < 720; ++x) {
      const unsigned char* p = &image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4];
      if (p[0] < 80 && p[1] < 80 && p[2] < 80) ++dark;
      if (p[0] > 150 && p[1] < 110 && p[2] < 90) ++red;
    }
  }
  EXPECT_GT(dark, 34 * 30);
  EXPECT_GT(red, 10);
}

}  // namespace
}  // namespace orv
