// Numbers as the peak lists and the input file write them: strict reading and exact writing.
#pragma once

#include <string>

namespace orv::imp {

// A decimal real: optional sign, digits with an optional point, an optional exponent introduced by
// E, e, D or d. Refuses anything else (hexadecimal forms, "nan", "inf", trailing text) and values
// that overflow to an infinity.
bool ParseDecimalReal(const std::string& text, double& value);

// The same reading, telling a text of the right form whose value overflows (such as 1e400) from
// one that is not a number at all. The value is set only when the result is Valid.
enum class RealReading { Valid, NotANumber, OutOfRange };
RealReading ReadDecimalReal(const std::string& text, double& value);

// Optionally signed digits that fit a 32-bit integer.
bool ParseDecimalInteger(const std::string& text, int& value);

// The shortest decimal text that reads back as exactly the same double.
std::string ShortestRealText(double value);

}  // namespace orv::imp
