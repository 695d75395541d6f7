// SPDX-License-Identifier: MIT
#include "atlas/plan/describe.h"

#include <algorithm>

#include "atlas/plan/room_outline.h"

namespace atlas {
namespace {

void describe_room(PlanRoom& room, const dungeon::RoomRecord& record) {
  if (room.generated) room.description = record.description.view();
  room.monster = record.monster;
  room.trap = !record.trap.empty();
  room.treasure = !record.treasure.view().empty();
}

// REQUIRES: the level has room `number`.
PlanRoom& room_of(PlanLevel& level, int number) {
  return *std::lower_bound(level.rooms.begin(), level.rooms.end(), number,
                           [](const PlanRoom& room, int n) { return room.number < n; });
}

}  // namespace

void describe_plan(Plan& plan, const FinishedRun& run) {
  for (PlanLevel& level : plan.levels) {
    for (PlanRoom& room : level.rooms) describe_room(room, run.d().room(room.number));
    for (const PlanDoor& door : level.doors) {
      PlanRoom& room = room_of(level, door.room);
      if (!room.outline.empty()) {
        room.door_stubs[static_cast<std::size_t>(door.slot)] = door_stub(room, door.wall, door.at);
      }
    }
  }
}

}  // namespace atlas
