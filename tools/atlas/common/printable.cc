// SPDX-License-Identifier: MIT
#include "atlas/common/printable.h"

namespace atlas {
namespace {

void append_escaped(std::string& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789abcdef";
  out += "\\x";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0xF];
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (byte < 0x20 || byte == 0x7F) {
      append_escaped(out, byte);
    } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      append_escaped(out, byte);
      append_escaped(out, next);
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace atlas
