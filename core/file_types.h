// The file types the dialog program's choosers offer, from the format table: the open chooser
// lists the extensions the built formats read, the save chooser those they write, each with
// the dialog's own description, in the dialog's order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

struct FileType {
  std::string description;              // as the chooser shows it, e.g. "ADIF Log Files (*.adi)"
  std::vector<std::string> extensions;  // without the dot, lower case
  /// The chooser's filter: the description, with its patterns in parentheses when the
  /// description does not show them itself ("All Log file types (*.adi *.bin ...)").
  std::string Filter() const;
};

/// The open chooser's types; the last is every readable extension at once.
std::vector<FileType> InputFileTypes();
/// The save chooser's types, one extension each.
std::vector<FileType> OutputFileTypes();

/// The save chooser's extension rule: `path` with ".`extension`" appended when its file name
/// has no extension or ends in a dot ("W1AW." gives "W1AW..adi"); else `path` as it is.
std::string WithChosenExtension(std::string_view path, std::string_view extension);

}  // namespace quorvel
