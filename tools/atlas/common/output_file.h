// SPDX-License-Identifier: MIT
// Where a command's output goes: standard output, or what -o FILE names,
// kept to the promises of a shell's `>` and one more: a regular file only
// ever appears complete.
//
// - A regular file is written into an unnamed file in the target's folder
//   (O_TMPFILE) that gets the target's name only when complete, replacing
//   the old file whole; other hard links to the old file keep the old text.
//   No end of the process, not even SIGKILL, leaves a file behind. Where the
//   file system or a missing /proc rules that out, a file named
//   .dungeon-atlas-XXXXXX stands in; catchable signals still remove it.
// - A path that names an open descriptor (/dev/stdout, /dev/fd/N,
//   /proc/self/fd/N, or a link to one) is written through that descriptor,
//   as `>` or `>>` would: at its offset, appending if it was opened so.
// - Anything else that exists (a device, a named pipe) is written in place.
#ifndef ATLAS_COMMON_OUTPUT_FILE_H_
#define ATLAS_COMMON_OUTPUT_FILE_H_

#include <sys/stat.h>

#include <memory>
#include <ostream>
#include <string>

#include "atlas/common/errors.h"
#include "framework/fd_output.h"

namespace atlas {

// Removes the named temporary file of the output being written, if any; safe
// in a signal handler, for ending the process without unwinding.
void remove_pending_output();

class Output {
 public:
  // "-" is standard output. Everything that would stop the write is found
  // here, before any work: a missing or unwritable folder, an existing file
  // the user could not open for writing (as `>` would refuse it), another
  // user's file in a sticky folder, a descriptor not open for writing.
  // Throws UsageError for those and for an empty path. A link is followed to
  // what it names, so the link stays and its target is replaced. A named
  // pipe is opened as a shell would, waiting for its reader.
  explicit Output(const std::string& path);
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  std::ostream& stream() { return stream_; }
  // True when the output is a terminal.
  bool is_terminal() const;

  // Makes the output final: gives the file its name. Throws WriteError when
  // any write failed. A reader that went away from standard output or a
  // pipe is not an error worth a message; see reader_gone().
  void commit();
  bool reader_gone() const;

 private:
  enum class Kind { kStream, kUnnamed, kNamed };

  void open_descriptor(int fd);
  void open_in_place(const std::string& path);
  void open_temporary(const std::string& target, const struct stat* existing);
  int give_name();
  void discard();
  std::string destination() const;

  std::string path_;  // as the user gave it, for messages; empty for stdout
  Kind kind_ = Kind::kStream;
  int folder_fd_ = -1;      // the target's folder, for a file of either temporary kind
  std::string name_;        // the target's name in that folder
  bool replacing_ = false;  // the target existed when the output was opened
  std::string temp_path_;   // the named temporary file
  int fd_ = 1;              // standard output until a file is opened
  std::unique_ptr<dungeon::FdStreambuf> buffer_;
  std::ostream stream_{nullptr};
  bool committed_ = false;
};

}  // namespace atlas

#endif  // ATLAS_COMMON_OUTPUT_FILE_H_
