// SPDX-License-Identifier: MIT
#include "atlas/plan/draw/plan_svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <string_view>

#include "atlas/common/markup.h"
#include "atlas/plan/room_footprint.h"
#include "atlas/plan/room_outline.h"

namespace atlas {
namespace {

// Sizes in feet: the drawing's user unit is the foot.
constexpr int kPixelsPerFoot = 4;
constexpr int kMargin = 20;
constexpr double kWall = 1.2;
constexpr double kCorridor = 5;
constexpr double kCorridorEdge = 0.5;
constexpr double kDoorAlong = 4.6;
constexpr double kDoorAcross = 2.4;
constexpr double kLabelFont = 3.2;
constexpr double kStairsIcon = 4;
constexpr double kLegendFont = 4;
constexpr double kHeadingFont = 7;
constexpr double kTitleFont = 9;
constexpr double kHeaderHeight = 58;
constexpr double kLegendWidth = 330;
constexpr std::string_view kFont = "DejaVu Sans, Helvetica, Arial, sans-serif";

// Whole numbers stay whole; the rest keep two decimals at most.
void append_number(std::string& out, double value) {
  const double rounded = std::round(value * 100) / 100;
  char buffer[32];
  std::to_chars_result result;
  if (rounded == std::floor(rounded) && std::abs(rounded) < 1e15) {
    result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(rounded));
  } else {
    result = std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 2);
    while (result.ptr[-1] == '0') --result.ptr;
  }
  out.append(buffer, result.ptr);
}

// Text built from pieces: literal markup, numbers and escaped strings.
class Svg {
 public:
  explicit Svg(std::string& out) : out_(out) {}
  Svg& operator<<(std::string_view markup) {
    out_ += markup;
    return *this;
  }
  Svg& operator<<(const char* markup) {
    out_ += markup;
    return *this;
  }
  Svg& operator<<(char c) {
    out_ += c;
    return *this;
  }
  Svg& operator<<(double value) {
    append_number(out_, value);
    return *this;
  }
  Svg& operator<<(int value) {
    append_number(out_, value);
    return *this;
  }
  // Escaped: for texts and attribute values that come from data.
  Svg& text(std::string_view value) {
    append_html_escaped(out_, value);
    return *this;
  }

 private:
  std::string& out_;
};

struct Box {
  double x0 = 0;
  double y0 = 0;
  double x1 = 0;
  double y1 = 0;
  double width() const { return x1 - x0; }
  double height() const { return y1 - y0; }
};

// The unit vector pointing into the room through `wall`, and the one along it.
struct WallFrame {
  double in_x;
  double in_y;
  double along_x;
  double along_y;
};

WallFrame frame_of(Wall wall) {
  switch (wall) {
    case Wall::kNorth:
      return {0, 1, 1, 0};
    case Wall::kSouth:
      return {0, -1, 1, 0};
    case Wall::kEast:
      return {-1, 0, 0, 1};
    case Wall::kWest:
      return {1, 0, 0, 1};
  }
  return {0, 1, 1, 0};
}

// A rectangle `along` by `across` centred on (x, y) and lying along the wall.
void wall_rect(Svg& svg, double x, double y, Wall wall, double along, double across,
               std::string_view style) {
  const bool horizontal = wall == Wall::kNorth || wall == Wall::kSouth;
  const double w = horizontal ? along : across;
  const double h = horizontal ? across : along;
  svg << "<rect x=\"" << x - w / 2 << "\" y=\"" << y - h / 2 << "\" width=\"" << w << "\" height=\""
      << h << "\" " << style << "/>";
}

void line(Svg& svg, double x0, double y0, double x1, double y1, std::string_view style) {
  svg << "<path d=\"M" << x0 << ' ' << y0 << 'L' << x1 << ' ' << y1 << "\" " << style << "/>";
}

