// SPDX-License-Identifier: MIT
#include "framework/fd_output.h"

#include <unistd.h>

#include <cerrno>

namespace dungeon {

int write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

std::streamsize FdStreambuf::xsputn(const char* s, std::streamsize n) {
  if (error_ != 0) return 0;
  error_ = write_all(fd_, {s, static_cast<std::size_t>(n)});
  return error_ == 0 ? n : 0;
}

FdStreambuf::int_type FdStreambuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

}  // namespace dungeon
