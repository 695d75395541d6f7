// SPDX-License-Identifier: MIT
// The dungeon book: the command, the page's rules (book_check.py) and the page
// in a real browser, on screen and printed (book_browser.py).
#include "atlas/book/book.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "process.h"

namespace atlas_test {
namespace {

TEST(Book, SeedTimeIsTheUtcSecondOfTheSeed) {
  EXPECT_EQ(atlas::seed_time_utc(0), "1970-01-01 00:00:00 UTC");
  EXPECT_EQ(atlas::seed_time_utc(1700000000), "2023-11-14 22:13:20 UTC");
  EXPECT_EQ(atlas::seed_time_utc(4294967295u), "2106-02-07 06:28:15 UTC");
}

// A small one-level dungeon, a multi-level one and one the room limit stopped.
TEST(Book, KeepsEveryRuleAndMatchesTheDungeon) {
  TempDir dir;
  for (const std::string seed : {"217", "7", "0"}) {
    const ProcessResult book = run_atlas({"book", "--seed", seed, "-o", dir.file(seed + ".html")});
    EXPECT_EQ(book.status, seed == "0" ? 156 : 0) << book.err;
    EXPECT_EQ(book.err, "");
    const ProcessResult show = run_atlas({"show", "--seed", seed, "--format", "json"});
    write_file(dir.file(seed + ".json"), show.out);
    const ProcessResult check =
        run_python("book/book_check.py", {dir.file(seed + ".html"), dir.file(seed + ".json")});
    EXPECT_EQ(check.status, 0) << "seed " << seed << ":\n" << check.out << check.err;
    EXPECT_EQ(check.out, "ok\n");
  }

  // Printed at 25 mm to 10 feet: seed 7's large levels in many tiles.
  ASSERT_EQ(run_atlas({"book", "--seed", "7", "--scale", "25", "-o", dir.file("25.html")}).status,
            0);
  const ProcessResult scaled =
      run_python("book/book_check.py", {dir.file("25.html"), dir.file("7.json")});
  EXPECT_EQ(scaled.out, "ok\n") << scaled.err;

  // The players' books: nothing secret, every room on its plan.
  for (const auto& [seed, mode] :
       {std::pair<std::string, std::string>{"7", "player"}, {"0", "player-numbers"}}) {
    std::vector<std::string> args{"book", "--seed", seed, "--player", "-o", dir.file("p.html")};
    if (mode == "player-numbers") args.push_back("--numbers");
    ASSERT_EQ(run_atlas(args).status, seed == "0" ? 156 : 0);
    const ProcessResult check =
        run_python("book/book_check.py", {dir.file("p.html"), dir.file(seed + ".json"), mode});
    EXPECT_EQ(check.out, "ok\n") << "seed " << seed << " " << mode << ":\n" << check.err;
  }

  const ProcessResult now = run_atlas({"book"});
  EXPECT_TRUE(now.status == 0 || now.status == 156);
  const std::string digits = now.err.substr(std::min<std::size_t>(6, now.err.size()));
  EXPECT_TRUE(now.err.starts_with("seed: ") && now.err.ends_with("\n") && digits.size() > 1 &&
              std::all_of(digits.begin(), digits.end() - 1, ::isdigit))
      << now.err;
  EXPECT_TRUE(now.out.starts_with("<!DOCTYPE html>\n")) << now.out.substr(0, 100);
}

// The checks above are only worth something if they catch a broken book. Seed
// 7 has a level of 127 rooms, whose plan no page holds whole: it prints tiled.
TEST(Book, CheckerCatchesBrokenBooks) {
  TempDir dir;
  ASSERT_EQ(run_atlas({"book", "--seed", "7", "-o", dir.file("book.html")}).status, 0);
  write_file(dir.file("show.json"), run_atlas({"show", "--seed", "7", "--format", "json"}).out);
  const std::string book = read_file(dir.file("book.html"));
  const struct {
    std::string from, to, complaint;
  } breakages[] = {
      {"<h3>Room 3</h3>", "<h3>Room 3 < 4</h3>", "HTML5 parse error"},
      {"id=\"room-4\"", "id=\"room-5\"", "id 'room-5' appears 2 times"},
      {"href=\"#room-6\"", "href=\"#room-0\"", "link to '#room-0' hits 0 ids"},
      {"<main>", "<main><a href=\"https://example.org/\">x</a>", "external address"},
      {"default-src 'none'", "default-src *", "no Content-Security-Policy line"},
      {"to <a href=\"#room-1\">room 1</a>", "to <a href=\"#room-1\">room 1</a> on level 9",
       "only stairs, and every stair, name the level"},
      {"<li>Monster</li>", "", "contents"},
      {"<svg class=\"sheet\"", "<svg class=\"torn\"", "the tiles leave out"},
  };
  const auto expect_caught = [&](const std::string& original, const auto& breakage,
                                 std::vector<std::string> mode) {
    const std::size_t at = original.find(breakage.from);
    ASSERT_NE(at, std::string::npos) << breakage.from;
    std::string broken = original;
    broken.replace(at, breakage.from.size(), breakage.to);
    write_file(dir.file("broken.html"), broken);
    std::vector<std::string> args{dir.file("broken.html"), dir.file("show.json")};
    args.insert(args.end(), mode.begin(), mode.end());
    const ProcessResult check = run_python("book/book_check.py", args);
    EXPECT_EQ(check.status, 1) << breakage.to;
    EXPECT_NE(check.out.find(breakage.complaint), std::string::npos) << breakage.to << " gave:\n"
                                                                     << check.out << check.err;
  };
  for (const auto& breakage : breakages) expect_caught(book, breakage, {});

  // A player's book that lets a secret through.
  ASSERT_EQ(run_atlas({"book", "--seed", "7", "--player", "-o", dir.file("player.html")}).status,
            0);
  const std::string player = read_file(dir.file("player.html"));
  const struct {
    std::string from, to, complaint;
  } leaks[] = {
      {"<title>Door</title>", "<title>Door to room 5</title>", "shows 'Door to room 5'"},
      {"</g><g class=\"door\">", "<text>M $</text></g><g class=\"door\">", "shows 'M $'"},
      {"<h1>Player's map</h1>", "<h1>Dungeon of seed 7</h1>", "shows 'Dungeon of seed 7'"},
      {"</section>", "<article class=\"entry\" id=\"room-1\"></article></section>", "a key"},
      {"<g class=\"door\">", "<text>12</text><g class=\"door\">", "numbers shown"},
      {"id=\"plan-1-room-3\"", "id=\"plan-1-room-x\"", "not on their plans"},
  };
  for (const auto& leak : leaks) expect_caught(player, leak, {"player"});
}

// Headless Chromium: click a room and a stair on a plan, print on A4 and Letter.
TEST(Book, WorksInABrowserAndInPrint) {
  TempDir dir;
  ASSERT_EQ(run_atlas({"book", "--seed", "2", "-o", dir.file("book.html")}).status, 0);
  const ProcessResult browser =
      run_python("book/book_browser.py", {dir.file("book.html"), dir.path()});
  EXPECT_EQ(browser.status, 0) << browser.out << browser.err;
  EXPECT_TRUE(browser.out.starts_with("ok: 3 levels")) << browser.out;
}

// A level a little taller than a page at the scale asked for: the smallest
// whole number of millimetres at which some level of seed 11 (one of 225 by
// 510 feet) takes two tiles, one above the other. It must print as an overview and two tiles that
// share 10 feet, the second short.
TEST(Book, ALevelALittleTallerThanAPagePrintsAsTwoTilesAfterAnOverview) {
  TempDir dir;
  const std::string two_tiles = " plan, overview: 2 tiles in 2 rows and 1 column,";
  std::string book, level;
  for (int mm = 5; mm <= 80 && level.empty(); ++mm) {
    book = run_atlas({"book", "--seed", "11", "--scale", std::to_string(mm)}).out;
    const std::size_t at = book.find(two_tiles);
    if (at != std::string::npos)
      level = book.substr(book.rfind("Level ", at) + 6, at - book.rfind("Level ", at) - 6);
  }
  ASSERT_FALSE(level.empty());
  write_file(dir.file("book.html"), book);
  const ProcessResult print =
      run_python("book/book_print.py", {dir.file("book.html"), dir.path(), level});
  EXPECT_EQ(print.out, "ok\n") << print.err;
}

}  // namespace
}  // namespace atlas_test
