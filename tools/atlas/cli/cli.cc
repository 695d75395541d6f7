// SPDX-License-Identifier: MIT
#include "atlas/cli/cli.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "atlas/cli/commands.h"
#include "atlas/cli/usage.h"
#include "atlas/cli/version.h"
#include "atlas/common/errors.h"
#include "atlas/common/output_file.h"
#include "atlas/common/printable.h"

namespace atlas {
namespace {

constexpr std::string_view kProgram = "dungeon-atlas";

// "show, map, plan, scan, book"
std::string command_names() {
  std::string names;
  for (const Command& command : commands()) {
    names += (names.empty() ? "" : ", ") + std::string(command.name);
  }
  return names;
}

// The last subcommand the parser got to, for pointing at the right --help.
std::string help_pointer(const CLI::App& app) {
  std::string command(kProgram);
  for (const CLI::App* sub : app.get_subcommands()) command += " " + sub->get_name();
  return "run '" + command + " --help' for usage";
}

// Every message is one line, whatever it repeats from the command line.
void say(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", std::string(kProgram).c_str(), printable(message).c_str());
}

void report_usage_error(const std::string& message, const std::string& pointer) {
  say(message + "; " + pointer);
}

// --help and --version fail like any other output that cannot be written.
int print_help_or_version(const CLI::App& app, const CLI::Error& request) {
  std::ostringstream text;
  app.exit(request, text, text);
  try {
    Output output("-");
    const std::string bytes = text.str();
    output.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    output.commit();
    return output.reader_gone() ? kFailureStatus : 0;
  } catch (const WriteError& error) {
    say(error.what());
    return kFailureStatus;
  }
}

// CLI11 would call an unknown command an unexpected argument.
bool is_command(std::string_view name) {
  for (const Command& command : commands()) {
    if (command.name == name) return true;
  }
  return false;
}

// What is wrong with the line, in our words rather than CLI11's: a first
// word that is neither a command nor an option of the program's own, or a
// fault in what follows the command (usage.h).
std::optional<std::string> line_fault(int argc, char** argv, const std::vector<CLI::App*>& apps) {
  if (argc < 2) return std::nullopt;
  const std::string first = argv[1];
  if (first == "-h" || first.starts_with("--help") || first.starts_with("--version")) {
    return std::nullopt;
  }
  if (first.starts_with("-")) {
    return "dungeon-atlas takes a command first, not " + first + " (commands: " + command_names() +
           ")";
  }
  if (!is_command(first)) {
    return "unknown command '" + first + "' (commands: " + command_names() + ")";
  }
  const std::vector<std::string> words(argv + 2, argv + argc);
  for (const CLI::App* app : apps) {
    if (app->get_name() == first) return usage_fault(*app, words);
  }
  return std::nullopt;
}

// The message for a missing required argument: the command's own, or that
// no command was given at all.
std::string missing_message(const CLI::App& app, const std::vector<CLI::App*>& apps,
                            std::string message) {
  if (app.get_subcommands().empty())
    message = "no command given (commands: " + command_names() + ")";
  for (std::size_t i = 0; i < apps.size(); ++i) {
    const std::string_view missing = commands()[i].missing_argument;
    if (!missing.empty() && apps[i]->parsed()) message = std::string(missing);
  }
  return message;
}

// Runs a parsed command; every failure becomes one line and a status.
int run_command(const std::function<int()>& run, const CLI::App& app) {
  try {
    return run();
  } catch (const UsageError& error) {
    report_usage_error(error.what(), help_pointer(app));
    return kUsageStatus;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s: out of memory\n", std::string(kProgram).c_str());
    return kFailureStatus;
  } catch (const std::exception& error) {
    say(error.what());
    return kFailureStatus;
  }
}

}  // namespace

int run_cli(int argc, char** argv) {
  CLI::App app{
      "Shows, maps, plans, scans and writes books of the dungeons that `dungeon` grows from a "
      "seed.",
      std::string(kProgram)};
  app.set_version_flag("--version", std::string(kProgram) + " " + DUNGEON_ATLAS_VERSION,
                       "Print the version and exit");
  app.require_subcommand(1);
  app.footer(
      "Exit status: 0 on success; 156 from show, plan and book when the dungeon overflowed the "
      "room limit (as dungeon itself); 2 for a bad command line; 1 when output could not be "
      "written or rendered.");

  std::vector<CLI::App*> apps;
  std::vector<std::function<int()>> runs;
  for (const Command& command : commands()) {
    CLI::App* sub = app.add_subcommand(std::string(command.name), std::string(command.summary));
    runs.push_back(command.define(*sub));
    if (!command.footer.empty()) sub->footer(std::string(command.footer));
    apps.push_back(sub);
  }

  if (const std::optional<std::string> fault = line_fault(argc, argv, apps)) {
    const std::string command = argc > 1 && is_command(argv[1]) ? std::string(" ") + argv[1] : "";
    report_usage_error(*fault, "run '" + std::string(kProgram) + command + " --help' for usage");
    return kUsageStatus;
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return print_help_or_version(app, error);
    // CLI11 may break its own messages over lines.
    std::string message = error.what();
    std::replace(message.begin(), message.end(), '\n', ' ');
    if (error.get_name() == "RequiredError") message = missing_message(app, apps, message);
    report_usage_error(message, help_pointer(app));
    return kUsageStatus;
  }

  for (std::size_t i = 0; i < apps.size(); ++i) {
    if (apps[i]->parsed()) return run_command(runs[i], app);
  }
  return kUsageStatus;  // require_subcommand(1) leaves no way here
}

}  // namespace atlas
