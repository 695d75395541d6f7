// SPDX-License-Identifier: MIT
#include "atlas/export/dungeon_json.h"

namespace atlas {
namespace {

using nlohmann::ordered_json;

ordered_json room_json(const dungeon::RoomRecord& room, int number) {
  ordered_json exits = ordered_json::array();
  for (std::size_t slot = 0; slot < room.exits.size(); ++slot) {
    const dungeon::Exit& exit = room.exits[slot];
    if (exit.room <= 0) continue;
    exits.push_back(
        {{"slot", slot}, {"direction", exit.label}, {"passage", exit.kind}, {"room", exit.room}});
  }
  ordered_json treasure = ordered_json::array();
  for (std::string& line : treasure_lines(room.treasure.view()))
    treasure.push_back(std::move(line));

  ordered_json json;
  json["number"] = number;
  json["level"] = room.level;
  json["description"] = room.description.view();
  json["exits"] = std::move(exits);
  json["monster"] = room.monster;
  json["trap"] = room.trap.empty() ? ordered_json(nullptr) : ordered_json(room.trap);
  json["treasure"] = std::move(treasure);
  return json;
}

}  // namespace

ordered_json dungeon_json(const FinishedRun& run) {
  const dungeon::Dungeon& d = run.d();
  ordered_json rooms = ordered_json::array();
  for (int i = 0; i < d.reported; ++i) {
    const int number = d.report_order[static_cast<std::size_t>(i)];
    rooms.push_back(room_json(d.room(number), number));
  }

  ordered_json summary = nullptr;
  if (!run.overflowed()) {
    summary = {{"deepest_level", d.tally.deepest_level},
               {"rooms", d.tally.rooms()},
               {"traps", d.tally.trap_count},
               {"monsters", d.tally.monster_count},
               {"treasures", d.tally.treasure_count}};
  }

  ordered_json json;
  json["seed"] = run.seed();
  json["outcome"] = outcome_name(run.outcome());
  json["rooms"] = std::move(rooms);
  json["summary"] = std::move(summary);
  return json;
}

}  // namespace atlas