// The symbols of classic dungeon maps, drawn at a door on its wall.
void door_symbol(Svg& svg, double x, double y, Wall wall, std::string_view passage) {
  const WallFrame f = frame_of(wall);
  constexpr std::string_view kDoorStyle = "fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.45\"";
  if (passage == dungeon::kArchway) {
    // A gap in the wall between two jambs.
    wall_rect(svg, x, y, wall, kDoorAlong, kWall + 0.4, "fill=\"#fff\"");
    for (const double side : {-1.0, 1.0}) {
      const double jx = x + f.along_x * side * kDoorAlong / 2;
      const double jy = y + f.along_y * side * kDoorAlong / 2;
      line(svg, jx - f.in_x * 1.6, jy - f.in_y * 1.6, jx + f.in_x * 1.6, jy + f.in_y * 1.6,
           "stroke=\"#000\" stroke-width=\"0.6\"");
    }
    return;
  }
  if (passage == dungeon::kBrokenDoor) {
    // Split in two, one half hanging open.
    const double half = kDoorAlong / 2;
    const double hx = x - f.along_x * half / 2;
    const double hy = y - f.along_y * half / 2;
    wall_rect(svg, x, y, wall, kDoorAlong, kWall + 0.4, "fill=\"#fff\"");
    wall_rect(svg, hx, hy, wall, half - 0.3, kDoorAcross, kDoorStyle);
    const double ox = x + f.along_x * half / 2;
    const double oy = y + f.along_y * half / 2;
    // Swung outward, away from the room's number and marks.
    const int swing = wall == Wall::kNorth || wall == Wall::kEast ? 35 : -35;
    svg << "<g transform=\"rotate(" << swing << ' ' << x + f.along_x * half << ' '
        << y + f.along_y * half << ")\">";
    wall_rect(svg, ox, oy, wall, half - 0.3, kDoorAcross, kDoorStyle);
    svg << "</g>";
    return;
  }
  wall_rect(svg, x, y, wall, kDoorAlong, kDoorAcross, kDoorStyle);
  if (passage == dungeon::kLockedDoor) {
    // A bolt through the door.
    line(svg, x - f.in_x * 2.2, y - f.in_y * 2.2, x + f.in_x * 2.2, y + f.in_y * 2.2,
         "stroke=\"#000\" stroke-width=\"0.9\"");
  }
}

// Treads across a 2s-by-s box; the narrow end is the lower one.
void stairs_symbol(Svg& svg, double cx, double cy, double s, bool down) {
  svg << "<path d=\"";
  constexpr int kTreads = 5;
  for (int i = 0; i <= kTreads; ++i) {
    const double t = static_cast<double>(i) / kTreads;
    const double narrow = down ? t : 1 - t;
    const double half = s * (0.5 - 0.25 * narrow);
    const double y = cy - s + 2 * s * t;
    svg << 'M' << cx - half << ' ' << y << 'H' << cx + half;
  }
  svg << "M" << cx - s / 2 << ' ' << (down ? cy - s : cy + s) << 'L' << cx - s / 4 << ' '
      << (down ? cy + s : cy - s) << 'M' << cx + s / 2 << ' ' << (down ? cy - s : cy + s) << 'L'
      << cx + s / 4 << ' ' << (down ? cy + s : cy - s)
      << "\" fill=\"none\" stroke=\"#000\" stroke-width=\"0.4\"/>";
}

// Rows of waves inside an oval of water, as many as its size allows.
void water_symbol(Svg& svg, double cx, double cy, double rx, double ry, bool magical) {
  svg << "<ellipse cx=\"" << cx << "\" cy=\"" << cy << "\" rx=\"" << rx << "\" ry=\"" << ry
      << "\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.5\"/><path d=\"";
  const int rows = std::clamp(static_cast<int>(ry / 16), 2, 6);
  const double step = std::min(rx * 0.25, 14.0);
  for (int i = 0; i < rows; ++i) {
    const double dy = ry * (-0.6 + 1.2 * (i + 0.5) / rows);
    const double room = 2 * rx * std::sqrt(1 - (dy / ry) * (dy / ry)) * 0.7;
    const int waves = std::max(2, static_cast<int>(room / step) / 2 * 2);
    svg << 'M' << cx - waves * step / 2 << ' ' << cy + dy;
    for (int k = 0; k < waves; ++k) {
      svg << 'q' << step / 2 << ' ' << (k % 2 == 0 ? -step * 0.3 : step * 0.3) << ' ' << step
          << " 0";
    }
  }
  svg << "\" fill=\"none\" stroke=\"#000\" stroke-width=\"" << std::clamp(step * 0.1, 0.35, 0.7)
      << "\"/>";
  if (magical) {
    svg << "<text x=\"" << cx << "\" y=\"" << cy + ry * 0.95 << "\" font-size=\"" << ry * 0.7
        << "\" text-anchor=\"middle\">*</text>";
  }
}

