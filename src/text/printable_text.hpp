// Text from files and command lines made safe to show on a terminal or in an XML document.
#pragma once

#include <string>

namespace orv {

// The text with every byte that could act on a terminal or break an XML document replaced by '?':
// control characters (tab, line ends and escape included, and the C1 controls U+0080 to U+009F), and
// each byte that does not belong to a well-formed UTF-8 sequence (overlong forms, surrogates and
// code points beyond U+10FFFF included). Printable ASCII and well-formed UTF-8 pass unchanged.
std::string PrintableText(const std::string& text);

}  // namespace orv
