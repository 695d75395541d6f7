// SPDX-License-Identifier: MIT
#include "atlas/cli/options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>

#include "atlas/common/numbers.h"
#include "framework/run.h"

namespace atlas {
namespace {

// By the option's long name, or the argument's.
struct Wanted {
  std::string_view name;
  std::string_view what;
  std::string_view example;
};
constexpr Wanted kWanted[] = {
    {"seed", "a seed, a whole number from 0 to 4294967295", "1700000000"},
    {"level", "a number", "2"},
    {"output", "a file name, or - for standard output", "out.txt"},
    {"rooms", "a range of room counts MIN..MAX", "50..120"},
    {"deepest", "a range of levels MIN..MAX", "4..9"},
    {"shard", "a part I/N, I counting from 0", "0/4"},
    {"jobs", "a number of threads from 1 to 1024", "4"},
    {"range", "a seed range FROM..TO", "0..99999"},
};

}  // namespace

OptionWants option_wants(const CLI::Option& option) {
  const std::string name =
      option.get_lnames().empty() ? option.get_name(true) : option.get_lnames().front();
  for (const Wanted& wanted : kWanted) {
    if (wanted.name == name) return {std::string(wanted.what), std::string(wanted.example)};
  }
  // A choice such as --format's "dot|svg|png": "one of dot, svg, png".
  std::string choices = option.get_type_name();
  choices = choices.substr(0, choices.find(':'));
  const std::string example = choices.substr(choices.rfind('|') + 1);
  for (std::size_t bar = choices.find('|'); bar != std::string::npos; bar = choices.find('|')) {
    choices.replace(bar, 1, ", ");
  }
  return {"one of " + choices, example};
}

void add_seed_option(CLI::App& command, std::optional<std::string>& seed, std::string_view help) {
  command.add_option("--seed", seed, std::string(help))->type_name("N");
}

void add_level_option(CLI::App& command, std::optional<std::string>& level, std::string_view help) {
  command.add_option("--level", level, std::string(help))->type_name("K");
}

void add_output_option(CLI::App& command, std::string& output) {
  command.add_option("-o,--output", output, "Write to FILE instead of standard output")
      ->type_name("FILE");
}

void add_player_options(CLI::App& command, DrawingArgs& args) {
  command.add_flag("--player", args.player,
                   "The players' map: no M, T or $ marks, no key, no stairs destinations, no "
                   "room numbers unless --numbers; doors keep their kinds");
  command.add_flag("--numbers", args.numbers, "With --player: the rooms' numbers on the map");
}

void add_picture_options(CLI::App& command, DrawingArgs& args) {
  command.add_option("--grid", args.grid, "Grid lines every 10 feet (default), every 5, or none")
      ->type_name("none|5|10");
  command
      .add_option("--px-per-square", args.px_per_square,
                  "PNG and uvtt: pixels a 5-foot square, 1 to 1000, as virtual tabletops count "
                  "them (70, 100, 140 are common); default: the PNG at most 8000 pixels a side, "
                  "uvtt 100")
      ->type_name("N");
}

DrawOptions chosen_drawing(const DrawingArgs& args) {
  if (args.numbers && !args.player) {
    throw UsageError("--numbers puts room numbers on the player's map: give it with --player");
  }
  DrawOptions options;
  options.player = args.player;
  options.room_numbers = !args.player || args.numbers;
  if (args.grid) {
    constexpr std::pair<std::string_view, GridLines> kGrids[] = {
        {"none", GridLines::kNone}, {"5", GridLines::kFiveFeet}, {"10", GridLines::kTenFeet}};
    const auto found = std::find_if(std::begin(kGrids), std::end(kGrids),
                                    [&](const auto& grid) { return grid.first == *args.grid; });
    if (found == std::end(kGrids)) {
      throw UsageError(
          "--grid needs none, 5 or 10 (feet between grid lines), for example --grid 5");
    }
    options.grid = found->second;
  }
  return options;
}

std::optional<int> chosen_px_per_square(const DrawingArgs& args) {
  if (!args.px_per_square) return std::nullopt;
  const std::string& text = *args.px_per_square;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 1000) {
    throw UsageError(
        "--px-per-square needs a whole number of pixels from 1 to 1000, for example "
        "--px-per-square 70");
  }
  return value;
}

uint32_t chosen_seed(const std::optional<std::string>& text) {
  return text ? parse_seed(*text) : dungeon::clock_seed();
}

std::optional<int> chosen_level(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return static_cast<int>(parse_number(*text, "level", INT32_MAX));
}

}  // namespace atlas
