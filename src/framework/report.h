// The text report: one block per room in the order rooms are finished, then
// five summary lines. Tools parse this text, so every byte is fixed.
#ifndef DUNGEON_FRAMEWORK_REPORT_H_
#define DUNGEON_FRAMEWORK_REPORT_H_

#include <ostream>
#include <string>
#include <string_view>

#include "framework/room_table.h"

namespace dungeon {

// Collects report text and hands it to a stream in large pieces, so a run
// costs a handful of stream writes rather than one per field.
class Report {
 public:
  explicit Report(std::ostream& out);
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  void text(std::string_view s);
  void number(int value);
  // Passes everything collected so far to the stream (and flushes it).
  void flush();

 private:
  void spill_if_full();

  std::ostream& out_;
  std::string buffer_;
};

void print_room(Report& report, const RoomRecord& room, int n);
void print_summary(Report& report, const DungeonTally& tally);

}  // namespace dungeon

#endif  // DUNGEON_FRAMEWORK_REPORT_H_
