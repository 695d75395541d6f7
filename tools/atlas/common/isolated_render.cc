// SPDX-License-Identifier: MIT
#include "atlas/common/isolated_render.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "atlas/common/errors.h"
#include "framework/fd_output.h"

namespace atlas {
namespace {

// The child's reply is one of these, then the drawing or the message.
constexpr char kDrawn = 'D';
constexpr char kFailed = 'F';
constexpr char kOutOfMemory = 'M';

[[noreturn]] void draw_in_child(const std::function<std::string()>& draw, int reply) {
  // The program's handler speaks for the whole run; here the parent does.
  std::set_new_handler(nullptr);
  const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null >= 0) ::dup2(null, STDERR_FILENO);
  char kind = kDrawn;
  std::string body;
  try {
    body = draw();
  } catch (const std::bad_alloc&) {
    kind = kOutOfMemory;
  } catch (const std::exception& error) {
    kind = kFailed;
    body = error.what();
  }
  const bool sent =
      dungeon::write_all(reply, {&kind, 1}) == 0 && dungeon::write_all(reply, body) == 0;
  // Without exit's handlers: they belong to the parent.
  ::_exit(sent ? 0 : 1);
}

std::string read_all(int fd) {
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return text;
    }
  }
}

bool memory_limited() {
  for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) return true;
  }
  return false;
}

}  // namespace

std::string render_isolated(std::string_view what, const std::function<std::string()>& draw) {
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) return draw();
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(channel[0]);
    ::close(channel[1]);
    return draw();
  }
  if (child == 0) {
    ::close(channel[0]);
    draw_in_child(draw, channel[1]);
  }
  ::close(channel[1]);
  std::string reply = read_all(channel[0]);
  ::close(channel[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }

  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && !reply.empty()) {
    if (reply[0] == kOutOfMemory) throw std::bad_alloc();
    if (reply[0] == kFailed) throw RenderError(reply.substr(1));
    reply.erase(0, 1);
    return reply;
  }
  const std::string how = WIFSIGNALED(status)
                              ? std::string(::strsignal(WTERMSIG(status)))
                              : "exit status " + std::to_string(WEXITSTATUS(status));
  if (memory_limited()) {
    throw RenderError("out of memory drawing " + std::string(what) +
                      " (the drawing libraries ended on " + how + ")");
  }
  throw RenderError("the drawing libraries failed on " + std::string(what) + " (" + how + ")");
}

}  // namespace atlas
