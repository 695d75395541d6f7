// SPDX-License-Identifier: MIT
// Text made safe to put into an HTML page or an SVG drawing. Every piece of
// data the book and the plans write, in text and in attribute values alike,
// goes through this one function, so there is a single place to get
// escaping right.
#ifndef ATLAS_COMMON_MARKUP_H_
#define ATLAS_COMMON_MARKUP_H_

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

}  // namespace atlas

#endif  // ATLAS_COMMON_MARKUP_H_
