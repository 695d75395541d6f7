#include "framework/fd_streambuf.h"

#include <unistd.h>

#include <cerrno>

namespace dungeon {

std::streamsize FdStreambuf::xsputn(const char* s, std::streamsize n) {
  if (error_ != 0) return 0;
  std::streamsize done = 0;
  while (done < n) {
    const ssize_t written = ::write(fd_, s + done, static_cast<size_t>(n - done));
    if (written < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      break;
    }
    done += written;
  }
  return done;
}

FdStreambuf::int_type FdStreambuf::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char ch = traits_type::to_char_type(c);
  return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
}

}  // namespace dungeon