std::string stairs_label(const PlanStairs& stairs) {
  // "Down 2 Levels" -> "down 2 to room 57"
  std::string_view words = stairs.direction;
  const bool down = words.starts_with("Down");
  std::string label = down ? "down " : "up ";
  const std::size_t digit = words.find_first_of("0123456789");
  if (digit != std::string_view::npos) label += words[digit];
  label += " to room " + std::to_string(stairs.to_room);
  return label;
}

class LevelWriter {
 public:
  LevelWriter(std::string& out, const PlanLevel& level, const dungeon::Dungeon& d,
              const PlanSvgOptions& options)
      : svg_(out), level_(level), rooms_(level.rooms), d_(d), options_(options) {
    int highest = 0;
    for (PlanRoom& room : rooms_) {
      highest = std::max(highest, room.number);
      // A layout may leave the walls of shaped rooms to the drawing.
      if (room.generated && room.shape != PlanShape::kRectangle && room.outline.empty()) {
        room.outline = room_outline(room_footprint(d.room(room.number).description.view()), room);
      }
    }
    doors_of_.resize(static_cast<std::size_t>(highest) + 1);
    stairs_of_.resize(static_cast<std::size_t>(highest) + 1);
    room_of_.assign(static_cast<std::size_t>(highest) + 1, nullptr);
    for (const PlanRoom& room : rooms_) room_of_[static_cast<std::size_t>(room.number)] = &room;
    for (const PlanDoor& door : level.doors) {
      if (door.room > 0 && door.room <= highest)
        doors_of_[static_cast<std::size_t>(door.room)].push_back(&door);
    }
    for (const PlanStairs& stairs : level.stairs) {
      if (stairs.room > 0 && stairs.room <= highest)
        stairs_of_[static_cast<std::size_t>(stairs.room)].push_back(&stairs);
    }
    bounds_ = {1e18, 1e18, -1e18, -1e18};
    auto take = [&](double x, double y) {
      bounds_.x0 = std::min(bounds_.x0, x);
      bounds_.y0 = std::min(bounds_.y0, y);
      bounds_.x1 = std::max(bounds_.x1, x);
      bounds_.y1 = std::max(bounds_.y1, y);
    };
    for (const PlanRoom& room : rooms_) {
      take(room.x, room.y);
      take(room.x + room.width, room.y + room.height);
    }
    for (const PlanCorridor& corridor : level.corridors) {
      for (const Point& p : corridor.points) take(p.x, p.y);
    }
    if (bounds_.x0 > bounds_.x1) bounds_ = {0, 0, 0, 0};
    // Whole 10-foot squares, so that the grid lines up with the rooms.
    bounds_.x0 = std::floor(bounds_.x0 / 10) * 10 - kMargin;
    bounds_.y0 = std::floor(bounds_.y0 / 10) * 10 - kMargin;
    bounds_.x1 = std::ceil(bounds_.x1 / 10) * 10 + kMargin;
    bounds_.y1 = std::ceil(bounds_.y1 / 10) * 10 + kMargin;
  }

  const Box& bounds() const { return bounds_; }

  // The level with its bounds' north-west corner at (x, y) of the page.
  void write(double x, double y) {
    const std::string& p = options_.id_prefix;
    svg_ << "<g id=\"";
    svg_.text(p) << "level-" << level_.level << "\" transform=\"translate(" << x - bounds_.x0 << ' '
                 << y - bounds_.y0 << ")\">";
    svg_ << "<rect x=\"" << bounds_.x0 << "\" y=\"" << bounds_.y0 << "\" width=\""
         << bounds_.width() << "\" height=\"" << bounds_.height() << "\" fill=\"#e2e2e2\"/>";
    write_corridors();
    for (const PlanRoom& room : rooms_) write_room(room);
    write_grid();
    svg_ << "</g>";
  }

