// Where a command's output goes: standard output, or a file that only ever
// appears complete. A file is written under a temporary name in the same
// folder and renamed over the target at the end, so an interrupted or failed
// run never leaves a half-written map or scan where the real one should be.
#ifndef ATLAS_OUTPUT_FILE_H_
#define ATLAS_OUTPUT_FILE_H_

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include "framework/fd_output.h"

namespace atlas {

// Output that could not be written after it was started; the program exits 1.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Output {
 public:
  // An empty path or "-" is standard output. Otherwise the temporary file is
  // created at once, so an unwritable path is reported (as UsageError) before
  // any work is done.
  explicit Output(const std::string& path);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  std::ostream& stream() { return stream_; }
  bool is_file() const { return !path_.empty(); }
  // True when the output is standard output and that is a terminal.
  bool is_terminal() const;

  // Makes the output final: renames the file into place. Throws WriteError
  // when any write failed. A reader of standard output that went away (a
  // closed pipe) is not an error worth a message; see reader_gone().
  void commit();
  bool reader_gone() const;

 private:
  void discard();

  std::string path_;
  std::string temp_path_;
  int fd_ = 1;  // standard output until a file is opened
  std::unique_ptr<dungeon::FdStreambuf> buffer_;
  std::ostream stream_{nullptr};
  bool committed_ = false;
};

}  // namespace atlas

#endif  // ATLAS_OUTPUT_FILE_H_
