// SPDX-License-Identifier: MIT
// What kind of book to write: for the game master or for the players.
#ifndef ATLAS_BOOK_BOOK_OPTIONS_H_
#define ATLAS_BOOK_BOOK_OPTIONS_H_

#include "atlas/common/print_scale.h"

namespace atlas {

struct BookOptions {
  // The players' book: the plans alone, one level a page, with nothing the
  // players may not see (plan/draw/draw_options.h): no key, no seed, no
  // totals, no stairs destinations.
  bool player = false;
  // The numbers in the rooms; a players' book has them only when asked.
  bool room_numbers = true;
  // How large plans print. The players' book prints each level on a page
  // unless told otherwise.
  PrintScale scale;
};

}  // namespace atlas

#endif  // ATLAS_BOOK_BOOK_OPTIONS_H_
