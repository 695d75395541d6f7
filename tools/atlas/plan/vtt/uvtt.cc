// SPDX-License-Identifier: MIT
#include "atlas/plan/vtt/uvtt.h"

#include <glib.h>

#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>

namespace atlas::vtt {
namespace {

using nlohmann::ordered_json;

constexpr int kUnitsPerSquare = kFeetPerSquare * kUnitsPerFoot;

struct GFreeDeleter {
  void operator()(gchar* text) const { g_free(text); }
};

std::string base64(const std::string& bytes) {
  const std::unique_ptr<gchar, GFreeDeleter> text(
      g_base64_encode(reinterpret_cast<const guchar*>(bytes.data()), bytes.size()));
  return text.get();
}

// Squares from the picture's north-west corner. Quarter feet are twentieths
// of a square, which print in at most two decimals.
class Squares {
 public:
  explicit Squares(const Rect& frame)
      : x0_(static_cast<int64_t>(frame.x) * kUnitsPerFoot),
        y0_(static_cast<int64_t>(frame.y) * kUnitsPerFoot) {}

  ordered_json operator()(const FinePoint& p) const {
    return {{"x", static_cast<double>(p.x - x0_) / kUnitsPerSquare},
            {"y", static_cast<double>(p.y - y0_) / kUnitsPerSquare}};
  }

  ordered_json middle(const FinePoint& a, const FinePoint& b) const {
    return {{"x", static_cast<double>(a.x + b.x - 2 * x0_) / (2 * kUnitsPerSquare)},
            {"y", static_cast<double>(a.y + b.y - 2 * y0_) / (2 * kUnitsPerSquare)}};
  }

 private:
  int64_t x0_;
  int64_t y0_;
};

ordered_json portal_json(const Portal& portal, const Squares& squares) {
  return {{"position", squares.middle(portal.a, portal.b)},
          {"bounds", ordered_json::array({squares(portal.a), squares(portal.b)})},
          {"rotation", std::atan2(static_cast<double>(portal.b.y - portal.a.y),
                                  static_cast<double>(portal.b.x - portal.a.x))},
          {"closed", portal.closed},
          {"freestanding", false}};
}

}  // namespace

std::string uvtt_document(const LevelWalls& walls, const Picture& picture) {
  const Squares squares(picture.frame);
  ordered_json file;
  file["format"] = 0.3;
  file["resolution"] = {
      {"map_origin", {{"x", 0}, {"y", 0}}},
      {"map_size",
       {{"x", picture.frame.w / kFeetPerSquare}, {"y", picture.frame.h / kFeetPerSquare}}},
      {"pixels_per_grid", picture.pixels_per_square}};
  ordered_json rings = ordered_json::array();
  for (const std::vector<FinePoint>& ring : walls.rings) {
    ordered_json line = ordered_json::array();
    for (const FinePoint& p : ring) line.push_back(squares(p));
    rings.push_back(std::move(line));
  }
  file["line_of_sight"] = std::move(rings);
  file["objects_line_of_sight"] = ordered_json::array();
  ordered_json portals = ordered_json::array();
  for (const Portal& portal : walls.portals) portals.push_back(portal_json(portal, squares));
  file["portals"] = std::move(portals);
  file["environment"] = {{"baked_lighting", false}, {"ambient_light", "ffffffff"}};
  file["lights"] = ordered_json::array();
  file["image"] = base64(picture.png);
  return file.dump() + "\n";
}

}  // namespace atlas::vtt
