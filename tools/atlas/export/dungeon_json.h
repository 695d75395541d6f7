// SPDX-License-Identifier: MIT
// A finished run as one JSON document, for tools that would otherwise have to
// parse the report. docs/dungeon-atlas.schema.json describes it.
#ifndef ATLAS_EXPORT_DUNGEON_JSON_H_
#define ATLAS_EXPORT_DUNGEON_JSON_H_

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "framework/room_table.h"
#include "framework/run.h"

namespace atlas {

// "complete" or "overflow", as the JSON documents spell it.
std::string_view outcome_name(dungeon::RunOutcome outcome);

// The lines of a room's treasure text (each line ends in "\n\t" there).
std::vector<std::string> treasure_lines(std::string_view treasure);

// The rooms in the order the report printed them, and the summary (null when
// the run overflowed and the report has none).
nlohmann::ordered_json dungeon_json(const dungeon::Dungeon& d, uint32_t seed,
                                    dungeon::RunOutcome outcome);

}  // namespace atlas

#endif  // ATLAS_EXPORT_DUNGEON_JSON_H_
