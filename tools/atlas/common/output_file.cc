// SPDX-License-Identifier: MIT
#include "atlas/common/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "atlas/common/errors.h"

namespace atlas {
namespace {

// The temporary file an interrupt must not leave behind. Only one output is
// open at a time, and a signal handler may touch nothing but fixed buffers.
char g_pending_temp[4096];
constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr std::size_t kSignalCount = std::size(kFatalSignals);
struct sigaction g_previous[kSignalCount];
bool g_guarding[kSignalCount];

extern "C" void remove_pending_temp(int signal_number) {
  remove_pending_output();
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (kFatalSignals[i] == signal_number) ::sigaction(signal_number, &g_previous[i], nullptr);
  }
  ::raise(signal_number);
}

// A signal ignored at start stays ignored (nohup, background jobs of a
// script): the guard only stands in for dispositions that would end the run.
void guard_temp(const std::string& temp_path) {
  if (temp_path.size() >= sizeof g_pending_temp) return;
  std::memcpy(g_pending_temp, temp_path.c_str(), temp_path.size() + 1);
  struct sigaction action {};
  action.sa_handler = remove_pending_temp;
  sigfillset(&action.sa_mask);
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    g_guarding[i] = ::sigaction(kFatalSignals[i], nullptr, &g_previous[i]) == 0 &&
                    g_previous[i].sa_handler != SIG_IGN;
    if (g_guarding[i]) ::sigaction(kFatalSignals[i], &action, nullptr);
  }
}

void unguard_temp() {
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (g_guarding[i]) ::sigaction(kFatalSignals[i], &g_previous[i], nullptr);
    g_guarding[i] = false;
  }
  g_pending_temp[0] = '\0';
}

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// Follows links in the last part of `path` to the name they end at, for a
// path that names nothing yet: a link to a file still to be written.
std::string follow_links(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
    if (n < 0) return current;
    const std::string link(buffer, static_cast<std::size_t>(n));
    current = link.starts_with('/') ? link : folder_of(current) + link;
  }
  throw UsageError("cannot write '" + path + "': " + std::strerror(ELOOP));
}

}  // namespace

void remove_pending_output() {
  if (g_pending_temp[0] != '\0') ::unlink(g_pending_temp);
}

Output::Output(const std::string& path) {
  if (!path.empty() && path != "-") {
    path_ = path;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
      open_temporary(follow_links(path), nullptr);
    } else if (S_ISDIR(info.st_mode)) {
      throw UsageError("cannot write '" + path + "': it is a directory");
    } else if (!S_ISREG(info.st_mode)) {
      // The kernel follows the links, /proc/self/fd ones included.
      open_in_place(path);
    } else {
      char target[PATH_MAX];
      if (::realpath(path.c_str(), target) == nullptr) {
        throw UsageError("cannot write '" + path + "': " + std::strerror(errno));
      }
      open_temporary(target, &info);
    }
  }
  buffer_ = std::make_unique<dungeon::FdStreambuf>(fd_);
  stream_.rdbuf(buffer_.get());
}

void Output::open_in_place(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw UsageError("cannot write '" + path_ + "': " + std::strerror(errno));
  fd_ = fd;
}

void Output::open_temporary(const std::string& target, const struct stat* existing) {
  const std::string folder = folder_of(target);
  const std::string base = target.substr(folder.size());
  if (base.empty()) throw UsageError("cannot write '" + path_ + "': no file name");

  std::string temp_path = folder + "." + base + ".XXXXXX";
  const int fd = ::mkstemp(temp_path.data());
  if (fd < 0) throw UsageError("cannot write '" + path_ + "': " + std::strerror(errno));
  if (existing != nullptr) {
    // Replacing a file keeps what it was: its owner where we may set it (as
    // root), and its permissions.
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
      // Only root may give a file away; the file stays ours.
    }
    ::fchmod(fd, existing->st_mode & 07777);
  } else {
    // mkstemp makes the file private; a new file should look like any other
    // file this user creates.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  target_ = target;
  temp_path_ = std::move(temp_path);
  fd_ = fd;
  guard_temp(temp_path_);
}

Output::~Output() {
  if (!committed_) discard();
}

bool Output::is_terminal() const {
  return ::isatty(fd_) == 1;
}

bool Output::reader_gone() const {
  return temp_path_.empty() && buffer_->error() == EPIPE;
}

std::string Output::destination() const {
  return path_.empty() ? "to standard output" : "'" + path_ + "'";
}

void Output::discard() {
  if (path_.empty() || fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  if (!temp_path_.empty()) {
    ::unlink(temp_path_.c_str());
    unguard_temp();
  }
}

void Output::commit() {
  stream_.flush();
  int error = buffer_->error();
  committed_ = true;
  if (!path_.empty()) {
    // A full disk may only show when the data reaches it; devices and pipes
    // cannot be synced, and say so with EINVAL.
    if (error == 0 && !temp_path_.empty() && ::fsync(fd_) != 0 && errno != EINVAL) error = errno;
    if (::close(fd_) != 0 && error == 0) error = errno;
    fd_ = -1;
    if (!temp_path_.empty()) {
      if (error == 0 && ::rename(temp_path_.c_str(), target_.c_str()) != 0) error = errno;
      if (error != 0) ::unlink(temp_path_.c_str());
      unguard_temp();
    }
  }
  if (error != 0 && !reader_gone()) {
    throw WriteError("cannot write " + destination() + ": " + std::strerror(error));
  }
}

}  // namespace atlas
