// SPDX-License-Identifier: MIT
#include "atlas/cli.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "atlas/book.h"
#include "atlas/dungeon_json.h"
#include "atlas/dungeon_map.h"
#include "atlas/numbers.h"
#include "atlas/output_file.h"
#include "atlas/plan_json.h"
#include "atlas/plan_layout.h"
#include "atlas/plan_png.h"
#include "atlas/plan_svg.h"
#include "atlas/printable.h"
#include "atlas/render.h"
#include "atlas/scan.h"
#include "atlas/version.h"
#include "framework/report.h"
#include "framework/room_table.h"
#include "framework/run.h"

namespace atlas {
namespace {

constexpr std::string_view kProgram = "dungeon-atlas";
constexpr int kOverflowStatus = dungeon::kOverflowExitStatus & 0xFF;
constexpr uint64_t kMaxJobs = 1024;

enum class ShowFormat { kText, kJson };
enum class MapFormat { kDot, kSvg, kPng };
enum class PlanFormat { kSvg, kPng, kJson };

// One output format of a command: its name on the command line, what the
// name stands for, and a few words for --help. Each command's formats are
// listed once, here; a new format is a new entry and its writer.
template <typename Format>
struct FormatEntry {
  std::string_view name;
  Format format;
  std::string_view help;
};

constexpr FormatEntry<ShowFormat> kShowFormats[] = {
    {"text", ShowFormat::kText, "the report, byte for byte"},
    {"json", ShowFormat::kJson, "see docs/dungeon-atlas.schema.json"},
};
// The picture formats' names are Graphviz's own.
constexpr FormatEntry<MapFormat> kMapFormats[] = {
    {"dot", MapFormat::kDot, "Graphviz source"},
    {"svg", MapFormat::kSvg, "drawn with the Graphviz library"},
    {"png", MapFormat::kPng, "drawn with the Graphviz library"},
};
constexpr FormatEntry<PlanFormat> kPlanFormats[] = {
    {"svg", PlanFormat::kSvg, "drawn to scale"},
    {"png", PlanFormat::kPng, "the SVG drawn with librsvg, at most 8000 pixels a side"},
    {"json", PlanFormat::kJson, "see docs/dungeon-atlas-plan.schema.json"},
};
constexpr FormatEntry<ScanFormat> kScanFormats[] = {
    {"csv", ScanFormat::kCsv, "with a header line"},
    {"json", ScanFormat::kJson, "an array"},
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
void add_format_option(CLI::App* command, Format& format, const FormatEntry<Format> (&formats)[N]) {
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
  const std::string command_name = command->get_name();
  const auto check = [names, to_format, command_name, choices](std::string& value) -> std::string {
    for (const auto& known : names) {
      if (known.first == value) return to_format(value);
    }
    return "unknown format '" + value + "' for " + command_name + " (choose " + choices + ")";
  };
  command->add_option("--format", format, help)
      ->type_name(type_name)
      ->transform(CLI::Validator(check, ""));
}

// Every command writes to standard output or, safely, to -o FILE.
void add_output_option(CLI::App* command, std::string& output) {
  command->add_option("-o,--output", output, "Write to FILE instead of standard output")
      ->type_name("FILE");
}

struct ShowArgs {
  std::optional<std::string> seed;
  ShowFormat format = ShowFormat::kText;
  std::string output = "-";
};

struct MapArgs {
  std::optional<std::string> seed;
  MapFormat format = MapFormat::kDot;
  std::optional<std::string> level;
  std::string output = "-";
};

struct PlanArgs {
  std::optional<std::string> seed;
  PlanFormat format = PlanFormat::kSvg;
  std::optional<std::string> level;
  std::string output = "-";
};

struct BookArgs {
  std::optional<std::string> seed;
  std::string output = "-";
};

struct ScanArgs {
  std::string range;
  bool complete = false;
  std::optional<std::string> rooms;
  std::optional<std::string> deepest;
  ScanFormat format = ScanFormat::kCsv;
  std::optional<std::string> shard;
  std::optional<std::string> jobs;
  std::string output = "-";
  bool no_header = false;
};

// The seed given, or the clock's.
uint32_t chosen_seed(const std::optional<std::string>& text) {
  return text ? parse_seed(*text) : dungeon::clock_seed();
}

// A clock seed is printed so that the dungeon can be had again, once the
// command is known to be good: a bad one gets its one line and nothing more.
void announce_seed(const std::optional<std::string>& text, uint32_t seed) {
  if (!text) std::fprintf(stderr, "seed: %u\n", seed);
}

void write_all(Output& output, std::string_view text) {
  output.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
}

// 0, or 1 when standard output's reader left: nobody is there to tell.
int finish(Output& output, int status) {
  output.commit();
  return output.reader_gone() ? kFailureStatus : status;
}

int outcome_status(dungeon::RunOutcome outcome) {
  return outcome == dungeon::RunOutcome::kOverflow ? kOverflowStatus : 0;
}

std::optional<int> chosen_level(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return static_cast<int>(parse_number(*text, "level", INT32_MAX));
}

// Picture bytes would only garble a terminal.
void refuse_png_on_terminal(bool png, const Output& output) {
  if (png && output.is_terminal()) {
    throw UsageError("will not write PNG to a terminal: use -o FILE or redirect the output");
  }
}

// A run of `seed` whose report nobody reads.
struct Grown {
  std::unique_ptr<dungeon::Dungeon> d = dungeon::make_dungeon();
  dungeon::RunOutcome outcome;
  explicit Grown(uint32_t seed) {
    dungeon::NullSink discard;
    outcome = dungeon::run_dungeon(*d, seed, discard);
  }
};

int run_show(const ShowArgs& args) {
  const uint32_t seed = chosen_seed(args.seed);
  Output output(args.output);
  announce_seed(args.seed, seed);
  if (args.format == ShowFormat::kText) {
    const auto d = dungeon::make_dungeon();
    return finish(output, outcome_status(dungeon::run_dungeon(*d, seed, output.stream())));
  }
  const Grown run(seed);
  write_all(output, dungeon_json(*run.d, seed, run.outcome).dump(2) + "\n");
  return finish(output, outcome_status(run.outcome));
}

int run_map(const MapArgs& args) {
  const std::optional<int> level = chosen_level(args.level);
  const uint32_t seed = chosen_seed(args.seed);
  Output output(args.output);
  refuse_png_on_terminal(args.format == MapFormat::kPng, output);
  const Grown run(seed);
  const std::string dot = dungeon_dot(*run.d, seed, run.outcome, level);
  announce_seed(args.seed, seed);
  write_all(output, args.format == MapFormat::kDot
                        ? dot
                        : render_dot(dot, format_name(kMapFormats, args.format)));
  return finish(output, 0);
}

int run_plan(const PlanArgs& args) {
  const std::optional<int> level = chosen_level(args.level);
  const uint32_t seed = chosen_seed(args.seed);
  Output output(args.output);
  refuse_png_on_terminal(args.format == PlanFormat::kPng, output);
  const Grown run(seed);
  const Plan plan = lay_out_plan(*run.d, seed, run.outcome, level);
  announce_seed(args.seed, seed);
  if (args.format == PlanFormat::kJson) {
    write_all(output, plan_json(plan).dump(2) + "\n");
  } else {
    const std::string svg = plan_svg(plan, *run.d);
    write_all(output, args.format == PlanFormat::kSvg ? svg : plan_png(svg));
  }
  return finish(output, outcome_status(run.outcome));
}

int run_book(const BookArgs& args) {
  const uint32_t seed = chosen_seed(args.seed);
  Output output(args.output);
  announce_seed(args.seed, seed);
  const Grown run(seed);
  const Plan plan = lay_out_plan(*run.d, seed, run.outcome);
  write_all(output, dungeon_book(*run.d, seed, run.outcome, plan));
  return finish(output, outcome_status(run.outcome));
}

// The progress line, for people watching a terminal only.
class Progress {
 public:
  Progress(uint64_t total, bool enabled) : total_(total), enabled_(enabled) {}

  void update(uint64_t done, uint64_t matches) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done < total_ && now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0.0;
    std::fprintf(
        stderr, "\r\033[Kscan: %llu of %llu seeds (%.1f%%), %llu matching, %.0f seeds/s",
        static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_),
        total_ == 0 ? 100.0 : 100.0 * static_cast<double>(done) / static_cast<double>(total_),
        static_cast<unsigned long long>(matches), rate);
  }

