// SPDX-License-Identifier: MIT
// The programs under conditions people do not ask for but get: outputs that
// are devices, pipes or links, signals ignored or sent mid-run, process,
// memory and file-size limits, and standard output that cannot be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "atlas/common/output_file.h"
#include "process.h"
#include "test_support.h"

extern char** environ;

namespace atlas_test {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

const std::string kAtlas = ATLAS_BINARY;
const std::string kDungeon = DUNGEON_BINARY;

ProcessResult run_shell(const std::string& script, std::vector<std::string> args = {}) {
  args.insert(args.begin(), {"/bin/sh", "-c", script});  // args[0] is $0
  return run_process(args);
}

// "dungeon-atlas: ..." alone on one line.
void expect_one_line(const ProcessResult& result, const std::string& program,
                     const std::string& says) {
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
  EXPECT_TRUE(result.err.starts_with(program + ": ")) << result.err;
  EXPECT_NE(result.err.find(says), std::string::npos) << result.err;
}

mode_t file_type(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

TEST(OutputFile, WritesThroughLinksAndPipesWithoutReplacingThem) {
  const TempDir dir;
  const std::string report = dungeon::testing::reference_report(7);

  // A link to a private file: the file gets the new text and keeps its mode.
  write_file(dir.file("private.txt"), "old");
  ASSERT_EQ(chmod(dir.file("private.txt").c_str(), 0600), 0);
  ASSERT_EQ(symlink("private.txt", dir.file("link").c_str()), 0);
  EXPECT_EQ(run_atlas({"show", "--seed", "7", "-o", dir.file("link")}).status, 0);
  EXPECT_EQ(file_type(dir.file("link")), S_IFLNK);
  EXPECT_EQ(read_file(dir.file("private.txt")), report);
  struct stat info {};
  ASSERT_EQ(stat(dir.file("private.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);

  // A link to the program's own standard output, as /dev/stdout is.
  ASSERT_EQ(symlink("/proc/self/fd/1", dir.file("stdout").c_str()), 0);
  const ProcessResult linked = run_atlas({"show", "--seed", "7", "-o", dir.file("stdout")});
  EXPECT_EQ(linked.status, 0) << linked.err;
  EXPECT_EQ(linked.out, report);
  EXPECT_EQ(file_type(dir.file("stdout")), S_IFLNK);

  // A named pipe, with its reader waiting.
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = read_file(dir.file("pipe")); });
  const ProcessResult piped = run_atlas({"show", "--seed", "7", "-o", dir.file("pipe")});
  reader.join();
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(received, report);
  EXPECT_EQ(file_type(dir.file("pipe")), S_IFIFO);

  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"link", "pipe", "private.txt", "stdout"}));
}

TEST(OutputFile, AFullDeviceIsAWriteErrorAndStaysADevice) {
  // A device node of our own in a private mount, so the machine's /dev is
  // never at stake. Prints the folder's entries after the run.
  const TempDir dir;
  const ProcessResult result =
      run_process({"/usr/bin/unshare", "--mount", "--propagation", "private", "/bin/sh", "-c",
                   "mount -t tmpfs none \"$1\" && mknod \"$1/full\" c 1 7 && echo ready || exit; "
                   "\"$2\" show --seed 0 -o \"$1/full\"; status=$?; "
                   "[ -c \"$1/full\" ] && ls -A \"$1\"; exit $status",
                   "sh", dir.path(), kAtlas});
  if (!result.out.starts_with("ready\n")) {
    GTEST_SKIP() << "cannot make a device node in a private mount here: " << result.err;
  }
  EXPECT_EQ(result.status, 1);
  expect_one_line(result, "dungeon-atlas", "cannot write '" + dir.path() + "/full': No space left");
  EXPECT_EQ(result.out, "ready\nfull\n");
}

// The signal dispositions of a running process, from /proc.
struct SignalMasks {
  uint64_t ignored = 0;
  uint64_t caught = 0;
};

SignalMasks signal_masks(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  SignalMasks masks;
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("SigIgn:")) masks.ignored = std::stoull(line.substr(7), nullptr, 16);
    if (line.starts_with("SigCgt:")) masks.caught = std::stoull(line.substr(7), nullptr, 16);
  }
  return masks;
}

constexpr uint64_t bit(int signal_number) {
  return uint64_t{1} << (signal_number - 1);
}

