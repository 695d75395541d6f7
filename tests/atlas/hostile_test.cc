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
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

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

// Shell words that run the rest of the line as nobody when the tests run as
// root, whom no permission stops; empty otherwise.
std::string as_nobody() {
  if (geteuid() != 0) return "";
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr) throw std::runtime_error("no user 'nobody' to run as");
  return "setpriv --reuid=" + std::to_string(nobody->pw_uid) +
         " --regid=" + std::to_string(nobody->pw_gid) + " --clear-groups ";
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

TEST(OutputFile, ADescriptorIsWrittenThroughAsTheShellOpenedIt) {
  const TempDir dir;
  const std::string rows = run_atlas({"scan", "0..3"}).out;
  const ProcessResult result = run_shell(
      "{ echo HEADER; \"$0\" scan 0..3 -o /dev/stdout; echo FOOTER; } >\"$1/out\"; "
      "echo LOG >\"$1/log\"; \"$0\" scan 0..3 -o /dev/fd/3 3>>\"$1/log\"; "
      "exec \"$0\" scan 0..3 -o /proc/self/fd/0 <\"$1/log\"",
      {kAtlas, dir.path()});
  EXPECT_EQ(read_file(dir.file("out")), "HEADER\n" + rows + "FOOTER\n");
  EXPECT_EQ(read_file(dir.file("log")), "LOG\n" + rows);
  EXPECT_EQ(result.status, 2);
  expect_one_line(result, "dungeon-atlas", "descriptor 0 is open for reading only");
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"log", "out"}));

  if (geteuid() != 0) GTEST_SKIP() << "only root can open its own log for another user";
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  const ProcessResult nobody =
      run_shell(as_nobody() + "\"$0\" scan 0..3 -o /dev/stdout >>\"$1/log\"", {kAtlas, dir.path()});
  EXPECT_EQ(nobody.status, 0) << nobody.err;
  EXPECT_EQ(read_file(dir.file("log")), "LOG\n" + rows + rows);
}

// Without --seed a command that got to work would say "seed: N" first.
void expect_refused_before_work(const std::string& path, const std::string& says) {
  SCOPED_TRACE(path);
  const ProcessResult result = run_shell(as_nobody() + "\"$0\" book -o \"$1\"", {kAtlas, path});
  EXPECT_EQ(result.status, 2);
  expect_one_line(result, "dungeon-atlas", says);
  EXPECT_EQ(read_file(path), "old");
}

TEST(OutputFile, AFileTheUserMayNotWriteIsRefusedBeforeAnyWork) {
  const TempDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  write_file(dir.file("own"), "old");
  if (geteuid() == 0) {
    ASSERT_EQ(chown(dir.file("own").c_str(), getpwnam("nobody")->pw_uid, 0), 0);
  }
  ASSERT_EQ(chmod(dir.file("own").c_str(), 0444), 0);
  expect_refused_before_work(dir.file("own"), "Permission denied");
  if (geteuid() != 0) GTEST_SKIP() << "only root can leave a file of its own in a folder for all";
  write_file(dir.file("root's"), "old");
  expect_refused_before_work(dir.file("root's"), "Permission denied");
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{"own", "root's"}));
}

TEST(OutputFile, WhatWouldStopTheReplacementIsFoundBeforeAnyWork) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can own files where another user writes";
  const TempDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir.file("sticky").c_str(), 0755), 0);
  ASSERT_EQ(chmod(dir.file("sticky").c_str(), 01777), 0);
  ASSERT_EQ(mkdir(dir.file("fixed").c_str(), 0755), 0);
  for (const std::string name : {"sticky/shared.html", "fixed/open.html"}) {
    write_file(dir.file(name), "old");
    ASSERT_EQ(chmod(dir.file(name).c_str(), 0666), 0);
  }
  expect_refused_before_work(dir.file("sticky/shared.html"), "belongs to another user");
  expect_refused_before_work(dir.file("fixed/open.html"), "its folder is not writable");
}

TEST(OutputFile, AnyNameTheFileSystemTakesWillDo) {
  const TempDir dir;
  const std::string name(NAME_MAX, 'n');
  for (const uint32_t seed : {2u, 7u}) {  // a new file, then one replaced
    EXPECT_EQ(run_atlas({"show", "--seed", std::to_string(seed), "-o", dir.file(name)}).status, 0);
    EXPECT_EQ(read_file(dir.file(name)), dungeon::testing::reference_report(seed));
  }
  EXPECT_EQ(dir.entries(), (std::vector<std::string>{name}));
}

