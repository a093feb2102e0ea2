// The numbers of the input file (".kqt"), as the indexer reads them and the tools write them.
#pragma once

#include <string>

namespace orv {

// What a text is as a number of a form: a number, not one at all, or one that the type cannot hold.
enum class NumberForm { Ok, Malformed, OutOfRange };

// Optionally signed digits that fit a 32-bit integer. `value` is set only when the form is Ok.
NumberForm ParseIntegerForm(const std::string& text, int& value);
// A decimal real: optional sign, digits with an optional point, an optional exponent introduced by
// E, e, D or d. Anything else (hexadecimal forms, "nan", "inf", trailing text) is Malformed; a value
// that overflows to an infinity is OutOfRange, one that underflows is kept. `value` is set only when
// the form is Ok.
NumberForm ParseRealForm(const std::string& text, double& value);

// The same readings, true only for a number of the form that fits.
bool ParseInteger(const std::string& text, int& value);
bool ParseReal(const std::string& text, double& value);

// The shortest decimal text that reads back as exactly the same double.
std::string ShortestRealText(double value);

}  // namespace orv
