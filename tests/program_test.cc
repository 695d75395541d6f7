// SPDX-License-Identifier: MIT
// The built `dungeon` program, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "framework/run.h"
#include "test_support.h"

namespace dungeon::testing {
namespace {

struct Ran {
  std::string out;
  int status = -1;  // exit status, or -1 when killed by a signal
};

// Runs a shell command line, capturing its standard output.
Ran run_shell(const std::string& command) {
  Ran ran;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return ran;
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) ran.out.append(buffer, n);
  const int status = pclose(pipe);
  if (WIFEXITED(status)) ran.status = WEXITSTATUS(status);
  return ran;
}

const std::string kBinary = DUNGEON_BINARY;

// The program seeds from the clock: its report must be the in-process report
// of one of the seconds during which it ran, and its status that run's.
void expect_report_of_a_second_during_run(const std::string& arguments) {
  const auto before = static_cast<uint32_t>(std::time(nullptr));
  const Ran ran = run_shell("'" + kBinary + "'" + arguments);
  const auto after = static_cast<uint32_t>(std::time(nullptr));
  auto d = make_dungeon();
  bool matched = false;
  for (uint32_t seed = before; seed <= after && !matched; ++seed) {
    RunOutcome outcome{};
    if (report_for_seed(*d, seed, &outcome) == ran.out) {
      matched = true;
      EXPECT_EQ(ran.status, outcome == RunOutcome::kOverflow ? 156 : 0);
    }
  }
  EXPECT_TRUE(matched) << "output of `dungeon" << arguments << "` is no seed's report between "
                       << before << " and " << after;
}

TEST(ProgramTest, PrintsTheReportOfTheCurrentSecond) {
  expect_report_of_a_second_during_run("");
}

TEST(ProgramTest, IgnoresItsArguments) {
  expect_report_of_a_second_during_run(" --seed 7 --help extra");
}

// A file of the test's own: ctest runs tests as separate processes at once,
// and the release and sanitizer suites may share the temporary folder.
std::string own_temp_file() {
  std::string path = ::testing::TempDir() + "/dungeon_test_XXXXXX";
  const int fd = mkstemp(path.data());
  if (fd >= 0) close(fd);
  return path;
}

// One line on standard error, naming the problem.
void expect_write_error(const std::string& redirect, const std::string& reason) {
  const std::string err = own_temp_file();
  const Ran ran = run_shell("'" + kBinary + "' " + redirect + " 2>'" + err + "'");
  EXPECT_EQ(ran.status, 1);
  const std::string message = read_file(err);
  EXPECT_EQ(message.find('\n'), message.size() - 1) << message;
  EXPECT_NE(message.find("dungeon: "), std::string::npos) << message;
  EXPECT_NE(message.find(reason), std::string::npos) << message;
  std::remove(err.c_str());
}

TEST(ProgramTest, FullDeviceIsAnError) {
  expect_write_error(">/dev/full", "No space left");
}

TEST(ProgramTest, ClosedOutputIsAnError) {
  expect_write_error(">&-", "Bad file descriptor");
}

TEST(ProgramTest, ReaderClosingEarlyEndsQuietly) {
  const std::string err = own_temp_file();
  // With SIGPIPE at its default the kernel ends the writer; with it ignored
  // the write fails with EPIPE. Both must stay silent.
  for (const std::string prefix : {"", "trap '' PIPE; "}) {
    run_shell(prefix + "'" + kBinary + "' 2>'" + err + "' | head -c 1 >/dev/null");
    EXPECT_EQ(read_file(err), "") << prefix;
  }
  std::remove(err.c_str());
}

}  // namespace
}  // namespace dungeon::testing
