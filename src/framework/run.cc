// SPDX-License-Identifier: MIT
#include "framework/run.h"

#include <ctime>

#include "framework/report.h"
#include "tables/contents.h"
#include "tables/exits.h"
#include "tables/room_shape.h"

namespace dungeon {
namespace {

constexpr std::string_view kStartDescription = "Start 40 x 60 Room";

// `report` is null when nobody reads the report: the rooms are still
// recorded in print order, but no text is formatted.
void print_and_record(Dungeon& d, Report* report, int n) {
  if (report != nullptr) print_room(*report, d.room(n), n);
  d.report_order[static_cast<std::size_t>(d.reported++)] = n;
}

// Every room that would have gone over the limit is caught by push_pending,
// and every false on the way up returns at once, so nothing is printed
// between the refusal and this line.
RunOutcome overflow(Report* report) {
  if (report != nullptr) report->text("Error!!!\n");
  return RunOutcome::kOverflow;
}

RunOutcome grow(Dungeon& d, uint32_t seed, Report* report) {
  d.random.random_seed(seed);
  d.pending.top = 0;
  d.tally = DungeonTally{};
  d.tally.deepest_level = 1;
  d.reported = 0;
  d.descriptions.clear();
  d.treasures.clear();

  RoomRecord& start = d.rooms.create(1);
  d.descriptions.assign(start.description, kStartDescription);
  start.level = 1;

  // Rooms 2 to 5 are the start room's neighbours, in slots 0 to 3.
  static constexpr std::string_view kStartDoors[] = {kNorth, kEast, kSouth, kWest};
  d.tally.next_room = 2;
  for (int slot = 0; slot < 4; ++slot) {
    const std::string_view label = kStartDoors[slot];
    if (!add_room(d, 1, slot, {label, kDoor, opposite_direction(label), kDoor, 1})) {
      return overflow(report);
    }
  }
  print_and_record(d, report, 1);

  while (d.pending.top > 0) {
    const int n = pop_pending(d);
    if (!generate_room(d, n)) return overflow(report);
    print_and_record(d, report, n);
  }
  if (report != nullptr) print_summary(*report, d.tally);
  return RunOutcome::kComplete;
}

}  // namespace

bool generate_room(Dungeon& d, int n) {
  const int area = describe_room(d, n);
  if (!place_exits(d, n, area)) return false;
  return stock_room(d, n, d.room(n).level, kStairsSlot);
}

RunOutcome run_dungeon(Dungeon& d, uint32_t seed, std::ostream& out) {
  OstreamSink sink(out);
  return run_dungeon(d, seed, sink);
}

RunOutcome run_dungeon(Dungeon& d, uint32_t seed, ReportSink& out) {
  if (out.discards()) return grow(d, seed, nullptr);
  Report report(out);
  const RunOutcome outcome = grow(d, seed, &report);
  report.flush();
  return outcome;
}

uint32_t clock_seed() {
  return static_cast<uint32_t>(std::time(nullptr));
}

}  // namespace dungeon
