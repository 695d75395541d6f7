// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/level_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "atlas/plan/draw/sizes.h"
#include "atlas/plan/draw/svg_symbols.h"

namespace atlas::draw {
namespace {

// How far under a room its lines may hang: marks and three stairs lines.
constexpr int kLabelsBelow = 30;

int down_to_ten(int feet) {
  return static_cast<int>(std::floor(feet / 10.0)) * 10;
}

int up_to_ten(int feet) {
  return static_cast<int>(std::ceil(feet / 10.0)) * 10;
}

Rect bounds_of(const PlanLevel& level) {
  std::optional<Rect> box;
  const auto take = [&](const Rect& r) { box = box ? united(*box, r) : r; };
  for (const PlanRoom& room : level.rooms) take(room.footprint());
  for (const PlanCorridor& corridor : level.corridors) {
    for (const Point& p : corridor.points) take({p.x, p.y, 0, 0});
  }
  const Rect b = box.value_or(Rect{});
  const int x = down_to_ten(b.x) - kMargin;
  const int y = down_to_ten(b.y) - kMargin;
  return {x, y, up_to_ten(b.right()) + kMargin - x, up_to_ten(b.bottom()) + kMargin - y};
}

bool goes_down(const PlanStairs& stairs, int level) {
  return stairs.to_level > level;
}

// As a pointer over a door names it: "Locked door".
std::string_view door_name(Passage passage) {
  switch (passage) {
    case Passage::kDoor:
      return "Door";
    case Passage::kArchway:
      return "Archway";
    case Passage::kLockedDoor:
      return "Locked door";
    case Passage::kBrokenDoor:
      return "Broken door";
  }
  return "Door";
}

std::string marks_of(const PlanRoom& room) {
  std::string marks;
  if (room.monster) marks += "M";
  if (room.trap) marks += marks.empty() ? "T" : " T";
  if (room.treasure) marks += marks.empty() ? "$" : " $";
  return marks;
}

Rect box_of(const std::vector<Point>& points) {
  Rect box{points.empty() ? 0 : points[0].x, points.empty() ? 0 : points[0].y, 0, 0};
  for (const Point& p : points) box = united(box, {p.x, p.y, 0, 0});
  return box;
}

Rect grown(Rect r, double by) {
  const int margin = static_cast<int>(std::ceil(by));
  return {r.x - margin, r.y - margin, r.w + 2 * margin, r.h + 2 * margin};
}

void path_points(Markup& d, const std::vector<Point>& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    d << (i == 0 ? "M" : "L") << points[i].x << ' ' << points[i].y;
  }
}

}  // namespace

const std::vector<Point>& LevelDrawing::stub_of(const PlanDoor& door) const {
  static const std::vector<Point> kNone;
  const PlanRoom* room = door.room > 0 && static_cast<std::size_t>(door.room) < room_of_.size()
                             ? room_of_[static_cast<std::size_t>(door.room)]
                             : nullptr;
  return room == nullptr ? kNone : room->door_stubs[static_cast<std::size_t>(door.slot)];
}

int LevelDrawing::leads_to(const PlanDoor& door) const {
  return door_to_[static_cast<std::size_t>(door.room)][static_cast<std::size_t>(door.slot)];
}

LevelDrawing::LevelDrawing(const PlanLevel& level, const DrawOptions& options, bool bare)
    : level_(level),
      options_(options),
      bare_(bare),
      links_(options.links && !bare),
      id_prefix_(options.prefixed_ids ? level_id_prefix(level.level) : ""),
      bounds_(bounds_of(level)) {
  int highest = 0;
  for (const PlanRoom& room : level.rooms) highest = std::max(highest, room.number);
  const auto rooms = static_cast<std::size_t>(highest) + 1;
  room_of_.assign(rooms, nullptr);
  doors_of_.resize(rooms);
  stairs_of_.resize(rooms);
  door_to_.resize(rooms);
  for (const PlanRoom& room : level.rooms) room_of_[static_cast<std::size_t>(room.number)] = &room;
  for (const PlanDoor& door : level.doors) {
    if (door.room > 0 && door.room <= highest)
      doors_of_[static_cast<std::size_t>(door.room)].push_back(&door);
  }
  for (const PlanStairs& stairs : level.stairs) {
    if (stairs.room > 0 && stairs.room <= highest)
      stairs_of_[static_cast<std::size_t>(stairs.room)].push_back(&stairs);
  }
  const auto known = [&](const PassageEnd& end) {
    return end.room > 0 && end.room <= highest && end.slot >= 0 && end.slot < dungeon::kExitSlots;
  };
  for (const PlanCorridor& corridor : level.corridors) {
    const PassageEnd& a = corridor.from;
    const PassageEnd& b = corridor.to;
    if (!known(a) || !known(b)) continue;
    door_to_[static_cast<std::size_t>(a.room)][static_cast<std::size_t>(a.slot)] = b.room;
    door_to_[static_cast<std::size_t>(b.room)][static_cast<std::size_t>(b.slot)] = a.room;
  }
}

