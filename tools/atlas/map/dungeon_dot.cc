// SPDX-License-Identifier: MIT
#include "atlas/map/dungeon_dot.h"

#include <set>
#include <sstream>

namespace atlas {
namespace {

using dungeon::Dungeon;
using dungeon::RoomRecord;

constexpr std::size_t kShortDescription = 28;

// A DOT double-quoted string. Graphviz reads "\n" in a label as a line break
// and a lone backslash as the start of an escape, so both are spelled out.
std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  out += '"';
  return out;
}

// Cave descriptions with pools run to a hundred characters; the node keeps
// the start and the tooltip has the rest.
std::string shorten(std::string_view text) {
  if (text.size() <= kShortDescription) return std::string(text);
  std::size_t cut = text.rfind(' ', kShortDescription);
  if (cut == std::string_view::npos || cut < kShortDescription / 2) cut = kShortDescription;
  return std::string(text.substr(0, cut)) + "...";
}

std::string room_id(int n) {
  return "room" + std::to_string(n);
}

struct EdgeStyle {
  std::string_view name;  // in the legend
  std::string_view attributes;
};

EdgeStyle passage_style(std::string_view kind) {
  if (kind == dungeon::kArchway) return {"archway", "style=dotted"};
  if (kind == dungeon::kLockedDoor) return {"locked door", "style=bold, color=firebrick"};
  if (kind == dungeon::kBrokenDoor) return {"broken door", "style=dashed, color=gray40"};
  return {"door", "style=solid"};
}

constexpr std::string_view kStairsStyle =
    "dir=forward, arrowsize=0.7, style=bold, color=royalblue, fontcolor=royalblue";

class MapWriter {
 public:
  MapWriter(const FinishedRun& run, std::optional<int> level)
      : run_(run), d_(run.d()), level_(level) {}

  std::string write() {
    if (level_) run_.require_level(*level_);

    out_ << "digraph " << quoted("dungeon " + std::to_string(run_.seed())) << " {\n";
    out_ << "  graph [label=" << quoted(title()) << ", labelloc=t, fontname=\"Helvetica\", "
         << "fontsize=16, newrank=true, nodesep=0.25, ranksep=0.4];\n";
    out_ << "  node [shape=box, style=rounded, fontname=\"Helvetica\", fontsize=10];\n";
    out_ << "  edge [dir=none, fontname=\"Helvetica\", fontsize=9];\n";
    write_levels();
    write_passages();
    write_legend();
    out_ << "}\n";
    return out_.str();
  }

 private:
  bool shown(int n) const { return !level_ || d_.room(n).level == *level_; }

  std::string title() const {
    std::ostringstream title;
    const std::size_t levels = run_.levels().size();
    title << "Dungeon of seed " << run_.seed() << ": ";
    if (level_) {
      std::size_t here = 0;
      for (const LevelRooms& level : run_.levels()) {
        if (level.level == *level_) here = level.rooms.size();
      }
      title << "level " << *level_ << ", " << here << (here == 1 ? " room" : " rooms") << " of "
            << run_.rooms() << " on " << levels << " levels";
    } else {
      title << run_.rooms() << " rooms on " << levels << (levels == 1 ? " level" : " levels");
    }
    if (run_.overflowed()) {
      title << " (stopped at the " << dungeon::kMaxRoomNumber << "-room limit)";
    }
    return title.str();
  }

  void write_levels() {
    for (const LevelRooms& level : run_.levels()) {
      if (level_ && level.level != *level_) continue;
      out_ << "  subgraph cluster_level_" << level.level << " {\n";
      out_ << "    label=" << quoted("Level " + std::to_string(level.level))
           << "; style=rounded; color=gray60; fontname=\"Helvetica\";\n";
      for (const int n : level.rooms) write_room(n);
      out_ << "  }\n";
    }
  }

  void write_room(int n) {
    const RoomRecord& room = d_.room(n);
    out_ << "    " << room_id(n) << " [id=" << quoted(room_id(n));
    if (!run_.generated(n)) {
      out_ << ", label=" << quoted(std::to_string(n) + "\nnot generated")
           << ", style=\"rounded,dashed\", color=gray50, fontcolor=gray40"
           << ", tooltip="
           << quoted("Room " + std::to_string(n) +
                     ": not generated, the run "
                     "stopped at the room limit first");
      out_ << "];\n";
      return;
    }
    std::string marks;
    if (room.monster) marks += " M";
    if (!room.trap.empty()) marks += " T";
    if (!room.treasure.empty()) marks += " $";
    const std::string label = std::to_string(n) + marks + "\n" + shorten(room.description.view());

    std::string tooltip = "Room " + std::to_string(n) + ": " + std::string(room.description.view());
    if (room.monster) tooltip += "\nMonster";
    if (!room.trap.empty()) tooltip += "\nTrap: " + std::string(room.trap);
    if (!room.treasure.empty()) {
      std::string_view treasure = room.treasure.view();
      if (treasure.ends_with("\n\t")) treasure.remove_suffix(2);
      std::string lines;
      for (const char c : treasure) {
        if (c != '\t') lines += c;
      }
      tooltip += "\nTreasure: " + lines;
    }
    out_ << ", label=" << quoted(label) << ", tooltip=" << quoted(tooltip);
    if (room.monster) out_ << ", color=firebrick";
    out_ << "];\n";
  }

