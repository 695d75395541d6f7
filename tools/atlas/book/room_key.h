// SPDX-License-Identifier: MIT
// The book's room key: one entry per room, its description, exits naming
// (and linking) the rooms they lead to, and what the report lists in it.
#ifndef ATLAS_BOOK_ROOM_KEY_H_
#define ATLAS_BOOK_ROOM_KEY_H_

#include "atlas/common/finished_run.h"
#include "atlas/common/markup.h"

namespace atlas {

// The entry of room `number`, <article id="room-N">. A room an overflow left
// ungenerated has a short "not explored" entry with its way back.
// REQUIRES: 1 <= number <= run.rooms().
void room_entry(Markup& page, const FinishedRun& run, int number);

}  // namespace atlas

#endif  // ATLAS_BOOK_ROOM_KEY_H_
