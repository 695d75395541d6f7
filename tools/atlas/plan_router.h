// Corridors routed on the plan's 5-foot lattice when no straight or
// Z-shaped run fits: a cheapest path with a price on every bend, rooms as
// walls, and other corridors crossed only when there is no way around.
#ifndef ATLAS_PLAN_ROUTER_H_
#define ATLAS_PLAN_ROUTER_H_

#include <vector>

#include "atlas/plan_grid.h"

namespace atlas {

struct Cell {
  int i = 0;
  int j = 0;
  bool operator==(const Cell&) const = default;
};

// North, east, south, west: the order every search tries them in.
enum Dir : int { kDirNorth = 0, kDirEast = 1, kDirSouth = 2, kDirWest = 3 };
inline constexpr int kStepI[4] = {0, 1, 0, -1};
inline constexpr int kStepJ[4] = {-1, 0, 1, 0};

// The cells of a corridor from door cell `from`, left in direction `out`, to
// door cell `to`, entered in direction `in`, both door cells included; every
// other cell lies inside `region` and outside every room and `new_room` (the
// room `to` belongs to, not yet on the grid). Empty when `region` holds no
// such path. The free lattice around rooms kept 10' apart is
// connected, so a region with a free border always holds one.
std::vector<Cell> route_corridor(const CellGrid& grid, Cell from, Dir out, Cell to, Dir in,
                                 const CellBox& new_room, const CellBox& region);

}  // namespace atlas

#endif  // ATLAS_PLAN_ROUTER_H_
