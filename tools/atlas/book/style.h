// SPDX-License-Identifier: MIT
// The book's one style sheet, for screen and print. Data never goes in here:
// the style is the same for every book. The print rules hold the page sizes
// of plan_figure.cc in millimetres.
#ifndef ATLAS_BOOK_STYLE_H_
#define ATLAS_BOOK_STYLE_H_

#include <string_view>

namespace atlas {

extern const std::string_view kBookStyle;

}  // namespace atlas

#endif  // ATLAS_BOOK_STYLE_H_