void LevelDrawing::write(Markup& svg, double x, double y) const {
  const Rect& b = bounds_;
  svg << "<g id=\"";
  svg.text(id_prefix_) << "level-" << level_.level << "\" transform=\"translate(" << x - b.x << ' '
                       << y - b.y << ")\">";
  svg << "<rect x=\"" << b.x << "\" y=\"" << b.y << "\" width=\"" << b.w << "\" height=\"" << b.h
      << "\" fill=\"#e2e2e2\"/>";
  write_corridors(svg);
  for (const PlanRoom& room : level_.rooms) write_room(svg, room);
  write_grid(svg);
  svg << "</g>";
}

void LevelDrawing::write_region(Markup& svg, const Rect& region) const {
  const Rect& r = region;
  const auto meets = [&](const Rect& box) {
    return box.x <= r.right() && box.right() >= r.x && box.y <= r.bottom() && box.bottom() >= r.y;
  };
  svg << "<rect x=\"" << r.x << "\" y=\"" << r.y << "\" width=\"" << r.w << "\" height=\"" << r.h
      << "\" fill=\"#e2e2e2\"/>";
  // Whole corridors, clipped by the tile: a corridor is a line 5 feet wide.
  std::vector<const std::vector<Point>*> lines;
  for (const PlanCorridor& corridor : level_.corridors) {
    if (meets(grown(box_of(corridor.points), kCorridor))) lines.push_back(&corridor.points);
  }
  for (const PlanDoor& door : level_.doors) {
    const std::vector<Point>& stub = stub_of(door);
    if (!stub.empty() && meets(grown(box_of(stub), kCorridor))) lines.push_back(&stub);
  }
  write_corridor_lines(svg, lines);
  // A room's texts may hang under it, its doors out of its walls.
  for (const PlanRoom& room : level_.rooms) {
    Rect reach = grown(room.footprint(), kCorridor);
    reach.h += kLabelsBelow;
    if (meets(reach)) write_room(svg, room);
  }
  write_grid_lines(svg, r);
}

// Each corridor is drawn twice, black and wide then white and narrow, so that
// crossing corridors merge. The doors of rooms that are not rectangles are
// on the footprint's edge: their passages in to the walls are corridors too.
void LevelDrawing::write_corridors(Markup& svg) const {
  std::vector<const std::vector<Point>*> lines;
  for (const PlanCorridor& corridor : level_.corridors) lines.push_back(&corridor.points);
  for (const PlanDoor& door : level_.doors) lines.push_back(&stub_of(door));
  write_corridor_lines(svg, lines);
}

void LevelDrawing::write_corridor_lines(Markup& svg,
                                        const std::vector<const std::vector<Point>*>& lines) const {
  std::string path;
  path.reserve(lines.size() * 40);
  Markup d(path);
  for (const std::vector<Point>* points : lines) path_points(d, *points);
  if (path.empty()) return;
  svg << "<g class=\"corridors\" fill=\"none\" stroke-linejoin=\"miter\"><path d=\"" << path
      << "\" stroke=\"#000\" stroke-width=\"" << kCorridor + 2 * kCorridorEdge
      << "\" stroke-linecap=\"square\"/><path d=\"" << path << "\" stroke=\"#fff\" stroke-width=\""
      << kCorridor << "\" stroke-linecap=\"square\"/></g>";
}

// Over everything, in see-through black: grey on the floor, darker on the
// rock, and no mark on walls, symbols and letters. (A pattern fill would do
// the same at many times the cost of drawing.) A 5-foot grid keeps the
// 10-foot lines as they are and adds fainter ones between them.
void LevelDrawing::write_grid(Markup& svg) const {
  write_grid_lines(svg, bounds_);
}

// The level's bounds lie on 10-foot lines; a region's edges may not.
void LevelDrawing::write_grid_lines(Markup& svg, const Rect& area) const {
  if (options_.grid == GridLines::kNone) return;
  const Rect b{down_to_ten(area.x), down_to_ten(area.y), 0, 0};
  const int right = area.right();
  const int bottom = area.bottom();
  const auto lines = [&](int first, int step) {
    for (int x = b.x + first; x <= right; x += step) {
      if (x >= area.x) svg << 'M' << x << ' ' << area.y << 'V' << bottom;
    }
    for (int y = b.y + first; y <= bottom; y += step) {
      if (y >= area.y) svg << 'M' << area.x << ' ' << y << 'H' << right;
    }
  };
  svg << "<path class=\"grid\" d=\"";
  lines(0, 10);
  svg << "\" stroke=\"#000\" stroke-opacity=\"0.22\" stroke-width=\"0.3\"/>";
  if (options_.grid == GridLines::kFiveFeet) {
    svg << "<path class=\"grid\" d=\"";
    lines(5, 10);
    svg << "\" stroke=\"#000\" stroke-opacity=\"0.12\" stroke-width=\"0.2\"/>";
  }
}

