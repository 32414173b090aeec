#include "core/clock.h"

#include <chrono>
#include <cstdlib>
#include <string_view>

#include "core/numbers.h"

namespace quorvel {

std::int64_t WritingTime() {
  const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
  if (fixed != nullptr && IsDigit(fixed[0])) return ParseLeadingInt(fixed);
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace quorvel
