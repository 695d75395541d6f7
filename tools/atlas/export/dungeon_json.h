// SPDX-License-Identifier: MIT
// A finished run as one JSON document, for tools that would otherwise have to
// parse the report. docs/dungeon-atlas.schema.json describes it.
#ifndef ATLAS_EXPORT_DUNGEON_JSON_H_
#define ATLAS_EXPORT_DUNGEON_JSON_H_

#include <nlohmann/json.hpp>

#include "atlas/common/finished_run.h"

namespace atlas {

// The rooms in the order the report printed them, and the summary (null when
// the run overflowed and the report has none).
nlohmann::ordered_json dungeon_json(const FinishedRun& run);

}  // namespace atlas

#endif  // ATLAS_EXPORT_DUNGEON_JSON_H_
