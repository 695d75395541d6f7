// SPDX-License-Identifier: MIT
#include "atlas/cli/options.h"

#include <cstdint>

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

uint32_t chosen_seed(const std::optional<std::string>& text) {
  return text ? parse_seed(*text) : dungeon::clock_seed();
}

std::optional<int> chosen_level(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return static_cast<int>(parse_number(*text, "level", INT32_MAX));
}

}  // namespace atlas
