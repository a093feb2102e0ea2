// The fixed-layout line notation (nX, Iw, Fw.d, Aw, texts, L-lines) used by every writer.
#pragma once

#include <string>

namespace orv {

// Iw: the integer right-aligned in w columns, or w asterisks when it does not fit.
std::string FormatInteger(long long value, int width);

// Fw.d: fixed point with d decimals right-aligned in w columns. The leading zero before the point
// is left out only when the field would otherwise be too narrow; a value that still does not fit
// is w asterisks. A value that rounds to zero is written without a minus sign; NaN and infinities
// are written as "NaN", "Inf" and "-Inf" when they fit.
std::string FormatFixed(double value, int width, int decimals);

// Aw: the first w characters of the text, right-aligned when the text is shorter.
std::string FormatText(const std::string& text, int width);

// nX: n blanks.
std::string Blanks(int count);

// A run of n copies of one character.
std::string Repeat(char c, int count);

// DASHES and EQUALS: 56 "-" and 56 "=".
const std::string& Dashes();
const std::string& Equals();

// L-line: a free-format line, one blank followed by the text; without text it is an empty line.
std::string FreeLine(const std::string& text);

// One fixed-layout line built item by item from left to right, as the layouts are written:
//   Line().X(2).Text("Solution nr ").I(i, 3).Text(" out of ").I(n, 3).Text(".").str()
class Line {
 public:
  Line& Text(const std::string& text) {
    text_ += text;
    return *this;
  }
  Line& X(int count) {
    text_ += Blanks(count);
    return *this;
  }
  Line& I(long long value, int width) {
    text_ += FormatInteger(value, width);
    return *this;
  }
  Line& F(double value, int width, int decimals) {
    text_ += FormatFixed(value, width, decimals);
    return *this;
  }
  Line& A(const std::string& text, int width) {
    text_ += FormatText(text, width);
    return *this;
  }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

}  // namespace orv
