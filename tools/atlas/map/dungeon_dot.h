// SPDX-License-Identifier: MIT
// The dungeon as a Graphviz graph: rooms are nodes grouped by level,
// passages and stairs are edges. The text is plain DOT, so writing it needs
// nothing from Graphviz; render_dot.h turns it into pictures.
#ifndef ATLAS_MAP_DUNGEON_DOT_H_
#define ATLAS_MAP_DUNGEON_DOT_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "atlas/common/finished_run.h"
#include "framework/room_table.h"

namespace atlas {

// One way between two rooms, seen from the room that created it: a passage
// or stairs. Every room but the start room was created by exactly one other,
// so the connections of a run are as many as its rooms less one.
struct Connection {
  int from = 0;
  int to = 0;
  std::string_view label;  // "North", ... or "Down 2 Levels", ...
  std::string_view kind;   // "Door", "Archway", ... or "Stair Up"/"Stair Down"
  bool stairs = false;
};

// Every room the run numbered has one, printed or not (d.tally.rooms()):
// after an overflow the rooms still waiting to be generated exist only as a
// number, a level and the way back.
std::vector<Connection> connections(const dungeon::Dungeon& d);

// The DOT text of the map; with `level`, only that level's rooms, with stairs
// to other levels ending at small stand-ins for the rooms there. Throws
// UsageError when the dungeon has no room on `level`.
std::string dungeon_dot(const FinishedRun& run, std::optional<int> level = std::nullopt);

}  // namespace atlas

#endif  // ATLAS_MAP_DUNGEON_DOT_H_
