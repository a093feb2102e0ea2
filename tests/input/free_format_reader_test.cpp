// Free-format reading: separators, lines, null values, slashes, repeats, number forms, failures.
#include "input/free_format_reader.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "input/line_source.hpp"

namespace orv {
namespace {

struct RealReadCase {
  const char* name;
  std::vector<std::string> lines;
  std::vector<double> before;  // the targets' content before the read; its size is the count
  ReadStatus status;
  std::vector<double> after;
  std::size_t cursorAfter;
};

TEST(FreeFormatReader, ReadsRealsByTheFreeFormatRules) {
  const std::vector<RealReadCase> cases = {
      {"blanks tabs and commas separate", {"1.5\t2 ,  3"}, {0, 0, 0}, ReadStatus::Ok, {1.5, 2, 3}, 1},
      {"a read runs over several lines", {"1 2", "3"}, {0, 0, 0}, ReadStatus::Ok, {1, 2, 3}, 2},
      {"the rest of the last line is ignored", {"1 2 3 4", "5"}, {0, 0, 0}, ReadStatus::Ok, {1, 2, 3}, 1},
      {"empty and blank lines are skipped", {"", "   \t", "7", "", "8"}, {0, 0}, ReadStatus::Ok, {7, 8}, 5},
      {"an empty value keeps the target", {"5,,7"}, {1, 2, 3}, ReadStatus::Ok, {5, 2, 7}, 1},
      {"a leading comma is an empty value", {" ,9"}, {1, 2}, ReadStatus::Ok, {1, 9}, 1},
      {"blanks between two commas are an empty value", {"5, ,7"}, {1, 2, 3}, ReadStatus::Ok, {5, 2, 7}, 1},
      {"a comma after a line end only separates", {"1", ",2"}, {0, 0}, ReadStatus::Ok, {1, 2}, 2},
      {"a trailing comma then a comma on the next line", {"1,", ",2"}, {0, 8, 0}, ReadStatus::Ok, {1, 8, 2}, 2},
      {"a slash keeps the values not yet read", {"4 /", "5 6"}, {0, 8, 9}, ReadStatus::Ok, {4, 8, 9}, 1},
      {"a slash ends an item", {"4/5"}, {0, 8}, ReadStatus::Ok, {4, 8}, 1},
      {"a slash on a line of its own", {"", "/"}, {3, 4}, ReadStatus::Ok, {3, 4}, 2},
      {"a repeat gives equal values", {"3*2.5"}, {0, 0, 0}, ReadStatus::Ok, {2.5, 2.5, 2.5}, 1},
      {"a repeat without value gives empty values", {"2*,7"}, {1, 2, 3}, ReadStatus::Ok, {1, 2, 7}, 1},
      {"a repeat longer than the read", {"5*1"}, {0, 0}, ReadStatus::Ok, {1, 1}, 1},
      {"a repeat mixed with values", {"2*1 5"}, {0, 0, 0}, ReadStatus::Ok, {1, 1, 5}, 1},
      {"exponents with D and E", {"1.5D2 2e-3 +4d+1 -1.25E+1"}, {0, 0, 0, 0}, ReadStatus::Ok, {150, 0.002, 40, -12.5}, 1},
      {"integer-looking and pointed reals", {"1000 .5 -3."}, {0, 0, 0}, ReadStatus::Ok, {1000, 0.5, -3}, 1},
      {"an underflow reads as a tiny value", {"1e-400"}, {5}, ReadStatus::Ok, {0}, 1},
      {"the end of the lines before the last value", {"1"}, {0, 0}, ReadStatus::EndOfFile, {1, 0}, 1},
      {"no lines at all", {"", " "}, {0}, ReadStatus::EndOfFile, {0}, 2},
      {"a word", {"abc"}, {0}, ReadStatus::Error, {0}, 1},
      {"NaN", {"NaN"}, {0}, ReadStatus::Error, {0}, 1},
      {"infinity", {"Infinity"}, {0}, ReadStatus::Error, {0}, 1},
      {"an overflow", {"1e400"}, {0}, ReadStatus::Error, {0}, 1},
      {"an exponent without digits", {"1.5e"}, {0}, ReadStatus::Error, {0}, 1},
      {"two points", {"1.2.3"}, {0}, ReadStatus::Error, {0}, 1},
      {"a lone point", {"."}, {0}, ReadStatus::Error, {0}, 1},
      {"hexadecimal", {"0x10"}, {0}, ReadStatus::Error, {0}, 1},
      {"a quoted number", {"'5'"}, {0}, ReadStatus::Error, {0}, 1},
      {"a zero repeat count", {"0*5"}, {0}, ReadStatus::Error, {0}, 1},
      {"a comment line where a value is expected", {"1 2", "# note", "3"}, {0, 0, 0}, ReadStatus::Error, {1, 2, 0}, 2},
      {"a keyword line where a value is expected", {"_CreateLogFile"}, {0}, ReadStatus::Error, {0}, 1},
      {"an unterminated quote", {"'abc"}, {0}, ReadStatus::Error, {0}, 1},
  };
  for (const RealReadCase& c : cases) {
    FreeFormatReader reader(c.lines);
    std::vector<double> values = c.before;
    EXPECT_EQ(reader.ReadReals(values.data(), static_cast<int>(values.size())), c.status) << c.name;
    if (c.status == ReadStatus::Ok) {
      EXPECT_EQ(values, c.after) << c.name;
    }
    EXPECT_EQ(reader.Cursor(), c.cursorAfter) << c.name;
  }
}

TEST(FreeFormatReader, ReadsIntegersInTheThirtyTwoBitRange) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  };
  const std::vector<Case> cases = {
      {"42", true, 42},          {"+7", true, 7},           {"-3", true, -3},
      {"007", true, 7},          {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},  {"-2147483649", false, 0}, {"99999999999999999999", false, 0},
      {"1.5", false, 0},         {"1e2", false, 0},         {"1.", false, 0},
      {"--1", false, 0},         {"+", false, 0},           {"12a", false, 0},
  };
  for (const Case& c : cases) {
    FreeFormatReader reader({c.text});
    int value = -99;
    const ReadStatus status = reader.ReadIntegers(&value, 1);
    EXPECT_EQ(status, c.ok ? ReadStatus::Ok : ReadStatus::Error) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(FreeFormatReader, EveryReadStartsOnANewLine) {
  FreeFormatReader reader({"1 2", "3 4 5", "6"});
  int first[1] = {0};
  int second[2] = {0, 0};
  int third[1] = {0};
  ASSERT_EQ(reader.ReadIntegers(first, 1), ReadStatus::Ok);
  ASSERT_EQ(reader.ReadIntegers(second, 2), ReadStatus::Ok);
  ASSERT_EQ(reader.ReadIntegers(third, 1), ReadStatus::Ok);
  EXPECT_EQ(first[0], 1);
  EXPECT_EQ(second[0], 3);
  EXPECT_EQ(second[1], 4);
  EXPECT_EQ(third[0], 6);
}

TEST(FreeFormatReader, FirstItemOfTheNextNonEmptyLine) {
  struct Case {
    std::vector<std::string> lines;
    ReadStatus status;
    std::string item;
    std::size_t itemLine;
  };
  const std::vector<Case> cases = {
      {{"", "   _Keyword  5"}, ReadStatus::Ok, "_Keyword", 1},
      {{"#comment, more"}, ReadStatus::Ok, "#comment", 0},
      {{"'a b' c"}, ReadStatus::Ok, "a b", 0},
      {{"\"it''s\" x"}, ReadStatus::Ok, "it''s", 0},
      {{"'it''s'"}, ReadStatus::Ok, "it's", 0},
      {{"2*_Key"}, ReadStatus::Ok, "_Key", 0},
      {{", _Key"}, ReadStatus::Ok, "", 0},
      {{"/_Key"}, ReadStatus::Ok, "", 0},
      {{"a/b"}, ReadStatus::Ok, "a", 0},
      {{"'open"}, ReadStatus::Error, "", 0},
      {{"", "\t"}, ReadStatus::EndOfFile, "", 0},
  };
  for (const Case& c : cases) {
    FreeFormatReader reader(c.lines);
    std::string item;
    std::size_t line = 99;
    ASSERT_EQ(reader.ReadFirstItem(item, line), c.status) << c.lines.back();
    if (c.status != ReadStatus::Ok) continue;
    EXPECT_EQ(item, c.item) << c.lines.back();
    EXPECT_EQ(line, c.itemLine) << c.lines.back();
    EXPECT_EQ(reader.Cursor(), c.itemLine + 1) << c.lines.back();
  }
}

TEST(FreeFormatReader, StreamLinesLoseTheirCarriageReturn) {
  FreeFormatReader reader(LineSource::FromText("_CreateLogFile\r\n1\r\n"));
  std::string item;
  std::size_t line = 0;
  ASSERT_EQ(reader.ReadFirstItem(item, line), ReadStatus::Ok);
  EXPECT_EQ(item, "_CreateLogFile");
  int value = 0;
  ASSERT_EQ(reader.ReadIntegers(&value, 1), ReadStatus::Ok);
  EXPECT_EQ(value, 1);
}

// Lines come out the same however the stream hands out its bytes, one at a time included; a read
// error is reported with the number of the line it hit.
TEST(LineSource, LinesDoNotDependOnHowTheBytesArrive) {
  const std::string text = "\xEF\xBB\xBFone\r\n\ntwo\r\nthree";
  for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{1000}}) {
    std::size_t offset = 0;
    LineSource source([&](char* buffer, std::size_t size) -> long {
      const std::size_t count = std::min({size, piece, text.size() - offset});
      text.copy(buffer, count, offset);
      offset += count;
      return static_cast<long>(count);
    });
    std::vector<std::string> lines;
    std::string line;
    while (source.Next(line) == LineSource::Result::Line) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "", "two", "three"})) << piece;
    EXPECT_EQ(source.LineNumber(), 4u);
    EXPECT_EQ(source.Next(line), LineSource::Result::End);
  }
  int calls = 0;
  LineSource failing([&](char* buffer, std::size_t) -> long {
    if (calls++ > 0) return -1;
    std::memcpy(buffer, "a\nb", 3);
    return 3;
  });
  std::string line;
  EXPECT_EQ(failing.Next(line), LineSource::Result::Line);
  EXPECT_EQ(failing.Next(line), LineSource::Result::Failed);
  EXPECT_EQ(failing.LineNumber(), 2u);
  EXPECT_EQ(failing.Next(line), LineSource::Result::Failed);

  FreeFormatReader reader(LineSource::FromText("_Key\n" + std::string(20, 'x') + "\n", 10));
  std::string item;
  std::size_t itemLine = 0;
  ASSERT_EQ(reader.ReadFirstItem(item, itemLine), ReadStatus::Ok);
  EXPECT_EQ(reader.ReadFirstItem(item, itemLine), ReadStatus::Error);
  EXPECT_EQ(reader.Problem().line, 2u);
  EXPECT_EQ(reader.Problem().reason, "the line is longer than 10 characters");
}

}  // namespace
}  // namespace orv
