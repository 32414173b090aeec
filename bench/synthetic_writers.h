// Writers of the formats the engine only reads, for the benchmark's inputs: each lays a
// generated log out in its format's bytes, so that the format's reader can be timed on logs of
// any size. They write what the benchmark needs, not every field of the format.
#pragma once

#include <memory>

#include "core/log_file.h"

namespace quorvel::bench {

/// A writer for the read-only format `format_code` (a FormatCode); nullptr when there is none.
std::unique_ptr<LogFile> CreateSyntheticWriter(int format_code);

/// CT version 9 and pre-version-8 logs (.bin).
std::unique_ptr<LogFile> CreateCt9Writer();
std::unique_ptr<LogFile> CreateCtOldWriter();
/// NA binary logs (.qdf), the newer generation or the older.
std::unique_ptr<LogFile> CreateNaWriter(bool newer);
/// DX Cluster or DX Info spot files (.dat).
std::unique_ptr<LogFile> CreateSpotWriter(bool cluster);
/// WRTC logs (.log).
std::unique_ptr<LogFile> CreateWrtcWriter();

}  // namespace quorvel::bench
