#include "atlas/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "atlas/numbers.h"

namespace atlas {
namespace {

// The temporary file an interrupt must not leave behind. Only one output is
// open at a time, and a signal handler may touch nothing but a fixed buffer.
char g_pending_temp[4096];
constexpr int kFatalSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void remove_pending_temp(int signal_number) {
  if (g_pending_temp[0] != '\0') ::unlink(g_pending_temp);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

void guard_temp(const std::string& temp_path) {
  if (temp_path.size() >= sizeof g_pending_temp) return;
  std::memcpy(g_pending_temp, temp_path.c_str(), temp_path.size() + 1);
  for (const int signal_number : kFatalSignals) ::signal(signal_number, remove_pending_temp);
}

void unguard_temp() {
  for (const int signal_number : kFatalSignals) ::signal(signal_number, SIG_DFL);
  g_pending_temp[0] = '\0';
}

}  // namespace

Output::Output(const std::string& path) {
  if (!path.empty() && path != "-") {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      throw UsageError("cannot write '" + path + "': it is a directory");
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) throw UsageError("cannot write '" + path + "': no file name");

    std::string temp_path = folder + "." + base + ".XXXXXX";
    const int fd = ::mkstemp(temp_path.data());
    if (fd < 0) throw UsageError("cannot write '" + path + "': " + std::strerror(errno));
    // mkstemp makes the file private; the result should look like any other
    // file this user creates.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    path_ = path;
    temp_path_ = std::move(temp_path);
    fd_ = fd;
    guard_temp(temp_path_);
  }
  buffer_ = std::make_unique<dungeon::FdStreambuf>(fd_);
  stream_.rdbuf(buffer_.get());
}

Output::~Output() {
  if (!committed_) discard();
}

bool Output::is_terminal() const {
  return !is_file() && ::isatty(STDOUT_FILENO) == 1;
}

bool Output::reader_gone() const {
  return !is_file() && buffer_->error() == EPIPE;
}

void Output::discard() {
  if (!is_file() || fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlink(temp_path_.c_str());
  unguard_temp();
}

void Output::commit() {
  stream_.flush();
  int error = buffer_->error();
  if (!is_file()) {
    committed_ = true;
    if (error != 0 && error != EPIPE) {
      throw WriteError(std::string("cannot write to standard output: ") + std::strerror(error));
    }
    return;
  }
  // A full disk may only show when the data reaches it.
  if (error == 0 && ::fsync(fd_) != 0 && errno != EINVAL) error = errno;
  if (::close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (error == 0 && ::rename(temp_path_.c_str(), path_.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temp_path_.c_str());
  unguard_temp();
  committed_ = true;
  if (error != 0) throw WriteError("cannot write '" + path_ + "': " + std::strerror(error));
}

}  // namespace atlas
