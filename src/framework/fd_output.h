// SPDX-License-Identifier: MIT
// Output straight to a file descriptor that remembers why a write failed, so
// a program can say so instead of ending as if all went well. Callers write
// in large pieces (the report collects its text first), so nothing here
// buffers.
#ifndef DUNGEON_FRAMEWORK_FD_OUTPUT_H_
#define DUNGEON_FRAMEWORK_FD_OUTPUT_H_

#include <streambuf>
#include <string_view>

#include "framework/report.h"

namespace dungeon {

// Writes all of `text` to `fd`, retrying short and interrupted writes.
// Returns 0, or the errno of the write that failed.
int write_all(int fd, std::string_view text);

// A report sink for the program itself: no stream, and so none of the
// locale set-up a stream costs at start.
class FdSink final : public ReportSink {
 public:
  explicit FdSink(int fd) : fd_(fd) {}
  void write(std::string_view text) override {
    if (error_ == 0) error_ = write_all(fd_, text);
  }
  // The errno of the first failed write, or 0 while every write went through.
  int error() const { return error_; }

 private:
  int fd_;
  int error_ = 0;
};

// The same for code that wants a std::ostream.
class FdStreambuf : public std::streambuf {
 public:
  explicit FdStreambuf(int fd) : fd_(fd) {}
  int error() const { return error_; }

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int_type overflow(int_type c) override;

 private:
  int fd_;
  int error_ = 0;
};

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_FD_OUTPUT_H_
