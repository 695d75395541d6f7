// SPDX-License-Identifier: MIT
#include "atlas/book/room_key.h"

#include <string>
#include <vector>

#include "atlas/plan/draw/draw_options.h"

namespace atlas {
namespace {

void room_link(Markup& page, int room) {
  page << "<a href=\"#room-" << room << "\">room " << room << "</a>";
}

// "North: Door, to room 12", "Down 2 Levels: Stair Down, to room 57 on level 3".
void exit_line(Markup& page, const dungeon::Dungeon& d, const dungeon::Exit& exit, int level) {
  page << "<li>";
  page.text(exit.label) << ": ";
  page.text(exit.kind) << ", to ";
  room_link(page, exit.room);
  const int to_level = d.room(exit.room).level;
  if (to_level != level) page << " on level " << to_level;
  page << "</li>\n";
}

void contents(Markup& page, const dungeon::RoomRecord& room) {
  const std::vector<std::string> treasure = treasure_lines(room.treasure.view());
  if (!room.monster && room.trap.empty() && treasure.empty()) {
    page << "<p class=\"empty\">No monster, trap or treasure.</p>\n";
    return;
  }
  page << "<ul class=\"contents\">\n";
  if (room.monster) page << "<li>Monster</li>\n";
  if (!room.trap.empty()) {
    page << "<li>Trap: ";
    page.text(room.trap) << "</li>\n";
  }
  if (!treasure.empty()) {
    page << "<li>Treasure:\n<ul>\n";
    for (const std::string& line : treasure) {
      page << "<li>";
      page.text(line) << "</li>\n";
    }
    page << "</ul>\n</li>\n";
  }
  page << "</ul>\n";
}

}  // namespace

void room_entry(Markup& page, const FinishedRun& run, int number) {
  const dungeon::Dungeon& d = run.d();
  const dungeon::RoomRecord& room = d.room(number);
  const bool generated = run.generated(number);
  page << "<article class=\"entry" << (generated ? "" : " unexplored") << "\" id=\"room-" << number
       << "\">\n<h3>Room " << number << "</h3>\n<p class=\"description\">";
  if (generated) {
    page.text(room.description.view());
  } else {
    page << "Not explored: the run stopped at the room limit before this room was generated.";
  }
  page << "</p>\n";

  // An unexplored room has only its way back.
  page << "<ul class=\"exits\">\n";
  for (std::size_t slot = 0; slot < room.exits.size(); ++slot) {
    if (!generated && slot != dungeon::kBackSlot) break;
    if (room.exits[slot].room > 0) exit_line(page, d, room.exits[slot], room.level);
  }
  page << "</ul>\n";

  if (generated) contents(page, room);
  // The room on its plan, which scrolls to it and marks it.
  page << "<p class=\"back\"><a href=\"#" << level_id_prefix(room.level) << "room-" << number
       << "\">Room " << number << " on the plan of level " << room.level
       << "</a></p>\n</article>\n";
}

}  // namespace atlas
