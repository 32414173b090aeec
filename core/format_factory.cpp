#include "core/format_factory.h"

#include "core/format_table.h"

namespace quorvel {

std::unique_ptr<LogFile> CreateLogFile(int code, Direction direction) {
  const FormatRow* row = FindFormatRow(code);
  if (row == nullptr || !row->Built()) return nullptr;
  bool allowed = direction == Direction::kInput ? row->reads : row->output != FormatOutput::kNone;
  return allowed ? row->create() : nullptr;
}

}  // namespace quorvel
