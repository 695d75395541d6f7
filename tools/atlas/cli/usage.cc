// SPDX-License-Identifier: MIT
#include "atlas/cli/usage.h"

#include <map>
#include <string_view>

#include "atlas/cli/options.h"

namespace atlas {
namespace {

// An option as the user typed it, split from a value given with '=' or
// joined to a short name ("-oFILE").
struct Word {
  std::string name;
  std::optional<std::string> value;
};

Word split(const std::string& word) {
  if (word.starts_with("--")) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) return {word, std::nullopt};
    return {word.substr(0, equals), word.substr(equals + 1)};
  }
  if (word.size() > 2) return {word.substr(0, 2), word.substr(2)};
  return {word, std::nullopt};
}

// A word the parser takes for an option: "-5" and "-1..9" are numbers that
// the readers of numbers refuse with a better message, and "-" is standard
// output.
bool is_option_like(const std::string& word) {
  return word.size() > 1 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

const CLI::Option* find_option(const CLI::App& command, const std::string& name) {
  const bool is_long = name.starts_with("--");
  const std::string bare = name.substr(is_long ? 2 : 1);
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& known : is_long ? option->get_lnames() : option->get_snames()) {
      if (known == bare) return option;
    }
  }
  return nullptr;
}

bool takes_value(const CLI::Option& option) {
  return option.get_items_expected_max() > 0;
}

// "-o" where there is a short name, the long one otherwise.
std::string shown_name(const CLI::Option& option) {
  if (!option.get_snames().empty()) return "-" + option.get_snames().front();
  return "--" + option.get_lnames().front();
}

// "--seed, --format, -o", for pointing at what there is.
std::string option_list(const CLI::App& command) {
  std::string list;
  for (const CLI::Option* option : command.get_options()) {
    if (option == command.get_help_ptr() || !option->nonpositional()) continue;
    list += (list.empty() ? "" : ", ") + shown_name(*option);
  }
  return list;
}

// "--level needs a number, for example --level 2"
std::string needs(const std::string& typed, const CLI::Option& option) {
  const OptionWants wants = option_wants(option);
  return typed + " needs " + wants.what + ", for example " + typed + " " + wants.example;
}

std::string too_many(const CLI::App& command, const std::string& word) {
  std::string takes = "only options";
  for (const CLI::Option* option : command.get_options()) {
    if (option->get_positional()) takes = option_wants(*option).what + " and options";
  }
  return command.get_name() + " takes " + takes + ", not also '" + word + "'";
}

}  // namespace

std::optional<std::string> usage_fault(const CLI::App& command,
                                       std::span<const std::string> words) {
  for (const std::string& word : words) {
    if (word == "--") break;
    if (word == "-h" || word == "--help" || word.starts_with("--help=")) return std::nullopt;
  }
  std::map<const CLI::Option*, int> given;
  std::size_t arguments = 0;
  std::size_t allowed = 0;
  for (const CLI::Option* option : command.get_options()) allowed += option->get_positional();
  bool options_end = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (options_end || !is_option_like(word)) {
      if (++arguments > allowed) return too_many(command, word);
      continue;
    }
    if (word == "--") {
      options_end = true;
      continue;
    }
    const Word typed = split(word);
    const CLI::Option* option = find_option(command, typed.name);
    if (option == nullptr) {
      return command.get_name() + " has no option " + typed.name + " (it has " +
             option_list(command) + ")";
    }
    if (++given[option] > 1 && takes_value(*option)) {
      return typed.name + " is given twice; give it once, for example " + typed.name + " " +
             option_wants(*option).example;
    }
    if (!takes_value(*option)) {
      if (typed.value) return typed.name + " takes no value; give " + typed.name + " alone";
      continue;
    }
    if (typed.value) {
      if (typed.value->empty()) return needs(typed.name, *option);
      continue;
    }
    // A value that is another of the command's options was left out.
    if (i + 1 == words.size() ||
        (is_option_like(words[i + 1]) && find_option(command, split(words[i + 1]).name))) {
      return needs(typed.name, *option);
    }
    ++i;
  }
  return std::nullopt;
}

}  // namespace atlas