// A long scan into dir/out.csv, started through `prefix` (shell code ending
// in exec), returned once its temporary file is guarded.
pid_t start_guarded_scan(const TempDir& dir, const std::string& prefix) {
  const std::string script = prefix + " \"$0\" scan 0..4000000000 --jobs 1 -o \"$1\"";
  const std::string out = dir.file("out.csv");
  const char* argv[] = {"/bin/sh", "-c", script.c_str(), kAtlas.c_str(), out.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  for (int tries = 0; tries < 1000 && !(signal_masks(pid).caught & bit(SIGTERM)); ++tries) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return pid;
}

int wait_status(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(Signals, IgnoredOnesStayIgnoredAndFatalOnesLeaveNoFile) {
  {
    // As under nohup or in a script's background job.
    const TempDir dir;
    const pid_t pid = start_guarded_scan(dir, "trap '' HUP INT; exec");
    ASSERT_GT(pid, 0);
    const SignalMasks masks = signal_masks(pid);
    EXPECT_EQ(masks.ignored & (bit(SIGHUP) | bit(SIGINT)), bit(SIGHUP) | bit(SIGINT));
    EXPECT_EQ(masks.caught & (bit(SIGTERM) | bit(SIGQUIT)), bit(SIGTERM) | bit(SIGQUIT));
    kill(pid, SIGHUP);
    kill(pid, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the scan ended on an ignored signal";
    kill(pid, SIGTERM);
    EXPECT_EQ(wait_status(pid), 128 + SIGTERM);
    EXPECT_TRUE(dir.entries().empty());
  }
  {
    const TempDir dir;
    // No core file: only the leftovers of the scan are of interest.
    const pid_t pid = start_guarded_scan(dir, "ulimit -c 0; exec");
    ASSERT_GT(pid, 0);
    kill(pid, SIGQUIT);
    EXPECT_EQ(wait_status(pid), 128 + SIGQUIT);
    EXPECT_TRUE(dir.entries().empty());
  }
}

TEST(Signals, AnOutputFileRestoresTheDispositionsItFound) {
  struct sigaction previous_hup {
  }, previous_int{};
  struct sigaction own {};
  own.sa_handler = [](int) {};
  ASSERT_EQ(sigaction(SIGHUP, &own, &previous_hup), 0);
  ASSERT_EQ(sigaction(SIGINT, nullptr, &previous_int), 0);
  signal(SIGINT, SIG_IGN);
  const TempDir dir;
  {
    atlas::Output output(dir.file("out.txt"));
    struct sigaction during {};
    sigaction(SIGHUP, nullptr, &during);
    EXPECT_NE(during.sa_handler, own.sa_handler) << "SIGHUP would leave the temporary file";
    sigaction(SIGINT, nullptr, &during);
    EXPECT_EQ(during.sa_handler, SIG_IGN);
    output.commit();
  }
  struct sigaction after {};
  sigaction(SIGHUP, nullptr, &after);
  EXPECT_EQ(after.sa_handler, own.sa_handler);
  sigaction(SIGINT, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_IGN);
  sigaction(SIGHUP, &previous_hup, nullptr);
  sigaction(SIGINT, &previous_int, nullptr);
}

TEST(Limits, AFileSizeLimitIsAWriteError) {
  const TempDir dir;
  // The atlas's text of seed 7 is 64 KB.
  const ProcessResult atlas =
      run_shell("ulimit -f 10; exec \"$0\" show --seed 7 -o \"$1\"", {kAtlas, dir.file("o.txt")});
  EXPECT_EQ(atlas.status, 1);
  expect_one_line(atlas, "dungeon-atlas", "File too large");
  EXPECT_TRUE(dir.entries().empty());
  // A limit of 0 would fail the message too, were it written to a file.
  const ProcessResult dungeon =
      run_shell("((ulimit -f 0; exec \"$0\" >\"$1\") 2>&1; echo \"exit $?\") | cat",
                {kDungeon, dir.file("d")});
  EXPECT_EQ(dungeon.out, "dungeon: cannot write the report: File too large\nexit 1\n");
}

// The smallest address-space limit, in KB, under which `program args` gets
// past the loader and the start-up of the libraries it links (GLib, for
// one, aborts when its own constructor cannot allocate, before any code of
// ours runs; pixman crashes). The libraries decide it, so it is measured.
int loader_floor_kb(const std::string& program, const std::string& args) {
  int fails = 1000;
  int loads = 1 << 21;
  while (loads - fails > 100) {
    const int kb = (fails + loads) / 2;
    const ProcessResult result = run_shell(
        "ulimit -v " + std::to_string(kb) + "; exec \"$0\" " + args + " >/dev/null", {program});
    const bool started = result.status != 127 && (result.status <= 128 || result.status == 156);
    (started ? loads : fails) = kb;
  }
  return loads;
}

TEST(Limits, ThreadsThatCannotStartNeverAbortTheScan) {
  const TempDir dir;
  const std::string plain = run_atlas({"scan", "0..999"}).out;
  // The kernel lets root start processes past the limit.
  std::string as_user;
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr) << "no user 'nobody' to run as";
    as_user = "setpriv --reuid=" + std::to_string(nobody->pw_uid) +
              " --regid=" + std::to_string(nobody->pw_gid) + " --clear-groups ";
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  }
  std::vector<std::string> limits = {"--nproc=16"};
  if (!kAddressSanitizer) {
    // Room for the libraries and a few threads' stacks, not for 64.
    const int kb = loader_floor_kb(kAtlas, "--version") + 30000;
    limits.push_back("--as=" + std::to_string(kb * 1024));
  }
  for (const std::string& limit : limits) {
    SCOPED_TRACE(limit);
    const ProcessResult result =
        run_shell(as_user + "prlimit " + limit + " \"$0\" scan 0..999 --jobs 64 -o \"$1\"",
                  {kAtlas, dir.file("out.csv")});
    // Either the threads that started did the work, or one line says why not.
    if (result.status == 0) {
      EXPECT_EQ(read_file(dir.file("out.csv")), plain);
      std::remove(dir.file("out.csv").c_str());
    } else {
      EXPECT_EQ(result.status, 1);
      expect_one_line(result, "dungeon-atlas", "");
    }
    EXPECT_TRUE(dir.entries().empty());
  }
}

TEST(Limits, OutOfMemoryIsOneLine) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space: no limit applies";
  }
  // Somewhere between too little memory to load the libraries and enough
  // for the run, each program must fail with exactly this line.
  struct Case {
    std::string program, args, line;
  };
  for (const Case& c : {Case{kDungeon, "", "dungeon: out of memory\n"},
                        Case{kAtlas, "show --seed 1782", "dungeon-atlas: out of memory\n"}}) {
    int out_of_memory = 0;
    const int floor_kb = loader_floor_kb(c.program, c.args);
    for (int kb = floor_kb; kb <= floor_kb + 12000; kb += 100) {
      const ProcessResult result =
          run_shell("ulimit -v " + std::to_string(kb) + "; exec \"$0\" " + c.args + " >/dev/null",
                    {c.program});
      SCOPED_TRACE(c.program + " under ulimit -v " + std::to_string(kb));
      if (result.status == 127) continue;  // the loader itself ran out
      if (result.status == 1) {
        EXPECT_EQ(result.err, c.line);
        ++out_of_memory;
      } else {
        EXPECT_TRUE(result.status == 0 || result.status == 156) << result.status << result.err;
      }
    }
    EXPECT_GT(out_of_memory, 0) << c.program << ": no limit from " << floor_kb
                                << " KB made it run out";
  }
}

TEST(CommandLine, HelpAndVersionFailWhenTheyCannotBeWritten) {
  for (const std::string option : {"--help", "--version", "scan --help"}) {
    for (const std::string redirect : {">&-", ">/dev/full"}) {
      SCOPED_TRACE(option + " " + redirect);
      const ProcessResult result = run_shell("exec \"$0\" " + option + " " + redirect, {kAtlas});
      EXPECT_EQ(result.status, 1);
      expect_one_line(result, "dungeon-atlas", "cannot write to standard output");
    }
  }
}

TEST(CommandLine, WithoutASeedABadCommandIsStillOneLine) {
  const TempDir dir;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"map", "--level", "99", "-o", dir.file("m.dot")},
                                             {"show", "-o", dir.file("missing/out.txt")},
                                             {"map", "-o", dir.path()}}) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    const ProcessResult result = run_atlas(args);
    EXPECT_EQ(result.status, 2);
    expect_one_line(result, "dungeon-atlas", "--help");
  }
  EXPECT_TRUE(dir.entries().empty());
}

}  // namespace
}  // namespace atlas_test
