// SPDX-License-Identifier: MIT
#include "atlas/cli/options.h"

#include <cstdint>

#include "atlas/common/numbers.h"
#include "framework/run.h"

namespace atlas {

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
