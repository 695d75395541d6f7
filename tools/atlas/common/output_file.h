// SPDX-License-Identifier: MIT
// Where a command's output goes: standard output, or a file that only ever
// appears complete. A regular file is written under a temporary name in the
// same folder and renamed over the target at the end, so an interrupted or
// failed run never leaves a half-written map or scan where the real one
// should be. Anything else that already exists (a device, a named pipe, a
// link to one) is written in place: renaming over it would destroy it.
#ifndef ATLAS_COMMON_OUTPUT_FILE_H_
#define ATLAS_COMMON_OUTPUT_FILE_H_

#include <sys/stat.h>

#include <memory>
#include <ostream>
#include <string>

#include "atlas/common/errors.h"
#include "framework/fd_output.h"

namespace atlas {

// Removes the temporary file of the output being written, if any; safe in a
// signal handler, for ending the process without unwinding.
void remove_pending_output();

class Output {
 public:
  // An empty path or "-" is standard output. A link is followed to what it
  // names, so the link stays and its target is replaced. A regular target is
  // prepared at once (the temporary file created, keeping an existing file's
  // permissions), so an unwritable path is reported (as UsageError) before
  // any work is done. A named pipe is opened as a shell would, waiting for
  // its reader.
  explicit Output(const std::string& path);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  std::ostream& stream() { return stream_; }
  // True when the output is a terminal.
  bool is_terminal() const;

  // Makes the output final: renames the file into place. Throws WriteError
  // when any write failed. A reader that went away from standard output or a
  // pipe is not an error worth a message; see reader_gone().
  void commit();
  bool reader_gone() const;

 private:
  void open_in_place(const std::string& path);
  void open_temporary(const std::string& target, const struct stat* existing);
  void discard();
  std::string destination() const;

  std::string path_;       // as the user gave it, for messages; empty for stdout
  std::string target_;     // what the temporary file is renamed to
  std::string temp_path_;  // empty unless writing under a temporary name
  int fd_ = 1;             // standard output until a file is opened
  std::unique_ptr<dungeon::FdStreambuf> buffer_;
  std::ostream stream_{nullptr};
  bool committed_ = false;
};

}  // namespace atlas

#endif  // ATLAS_COMMON_OUTPUT_FILE_H_
