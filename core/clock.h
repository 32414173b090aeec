// The time of writing that some files record (ADIF's creation timestamp, dBase's date of last
// update). Builds and tests fix it with SOURCE_DATE_EPOCH, the convention of reproducible
// builds: seconds since 1970 UTC.
#pragma once

#include <cstdint>

namespace quorvel {

/// Seconds since 1970 UTC: SOURCE_DATE_EPOCH when it is set to a number, else the system clock.
std::int64_t WritingTime();

}  // namespace quorvel
