// SPDX-License-Identifier: MIT
// The table of dungeon-atlas's commands: one entry per command with its
// help, its options and formats, and what it does. Adding a command is
// adding an entry (commands.cc); the command line (cli.cc) is built from
// the table alone.
#ifndef ATLAS_CLI_COMMANDS_H_
#define ATLAS_CLI_COMMANDS_H_

#include <CLI/CLI.hpp>
#include <functional>
#include <span>
#include <string_view>

namespace atlas {

struct Command {
  std::string_view name;
  std::string_view summary;  // its line in the program's --help
  std::string_view footer;   // under its own --help; empty for none
  // What to say when its one required argument is missing; empty when it
  // has none.
  std::string_view missing_argument;
  // Adds the command's options to `command`, each bound to a field of the
  // command's own arguments, and returns what runs the command with them
  // once the line is parsed: it returns the exit status, and throws
  // UsageError, WriteError or RenderError (common/errors.h).
  std::function<int()> (*define)(CLI::App& command);
};

// Every command, in the order --help lists them.
std::span<const Command> commands();

}  // namespace atlas

#endif  // ATLAS_CLI_COMMANDS_H_
