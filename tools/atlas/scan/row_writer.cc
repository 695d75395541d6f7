// SPDX-License-Identifier: MIT
#include "atlas/scan/row_writer.h"

#include <string_view>

namespace atlas {

RowWriter::RowWriter(std::ostream& out, ScanFormat format, bool header)
    : out_(out), format_(format), header_(header) {}

void RowWriter::begin() {
  if (format_ == ScanFormat::kCsv) {
    if (header_) text_ += "seed,outcome,rooms,deepest_level,traps,monsters,treasures\n";
  } else {
    text_ += '[';
  }
}

void RowWriter::write(const ScanRow& row) {
  const std::string_view outcome = outcome_name(row.outcome);
  const auto number = [this](auto value) { text_ += std::to_string(value); };
  if (format_ == ScanFormat::kCsv) {
    number(row.seed);
    text_ += ',';
    text_ += outcome;
    for (const int value : {row.rooms, row.deepest_level, row.traps, row.monsters, row.treasures}) {
      text_ += ',';
      number(value);
    }
    text_ += '\n';
    return;
  }
  // One row a line, so line tools can still cut the document apart.
  text_ += first_ ? "\n" : ",\n";
  text_ += R"({"seed":)";
  number(row.seed);
  text_ += R"(,"outcome":")";
  text_ += outcome;
  text_ += R"(","rooms":)";
  number(row.rooms);
  text_ += R"(,"deepest_level":)";
  number(row.deepest_level);
  text_ += R"(,"traps":)";
  number(row.traps);
  text_ += R"(,"monsters":)";
  number(row.monsters);
  text_ += R"(,"treasures":)";
  number(row.treasures);
  text_ += '}';
  first_ = false;
}

void RowWriter::end() {
  if (format_ == ScanFormat::kJson) text_ += first_ ? "]\n" : "\n]\n";
  flush();
}

void RowWriter::flush() {
  out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
  text_.clear();
}

}  // namespace atlas
