// The program version that both programs print and the files they write record.
#pragma once

namespace quorvel {

inline constexpr const char* kQuorvelVersion = "1.72";

}  // namespace quorvel