  void clear() {
    if (enabled_) std::fputs("\r\033[K", stderr);
  }

 private:
  uint64_t total_;
  bool enabled_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_{};
};

int run_scan(const ScanArgs& args) {
  ScanPlan plan{parse_seed_range(args.range), {}};
  if (args.shard) plan.shard = parse_shard(*args.shard);
  ScanFilter filter;
  filter.complete_only = args.complete;
  if (args.rooms) filter.rooms = parse_count_range(*args.rooms, "rooms");
  if (args.deepest) filter.deepest_level = parse_count_range(*args.deepest, "deepest");
  unsigned jobs = std::thread::hardware_concurrency();
  if (jobs == 0) jobs = 1;
  if (jobs > kMaxJobs) jobs = static_cast<unsigned>(kMaxJobs);
  if (args.jobs) {
    jobs = static_cast<unsigned>(parse_number(*args.jobs, "job count", kMaxJobs));
    if (jobs == 0) throw UsageError("job count '0' is too small: expected 1 to 1024");
  }
  Output output(args.output);

  RowWriter writer(output.stream(), args.format, !args.no_header);
  Progress progress(plan.count(), ::isatty(STDERR_FILENO) == 1);
  uint64_t matches = 0;
  writer.begin();
  scan(plan, filter, jobs, [&](std::vector<ScanRow>& rows, uint64_t done) {
    for (const ScanRow& row : rows) writer.write(row);
    writer.flush();
    matches += rows.size();
    progress.update(done, matches);
    // A failed write would fail again: stop rather than scan on for nobody.
    return static_cast<bool>(output.stream());
  });
  progress.clear();
  writer.end();
  return finish(output, 0);
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

constexpr std::string_view kCommands[] = {"show", "map", "plan", "scan", "book"};

// --help and --version fail like any other output that cannot be written.
int print_help_or_version(const CLI::App& app, const CLI::Error& request) {
  std::ostringstream text;
  app.exit(request, text, text);
  try {
    Output output("-");
    write_all(output, text.str());
    return finish(output, 0);
  } catch (const WriteError& error) {
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
      "written or "
      "rendered.");

  ShowArgs show_args;
  CLI::App* show = app.add_subcommand(
      "show", "Print the dungeon of one seed, exactly as dungeon prints it, or as JSON");
  show->add_option("--seed", show_args.seed,
                   "Unix time the dungeon was grown at, 0 to 4294967295 (default: now, and the "
                   "seed is printed on standard error as 'seed: N')")
      ->type_name("N");
  add_format_option(show, show_args.format, kShowFormats);
  add_output_option(show, show_args.output);
  show->footer("Exits 156 when the run overflowed the room limit, in either format.");

  MapArgs map_args;
  CLI::App* map = app.add_subcommand("map", "Draw the dungeon of one seed as a Graphviz map");
  map->add_option("--seed", map_args.seed, "As for show (default: now)")->type_name("N");
  add_format_option(map, map_args.format, kMapFormats);
  map->add_option("--level", map_args.level,
                  "Only level K's rooms; stairs to other levels end at the room they reach")
      ->type_name("K");
  add_output_option(map, map_args.output);

  PlanArgs plan_args;
  CLI::App* plan = app.add_subcommand(
      "plan", "Draw every level of one seed to scale: rooms, doors, corridors and stairs");
  plan->add_option("--seed", plan_args.seed, "As for show (default: now)")->type_name("N");
  add_format_option(plan, plan_args.format, kPlanFormats);
  plan->add_option("--level", plan_args.level,
                   "Only level K; stairs to other levels are labelled with where they go")
      ->type_name("K");
  add_output_option(plan, plan_args.output);
  plan->footer(
      "North is up; one grid square is 10 feet. Exits 156 when the run overflowed the room "
      "limit, in every format; rooms it left unexplored are drawn dashed.");

  ScanArgs scan_args;
  CLI::App* scan_command = app.add_subcommand(
      "scan", "Run every seed of a range and list those that match, in seed order");
  scan_command->add_option("range", scan_args.range, "Seeds to run, both ends included")
      ->type_name("FROM..TO")
      ->required();
  scan_command->add_flag("--complete", scan_args.complete,
                         "Only runs that did not overflow the room limit");
  scan_command
      ->add_option("--rooms", scan_args.rooms,
                   "Only runs whose room count is in MIN..MAX (an overflowed run counts the "
                   "rooms printed before the limit stopped it)")
      ->type_name("MIN..MAX");
  scan_command
      ->add_option("--deepest", scan_args.deepest, "Only runs whose deepest level is in MIN..MAX")
      ->type_name("MIN..MAX");
  add_format_option(scan_command, scan_args.format, kScanFormats);
  scan_command
      ->add_option("--shard", scan_args.shard,
                   "Only part I of N interleaved parts: the seeds FROM+I, FROM+I+N, ... "
                   "I counts from 0, so shards 0/N to N-1/N together cover the range")
      ->type_name("I/N");
  scan_command
      ->add_option("--jobs", scan_args.jobs,
                   "Threads to run, 1 to 1024 (default: one per core); each holds about 1 MB, "
                   "and more jobs than cores only cost memory")
      ->type_name("J");
  scan_command->add_flag("--no-header", scan_args.no_header,
                         "Leave out the CSV header, for joining shards' output");
  add_output_option(scan_command, scan_args.output);
  scan_command->footer(
      "Columns: seed, outcome (complete or overflow), rooms, deepest_level, traps, monsters, "
      "treasures. For a complete run they are the report's summary. For an overflowed run, "
      "rooms counts the rooms the report printed before 'Error!!!', and the others are the "
      "totals the run had reached when the room limit stopped it. A progress line appears on "
      "standard error when it is a terminal.");

  BookArgs book_args;
  CLI::App* book = app.add_subcommand(
      "book",
      "Write the dungeon of one seed as a book: one HTML page with a floor plan and a "
      "room key per level, for screen and print");
  book->add_option("--seed", book_args.seed, "As for show (default: now)")->type_name("N");
  add_output_option(book, book_args.output);
  book->footer(
      "The page is self-contained: no script, nothing loaded from anywhere. Exits 156 when the "
      "run overflowed the room limit, as show does.");

  // CLI11 would call an unknown command an unexpected argument.
  if (argc > 1 && argv[1][0] != '-') {
    const std::string_view name = argv[1];
    bool known = false;
    for (const std::string_view command : kCommands) known = known || command == name;
    if (!known) {
      report_usage_error(
          "unknown command '" + std::string(name) + "' (commands: show, map, plan, scan, book)",
          "run 'dungeon-atlas --help' for usage");
      return kUsageStatus;
    }
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return print_help_or_version(app, error);
    // CLI11 may break its own messages over lines.
    std::string message = error.what();
    std::replace(message.begin(), message.end(), '\n', ' ');
    if (error.get_name() == "RequiredError") {
      if (app.get_subcommands().empty()) {
        message = "no command given (commands: show, map, plan, scan, book)";
      }
      if (scan_command->parsed()) message = "missing the seed range FROM..TO";
    }
    report_usage_error(message, help_pointer(app));
    return kUsageStatus;
  }

  try {
    if (show->parsed()) return run_show(show_args);
    if (map->parsed()) return run_map(map_args);
    if (plan->parsed()) return run_plan(plan_args);
    if (book->parsed()) return run_book(book_args);
    return run_scan(scan_args);
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

}  // namespace atlas
