// Reading ahead: the input of a large conversion is read on a second thread while the caller's
// thread writes, so that a conversion takes about as long as the slower of the two.
#pragma once

#include "core/converter.h"

namespace quorvel {

/// Converts to the end of the input as a loop of Converter::Step would, with `progress` and
/// `on_step` as RunToEnd has them; the input is read on a thread of its own a few batches of
/// QSOs ahead of the writing, which stays on the calling thread (and so does `on_step`).
void RunReadingAhead(Converter& converter, ConversionProgress& progress,
                     const ProgressCallback& on_step);

}  // namespace quorvel
