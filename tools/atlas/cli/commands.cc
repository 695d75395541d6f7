// SPDX-License-Identifier: MIT
#include "atlas/cli/commands.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "atlas/book/book.h"
#include "atlas/cli/cli.h"
#include "atlas/cli/options.h"
#include "atlas/cli/plan_picture.h"
#include "atlas/cli/progress.h"
#include "atlas/common/finished_run.h"
#include "atlas/common/numbers.h"
#include "atlas/common/output_file.h"
#include "atlas/common/print_scale.h"
#include "atlas/export/dungeon_json.h"
#include "atlas/map/dungeon_dot.h"
#include "atlas/map/render_dot.h"
#include "atlas/plan/describe.h"
#include "atlas/plan/draw/plan_png.h"
#include "atlas/plan/draw/plan_svg.h"
#include "atlas/plan/layout/plan_layout.h"
#include "atlas/plan/plan_json.h"
#include "atlas/plan/vtt/picture.h"
#include "atlas/plan/vtt/uvtt.h"
#include "atlas/plan/vtt/walls.h"
#include "atlas/scan/scan.h"

namespace atlas {
namespace {

constexpr int kOverflowStatus = dungeon::kOverflowExitStatus & 0xFF;
constexpr uint64_t kMaxJobs = 1024;

constexpr std::string_view kSeedHelp = "As for show (default: now)";

// A clock seed is printed so that the dungeon can be had again, once the
// command is known to be good: a bad one gets its one line and nothing more.
void announce_seed(const std::optional<std::string>& text, uint32_t seed) {
  if (!text) std::fprintf(stderr, "seed: %u\n", seed);
}

void write_all(Output& output, std::string_view text) {
  output.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
}

// `status`, or 1 when standard output's reader left: nobody is there to tell.
int finish(Output& output, int status) {
  output.commit();
  return output.reader_gone() ? kFailureStatus : status;
}

int outcome_status(const FinishedRun& run) {
  return run.overflowed() ? kOverflowStatus : 0;
}

// Picture bytes would only garble a terminal.
void refuse_png_on_terminal(bool png, const Output& output) {
  if (png && output.is_terminal()) {
    throw UsageError("will not write PNG to a terminal: use -o FILE or redirect the output");
  }
}

// A laid-out plan with what its drawing needs.
Plan drawn_plan(const FinishedRun& run, std::optional<int> level) {
  Plan plan = lay_out_plan(run.d(), run.seed(), run.outcome(), level);
  describe_plan(plan, run);
  return plan;
}

// show: the report, or the run as JSON.
enum class ShowFormat { kText, kJson };
constexpr FormatEntry<ShowFormat> kShowFormats[] = {
    {"text", ShowFormat::kText, "the report, byte for byte"},
    {"json", ShowFormat::kJson, "see docs/dungeon-atlas.schema.json"},
};

struct ShowArgs {
  std::optional<std::string> seed;
  ShowFormat format = ShowFormat::kText;
  std::string output = "-";
};

int run_show(const ShowArgs& args) {
  const uint32_t seed = chosen_seed(args.seed);
  Output output(args.output);
  announce_seed(args.seed, seed);
  if (args.format == ShowFormat::kText) {
    const FinishedRun run(seed, output.stream());
    return finish(output, outcome_status(run));
  }
  const FinishedRun run(seed);
  write_all(output, dungeon_json(run).dump(2) + "\n");
  return finish(output, outcome_status(run));
}

std::function<int()> define_show(CLI::App& command) {
  auto args = std::make_shared<ShowArgs>();
  add_seed_option(command, args->seed,
                  "Unix time the dungeon was grown at, 0 to 4294967295 (default: now, and the "
                  "seed is printed on standard error as 'seed: N')");
  add_format_option(command, args->format, kShowFormats);
  add_output_option(command, args->output);
  return [args] { return run_show(*args); };
}

// map: DOT, or drawn by Graphviz, whose format names these are.
enum class MapFormat { kDot, kSvg, kPng };
constexpr FormatEntry<MapFormat> kMapFormats[] = {
    {"dot", MapFormat::kDot, "Graphviz source"},
    {"svg", MapFormat::kSvg, "drawn with the Graphviz library"},
    {"png", MapFormat::kPng, "drawn with the Graphviz library"},
};

struct MapArgs {
  std::optional<std::string> seed;
  MapFormat format = MapFormat::kDot;
  std::optional<std::string> level;
  std::string output = "-";
};

int run_map(const MapArgs& args) {
  const std::optional<int> level = chosen_level(args.level);
  const uint32_t seed = chosen_seed(args.seed);
  Output output(args.output);
  refuse_png_on_terminal(args.format == MapFormat::kPng, output);
  const FinishedRun run(seed);
  const std::string dot = dungeon_dot(run, level);
  announce_seed(args.seed, seed);
  write_all(output, args.format == MapFormat::kDot
                        ? dot
                        : render_dot(dot, format_name(kMapFormats, args.format)));
  return finish(output, 0);
}

std::function<int()> define_map(CLI::App& command) {
  auto args = std::make_shared<MapArgs>();
  add_seed_option(command, args->seed, kSeedHelp);
  add_format_option(command, args->format, kMapFormats);
  add_level_option(command, args->level,
                   "Only level K's rooms; stairs to other levels end at the room they reach");
  add_output_option(command, args->output);
  return [args] { return run_map(*args); };
}

// plan: drawn by the program itself, the PNG by librsvg from the SVG.
enum class PlanFormat { kSvg, kPng, kJson, kUvtt };
constexpr FormatEntry<PlanFormat> kPlanFormats[] = {
    {"svg", PlanFormat::kSvg, "drawn to scale"},
    {"png", PlanFormat::kPng, "the SVG drawn with librsvg"},
    {"json", PlanFormat::kJson, "see docs/dungeon-atlas-plan.schema.json"},
    {"uvtt", PlanFormat::kUvtt, "one level for virtual tabletops: picture, walls and doors"},
};

// Foundry's default; Roll20 works at 70.
constexpr int kDefaultPixelsPerSquare = 100;

struct PlanArgs {
  std::optional<std::string> seed;
  PlanFormat format = PlanFormat::kSvg;
  std::optional<std::string> level;
  std::string output = "-";
  DrawingArgs drawing;
  std::optional<std::string> scale;
};

void add_scale_option(CLI::App& command, std::optional<std::string>& scale, std::string_view help) {
  command.add_option("--scale", scale, std::string(help))->type_name("fit|battle|MM");
}

// A tabletop file is the players' map of one level, without a grid.
void refuse_uvtt_options(const PlanArgs& args, std::optional<int> level) {
  if (!level) throw UsageError("--format uvtt needs --level K: a tabletop file holds one level");
  if (args.drawing.grid)
    throw UsageError("--grid is not for --format uvtt: tabletops draw their own");
}

// A tabletop file is one level: the players' map and its walls. Throws
// UsageError, before any rendering, for a picture the renderer cannot make.
std::string level_uvtt(const Plan& plan, int px_per_square, bool room_numbers) {
  const PlanLevel& level = plan.levels.front();
  const SvgDrawing drawing = vtt::tabletop_drawing(level, px_per_square, room_numbers);
  if (!png_possible(drawing.width, drawing.height)) {
    throw UsageError(too_many_pixels(drawing, px_per_square));
  }
  return vtt::uvtt_document(vtt::level_walls(level), vtt::level_picture(drawing, px_per_square));
}

int run_plan(const PlanArgs& args) {
  const std::optional<int> level = chosen_level(args.level);
  const uint32_t seed = chosen_seed(args.seed);
  const bool uvtt = args.format == PlanFormat::kUvtt;
  if (uvtt) refuse_uvtt_options(args, level);
  const DrawOptions options = uvtt ? DrawOptions{} : chosen_drawing(args.drawing);
  const PictureSize size{chosen_px_per_square(args.drawing),
                         args.scale ? std::optional(parse_print_scale(*args.scale)) : std::nullopt};
  if (size.px_per_square && size.scale) {
    throw UsageError("--px-per-square and --scale both size the PNG: give one of them");
  }
  if (size.px_per_square && args.format != PlanFormat::kPng && !uvtt) {
    throw UsageError("--px-per-square sizes a picture: give it with --format png or uvtt");
  }
  if (size.scale && args.format != PlanFormat::kPng) {
    throw UsageError("--scale sets the printed size of a PNG or a book: give it with --format png");
  }
  if (args.format == PlanFormat::kJson && (args.drawing.player || args.drawing.grid)) {
    throw UsageError(std::string(args.drawing.player ? "--player" : "--grid") +
                     " is for the drawings: --format svg or png");
  }
  Output output(args.output);
  refuse_png_on_terminal(args.format == PlanFormat::kPng, output);
  const FinishedRun run(seed);
  const Plan plan = drawn_plan(run, level);
  if (args.format == PlanFormat::kJson) {
    announce_seed(args.seed, seed);
    write_all(output, plan_json(plan).dump(2) + "\n");
  } else if (args.format == PlanFormat::kSvg) {
    announce_seed(args.seed, seed);
    write_all(output, plan_svg(plan, options).svg);
  } else if (uvtt) {
    const std::string file = level_uvtt(plan, size.px_per_square.value_or(kDefaultPixelsPerSquare),
                                        args.drawing.numbers);
    announce_seed(args.seed, seed);
    write_all(output, file);
  } else {
    const SvgDrawing drawing = sized_picture(plan, options, size);
    announce_seed(args.seed, seed);
    write_all(output, plan_png(drawing, size.scale ? kPngDotsPerInch : 0));
  }
  return finish(output, outcome_status(run));
}

std::function<int()> define_plan(CLI::App& command) {
  auto args = std::make_shared<PlanArgs>();
  add_seed_option(command, args->seed, kSeedHelp);
  add_format_option(command, args->format, kPlanFormats);
  add_level_option(command, args->level,
                   "Only level K; stairs to other levels are labelled with where they go");
  add_player_options(command, args->drawing);
  add_picture_options(command, args->drawing);
  add_scale_option(command, args->scale,
                   "PNG: print scale, recorded at 150 dots an inch: fit (one page), battle (an "
                   "inch to 5 feet) or millimetres a 10-foot square, 1 to 80");
  add_output_option(command, args->output);
  return [args] { return run_plan(*args); };
}

// book: one HTML page, the one format.
struct BookArgs {
  std::optional<std::string> seed;
  std::string output = "-";
  DrawingArgs drawing;
  std::optional<std::string> scale;
};

int run_book(const BookArgs& args) {
  const uint32_t seed = chosen_seed(args.seed);
  const DrawOptions drawing = chosen_drawing(args.drawing);
  BookOptions options;
  options.player = drawing.player;
  options.room_numbers = drawing.room_numbers;
  if (args.scale) {
    options.scale = parse_print_scale(*args.scale);
  } else if (options.player) {
    options.scale.kind = PrintScale::Kind::kFit;
  }
  Output output(args.output);
  announce_seed(args.seed, seed);
  const FinishedRun run(seed);
  write_all(output, dungeon_book(run, drawn_plan(run, std::nullopt), options));
  return finish(output, outcome_status(run));
}

std::function<int()> define_book(CLI::App& command) {
  auto args = std::make_shared<BookArgs>();
  add_seed_option(command, args->seed, kSeedHelp);
  add_player_options(command, args->drawing);
  add_scale_option(command, args->scale,
                   "How plans print: fit (each level on one page), battle (an inch to 5 feet, "
                   "tiled) or millimetres a 10-foot square, 1 to 80 (default: as large as fits, "
                   "tiled below 4.8; the players' book: fit)");
  add_output_option(command, args->output);
  return [args] { return run_book(*args); };
}

// scan: rows streamed in either format.
constexpr FormatEntry<ScanFormat> kScanFormats[] = {
    {"csv", ScanFormat::kCsv, "with a header line"},
    {"json", ScanFormat::kJson, "an array"},
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

// One thread per core unless told otherwise.
unsigned chosen_jobs(const std::optional<std::string>& text) {
  if (text) {
    const auto jobs = static_cast<unsigned>(parse_number(*text, "job count", kMaxJobs));
    if (jobs == 0) throw UsageError("job count '0' is too small: expected 1 to 1024");
    return jobs;
  }
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : std::min(cores, static_cast<unsigned>(kMaxJobs));
}

int run_scan(const ScanArgs& args) {
  ScanSeeds seeds{parse_seed_range(args.range), {}};
  if (args.shard) seeds.shard = parse_shard(*args.shard);
  ScanFilter filter;
  filter.complete_only = args.complete;
  if (args.rooms) filter.rooms = parse_count_range(*args.rooms, "rooms");
  if (args.deepest) filter.deepest_level = parse_count_range(*args.deepest, "deepest");
  const unsigned jobs = chosen_jobs(args.jobs);
  Output output(args.output);

  RowWriter writer(output.stream(), args.format, !args.no_header);
  Progress progress(seeds.count(), ::isatty(STDERR_FILENO) == 1);
  uint64_t matches = 0;
  writer.begin();
  scan(seeds, filter, jobs, [&](std::vector<ScanRow>& rows, uint64_t done) {
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

std::function<int()> define_scan(CLI::App& command) {
  auto args = std::make_shared<ScanArgs>();
  command.add_option("range", args->range, "Seeds to run, both ends included")
      ->type_name("FROM..TO")
      ->required();
  command.add_flag("--complete", args->complete, "Only runs that did not overflow the room limit");
  command
      .add_option("--rooms", args->rooms,
                  "Only runs whose room count is in MIN..MAX (an overflowed run counts the "
                  "rooms printed before the limit stopped it)")
      ->type_name("MIN..MAX");
  command.add_option("--deepest", args->deepest, "Only runs whose deepest level is in MIN..MAX")
      ->type_name("MIN..MAX");
  add_format_option(command, args->format, kScanFormats);
  command
      .add_option("--shard", args->shard,
                  "Only part I of N interleaved parts: the seeds FROM+I, FROM+I+N, ... "
                  "I counts from 0, so shards 0/N to N-1/N together cover the range")
      ->type_name("I/N");
  command
      .add_option("--jobs", args->jobs,
                  "Threads to run, 1 to 1024 (default: one per core); each holds about 1 MB, "
                  "and more jobs than cores only cost memory")
      ->type_name("J");
  command.add_flag("--no-header", args->no_header,
                   "Leave out the CSV header, for joining shards' output");
  add_output_option(command, args->output);
  return [args] { return run_scan(*args); };
}

constexpr Command kCommands[] = {
    {"show", "Print the dungeon of one seed, exactly as dungeon prints it, or as JSON",
     "Exits 156 when the run overflowed the room limit, in either format.", "", define_show},
    {"map", "Draw the dungeon of one seed as a Graphviz map", "", "", define_map},
    {"plan", "Draw every level of one seed to scale: rooms, doors, corridors and stairs",
     "North is up; one grid square is 10 feet. Exits 156 when the run overflowed the room "
     "limit, in every format; rooms it left unexplored are drawn dashed.",
     "", define_plan},
    {"scan", "Run every seed of a range and list those that match, in seed order",
     "Columns: seed, outcome (complete or overflow), rooms, deepest_level, traps, monsters, "
     "treasures. For a complete run they are the report's summary. For an overflowed run, "
     "rooms counts the rooms the report printed before 'Error!!!', and the others are the "
     "totals the run had reached when the room limit stopped it. A progress line appears on "
     "standard error when it is a terminal.",
     "missing the seed range FROM..TO", define_scan},
    {"book",
     "Write the dungeon of one seed as a book: one HTML page with a floor plan and a "
     "room key per level, for screen and print",
     "The page is self-contained: no script, nothing loaded from anywhere. Exits 156 when the "
     "run overflowed the room limit, as show does.",
     "", define_book},
};

}  // namespace

std::span<const Command> commands() {
  return kCommands;
}

}  // namespace atlas
