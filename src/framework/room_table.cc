// SPDX-License-Identifier: MIT
#include "framework/room_table.h"

namespace dungeon {

bool push_pending(Dungeon& d, int room) {
  PendingStack& stack = d.pending;
  if (stack.top > kMaxRoomNumber || room > kMaxRoomNumber) return false;
  stack.rooms[static_cast<std::size_t>(++stack.top)] = room;
  return true;
}

int pop_pending(Dungeon& d) {
  PendingStack& stack = d.pending;
  assert(stack.top > 0);
  return stack.rooms[static_cast<std::size_t>(stack.top--)];
}

bool add_room(Dungeon& d, int from, int slot, const Passage& passage) {
  const int m = d.tally.next_room;
  d.room(from).exits[static_cast<std::size_t>(slot)] = {passage.label, passage.kind, m};
  RoomRecord& created = d.rooms.create(m);
  created.exits[kBackSlot] = {passage.back_label, passage.back_kind, from};
  created.level = passage.level;
  d.tally.next_room = m + 1;
  return push_pending(d, m);
}

}  // namespace dungeon
