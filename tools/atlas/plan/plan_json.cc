// SPDX-License-Identifier: MIT
#include "atlas/plan/plan_json.h"

#include <string>

#include "atlas/common/finished_run.h"

namespace atlas {
namespace {

using nlohmann::ordered_json;

ordered_json point_json(const Point& p) {
  return ordered_json::array({p.x, p.y});
}

std::string_view water_name(Water water) {
  switch (water) {
    case Water::kPool:
      return "pool";
    case Water::kMagicalPool:
      return "magical pool";
    case Water::kLake:
      return "lake";
    case Water::kNone:
      break;
  }
  return "none";
}

ordered_json room_json(const PlanRoom& room) {
  ordered_json out;
  out["number"] = room.number;
  out["shape"] = plan_shape_name(room.shape);
  out["x"] = room.x;
  out["y"] = room.y;
  out["width"] = room.width;
  out["height"] = room.height;
  out["generated"] = room.generated;
  if (room.water != Water::kNone) out["water"] = water_name(room.water);
  if (room.shape != PlanShape::kRectangle) {
    ordered_json outline = ordered_json::array();
    for (const Point& p : room.outline) outline.push_back(point_json(p));
    out["outline"] = std::move(outline);
  }
  return out;
}

ordered_json level_json(const PlanLevel& level) {
  ordered_json out;
  out["level"] = level.level;
  ordered_json rooms = ordered_json::array();
  for (const PlanRoom& room : level.rooms) rooms.push_back(room_json(room));
  out["rooms"] = std::move(rooms);
  ordered_json doors = ordered_json::array();
  for (const PlanDoor& door : level.doors) {
    doors.push_back({{"room", door.room},
                     {"slot", door.slot},
                     {"wall", wall_name(door.wall)},
                     {"x", door.at.x},
                     {"y", door.at.y},
                     {"passage", door.passage}});
  }
  out["doors"] = std::move(doors);
  ordered_json corridors = ordered_json::array();
  for (const PlanCorridor& corridor : level.corridors) {
    ordered_json points = ordered_json::array();
    for (const Point& p : corridor.points) points.push_back(point_json(p));
    corridors.push_back({{"from", {{"room", corridor.from.room}, {"slot", corridor.from.slot}}},
                         {"to", {{"room", corridor.to.room}, {"slot", corridor.to.slot}}},
                         {"points", std::move(points)}});
  }
  out["corridors"] = std::move(corridors);
  ordered_json stairs = ordered_json::array();
  for (const PlanStairs& s : level.stairs) {
    stairs.push_back({{"room", s.room},
                      {"slot", s.slot},
                      {"direction", s.direction},
                      {"to_room", s.to_room},
                      {"to_level", s.to_level}});
  }
  out["stairs"] = std::move(stairs);
  out["crossings"] = level.crossings;
  return out;
}

}  // namespace

ordered_json plan_json(const Plan& plan) {
  ordered_json out;
  out["seed"] = plan.seed;
  out["outcome"] = outcome_name(plan.outcome);
  out["unit"] = "ft";
  ordered_json levels = ordered_json::array();
  for (const PlanLevel& level : plan.levels) levels.push_back(level_json(level));
  out["levels"] = std::move(levels);
  return out;
}

}  // namespace atlas
