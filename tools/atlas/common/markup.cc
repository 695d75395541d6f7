// SPDX-License-Identifier: MIT
#include "atlas/common/markup.h"

#include <charconv>
#include <cmath>

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

void append_integer(std::string& out, long long value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

double as_written(double value) {
  return std::round(value * 100) / 100;
}

void append_decimal(std::string& out, double value) {
  const double rounded = as_written(value);
  char buffer[32];
  std::to_chars_result result;
  if (rounded == std::floor(rounded) && std::abs(rounded) < 1e15) {
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(rounded));
  } else {
    result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 2);
    while (result.ptr[-1] == '0') --result.ptr;
  }
  out.append(buffer, result.ptr);
}

}  // namespace atlas
