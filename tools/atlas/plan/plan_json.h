// SPDX-License-Identifier: MIT
// A plan as one JSON document, in feet, for tests and other tools;
// docs/dungeon-atlas-plan.schema.json describes it.
#ifndef ATLAS_PLAN_PLAN_JSON_H_
#define ATLAS_PLAN_PLAN_JSON_H_

#include <nlohmann/json.hpp>

#include "atlas/plan/plan.h"

namespace atlas {

nlohmann::ordered_json plan_json(const Plan& plan);

}  // namespace atlas

#endif  // ATLAS_PLAN_PLAN_JSON_H_