  // A room on another level that stairs from the shown level lead to.
  void write_elsewhere(int n) {
    if (!elsewhere_.insert(n).second) return;
    const std::string id = "elsewhere" + std::to_string(n);
    out_ << "  " << id << " [id=" << quoted(id) << ", label="
         << quoted("room " + std::to_string(n) + "\non level " + std::to_string(d_.room(n).level))
         << ", shape=plaintext, fontcolor=royalblue];\n";
  }

  void write_passages() {
    for (const Connection& passage : connections(d_)) {
      const bool from_shown = shown(passage.from);
      const bool to_shown = shown(passage.to);
      if (!from_shown && !to_shown) continue;
      std::string from = room_id(passage.from);
      std::string to = room_id(passage.to);
      if (!from_shown) {
        write_elsewhere(passage.from);
        from = "elsewhere" + std::to_string(passage.from);
      }
      if (!to_shown) {
        write_elsewhere(passage.to);
        to = "elsewhere" + std::to_string(passage.to);
      }
      const std::string id = std::string(passage.stairs ? "stairs_" : "passage_") +
                             std::to_string(passage.from) + "_" + std::to_string(passage.to);
      const std::string tooltip =
          std::string(passage.label) + " through a " + std::string(passage.kind);
      out_ << "  " << from << " -> " << to << " [id=" << quoted(id);
      if (passage.stairs) {
        out_ << ", label=" << quoted(passage.label) << ", " << kStairsStyle;
      } else {
        out_ << ", " << passage_style(passage.kind).attributes;
      }
      out_ << ", tooltip=" << quoted(tooltip) << "];\n";
    }
  }

  void write_legend() {
    out_ << "  subgraph cluster_legend {\n";
    out_ << "    label=\"Legend\"; style=rounded; color=gray60; fontname=\"Helvetica\";\n";
    out_ << "    node [shape=plaintext, fontsize=9, height=0.2];\n";
    int row = 0;
    const auto sample = [&](std::string_view name, std::string_view attributes) {
      const std::string a = "legend" + std::to_string(row) + "a";
      const std::string b = "legend" + std::to_string(row) + "b";
      out_ << "    " << a << " [id=" << quoted(a) << ", label=" << quoted(name) << "];\n";
      out_ << "    " << b << " [id=" << quoted(b) << ", label=\"\", width=0.3];\n";
      out_ << "    { rank=same; " << a << " -> " << b
           << " [id=" << quoted("legend_edge" + std::to_string(row)) << ", " << attributes
           << "]; }\n";
      // Invisible links stack the samples instead of spreading them in a row.
      if (row > 0) out_ << "    legend" << row - 1 << "a -> " << a << " [style=invis];\n";
      ++row;
    };
    for (const std::string_view kind :
         {dungeon::kDoor, dungeon::kArchway, dungeon::kLockedDoor, dungeon::kBrokenDoor}) {
      const EdgeStyle style = passage_style(kind);
      sample(style.name, style.attributes);
    }
    sample("stairs", kStairsStyle);
    std::string notes = "M monster (red outline)\\lT trap\\l$ treasure\\l";
    if (run_.overflowed()) notes += "dashed: never generated\\l";
    // The notes hold Graphviz's own left-justify escapes, so no quoted() here.
    out_ << "    legend_marks [id=\"legend_marks\", label=\"" << notes << "\"];\n";
    out_ << "    legend" << row - 1 << "a -> legend_marks [style=invis];\n";
    out_ << "  }\n";
  }

  const FinishedRun& run_;
  const Dungeon& d_;
  std::optional<int> level_;
  std::set<int> elsewhere_;
  std::ostringstream out_;
};

}  // namespace

std::vector<Connection> connections(const Dungeon& d) {
  std::vector<Connection> result;
  for (int to = 2; to <= d.tally.rooms(); ++to) {
    const dungeon::Exit& back = d.room(to).exits[dungeon::kBackSlot];
    const int from = back.room;
    Connection passage{from, to, {}, back.kind, false};
    for (const dungeon::Exit& exit : d.room(from).exits) {
      if (exit.room == to) {
        passage.label = exit.label;
        passage.kind = exit.kind;
      }
    }
    passage.stairs = dungeon::is_stairs(passage.kind);
    result.push_back(passage);
  }
  return result;
}

std::string dungeon_dot(const FinishedRun& run, std::optional<int> level) {
  return MapWriter(run, level).write();
}

}  // namespace atlas
