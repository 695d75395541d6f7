// SPDX-License-Identifier: MIT
// The text report: one block per room in the order rooms are finished, then
// five summary lines. Tools parse this text, so every byte is fixed.
#ifndef DUNGEON_FRAMEWORK_REPORT_H_
#define DUNGEON_FRAMEWORK_REPORT_H_

#include <ostream>
#include <string>
#include <string_view>

#include "framework/room_table.h"

namespace dungeon {

// Where a report goes.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void write(std::string_view text) = 0;
  virtual void flush() {}
  // True when everything written is dropped unread: the run driver then
  // formats no report text at all.
  virtual bool discards() const { return false; }
};

// For callers that want the dungeon and not its report (scans, maps, JSON).
class NullSink final : public ReportSink {
 public:
  void write(std::string_view) override {}
  bool discards() const override { return true; }
};

// REQUIRES: `out` outlives the sink.
class OstreamSink final : public ReportSink {
 public:
  explicit OstreamSink(std::ostream& out) : out_(out) {}
  void write(std::string_view text) override {
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  void flush() override { out_.flush(); }

 private:
  std::ostream& out_;
};

// Collects report text and hands it to the sink in large pieces, so a run
// costs a handful of writes rather than one per field. REQUIRES: the sink
// outlives the Report, which writes what is left to it when destroyed.
class Report {
 public:
  explicit Report(ReportSink& sink);
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  void text(std::string_view s);
  void number(int value);
  // Passes everything collected so far to the sink, and flushes it.
  void flush();

 private:
  void spill_if_full();

  ReportSink& sink_;
  std::string buffer_;
};

void print_room(Report& report, const RoomRecord& room, int n);
void print_summary(Report& report, const DungeonTally& tally);

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_REPORT_H_