TEST(OutputFile, AFileWithOtherLinksIsReplacedUnderItsOwnNameOnly) {
  const TempDir dir;
  write_file(dir.file("named"), "old");
  ASSERT_EQ(link(dir.file("named").c_str(), dir.file("other").c_str()), 0);
  EXPECT_EQ(run_atlas({"show", "--seed", "2", "-o", dir.file("named")}).status, 0);
  EXPECT_EQ(read_file(dir.file("named")), dungeon::testing::reference_report(2));
  EXPECT_EQ(read_file(dir.file("other")), "old");
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

bool has_file_open_in(pid_t pid, const std::string& folder) {
  std::error_code error;
  for (const auto& fd :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
    if (std::filesystem::read_symlink(fd, error).string().starts_with(folder + "/")) return true;
  }
  return false;
}

// A long scan into dir/out.csv, started through `prefix` (shell code ending
// in exec) with /proc hidden from it if asked, returned once its output is
// open and a named one guarded; -1 if it could not start.
pid_t start_guarded_scan(const TempDir& dir, std::string prefix, bool hide_proc = false) {
  if (hide_proc) prefix = "mount -t tmpfs none /proc && " + prefix;
  const std::string script = prefix + " \"$0\" scan 0..4000000000 --jobs 1 -o \"$1\"";
  const std::string out = dir.file("out.csv");
  std::vector<const char*> argv = {"/usr/bin/unshare", "--mount", "--propagation", "private",
                                   "/bin/sh",          "-c",      script.c_str(),  kAtlas.c_str(),
                                   out.c_str(),        nullptr};
  if (!hide_proc) argv.erase(argv.begin(), argv.begin() + 4);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv.data()), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  while (!has_file_open_in(pid, dir.path()) ||
         (hide_proc && !(signal_masks(pid).caught & bit(SIGTERM)))) {
    if (int status = 0; waitpid(pid, &status, WNOHANG) == pid) return -1;
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
    const TempDir dir;
    // The output has no name until it is complete, so not even SIGKILL
    // leaves one.
    const pid_t pid = start_guarded_scan(dir, "exec");
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(dir.entries().empty()) << "the unfinished output has a name";
    kill(pid, SIGKILL);
    EXPECT_EQ(wait_status(pid), 128 + SIGKILL);
    EXPECT_TRUE(dir.entries().empty());
  }
  // As under nohup or in a script's background job. Without /proc the file
  // has a name from the start.
  const TempDir dir;
  const pid_t pid = start_guarded_scan(dir, "trap '' HUP INT; exec", true);
  if (pid < 0) GTEST_SKIP() << "cannot hide /proc in a private mount here";
  EXPECT_EQ(dir.entries().size(), 1u);
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
  const std::string as_user = as_nobody();
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
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

TEST(Limits, ADrawingThatRunsOutOfMemoryLeavesTheTargetAsItWas) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space: no limit applies";
  }
  // fontconfig, pango and cairo crash or abort here, depending on the limit.
  const TempDir dir;
  const int floor_kb = loader_floor_kb(kAtlas, "--version");
  int failed = 0;
  for (const std::string command :
       {"map --seed 7 --format png", "map --seed 7 --format svg", "plan --seed 7 --format png"}) {
    for (int kb = floor_kb; kb <= floor_kb + 280000; kb += 40000) {
      SCOPED_TRACE(command + " under ulimit -v " + std::to_string(kb));
      write_file(dir.file("old"), "old");
      const ProcessResult result =
          run_shell("ulimit -v " + std::to_string(kb) + "; exec \"$0\" " + command + " -o \"$1\"",
                    {kAtlas, dir.file("old")});
      EXPECT_EQ(dir.entries(), (std::vector<std::string>{"old"}));
      if (result.status == 0) continue;
      ++failed;
      EXPECT_EQ(result.status, 1);
      expect_one_line(result, "dungeon-atlas", "");
      EXPECT_EQ(read_file(dir.file("old")), "old");
    }
  }
  EXPECT_GT(failed, 0) << "no limit from " << floor_kb << " KB made a drawing fail";
}

TEST(Limits, MissingGraphvizPluginsAreOneLineNamingThePackage) {
  const TempDir dir;
  for (const std::string format : {"svg", "png"}) {
    const ProcessResult result =
        run_shell("GVBINDIR=\"$1\" exec \"$0\" map --seed 2 --format $2 -o \"$1/map\"",
                  {kAtlas, dir.path(), format});
    EXPECT_EQ(result.status, 1);
    expect_one_line(result, "dungeon-atlas", "apt-get install --reinstall libgvc6");
  }
  EXPECT_TRUE(dir.entries().empty());
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
