// SPDX-License-Identifier: MIT
#include "atlas/common/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>

#include "atlas/common/errors.h"

namespace atlas {
namespace {

// The kernel's own limit on links followed in one path.
constexpr int kMaxLinkHops = 40;
// Short, so that it fits wherever the target's name does.
constexpr std::string_view kTempPrefix = ".dungeon-atlas-";

// The named temporary file an interrupt must not leave behind. Only one
// output is open at a time, and a signal handler may touch nothing but fixed
// buffers.
char g_pending_temp[PATH_MAX];
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

std::optional<std::string> read_link(const std::string& path) {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
  if (n < 0 || static_cast<std::size_t>(n) == sizeof buffer) return std::nullopt;
  const std::string link(buffer, static_cast<std::size_t>(n));
  return link.starts_with('/') ? link : folder_of(path) + link;
}

// Follows links in the last part of `path` to the name they end at, for a
// path that names nothing yet: a link to a file still to be written.
std::string follow_links(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops < kMaxLinkHops; ++hops) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    const std::optional<std::string> next = read_link(current);
    if (!next) return current;
    current = *next;
  }
  throw UsageError("cannot write '" + path + "': " + std::strerror(ELOOP));
}

// This process's folder of descriptors, under any of its names: /dev/fd,
// /proc/self/fd, /proc/thread-self/fd.
bool is_own_descriptor_folder(const std::string& folder) {
  char real[PATH_MAX];
  if (::realpath(folder.empty() ? "." : folder.c_str(), real) == nullptr) return false;
  const std::string own = "/proc/" + std::to_string(::getpid()) + "/";
  const std::string_view path(real);
  return path.starts_with(own) && path.ends_with("/fd") &&
         (path.size() == own.size() + 2 || path.substr(own.size()).starts_with("task/"));
}

// The descriptor `path` names, links followed. Opening such a path would
// not share what the shell set up but open the file anew: from its start,
// without appending, and with our own permissions rather than the opener's.
std::optional<int> descriptor_named(const std::string& path) {
  std::string current = path;
  for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
    const std::string folder = folder_of(current);
    const char* name = current.c_str() + folder.size();
    const char* end = current.c_str() + current.size();
    int fd = -1;
    const auto [stop, error] = std::from_chars(name, end, fd);
    if (name != end && stop == end && error == std::errc() && fd >= 0 &&
        is_own_descriptor_folder(folder)) {
      return fd;
    }
    const std::optional<std::string> next = read_link(current);
    if (!next) return std::nullopt;
    current = *next;
  }
  return std::nullopt;
}

// What `>` would refuse (a file we may not write) and what the final rename
// would (another user's file in a sticky folder), found before the work
// rather than after it. Asked, not tried: opening the file for writing would
// wake whoever watches it. `target` is a full path.
void check_replaceable(const std::string& path, const std::string& target,
                       const struct stat& file) {
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    throw UsageError("cannot write '" + path + "': " + std::strerror(errno));
  }
  struct stat folder {};
  if (::stat(folder_of(target).c_str(), &folder) != 0) {
    throw UsageError("cannot write '" + path + "': " + std::strerror(errno));
  }
  const uid_t user = ::geteuid();
  if ((folder.st_mode & S_ISVTX) != 0 && user != 0 && user != file.st_uid &&
      user != folder.st_uid) {
    throw UsageError("cannot replace '" + path +
                     "': it belongs to another user, in a folder that only lets owners "
                     "replace their files");
  }
}

}  // namespace

void remove_pending_output() {
  if (g_pending_temp[0] != '\0') ::unlink(g_pending_temp);
}

Output::Output(const std::string& path) {
  if (path.empty()) throw UsageError("-o needs a file name, or - for standard output");
  if (path == "-") {
    fd_ = STDOUT_FILENO;
  } else {
    path_ = path;
    try {
      struct stat info {};
      if (const std::optional<int> fd = descriptor_named(path)) {
        open_descriptor(*fd);
      } else if (::stat(path.c_str(), &info) != 0) {
        open_temporary(follow_links(path), nullptr);
      } else if (S_ISDIR(info.st_mode)) {
        throw UsageError("cannot write '" + path + "': it is a directory");
      } else if (!S_ISREG(info.st_mode)) {
        open_in_place(path);
      } else {
        char target[PATH_MAX];
        if (::realpath(path.c_str(), target) == nullptr) {
          throw UsageError("cannot write '" + path + "': " + std::strerror(errno));
        }
        check_replaceable(path, target, info);
        open_temporary(target, &info);
      }
    } catch (...) {
      discard();
      throw;
    }
  }
  buffer_ = std::make_unique<dungeon::FdStreambuf>(fd_);
  stream_.rdbuf(buffer_.get());
}