 private:
  void corridor_path(std::string& path) {
    Svg d(path);
    for (const PlanCorridor& corridor : level_.corridors) {
      for (std::size_t i = 0; i < corridor.points.size(); ++i) {
        d << (i == 0 ? "M" : "L") << corridor.points[i].x << ' ' << corridor.points[i].y;
      }
    }
    // Doors of rooms that are not rectangles are on the footprint's edge.
    for (const PlanDoor& door : level_.doors) {
      const PlanRoom* room = door.room > 0 && static_cast<std::size_t>(door.room) < room_of_.size()
                                 ? room_of_[static_cast<std::size_t>(door.room)]
                                 : nullptr;
      if (room == nullptr || room->outline.empty()) continue;
      const std::vector<Point> stub = door_stub(*room, door.wall, door.at);
      for (std::size_t i = 0; i < stub.size(); ++i) {
        d << (i == 0 ? "M" : "L") << stub[i].x << ' ' << stub[i].y;
      }
    }
  }

  // Over everything, in see-through black: grey on the floor, darker on the
  // rock, and no mark on walls, symbols and letters. (A pattern fill would
  // do the same at many times the cost of drawing.)
  void write_grid() {
    svg_ << "<path class=\"grid\" d=\"";
    for (double x = bounds_.x0; x <= bounds_.x1; x += 10) {
      svg_ << 'M' << x << ' ' << bounds_.y0 << 'V' << bounds_.y1;
    }
    for (double y = bounds_.y0; y <= bounds_.y1; y += 10) {
      svg_ << 'M' << bounds_.x0 << ' ' << y << 'H' << bounds_.x1;
    }
    svg_ << "\" stroke=\"#000\" stroke-opacity=\"0.22\" stroke-width=\"0.3\"/>";
  }

  void write_corridors() {
    std::string path;
    path.reserve(level_.corridors.size() * 40);
    corridor_path(path);
    if (path.empty()) return;
    svg_ << "<g class=\"corridors\" fill=\"none\" stroke-linejoin=\"miter\"><path d=\"" << path
         << "\" stroke=\"#000\" stroke-width=\"" << kCorridor + 2 * kCorridorEdge
         << "\" stroke-linecap=\"square\"/><path d=\"" << path
         << "\" stroke=\"#fff\" stroke-width=\"" << kCorridor
         << "\" stroke-linecap=\"square\"/></g>";
  }