// A room is one group, the target of links to it; inside, the floor and its
// texts link to the key entry, and each door and stair to where it leads.
// Links never nest.
void LevelDrawing::write_room(Markup& svg, const PlanRoom& room) const {
  if (bare_) {
    svg << "<g class=\"room-" << room.number << "\">";
  } else {
    svg << "<g id=\"";
    svg.text(id_prefix_) << "room-" << room.number << "\">";
    write_title(svg, room);
  }
  if (links_) svg << "<a href=\"#room-" << room.number << "\">";
  if (!room.generated && !options_.player) {
    write_unexplored(svg, room);
    if (links_) svg << "</a>";
  } else {
    write_floor(svg, room);
    const RoomLabel label = fit_label(room);
    write_texts(svg, room, label);
    if (links_) svg << "</a>";
    const std::vector<const PlanStairs*>& stairs =
        stairs_of_[static_cast<std::size_t>(room.number)];
    for (std::size_t i = 0; i < stairs.size(); ++i) write_stairs(svg, *stairs[i], label.stairs[i]);
  }
  write_doors(svg, room);
  svg << "</g>";
}

// The game master's map names the room and what it is; the players' map
// names at most the number they see.
void LevelDrawing::write_title(Markup& svg, const PlanRoom& room) const {
  if (options_.player) {
    if (options_.room_numbers) svg << "<title>Room " << room.number << "</title>";
    return;
  }
  svg << "<title>Room " << room.number << ": ";
  svg.text(room.generated ? std::string_view(room.description) : "not explored") << "</title>";
}

// Walls, floor and water. A room an overflow never generated is, to the
// players, a plain 10-foot room.
void LevelDrawing::write_floor(Markup& svg, const PlanRoom& room) const {
  constexpr std::string_view kWalls = "\" stroke=\"#000\" stroke-width=\"1.2\"";
  if (room.outline.empty()) {
    svg << "<rect class=\"walls\" x=\"" << room.x << "\" y=\"" << room.y << "\" width=\""
        << room.width << "\" height=\"" << room.height << "\" fill=\"#fff" << kWalls << "/>";
  } else {
    svg << "<path class=\"walls\" d=\"";
    path_points(svg, room.outline);
    svg << "Z\" fill=\"#fff" << kWalls << " stroke-linejoin=\"round\"/>";
  }

  // Water sits low in the room, the label above it.
  const double cx = room.x + room.width / 2.0;
  const double cy = room.y + room.height / 2.0;
  if (room.water == Water::kLake) {
    water_symbol(svg, cx, cy + room.height * 0.16, room.width * 0.3, room.height * 0.2, false);
  } else if (room.water != Water::kNone) {
    const double rx = std::min(room.width, room.height) * 0.15;
    water_symbol(svg, cx + room.width * 0.16, cy + room.height * 0.2, rx, rx * 0.7,
                 room.water == Water::kMagicalPool && !options_.player);
  }
}

// A dashed 10-foot square with its number, and "not explored" under it.
void LevelDrawing::write_unexplored(Markup& svg, const PlanRoom& room) const {
  const double cx = room.x + room.width / 2.0;
  const double cy = room.y + room.height / 2.0;
  svg << "<rect class=\"walls\" x=\"" << room.x << "\" y=\"" << room.y << "\" width=\""
      << room.width << "\" height=\"" << room.height
      << "\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.6\" stroke-dasharray=\"2 1.5\"/>"
      << "<text x=\"" << cx << "\" y=\"" << cy + 1.4 << "\" font-size=\"4\" "
      << "text-anchor=\"middle\" font-weight=\"bold\">" << room.number << "</text>"
      << "<text x=\"" << cx << "\" y=\"" << room.y + room.height + 3 << "\" font-size=\""
      << kLabelFont * 0.8
      << "\" text-anchor=\"middle\" stroke=\"#fff\" stroke-width=\"0.8\" "
         "paint-order=\"stroke\">not explored</text>";
}

std::string LevelDrawing::stairs_words(const PlanStairs& stairs) const {
  if (options_.player) return "";
  return (goes_down(stairs, level_.level) ? "down " : "up ") +
         std::to_string(std::abs(stairs.to_level - level_.level)) + " to room " +
         std::to_string(stairs.to_room);
}

