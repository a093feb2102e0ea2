// The points file carries every number of a point to the last bit, so that shards merged give the
// single machine's map; cut or foreign lines are never taken for a point.
#include <gtest/gtest.h>

#include <cmath>

#include "maps/map_point_record.hpp"

namespace orv {
namespace {

MapPointRecord Example() {
  MapPointRecord r;
  r.file = "scan, \"row 3\"/p.kqt";
  r.status = "indexed";
  r.seeded = true;
  r.seed = 17;
  r.type = BravaisType::hR;
  r.directBasis = Mat3{{{0.1, 1.0 / 3.0, -2.5e-300}, {std::nextafter(1.0, 2.0), -0.0, 7.0}, {1e300, -1e-17, 3.0}}};
  r.toConventional = IntMat3{{{1, -1, 0}, {0, 1, -1}, {1, 1, 1}}};
  r.settingCell = LatticeCell{Vec3{4.9, 4.9, 13.6}, Vec3{90.0, 90.0, 120.0}};
  r.conventionalBasis = r.directBasis;
  r.u = Mat3{{{0.0, -1.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 0.0, 1.0}}};
  r.eulerDegrees = Vec3{90.0, 0.0, 359.99999999999994};
  r.support = PointSupport{50, 57, 60};
  r.strained = true;
  r.strain = {1e-3, -2e-3, 1e-3, 0.1 + 0.2, -0.0, 5e-324};
  r.equivalentStrain = 2.3e-3;
  r.strainSetting = IntMat3{{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
  r.message = "";
  return r;
}

TEST(PointRecord, ReadsBackToTheSameBitsAndRefusesCutLines) {
  const MapPointRecord r = Example();
  const std::string line = FormatPointRecord(r);
  const auto back = ParsePointRecord(line);
  ASSERT_TRUE(back) << line;
  EXPECT_EQ(back->file, r.file);
  EXPECT_TRUE(back->seeded);
  EXPECT_EQ(back->seed, 17);
  EXPECT_EQ(back->type, BravaisType::hR);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(back->directBasis[i][j], r.directBasis[i][j]);
      EXPECT_EQ(back->toConventional[i][j], r.toConventional[i][j]);
      EXPECT_EQ(back->strainSetting[i][j], r.strainSetting[i][j]);
    }
  EXPECT_EQ(back->eulerDegrees[2], r.eulerDegrees[2]);
  EXPECT_EQ(back->strain[3], r.strain[3]);
  EXPECT_EQ(back->strain[5], r.strain[5]);
  EXPECT_EQ(back->support.nFull, 57);
  EXPECT_EQ(FormatPointRecord(*back), line);  // a merge writes what the worker wrote

  // A failed point keeps its message, whatever it holds.
  MapPointRecord failed;
  failed.file = "a.kqt";
  failed.status = "failed";
  failed.message = "Error reading a.kqt, line 3: \"x\", y";
  const auto failedBack = ParsePointRecord(FormatPointRecord(failed));
  ASSERT_TRUE(failedBack);
  EXPECT_EQ(failedBack->message, failed.message);

  for (std::size_t cut : {line.size() / 2, line.size() - 3}) EXPECT_FALSE(ParsePointRecord(line.substr(0, cut))) << cut;
  EXPECT_FALSE(ParsePointRecord(PointRecordHeader()));
  std::string other = line;
  other.replace(other.find(",indexed,"), 9, ",done,");
  EXPECT_FALSE(ParsePointRecord(other));
}

}  // namespace
}  // namespace orv
