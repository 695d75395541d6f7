// SPDX-License-Identifier: MIT
// Text from the command line, fit to repeat in a message on a terminal.
#ifndef ATLAS_COMMON_PRINTABLE_H_
#define ATLAS_COMMON_PRINTABLE_H_

#include <string>
#include <string_view>

namespace atlas {

// `text` with every control character written as \xHH: C0 (line feed and
// tab included), DEL, and C1 as UTF-8 (U+0080 to U+009F), which terminals
// also obey. Nothing a user typed can then move the cursor, clear the screen
// or begin a line of its own. Other bytes pass through.
std::string printable(std::string_view text);

}  // namespace atlas

#endif  // ATLAS_COMMON_PRINTABLE_H_