void Output::open_descriptor(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0) throw UsageError("cannot write '" + path_ + "': " + std::strerror(errno));
  if ((flags & O_ACCMODE) == O_RDONLY) {
    throw UsageError("cannot write '" + path_ + "': descriptor " + std::to_string(fd) +
                     " is open for reading only");
  }
  fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (fd_ < 0) throw UsageError("cannot write '" + path_ + "': " + std::strerror(errno));
}

void Output::open_in_place(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) throw UsageError("cannot write '" + path_ + "': " + std::strerror(errno));
}

void Output::open_temporary(const std::string& target, const struct stat* existing) {
  const std::string folder = folder_of(target);
  name_ = target.substr(folder.size());
  if (name_.empty()) throw UsageError("cannot write '" + path_ + "': no file name");
  const auto refuse = [&](int error) {
    if (existing != nullptr && error == EACCES) {
      return UsageError("cannot replace '" + path_ + "': its folder is not writable");
    }
    return UsageError("cannot write '" + path_ + "': " + std::strerror(error));
  };

  folder_fd_ = ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd_ < 0) throw refuse(errno);
  replacing_ = existing != nullptr;
  // Naming an unnamed file takes /proc/self/fd; without it, or where the
  // file system cannot make one, the file has a name from the start.
  fd_ = ::openat(folder_fd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd_ >= 0 && ::access("/proc/self/fd", X_OK) == 0) {
    kind_ = Kind::kUnnamed;
  } else {
    if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) throw refuse(errno);
    if (fd_ >= 0) ::close(fd_);
    std::string temp_path = folder + std::string(kTempPrefix) + "XXXXXX";
    fd_ = ::mkostemp(temp_path.data(), O_CLOEXEC);
    if (fd_ < 0) throw refuse(errno);
    kind_ = Kind::kNamed;
    temp_path_ = std::move(temp_path);
    guard_temp(temp_path_);
  }

  if (existing != nullptr) {
    // Replacing a file keeps what it was: its owner where we may set it (as
    // root), and its permissions.
    if (::fchown(fd_, existing->st_uid, existing->st_gid) != 0) {
      // Only root may give a file away; the file stays ours.
    }
    ::fchmod(fd_, existing->st_mode & 07777);
  } else {
    // A new file should look like any other file this user creates.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
}

Output::~Output() {
  if (!committed_) discard();
}

bool Output::is_terminal() const {
  return ::isatty(fd_) == 1;
}

bool Output::reader_gone() const {
  return kind_ == Kind::kStream && buffer_->error() == EPIPE;
}

std::string Output::destination() const {
  return path_.empty() ? "to standard output" : "'" + path_ + "'";
}

void Output::discard() {
  if (fd_ >= 0 && !path_.empty()) ::close(fd_);
  fd_ = -1;
  if (kind_ == Kind::kNamed) {
    if (!temp_path_.empty()) ::unlink(temp_path_.c_str());
    temp_path_.clear();
    unguard_temp();
  }
  if (folder_fd_ >= 0) ::close(folder_fd_);
  folder_fd_ = -1;
}

// A link cannot replace a name, so an existing target is replaced by linking
// the file under a second, temporary name and renaming that over it. Every
// catchable signal waits between the two calls; only SIGKILL could leave the
// temporary name there.
int Output::give_name() {
  if (kind_ == Kind::kNamed) {
    const std::string temp_name = temp_path_.substr(folder_of(temp_path_).size());
    return ::renameat(folder_fd_, temp_name.c_str(), folder_fd_, name_.c_str()) == 0 ? 0 : errno;
  }
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  if (!replacing_) {
    if (::linkat(AT_FDCWD, self.c_str(), folder_fd_, name_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return 0;
    }
    if (errno != EEXIST) return errno;  // else someone made the target meanwhile
  }
  sigset_t all;
  sigset_t previous;
  sigfillset(&all);
  ::pthread_sigmask(SIG_BLOCK, &all, &previous);
  std::string temp_name;
  int error = EEXIST;
  for (int attempt = 0; error == EEXIST && attempt < 100; ++attempt) {
    temp_name =
        std::string(kTempPrefix) + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    error = ::linkat(AT_FDCWD, self.c_str(), folder_fd_, temp_name.c_str(), AT_SYMLINK_FOLLOW) == 0
                ? 0
                : errno;
  }
  if (error == 0 && ::renameat(folder_fd_, temp_name.c_str(), folder_fd_, name_.c_str()) != 0) {
    error = errno;
    ::unlinkat(folder_fd_, temp_name.c_str(), 0);
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return error;
}

void Output::commit() {
  stream_.flush();
  int error = buffer_->error();
  committed_ = true;
  if (kind_ != Kind::kStream) {
    // A full disk may only show when the data reaches it.
    if (error == 0 && ::fsync(fd_) != 0 && errno != EINVAL) error = errno;
    if (error == 0) error = give_name();
    if (error == 0) temp_path_.clear();
  }
  if (!path_.empty() && ::close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  discard();
  if (error != 0 && !reader_gone()) {
    throw WriteError("cannot write " + destination() + ": " + std::strerror(error));
  }
}

}  // namespace atlas
