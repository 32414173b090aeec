// A signal report printed in a column of a fixed width: "599", "-11", "+03". A report that the
// column cannot hold is printed in the column's absent form, never wider: a wider report would
// move every later column of the line.
#pragma once

#include <cstddef>

#include "core/qso_record.h"

namespace quorvel {

class ReportColumn {
 public:
  ReportColumn(bool present, const ReportText& report, std::size_t width, const char* absent)
      : report(report), shown(present && report.length <= width ? this->report.text : absent) {}
  ReportColumn(const ReportColumn&) = delete;  // `shown` may point into the object itself
  ReportColumn& operator=(const ReportColumn&) = delete;

  static ReportColumn Sent(const QsoRecord& record, std::size_t width, const char* absent) {
    return ReportColumn(record.HasRstSent(), record.RstSentText(), width, absent);
  }
  static ReportColumn Received(const QsoRecord& record, std::size_t width, const char* absent) {
    return ReportColumn(record.HasRstRcvd(), record.RstRcvdText(), width, absent);
  }
  const char* c_str() const { return shown; }

 private:
  ReportText report;
  const char* shown;
};

}  // namespace quorvel
