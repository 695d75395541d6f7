// SPDX-License-Identifier: MIT
// HTML and SVG written piece by piece: markup as it stands, data escaped,
// numbers short. Every piece of data the book and the plans write, in text
// and in attribute values alike, goes through the one escaping function
// here, so there is a single place to get escaping right.
#ifndef ATLAS_COMMON_MARKUP_H_
#define ATLAS_COMMON_MARKUP_H_

#include <concepts>
#include <string>
#include <string_view>

namespace atlas {

// Appends `text` to `out` with & < > " ' written as character references and
// control characters other than tab, line feed and carriage return dropped
// (an HTML parser rejects them). The result is safe as element text and as a
// quoted attribute value; never put it in <style>, <script>, comments or
// unquoted attributes.
void append_html_escaped(std::string& out, std::string_view text);

// The same, as a new string.
std::string html_escaped(std::string_view text);

// Appends a whole number in decimal.
void append_integer(std::string& out, long long value);

// Appends `value` rounded to two decimals at most: whole numbers stay whole
// ("12"), the rest lose their trailing zeros ("3.5", "0.27").
void append_decimal(std::string& out, double value);

// The value append_decimal writes, as a number.
double as_written(double value);

// Appends to a string it does not own. Strings and characters go in as
// markup, as they stand; numbers as append_integer and append_decimal write
// them; data only through text().
// REQUIRES: `out` outlives the writer.
class Markup {
 public:
  explicit Markup(std::string& out) : out_(out) {}

  Markup& operator<<(std::string_view markup) {
    out_ += markup;
    return *this;
  }
  Markup& operator<<(const char* markup) {
    out_ += markup;
    return *this;
  }
  Markup& operator<<(char markup) {
    out_ += markup;
    return *this;
  }
  template <std::integral Number>
  requires(!std::same_as<Number, char> && !std::same_as<Number, bool>) Markup& operator<<(
      Number value) {
    append_integer(out_, static_cast<long long>(value));
    return *this;
  }
  Markup& operator<<(double value) {
    append_decimal(out_, value);
    return *this;
  }
  // Escaped: for texts and attribute values that come from data.
  Markup& text(std::string_view data) {
    append_html_escaped(out_, data);
    return *this;
  }

 private:
  std::string& out_;
};

}  // namespace atlas

#endif  // ATLAS_COMMON_MARKUP_H_
