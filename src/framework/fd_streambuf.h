// An unbuffered stream buffer over a file descriptor that remembers why a
// write failed, so the program can say so instead of ending as if all went
// well. Callers write in large pieces (the report collects its text first).
#ifndef DUNGEON_FRAMEWORK_FD_STREAMBUF_H_
#define DUNGEON_FRAMEWORK_FD_STREAMBUF_H_

#include <streambuf>

namespace dungeon {

class FdStreambuf : public std::streambuf {
 public:
  explicit FdStreambuf(int fd) : fd_(fd) {}

  // The errno of the first failed write, or 0 while every write went through.
  int error() const { return error_; }

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int_type overflow(int_type c) override;

 private:
  int fd_;
  int error_ = 0;
};

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_FD_STREAMBUF_H_
