// A signal report printed in a column of a fixed width: "599", "-11", "+03". A report that the
// column cannot hold is printed in the column's absent form, never wider: a wider report would
// move every later column of the line.
#pragma once

#include <cstddef>
#include <cstring>

#include "core/qso_record.h"
#include "core/text_field.h"

namespace quorvel {

class ReportColumn {
 public:
  ReportColumn(bool present, const ReportText& report, std::size_t width, const char* absent) {
    bool fits = present && std::strlen(report.text) <= width;
    CopyCut(text, fits ? report.text : absent);
  }
  static ReportColumn Sent(const QsoRecord& record, std::size_t width, const char* absent) {
    return ReportColumn(record.HasRstSent(), record.RstSentText(), width, absent);
  }
  static ReportColumn Received(const QsoRecord& record, std::size_t width, const char* absent) {
    return ReportColumn(record.HasRstRcvd(), record.RstRcvdText(), width, absent);
  }
  const char* c_str() const { return text; }

 private:
  char text[8];
};

}  // namespace quorvel
