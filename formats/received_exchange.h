// Where a contact's received exchange is found when a log prints it as one word.
#pragma once

#include <string_view>

#include "core/qso_record.h"

namespace quorvel {

/// The record's `rcvd_exch`; when that is empty, the first that is set of `state`, `arrl_sect`
/// and `qth`. ADIF logs keep a worked station's state, ARRL 160 m section or county there
/// instead, and a writer that read only `rcvd_exch` would drop the exchange of such logs.
inline std::string_view ReceivedExchangeText(const QsoRecord& record) {
  if (!record.RcvdExch().empty()) return record.RcvdExch();
  if (!record.State().empty()) return record.State();
  if (!record.ArrlSect().empty()) return record.ArrlSect();
  return record.Qth();
}

}  // namespace quorvel