  void write_room(const PlanRoom& room) {
    const std::string& p = options_.id_prefix;
    const dungeon::RoomRecord& record = d_.room(room.number);
    const std::string_view description =
        room.generated ? record.description.view() : std::string_view("not explored");
    if (options_.link_rooms) svg_ << "<a href=\"#room-" << room.number << "\">";
    svg_ << "<g id=\"";
    svg_.text(p) << "room-" << room.number << "\"><title>Room " << room.number << ": ";
    svg_.text(description) << "</title>";

    const double cx = room.x + room.width / 2.0;
    const double cy = room.y + room.height / 2.0;
    if (!room.generated) {
      svg_ << "<rect x=\"" << room.x << "\" y=\"" << room.y << "\" width=\"" << room.width
           << "\" height=\"" << room.height
           << "\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.6\" "
              "stroke-dasharray=\"2 1.5\"/>"
           << "<text x=\"" << cx << "\" y=\"" << cy + 1.4 << "\" font-size=\"4\" "
           << "text-anchor=\"middle\" font-weight=\"bold\">" << room.number << "</text>"
           << "<text x=\"" << cx << "\" y=\"" << room.y + room.height + 3 << "\" font-size=\""
           << kLabelFont * 0.8
           << "\" text-anchor=\"middle\" stroke=\"#fff\" stroke-width=\"0.8\" "
              "paint-order=\"stroke\">not explored</text>";
      write_doors(room);
      svg_ << "</g>";
      if (options_.link_rooms) svg_ << "</a>";
      return;
    }

    constexpr std::string_view kWalls = "\" stroke=\"#000\" stroke-width=\"1.2\"";
    if (room.outline.empty()) {
      svg_ << "<rect x=\"" << room.x << "\" y=\"" << room.y << "\" width=\"" << room.width
           << "\" height=\"" << room.height << "\" fill=\"#fff" << kWalls << "/>";
    } else {
      svg_ << "<path d=\"";
      for (std::size_t i = 0; i < room.outline.size(); ++i) {
        svg_ << (i == 0 ? "M" : "L") << room.outline[i].x << ' ' << room.outline[i].y;
      }
      svg_ << "Z\" fill=\"#fff" << kWalls << " stroke-linejoin=\"round\"/>";
    }

    // Water sits low in the room, the number above it.
    double number_y = cy;
    const double small = std::min(room.width, room.height);
    if (room.water == Water::kLake) {
      water_symbol(svg_, cx, cy + room.height * 0.16, room.width * 0.3, room.height * 0.2, false);
      number_y = cy - room.height * 0.2;
    } else if (room.water != Water::kNone) {
      const double rx = small * 0.15;
      water_symbol(svg_, cx + room.width * 0.16, cy + room.height * 0.2, rx, rx * 0.7,
                   room.water == Water::kMagicalPool);
      number_y = cy - room.height * 0.1;
    }

    std::string marks;
    if (record.monster) marks += "M";
    if (!record.trap.empty()) marks += marks.empty() ? "T" : " T";
    if (!record.treasure.view().empty()) marks += marks.empty() ? "$" : " $";

    // The number, the marks under it and the stairs' lines above it, as one
    // block round `number_y`. Where the lines do not fit, the stairs are a
    // symbol in a corner and their lines go under the room.
    // Shaped rooms are narrower than their footprint away from its middle.
    const double inner = room.outline.empty() ? 1.0 : 0.7;
    const double digits = static_cast<double>(std::to_string(room.number).size());
    double font =
        std::clamp(std::min(small * 0.42, (room.width * inner - 2) / (digits * 0.65)), 4.0, 16.0);
    const double mark_font = std::max(2.4, font * 0.45);
    const std::vector<const PlanStairs*>& stairs =
        stairs_of_[static_cast<std::size_t>(room.number)];
    double stairs_block = 0;
    double stairs_wide = 0;
    for (const PlanStairs* one : stairs) {
      stairs_block += kLabelFont * 1.4;
      stairs_wide = std::max(stairs_wide, stairs_line_width(*one));
    }
    const double marks_block = marks.empty() ? 0 : mark_font * 1.2;
    const bool stairs_inside =
        stairs_block + font * 0.75 + marks_block + 3 <= room.height * inner &&
        stairs_wide + 3 <= room.width * inner;
    // Where the lines do not fit, the stairs symbols go in the room's
    // north corners, or beside the number in a shaped room, whose corners
    // are rock.
    const double icon = std::clamp(small * 0.2, 1.4, 4.0);
    const bool beside = !stairs_inside && !stairs.empty() && !room.outline.empty();
    const double icons = beside ? static_cast<double>(stairs.size()) * (icon + 1) : 0;
    if (beside) {
      font = std::clamp((room.width * inner - 2 - icons) / (digits * 0.65), 4.0, font);
    }
    if (!stairs_inside && !stairs.empty() && small < 20) number_y += 0.8;
    const double number_block = font * 0.75 + marks_block;
    double top = number_y - number_block / 2;
    if (stairs_inside) top = number_y - (stairs_block + number_block) / 2;
    const double line_left = cx - (digits * 0.6 * font + icons) / 2;
    double line_y = stairs_inside ? top : room.y + room.height + 1.5;
    for (std::size_t i = 0; i < stairs.size(); ++i) {
      const double middle = line_y + kLabelFont * 0.7;
      if (stairs_inside) {
        write_stairs(*stairs[i], cx, middle, std::nullopt);
      } else if (beside) {
        const double number_middle = top + font * 0.39;
        write_stairs(
            *stairs[i], cx, middle,
            Icon{line_left + static_cast<double>(i) * (icon + 1) + icon / 2, number_middle, icon});
      } else {
        const double side = i % 2 == 0 ? 1 : -1;  // north-east first
        write_stairs(
            *stairs[i], cx, middle,
            Icon{cx + side * (room.width / 2.0 - 1.0 - icon / 2), room.y + 1.0 + icon, icon});
      }
      line_y += kLabelFont * 1.4;
    }
    if (stairs_inside) top += stairs_block;

    const double number_x = beside ? line_left + icons + digits * 0.3 * font : cx;
    svg_ << "<text x=\"" << number_x << "\" y=\"" << top + font * 0.75 << "\" font-size=\"" << font
         << "\" font-weight=\"bold\" text-anchor=\"middle\">" << room.number << "</text>";
    if (!marks.empty()) {
      svg_ << "<text class=\"marks\" x=\"" << cx << "\" y=\"" << top + font * 0.75 + mark_font * 1.2
           << "\" font-size=\"" << mark_font << "\" text-anchor=\"middle\">" << marks << "</text>";
    }
    write_doors(room);
    svg_ << "</g>";
    if (options_.link_rooms) svg_ << "</a>";
  }

