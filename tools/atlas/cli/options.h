// SPDX-License-Identifier: MIT
// The options the commands share, and reading what they were given. Every
// reader returns a value or throws UsageError, as common/numbers.h does.
#ifndef ATLAS_CLI_OPTIONS_H_
#define ATLAS_CLI_OPTIONS_H_

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "atlas/plan/draw/draw_options.h"

namespace atlas {

// One output format of a command: its name on the command line, what the
// name stands for, and a few words for --help. Each command lists its
// formats once, as a table beside it; a new format is a new entry and its
// writer.
template <typename Format>
struct FormatEntry {
  std::string_view name;
  Format format;
  std::string_view help;
};

template <typename Format, std::size_t N>
std::string_view format_name(const FormatEntry<Format> (&formats)[N], Format format) {
  for (const FormatEntry<Format>& entry : formats) {
    if (entry.format == format) return entry.name;
  }
  return {};
}

// A --format option that takes the names in `formats` and stores what they
// stand for. An unknown name is a one-line usage error that lists the names.
template <typename Format, std::size_t N>
void add_format_option(CLI::App& command, Format& format, const FormatEntry<Format> (&formats)[N]) {
  std::vector<std::pair<std::string, Format>> names;
  std::string type_name;
  std::string choices;
  std::string help;
  for (const FormatEntry<Format>& entry : formats) {
    const std::string name(entry.name);
    names.emplace_back(name, entry.format);
    type_name += (type_name.empty() ? "" : "|") + name;
    choices += (choices.empty() ? "" : ", ") + name;
    help += (help.empty() ? "" : ", ") + name + " (" + std::string(entry.help) + ")";
  }
  const CLI::Transformer to_format(names);
  const std::string command_name = command.get_name();
  const auto check = [names, to_format, command_name, choices](std::string& value) -> std::string {
    for (const auto& known : names) {
      if (known.first == value) return to_format(value);
    }
    return "unknown format '" + value + "' for " + command_name + " (choose " + choices + ")";
  };
  command.add_option("--format", format, help)
      ->type_name(type_name)
      ->transform(CLI::Validator(check, ""));
}

// --seed N; `help` says what the default is.
void add_seed_option(CLI::App& command, std::optional<std::string>& seed, std::string_view help);

// --level K; `help` says what becomes of the other levels.
void add_level_option(CLI::App& command, std::optional<std::string>& level, std::string_view help);

// Every command writes to standard output or, safely, to -o FILE.
void add_output_option(CLI::App& command, std::string& output);

// What an option or argument wants, for the messages that name it: "--level
// needs a number, for example --level 2".
struct OptionWants {
  std::string what;     // "a number"
  std::string example;  // "2"
};
OptionWants option_wants(const CLI::Option& option);

// How plan and book draw their plans, as given.
struct DrawingArgs {
  bool player = false;
  bool numbers = false;
  std::optional<std::string> grid;
  std::optional<std::string> px_per_square;
};

// --player and --numbers.
void add_player_options(CLI::App& command, DrawingArgs& args);

// --grid none|5|10 and --px-per-square N.
void add_picture_options(CLI::App& command, DrawingArgs& args);

// The drawing options the arguments ask for, at the default size. Throws
// UsageError for --numbers without --player and for a grid that is not
// none, 5 or 10.
DrawOptions chosen_drawing(const DrawingArgs& args);

// --px-per-square as a number of pixels, 1 to 1000. Throws UsageError.
std::optional<int> chosen_px_per_square(const DrawingArgs& args);

// The seed given, or the clock's. Throws UsageError for a bad seed.
uint32_t chosen_seed(const std::optional<std::string>& text);

// Throws UsageError for a level that is not a whole number.
std::optional<int> chosen_level(const std::optional<std::string>& text);

}  // namespace atlas

#endif  // ATLAS_CLI_OPTIONS_H_
