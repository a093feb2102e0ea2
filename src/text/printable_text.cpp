// Text from files and command lines made safe to show on a terminal or in an XML document.
#include "text/printable_text.hpp"

namespace orv {

namespace {

// The length of the well-formed UTF-8 sequence starting at text[pos] that encodes a printable
// character, or 0 when there is none.
std::size_t PrintableSequence(const std::string& text, std::size_t pos) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[pos + k]); };
  const unsigned char lead = byte(0);
  if (lead >= 0x20 && lead < 0x7F) return 1;
  std::size_t length = 0;
  unsigned long code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;  // a control byte, a continuation byte or a byte never used in UTF-8
  }
  if (text.size() - pos < length) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(k) & 0xC0u) != 0x80u) return 0;
    code = (code << 6) | (byte(k) & 0x3Fu);
  }
  const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  if (code >= 0x80 && code <= 0x9F) return 0;  // the C1 controls
  return length;
}

}  // namespace

std::string PrintableText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = PrintableSequence(text, pos);
    if (length == 0) {
      out += '?';
      ++pos;
    } else {
      out.append(text, pos, length);
      pos += length;
    }
  }
  return out;
}

}  // namespace orv
