// A syntax check of Cabrillo logs (versions 2.0 and 3.0), written from the published format:
// keyword lines "KEYWORD: value", one START-OF-LOG first and one END-OF-LOG last, and QSO lines
// of frequency (kHz or band designator), mode, date, time, sent call and exchange, received
// call and exchange, and an optional transmitter number. For contests whose QSO template is
// well known the number of exchange fields on each side is checked as well.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel::testing {

struct CabrilloCheck {
  std::vector<std::string> errors;            // "line N: what is wrong"
  std::vector<std::string> unknown_keywords;  // keywords that neither version defines
  int qso_lines = 0;
  int placeholders = 0;  // fields left as "?..?" for the user to fill in

  /// No errors and every keyword known.
  bool Clean() const { return errors.empty() && unknown_keywords.empty(); }
  std::string Describe() const;
};

CabrilloCheck CheckCabrillo(std::string_view text);

}  // namespace quorvel::testing
