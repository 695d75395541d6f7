// SPDX-License-Identifier: MIT
// A scan's rows as CSV or as a JSON array with one row a line. Both stream:
// rows are written block by block as they arrive.
#ifndef ATLAS_SCAN_ROW_WRITER_H_
#define ATLAS_SCAN_ROW_WRITER_H_

#include <ostream>
#include <string>

#include "atlas/scan/scan_row.h"

namespace atlas {

enum class ScanFormat { kCsv, kJson };

// Collects text and passes it to the stream in one piece at each flush(), as
// the program's output streams write straight through to the file.
// REQUIRES: `out` outlives the writer.
class RowWriter {
 public:
  RowWriter(std::ostream& out, ScanFormat format, bool header);
  void begin();
  void write(const ScanRow& row);
  void end();  // flushes
  void flush();

 private:
  std::ostream& out_;
  ScanFormat format_;
  bool header_;
  bool first_ = true;
  std::string text_;
};

}  // namespace atlas

#endif  // ATLAS_SCAN_ROW_WRITER_H_
