// SPDX-License-Identifier: MIT
// What is wrong with a command line, found before CLI11 reads it and said in
// the program's own words: each message names the option or argument and
// what it wants ("--level needs a number, for example --level 2"). CLI11
// then parses only lines that are well formed.
#ifndef ATLAS_CLI_USAGE_H_
#define ATLAS_CLI_USAGE_H_

#include <CLI/CLI.hpp>
#include <optional>
#include <span>
#include <string>

namespace atlas {

// The first fault in `words`, what follows the command's name, for
// `command` as its options and arguments were defined: an unknown option, a
// value missing or given as another option, an option given twice, a value
// given to a flag, an argument too many. Nothing when there is none, or when
// the words ask for --help, which CLI11 answers whatever else they hold.
std::optional<std::string> usage_fault(const CLI::App& command, std::span<const std::string> words);

}  // namespace atlas

#endif  // ATLAS_CLI_USAGE_H_
