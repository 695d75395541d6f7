// SPDX-License-Identifier: MIT
#include "atlas/map/dungeon_dot.h"

#include <map>
#include <set>
#include <sstream>

#include "atlas/common/errors.h"

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
  MapWriter(const Dungeon& d, uint32_t seed, dungeon::RunOutcome outcome, std::optional<int> level)
      : d_(d), seed_(seed), outcome_(outcome), level_(level), printed_(d.tally.rooms() + 1) {
    for (int i = 0; i < d.reported; ++i) {
      printed_[static_cast<std::size_t>(d.report_order[static_cast<std::size_t>(i)])] = true;
    }
    for (int n = 1; n <= d.tally.rooms(); ++n) levels_.insert(d.room(n).level);
  }

  std::string write() {
    if (level_ && levels_.count(*level_) == 0) throw UsageError(missing_level_message());

    out_ << "digraph " << quoted("dungeon " + std::to_string(seed_)) << " {\n";
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
    title << "Dungeon of seed " << seed_ << ": ";
    if (level_) {
      int here = 0;
      for (int n = 1; n <= d_.tally.rooms(); ++n) here += shown(n) ? 1 : 0;
      title << "level " << *level_ << ", " << here << (here == 1 ? " room" : " rooms") << " of "
            << d_.tally.rooms() << " on " << levels_.size() << " levels";
    } else {
      title << d_.tally.rooms() << " rooms on " << levels_.size()
            << (levels_.size() == 1 ? " level" : " levels");
    }
    if (outcome_ == dungeon::RunOutcome::kOverflow) {
      title << " (stopped at the " << dungeon::kMaxRoomNumber << "-room limit)";
    }
    return title.str();
  }

  std::string missing_level_message() const {
    std::string known;
    for (const int level : levels_) known += (known.empty() ? "" : ", ") + std::to_string(level);
    return "the dungeon of seed " + std::to_string(seed_) + " has no level " +
           std::to_string(*level_) + " (its levels: " + known + ")";
  }

  void write_levels() {
    std::map<int, std::vector<int>> by_level;
    for (int n = 1; n <= d_.tally.rooms(); ++n) by_level[d_.room(n).level].push_back(n);
    for (const auto& [level, rooms] : by_level) {
      if (level_ && level != *level_) continue;
      out_ << "  subgraph cluster_level_" << level << " {\n";
      out_ << "    label=" << quoted("Level " + std::to_string(level))
           << "; style=rounded; color=gray60; fontname=\"Helvetica\";\n";
      for (const int n : rooms) write_room(n);
      out_ << "  }\n";
    }
  }

  void write_room(int n) {
    const RoomRecord& room = d_.room(n);
    out_ << "    " << room_id(n) << " [id=" << quoted(room_id(n));
    if (!printed_[static_cast<std::size_t>(n)]) {
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
    if (outcome_ == dungeon::RunOutcome::kOverflow) notes += "dashed: never generated\\l";
    // The notes hold Graphviz's own left-justify escapes, so no quoted() here.
    out_ << "    legend_marks [id=\"legend_marks\", label=\"" << notes << "\"];\n";
    out_ << "    legend" << row - 1 << "a -> legend_marks [style=invis];\n";
    out_ << "  }\n";
  }

  const Dungeon& d_;
  uint32_t seed_;
  dungeon::RunOutcome outcome_;
  std::optional<int> level_;
  std::vector<bool> printed_;
  std::set<int> levels_;
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

std::string dungeon_dot(const Dungeon& d, uint32_t seed, dungeon::RunOutcome outcome,
                        std::optional<int> level) {
  return MapWriter(d, seed, outcome, level).write();
}

}  // namespace atlas
