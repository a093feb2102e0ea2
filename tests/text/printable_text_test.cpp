// Text shown on a terminal or put in the picture: controls and broken UTF-8 never pass through.
#include "text/printable_text.hpp"

#include <gtest/gtest.h>

#include "reports/svg_canvas.hpp"

namespace orv {
namespace {

TEST(PrintableText, ControlsAndMalformedUtf8BecomeQuestionMarks) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ge_0001.kqt", "ge_0001.kqt"},
      {"\xC3\xA9t\xC3\xA9 \xE2\x84\xAB \xF0\x9F\x98\x80", "\xC3\xA9t\xC3\xA9 \xE2\x84\xAB \xF0\x9F\x98\x80"},
      {"a\x1b[2Jb\x07\t\r\n\x7f", "a?[2Jb?????"},
      {"\xC2\x9B" "31m", "??31m"},                         // a C1 control
      {"\xC0\xAF \xE0\x80\xAF", "?? ???"},                 // overlong forms
      {"\xED\xA0\x80", "???"},                              // a surrogate
      {"\xF4\x90\x80\x80", "????"},                         // beyond U+10FFFF
      {"end\xE2\x84", "end??"},                             // cut short
      {"\xFF\x80x", "??x"},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(PrintableText(text), shown) << shown;
  EXPECT_EQ(svg::Escaped("a\x01<b>&\"\xFF.kqt"), "a?&lt;b&gt;&amp;&quot;?.kqt");
}

}  // namespace
}  // namespace orv