  // A door of a room that is not a rectangle is drawn where its passage
  // meets the walls, across the passage's last leg.
  void write_doors(const PlanRoom& room) {
    for (const PlanDoor* door : doors_of_[static_cast<std::size_t>(room.number)]) {
      if (room.outline.empty()) {
        door_symbol(svg_, door->at.x, door->at.y, door->wall, door->passage);
        continue;
      }
      const std::vector<Point> stub = door_stub(room, door->wall, door->at);
      const Point end = stub.back();
      const Point before = stub[stub.size() - 2];
      // The wall the passage comes through, from the way it runs.
      const Wall side = before.x == end.x ? (end.y > before.y ? Wall::kNorth : Wall::kSouth)
                                          : (end.x > before.x ? Wall::kWest : Wall::kEast);
      door_symbol(svg_, end.x, end.y, side, door->passage);
    }
  }

  static double stairs_line_width(const PlanStairs& stairs) {
    return kStairsIcon + static_cast<double>(stairs_label(stairs).size()) * kLabelFont * 0.58;
  }

  struct Icon {
    double x;
    double y;
    double size;
  };

  // One line centred on (cx, middle): the stairs symbol and where they
  // lead; or the symbol at `icon` and the words alone on the line.
  void write_stairs(const PlanStairs& stairs, double cx, double middle, std::optional<Icon> icon) {
    const bool down = stairs.direction.starts_with("Down");
    if (options_.link_rooms) svg_ << "<a href=\"#room-" << stairs.to_room << "\">";
    svg_ << "<g class=\"stairs\"><title>";
    svg_.text(stairs.direction) << " to room " << stairs.to_room << " on level " << stairs.to_level
                                << "</title>";
    double text_x = cx;
    if (icon) {
      stairs_symbol(svg_, icon->x, icon->y, icon->size, down);
    } else {
      const double left = cx - stairs_line_width(stairs) / 2;
      stairs_symbol(svg_, left + 1.5, middle, kLabelFont * 0.5, down);
      text_x = left + kStairsIcon;
    }
    svg_ << "<text x=\"" << text_x << "\" y=\"" << middle + kLabelFont * 0.36 << "\" font-size=\""
         << kLabelFont << (icon ? "\" text-anchor=\"middle" : "")
         << "\" stroke=\"#fff\" stroke-width=\"0.8\" paint-order=\"stroke\">";
    svg_.text(stairs_label(stairs)) << "</text></g>";
    if (options_.link_rooms) svg_ << "</a>";
  }

  Svg svg_;
  const PlanLevel& level_;
  std::vector<PlanRoom> rooms_;  // the level's, every shaped room with its walls
  const dungeon::Dungeon& d_;
  const PlanSvgOptions& options_;
  std::vector<std::vector<const PlanDoor*>> doors_of_;
  std::vector<std::vector<const PlanStairs*>> stairs_of_;
  std::vector<const PlanRoom*> room_of_;
  Box bounds_;
};

