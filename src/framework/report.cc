// SPDX-License-Identifier: MIT
#include "framework/report.h"

#include <charconv>

namespace dungeon {
namespace {

constexpr std::size_t kSpillSize = 1 << 16;

}  // namespace

Report::Report(ReportSink& sink) : sink_(sink) {
  buffer_.reserve(kSpillSize + 4096);
}

Report::~Report() {
  flush();
}

void Report::text(std::string_view s) {
  buffer_.append(s);
  spill_if_full();
}

void Report::number(int value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  buffer_.append(digits, result.ptr);
  spill_if_full();
}

void Report::spill_if_full() {
  if (buffer_.size() < kSpillSize) return;
  sink_.write(buffer_);
  buffer_.clear();
}

void Report::flush() {
  if (!buffer_.empty()) {
    sink_.write(buffer_);
    buffer_.clear();
  }
  sink_.flush();
}

void print_room(Report& report, const RoomRecord& room, int n) {
  report.text("Room Level: ");
  report.number(room.level);
  report.text("\tRoom Number ");
  report.number(n);
  report.text("\nDescription: ");
  report.text(room.description.view());
  report.text("\nExits: \n");
  for (const Exit& exit : room.exits) {
    if (exit.room <= 0) continue;
    report.text("\t");
    report.text(exit.label);
    report.text(" through a ");
    report.text(exit.kind);
    report.text("\t");
    report.number(exit.room);
    report.text("\n");
  }
  report.text("Contents: \n");
  if (room.monster) report.text("\tMonster\n");
  if (!room.trap.empty()) {
    report.text("\t");
    report.text(room.trap);
    report.text("\n");
  }
  if (!room.treasure.empty()) {
    report.text("\t");
    report.text(room.treasure.view());
    report.text("\n");
  }
  report.text("\n----------------------------------------\n");
}

void print_summary(Report& report, const DungeonTally& tally) {
  report.text("Deepest Dungeon level: ");
  report.number(tally.deepest_level);
  report.text("\nTotal Number Of Rooms: ");
  report.number(tally.rooms());
  report.text("\nTotal Number Of Traps: ");
  report.number(tally.trap_count);
  report.text("\nTotal Number Of Monsters: ");
  report.number(tally.monster_count);
  report.text("\nTotal Number Of Treasures: ");
  report.number(tally.treasure_count);
  report.text("\n");
}

}  // namespace dungeon
