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
};

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
// costs a handful of writes rather than one per field.
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
