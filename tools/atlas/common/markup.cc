// SPDX-License-Identifier: MIT
#include "atlas/common/markup.h"

namespace atlas {

void append_html_escaped(std::string& out, std::string_view text) {
  out.reserve(out.size() + text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '\t':
      case '\n':
      case '\r':
        out += c;
        break;
      default:
        if (byte >= 0x20 && byte != 0x7F) out += c;
        break;
    }
  }
}

std::string html_escaped(std::string_view text) {
  std::string out;
  append_html_escaped(out, text);
  return out;
}

}  // namespace atlas
