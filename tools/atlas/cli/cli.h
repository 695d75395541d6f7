// SPDX-License-Identifier: MIT
// The dungeon-atlas command line: show, map, plan, book and scan, from the
// table of commands (commands.h).
#ifndef ATLAS_CLI_CLI_H_
#define ATLAS_CLI_CLI_H_

namespace atlas {

// Exit statuses besides 0 and the 156 of show, plan and book after an
// overflow.
inline constexpr int kFailureStatus = 1;  // output could not be written or rendered
inline constexpr int kUsageStatus = 2;    // bad command line

// Parses the command line, runs the command and returns the exit status.
int run_cli(int argc, char** argv);

}  // namespace atlas

#endif  // ATLAS_CLI_CLI_H_