void write_text(Svg& svg, double x, double y, double size, std::string_view text,
                std::string_view extra = {}) {
  svg << "<text x=\"" << x << "\" y=\"" << y << "\" font-size=\"" << size << '"';
  if (!extra.empty()) svg << ' ' << extra;
  svg << '>';
  svg.text(text) << "</text>";
}

// The header grows with the plan, so that a whole plan printed on one page
// keeps a legend one can read.
double header_scale(double width) {
  return std::clamp(width / 600, 1.0, 5.0);
}

// Title, north arrow, scale bar and the key to the symbols, at the top of a
// page `page_width` wide, drawn `scale` times their size.
void write_header(Svg& svg, std::string_view title, bool level_heading, double page_width,
                  double scale) {
  const double width = page_width / scale;
  const double left = kMargin / scale;  // in line with the levels' left edge
  svg << "<g class=\"header\" transform=\"scale(" << scale << ")\">";
  write_text(svg, left, kMargin + kTitleFont * 0.8, kTitleFont, title,
             level_heading ? "font-weight=\"bold\" class=\"heading\"" : "font-weight=\"bold\"");

  // Legend: two rows of samples with their names.
  const double row0 = kMargin + kTitleFont + 10;
  const double row1 = row0 + 11;
  double x = left;
  auto sample_wall = [&](double sx, double sy) {
    line(svg, sx - 4, sy, sx + 4, sy, "stroke=\"#000\" stroke-width=\"1.2\"");
  };
  struct Item {
    std::string_view passage;
    std::string_view name;
  };
  constexpr Item kDoors[] = {{dungeon::kDoor, "door"},
                             {dungeon::kLockedDoor, "locked door"},
                             {dungeon::kBrokenDoor, "broken door"},
                             {dungeon::kArchway, "archway"}};
  for (const Item& item : kDoors) {
    sample_wall(x + 4, row0);
    door_symbol(svg, x + 4, row0, Wall::kNorth, item.passage);
    write_text(svg, x + 10, row0 + 1.4, kLegendFont, item.name);
    x += 12 + static_cast<double>(item.name.size()) * kLegendFont * 0.6;
  }
  stairs_symbol(svg, x + 3, row0, 2.5, true);
  write_text(svg, x + 7, row0 + 1.4, kLegendFont, "stairs (narrow end down)");
  x = left;
  for (const std::string_view mark : {"M\tmonster", "T\ttrap", "$\ttreasure"}) {
    const std::size_t tab = mark.find('\t');
    svg << "<text x=\"" << x << "\" y=\"" << row1 + 1.4 << "\" font-size=\"" << kLegendFont
        << "\"><tspan font-weight=\"bold\">" << mark.substr(0, tab) << "</tspan> "
        << mark.substr(tab + 1) << "</text>";
    x += 6 + static_cast<double>(mark.size()) * kLegendFont * 0.6;
  }
  water_symbol(svg, x + 5, row1, 5, 3, false);
  write_text(svg, x + 12, row1 + 1.4, kLegendFont, "pool or lake (* magical)");
  x += 70;
  svg << "<rect x=\"" << x << "\" y=\"" << row1 - 3 << "\" width=\"6\" height=\"6\" "
      << "fill=\"#fff\" stroke=\"#000\" stroke-width=\"0.5\" stroke-dasharray=\"1.5 1\"/>";
  write_text(svg, x + 9, row1 + 1.4, kLegendFont, "not explored (run stopped)");

  // Scale bar of 50 feet in 10-foot steps, and the north arrow, on the right.
  const double right = std::max(width - left, kLegendWidth);
  const double bar_x = right - 62;
  const double bar_y = kMargin + 4;
  for (int i = 0; i < 5; ++i) {
    svg << "<rect x=\"" << bar_x + i * 10 << "\" y=\"" << bar_y << "\" width=\"10\" height=\"2\" "
        << (i % 2 == 0 ? "fill=\"#000\"" : "fill=\"#fff\"")
        << " stroke=\"#000\" stroke-width=\"0.3\"/>";
  }
  write_text(svg, bar_x, bar_y + 6.5, kLegendFont, "0", "text-anchor=\"middle\"");
  write_text(svg, bar_x + 50, bar_y + 6.5, kLegendFont, "50 ft", "text-anchor=\"middle\"");
  write_text(svg, bar_x + 25, bar_y + 12, 3, "1 square = 10 ft", "text-anchor=\"middle\"");
  const double arrow_x = right - 4;
  svg << "<path d=\"M" << arrow_x << ' ' << bar_y - 2 << "l3 10h-6z\" fill=\"#000\"/>";
  write_text(svg, arrow_x, bar_y + 14, 5, "N", "text-anchor=\"middle\" font-weight=\"bold\"");
  svg << "</g>";
}

