// SPDX-License-Identifier: MIT
#include "atlas/common/markup.h"

#include <gtest/gtest.h>

#include <string>

namespace atlas {
namespace {

TEST(HtmlEscape, MarkupCharactersBecomeReferencesAndControlsAreDropped) {
  using namespace std::string_literals;
  const struct {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},
      {"10' x 20' Room", "10&#39; x 20&#39; Room"},
      {"a & b", "a &amp; b"},
      {"&amp;", "&amp;amp;"},  // already escaped text is escaped again, not trusted
      {"<svg onload=x>", "&lt;svg onload=x&gt;"},
      {"say \"hi\"", "say &quot;hi&quot;"},
      {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
      {"bell\a null\0 esc\x1b del\x7f unit\x1f"s, "bell null esc del unit"},
      {"caf\xc3\xa9", "caf\xc3\xa9"},  // bytes above ASCII pass through
  };
  for (const auto& c : cases) {
    EXPECT_EQ(html_escaped(c.in), c.out) << "input: " << c.in;
    std::string appended = "kept ";
    append_html_escaped(appended, c.in);
    EXPECT_EQ(appended, "kept " + c.out);
  }
}

}  // namespace
}  // namespace atlas
