// The input file's layout as the importer and the simulator write it, and the numbers they share
// with the reader.
#include "text/kqt_layout.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/number_text.hpp"

namespace orv {
namespace {

TEST(KqtLayout, CommentsReflectionsAndKeywordsInTheReadersLayout) {
  KqtLayout layout;
  layout.Comment("made by hand");
  layout.Reflections({{0.6, -0.8, 0.0}, {0.0, 0.0, 1.0}});
  layout.Value("_ExtentOfTheSearch", "2");
  layout.Value("_VolumeOfPrimitiveCell", ShortestRealText(40.5));
  const std::vector<std::string> expected = {
      "# made by hand",
      "_NumberOfReflections",
      "     2",
      "_Reflections",
      "  0.6000000000 -0.8000000000  0.0000000000",
      "  0.0000000000  0.0000000000  1.0000000000",
      "_ExtentOfTheSearch",
      "  2",
      "_VolumeOfPrimitiveCell",
      "  40.5",
  };
  EXPECT_EQ(layout.Lines(), expected);
}

TEST(NumberText, WrittenRealsReadBackExactlyAndTheFormsAreStrict) {
  for (double v : {0.1, 1.1920928955078125e-5, 3.4028234663852885e36, 2.0 / 3.0}) {
    double back = 0.0;
    ASSERT_EQ(ParseRealForm(ShortestRealText(v), back), NumberForm::Ok);
    EXPECT_EQ(back, v);
  }
  double real = 0.0;
  EXPECT_EQ(ParseRealForm("1.5D2", real), NumberForm::Ok);
  EXPECT_EQ(real, 150.0);
  EXPECT_EQ(ParseRealForm("1e400", real), NumberForm::OutOfRange);
  for (const char* text : {"", "+", ".", "0x10", "nan", "inf", "1e", "1.5 ", "1,5"})
    EXPECT_EQ(ParseRealForm(text, real), NumberForm::Malformed) << text;
  int integer = 0;
  EXPECT_TRUE(ParseInteger("+2147483647", integer));
  EXPECT_EQ(integer, 2147483647);
  EXPECT_EQ(ParseIntegerForm("2147483648", integer), NumberForm::OutOfRange);
  EXPECT_EQ(ParseIntegerForm("1.0", integer), NumberForm::Malformed);
}

}  // namespace
}  // namespace orv