std::string heading(const PlanLevel& level) {
  return "Level " + std::to_string(level.level) + ": " + std::to_string(level.rooms.size()) +
         (level.rooms.size() == 1 ? " room" : " rooms");
}

void open_svg(Svg& svg, std::string_view id, std::string_view title, double width, double height,
              const PlanSvgOptions& options) {
  if (options.xml_prolog) svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"";
  svg.text(id) << "\" viewBox=\"0 0 " << width << ' ' << height << "\" width=\""
               << width * kPixelsPerFoot << "\" height=\"" << height * kPixelsPerFoot << '"';
  if (!options.labelled_by.empty()) {
    svg << " aria-labelledby=\"";
    svg.text(options.labelled_by) << '"';
  }
  svg << " font-family=\"" << kFont << "\">\n<title>";
  svg.text(title) << "</title><rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>";
}

}  // namespace

std::string plan_level_svg(const PlanLevel& level, const dungeon::Dungeon& d,
                           const PlanSvgOptions& options) {
  std::string out;
  out.reserve(4096 + level.rooms.size() * 900 + level.corridors.size() * 120);
  Svg svg(out);
  LevelWriter writer(out, level, d, options);
  const Box& b = writer.bounds();
  const double width = std::max(b.width() + 2 * kMargin, kLegendWidth + 2 * kMargin);
  const double scale = header_scale(width);
  const double height = kHeaderHeight * scale + b.height() + kMargin;
  open_svg(svg, options.id_prefix + "plan", heading(level), width, height, options);
  write_header(svg, heading(level), true, width, scale);
  writer.write(kMargin, kHeaderHeight * scale);
  svg << "\n</svg>\n";
  return out;
}

std::string plan_svg(const Plan& plan, const dungeon::Dungeon& d) {
  const PlanSvgOptions options;
  std::size_t rooms = 0;
  for (const PlanLevel& level : plan.levels) rooms += level.rooms.size();
  std::string out;
  out.reserve(4096 + rooms * 900);
  Svg svg(out);
  // Every level's size first: the page and its header depend on them.
  std::vector<std::unique_ptr<LevelWriter>> writers;
  double width = kLegendWidth + 2 * kMargin;
  double levels_height = 0;
  for (const PlanLevel& level : plan.levels) {
    writers.push_back(std::make_unique<LevelWriter>(out, level, d, options));
    const Box& b = writers.back()->bounds();
    width = std::max(width, b.width() + 2 * kMargin);
    levels_height += b.height() + kMargin;
  }
  const double scale = header_scale(width);
  const double heading_font = kHeadingFont * scale;
  double y = kHeaderHeight * scale;
  const double height =
      y + levels_height + static_cast<double>(plan.levels.size()) * (heading_font * 1.5);

  std::string title = "Dungeon of seed " + std::to_string(plan.seed);
  if (plan.outcome == dungeon::RunOutcome::kOverflow) {
    title += " (stopped at the " + std::to_string(dungeon::kMaxRoomNumber) + "-room limit)";
  }
  open_svg(svg, "plan", title, width, height, options);
  write_header(svg, title, false, width, scale);
  for (std::size_t i = 0; i < plan.levels.size(); ++i) {
    svg << "\n";
    write_text(svg, kMargin, y + heading_font, heading_font, heading(plan.levels[i]),
               "font-weight=\"bold\" class=\"heading\"");
    y += heading_font * 1.5;
    writers[i]->write(kMargin, y);
    y += writers[i]->bounds().height() + kMargin;
  }
  svg << "\n</svg>\n";
  return out;
}

}  // namespace atlas