RoomLabel LevelDrawing::fit_label(const PlanRoom& room) const {
  const std::vector<const PlanStairs*>& stairs = stairs_of_[static_cast<std::size_t>(room.number)];
  LabelRoom fitted{room.footprint(), !room.outline.empty(),
                   room.number,      options_.player ? 0 : marks_of(room).size(),
                   room.water,       {}};
  for (const PlanStairs* one : stairs) {
    fitted.stairs_lines.push_back(stairs_line_width(stairs_words(*one).size()));
  }
  return fit_room_label(fitted);
}

void LevelDrawing::write_texts(Markup& svg, const PlanRoom& room, const RoomLabel& label) const {
  if (options_.room_numbers) {
    svg << "<text x=\"" << label.number.x << "\" y=\"" << label.number.y << "\" font-size=\""
        << label.number_font << "\" font-weight=\"bold\" text-anchor=\"middle\">" << room.number
        << "</text>";
  }
  const std::string marks = options_.player ? "" : marks_of(room);
  // The players' map hangs nothing under a room: its stairs keep their
  // symbols in the room, and it has no marks or destinations.
  if (label.leader && !options_.player) {
    line(svg, label.leader->from.x, label.leader->from.y, label.leader->to.x, label.leader->to.y,
         "class=\"leader\" stroke=\"#000\" stroke-width=\"0.3\"");
  }
  if (!marks.empty()) {
    svg << "<text class=\"marks\" x=\"" << label.marks.x << "\" y=\"" << label.marks.y
        << "\" font-size=\"" << label.marks_font
        << "\" text-anchor=\"middle\" stroke=\"#fff\" stroke-width=\"0.8\" paint-order=\"stroke\">"
        << marks << "</text>";
  }
}

// A door of a room that is not a rectangle is drawn where its passage meets
// the walls, across the passage's last leg. Each names the room it opens
// toward, as a pointer over it shows.
void LevelDrawing::write_doors(Markup& svg, const PlanRoom& room) const {
  for (const PlanDoor* door : doors_of_[static_cast<std::size_t>(room.number)]) {
    const Passage passage = passage_kind(door->passage);
    const int to = leads_to(*door);
    const bool named = to > 0 && !options_.player;
    if (links_ && to > 0) {
      svg << "<a class=\"door\" href=\"#";
      svg.text(id_prefix_) << "room-" << to << "\">";
    } else {
      svg << "<g class=\"door\">";
    }
    if (!bare_) {
      svg << "<title>" << door_name(passage);
      if (named) svg << " to room " << to;
      svg << "</title>";
    }
    const std::vector<Point>& stub = room.door_stubs[static_cast<std::size_t>(door->slot)];
    if (stub.empty()) {
      door_symbol(svg, door->at.x, door->at.y, door->wall, passage);
    } else {
      const Point end = stub.back();
      const Point before = stub[stub.size() - 2];
      door_symbol(svg, end.x, end.y, wall_entered(before, end), passage);
    }
    svg << (links_ && to > 0 ? "</a>" : "</g>");
  }
}

// One line: the stairs symbol and where they lead; or the symbol apart, at
// its icon, and the words alone, centred on the line. The players' map has
// the symbol alone.
void LevelDrawing::write_stairs(Markup& svg, const PlanStairs& stairs,
                                const StairsLine& line) const {
  const std::string words = stairs_words(stairs);
  const bool down = goes_down(stairs, level_.level);
  if (links_) {
    svg << "<a href=\"#";
    svg.text(level_id_prefix(stairs.to_level)) << "room-" << stairs.to_room << "\">";
  }
  svg << "<g class=\"stairs\">";
  if (!bare_) {
    svg << "<title>";
    if (options_.player) {
      svg << (down ? "Stairs down" : "Stairs up");
    } else {
      svg.text(stairs.direction) << " to room " << stairs.to_room << " on level "
                                 << stairs.to_level;
    }
    svg << "</title>";
  }
  double text_x = line.middle.x;
  if (line.icon) {
    stairs_symbol(svg, line.icon->at.x, line.icon->at.y, line.icon->size, down);
  } else if (words.empty()) {
    // The players' stairs: the symbol alone, as tall as a line.
    stairs_symbol(svg, line.middle.x, line.middle.y, kLabelFont * 0.7, down);
  } else {
    const double left = line.middle.x - stairs_line_width(words.size()) / 2;
    stairs_symbol(svg, left + 1.5, line.middle.y, kLabelFont * 0.5, down);
    text_x = left + kStairsIcon;
  }
  if (!words.empty()) {
    svg << "<text x=\"" << text_x << "\" y=\"" << line.middle.y + kLabelFont * 0.36
        << "\" font-size=\"" << kLabelFont << (line.icon ? "\" text-anchor=\"middle" : "")
        << "\" stroke=\"#fff\" stroke-width=\"0.8\" paint-order=\"stroke\">";
    svg.text(words) << "</text>";
  }
  svg << "</g>";
  if (links_) svg << "</a>";
}

}  // namespace atlas::draw
